#include "TReportPdfWriter.h"

#include <QPageSize>

TReportPdfWriter::TReportPdfWriter(ReportDevice* device)
    : TBaseReport(device), layout_(QPageSize(QPageSize::Letter), QPageLayout::Portrait, QMarginsF()) {}

bool TReportPdfWriter::beginOutput(DeviceMetrics* metrics, QString* error) {
    if (fileName_.isEmpty()) {
        *error = QStringLiteral("No file name was given for the PDF file");
        return false;
    }
    QPageLayout layout = layout_;
    if (orientation()) layout.setOrientation(*orientation());
    if (!pdf_.begin(fileName_, layout, resolution_, Title)) {
        *error = QStringLiteral("Unable to print to ") + fileName_;
        return false;
    }
    *metrics = pdf_.metrics();
    return true;
}

void TReportPdfWriter::outputPage(Page&& page) {
    if (aborted() || !pdf_.active()) return;
    pdf_.write(page);
    page = Page();
}

void TReportPdfWriter::endOutput(bool aborted) { pdf_.end(aborted); }

void TReportPdfWriter::statusNames(QString* device, QString* driver, QString* port) const {
    *device = QStringLiteral("PDF File");
    *driver = QStringLiteral("PDF");
    *port = fileName_;
}
