#pragma once

#include <QDialog>

#include "ObjectEdits.h"

class QLineEdit;
class QPushButton;
class QSpinBox;

// "Counter": the starting number, how many labels show each number, the text before
// and after it, and the least number of digits (padded with zeros).
class TCounterDialog : public QDialog {
    Q_OBJECT

  public:
    explicit TCounterDialog(const layout::CounterSettings& settings, QWidget* parent = nullptr);
    layout::CounterSettings settings() const;

    QSpinBox* StartingNumber;
    QSpinBox* RepeatEach;
    QLineEdit* TextBefore;
    QLineEdit* TextAfter;
    QSpinBox* LeadingZeros;
    QPushButton *OkButton, *CancelButton;
};
