#pragma once

#include <QDialog>

class QLabel;
class QProgressBar;
class QPushButton;

namespace xbase {
class Table;
}

// "Rebuild indexes for <file>": packs the open address file (deleted records go for
// good) and builds its tags anew, with a gauge over both phases.
class TQYReindex : public QDialog {
    Q_OBJECT

  public:
    TQYReindex(xbase::Table& table, const QString& fileName, QWidget* parent = nullptr);

    // The message of a failed rebuild; empty after success or when not run.
    const QString& error() const { return error_; }

    QLabel* StatusLabel;
    QProgressBar* Gauge;
    QPushButton* ReindexButton;
    QPushButton* CancelButton;
    QPushButton* HelpButton;

  private:
    void ReindexButtonClick();

    xbase::Table& table_;
    QString error_;
};
