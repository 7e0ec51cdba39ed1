#include "ReportDevice.h"

const QString ReportDevice::kAlreadyPrinting =
    QStringLiteral("Invalid method call.  ReportPrinter already printing.");
