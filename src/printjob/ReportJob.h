#pragma once

#include <QString>
#include <functional>

#include "JobProgress.h"

class TBaseReport;

// Runs `report` as a job: `pages` is its OnPrint, `progress` watches it (a "no" from
// keepGoing aborts the report, and a PDF begun is removed), and the report's handlers
// are let go afterwards. Done, with `completed` shown as the last status when it is
// given; Cancelled when the job was halted; Failed with the report's error in `error`
// when the output could not start or broke off.
JobResult RunReportJob(TBaseReport& report, JobProgress& progress, const std::function<void(TBaseReport&)>& pages,
                       QString* error, const QString& completed = QString());
