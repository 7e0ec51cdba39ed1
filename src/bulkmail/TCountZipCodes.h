#pragma once

#include <QDialog>
#include <QStringList>

#include "ZipScan.h"

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
class TCountZipCodes : public QDialog {
    Q_OBJECT

  public:
    TCountZipCodes(xbase::Table& table, Settings* settings = nullptr, QWidget* parent = nullptr,
                   PrinterDevice* device = nullptr);

    bool counted() const { return counted_; }
    const QStringList& reportLines() const { return lines_; }

    QLabel* CaptionLabel;
    QLabel* StatusLabel;
    QPushButton* CancelButton;
    QPushButton* PrintButton;
    QPushButton* PreviewButton;
    QPushButton* PrinterSetupButton;
    QPushButton* OkButton;
    QPushButton* HelpButton;

  public slots:
    void CancelButtonClick();
    void PrintButtonClick();
    void PreviewButtonClick();
    void PrinterSetupButtonClick();

  protected:
    void showEvent(QShowEvent* event) override;
    void reject() override;

  private slots:
    void count();

  private:
    bool report(bool preview);
    void information(const QString& text);

    xbase::Table& table_;
    Settings* settings_;
    PrinterDevice* device_;
    bool started_ = false;
    bool counting_ = false;
    bool cancelled_ = false;
    bool counted_ = false;
    QStringList lines_;
};
