#pragma once

#include <gtest/gtest.h>

#include <QByteArray>
#include <QFile>
#include <QString>

#include <memory>
#include <string>
#include <vector>

#include "AddressFile.h"
#include "FieldLengths.h"
#include "Table.h"
#include "TempDir.h"

// An address file holding one record per ZIP of `zips`; a ZIP starting with "-" makes
// a deleted record of the rest. Opened exclusively in `table`, deleted records hidden.
inline bool makeZipFile(const std::string& path, const std::vector<std::string>& zips,
                        std::unique_ptr<xbase::Table>* table) {
    QString message;
    if (!AddressFile::CreateAddressFile(QString::fromStdString(path), FieldLengths(), &message)) return false;
    if (!AddressFile::OpenTableFile(QString::fromStdString(path), table, &message)) return false;
    xbase::Table& t = **table;
    const int zip = t.fieldIndex("ZIP"), isdel = t.fieldIndex("ISDEL"), lname = t.fieldIndex("LNAME");
    int n = 0;
    for (const std::string& z : zips) {
        const bool deleted = !z.empty() && z[0] == '-';
        if (!t.appendBlank().ok()) return false;
        if (!AddressFile::setText(t, zip, QString::fromStdString(deleted ? z.substr(1) : z)).ok())
            return false;
        if (!t.replace(lname, "Name" + std::to_string(++n)).ok()) return false;
        if (deleted && (!t.replaceLogical(isdel, true).ok() || !t.deleteRecord().ok())) return false;
    }
    if (!t.commit().ok()) return false;
    t.setDeleted(true);
    return t.query("!ISDEL").ok();
}

inline std::vector<std::string> repeat(const std::string& zip, int times) {
    return std::vector<std::string>(size_t(times), zip);
}

inline std::vector<std::string> operator+(std::vector<std::string> a, const std::vector<std::string>& b) {
    a.insert(a.end(), b.begin(), b.end());
    return a;
}

// A presort test's files: an address file made in `dir_` and the list it writes.
class PresortFileTest : public ::testing::Test {
  protected:
    QString out() const { return QString::fromStdString(dir_.file("PRESORT.PSL")); }
    QByteArray written() const {
        QFile f(out());
        return f.open(QIODevice::ReadOnly) ? f.readAll() : QByteArray("<missing>");
    }
    TempDir dir_;
    std::unique_ptr<xbase::Table> table_;
};
