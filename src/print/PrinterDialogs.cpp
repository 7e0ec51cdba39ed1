#include "PrinterDialogs.h"

#include <QPageSetupDialog>
#include <QPrintDialog>
#include <QPrinter>

#include "PrinterDevice.h"
#include "TBaseReport.h"

namespace PrinterDialogs {

bool PrinterSetup(QWidget* parent, PrinterDevice& device) {
    QPrinter* printer = device.printer();
    if (!printer) return false;
    QPageSetupDialog dialog(printer, parent);
    if (dialog.exec() != QDialog::Accepted) return false;
    device.settingsChanged();
    return true;
}

bool PrintDialog(QWidget* parent, PrinterDevice& device, TBaseReport& report) {
    QPrinter* printer = device.printer();
    if (!printer) return false;
    printer->setCopyCount(report.Copies);
    QPrintDialog dialog(printer, parent);
    dialog.setOptions(QAbstractPrintDialog::PrintPageRange | QAbstractPrintDialog::PrintToFile);
    dialog.setMinMax(1, 9999);
    if (dialog.exec() != QDialog::Accepted) return false;
    report.Copies = printer->copyCount();
    if (printer->printRange() == QPrinter::PageRange) {
        report.FirstPage = printer->fromPage();
        report.LastPage = printer->toPage();
    } else {
        report.FirstPage = 1;
        report.LastPage = 9999;
    }
    return true;
}

}  // namespace PrinterDialogs
