#include "TZipReport.h"

#include "ZipReport.h"

TZipReport::TZipReport(QStringList lines, bool preview, QWidget* parent, PrinterDevice* device)
    : TPrintStatus(PrintKind::ZipCount, preview, parent, device), job_(std::move(lines)) {
    setObjectName(QStringLiteral("TZipReport"));
    setJob(job_);
}
