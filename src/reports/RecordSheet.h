#pragma once

#include <QString>
#include <QStringList>
#include <QStringView>
#include <array>
#include <functional>
#include <utility>
#include <vector>

#include "JobProgress.h"
#include "PrintJob.h"

class TBaseReport;
namespace xbase {
class Table;
}

// The one-record sheet: chosen fields of the address table's current record, one a
// line (caption in bold, value beside it), then optionally the record's memo in italics
// across the page, continued on further pages with the same header when it is long.
namespace RecordSheet {

// One line of the sheet as the "Print Current Record" window offers it.
struct Item {
    const char* checkBox;  // the window's check box
    const char* caption;   // printed in the first column
    const char* field;     // the address field; "DisplayDate" is DATE as shown, "MEMO" the memo block
};

constexpr int kItemCount = 21;
// The items in the order they print; the memo is last.
const std::array<Item, kItemCount>& Items();
constexpr int kMemoItem = kItemCount - 1;

// Which items are printed: one flag per item of Items(), all ticked at first.
struct Choice {
    Choice() { fields.fill(true); }
    std::array<bool, kItemCount> fields;
};

// Ticks exactly the items named in `names`: field names as stored (LNAME, MEMO, ...)
// with DATE for the date, in any letter case. False with the first unknown name in
// `unknown`; `choice` is then unchanged.
bool ChooseFields(const QStringList& names, Choice* choice, QString* unknown);

// What the sheet prints, read from the record before the job runs.
struct Sheet {
    std::vector<std::pair<QString, QString>> lines;  // caption, value (may be empty)
    bool memo = false;
    QString memoText;
};

// The ticked items of the table's current record.
// REQUIRES: the table stands on a record.
Sheet ReadSheet(const xbase::Table& table, const Choice& choice);

// Draws the sheet inside a running job (the job's OnPrint). It sets the job's margins
// to one inch, tests cancelled() between lines and calls updateStatus() after each
// item and each memo page.
void DrawSheet(TBaseReport& report, const Sheet& sheet);

// The whole job for the table's current record inside `report`. The table's cursor is
// not moved. Failed with `error` set when there is no current record or the output
// could not start.
JobResult PrintSheet(xbase::Table& table, const Choice& choice, TBaseReport& report, JobProgress& progress,
                     QString* error);

// The sheet as a job of the table's current record, on the printer's paper. The
// cursor is not moved; select() reads the record (Failed when there is none).
class SheetJob : public PrintJob {
  public:
    SheetJob(xbase::Table& table, const Choice& choice) : table_(table), choice_(choice) {}

    JobResult select(JobProgress& progress, Messages& messages, QString* error) override;
    void printPages(TBaseReport& report) override { DrawSheet(report, sheet_); }
    QString counts() const override;
    // What select() does: the record read, or Failed when there is none.
    JobResult read(QString* error);

  private:
    xbase::Table& table_;
    Choice choice_;
    Sheet sheet_;
    uint32_t recNo_ = 0;
};

// Breaks `text` into lines no wider than `width` as a word-wrapping text box does: at
// line breaks (CR LF, LF or CR), after the blanks that end a word, and between
// characters within a word wider than a line (at least one character a line). Blanks
// at a break stay at the end of the line they follow and are not measured. `measure`
// gives a piece's width; each distinct word is measured once and a line's width is
// the sum of its pieces', so a text of several megabytes breaks in linear time.
QStringList MemoLines(const QString& text, double width, const std::function<double(QStringView)>& measure);

}  // namespace RecordSheet
