#pragma once

#include <QDialog>
#include <QString>

#include "DialogServices.h"

class QLineEdit;
class QPushButton;
class QRadioButton;
class Settings;

// "Dial Phone Number": the modem initialisation string, the dial prefix, the number,
// the port (COM 1 to COM 4) and the method (tone, pulse). On its first showing it
// loads the "Dialing" settings; "Dial" stores them and dials (TDialer), the window
// staying open; "Cancel" closes it.
class TQYDialer : public QDialog {
    Q_OBJECT

  public:
    TQYDialer(Settings& settings, const QString& number, DialogServices services = {},
              QWidget* parent = nullptr);

    // The device dialed instead of the port's own (a test's pseudo-terminal).
    void setDevicePath(const QString& path) { devicePath_ = path; }
    // The pause after the initialisation string, in milliseconds (1500).
    void setInitPause(int milliseconds) { initPause_ = milliseconds; }
    bool dialing() const { return dialing_; }

    QLineEdit* InitEdit;
    QLineEdit* PrefixEdit;
    QLineEdit* NumberEdit;
    QRadioButton* PortRadios[4];
    QRadioButton* ToneRadio;
    QRadioButton* PulseRadio;
    QPushButton* DialButton;
    QPushButton* CancelButton;
    QPushButton* HelpButton;

  public slots:
    void DialButtonClick();
    void done(int result) override;

  protected:
    void showEvent(QShowEvent* event) override;

  private:
    void FormActivate();

    Settings& settings_;
    DialogServices services_;
    QString devicePath_;
    int initPause_ = 1500;
    bool activated_ = false;
    bool dialing_ = false;
};
