#include "RtfWriter.h"

#include <QColor>
#include <QStringList>
#include <QTextBlock>
#include <QTextDocument>
#include <QTextFragment>
#include <vector>

#include "CodePageText.h"
#include "LetterPage.h"

namespace {

class Writer {
  public:
    explicit Writer(const QTextDocument& document) : doc_(document) {}
    QByteArray run();

  private:
    int fontIndex(const QString& family);
    int colorIndex(const QColor& color);
    QString familyOf(const QTextCharFormat& f) const;
    void characterFormat(const QTextCharFormat& f, QByteArray* out);
    void paragraphFormat(const QTextBlockFormat& f, QByteArray* out);
    static void text(const QString& text, QByteArray* out);

    const QTextDocument& doc_;
    QStringList fonts_;
    std::vector<QColor> colors_;
};

int twips(qreal documentLength) { return DocumentToTwips(documentLength); }

QByteArray number(const char* word, long long value) {
    return QByteArray("\\") + word + QByteArray::number(value);
}

int Writer::fontIndex(const QString& family) {
    int i = int(fonts_.indexOf(family));
    if (i < 0) {
        fonts_.append(family);
        i = int(fonts_.size()) - 1;
    }
    return i;
}

int Writer::colorIndex(const QColor& color) {
    const QColor c = color.toRgb();
    for (size_t i = 0; i < colors_.size(); ++i)
        if (colors_[i].rgb() == c.rgb()) return int(i) + 1;  // entry 0 is "automatic"
    colors_.push_back(c);
    return int(colors_.size());
}

QString Writer::familyOf(const QTextCharFormat& f) const {
    const QStringList families = f.fontFamilies().toStringList();
    if (!families.isEmpty() && !families.first().isEmpty()) return families.first();
    return doc_.defaultFont().family();
}

void Writer::characterFormat(const QTextCharFormat& f, QByteArray* out) {
    *out += "\\plain";
    *out += number("f", fontIndex(familyOf(f)));
    const qreal points = f.fontPointSize() > 0 ? f.fontPointSize() : doc_.defaultFont().pointSizeF();
    *out += number("fs", qRound((points > 0 ? points : 12) * 2));
    if (f.fontWeight() >= QFont::DemiBold) *out += "\\b";
    if (f.fontItalic()) *out += "\\i";
    if (f.fontUnderline()) *out += "\\ul";
    if (f.fontStrikeOut()) *out += "\\strike";
    if (f.hasProperty(QTextFormat::ForegroundBrush) && f.foreground().style() != Qt::NoBrush)
        *out += number("cf", colorIndex(f.foreground().color()));
    if (f.hasProperty(QTextFormat::BackgroundBrush) && f.background().style() != Qt::NoBrush) {
        const int i = colorIndex(f.background().color());
        *out += number("cb", i) + number("highlight", i);
    }
    *out += ' ';
}

void Writer::paragraphFormat(const QTextBlockFormat& f, QByteArray* out) {
    *out += "\\pard";
    const Qt::Alignment a = f.alignment() & Qt::AlignHorizontal_Mask;
    if (a & Qt::AlignRight) {
        *out += "\\qr";
    } else if (a & Qt::AlignHCenter) {
        *out += "\\qc";
    } else if (a & Qt::AlignJustify) {
        *out += "\\qj";
    } else {
        *out += "\\ql";
    }
    if (const int v = twips(f.textIndent())) *out += number("fi", v);
    if (const int v = twips(f.leftMargin())) *out += number("li", v);
    if (const int v = twips(f.rightMargin())) *out += number("ri", v);
    if (const int v = twips(f.topMargin())) *out += number("sb", v);
    if (const int v = twips(f.bottomMargin())) *out += number("sa", v);
    switch (f.lineHeightType()) {
        case QTextBlockFormat::ProportionalHeight:
            *out += number("sl", qRound(f.lineHeight() * 240 / 100)) + "\\slmult1";
            break;
        case QTextBlockFormat::MinimumHeight:
            *out += number("sl", twips(f.lineHeight())) + "\\slmult0";
            break;
        case QTextBlockFormat::FixedHeight:
            *out += number("sl", -twips(f.lineHeight())) + "\\slmult0";
            break;
        default:
            break;
    }
    for (const QTextOption::Tab& tab : f.tabPositions()) {
        if (tab.type == QTextOption::RightTab) *out += "\\tqr";
        if (tab.type == QTextOption::CenterTab) *out += "\\tqc";
        if (tab.type == QTextOption::DelimiterTab) *out += "\\tqdec";
        *out += number("tx", twips(tab.position));
    }
}

void Writer::text(const QString& s, QByteArray* out) {
    for (qsizetype i = 0; i < s.size(); ++i) {
        const QChar c = s.at(i);
        const char16_t u = c.unicode();
        if (u == '\\' || u == '{' || u == '}') {
            *out += '\\';
            *out += char(u);
        } else if (u == '\t') {
            *out += "\\tab ";
        } else if (c == QChar::LineSeparator) {
            *out += "\\line ";
        } else if (u == 0x00A0) {
            *out += "\\~";
        } else if (u == 0x00AD) {
            *out += "\\-";
        } else if (u >= 0x20 && u < 0x80) {
            *out += char(u);
        } else if (u < 0x20 || u == QChar::ObjectReplacementCharacter) {
            // Control characters and embedded objects have no place in a letter.
        } else if (const int b = CodePageText::windows1252Byte(c); b >= 0) {
            *out += "\\'" + QByteArray::number(b, 16).rightJustified(2, '0');
        } else {
            *out += number("u", qint16(u)) + "?";
        }
    }
}

QByteArray Writer::run() {
    QByteArray body;
    const LetterPage page = LetterPage::Of(doc_);
    bool first = true;
    for (QTextBlock block = doc_.begin(); block.isValid(); block = block.next()) {
        const QTextBlockFormat bf = block.blockFormat();
        if (!first) {
            body += "\\par\n";
            if (bf.pageBreakPolicy() & QTextFormat::PageBreak_AlwaysBefore) body += "\\page\n";
        }
        first = false;
        paragraphFormat(bf, &body);
        // An empty paragraph keeps its height through the block's character format.
        characterFormat(block.charFormat(), &body);
        for (QTextBlock::iterator it = block.begin(); !it.atEnd(); ++it) {
            const QTextFragment fragment = it.fragment();
            if (!fragment.isValid()) continue;
            body += '{';
            characterFormat(fragment.charFormat(), &body);
            text(fragment.text(), &body);
            body += '}';
        }
    }

    QByteArray out = "{\\rtf1\\ansi\\ansicpg1252\\deff0\\uc1\n{\\fonttbl";
    if (fonts_.isEmpty()) fonts_.append(doc_.defaultFont().family());
    for (int i = 0; i < fonts_.size(); ++i) {
        QByteArray name;
        text(fonts_.at(i), &name);
        out += "{" + number("f", i) + "\\fnil\\fcharset0 " + name + ";}";
    }
    out += "}\n{\\colortbl;";
    for (const QColor& c : colors_)
        out += number("red", c.red()) + number("green", c.green()) + number("blue", c.blue()) + ";";
    out += "}\n";
    out += number("paperw", page.paperWidth) + number("paperh", page.paperHeight) +
           number("margl", page.marginLeft) + number("margr", page.marginRight) +
           number("margt", page.marginTop) + number("margb", page.marginBottom) + "\n";
    out += body;
    out += "}\n";
    return out;
}

}  // namespace

QByteArray RtfWriter::Write(const QTextDocument& document) { return Writer(document).run(); }
