#pragma once

#include <iosfwd>

#include "Messages.h"

namespace cli {

// The command line's message route. Notices and errors go to standard error as
// "quillory: text", each CR LF or lone CR of the text a line break. A question that a
// window would ask takes the answer that the command's --yes (or --force) gave;
// without one it is answered No, its text is written with a hint, and refused() tells
// the command to exit with kFailed.
class ConsoleMessages : public Messages {
  public:
    ConsoleMessages(std::ostream& err, bool answerYes);

    void inform(const QString& text, const QString& caption) override;
    void warn(const QString& text, const QString& caption) override;
    void error(const QString& text, const QString& caption) override;
    bool ask(const QString& text, const QString& caption, Preset preset) override;
    // --yes answers Yes; without it the question is refused as ask() refuses it, and
    // the answer is Cancel, which leaves everything as it was.
    Answer askYesNoCancel(const QString& text, const QString& caption, Answer preset) override;

    // Whether a question went unanswered for want of --yes.
    bool refused() const { return refused_; }

  private:
    void write(const QString& text);

    std::ostream& err_;
    bool answerYes_;
    bool refused_ = false;
};

}  // namespace cli
