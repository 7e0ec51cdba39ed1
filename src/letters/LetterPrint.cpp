#include "LetterPrint.h"

#include <QTextDocument>
#include <QStringList>
#include <algorithm>

#include "LetterLayout.h"
#include "LetterMerge.h"
#include "LetterText.h"
#include "Messages.h"
#include "ReportJob.h"
#include "SavedCursor.h"
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

JobResult PrintLetters(xbase::Table& table, const QTextDocument& letter, const Choice& choice,
                       TBaseReport& report, JobProgress& progress, Messages& messages, QString* error,
                       int* pages) {
    const SavedCursor saved(table);
    if (!SelectRecords(table, choice, kDeleted, messages)) {
        *error = "Unable to select the records";
        return JobResult::Failed;
    }
    int printed = 0;
    const JobResult result = RunReportJob(
        report, progress,
        [&](TBaseReport& r) {
            PrintRecords(r, table, letter, choice.copies, choice.records == Records::Current, &printed);
        },
        error, kCompleted);
    if (pages) *pages = printed;
    return result;
}

}  // namespace LetterPrint
