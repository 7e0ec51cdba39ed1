#pragma once

#include <QString>
#include <memory>

#include "JobProgress.h"
#include "PageRequest.h"

class Messages;
class SavedCursor;
class TBaseReport;
namespace xbase {
class Table;
}

// One print job, whatever prints it: the print screens build one from the choices they
// collect and run it in the print-status window (TPrintStatus); the print commands
// build the same object from their options and run it on the terminal (RunPrintJob).
// The order is always: select(), then the printer is given pageRequest(), then the
// report runs with setUp() before it and printPages() as its OnPrint; counts() and
// notice() tell the outcome.
class PrintJob {
  public:
    PrintJob();
    virtual ~PrintJob();
    PrintJob(const PrintJob&) = delete;
    PrintJob& operator=(const PrintJob&) = delete;

    // Everything before the pages: the selection and what else the job prepares.
    // Anything but Done means no pages; Failed with `error` set (empty when the user
    // was told already). The table the job prints keeps its query, order and record
    // for the job and gets them back when the job object goes.
    virtual JobResult select(JobProgress& progress, Messages& messages, QString* error) = 0;
    // The paper the job needs; the printer's own by default.
    virtual PageRequest pageRequest() const { return {}; }
    // The report's own settings before it runs: title, orientation, margins.
    virtual void setUp(TBaseReport& report) { (void)report; }
    // The pages: the OnPrint of the running report.
    virtual void printPages(TBaseReport& report) = 0;
    // What was printed, for the status line and the command's report: "12 labels".
    virtual QString counts() const = 0;
    // What the user is told once the job has ended (addresses cut); empty for nothing.
    virtual QString notice() const { return {}; }
    // The status shown when the job is done ("Label Print Completed!"); may be empty.
    virtual QString completed() const { return {}; }

  protected:
    // Keeps `table`'s query, order and record until the job object goes (select()
    // calls it before it changes the selection).
    void saveCursor(xbase::Table& table);

  private:
    std::unique_ptr<SavedCursor> saved_;
};

// "1 label", "12 labels": a count with its noun.
QString Counted(int count, const QString& one, const QString& many);

// The command line's runner (and the tests'): select(), then the pages inside
// `report` as a report job (RunReportJob), watched by `progress`. The page request is
// the caller's to give the printer before. The result as RunReportJob's.
JobResult RunPrintJob(PrintJob& job, TBaseReport& report, JobProgress& progress, Messages& messages,
                      QString* error);
