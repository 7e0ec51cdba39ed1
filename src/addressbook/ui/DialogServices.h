#pragma once

#include <QObject>
#include <QString>
#include <functional>

// What the address book's windows need of the program around them beyond the message
// route (WindowMessages): its help. The main window fills it in; tests record each
// request. Without it the windows' Help buttons are disabled.
struct DialogServices {
    // Opens the help for the window of this class name ("TAddressFilter", ...).
    std::function<void(const QString& windowClass)> help;

    bool hasHelp() const { return bool(help); }
    void ShowHelp(const QString& windowClass) const;
    // What the Help button of `window` does: the help for its class name; nothing (a
    // disabled button) without help.
    std::function<void()> helpFor(const QObject* window) const;
};
