#pragma once

#include <QString>
#include <functional>

class QWidget;

// The program's message boxes. Every question and notice of the windows goes through
// these functions, so that tests can answer them: setAsker() replaces the boxes with
// a function that receives each request and returns the answer.
namespace MessageBoxes {

enum class Kind {
    Information,     // OK, the information icon, caption "Information"
    YesNo,           // Yes and No, Yes the default
    YesNoDefaultNo,  // Yes and No, No the default
    Error,           // OK, the warning icon
};

struct Request {
    Kind kind;
    QString text;
    QString caption;
};

// Returns true for Yes (and for OK).
using Asker = std::function<bool(const Request&)>;

// Replaces the boxes (nullptr: the real boxes again). Returns the previous asker.
Asker setAsker(Asker asker);

}  // namespace MessageBoxes

// Texts keep their CR LF line breaks; the boxes show them as line breaks.
void ShowInformation(const QString& text, QWidget* parent = nullptr);
bool AskYesNo(const QString& text, const QString& caption, QWidget* parent = nullptr);
bool AskYesNoDefaultNo(const QString& text, const QString& caption, QWidget* parent = nullptr);
void ShowError(const QString& text, const QString& caption = "Quillory", QWidget* parent = nullptr);

// The system's beep; tests count them.
void Beep();
int BeepCount();

// The one notice of commands whose windows are not built yet.
void NotAvailableYet(QWidget* parent = nullptr);
