#pragma once

#include <QPointF>
#include <QString>
#include <QStringList>
#include <cstdint>
#include <string>
#include <vector>

#include "JobProgress.h"
#include "LabelDefinition.h"
#include "PrintJob.h"
#include "RecordChoice.h"

class Messages;
class TBaseReport;
namespace layout {
class LayoutFile;
}
namespace xbase {
class Table;
}

// Printing labels: one label per address record, each drawn from the definition's
// layout at its place on the sheet, sheet after sheet.
namespace LabelPrint {

using Records = RecordChoice::Records;

// Which positions of a sheet are filled, by index column + row × across. It holds a
// flag for every position the stock editor allows (10 across × 30 down), so that each
// position of even the largest sheet can be chosen; all are set at first.
class PositionSelection {
  public:
    static constexpr int kMaxPositions = 300;
    PositionSelection() : flags_(kMaxPositions, true) {}

    bool selected(int index) const { return index >= 0 && index < kMaxPositions && flags_[size_t(index)]; }
    void set(int index, bool on) {
        if (index >= 0 && index < kMaxPositions) flags_[size_t(index)] = on;
    }
    void setAll(bool on) { flags_.assign(kMaxPositions, on); }
    // Whether any of the first `count` positions (a sheet's) is selected.
    bool any(int count) const;
    // Only the 1-based positions of `list` ("28,29,30", "1-3,10"), each at most `count`;
    // false (and unchanged) for anything else.
    bool parse(const QString& list, int count);

  private:
    std::vector<bool> flags_;
};

// Where the loop puts labels: the stock's geometry, in inches.
struct Geometry {
    double height = 1.0, width = 2.625;
    int across = 3, down = 10;
    double topMargin = 0.5, leftMargin = 0.188;
    double horizPitch = 2.765, vertPitch = 1.01;
    double midExtraX = 0, midExtraY = 0;

    static Geometry Of(const LabelStock& stock);
    int positions() const { return across * down; }
    // The top-left corner of the label at column `b`, row `c`, from the sheet's
    // top-left corner: the right half's columns (from across div 2 on) and the lower
    // half's rows move by the extra gaps.
    QPointF position(int b, int c) const;
};

// The print-labels screen's choices: the records (the filter's at first), and how.
struct Choice : RecordChoice {
    Choice() : RecordChoice(Records::Filter) {}
    bool presort = false;
    bool presortDone = false;  // PRESORT.PSL is up to date for this selection
    int copies = 1;            // of each label, 1 to 99; 1 under presort
    PositionSelection positions;
};

inline const QString kCompleted = QStringLiteral("Label Print Completed!");
inline const QString kCanceled = QStringLiteral("Label Print Canceled!");
inline const QString kCancelQuestion = QStringLiteral("Cancel Label Printing?");
inline const QString& kOutOfRange = RecordChoice::kOutOfRange;
inline const QString kNoPosition = QStringLiteral("You must select at least one card to print");
inline const QString kPresortOrder = QStringLiteral(
    "Labels will print/preview in the following order:\r\n  1. 5-Digit presort\r\n  2. 3-Digit presort\r\n"
    "  3. ADC presort");
inline const QString kHeaderFont = QStringLiteral("Arial");
constexpr double kHeaderPoints = 8;

// Labels leave out the records flagged deleted (SelectRecords).
constexpr DeletedPolicy kDeleted = DeletedPolicy::Flagged;

// What a job printed.
struct Counts {
    int labels = 0;   // record labels, copies included
    int headers = 0;  // presort group headers
    // The records whose address block could not print all its lines whole, each once,
    // in the order printed (layout::CutAddressNotice tells the user of them).
    std::vector<uint32_t> cutAddresses;
};

// The label loop, the OnPrint of a running report: from the table's current record to
// the end of its selection, `copies` labels per record on the selected positions of
// every sheet, each clipped to its label. With `presortList` (PRESORT.PSL's lines, as bytes) the records come group by
// group in the list's order, each group after a header label; the table must then be
// in ZIP order with non-exact seeks. Stops when the report is cancelled.
void PrintLoop(TBaseReport& report, xbase::Table& table, layout::LayoutFile& layout, const Geometry& geometry,
               const Choice& choice, const std::vector<std::string>* presortList, Counts* counts);

// Everything before the loop: the selection; the presort when it is asked for and not
// yet done (writing `presortPath`, watched by `progress`); then the ZIP order with
// non-exact seeks, kPresortOrder told, and the list read into `presortList`. The
// caller holds a SavedCursor. Anything but Done means no job (with `error` set when
// it Failed).
JobResult PrepareJob(xbase::Table& table, Choice& choice, const QString& presortPath, JobProgress& progress,
                     Messages& messages, std::vector<std::string>* presortList, QString* error);

// The whole job as the command line and tests run it: PrepareJob, then PrintLoop
// inside `report`, watched by `progress` (a "no" from keepGoing aborts the report; a
// PDF begun is removed). The table's query, order and record are put back however the
// job ends. `layout` is loaded and bound to the table's data set by the caller.
JobResult PrintLabels(xbase::Table& table, layout::LayoutFile& layout, const Geometry& geometry, Choice& choice,
                      const QString& presortPath, TBaseReport& report, JobProgress& progress,
                      Messages& messages, QString* error, Counts* counts = nullptr);

// The paper a stock asks of the printer, and the check that the printer took it.
struct Paper {
    int code = 1;               // Windows paper number: 1 Letter, 9 A4, 11 A5, 0 custom
    double width = 8.5;         // in the printer's terms (portrait width)
    double height = 11.0;
    bool landscape = false;
    static Paper Of(const LabelStock& stock);
    // The request for the printer: this paper, in its orientation, confirmed.
    PageRequest request() const;
};
// Whether the page the printer reports (its own width and height, portrait) is the
// paper asked for, within 0.05 in after rounding to hundredths.
bool PaperMatches(const Paper& paper, double pageWidth, double pageHeight);
// The question asked when it is not.
QString PaperQuestion(const Paper& paper);

// The label job: PrepareJob, the stock's paper confirmed, and PrintLoop. The labels
// command and the print-labels screen build it from their choices; `layout` is loaded
// and bound to the table's data set by the caller.
class LabelJob : public PrintJob {
  public:
    LabelJob(xbase::Table& table, layout::LayoutFile& layout, const Geometry& geometry, const Paper& paper,
             const Choice& choice, const QString& presortPath);

    JobResult select(JobProgress& progress, Messages& messages, QString* error) override;
    PageRequest pageRequest() const override { return paper_.request(); }
    void printPages(TBaseReport& report) override;
    QString counts() const override;
    QString notice() const override;
    QString completed() const override { return kCompleted; }

    // The choice as the job has it: presortDone is set once select() has presorted.
    const Choice& choice() const { return choice_; }
    const Counts& printed() const { return counts_; }

  private:
    xbase::Table& table_;
    layout::LayoutFile& layout_;
    Geometry geometry_;
    Paper paper_;
    Choice choice_;
    QString presortPath_;
    std::vector<std::string> presortList_;
    Counts counts_;
};

}  // namespace LabelPrint
