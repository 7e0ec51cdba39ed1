#pragma once

#include <QString>
#include <cstdint>
#include <vector>

#include "JobProgress.h"

namespace xbase {
class FileSystem;
class Table;
}  // namespace xbase

// "Copy Records Out": the records of the open address file, in its current order and
// selection, written to a new file of one of three kinds.
namespace CopyOut {

enum class Kind {
    Dbf,   // a table with the address file's structure and memo file
    Text,  // the program's comma-delimited text: twenty quoted fields as stored
    Csv,    // CSV for spreadsheets: UTF-8, a line of field names, RFC 4180 quoting, memo too
    VCard,  // vCard 3.0 for address books: one card per record, UTF-8
};

// Choices beyond the kind.
struct Options {
    // CSV for spreadsheets: values a spreadsheet would run as formulas are marked as
    // text (CsvDialect::NeedsGuard); off, every value is written as it is (--raw).
    bool formulaGuard = true;
};

// What the window shows and asks for a kind.
struct KindTexts {
    QString choice;     // the radio button: "Copy to a &DBF file", ...
    QString filter;     // of the save dialog: "DBF files (*.DBF *.dbf)"
    QString extension;  // the default one: "DBF"
};
const KindTexts& Texts(Kind kind);

// The twenty fields of the text kinds, in their order (the CSV kind adds MEMO).
const std::vector<const char*>& TextFields();

inline const QString kCancelQuestion = QStringLiteral("Cancel copy?");
inline const QString kCancelCaption = QStringLiteral("Cancel");
inline const QString kOverwriteCaption = QStringLiteral("Warning!");
inline const QString kNothingToCopy = QStringLiteral("No active records for current filter. Nothing to copy");

enum class Check {
    Ok,            // copy to it
    Refused,       // not to be used; `message` says why
    AskOverwrite,  // it exists: ask OverwriteQuestion() first
};
// The checks of a chosen name: a DBF copy needs the extension .DBF ("Must have a .DBF
// extension"); the address file itself is refused ("Cannot copy a file to itself!"),
// in any letter case or under another name; an existing file needs the user's yes.
Check CheckTarget(const QString& path, Kind kind, const QString& addressPath, QString* message);
// path + " already exists.\r\nDo you want to overwrite it?"
QString OverwriteQuestion(const QString& path);

// Copies the visible records of `table` (its query, its order, deleted records hidden
// as it says) to `path`, showing "Copying to " + the file name and the gauge (records
// copied against the records visible); keepGoing() is asked after each record.
//  - Dbf: a table with the same fields, each record's twenty text fields copied as
//    they are and MEMO after MemoWithBlank(); a file with the target's name and the
//    extension .CDX is deleted (its index would not fit the new table).
//  - Text: per record one line of the twenty fields, each in double quotes as it is
//    stored (quotes inside left as they are), joined by commas, ended by CR LF; no memo.
//  - Csv: a line of the field names, then per record the twenty fields and MEMO as
//    UTF-8, quoted when they hold a comma, quote, line break or outer blank, quotes
//    doubled, a value that begins like a formula led by an apostrophe unless
//    options.formulaGuard is off; lines end with CR LF.
//  - VCard: one vCard 3.0 per record (VCardRecord::ToContact), UTF-8, lines ended by
//    CR LF and folded at 75 octets.
// The copy is written beside the target under another name and takes the target's
// name only once it is whole (after a cancel too, with the records copied so far);
// after an error the target is as it was and `error` reads "There was an error
// copying" and the reason. The table's cursor is put back afterwards. Files go
// through `fs` (the real file system when null).
JobResult Run(xbase::Table& table, Kind kind, const QString& path, JobProgress& progress, uint32_t* copied,
              QString* error, xbase::FileSystem* fs = nullptr, const Options& options = {});

}  // namespace CopyOut
