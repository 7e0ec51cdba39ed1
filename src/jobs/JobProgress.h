#pragma once

#include <QString>
#include <functional>

// How a long job (print, presort, import, merge, scan) ended.
enum class JobResult { Done, Cancelled, Failed };

// What a long job tells while it runs, and how it learns that it is to stop. A job is
// a plain function that takes a JobProgress&; the window's runner (JobWindow), the
// command line's runner (RunOnTerminal) and tests each supply their own.
//
// The job calls status() and gauge() as often as it likes (they must stay cheap) and
// keepGoing() between items; once keepGoing() has returned false the job ends as soon
// as it can, leaving its files whole, and reports Cancelled. Everything runs on the
// caller's thread. The base class itself is the progress of a job that nobody
// watches: it shows nothing and never stops.
class JobProgress {
  public:
    virtual ~JobProgress();

    // A status line ("Reading record 300"). CR line breaks are kept.
    virtual void status(const QString& text);
    // Percent done, 0 to 100, for a job that knows how far it is.
    virtual void gauge(int percent);
    // Lets the runner's user act (the window's events run here) and says whether the
    // job is to go on. Nothing else calls back into the job while it runs.
    virtual bool keepGoing();
};

// A long job: runs once and says how it ended. What it needs (the table, the output,
// where to put an error text) it captures.
using Job = std::function<JobResult(JobProgress&)>;
