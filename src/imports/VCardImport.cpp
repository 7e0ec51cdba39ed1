#include "VCardImport.h"

#include <QHash>

#include "BatchAppender.h"
#include "CodePage.h"
#include "Table.h"

namespace {

// Skipped cards named one by one in the report, at most this many.
constexpr int kNamedSkips = 50;

QString withReason(const QString& message, const QString& reason) {
    return reason.isEmpty() ? message : message + QStringLiteral("\r\n") + reason;
}

}  // namespace

ImportReport RunVCardImport(xbase::Table& table, const VCardImportSetup& setup, JobProgress& progress,
                            const ImportHooks& hooks) {
    const xbase::CodePage& codePage = table.codePage();
    return RunImport(
        table, progress, hooks, [&](BatchAppender& appender, const auto& imported, ImportReport* report) {
            enum class Stop { None, Cancelled, Read, Bad, Write } stop = Stop::None;
            QString reason;
            QStringList skipped;
            int skippedCount = 0;
            VCard::Reader reader;
            if (!reader.open(setup.path, &reason)) stop = Stop::Read;
            if (stop == Stop::None) progress.status(QStringLiteral("Importing records"));
            VCardContact contact;
            std::string raw;
            QHash<QString, int> fieldIndexes;  // by name, looked up once
            int lastGauge = -1;
            while (stop == Stop::None) {
                const VCard::Reader::Result r = reader.next(&contact);
                if (r == VCard::Reader::Result::End) break;
                if (r == VCard::Reader::Result::Failed) {
                    stop = Stop::Read;
                    reason = reader.problem();
                    break;
                }
                if (r == VCard::Reader::Result::Bad) {
                    if (setup.stopAtBadCard) {
                        stop = Stop::Bad;
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
                    stop = Stop::Write;
                    break;
                }
                const qint64 size = reader.size();
                const int percent = size > 0 ? int(reader.position() * 100 / size) : 100;
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
                        QStringLiteral("Unknown error reading vCard file after importing %1 records.").arg(n),
                        reason);
                    break;
                case Stop::Bad:
                    report->result = JobResult::Failed;
                    report->messages << withReason(
                        QStringLiteral("Import stopped at a bad card after importing %1 records.").arg(n), reason);
                    break;
                case Stop::Write:
                    report->result = JobResult::Failed;
                    report->messages << withReason(
                        QStringLiteral("Unknown error writing to data file after importing %1 records.").arg(n),
                        reason);
                    break;
            }
            if (skippedCount > 0) {
                QString list = QStringLiteral("Skipped %1 cards:").arg(skippedCount);
                for (const QString& s : skipped) list += QStringLiteral("\r\n") + s;
                if (skippedCount > kNamedSkips) list += QStringLiteral("\r\n...");
                report->messages << list;
            }
        });
}
