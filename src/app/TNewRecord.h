#pragma once

#include <QDialog>

class QLineEdit;
class QPushButton;

// "New Record": asks for the names (for the duplicate warning) and/or the ZIP code (to
// fill in city and state) before a record is added. Enter moves to the next edit;
// Enter in the ZIP edit, Page Down anywhere, or leaving the first-name edit with Tab
// or Enter while the ZIP edit is hidden, accepts.
class TNewRecord : public QDialog {
    Q_OBJECT

  public:
    TNewRecord(bool askNames, bool askZip, int lastWidth, int firstWidth, int zipWidth,
               QWidget* parent = nullptr);

    QString lastName() const;
    QString firstName() const;
    QString zip() const;

    QLineEdit* LastNameEdit;
    QLineEdit* FirstNameEdit;
    QLineEdit* ZipEdit;
    QPushButton* OkButton;
    QPushButton* CancelButton;
    QPushButton* HelpButton;

  protected:
    bool eventFilter(QObject* watched, QEvent* event) override;
    void keyPressEvent(QKeyEvent* event) override;

  private:
    bool askNames_;
    bool askZip_;
};
