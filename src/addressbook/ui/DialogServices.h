#pragma once

#include <QObject>
#include <QString>
#include <functional>

// What the address book's windows need of the program around them beyond the message
// route (WindowMessages): its help. Without a `help` of its own a window's Help button
// opens the window's page of the manual (HelpLink); tests set `help` to record each
// request.
struct DialogServices {
    // Opens the help for the window of this class name ("TAddressFilter", ...).
    std::function<void(const QString& windowClass)> help;

    void ShowHelp(const QString& windowClass) const;
    // What the Help button of `window` does.
    std::function<void()> helpFor(const QObject* window) const;
};
