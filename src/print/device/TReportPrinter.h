#pragma once

#include <QPainter>

#include "PdfPageWriter.h"
#include "TBaseReport.h"

class PrinterDevice;

// The printer output: each finished page is played to the selected printer of the
// device and then dropped, so a job of any length keeps one page in memory. For
// "PDF File" the pages go through the print core's PDF writer to the device's PDF
// file, on the sheet the device is set up for.
class TReportPrinter : public TBaseReport {
  public:
    // `device` is the printer device of the job; null means the process's device, as
    // it is at each use.
    explicit TReportPrinter(PrinterDevice* device = nullptr);
    ~TReportPrinter() override;

    // The printer device the job is for.
    PrinterDevice& device() const;

    // Also abandons the document on the printer: nothing of it is printed, and a PDF
    // file begun for it is removed.
    void abort() override;

    // Pages the printer has been sent in this job.
    int pagesPrinted() const { return printed_; }

  protected:
    bool beginOutput(DeviceMetrics* metrics, QString* error) override;
    void outputPage(Page&& page) override;
    void endOutput(bool aborted) override;
    void statusNames(QString* device, QString* driver, QString* port) const override;

  private:
    PrinterDevice* printerDevice_;
    QPainter painter_;
    PdfPageWriter pdf_;
    DeviceMetrics jobMetrics_;
    int printed_ = 0;
    bool documentAborted_ = false;
};
