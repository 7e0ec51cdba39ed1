#pragma once

#include <QDialog>

#include "AppHome.h"
#include "FieldLengths.h"

class QLabel;
class QLineEdit;
class QPushButton;
class Settings;

// "Create new database": the name of a new address file in the DATA folder, and its
// field lengths. "Ok [PgDn]" creates the file; the dialog closes when that succeeded,
// and path() is the new file for the main window to open.
class TCreateNewDatabase : public QDialog {
    Q_OBJECT

  public:
    TCreateNewDatabase(const AppHome& home, Settings& settings, QWidget* parent = nullptr);

    QString path() const { return path_; }
    const FieldLengths& widths() const { return widths_; }

    QLineEdit* NameEdit;
    QLabel* InvalidLabel;
    QPushButton* OkButton;
    QPushButton* CancelButton;
    QPushButton* HelpButton;
    QPushButton* FieldLengthsButton;

  protected:
    void keyPressEvent(QKeyEvent* event) override;

  private:
    void NameChange();
    void OkButtonClick();
    void FieldLengthsButtonClick();

    AppHome home_;
    Settings& settings_;
    FieldLengths widths_;
    QString path_;
};
