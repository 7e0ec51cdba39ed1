#include "LetterMerge.h"

#include <QTextBlock>
#include <QTextCursor>
#include <QTextDocument>

#include "Table.h"
#include "TableText.h"

#include <vector>

namespace LetterMerge {

namespace {

QString fieldText(const xbase::Table& table, const char* name) {
    const int index = table.fieldIndex(name);
    if (index < 0 || table.eof()) return QString();
    return TableText::decode(table.codePage(), table.getTrimString(index));
}

QString trimmedBlanks(const QString& s) {
    qsizetype from = 0, to = s.size();
    while (from < to && s.at(from) == QLatin1Char(' ')) ++from;
    while (to > from && s.at(to - 1) == QLatin1Char(' ')) --to;
    return s.mid(from, to - from);
}

QString leftTrimmedBlanks(const QString& s) {
    qsizetype from = 0;
    while (from < s.size() && s.at(from) == QLatin1Char(' ')) ++from;
    return s.mid(from);
}

}  // namespace

Address Address::FromRecord(const xbase::Table& t) {
    Address a;
    a.prefix = fieldText(t, "PREFIX");
    a.first = fieldText(t, "FNAME");
    a.middle = fieldText(t, "MIDDLE");
    a.last = fieldText(t, "LNAME");
    a.title = fieldText(t, "TITLE");
    a.organization = fieldText(t, "ORG");
    a.street = fieldText(t, "STREET");
    a.street2 = fieldText(t, "STREET2");
    a.city = fieldText(t, "CITY");
    a.state = fieldText(t, "STATE");
    a.zip = fieldText(t, "ZIP");
    a.country = fieldText(t, "COUNTRY");
    a.phone = fieldText(t, "PHONE");
    a.phone2 = fieldText(t, "PHONE2");
    a.fax = fieldText(t, "FAX");
    a.email = fieldText(t, "EMAIL");
    a.comment1 = fieldText(t, "USER1");
    a.comment2 = fieldText(t, "USER2");
    return a;
}

const QStringList& FieldNames() {
    static const QStringList names = {
        "Full Name", "First",       "Last",    "Middle", "Prefix", "Title",   "Organization",
        "Street",    "Street 2",    "City+State+Zip",    "City",   "State",   "Province",
        "Zip",       "Postal Code", "Country", "Phone",  "Phone 2",          "Fax",
        "E-Mail",    "Today's Date",          "Long Date",       "Name and Address", "Comment 1",
        "Comment 2",
    };
    return names;
}

const QStringList& InsertFieldNames() {
    static const QStringList names = {
        "Full Name",   "Name and Address", "First",   "Last",  "Middle",  "Prefix", "Title",
        "Organization", "Street",         "Street 2", "City+State+Zip",   "City",   "State",
        "Province",    "Zip",              "Postal Code",      "Country", "Phone",  "Phone 2",
        "Fax",         "E-Mail",           "Today's Date",     "Long Date",         "Comment 1",
        "Comment 2",
    };
    return names;
}

QString FullName(const Address& a) {
    QString line;
    for (const QString& part : {a.prefix, a.first, a.middle.isEmpty() ? a.middle : a.middle + ".", a.last}) {
        if (!part.isEmpty()) line += leftTrimmedBlanks(part + " ");
    }
    return line;
}

QString CityStateZip(const Address& a) { return trimmedBlanks(a.city + " " + a.state + " " + a.zip); }

QString NameAndAddress(const Address& a) {
    QString titleLine = a.title;
    if (!a.title.isEmpty() && !a.organization.isEmpty()) {
        titleLine = a.title + ",  " + a.organization;
    } else if (a.title.isEmpty()) {
        titleLine = a.organization;
    }
    QString cityLine;
    if (!a.city.isEmpty() || !a.state.isEmpty() || !a.zip.isEmpty()) {
        const QString s = a.state.isEmpty() ? QString() : a.state + " ";
        cityLine = trimmedBlanks(a.city + " " + s + " " + a.zip);
    }
    QString block;
    for (const QString& line : {FullName(a), titleLine, a.street, a.street2, cityLine, a.country}) {
        if (!line.isEmpty()) block += line + "\r\n";
    }
    return block;
}

QString LongDate(const QDate& date, const QLocale& locale) {
    return locale.monthName(date.month(), QLocale::ShortFormat) + " " + QString::number(date.day()) + ", " +
           QString::number(date.year()).rightJustified(4, QLatin1Char('0'));
}

QString ValueOf(const QString& name, const Address& a, const QDate& today, const QLocale& locale) {
    switch (FieldNames().indexOf(name)) {
        case 0: return FullName(a);
        case 1: return a.first;
        case 2: return a.last;
        case 3: return a.middle;
        case 4: return a.prefix;
        case 5: return a.title;
        case 6: return a.organization;
        case 7: return a.street;
        case 8: return a.street2;
        case 9: return CityStateZip(a);
        case 10: return a.city;
        case 11:
        case 12: return a.state;
        case 13:
        case 14: return a.zip;
        case 15: return a.country;
        case 16: return a.phone;
        case 17: return a.phone2;
        case 18: return a.fax;
        case 19: return a.email;
        case 20: return locale.toString(today, QLocale::ShortFormat);
        case 21: return LongDate(today, locale);
        case 22: return NameAndAddress(a);
        case 23: return a.comment1;
        case 24: return a.comment2;
        default: return QString();
    }
}

int DoMerge(QTextDocument* letter, const QString& name, const QString& value) {
    const QString token = "[" + name + "]";
    // The editor makes paragraphs of line ends; a CR LF pair is one of them.
    QString text = value;
    text.replace(QLatin1String("\r\n"), QLatin1String("\n"));

    // The occurrences a search from the start finds, each after the previous one (a
    // token never spans paragraphs). Replacing them from the last to the first keeps
    // the earlier positions valid and never searches an inserted value.
    std::vector<int> found;
    for (QTextBlock block = letter->begin(); block.isValid(); block = block.next()) {
        const QString blockText = block.text();
        for (qsizetype at = blockText.indexOf(token, 0, Qt::CaseInsensitive); at >= 0;
             at = blockText.indexOf(token, at + token.size(), Qt::CaseInsensitive)) {
            found.push_back(block.position() + int(at));
        }
    }
    if (found.empty()) return 0;
    QTextCursor cursor(letter);
    cursor.beginEditBlock();
    for (auto it = found.rbegin(); it != found.rend(); ++it) {
        // The format of the token's first character, not of the text before it.
        cursor.setPosition(*it + 1);
        const QTextCharFormat format = cursor.charFormat();
        cursor.setPosition(*it);
        cursor.setPosition(*it + int(token.size()), QTextCursor::KeepAnchor);
        cursor.insertText(text, format);
    }
    cursor.endEditBlock();
    return int(found.size());
}

void ReplaceTokens(QTextDocument* letter, const Address& a, const QDate& today, const QLocale& locale) {
    // Most letters use a few names: look for each token in the plain text first, and
    // read that again only after a pass has changed the letter.
    QString plain = letter->toPlainText();
    for (const QString& name : FieldNames()) {
        if (!plain.contains("[" + name + "]", Qt::CaseInsensitive)) continue;
        if (DoMerge(letter, name, ValueOf(name, a, today, locale)) > 0) plain = letter->toPlainText();
    }
}

}  // namespace LetterMerge
