#include "CheckPrinters.h"

#include "PrinterDevice.h"

bool CheckPrinters(PrinterDevice& device, QString* message) {
    if (device.printers().isEmpty()) {
        *message = QStringLiteral(
            "There are no installed printers.\r\nUnable to perform printer related operations");
        return false;
    }
    if (device.printer()) return true;
    const int index = device.printerIndex();
    if (device.setPrinterIndex(index) && device.printer()) return true;
    *message = QStringLiteral(
        "There is no default printer selected.\r\nUnable to perform printer related operations");
    return false;
}
