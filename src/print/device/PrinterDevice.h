#pragma once

#include <QPageLayout>
#include <QString>
#include <QStringList>
#include <memory>
#include <optional>
#include <vector>

#include "DeviceMetrics.h"
#include "ReportDevice.h"

class QPrinter;

// The print device: one per process, made on first use. It holds the selected printer
// and its settings (paper code, custom paper size, orientation, paper source, copies)
// and lists what the printer offers. The printers are the CUPS printers that Qt
// reports, followed by the built-in "PDF File", which writes the job to a PDF file.
//
// Setup calls return false and leave lastError() set when they are refused: while a
// job runs (the report marks the device busy: kAlreadyPrinting) and on a printer that
// cannot be opened.
struct PageRequest;

class PrinterDevice : public ReportDevice {
  public:
    static const QString kPdfPrinter;  // "PDF File"
    static const QString kNoDevMode;

    static PrinterDevice& instance();
    // `device` as a report's device; for null, the process's device as it is at each
    // use (so a report made before discard() follows the new device).
    static ReportDevice* forReport(PrinterDevice* device);
    // Throws the device away, so that the next use starts from the default printer.
    static void discard();
    // Tests replace the list of installed printers (an empty list: none at all, not
    // even "PDF File"); std::nullopt gives the real list again.
    static void setPrinterListForTesting(std::optional<QStringList> names);

    PrinterDevice();
    ~PrinterDevice() override;
    PrinterDevice(const PrinterDevice&) = delete;
    PrinterDevice& operator=(const PrinterDevice&) = delete;

    struct Entry {
        QString name;
        int code = 0;  // bin code of a paper source, paper code of a paper
    };

    // Printers in the device's order; an empty list means no printer.
    QStringList printers() const;
    // The selected printer's index; -1 when there is none.
    int printerIndex() const { return index_; }
    // Selects a printer by index (-1: the default printer) and reads its settings
    // afresh. An index below -1 is ignored (true, nothing changes); one past the list
    // fails.
    bool setPrinterIndex(int index);
    QString printerName() const;
    bool isPdf() const { return printerName() == kPdfPrinter; }

    // The device of the selected printer, set up with the device settings; null when no
    // printer is selected or the selected one cannot be opened.
    QPrinter* printer();
    // The file that "PDF File" writes; the caller asks the user for it at print time.
    void setPdfFileName(const QString& path);
    QString pdfFileName() const { return pdfFileName_; }

    std::vector<Entry> paperSources() const;
    int paperSourceIndex() const;  // -1 when the current bin is not in the list
    // Selects the source whose name is `name`, or with `substring` the first whose name
    // contains it, ignoring case. False when none matches.
    bool selectPaperSource(const QString& name, bool substring = false);
    std::vector<Entry> papers() const;
    int paperIndex() const;
    bool selectPaper(const QString& name, bool substring = false);

    QPageLayout::Orientation orientation() const override { return orientation_; }
    bool setOrientation(QPageLayout::Orientation orientation);
    // Paper codes: 1 Letter, 9 A4, 11 A5 and the other Windows paper numbers; 0 is a
    // custom size of `width` by `height` inches, kept in tenths of a millimetre.
    bool setPaperSize(int code, double width = 0, double height = 0);
    // Gives the printer the paper a job asks for. False when the request wants to be
    // sure of its paper and the page the printer reports is not that paper, or a driver
    // of the family that takes no paper size from us makes it unsure.
    bool setPage(const PageRequest& request);
    int paperCode() const { return paperCode_; }
    int customWidth() const { return customWidth_; }  // tenths of a millimetre
    int customHeight() const { return customHeight_; }
    int binCode() const { return bin_; }
    int copies() const { return copies_; }
    bool setCopies(int copies);

    // Page metrics as the printer now reports them; 96 dots per inch and a Letter sheet
    // without a border when there is no device.
    DeviceMetrics metrics() override;
    double pageWidth() { return metrics().pageWidth; }
    double pageHeight() { return metrics().pageHeight; }
    double leftOffset() { return metrics().offsetLeft; }
    double topOffset() { return metrics().offsetTop; }
    double rightOffset() { return metrics().offsetRight; }
    double bottomOffset() { return metrics().offsetBottom; }

    // The names the status line shows for %D, %R and %T.
    QString deviceName() const override { return printerName(); }
    QString driverName() const override;
    QString portName() const override;

    // After the printer setup dialog changed the device: takes its paper, orientation
    // and copies as the device settings and applies them again.
    void settingsChanged();

    // A running job keeps the device from being changed under it.
    void setBusy(bool busy) override { busy_ = busy; }
    bool busy() const override { return busy_; }

    const QString& lastError() const { return error_; }

  private:
    bool refuseSetup();
    void open();
    void apply();

    int index_ = -1;
    QString name_;  // the selected printer's name in the list it was opened from
    std::unique_ptr<QPrinter> printer_;
    QString pdfFileName_;
    int paperCode_ = 1;
    int customWidth_ = 0;
    int customHeight_ = 0;
    QPageLayout::Orientation orientation_ = QPageLayout::Portrait;
    int bin_ = 7;
    QString sourceKeyword_;
    int copies_ = 1;
    bool busy_ = false;
    QString error_;
    struct CupsInfo;
    std::unique_ptr<CupsInfo> cups_;
};
