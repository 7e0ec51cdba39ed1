#include "DbfImport.h"

#include <QFile>
#include <QFileInfo>

#include "BatchAppender.h"
#include "CodePage.h"
#include "ImportCopy.h"
#include "Table.h"

namespace DbfImport {

bool SameFile(const QString& a, const QString& b) {
    const QFileInfo fa(a), fb(b);
    if (!fa.exists() || !fb.exists()) return false;
    return fa.canonicalFilePath() == fb.canonicalFilePath();
}

bool OpenSource(const QString& path, const QString& addressPath, std::unique_ptr<xbase::Table>* source,
                QString* message) {
    source->reset();
    if (!addressPath.isEmpty() && SameFile(path, addressPath)) {
        *message = QStringLiteral("Cannot import a file to itself");
        return false;
    }
    std::unique_ptr<xbase::Table> t;
    if (!QFileInfo(path).isFile() ||
        !xbase::Table::open(QFile::encodeName(path).toStdString(), xbase::OpenMode::ReadOnlyShared, &t)
             .ok()) {
        *message = QStringLiteral("Unable to open the file ") + path;
        return false;
    }
    t->setDeleted(true);
    if (!t->goTop().ok() || t->eof()) {
        *message = QStringLiteral("There are no records in ") + path;
        return false;
    }
    *source = std::move(t);
    return true;
}

std::vector<SourceField> SourceFields(const xbase::Table& source) {
    std::vector<SourceField> fields;
    for (int i = 0; i < source.fieldCount(); ++i) {
        fields.push_back({QString::fromStdString(source.field(i).name), source.field(i).type});
    }
    return fields;
}

FieldMatch NewMatch(const xbase::Table& table, const xbase::Table& source) {
    return FieldMatch(ImportDestinations::Dbf(table), SourceFields(source), FieldMatch::Rules::ByType);
}

ImportReport Run(xbase::Table& table, xbase::Table& source, const FieldMatch& match, JobProgress& progress,
                 const ImportHooks& hooks) {
    std::vector<CopiedField> copied;
    const int memo = table.fieldIndex("MEMO");
    for (int row = 0; row < match.rowCount(); ++row) {
        const int from = match.sourceOf(row);
        if (from < 0) continue;
        const bool isMemo = match.sources()[size_t(from)].type == 'M';
        const int to = isMemo ? memo : match.destinations()[size_t(row)].field;
        if (to >= 0) copied.push_back({from, to, isMemo, CopiedField::MemoRule::AsItIs});
    }
    return RunCopy(table, source, progress, hooks,
                   [&](RecordCopier& copier, BatchAppender& appender, QString* reason) {
                       return copier.copy(copied, appender, reason);
                   });
}

ImportReport RunCopy(xbase::Table& table, xbase::Table& source, JobProgress& progress,
                     const ImportHooks& hooks, const FillRecord& fill) {
    return RunImport(
        table, progress, hooks, [&](BatchAppender& appender, const auto& imported, ImportReport* report) {
            progress.status(QStringLiteral("Importing records"));
            RecordCopier copier(source, table);
            QString reason;
            bool cancelled = false;
            xbase::Status s = source.setOrder(0);
            if (s.ok()) s = source.goTop();
            if (!s.ok()) reason = QString::fromStdString(s.message());
            const uint32_t count = source.recCount();
            int lastGauge = -1;
            while (reason.isEmpty() && !source.eof()) {
                appender.begin();
                if (!fill(copier, appender, &reason)) break;
                s = appender.end();
                if (s.ok()) s = source.skip(1);
                if (!s.ok()) {
                    reason = QString::fromStdString(s.message());
                    break;
                }
                const uint32_t at = source.eof() ? count : source.recNo() - 1;
                const int percent = count ? int(uint64_t(at) * 100 / count) : 100;
                if (percent != lastGauge) progress.gauge(lastGauge = percent);
                if (!progress.keepGoing()) {
                    cancelled = true;
                    break;
                }
            }
            s = appender.flush();
            if (!s.ok() && reason.isEmpty()) reason = QString::fromStdString(s.message());
            const QString n = QString::number(imported());
            if (!reason.isEmpty()) {
                // The program's own text, then the reason; and no word of completion.
                report->result = JobResult::Failed;
                report->messages << QStringLiteral("Unknown error while importing.\r\n") + reason
                                 << QStringLiteral("Import stopped after importing %1 records.").arg(n);
            } else if (cancelled) {
                report->result = JobResult::Cancelled;
                report->messages << QStringLiteral("Import cancelled after importing %1 records.").arg(n);
            } else {
                report->messages << QStringLiteral("Import complete. Imported %1 records.").arg(n);
            }
        });
}

}  // namespace DbfImport
