#pragma once

#include <QString>

// Where the program's notices and questions go. There is one route per front end:
// message boxes for the windows (WindowMessages), standard error with the --yes and
// --force answers for the command line (ConsoleMessages), and scripted answers in the
// tests. Logic that has to ask or inform takes a Messages& and never shows a box.
//
// Texts keep the program's CR LF line breaks; each route shows them as line breaks.
class Messages {
  public:
    // Which answer a question gives when the user just presses Enter.
    enum class Preset { Yes, No };
    // The answers of a Yes/No/Cancel question.
    enum class Answer { Yes, No, Cancel };

    virtual ~Messages();

    // A notice with an OK button and the information icon.
    virtual void inform(const QString& text, const QString& caption = QStringLiteral("Information")) = 0;
    // A notice with an OK button and the warning icon.
    virtual void warn(const QString& text, const QString& caption = QStringLiteral("Warning")) = 0;
    // An error: something the user asked for was not done.
    virtual void error(const QString& text, const QString& caption = QStringLiteral("Quillory")) = 0;
    // A Yes/No question; true for Yes.
    virtual bool ask(const QString& text, const QString& caption, Preset preset = Preset::Yes) = 0;
    // A Yes/No/Cancel question, such as whether to save a changed design before closing
    // it; closing the question counts as Cancel. `preset` is the answer Enter gives.
    // A route without a three-way question of its own asks Yes/No and never answers
    // Cancel.
    virtual Answer askYesNoCancel(const QString& text, const QString& caption, Answer preset = Answer::Yes);
    // The system's beep, for a refused key or button.
    virtual void beep();
};
