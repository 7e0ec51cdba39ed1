#pragma once

#include <QString>

#include "CsvDialect.h"
#include "FieldMatch.h"
#include "ImportRun.h"
#include "SourceEncoding.h"

namespace xbase {
class Table;
}

// What the ASCII import is to do: the file, its encoding (from the sample), the number
// of fields of its first line, and which field feeds which address field.
struct AsciiImportSetup {
    QString path;
    SourceEncoding encoding;
    CsvDialect::Dialect dialect = CsvDialect::Dialect::Own;
    int fieldCount = 0;
    FieldMatch match;             // rows: ImportDestinations::Ascii(table)
    bool firstLineNames = false;  // the first line names the columns and is not imported
};

// Appends one record to the address file per line of the file, in the frame of
// RunImport: "Counting total lines", then "Importing records". The records are split
// by the file's dialect (see CsvReader). A record with fewer fields than the first is read as if padded with empty ones, extra fields are
// ignored; each matched field that is not empty is stored in its address field,
// converted to the file's code page. The gauge shows the lines read against
// the lines of the file. keepGoing() is asked after each record. Reports one message:
//   "Import complete. Imported n records."
//   "Import cancelled after importing n records."
//   "Unknown error reading ASCII file after importing n records." with the reason on
//     a line of its own: a line that is too long, holds a NUL byte or is not valid in
//     the file's encoding, or a read error;
//   "Unknown error writing to data file after importing n records." with the reason:
//     a value the code page cannot hold (naming its line and field), or a failed write.
// The import stops at the line it cannot take; the records before it stay.
ImportReport RunAsciiImport(xbase::Table& table, const AsciiImportSetup& setup, JobProgress& progress,
                            const ImportHooks& hooks = {});
