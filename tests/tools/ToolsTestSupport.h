#pragma once

#include <gtest/gtest.h>

#include <QString>
#include <cstdint>
#include <string>
#include <vector>

#include "AddressFile.h"
#include "AddressTable.h"
#include "SavedCursor.h"
#include "Table.h"

// The record numbers in the table's current order, as navigation shows them.
inline std::vector<uint32_t> visibleRecords(xbase::Table& table) {
    SavedCursor keep(table);
    std::vector<uint32_t> out;
    for (xbase::Status s = table.goTop(); s.ok() && !table.eof(); s = table.skip(1))
        out.push_back(table.recNo());
    return out;
}

// Every record, deleted ones too, in the order of `order` (0: record order).
inline std::vector<uint32_t> allRecordsInOrder(xbase::Table& table, int order) {
    SavedCursor keep(table);
    table.setDeleted(false);
    EXPECT_TRUE(table.query({}).ok());
    EXPECT_TRUE(table.setOrder(order).ok());
    return visibleRecords(table);
}

// The indexes agree with the records: every tree is sound and holds each record's
// key, and building every tag afresh from the records gives the same order.
inline void ExpectIndexesAgree(xbase::Table& table) {
    const xbase::Status verified = table.verifyIndexes();
    EXPECT_TRUE(verified.ok()) << verified.message();
    for (const AddressFile::TagDef& tag : AddressFile::tags()) {
        const int order = table.tagArea(tag.name);
        ASSERT_GT(order, 0) << tag.name;
        const std::vector<uint32_t> before = allRecordsInOrder(table, order);
        ASSERT_TRUE(table.indexTag(tag.name, tag.key).ok()) << tag.name;
        EXPECT_EQ(allRecordsInOrder(table, table.tagArea(tag.name)), before) << "tag " << tag.name;
    }
}

// One field of record `recNo` as Unicode; the cursor stays where it was.
inline QString fieldOf(xbase::Table& table, uint32_t recNo, const char* field) {
    SavedCursor keep(table);
    EXPECT_TRUE(table.go(recNo).ok());
    return AddressFile::text(table, table.fieldIndex(field));
}

// Whether record `recNo` carries the deletion mark and ISDEL.
inline std::pair<bool, bool> deletionOf(xbase::Table& table, uint32_t recNo) {
    SavedCursor keep(table);
    EXPECT_TRUE(table.go(recNo).ok());
    return {table.deleted(), table.getLogical(table.fieldIndex("ISDEL"))};
}

// A state table CSZ.DBF at `path` with its STATE tag and these rows (name, state, low,
// high); a row whose name starts with "-" is marked deleted.
struct StateRow {
    const char* name;
    const char* state;
    const char* low;
    const char* high;
};
inline void makeStateTable(const std::string& path, const std::vector<StateRow>& rows) {
    xbase::TableSpec spec;
    spec.fields = {{"NAME", 'C', 20}, {"STATE", 'C', 4}, {"LOW_ZIP", 'C', 10}, {"HIGH_ZIP", 'C', 10}};
    ASSERT_TRUE(xbase::Table::create(path, spec).ok());
    std::unique_ptr<xbase::Table> t;
    ASSERT_TRUE(xbase::Table::open(path, xbase::OpenMode::Exclusive, &t).ok());
    for (const StateRow& r : rows) {
        const bool deleted = r.name[0] == '-';
        ASSERT_TRUE(t->appendBlank().ok());
        ASSERT_TRUE(t->replace(0, r.name + (deleted ? 1 : 0)).ok());
        ASSERT_TRUE(t->replace(1, r.state).ok());
        ASSERT_TRUE(t->replace(2, r.low).ok());
        ASSERT_TRUE(t->replace(3, r.high).ok());
        if (deleted) {
            ASSERT_TRUE(t->deleteRecord().ok());
        }
        ASSERT_TRUE(t->commit().ok());
    }
    ASSERT_TRUE(t->indexTag("STATE", "UPPER(STATE)").ok());
    ASSERT_TRUE(t->close().ok());
}

inline const std::vector<StateRow>& testStates() {
    static const std::vector<StateRow> rows = {
        {"New York", "NY", "10000", "14999"},
        {"Pennsylvania", "PA", "15000", "19699-9999"},
        {"-Texas", "TX", "75000", "79999-9999"},
        {"New Jersey", "NJ", "07000", "08999-9999"},
    };
    return rows;
}
