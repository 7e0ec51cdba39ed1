#include "Printers.h"

#include <QPrinterInfo>

namespace Printers {

namespace {
bool hideAll = false;
bool hideDefault = false;
}  // namespace

void hideAllForTests(bool hide) { hideAll = hide; }
void hideDefaultForTests(bool hide) { hideDefault = hide; }

QStringList installed() {
    if (hideAll) return {};
    QStringList names = QPrinterInfo::availablePrinterNames();
    names.removeAll(kPdfPrinter);
    names.append(kPdfPrinter);
    return names;
}

QString defaultPrinter() {
    if (hideAll || hideDefault) return {};
    const QString name = QPrinterInfo::defaultPrinterName();
    return name.isEmpty() ? kPdfPrinter : name;
}

}  // namespace Printers

bool CheckPrinters(QString* message) {
    if (Printers::installed().isEmpty()) {
        *message = "There are no installed printers.\r\nUnable to perform printer related operations";
        return false;
    }
    // The system may have had no default yet when first asked: ask once more.
    if (Printers::defaultPrinter().isEmpty() && Printers::defaultPrinter().isEmpty()) {
        *message = "There is no default printer selected.\r\nUnable to perform printer related operations";
        return false;
    }
    return true;
}
