#pragma once

#include <QString>

#include "JobProgress.h"
#include "PrintJob.h"
#include "RecordChoice.h"

class Messages;
class TAddressDataSet;
class TBaseReport;
struct TReportSettings;
namespace layout {
class LayoutFile;
}
namespace xbase {
class Table;
}

// Printing a user-defined report: page after page, the header band at the top and the
// footer band at the bottom of every page, and for each record its detail band and the
// memo band with the record's memo text flowing over pages, each band in its frame and
// shading.
namespace UserReport {

using Records = RecordChoice::Records;

// Reports leave out the records flagged deleted and those whose PREFIX reads DELETED.
constexpr DeletedPolicy kDeleted = DeletedPolicy::FlaggedOrPrefix;

// The report's records (the filter's at first) and its pages.
struct Choice : RecordChoice {
    Choice() : RecordChoice(Records::Filter) {}
    bool onePerPage = false;  // "One Record Per Page"
};

// The printer's paper for the report's page: Letter or A4 in the page's orientation;
// a page of neither prints on a paper of its own size, portrait.
PageRequest PaperOf(const TReportSettings& settings);

// The run's first steps: the selection and its first record (the current one when asked
// and in the selection). False with `error` set when nothing can be printed. The caller
// puts the table's query, order and record back (SavedCursor).
bool SelectRecords(xbase::Table& table, const Choice& choice, Messages& messages, QString* error);

// The job's OnPrint: the pages of `layout` (a report's bands bound to `table` for
// printing) from the table's current record to the end of the selection, or until the
// job is halted. `printed` counts the records. A band taller than the page still
// prints, one a page, so the job always advances.
void PrintTheReport(TBaseReport& report, xbase::Table& table, layout::LayoutFile& layout, bool onePerPage,
                    int* printed);

// The whole job inside `report`: the selection, the pages, and the table's query, order
// and record put back however it ends. `layout` must be bound to `table` for printing.
JobResult PrintUserReport(xbase::Table& table, layout::LayoutFile& layout, const Choice& choice,
                          TBaseReport& report, JobProgress& progress, Messages& messages, QString* error,
                          int* printed = nullptr);

// A user-defined report as a job: SelectRecords, then PrintTheReport on the paper of
// the report's page. `layout` must be bound to `table` for printing.
class UserReportJob : public PrintJob {
  public:
    UserReportJob(xbase::Table& table, layout::LayoutFile& layout, const Choice& choice)
        : table_(table), layout_(layout), choice_(choice) {}

    JobResult select(JobProgress& progress, Messages& messages, QString* error) override;
    PageRequest pageRequest() const override;
    void setUp(TBaseReport& report) override;
    void printPages(TBaseReport& report) override;
    QString counts() const override;
    int printed() const { return printed_; }

  private:
    xbase::Table& table_;
    layout::LayoutFile& layout_;
    Choice choice_;
    int printed_ = 0;
};

}  // namespace UserReport
