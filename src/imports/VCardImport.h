#pragma once

#include <QString>

#include "ImportRun.h"
#include "VCardRecord.h"

namespace xbase {
class Table;
}

// What the vCard import is to do.
struct VCardImportSetup {
    QString path;
    VCardRecord::Choices choices;
    bool stopAtBadCard = false;  // else a bad card is skipped and named in the report
};

// Appends one record per card of a vCard file (VCardRecord::Fields), in the frame of
// RunImport, showing "Importing records" and a gauge of the bytes read. Reports:
//   "Import complete. Imported n records." and, when cards were skipped, a second
//     message "Skipped k cards:" with one line per card ("Line 14: ...");
//   "Import stopped at a bad card after importing n records." and the reason, with
//     stopAtBadCard;
//   "Import cancelled after importing n records.";
//   "Unknown error reading vCard file after importing n records." and the reason;
//   "Unknown error writing to data file after importing n records." and the reason
//     (a character the code page cannot hold is named with its card's line and field).
ImportReport RunVCardImport(xbase::Table& table, const VCardImportSetup& setup, JobProgress& progress,
                            const ImportHooks& hooks = {});
