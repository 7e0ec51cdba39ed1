#include "VCardImport.h"

#include <QHash>

#include "BatchAppender.h"
#include "CodePage.h"
#include "Table.h"

namespace {

// Skipped cards named one by one in the report, at most this many.
constexpr int kNamedSkips = 50;

}  // namespace

ImportReport RunVCardImport(xbase::Table& table, const VCardImportSetup& setup, JobProgress& progress,
                            const ImportHooks& hooks) {
    const xbase::CodePage& codePage = table.codePage();
    return RunImport(
        table, progress, hooks, [&](BatchAppender& appender, const auto& imported, ImportReport* report) {
            ImportStop stop = ImportStop::None;
            QString reason;
            QStringList skipped;
            int skippedCount = 0;
            VCard::Reader reader;
            if (!reader.open(setup.path, &reason)) stop = ImportStop::Read;
            if (stop == ImportStop::None) progress.status(QStringLiteral("Importing records"));
            VCardContact contact;
            std::string raw;
            QHash<QString, int> fieldIndexes;  // by name, looked up once
            int lastGauge = -1;
            while (stop == ImportStop::None) {
                const VCard::Reader::Result r = reader.next(&contact);
                if (r == VCard::Reader::Result::End) break;
                if (r == VCard::Reader::Result::Failed) {
                    stop = ImportStop::Read;
                    reason = reader.problem();
                    break;
                }
                if (r == VCard::Reader::Result::Bad) {
                    if (setup.stopAtBadCard) {
                        stop = ImportStop::Bad;
                        reason = reader.problem();
                        break;
                    }
                    if (++skippedCount <= kNamedSkips) skipped << reader.problem();
                    continue;
                }
                appender.begin();
                xbase::Status s;
                for (const auto& [name, value] : VCardRecord::Fields(contact, setup.choices)) {
                    auto known = fieldIndexes.constFind(name);
                    if (known == fieldIndexes.constEnd()) {
                        known = fieldIndexes.insert(name, table.fieldIndex(name.toStdString()));
                    }
                    const int field = *known;
                    if (field < 0) continue;
                    s = codePage.fromUtf8(value.toStdString(), &raw);
                    if (!s.ok()) {
                        reason = QStringLiteral("The card of line %1, %2: %3")
                                     .arg(contact.line)
                                     .arg(name, QString::fromStdString(s.message()));
                        break;
                    }
                    s = appender.put(field, raw);
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
                    stop = ImportStop::Write;
                    break;
                }
                const qint64 size = reader.size();
                const int percent = size > 0 ? int(reader.position() * 100 / size) : 100;
                if (percent != lastGauge) progress.gauge(lastGauge = percent);
                if (!progress.keepGoing()) stop = ImportStop::Cancelled;
            }
            const xbase::Status flushed = appender.flush();
            if (!flushed.ok() && (stop == ImportStop::None || stop == ImportStop::Cancelled)) {
                stop = ImportStop::Write;
                reason = QString::fromStdString(flushed.message());
            }
            ReportImportEnd(report, stop, imported(), QStringLiteral("vCard file"), reason);
            if (skippedCount > 0) {
                QString list = QStringLiteral("Skipped %1 cards:").arg(skippedCount);
                for (const QString& s : skipped) list += QStringLiteral("\r\n") + s;
                if (skippedCount > kNamedSkips) list += QStringLiteral("\r\n...");
                report->messages << list;
            }
        });
}
