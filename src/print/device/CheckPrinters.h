#pragma once

#include <QString>

class PrinterDevice;

// Whether printing can go ahead: false with `message` set when no printer is installed
// ("There are no installed printers.\r\nUnable to perform printer related
// operations"), or when printers exist but no device can be had even after the
// selection is applied once more ("There is no default printer selected.\r\n...").
bool CheckPrinters(PrinterDevice& device, QString* message);
