#include "EnvelopePrint.h"

#include <QColor>

#include "LayoutFile.h"
#include "Messages.h"
#include "ReportJob.h"
#include "SavedCursor.h"
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

JobResult PrintEnvelopes(xbase::Table& table, layout::LayoutFile& layout, const Envelope::Size& size,
                         const Envelope::Feed& feed, const Choice& choice, TBaseReport& report,
                         JobProgress& progress, Messages& messages, QString* error, Counts* counts) {
    if (size.width <= 0 || size.height <= 0) {
        *error = QString("The envelope size %1 is not known").arg(size.code);
        return JobResult::Failed;
    }
    const SavedCursor saved(table);
    if (!Select(table, choice, messages)) {
        *error = "There are no records to print";
        return JobResult::Failed;
    }
    Counts printed;
    const JobResult result = RunReportJob(
        report, progress, [&](TBaseReport& r) { PrintLoop(r, table, layout, size, feed, choice, &printed); },
        error, kCompleted);
    if (counts) *counts = printed;
    return result;
}

}  // namespace EnvelopePrint
