#include "TReportPrinter.h"

#include <QPrinter>

#include "PagePainter.h"
#include "PrinterDevice.h"

TReportPrinter::TReportPrinter(PrinterDevice* device)
    : TBaseReport(PrinterDevice::forReport(device)), printerDevice_(device) {}

TReportPrinter::~TReportPrinter() {
    if (painter_.isActive()) painter_.end();
}

// The process's device is made on first use, not when the report is.
PrinterDevice& TReportPrinter::device() const {
    return printerDevice_ ? *printerDevice_ : PrinterDevice::instance();
}

bool TReportPrinter::beginOutput(DeviceMetrics* metrics, QString* error) {
    printed_ = 0;
    documentAborted_ = false;
    QPrinter* printer = device().printer();
    if (!printer) {
        *error = QStringLiteral(
            "There is no default printer selected.\r\nUnable to perform printer related operations");
        return false;
    }
    if (device().isPdf() && device().pdfFileName().isEmpty()) {
        *error = QStringLiteral("No file name was given for the PDF file");
        return false;
    }
    printer->setDocName(Title);
    printer->setCopyCount(std::max(1, Copies));
    printer->setPageOrientation(orientation().value_or(device().orientation()));
    printer->setPageMargins(printer->pageLayout().minimumMargins(), printer->pageLayout().units());
    // A job that cannot start gives the printer its own orientation back, as endOutput
    // does for one that ran; the next preview is laid out from the printer's sheet.
    const auto unableToPrintTo = [&](const QString& target) {
        printer->setPageOrientation(device().orientation());
        *error = QStringLiteral("Unable to print to ") + target;
        return false;
    };
    if (device().isPdf()) {
        // The printer holds the sheet the device is set up for; the PDF writer draws on it.
        if (!pdf_.begin(device().pdfFileName(), printer->pageLayout(), printer->resolution(), Title))
            return unableToPrintTo(device().pdfFileName());
        jobMetrics_ = pdf_.metrics();
    } else {
        if (!painter_.begin(printer)) return unableToPrintTo(device().printerName());
        jobMetrics_ = device().metrics();
    }
    *metrics = jobMetrics_;
    return true;
}

void TReportPrinter::outputPage(Page&& page) {
    if (documentAborted_) return;
    if (pdf_.active()) {
        pdf_.write(page);
    } else if (painter_.isActive()) {
        if (printed_ > 0) device().printer()->newPage();
        PagePainter(painter_, jobMetrics_).play(page);
    } else {
        return;
    }
    ++printed_;
    page = Page();
}

void TReportPrinter::abort() {
    if (printing() && !documentAborted_) {
        if (painter_.isActive()) {
            documentAborted_ = true;
            device().printer()->abort();
        } else if (pdf_.active()) {
            documentAborted_ = true;
        }
    }
    TBaseReport::abort();
}

void TReportPrinter::endOutput(bool aborted) {
    if (painter_.isActive()) painter_.end();
    pdf_.end(aborted);
    if (QPrinter* printer = device().printer()) printer->setPageOrientation(device().orientation());
}

void TReportPrinter::statusNames(QString* deviceName, QString* driver, QString* port) const {
    *deviceName = device().deviceName();
    *driver = device().driverName();
    *port = device().portName();
}
