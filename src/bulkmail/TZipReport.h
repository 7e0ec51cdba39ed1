#pragma once

#include <QStringList>

#include "TPrintStatus.h"
#include "ZipReport.h"

// The print-status window of the ZIP code count report: prints or previews the count's
// report lines (ZipReport.h).
class TZipReport : public TPrintStatus {
    Q_OBJECT

  public:
    TZipReport(QStringList lines, bool preview, QWidget* parent = nullptr, PrinterDevice* device = nullptr);

  private:
    ZipReport::ZipCountJob job_;
};
