#include "PrintJob.h"

#include "PageRequest.h"

#include "ReportJob.h"
#include "SavedCursor.h"
#include "TBaseReport.h"

#include <cmath>
#include <cstdlib>
#include <utility>

bool PageRequest::matches(double pageWidth, double pageHeight) const {
    if (landscape) std::swap(pageWidth, pageHeight);
    // Compared in whole hundredths, so that 0.05 itself passes whatever the rounding.
    const auto hundredths = [](double inches) { return std::lround(inches * 100); };
    return std::abs(hundredths(pageWidth) - hundredths(width)) <= 5 &&
           std::abs(hundredths(pageHeight) - hundredths(height)) <= 5;
}

PrintJob::PrintJob() = default;
PrintJob::~PrintJob() = default;

void PrintJob::saveCursor(xbase::Table& table) {
    saved_.reset();  // a job selected twice puts the table back first
    saved_ = std::make_unique<SavedCursor>(table);
}

QString Counted(int count, const QString& one, const QString& many) {
    return QString::number(count) + " " + (count == 1 ? one : many);
}

JobResult RunPrintJob(PrintJob& job, TBaseReport& report, JobProgress& progress, Messages& messages,
                      QString* error) {
    if (const JobResult selected = job.select(progress, messages, error); selected != JobResult::Done)
        return selected;
    job.setUp(report);
    return RunReportJob(report, progress, [&job](TBaseReport& r) { job.printPages(r); }, error, job.completed());
}
