#pragma once

#include <QLocale>
#include <QString>
#include <memory>
#include <vector>

#include "ImportRun.h"

namespace xbase {
class Table;
}

// The import of address files from the program's two earlier releases, 1.x and 2.x:
// fixed layouts copied field by field, without matching.
namespace OlderImport {

enum class Version { V1, V2 };

// "Import Quillory 1.x DBF" or "Import Quillory 2.x DBF".
QString Caption(Version version);
// The fields a file of the version must have.
const std::vector<const char*>& Layout(Version version);

// Opens the older file at `path` (see DbfImport::OpenSource for the messages) and
// checks that it has every field of the layout: else path + " does not appear to be a
// Quillory 1.x DBF" (or 2.x).
bool OpenSource(const QString& path, const QString& addressPath, Version version,
                std::unique_ptr<xbase::Table>* source, QString* message);

// A 1.x date as the address file keeps dates: empty stays empty, eight digits that
// form a valid year, month and day stay as they are, a date in the locale's short
// format becomes YYYYMMDD, anything else becomes empty.
QString ConvertDate(const QString& text, const QLocale& locale = QLocale::system());

// Appends one address record per source record that is not marked deleted, like the
// DBF import (frame, messages, gauge, cancel), with the table's query cleared first.
// Both versions copy LNAME, FNAME, PREFIX, MIDDLE, TITLE, ORG, STREET, CITY, STATE,
// ZIP, COUNTRY, PHONE, FAX and EMAIL; 2.x also CODES, STREET2, PHONE2, USER1, USER2,
// ISDEL and DATE as they are (a record with ISDEL set also gets the deletion mark, as
// every deleted record has); 1.x puts NOTES into CODES and converts DATE. MEMO follows
// MemoWithBlank().
ImportReport Run(xbase::Table& table, xbase::Table& source, Version version, JobProgress& progress,
                 const ImportHooks& hooks = {}, const QLocale& locale = QLocale::system());

}  // namespace OlderImport
