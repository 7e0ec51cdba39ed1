#include "ZipScan.h"

#include "Table.h"

ScanResult ScanZipKeys(xbase::Table& table, const ScanProgress& progress,
                       const std::function<void(const std::string& key)>& visit, QString* error) {
    const int zip = table.fieldIndex("ZIP");
    if (zip < 0) {
        *error = QStringLiteral("The file has no ZIP field");
        return ScanResult::Failed;
    }
    const int savedOrder = table.indexOrd();
    const uint32_t savedRecord = table.recNo();
    const bool savedEof = table.eof();
    auto restore = [&] {
        (void)table.setOrder(savedOrder);
        if (!savedEof && savedRecord >= 1 && savedRecord <= table.recCount()) {
            (void)table.go(savedRecord);
        } else {
            (void)table.goBottom();
            (void)table.skip(1);
        }
    };
    auto show = [&](const QString& text) {
        if (progress.status) progress.status(text);
    };

    show(QStringLiteral("Reading database records..."));
    xbase::Status s = table.setOrder(0);
    if (s.ok()) s = table.goTop();
    while (s.ok() && !table.eof()) {
        std::string key = table.getTrimString(zip);
        if (key.size() > 5) key.resize(5);
        visit(key);
        s = table.skip(1);
        if (!s.ok()) break;
        if (!table.eof() && table.recNo() % 100 == 0)
            show(QStringLiteral("Reading record %1").arg(table.recNo()));
        if (progress.keepGoing && !progress.keepGoing()) {
            restore();
            return ScanResult::Cancelled;
        }
    }
    restore();
    if (!s.ok()) {
        *error = QString::fromStdString(s.toString());
        return ScanResult::Failed;
    }
    return ScanResult::Done;
}
