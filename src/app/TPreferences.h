#pragma once

#include <QDialog>
#include <QMap>

#include "Preferences.h"

class QCheckBox;
class QLineEdit;
class QPushButton;
class Settings;

// "Preferences": the aids for adding records. It shows the stored values; "Ok" stores
// them all and closes, "Cancel" closes. The main window then reloads its preferences.
class TPreferences : public QDialog {
    Q_OBJECT

  public:
    explicit TPreferences(Settings& settings, QWidget* parent = nullptr);

    // The values the boxes show now.
    Preferences values() const;
    // A check box by its caption and group ("Adding", "Carry", "Skip").
    QCheckBox* box(const QString& group, const QString& caption) const;

    QLineEdit* DefaultCountryEdit;
    QPushButton* OkButton;
    QPushButton* CancelButton;
    QPushButton* HelpButton;

  private:
    void OkButtonClick();

    Settings& settings_;
    Preferences loaded_;
    QMap<QString, QCheckBox*> boxes_;  // "group/caption"
    QMap<QCheckBox*, bool Preferences::*> members_;
};
