#include "TZipReport.h"

#include "ZipReport.h"

TZipReport::TZipReport(QStringList lines, bool preview, QWidget* parent, PrinterDevice* device)
    : TPrintStatus(PrintKind::ZipCount, preview, parent, device), lines_(std::move(lines)) {
    setObjectName(QStringLiteral("TZipReport"));
    ZipReport::SetUp(report());
    setJob([this](TBaseReport& r) { ZipReport::Print(r, lines_); });
}
