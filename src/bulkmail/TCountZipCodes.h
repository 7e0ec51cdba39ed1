#pragma once

#include <QStringList>

#include "JobWindow.h"

class PrinterDevice;
class QLabel;
class QPushButton;
class Settings;

namespace xbase {
class Table;
}

// "Count Zip Codes": counts the records of the table's current selection per ZIP code
// as soon as it is shown, then offers the count as a report to print or preview.
// Cancel during the count asks "Cancel Count?" and, on Yes, closes the window. The
// table's order and current record are the same afterwards. With `settings` the
// preview window keeps its placement.
class TCountZipCodes : public JobWindow {
    Q_OBJECT

  public:
    TCountZipCodes(xbase::Table& table, Settings* settings = nullptr, QWidget* parent = nullptr,
                   PrinterDevice* device = nullptr);

    bool counted() const { return counted_; }
    const QStringList& reportLines() const { return lines_; }

    QLabel* CaptionLabel;
    QPushButton* PrintButton;
    QPushButton* PreviewButton;
    QPushButton* PrinterSetupButton;
    QPushButton* OkButton;
    QPushButton* HelpButton;

  public slots:
    void PrintButtonClick();
    void PreviewButtonClick();
    void PrinterSetupButtonClick();

  protected:
    void jobEnded(JobResult result) override;

  private:
    bool report(bool preview);

    xbase::Table& table_;
    Settings* settings_;
    PrinterDevice* device_;
    bool counted_ = false;
    QString error_;
    QStringList lines_;
};
