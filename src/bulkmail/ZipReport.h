#pragma once

#include <QStringList>

#include "PrintJob.h"

class TBaseReport;

// The ZIP code count report: the count's lines in four columns per page, portrait,
// Arial 10 pt. Each page has "Zip Code Count Report" in bold above the printing area,
// "Page " + number below it and a box around the area divided into four columns of
// 1.875 in; each line is one row of three tab stops (key, count, empty) and the rows of
// a column are shaded 5% grey alternately, starting with the first.
namespace ZipReport {

inline constexpr double kColumnWidth = 1.875;
inline constexpr double kTabWidth = 0.625;
inline constexpr int kColumns = 4;

// Sets the job's title ("Quillory"), portrait orientation and margins (0.5 in left and
// right, 1 in top and bottom). Call before execute().
void SetUp(TBaseReport& report);

// The job's OnPrint: prints `lines`, updating the status after every row, until done
// or the job is aborted or stopped.
void Print(TBaseReport& report, const QStringList& lines);

// The report of a count's lines as a job: nothing to select, SetUp and Print.
class ZipCountJob : public PrintJob {
  public:
    explicit ZipCountJob(QStringList lines) : lines_(std::move(lines)) {}

    JobResult select(JobProgress&, Messages&, QString*) override { return JobResult::Done; }
    void setUp(TBaseReport& report) override { SetUp(report); }
    void printPages(TBaseReport& report) override { Print(report, lines_); }
    QString counts() const override { return Counted(int(lines_.size()), "report line", "report lines"); }

  private:
    QStringList lines_;
};

}  // namespace ZipReport
