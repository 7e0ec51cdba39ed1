#include "DeleteRecords.h"

#include "AddressFile.h"
#include "SavedCursor.h"
#include "Table.h"
#include "TableText.h"

namespace DeleteRecords {

QString DeletedText(uint32_t count) { return QStringLiteral("Deleted %1 records").arg(count); }

QString SelectionQuery(Choice choice, const QString& filterExpression) {
    const bool filtered = !filterExpression.trimmed().isEmpty();
    switch (choice) {
        case Choice::All:
            return QString();
        case Choice::Matching:
            return filtered ? filterExpression : QString();
        case Choice::NotMatching:
            return filtered ? QStringLiteral(".not.(") + filterExpression + QStringLiteral(")")
                            : QStringLiteral(".F.");
    }
    return QString();
}

JobResult RunDeleteRecords(xbase::Table& table, Choice choice, const QString& filterExpression,
                           JobProgress& progress, Result* result, QString* error) {
    *result = Result();
    auto failed = [&](const xbase::Status& s) {
        *error = QString::fromStdString(s.message());
        return JobResult::Failed;
    };
    const QString query = SelectionQuery(choice, filterExpression);
    std::string raw;
    xbase::Status s = TableText::encode(table.codePage(), query, &raw);
    if (!s.ok()) return failed(s);

    SavedCursor saved(table);
    // Records that carry the deletion mark are seen while this runs, as the set's count
    // tells them, but they are deleted already.
    table.setDeleted(false);
    s = table.query(raw);
    if (s.ok()) s = table.setOrder(0);
    if (!s.ok()) return failed(s);
    progress.status(kProgressText);
    progress.gauge(0);
    result->total = table.queryRecCount();
    if (query.isEmpty()) {
        s = table.zap();
        if (!s.ok()) return failed(s);
        result->deleted = result->total;
        progress.gauge(100);
        return JobResult::Done;
    }
    uint32_t done = 0;
    // The index pages the changes touch are written once, at the end.
    xbase::IndexBatch batch(table);
    s = batch.begun();
    bool cancelled = false;
    for (s = s.ok() ? table.goTop() : s; s.ok() && !table.eof(); s = table.skip(1)) {
        if (!table.deleted()) {
            s = AddressFile::DeleteRecord(table);
            if (!s.ok()) break;
            ++result->deleted;
        }
        ++done;
        if (result->total) progress.gauge(int(uint64_t(done) * 100 / result->total));
        if (!progress.keepGoing()) {
            cancelled = true;
            break;
        }
    }
    const xbase::Status written = batch.finish();
    if (s.ok()) s = written;
    if (!s.ok()) return failed(s);
    return cancelled ? JobResult::Cancelled : JobResult::Done;
}

}  // namespace DeleteRecords
