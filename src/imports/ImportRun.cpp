#include "ImportRun.h"

#include "AddressFile.h"
#include "BatchAppender.h"
#include "Table.h"

namespace {

// The import's gauge while the tags are built: the rises of each tag's percentage
// against 1800.
constexpr int kRebuildFullTotal = 1800;

QString withReason(const QString& message, const QString& reason) {
    return reason.isEmpty() ? message : message + QStringLiteral("\r\n") + reason;
}

}  // namespace

void ReportImportEnd(ImportReport* report, ImportStop stop, uint32_t imported, const QString& source,
                     const QString& reason) {
    const QString n = QString::number(imported);
    switch (stop) {
        case ImportStop::None:
            report->result = JobResult::Done;
            report->messages << QStringLiteral("Import complete. Imported %1 records.").arg(n);
            break;
        case ImportStop::Cancelled:
            report->result = JobResult::Cancelled;
            report->messages << QStringLiteral("Import cancelled after importing %1 records.").arg(n);
            break;
        case ImportStop::Read:
            report->result = JobResult::Failed;
            report->messages << withReason(
                QStringLiteral("Unknown error reading %1 after importing %2 records.").arg(source, n), reason);
            break;
        case ImportStop::Bad:
            report->result = JobResult::Failed;
            report->messages << withReason(
                QStringLiteral("Import stopped at a bad card after importing %1 records.").arg(n), reason);
            break;
        case ImportStop::Write:
            report->result = JobResult::Failed;
            report->messages << withReason(
                QStringLiteral("Unknown error writing to data file after importing %1 records.").arg(n), reason);
            break;
    }
}

ImportReport RunImport(xbase::Table& table, JobProgress& progress, const ImportHooks& hooks,
                       const ImportLoop& loop) {
    ImportReport report;
    const uint32_t before = table.recCount();
    if (AddressFile::DropIndexFile(table)) {
        BatchAppender appender(table);
        const auto imported = [&] { return table.recCount() - before; };
        loop(appender, imported, &report);
        report.imported = imported();
    } else {
        report.result = JobResult::Failed;
        report.messages << QStringLiteral("Unable to create index files");
    }
    if (hooks.reported) hooks.reported(report);

    progress.status(QStringLiteral("Rebuilding Indexes "));
    progress.gauge(0);
    if (hooks.rebuilding) hooks.rebuilding();
    AddressFile::ReindexGauge gauge(kRebuildFullTotal);
    QString message;
    const bool rebuilt = AddressFile::CreateAddressTags(table, &message, [&](int percent) {
        gauge.tagProgress(percent);
        progress.gauge(gauge.value());
        (void)progress.keepGoing();
    });
    if (!rebuilt) report.rebuildError = message;
    return report;
}
