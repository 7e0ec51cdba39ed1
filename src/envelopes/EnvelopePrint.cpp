#include "EnvelopePrint.h"

#include <QColor>

#include "LayoutFile.h"
#include "Messages.h"
#include "TBaseReport.h"
#include "Table.h"

namespace EnvelopePrint {

bool Select(xbase::Table& table, const Choice& choice, Messages& messages) {
    if (!SelectRecords(table, choice, kDeleted, messages)) return false;
    return choice.records != Records::Current || !table.eof();
}

void PrintLoop(TBaseReport& r, xbase::Table& table, layout::LayoutFile& layout, const Envelope::Size& size,
               const Envelope::Feed& feed, const Choice& choice, Counts* counts) {
    const DeviceMetrics& m = r.metrics();
    const QPointF at =
        Envelope::Placement(feed, m.pageWidth, m.pageHeight, size.width, size.height) + choice.calibration;
    layout.SetPrintArea(size.width, size.height);
    Counts n;
    while (!table.eof() && !r.cancelled()) {
        if (n.envelopes > 0) r.newPage();
        if (choice.preview) {
            // The part of the page the printer can reach, as a red dotted frame.
            r.setPen(Qt::red, Qt::DotLine, 1);
            r.setBrush(Qt::white, Qt::NoBrush);
            r.rectangle(m.offsetLeft, m.offsetTop, m.pageWidth - m.offsetRight, m.pageHeight - m.offsetBottom);
            r.setPen(Qt::black, Qt::SolidLine, 1);
        }
        if (!layout.PrintRecord(r, at.x(), at.y())) n.cutAddresses.push_back(table.recNo());
        ++n.envelopes;
        if (counts) *counts = n;
        r.updateStatus();
        if (choice.records == Records::Current) break;
        if (!table.skip(1).ok()) break;
    }
    if (counts) *counts = n;
}

EnvelopeJob::EnvelopeJob(xbase::Table& table, layout::LayoutFile& layout, const Envelope::Size& size,
                         const Envelope::Feed& feed, const Choice& choice)
    : table_(table), layout_(layout), size_(size), feed_(feed), choice_(choice) {}

JobResult EnvelopeJob::select(JobProgress&, Messages& messages, QString* error) {
    if (size_.width <= 0 || size_.height <= 0) {
        *error = QString("The envelope size %1 is not known").arg(size_.code);
        return JobResult::Failed;
    }
    saveCursor(table_);
    if (!Select(table_, choice_, messages)) {
        *error = "There are no records to print";
        return JobResult::Failed;
    }
    return JobResult::Done;
}

void EnvelopeJob::printPages(TBaseReport& report) {
    PrintLoop(report, table_, layout_, size_, feed_, choice_, &counts_);
}

QString EnvelopeJob::counts() const { return Counted(counts_.envelopes, "envelope", "envelopes"); }

QString EnvelopeJob::notice() const { return layout::CutAddressNotice(counts_.cutAddresses); }

JobResult PrintEnvelopes(xbase::Table& table, layout::LayoutFile& layout, const Envelope::Size& size,
                         const Envelope::Feed& feed, const Choice& choice, TBaseReport& report,
                         JobProgress& progress, Messages& messages, QString* error, Counts* counts) {
    EnvelopeJob job(table, layout, size, feed, choice);
    const JobResult result = RunPrintJob(job, report, progress, messages, error);
    if (counts) *counts = job.printed();
    return result;
}

}  // namespace EnvelopePrint
