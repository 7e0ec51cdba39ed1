#pragma once

#include <QString>

#include "JobProgress.h"

class Messages;
class QTextDocument;
class TBaseReport;
namespace xbase {
class Table;
}

// Printing a letter once for each chosen address record, merged with that record.
namespace LetterPrint {

// The letters manager's "What to Print".
enum class Records {
    All,      // every record not marked deleted, whatever the user filter
    Filter,   // the table's current query (the user filter and the not-deleted test)
    Current,  // only the current record
};

struct Choice {
    Records records = Records::Current;
    bool startFromCurrent = false;
    int copies = 1;  // of each letter, 1 to 999
};

// The status line while a letter job runs: "Printing page " + pages printed so far.
QString PrintingPage(int pages);
inline const QString kCompleted = QStringLiteral("Letter Print Completed!");
inline const QString kCanceled = QStringLiteral("Letter Print Canceled!");
inline const QString kCancelQuestion = QStringLiteral("Cancel print job?");
inline const QString kOutOfRange = QStringLiteral("Current record is out of range. Starting with first record");

// Makes the table's selection what `choice` asks for and puts the cursor on the first
// record to print: "All records" sets the query to every record not deleted; "Start
// from current record" stays on the current record, or tells `messages` kOutOfRange
// and goes to the first record when the current one is outside the selection;
// otherwise, unless only the current record is printed, the first record. The caller
// holds a SavedCursor to put the table back afterwards. False when the query cannot
// be set.
bool SelectRecords(xbase::Table& table, const Choice& choice, Messages& messages);

// The print loop, the OnPrint of a running report: from the table's current record
// to the end of its selection (or only that record), each record merged into a fresh
// copy of `letter` (the stored letter, never changed) and printed `copies` times.
// Every letter and every copy starts on a new sheet. Between records it shows
// PrintingPage() through the report's status and stops when the report is cancelled.
// `pages` counts the pages printed.
void PrintRecords(TBaseReport& report, xbase::Table& table, const QTextDocument& letter, int copies,
                  bool onlyCurrent, int* pages);

// The whole job, as the command line and tests run it: SelectRecords, then
// PrintRecords inside `report`, watched by `progress` (a "no" from keepGoing aborts
// the report; a PDF begun is removed). The table's cursor, query and order are put
// back however the job ends. A report that cannot start gives Failed with its error.
JobResult PrintLetters(xbase::Table& table, const QTextDocument& letter, const Choice& choice,
                       TBaseReport& report, JobProgress& progress, Messages& messages, QString* error,
                       int* pages = nullptr);

}  // namespace LetterPrint
