#pragma once

#include <gtest/gtest.h>

#include <QMap>
#include <QString>
#include <initializer_list>
#include <memory>
#include <set>
#include <utility>

#include "AddressFile.h"
#include "FieldLengths.h"
#include "TempDir.h"

// A fresh address file with its 26 tags in a temporary folder, opened as the main
// window opens it (exclusive, deleted records hidden), with records added by field name.
class AddressTable {
  public:
    using Values = std::initializer_list<std::pair<const char*, QString>>;

    AddressTable() {
        path_ = QString::fromStdString(dir_.file("add0001.DBF"));
        QString message;
        EXPECT_TRUE(AddressFile::CreateAddressFile(path_, FieldLengths(), &message)) << message.toStdString();
        EXPECT_TRUE(AddressFile::OpenTableFile(path_, &table_, &message)) << message.toStdString();
        if (table_) table_->setDeleted(true);
    }

    xbase::Table& operator*() const { return *table_; }
    xbase::Table* operator->() const { return table_.get(); }
    const TempDir& dir() const { return dir_; }

    // Appends a record; returns its number. "ISDEL" = "T" deletes it as the program does.
    uint32_t add(Values values) {
        EXPECT_TRUE(table_->appendBlank().ok());
        bool deleted = false;
        for (const auto& [field, value] : values) {
            if (QString(field) == "ISDEL") {
                deleted = value == "T";
                continue;
            }
            const int index = table_->fieldIndex(field);
            EXPECT_GE(index, 0) << field;
            EXPECT_TRUE(AddressFile::setText(*table_, index, value).ok()) << field;
        }
        if (deleted) {
            EXPECT_TRUE(AddressFile::DeleteRecord(*table_).ok());
        }
        EXPECT_TRUE(table_->commit().ok());
        return table_->recNo();
    }

    QString value(const char* field) const { return AddressFile::text(*table_, table_->fieldIndex(field)); }
    void order(const char* tag) { ASSERT_TRUE(table_->setOrder(table_->tagArea(tag)).ok()); }

    // The last names of the records whose TAG is `tagId`; the current record stays.
    std::set<QString> namesTagged(const QString& tagId) {
        std::set<QString> names;
        const uint32_t keep = table_->recNo();
        for (uint32_t r = 1; r <= table_->recCount(); ++r) {
            EXPECT_TRUE(table_->go(r).ok());
            if (value("TAG") == tagId) names.insert(value("LNAME"));
        }
        EXPECT_TRUE(table_->go(keep).ok());
        return names;
    }

  private:
    TempDir dir_;
    QString path_;
    std::unique_ptr<xbase::Table> table_;
};
