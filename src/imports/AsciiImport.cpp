#include "AsciiImport.h"

#include "CsvReader.h"
#include "BatchAppender.h"
#include "CodePage.h"
#include "Table.h"

namespace {

QString withReason(const QString& message, const QString& reason) {
    return reason.isEmpty() ? message : message + QStringLiteral("\r\n") + reason;
}

// A matched field: the source field's position and the address field it fills.
struct Column {
    int source;
    int field;
    QString label;
};

}  // namespace

ImportReport RunAsciiImport(xbase::Table& table, const AsciiImportSetup& setup, JobProgress& progress,
                            const ImportHooks& hooks) {
    std::vector<Column> columns;
    for (int row = 0; row < setup.match.rowCount(); ++row) {
        const int source = setup.match.sourceOf(row);
        if (source >= 0 && source < setup.fieldCount) {
            const Destination& d = setup.match.destinations()[size_t(row)];
            columns.push_back({source, d.field, d.label});
        }
    }
    const xbase::CodePage& codePage = table.codePage();

    return RunImport(
        table, progress, hooks, [&](BatchAppender& appender, const auto& imported, ImportReport* report) {
            enum class Stop { None, Cancelled, Read, Write } stop = Stop::None;
            QString reason;

            progress.status(QStringLiteral("Counting total lines"));
            uint64_t total = 0;
            CsvReader file;
            if (!AsciiFile::countLines(setup.path, &total, &reason) ||
                !file.open(setup.path, setup.encoding, setup.dialect, &reason)) {
                stop = Stop::Read;
            }
            if (stop == Stop::None) progress.status(QStringLiteral("Importing records"));

            std::string raw;
            std::vector<std::string> fields;
            AsciiFile::Problem problem;
            uint64_t lines = 0;
            int lastGauge = -1;
            while (stop == Stop::None) {
                const AsciiFile::Result r = file.next(&fields, &problem);
                if (r == AsciiFile::Result::End) break;
                if (r == AsciiFile::Result::Failed) {
                    stop = Stop::Read;
                    reason = file.errorText();
                    break;
                }
                ++lines;
                if (lines == 1 && setup.firstLineNames) continue;
                if (problem != AsciiFile::Problem::None) {
                    stop = Stop::Read;
                    reason = file.problemText(problem);
                    break;
                }
                appender.begin();
                xbase::Status s;
                for (const Column& c : columns) {
                    if (size_t(c.source) >= fields.size() || fields[size_t(c.source)].empty()) continue;
                    const std::string& value = fields[size_t(c.source)];
                    s = codePage.fromUtf8(value, &raw);
                    if (!s.ok()) {
                        reason = QStringLiteral("Line %1, Field %2 (%3): %4")
                                     .arg(file.recordLine())
                                     .arg(c.source + 1)
                                     .arg(c.label, QString::fromStdString(s.message()));
                        break;
                    }
                    s = appender.put(c.field, raw);
                    if (!s.ok()) {
                        reason = QString::fromStdString(s.message());
                        break;
                    }
                }
                if (s.ok()) {
                    s = appender.end();
                    if (!s.ok()) reason = QString::fromStdString(s.message());
                }
                if (!s.ok()) {
                    stop = Stop::Write;
                    break;
                }
                // Lines read, not records: a record may span several lines.
                const uint64_t done = file.lineNumber() - (setup.firstLineNames ? 1 : 0);
                const int percent = total ? int(done * 100 / total) : 100;
                if (percent != lastGauge) progress.gauge(lastGauge = percent);
                if (!progress.keepGoing()) stop = Stop::Cancelled;
            }
            const xbase::Status flushed = appender.flush();
            if (!flushed.ok() && (stop == Stop::None || stop == Stop::Cancelled)) {
                stop = Stop::Write;
                reason = QString::fromStdString(flushed.message());
            }

            const QString n = QString::number(imported());
            switch (stop) {
                case Stop::None:
                    report->result = JobResult::Done;
                    report->messages << QStringLiteral("Import complete. Imported %1 records.").arg(n);
                    break;
                case Stop::Cancelled:
                    report->result = JobResult::Cancelled;
                    report->messages << QStringLiteral("Import cancelled after importing %1 records.").arg(n);
                    break;
                case Stop::Read:
                    report->result = JobResult::Failed;
                    report->messages << withReason(
                        QStringLiteral("Unknown error reading ASCII file after importing %1 records.").arg(n),
                        reason);
                    break;
                case Stop::Write:
                    report->result = JobResult::Failed;
                    report->messages << withReason(
                        QStringLiteral("Unknown error writing to data file after importing %1 records.")
                            .arg(n),
                        reason);
                    break;
            }
        });
}
