#pragma once

#include <QDate>
#include <QLocale>
#include <QString>
#include <QStringList>

class QTextDocument;
namespace xbase {
class Table;
}

// The merge of an address record into a letter: tokens "[" name "]" replaced by values
// of the record. The letters manager, the letter printer, the preview and the command
// line all merge through here.
namespace LetterMerge {

// The address fields a letter can use, as the record holds them (trailing blanks gone).
struct Address {
    QString prefix, first, middle, last, title, organization, street, street2, city, state, zip, country,
        phone, phone2, fax, email, comment1, comment2;

    // The current record of an address table; fields the table lacks stay empty.
    static Address FromRecord(const xbase::Table& table);
};

// The 25 field names, in the order in which ReplaceTokens merges them.
const QStringList& FieldNames();
// The same names in the order the letter editor's "Insert field" list offers them.
const QStringList& InsertFieldNames();

// The name line: prefix, first name, middle name with a period, last name, each
// followed by one blank; empty parts left out.
QString FullName(const Address& a);
// City, state and ZIP with one blank between them, blanks trimmed at both ends.
QString CityStateZip(const Address& a);
// The address block: name line, title and organisation, street, second street, city
// line, country; each line followed by CR LF, empty lines left out.
QString NameAndAddress(const Address& a);
// "mmm d, yyyy" with the abbreviated month name of `locale`.
QString LongDate(const QDate& date, const QLocale& locale);

// The value of field `name` (one of FieldNames()) for `a`; dates are `today` in
// `locale`'s formats. An unknown name gives a null string.
QString ValueOf(const QString& name, const Address& a, const QDate& today, const QLocale& locale);

// Replaces every "[" + name + "]" in `letter` by `value` (an empty value removes the
// token), the inserted text taking the character format of the token it replaces. The
// search ignores letter case and goes on after each inserted value, so a value is
// never searched again by the same pass. CR LF in `value` starts a new paragraph.
// Returns the number of tokens replaced.
int DoMerge(QTextDocument* letter, const QString& name, const QString& value);

// Merges `a` into `letter`, in place: DoMerge for every name of FieldNames(), in order.
// Text that one name's pass inserts is seen by the later passes. Tokens with other
// names stay as they are.
void ReplaceTokens(QTextDocument* letter, const Address& a, const QDate& today = QDate::currentDate(),
                   const QLocale& locale = QLocale::system());

}  // namespace LetterMerge
