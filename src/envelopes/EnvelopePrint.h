#pragma once

#include <QPointF>
#include <QString>
#include <cstdint>
#include <vector>

#include "Envelope.h"
#include "JobProgress.h"

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

enum class Records {
    All,      // every record not marked deleted
    Filter,   // the table's current query
    Current,  // only the current record (whatever the filter)
};

struct Choice {
    Records records = Records::Current;
    bool startFromCurrent = false;
    bool preview = false;  // outline the printable area in red dots
    QPointF calibration;   // the printer's own correction, inches, added to the placement
};

inline const QString kCompleted = QStringLiteral("Envelope Print Completed!");
inline const QString kCanceled = QStringLiteral("Envelope Print Canceled!");
inline const QString kOutOfRange =
    QStringLiteral("Current record is out of range. Starting with first record");

// Makes the selection and puts the cursor on the first envelope ("only the current
// record" leaves it where it is); false when there is nothing to print or the query
// cannot be set. The caller holds a SavedCursor.
bool SelectRecords(xbase::Table& table, const Choice& choice, Messages& messages);

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

}  // namespace EnvelopePrint
