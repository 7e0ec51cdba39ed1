#pragma once

#include <QPointF>
#include <QString>
#include <cstdint>
#include <vector>

#include "Envelope.h"
#include "JobProgress.h"
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

// Printing envelopes: one envelope a page, each record's design placed by the feed.
namespace EnvelopePrint {

using Records = RecordChoice::Records;

// The print-envelope screen's choices: the records (the current one at first), and how.
struct Choice : RecordChoice {
    Choice() : RecordChoice(Records::Current) {}
    bool preview = false;  // outline the printable area in red dots
    QPointF calibration;   // the printer's own correction, inches, added to the placement
};

inline const QString kCompleted = QStringLiteral("Envelope Print Completed!");
inline const QString kCanceled = QStringLiteral("Envelope Print Canceled!");
inline const QString& kOutOfRange = RecordChoice::kOutOfRange;

// Envelopes leave out the records flagged deleted.
constexpr DeletedPolicy kDeleted = DeletedPolicy::Flagged;

// SelectRecords under kDeleted; false when the query cannot be set or only the
// current record was asked for and there is none. The caller holds a SavedCursor.
bool Select(xbase::Table& table, const Choice& choice, Messages& messages);

// What a job printed.
struct Counts {
    int envelopes = 0;
    // The records whose address block could not print all its lines whole, in the
    // order printed (layout::CutAddressNotice tells the user of them).
    std::vector<uint32_t> cutAddresses;
};

// The envelope loop, the OnPrint of a running report: from the table's current record to
// the end of its selection (or this record only), one page each, the layout at the
// feed's place for the report's page plus the calibration, clipped to the envelope.
// Stops when the report is cancelled.
void PrintLoop(TBaseReport& report, xbase::Table& table, layout::LayoutFile& layout, const Envelope::Size& size,
               const Envelope::Feed& feed, const Choice& choice, Counts* counts);

// The whole job inside `report` (which decides the page: its metrics are the page the
// printer or PDF really has): the selection, then one page per record with the layout
// at Placement() plus the calibration. The table's query, order and record are put back
// however the job ends. `layout` is loaded and bound to the table's data set by the
// caller. `counts` tells what was printed, also when the job did not finish.
JobResult PrintEnvelopes(xbase::Table& table, layout::LayoutFile& layout, const Envelope::Size& size,
                         const Envelope::Feed& feed, const Choice& choice, TBaseReport& report,
                         JobProgress& progress, Messages& messages, QString* error, Counts* counts = nullptr);

// The envelope job: Select, then PrintLoop on pages the report's device really has.
// The envelopes command and the print-envelope screen build it from their choices;
// `layout` is loaded and bound to the table's data set by the caller.
class EnvelopeJob : public PrintJob {
  public:
    EnvelopeJob(xbase::Table& table, layout::LayoutFile& layout, const Envelope::Size& size,
                const Envelope::Feed& feed, const Choice& choice);

    JobResult select(JobProgress& progress, Messages& messages, QString* error) override;
    void printPages(TBaseReport& report) override;
    QString counts() const override;
    QString notice() const override;
    QString completed() const override { return kCompleted; }
    const Counts& printed() const { return counts_; }

  private:
    xbase::Table& table_;
    layout::LayoutFile& layout_;
    Envelope::Size size_;
    Envelope::Feed feed_;
    Choice choice_;
    Counts counts_;
};

}  // namespace EnvelopePrint
