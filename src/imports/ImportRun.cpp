#include "ImportRun.h"

#include "AddressFile.h"
#include "BatchAppender.h"
#include "Table.h"

namespace {

// The import's gauge while the tags are built: the rises of each tag's percentage
// against 1800.
constexpr int kRebuildFullTotal = 1800;

}  // namespace

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
