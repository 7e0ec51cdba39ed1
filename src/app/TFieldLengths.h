#pragma once

#include <QDialog>
#include <QVector>

#include "FieldLengths.h"

class QCheckBox;
class QLineEdit;
class QPushButton;
class Settings;

// "Specify Field Lengths": the widths of the sized fields of a new address file. An
// entry that is not a whole number from 10 to 80 goes back to the value it had when
// the dialog opened (or after "Defaults"). "Ok" takes the widths for this file and,
// with "Use these settings for all new databases" ticked, stores them.
class TFieldLengths : public QDialog {
    Q_OBJECT

  public:
    TFieldLengths(const FieldLengths& widths, Settings& settings, QWidget* parent = nullptr);

    FieldLengths widths() const { return widths_; }
    // The edit of a field ("LNAME", ...).
    QLineEdit* edit(const QString& field) const;

    QPushButton* DefaultsButton;
    QCheckBox* UseForAllCheckBox;
    QPushButton* OkButton;
    QPushButton* CancelButton;

  private:
    void checkEdit(int index);
    void OkButtonClick();

    Settings& settings_;
    FieldLengths widths_;
    FieldLengths baseline_;      // what an entry out of range goes back to
    QVector<QLineEdit*> edits_;  // by FieldLengths index
};
