#include "LetterPrint.h"

#include <QTextDocument>
#include <QStringList>
#include <algorithm>

#include "LetterLayout.h"
#include "LetterMerge.h"
#include "LetterText.h"
#include "Messages.h"
#include "SavedCursor.h"
#include "TBaseReport.h"
#include "Table.h"

namespace LetterPrint {

namespace {

constexpr char kNotDeleted[] = "!ISDEL";

// Whether the table's current record belongs to its selection: not past the end, not
// hidden as deleted, and matching the query.
bool inSelection(xbase::Table& table) {
    if (table.eof() || (table.hidesDeleted() && table.deleted())) return false;
    if (table.queryText().empty()) return true;
    bool match = false;
    return table.evalLogical(table.queryText(), &match).ok() && match;
}

}  // namespace

QString PrintingPage(int pages) { return "Printing page " + QString::number(pages); }

bool SelectRecords(xbase::Table& table, const Choice& choice, Messages& messages) {
    const uint32_t start = table.recNo() <= table.recCount() ? table.recNo() : 0;
    if (choice.records == Records::All) {
        table.setDeleted(true);
        if (!table.query(kNotDeleted).ok()) return false;
    }
    if (choice.startFromCurrent) {
        if (start == 0 || !table.go(start).ok() || !inSelection(table)) {
            messages.inform(kOutOfRange);
            (void)table.goTop();
        }
    } else if (choice.records != Records::Current) {
        (void)table.goTop();
    } else if (start != 0) {
        (void)table.go(start);
    }
    return true;
}

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
    if (!SelectRecords(table, choice, messages)) {
        *error = "Unable to select the records";
        return JobResult::Failed;
    }
    int printed = 0;
    report.setProgress(&progress, TBaseReport::OnHalt::Abort);
    report.OnPrint = [&](TBaseReport& r) {
        PrintRecords(r, table, letter, choice.copies, choice.records == Records::Current, &printed);
    };
    const bool ok = report.execute();
    report.OnPrint = nullptr;
    report.setProgress(nullptr);
    if (pages) *pages = printed;
    if (!ok && !report.lastError().isEmpty()) {  // the job never started
        *error = report.lastError();
        return JobResult::Failed;
    }
    if (!ok) return JobResult::Cancelled;
    progress.status(kCompleted);
    return JobResult::Done;
}

}  // namespace LetterPrint
