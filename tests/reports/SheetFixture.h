#pragma once

#include <QString>
#include <QStringList>
#include <map>
#include <memory>
#include <string>
#include <vector>

#include "AddressFile.h"
#include "FieldLengths.h"
#include "Table.h"

// An address file with one record per entry (field name to value, DATE as YYYYMMDD,
// MEMO its text), left open in `table` with deleted records hidden and the cursor on
// the first record.
using SheetRecord = std::map<std::string, QString>;
inline bool makeSheetFile(const std::string& path, const std::vector<SheetRecord>& records,
                          std::unique_ptr<xbase::Table>* table) {
    QString message;
    if (!AddressFile::CreateAddressFile(QString::fromStdString(path), FieldLengths(), &message)) return false;
    if (!AddressFile::OpenTableFile(QString::fromStdString(path), table, &message)) return false;
    xbase::Table& t = **table;
    for (const SheetRecord& r : records) {
        if (!t.appendBlank().ok()) return false;
        for (const auto& [field, value] : r)
            if (!AddressFile::setText(t, t.fieldIndex(field), value).ok()) return false;
        if (!t.commit().ok()) return false;
    }
    t.setDeleted(true);
    return t.query("!ISDEL").ok() && t.goTop().ok();
}

// Paragraphs "Memo line 1" to "Memo line n", CR LF between them.
inline QString memoOfLines(int n) {
    QStringList lines;
    for (int i = 1; i <= n; ++i) lines << QString("Memo line %1").arg(i);
    return lines.join("\r\n");
}
