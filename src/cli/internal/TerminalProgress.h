#pragma once

#include <iosfwd>

#include "JobProgress.h"

namespace cli {

// The command line's runner of a job: the job's status lines are drawn as one line on
// the terminal (standard error), over each other, a few times a second, and the line
// is cleared when the job ends. When standard error is not a terminal nothing is
// drawn, so that logs and tests see only the command's own messages. A command-line
// job is never stopped from here (Ctrl+C ends the process; the jobs leave their files
// whole).
class TerminalProgress : public JobProgress {
  public:
    TerminalProgress(std::ostream& err, bool terminal);
    ~TerminalProgress() override;

    void status(const QString& text) override;
    void gauge(int percent) override;

    // Whether standard error is a terminal.
    static bool stderrIsTerminal();

  private:
    void draw(bool force);

    std::ostream& err_;
    bool terminal_;
    QString status_;
    int percent_ = -1;
    long long lastDrawn_ = 0;  // milliseconds
    bool drawn_ = false;
};

// Runs `job` with a TerminalProgress on `err`.
JobResult RunOnTerminal(const Job& job, std::ostream& err);

}  // namespace cli
