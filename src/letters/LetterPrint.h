#pragma once

#include <QString>

#include "JobProgress.h"
#include "PrintJob.h"
#include "RecordChoice.h"

class Messages;
class QTextDocument;
class TBaseReport;
namespace xbase {
class Table;
}

// Printing a letter once for each chosen address record, merged with that record.
namespace LetterPrint {

using Records = RecordChoice::Records;

// The letters manager's choices: the records (the current one at first), and copies.
struct Choice : RecordChoice {
    Choice() : RecordChoice(Records::Current) {}
    int copies = 1;  // of each letter, 1 to 999
};

// The status line while a letter job runs: "Printing page " + pages printed so far.
QString PrintingPage(int pages);
inline const QString kCompleted = QStringLiteral("Letter Print Completed!");
inline const QString kCanceled = QStringLiteral("Letter Print Canceled!");
inline const QString kCancelQuestion = QStringLiteral("Cancel print job?");
inline const QString& kOutOfRange = RecordChoice::kOutOfRange;

// Letters leave out the records flagged deleted (SelectRecords).
constexpr DeletedPolicy kDeleted = DeletedPolicy::Flagged;

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

// The letter job: SelectRecords, then PrintRecords. The letters command and the letters
// manager build it; `letter` is the stored letter, never changed.
class LetterJob : public PrintJob {
  public:
    LetterJob(xbase::Table& table, const QTextDocument& letter, const Choice& choice)
        : table_(table), letter_(letter), choice_(choice) {}

    JobResult select(JobProgress& progress, Messages& messages, QString* error) override;
    void printPages(TBaseReport& report) override;
    QString counts() const override;
    QString completed() const override { return kCompleted; }
    int pages() const { return pages_; }

  private:
    xbase::Table& table_;
    const QTextDocument& letter_;
    Choice choice_;
    int pages_ = 0;
};

}  // namespace LetterPrint
