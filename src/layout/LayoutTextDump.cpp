#include "LayoutTextDump.h"

#include <QStringList>
#include <cmath>

#include "AnsiText.h"
#include "LayoutStreamReader.h"

namespace layout {

using stream::Tag;

namespace {

// The names of the report settings values, in file order.
QStringList settingNames() {
    QStringList names = {"PageWidth",        "PageHeight",        "MarginLeft",       "MarginTop",
                         "MarginRight",      "MarginBottom",      "HeaderHeight",     "DetailHeight",
                         "FooterHeight",     "UseHeader",         "UseDetail",        "UseMemo",
                         "UseFooter",        "MemoFont.Name",     "MemoFont.Size",    "MemoFont.Bold",
                         "MemoFont.Italic",  "MemoAlignment",     "DefaultFont.Name", "DefaultFont.Size",
                         "DefaultFont.Bold", "DefaultFont.Italic"};
    for (const char* band : {"Header", "Detail", "Memo", "Footer"})
        for (const char* item : {"LeftBorder", "TopBorder", "RightBorder", "BottomBorder", "LineWidth",
                                 "ShadePercent", "ShadeColor"})
            names << QString("%1.%2").arg(band, item);
    return names;
}

QString quoted(const QString& s) {
    if (s.isEmpty()) return "''";
    QString out;
    bool open = false;
    for (QChar c : s) {
        const char16_t u = c.unicode();
        if (u >= 32 && u < 127) {
            if (!open) out += '\'';
            open = true;
            out += c;
            if (c == '\'') out += '\'';
        } else {
            if (open) out += '\'';
            open = false;
            out += '#' + QString::number(u);
        }
    }
    if (open) out += '\'';
    return out;
}

class Dumper {
  public:
    explicit Dumper(LayoutStreamReader& r) : r_(r) {}
    QString text;

    void line(int indent, const QString& s) { text += QString(indent, ' ') + s + '\n'; }

    void value(int indent, const QString& head, const StreamValue& v) {
        switch (v.tag) {
            case Tag::List:
                line(indent, head + "(");
                for (const StreamValue& item : v.items) value(indent + 2, QString(), item);
                line(indent, ")");
                return;
            case Tag::Binary: {
                line(indent, head + "{");
                const QByteArray hex = v.bytes.toHex().toUpper();
                for (qsizetype i = 0; i < hex.size(); i += 64)
                    line(indent + 2, QString::fromLatin1(hex.mid(i, 64)));
                line(indent, "}");
                return;
            }
            default:
                line(indent, head + scalar(v));
        }
    }

    static QString scalar(const StreamValue& v) {
        switch (v.tag) {
            case Tag::Int8:
            case Tag::Int16:
            case Tag::Int32:
            case Tag::Int64:
                return QString::number(v.integer);
            case Tag::Extended:
            case Tag::Single:
            case Tag::Date:
            case Tag::Currency:
                return QString::number(v.real, 'g', 17);
            case Tag::String:
            case Tag::LString:
            case Tag::WString:
            case Tag::Utf8String:
                return quoted(v.text());
            case Tag::Ident:
                return QString::fromLatin1(v.bytes);
            case Tag::BoolFalse:
                return "False";
            case Tag::BoolTrue:
                return "True";
            case Tag::Nil:
                return "nil";
            case Tag::Set: {
                QStringList members;
                for (const QByteArray& m : v.members) members << QString::fromLatin1(m);
                return "[" + members.join(", ") + "]";
            }
            default:
                break;
        }
        return QString();
    }

    // One object record after its "TPF0" (or at a child's place), with its children.
    bool object(int indent) {
        uint8_t flags;
        int64_t childPos;
        r_.readPrefix(&flags, &childPos);
        const QByteArray className = r_.readShortString();
        const QByteArray name = r_.readShortString();
        if (!r_.ok()) return false;
        QString head = (flags & stream::kFlagInherited) ? "inherited "
                       : (flags & stream::kFlagInline)  ? "inline "
                                                        : "object ";
        head += name.isEmpty() ? QString::fromLatin1(className)
                               : FromAnsi(name) + ": " + QString::fromLatin1(className);
        if (flags & stream::kFlagChildPos) head += QString(" [%1]").arg(childPos);
        line(indent, head);
        while (!r_.endOfList()) {
            const QByteArray property = r_.readShortString();
            const StreamValue v = r_.readValue();
            if (!r_.ok()) return false;
            value(indent + 2, QString::fromLatin1(property) + " = ", v);
        }
        while (r_.ok() && !r_.endOfList())
            if (!object(indent + 2)) return false;
        if (!r_.ok()) return false;
        line(indent, "end");
        return true;
    }

  private:
    LayoutStreamReader& r_;
};

}  // namespace

bool DumpComponentStream(const QByteArray& data, QString* text, QString* error) {
    LayoutStreamReader r(data);
    Dumper d(r);
    r.readSignature();
    const bool ok = r.ok() && d.object(0);
    *text = d.text;
    if (!ok) *error = r.error();
    return ok;
}

bool DumpLayoutFile(const QByteArray& data, QString* text, QString* error) {
    LayoutStreamReader r(data);
    Dumper d(r);
    // First the lists as they are, then their headings, which depend on how many there are.
    struct List {
        QString body;
        int objects = 0;
        bool values = false;
    };
    std::vector<List> lists;
    bool ok = true;
    while (ok && !r.atEnd()) {
        List list;
        d.text.clear();
        if (r.readByte() != uint8_t(Tag::List)) {
            r.fail("Invalid stream format");
            ok = false;
            break;
        }
        while (ok && !r.endOfList()) {
            if (r.atSignature()) {
                r.readSignature();
                ok = d.object(0);
                ++list.objects;
            } else {
                list.values = true;
                const StreamValue v = r.readValue();
                ok = r.ok();
                if (ok) d.value(0, QString(), v);
            }
        }
        ok = ok && r.ok();
        list.body = d.text;
        lists.push_back(list);
    }
    const bool report = lists.size() == 4;
    const char* bands[] = {"header band", "detail band", "footer band", "report settings"};
    QString out;
    for (size_t i = 0; i < lists.size(); ++i) {
        QString heading = report ? QString(bands[i]) : QString("object list %1").arg(i + 1);
        if (!lists[i].values)
            heading += QString(": %1 object%2").arg(lists[i].objects).arg(lists[i].objects == 1 ? "" : "s");
        out += "# " + heading + "\n";
        QString body = lists[i].body;
        if (report && i == 3) {
            // Name the settings values, one a line, when they are all there is.
            const QStringList names = settingNames();
            QStringList lines = body.split('\n', Qt::SkipEmptyParts);
            if (lines.size() == names.size()) {
                for (int k = 0; k < lines.size(); ++k) lines[k] = names[k] + " = " + lines[k];
                body = lines.join('\n') + '\n';
            }
        }
        out += body;
    }
    *text = out;
    if (!ok) *error = r.error();
    return ok;
}

}  // namespace layout
