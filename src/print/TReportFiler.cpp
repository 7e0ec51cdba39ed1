#include "TReportFiler.h"

#include <utility>

TReportFiler::TReportFiler(ReportDevice* device) : TBaseReport(device) {}

bool TReportFiler::beginOutput(DeviceMetrics* metrics, QString* error) {
    if (!stream_) {
        *error = QStringLiteral("No page stream was given for the preview");
        return false;
    }
    stream_->pages.clear();
    ReportDevice* device = reportDevice();
    if (fixed_ || !device) {
        *metrics = fixed_.value_or(DeviceMetrics());
        return true;
    }
    // A job of the other orientation than the device's gets the turned sheet.
    DeviceMetrics m = device->metrics();
    if (orientation() && *orientation() != device->orientation()) {
        std::swap(m.pageWidth, m.pageHeight);
        std::swap(m.offsetLeft, m.offsetTop);
        std::swap(m.offsetRight, m.offsetBottom);
        std::swap(m.dpiX, m.dpiY);
    }
    *metrics = m;
    return true;
}

void TReportFiler::outputPage(Page&& page) { stream_->pages.push_back(std::move(page)); }

void TReportFiler::endOutput(bool) {}

void TReportFiler::statusNames(QString* device, QString* driver, QString* port) const {
    *device = QStringLiteral("Preview");
    *driver = QStringLiteral("Preview");
    *port = QStringLiteral("Screen");
}
