#pragma once

#include <QDialog>

#include "ZipScan.h"

class QLabel;
class QPushButton;

namespace xbase {
class Table;
}

// The presort window, "Bulk Mail Presorting": as soon as it is shown it runs the
// presort over the table's current selection and writes the list to `path`, showing
// its progress; Cancel asks "Cancel PRESORT?". It closes by itself when done;
// result() then tells whether the list was written.
class TSortBulkMail : public QDialog {
    Q_OBJECT

  public:
    TSortBulkMail(xbase::Table& table, QString path, QWidget* parent = nullptr);

    ScanResult presortResult() const { return result_; }
    const QString& errorText() const { return error_; }

    QLabel* StatusLabel;
    QPushButton* CancelButton;

  protected:
    void showEvent(QShowEvent* event) override;
    void reject() override;

  private slots:
    void CancelButtonClick();
    void run();

  private:
    xbase::Table& table_;
    QString path_;
    bool started_ = false;
    bool running_ = false;
    bool cancelled_ = false;
    ScanResult result_ = ScanResult::Cancelled;
    QString error_;
};
