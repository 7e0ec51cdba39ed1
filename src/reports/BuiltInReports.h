#pragma once

#include <QString>

#include "JobProgress.h"
#include "PrintJob.h"
#include "RecordChoice.h"

class Messages;
class TBaseReport;
namespace xbase {
class Table;
}

// The four built-in address listings: fixed columns drawn with the print engine's text
// and rules, a page header with title, page number and date, and the record's codes
// and memo under it when asked for.
namespace BuiltInReports {

// The text of one address record that the cells are made of (fields as stored, trailing
// blanks removed).
struct Record {
    QString lname, fname, middle, prefix, title, org, street, city, state, zip, country, phone, fax, email, date;
};

// Reports 1 to 3's name: "Smith, John Q." (an empty last name keeps ", " in front).
QString NameCell(const Record& r);
// "Springfield, IL  62701 ": city, state and ZIP with their separators; empty when all
// three are.
QString CityStZipCell(const Record& r);
// Report 4's lines.
QString LongName(const Record& r);       // "Smith, Dr. John Q."
QString TitleAndOrg(const Record& r);    // "Manager, Acme"; the organisation alone; a title alone: nothing
QString CityLine(const Record& r);       // "Springfield, IL, 62701"
QString PhoneAndFax(const Record& r);    // "Ph: 555-1234  Fax: 555-9876  "

using Records = RecordChoice::Records;

// Reports leave out the records flagged deleted and those whose PREFIX reads DELETED.
constexpr DeletedPolicy kDeleted = DeletedPolicy::FlaggedOrPrefix;

// The listing and what it shows, and its records (all of them at first).
struct Choice : RecordChoice {
    Choice() : RecordChoice(Records::All) {}
    int report = 1;  // 1 to 4
    QString title = QStringLiteral("Report 1");
    bool memo = false;
    bool codes = false;
};

// The listing's first steps: the report's order, the selection, and the first record:
// the current one when asked and in the selection, else the first (softly at "0" for
// reports 1 to 3). False with `error` set when nothing can be printed. The caller puts
// the table's query, order and record back (SavedCursor).
bool SelectRecords(xbase::Table& table, const Choice& choice, Messages& messages, QString* error);
// The pages, from the current record to the end of the selection or until the job is
// halted: the job's OnPrint. `printed` counts the records.
void PrintRows(TBaseReport& report, xbase::Table& table, const Choice& choice, int* printed);

// The whole listing inside `report`: the report's order, the selection, the soft start
// at "0" for reports 1 to 3 when the run starts at the first record, and the rows page
// after page. The table's query, order and record are put back however the job ends.
// `rows` counts the records printed.
JobResult PrintBuiltIn(xbase::Table& table, const Choice& choice, TBaseReport& report, JobProgress& progress,
                       Messages& messages, QString* error, int* rows = nullptr);

// A built-in listing as a job: SelectRecords, then PrintRows, on the printer's paper.
class ListingJob : public PrintJob {
  public:
    ListingJob(xbase::Table& table, const Choice& choice) : table_(table), choice_(choice) {}

    JobResult select(JobProgress& progress, Messages& messages, QString* error) override;
    void setUp(TBaseReport& report) override;
    void printPages(TBaseReport& report) override;
    QString counts() const override;
    int rows() const { return rows_; }

  private:
    xbase::Table& table_;
    Choice choice_;
    int rows_ = 0;
};

}  // namespace BuiltInReports
