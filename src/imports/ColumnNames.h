#pragma once

#include <QString>
#include <QStringList>
#include <vector>

#include "FieldMatch.h"

// The names under which other programs keep address fields in the columns of their
// CSV exports (web and desktop address books, spreadsheets), and the matching of a
// line of column names to the address file's fields. A name counts in any letter case
// and with any punctuation or blanks: "E-mail Address", "email_address" and
// "EMAILADDRESS" are one name.
namespace ColumnNames {

// The name as it is compared: its letters and digits, in lower case.
QString Normalized(const QString& name);

// Whether a column name is known: a field's display label or name among `rows`, or a
// name of the table.
bool Known(const QString& name, const std::vector<Destination>& rows);

// Whether a first line holds column names: at least one of its values is a known
// name, and the known ones are half of the values that are not empty or at least three
// (an address book's export has many columns the address file does not keep).
bool LooksLikeHeader(const QStringList& firstLine, const std::vector<Destination>& rows);

// The row each column goes into (-1: none), each row taking at most one column:
//  1. a column named as a row's display label or field name goes there;
//  2. then the names of the table, in column order, the first column of a meaning
//     winning: name parts, organisation and job title, notes into MEMO;
//  3. of the addresses (home, work, other, "Address 1", ...), the one whose street comes
//     first fills the address fields, so that street, city and code come from one
//     address;
//  4. phones fill Phone 1 and Phone 2 in column order, a fax column Fax, the first
//     e-mail column Email.
std::vector<int> Match(const QStringList& columns, const std::vector<Destination>& rows);

}  // namespace ColumnNames
