#include "RecordEditing.h"

#include <QLocale>
#include <string>

#include "AddressFile.h"
#include "CodePage.h"
#include "SavedCursor.h"
#include "TableText.h"

using xbase::Status;
using xbase::Table;

namespace RecordEditing {

namespace {

QString trimLeft(const QString& text) {
    int i = 0;
    while (i < text.size() && text[i] == ' ') ++i;
    return text.mid(i);
}

QString trimRight(const QString& text) {
    int n = text.size();
    while (n > 0 && text[n - 1] == ' ') --n;
    return text.left(n);
}

// `text` in the table's code page, upper-cased as the index keys are (by UPPER() in
// that code page), padded with blanks or cut to `width` when width > 0.
bool keyPart(const Table& table, const QString& text, int width, std::string* out) {
    std::string raw;
    if (!TableText::encode(table.codePage(), text, &raw).ok()) return false;
    raw = table.codePage().upper(raw);
    if (width > 0) raw.resize(size_t(width), ' ');
    *out = raw;
    return true;
}

int fieldWidth(const Table& table, const char* name) {
    const int index = table.fieldIndex(name);
    return index < 0 ? 0 : table.field(index).width;
}

}  // namespace

const QStringList& cloneFields() {
    static const QStringList fields = {"LNAME",   "FNAME", "MIDDLE", "PREFIX", "TITLE",   "ORG",   "STREET",
                                       "STREET2", "CITY",  "STATE",  "ZIP",    "COUNTRY", "PHONE", "PHONE2",
                                       "EMAIL",   "FAX",   "CODES",  "DATE",   "USER1",   "USER2"};
    return fields;
}

CarryForward RememberForAdd(const RecordValues& current, const Preferences& prefs) {
    CarryForward c;
    c.org = current.value("ORG");
    c.street = current.value("STREET");
    c.street2 = current.value("STREET2");
    c.city = current.value("CITY");
    c.state = current.value("STATE");
    c.zip = current.value("ZIP");
    if (prefs.carryCountry) c.country = current.value("COUNTRY");
    return c;
}

RecordValues NewRecordValues(const CarryForward& carried, const NewRecordEntries& entries,
                             const Preferences& prefs, const QDate& today) {
    RecordValues v;
    auto put = [&v](const char* field, const QString& value) {
        if (!value.isEmpty()) v[field] = value;
    };
    put("FNAME", entries.firstName);
    put("LNAME", entries.lastName);
    put("ZIP", entries.zip);
    put("CITY", entries.city);
    put("STATE", entries.state);

    auto carry = [&v](const char* field, bool on, const QString& value) {
        if (on && v.value(field).isEmpty() && !value.isEmpty()) v[field] = value;
    };
    carry("ZIP", prefs.carryZip, carried.zip);
    carry("CITY", prefs.carryCity, carried.city);
    carry("STATE", prefs.carryState, carried.state);
    if (prefs.carryCountry) put("COUNTRY", carried.country);
    if (prefs.carryStreet) put("STREET", carried.street);
    if (prefs.carryStreet2) put("STREET2", carried.street2);
    if (carried.country.isEmpty() && !prefs.defaultCountry.isEmpty()) v["COUNTRY"] = prefs.defaultCountry;
    if (prefs.plugDate) v["DATE"] = StoredDate(today);
    if (prefs.carryOrg) put("ORG", carried.org);
    return v;
}

QString DuplicateQuestion(const RecordValues& found) {
    return "Possible duplicate: \r\n\r\n" + found.value("FNAME") + " " + found.value("LNAME") + "\r\n" +
           found.value("STREET") + "\r\n" + found.value("CITY") + "," + found.value("STATE") + " " +
           found.value("ZIP") + "\r\n\r\n" + "Continue adding?";
}

std::optional<Duplicate> FindDuplicateName(Table& table, const QString& first, const QString& last) {
    if (first.isEmpty() || last.isEmpty()) return std::nullopt;
    const int tag = table.tagArea("LNAME");
    if (tag == 0) return std::nullopt;
    // The key is laid out as the tag's is: the last name at the width of LNAME, then
    // the first name at the width of FNAME, so files made with other widths match too.
    std::string lastKey, firstKey;
    if (!keyPart(table, last, fieldWidth(table, "LNAME"), &lastKey) ||
        !keyPart(table, first, fieldWidth(table, "FNAME"), &firstKey)) {
        return std::nullopt;  // a name the file cannot hold is in no record of it
    }
    SavedCursor keep(table);
    if (!table.setOrder(tag).ok()) return std::nullopt;
    table.setExact(true);
    bool found = false;
    if (!table.seek(lastKey + firstKey, &found).ok() || !found) return std::nullopt;
    Duplicate d;
    d.recNo = table.recNo();
    d.question = DuplicateQuestion(RecordEditor::read(table));
    return d;
}

bool FillCityState(Table& table, const QString& zip, QString* city, QString* state) {
    const int tag = table.tagArea("ZIP");
    std::string key;
    if (zip.isEmpty() || tag == 0 || !keyPart(table, zip, 0, &key)) return false;
    const int zipWidth = fieldWidth(table, "ZIP");
    if (zipWidth > 0 && key.size() > size_t(zipWidth)) key.resize(size_t(zipWidth));
    SavedCursor keep(table);
    if (!table.setOrder(tag).ok()) return false;
    table.setExact(false);
    bool found = false;
    if (!table.seek(key, &found).ok() || !found) return false;
    *city = AddressFile::text(table, table.fieldIndex("CITY"));
    *state = AddressFile::text(table, table.fieldIndex("STATE"));
    return true;
}

QString SystemShortDateFormat() { return QLocale::system().dateFormat(QLocale::ShortFormat); }

QString FormatStoredDate(const QString& stored, const QString& format) {
    if (stored.size() < 8) return {};
    for (int i = 0; i < 8; ++i) {
        if (!stored[i].isDigit() || stored[i].unicode() > '9') return {};
    }
    const QDate date(stored.left(4).toInt(), stored.mid(4, 2).toInt(), stored.mid(6, 2).toInt());
    if (!date.isValid()) return {};
    return date.toString(format.isEmpty() ? SystemShortDateFormat() : format);
}

QString StoredDate(const QDate& date) { return date.toString("yyyyMMdd"); }

bool Tagged(const RecordValues& values, const QString& globalTagId) {
    return !globalTagId.isEmpty() && values.value("TAG") == globalTagId;
}

QString FullName(const RecordValues& v) {
    return trimRight(v.value("FNAME") + " " + v.value("MIDDLE")) + " " + v.value("LNAME");
}

QString FullNameWithPrefix(const RecordValues& v) {
    return (v.value("PREFIX") + " " + v.value("FNAME") + " " + v.value("MIDDLE")).trimmed() + " " +
           v.value("LNAME");
}

QString CityStateZip(const RecordValues& v) {
    return trimLeft(v.value("CITY") + " ") + trimLeft(v.value("STATE") + " ") + v.value("ZIP");
}

QString GetRecordAsString(const RecordValues& v, const ClipboardGroups& groups) {
    QString text;
    auto line = [&text](const QString& l) {
        if (!l.trimmed().isEmpty()) text += l + "\r\n";
    };
    auto labelled = [&line](const QString& label, const QString& value) {
        if (!value.isEmpty()) line(label + value);
    };
    if (groups.name) {
        const QString middle = v.value("MIDDLE").trimmed().isEmpty() ? QString() : v.value("MIDDLE") + ".";
        QString name;
        for (const QString& part : {v.value("PREFIX"), v.value("FNAME"), middle, v.value("LNAME")}) {
            name += trimLeft(part + " ");
        }
        line(name);
        line(v.value("TITLE"));
        line(v.value("ORG"));
    }
    if (groups.address) {
        line(v.value("STREET"));
        line(v.value("STREET2"));
        line(trimLeft(v.value("CITY") + " ") + " " + trimLeft(v.value("STATE") + " ") +
             trimLeft(v.value("ZIP")));
        line(trimLeft(v.value("COUNTRY") + " "));
    }
    if (groups.phones) {
        labelled("Phone  :", v.value("PHONE"));
        labelled("Phone 2:", v.value("PHONE2"));
    }
    if (groups.codes) labelled("Codes :", v.value("CODES"));
    if (groups.comments) {
        labelled("Comment 1 :", v.value("USER1"));
        labelled("Comment 2 :", v.value("USER2"));
    }
    return text.left(kMaxClipboardText);
}

QString MemoForSave(const QString& memo) {
    const int length = RecordEditor::memoToStored(memo).size();
    if (length > 0 && length % 4 == 0) return memo + " ";
    return memo;
}

Status Clone(RecordEditor& editor) {
    if (!editor.hasCurrent() || editor.editing()) return Status::InvalidArgument("No record to clone");
    // A copy without the memo would not be the copy it claims to be.
    const QString memoProblem = editor.memoProblem();
    if (!memoProblem.isEmpty()) return Status::Corruption(memoProblem.toStdString());
    RecordValues copy;
    for (const QString& field : cloneFields()) copy[field] = editor.value(field);
    copy["MEMO"] = editor.value("MEMO");
    editor.append(copy);
    Status s = editor.post();
    if (!s.ok()) editor.cancel();
    return s;
}

Status ToggleTag(RecordEditor& editor, const QString& globalTagId) {
    const bool wasEditing = editor.editing();
    if (!wasEditing && !editor.edit()) return Status::InvalidArgument("No current record");
    editor.setValue("TAG", editor.value("TAG") != globalTagId ? globalTagId : QString());
    if (wasEditing) return Status::OK();
    Status s = editor.post();
    if (!s.ok()) editor.cancel();
    return s;
}

bool Navigate(Table& table, Move move) {
    switch (move) {
        case Move::First:
            return table.goTop().ok();
        case Move::Last:
            return table.goBottom().ok();
        case Move::Prior: {
            if (table.eof()) return table.goBottom().ok() && !table.eof();
            const uint32_t from = table.recNo();
            if (!table.skip(-1).ok()) return false;
            return !table.bof() && table.recNo() != from;
        }
        case Move::Next: {
            if (table.eof()) return false;
            const uint32_t from = table.recNo();
            if (!table.skip(1).ok()) return false;
            if (table.eof()) {
                (void)table.go(from);
                return false;
            }
            return true;
        }
    }
    return false;
}

}  // namespace RecordEditing
