#include "LetterPrint.h"

#include <QTextDocument>
#include <QStringList>
#include <algorithm>

#include "LetterLayout.h"
#include "LetterMerge.h"
#include "LetterText.h"
#include "Messages.h"
#include "TBaseReport.h"
#include "Table.h"

namespace LetterPrint {

QString PrintingPage(int pages) { return "Printing page " + QString::number(pages); }

void PrintRecords(TBaseReport& r, xbase::Table& table, const QTextDocument& letter, int copies,
                  bool onlyCurrent, int* pages) {
    copies = std::clamp(copies, 1, 999);
    int printed = 0;
    bool firstSheet = true;
    r.StatusFormat = QStringLiteral("%0");
    while (!table.eof() && !r.cancelled()) {
        // A fresh copy of the stored letter for every record.
        const std::unique_ptr<QTextDocument> merged = LetterText::Copy(letter);
        LetterMerge::ReplaceTokens(merged.get(), LetterMerge::Address::FromRecord(table));
        const LetterLayout layout(*merged);
        for (int copy = 0; copy < copies; ++copy) {
            for (int page = 0; page < layout.pageCount(); ++page) {
                if (!firstSheet) r.newPage();
                firstSheet = false;
                layout.drawPage(page, r);
                ++printed;
            }
        }
        if (pages) *pages = printed;
        if (onlyCurrent || !table.skip(1).ok()) break;
        r.StatusText = QStringList{PrintingPage(printed)};
        r.updateStatus();
    }
}

JobResult LetterJob::select(JobProgress&, Messages& messages, QString* error) {
    saveCursor(table_);
    if (!SelectRecords(table_, choice_, kDeleted, messages)) {
        *error = "Unable to select the records";
        return JobResult::Failed;
    }
    return JobResult::Done;
}

void LetterJob::printPages(TBaseReport& report) {
    PrintRecords(report, table_, letter_, choice_.copies, choice_.records == Records::Current, &pages_);
}

QString LetterJob::counts() const { return Counted(pages_, "page", "pages"); }

JobResult PrintLetters(xbase::Table& table, const QTextDocument& letter, const Choice& choice,
                       TBaseReport& report, JobProgress& progress, Messages& messages, QString* error,
                       int* pages) {
    LetterJob job(table, letter, choice);
    const JobResult result = RunPrintJob(job, report, progress, messages, error);
    if (pages) *pages = job.pages();
    return result;
}

}  // namespace LetterPrint
