#pragma once

#include <QPageLayout>
#include <QString>

#include "DeviceMetrics.h"

// What a report needs of the device it draws for: the sheet and resolution its pages
// are laid out for, a busy flag that a running job holds, and the names its status
// line shows. The print core knows a device only through this interface; the printer
// device (src/print/device) implements it. A report borrows its device: the device
// must outlive every report made for it.
class ReportDevice {
  public:
    // The refusal of a setup change while a job runs on the device.
    static const QString kAlreadyPrinting;

    virtual ~ReportDevice() = default;

    // Page metrics as the device now reports them, in its own orientation().
    virtual DeviceMetrics metrics() = 0;
    virtual QPageLayout::Orientation orientation() const = 0;

    // A report marks its device busy from the start of its job to its end; a busy
    // device refuses changes of its setup with kAlreadyPrinting.
    virtual void setBusy(bool busy) = 0;
    virtual bool busy() const = 0;

    // The names the status line shows for %D, %R and %T.
    virtual QString deviceName() const = 0;
    virtual QString driverName() const = 0;
    virtual QString portName() const = 0;

  protected:
    ReportDevice() = default;
    ReportDevice(const ReportDevice&) = default;
    ReportDevice& operator=(const ReportDevice&) = default;
};
