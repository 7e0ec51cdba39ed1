#pragma once

#include <QDialog>

class QLineEdit;
class QPushButton;

// "Text": the caption of a fixed-text object, in one edit field "Enter Text".
class TTextDialog : public QDialog {
    Q_OBJECT

  public:
    explicit TTextDialog(const QString& caption, QWidget* parent = nullptr);
    QString text() const;

    QLineEdit* EnterText;
    QPushButton *OkButton, *CancelButton;
};
