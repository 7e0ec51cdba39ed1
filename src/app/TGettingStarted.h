#pragma once

#include <QDialog>

class QCheckBox;
class QPushButton;
class QTextBrowser;
class Settings;

// The Getting Started screen: a page whose links open help topics, "Ok", and the box
// "Do not show this screen at start up", which is stored when the screen closes.
class TGettingStarted : public QDialog {
    Q_OBJECT

  public:
    TGettingStarted(Settings& settings, QWidget* parent = nullptr);

    QTextBrowser* Page;
    QCheckBox* DontShowCheckBox;
    QPushButton* OkButton;

  protected:
    void done(int result) override;

  private:
    Settings& settings_;
};
