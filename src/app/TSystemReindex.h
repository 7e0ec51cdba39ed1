#pragma once

#include <QDialog>

#include "AppHome.h"

class QLabel;
class QProgressBar;
class QPushButton;

// "Rebuild System Indexes": packs the six system tables and builds their tags anew.
// A table that cannot be opened is passed over without a word.
class TSystemReindex : public QDialog {
    Q_OBJECT

  public:
    explicit TSystemReindex(const AppHome& home, QWidget* parent = nullptr);

    QLabel* StatusLabel;
    QProgressBar* Gauge;
    QPushButton* ReindexButton;
    QPushButton* CancelButton;
    QPushButton* HelpButton;

  private:
    void ReindexButtonClick();

    AppHome home_;
};
