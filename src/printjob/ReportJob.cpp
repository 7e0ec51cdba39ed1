#include "ReportJob.h"

#include "TBaseReport.h"

JobResult RunReportJob(TBaseReport& report, JobProgress& progress, const std::function<void(TBaseReport&)>& pages,
                       QString* error, const QString& completed) {
    report.setProgress(&progress, TBaseReport::OnHalt::Abort);
    report.OnPrint = pages;
    const bool ok = report.execute();
    report.OnPrint = nullptr;
    report.setProgress(nullptr);
    if (!ok && !report.lastError().isEmpty()) {
        *error = report.lastError();
        return JobResult::Failed;
    }
    if (!ok) return JobResult::Cancelled;
    if (!completed.isEmpty()) progress.status(completed);
    return JobResult::Done;
}
