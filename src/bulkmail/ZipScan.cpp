#include "ZipScan.h"

#include "SavedCursor.h"
#include "Table.h"

JobResult ScanZipKeys(xbase::Table& table, JobProgress& progress,
                      const std::function<void(const std::string& key)>& visit, QString* error) {
    const int zip = table.fieldIndex("ZIP");
    if (zip < 0) {
        *error = QStringLiteral("The file has no ZIP field");
        return JobResult::Failed;
    }
    SavedCursor saved(table);
    progress.status(QStringLiteral("Reading database records..."));
    xbase::Status s = table.setOrder(0);
    if (s.ok()) s = table.goTop();
    while (s.ok() && !table.eof()) {
        std::string key = table.getTrimString(zip);
        if (key.size() > 5) key.resize(5);
        visit(key);
        s = table.skip(1);
        if (!s.ok()) break;
        if (!table.eof() && table.recNo() % 100 == 0)
            progress.status(QStringLiteral("Reading record %1").arg(table.recNo()));
        if (!progress.keepGoing()) return JobResult::Cancelled;
    }
    if (!s.ok()) {
        *error = QString::fromStdString(s.toString());
        return JobResult::Failed;
    }
    return JobResult::Done;
}
