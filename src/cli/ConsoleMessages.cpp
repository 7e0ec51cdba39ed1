#include "ConsoleMessages.h"

#include <ostream>

namespace cli {

ConsoleMessages::ConsoleMessages(std::ostream& err, bool answerYes) : err_(err), answerYes_(answerYes) {}

void ConsoleMessages::write(const QString& text) {
    QString shown = text;
    shown.replace(QLatin1String("\r\n"), QLatin1String("\n"));
    shown.replace(QLatin1Char('\r'), QLatin1Char('\n'));
    err_ << "quillory: " << shown.toStdString() << "\n";
}

void ConsoleMessages::inform(const QString& text, const QString&) { write(text); }

void ConsoleMessages::warn(const QString& text, const QString&) { write(text); }

void ConsoleMessages::error(const QString& text, const QString&) { write(text); }

bool ConsoleMessages::ask(const QString& text, const QString&, Preset) {
    if (answerYes_) return true;
    write(text + QStringLiteral(" (not confirmed: give --yes to answer Yes)"));
    refused_ = true;
    return false;
}

Messages::Answer ConsoleMessages::askYesNoCancel(const QString& text, const QString& caption, Answer) {
    return ask(text, caption, Preset::Yes) ? Answer::Yes : Answer::Cancel;
}

}  // namespace cli
