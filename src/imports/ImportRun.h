#pragma once

#include <QString>
#include <QStringList>
#include <cstdint>
#include <functional>

#include "JobProgress.h"

class BatchAppender;

namespace xbase {
class Table;
}

// How an import ended and what the user is told about it.
struct ImportReport {
    JobResult result = JobResult::Done;
    uint32_t imported = 0;  // records added to the address file
    QStringList messages;   // the information boxes, in order
    QString rebuildError;   // set when the indexes could not be rebuilt

    // Whether the user's records are all in and indexed: the command line's exit code.
    bool succeeded() const { return result == JobResult::Done && rebuildError.isEmpty(); }
};

// What a window learns while an import runs.
struct ImportHooks {
    // The records are in: the report, before the indexes are rebuilt.
    std::function<void(const ImportReport&)> reported;
    // The rebuild starts; it cannot be cancelled.
    std::function<void()> rebuilding;
};

// Where an import's reading stopped: at the end, cancelled, on a source it could not
// read, at a bad card (vCards, when the user asked to stop there), or on a write.
enum class ImportStop { None, Cancelled, Read, Bad, Write };
// Sets the report's result and its closing message for `stop`, with `imported` records
// in; `source` names what was read in the read error ("ASCII file", "vCard file") and
// `reason`, when there is one, follows on a line of its own.
void ReportImportEnd(ImportReport* report, ImportStop stop, uint32_t imported, const QString& source,
                     const QString& reason);

// The part of an import that differs between the kinds: appends the records through
// the appender, writes the last batch (appender.flush()), and sets the report's result
// and messages. `imported` gives the number of records in the file so far.
using ImportLoop = std::function<void(BatchAppender& appender, const std::function<uint32_t()>& imported,
                                      ImportReport* report)>;

// The frame every import runs in:
//  1. closes the address file's indexes and deletes its index file, so that records
//     go in at the speed of the disk;
//  2. runs `loop`;
//  3. tells hooks.reported;
//  4. shows "Rebuilding Indexes " and builds the 26 tags anew, the gauge counting 18
//     tags of 100 % each; the job's keepGoing() lets the window paint, its answer is
//     not heeded.
// The records appended stay in every outcome, and the indexes are always rebuilt.
ImportReport RunImport(xbase::Table& table, JobProgress& progress, const ImportHooks& hooks,
                       const ImportLoop& loop);
