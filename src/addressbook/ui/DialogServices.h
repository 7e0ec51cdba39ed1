#pragma once

#include <QString>
#include <functional>

class QWidget;

// What the address book's windows need of the program around them: its message boxes,
// its beep and its help. The main window fills these in with its shared routines; tests
// fill them in with functions that record each request and answer it at once. A member
// left empty falls back to a plain message box, the system beep, and no help.
struct DialogServices {
    // An information box (caption "Information", OK).
    std::function<void(const QString& text)> inform;
    // A Yes/No question with Yes the default; true for Yes.
    std::function<bool(const QString& text, const QString& caption)> askYesNo;
    // The same with No the default.
    std::function<bool(const QString& text, const QString& caption)> askYesNoDefaultNo;
    std::function<void()> beep;
    // Opens the help for the window of this class name ("TAddressFilter", ...).
    std::function<void(const QString& windowClass)> help;

    void ShowInformation(const QString& text, QWidget* parent) const;
    bool AskYesNo(const QString& text, const QString& caption, QWidget* parent) const;
    bool AskYesNoDefaultNo(const QString& text, const QString& caption, QWidget* parent) const;
    void Beep() const;
    bool hasHelp() const { return bool(help); }
    void ShowHelp(const QString& windowClass) const;
};
