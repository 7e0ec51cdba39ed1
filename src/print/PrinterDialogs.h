#pragma once

class PrinterDevice;
class QWidget;
class TBaseReport;

// The system's printer dialogs over the print device.
namespace PrinterDialogs {

// The printer setup dialog (paper, orientation). On OK the device takes the changed
// settings and applies them again; true then. False when cancelled or when there is
// no printer.
bool PrinterSetup(QWidget* parent, PrinterDevice& device);

// The print dialog: copies and page range for `report`. All pages is the range
// 1..9999. False when cancelled or when there is no printer.
bool PrintDialog(QWidget* parent, PrinterDevice& device, TBaseReport& report);

}  // namespace PrinterDialogs
