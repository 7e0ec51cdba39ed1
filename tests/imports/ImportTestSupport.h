#pragma once

#include <gtest/gtest.h>

#include <QByteArray>
#include <QFile>
#include <QMap>
#include <QString>
#include <initializer_list>
#include <memory>
#include <utility>
#include <vector>

#include "AddressFile.h"
#include "FieldLengths.h"
#include "Table.h"
#include "TableText.h"
#include "TempDir.h"

// Texts in test failures as text.
inline void PrintTo(const QString& s, std::ostream* os) { *os << '"' << s.toStdString() << '"'; }
inline void PrintTo(const QByteArray& s, std::ostream* os) { *os << '"' << s.toStdString() << '"'; }

// A record as text by field name: the memo too, and "*" set to "*" when the record
// carries the deletion mark.
using Record = QMap<QString, QString>;

inline void writeFile(const QString& path, const QByteArray& bytes) {
    QFile f(path);
    ASSERT_TRUE(f.open(QIODevice::WriteOnly | QIODevice::Truncate)) << path.toStdString();
    ASSERT_EQ(f.write(bytes), bytes.size());
}

inline QByteArray readFile(const QString& path) {
    QFile f(path);
    return f.open(QIODevice::ReadOnly) ? f.readAll() : QByteArray();
}

// Every record of a table in record order, deleted ones too.
inline std::vector<Record> recordsOf(xbase::Table& table) {
    std::vector<Record> list;
    const bool hide = table.hidesDeleted();
    table.setDeleted(false);
    for (uint32_t r = 1; r <= table.recCount(); ++r) {
        EXPECT_TRUE(table.go(r).ok());
        Record rec;
        for (int i = 0; i < table.fieldCount(); ++i) {
            const QString name = QString::fromStdString(table.field(i).name);
            std::string raw;
            if (table.field(i).isMemo()) {
                EXPECT_TRUE(table.getMemo(i, &raw).ok());
            } else {
                raw = table.getTrimString(i);
            }
            const QString text = TableText::decode(table.codePage(), raw);
            if (!text.isEmpty()) rec[name] = text;
        }
        if (table.deleted()) rec["*"] = "*";
        list.push_back(rec);
    }
    table.setDeleted(hide);
    return list;
}

// A fresh address file with its 26 tags in a temporary folder, opened as the imports
// open it (exclusively).
class AddressFileFixture {
  public:
    using Values = std::initializer_list<std::pair<const char*, QString>>;

    AddressFileFixture() {
        path_ = file("add0001.DBF");
        QString message;
        EXPECT_TRUE(AddressFile::CreateAddressFile(path_, FieldLengths(), &message)) << message.toStdString();
        reopen();
    }

    xbase::Table& table() const { return *table_; }
    const QString& path() const { return path_; }
    QString file(const QString& name) const { return QString::fromStdString(dir_.file(name.toStdString())); }

    void close() {
        if (table_) {
            EXPECT_TRUE(table_->close().ok());
        }
        table_.reset();
    }
    void reopen() {
        close();
        QString message;
        EXPECT_TRUE(AddressFile::OpenTableFile(path_, &table_, &message)) << message.toStdString();
    }

    // Appends a record by field names.
    void add(Values values) {
        ASSERT_TRUE(table_->appendBlank().ok());
        for (const auto& [field, value] : values) {
            const int index = table_->fieldIndex(field);
            ASSERT_GE(index, 0) << field;
            ASSERT_TRUE(AddressFile::setText(*table_, index, value).ok()) << field;
        }
        ASSERT_TRUE(table_->commit().ok());
    }

    std::vector<Record> records() { return recordsOf(*table_); }

  private:
    TempDir dir_;
    QString path_;
    std::unique_ptr<xbase::Table> table_;
};
