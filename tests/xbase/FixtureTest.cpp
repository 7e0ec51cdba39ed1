// Tables made by other xBase programs open in ours with the values they hold.

#include <gtest/gtest.h>

#include "CodePage.h"
#include "Table.h"

using namespace xbase;

namespace {

struct Expected {
    const char* path;  // under the fixtures folder
    uint32_t records;
    int fields;
    uint8_t version;
    // A few values of record 1, by field name.
    std::vector<std::pair<const char*, const char*>> firstRecord;
};

const Expected kFixtures[] = {
    {"xbase/infused-dbf/dbase_f5.dbf",
     975,
     59,
     0xF5,
     {{"NF", "1"}, {"NOM", "joan-ramon"}, {"TELEFON", "*77665875"}}},
    {"xbase/vfpx-foxunit/FXUResults.DBF",
     18,
     12,
     0x30,
     {{"TCLASS", "ThorTest"},
      {"TNAME", "testNewTest"},
      {"LOCATION", "1"},
      {"SUCCESS", "F"},
      {"TLASTRUN", "2016-09-20 22:58:31"}}},
    {"xbase/xharbour/Indexes1/people.dbf",
     105,
     3,
     0x03,
     {{"ID", "0191"}, {"NAME", "White1"}, {"PAYMENT", "1200.00"}}},
    {"xbase/xharbour/Scopes/orddet.DBF", 153, 0, 0x03, {}},
    {"xbase/mod_harbour/jsonform/jsonform.dbf",
     3,
     7,
     0xF5,
     {{"NAME", "Basic form (by Quim)"}, {"DATE", "20190820"}}},
    {"xbase/mod_harbour/mvc/users.dbf", 8, 0, 0x03, {}},
    {"xbase/harbour-core/cotacao.dbf", 2080, 0, 0x03, {}},
    {"xbase/infused-dbf/foxprodb/contacts.dbf", 5, 0, 0x30, {}},
    {"xbase/infused-dbf/foxprodb/calls.dbf", 16, 0, 0x30, {}},
};

TEST(FixtureTest, ForeignTablesOpenAndEveryValueReads) {
    for (const Expected& e : kFixtures) {
        SCOPED_TRACE(e.path);
        std::unique_ptr<Table> t;
        Status s = Table::open(std::string(QUILLORY_FIXTURES) + "/" + e.path, OpenMode::ReadOnlyShared, &t);
        ASSERT_TRUE(s.ok()) << s.toString();
        EXPECT_EQ(t->recCount(), e.records);
        EXPECT_EQ(t->version(), e.version);
        if (e.fields) {
            EXPECT_EQ(t->fieldCount(), e.fields);
        }
        for (const auto& [name, value] : e.firstRecord) {
            const int index = t->fieldIndex(name);
            ASSERT_GE(index, 0) << name;
            EXPECT_EQ(t->getTrimString(index), value) << name;
        }
        // Walk every record and every field, memos included.
        uint32_t visited = 0;
        for (s = t->goTop(); s.ok() && !t->eof(); s = t->skip(1)) {
            ++visited;
            for (int i = 0; i < t->fieldCount(); ++i) {
                if (t->field(i).isMemo()) {
                    std::string text;
                    Status m = t->getMemo(i, &text);
                    EXPECT_TRUE(m.ok()) << "record " << t->recNo() << ": " << m.toString();
                } else {
                    (void)t->getTrimString(i);
                }
            }
        }
        EXPECT_TRUE(s.ok()) << s.toString();
        EXPECT_EQ(visited, e.records);
    }
}

TEST(FixtureTest, DBaseMemoFiles) {
    const struct {
        const char* table;
        uint32_t record;
        std::string memo;
    } cases[] = {
        {"dbt/d3.dbf", 1, "first memo\nline two"},
        {"dbt/d3.dbf", 2, std::string(1500, 'x')},
        {"dbt/d3.dbf", 3, ""},
        {"dbt/d4.dbf", 1, "dbase four memo"},
        {"dbt/d4.dbf", 2, std::string(1000, 'y')},
    };
    for (const auto& c : cases) {
        std::unique_ptr<Table> t;
        ASSERT_TRUE(
            Table::open(std::string(QUILLORY_FIXTURES) + "/" + c.table, OpenMode::ReadOnlyShared, &t).ok());
        ASSERT_TRUE(t->go(c.record).ok());
        std::string memo;
        Status s = t->getMemo(t->fieldIndex("NOTES"), &memo);
        ASSERT_TRUE(s.ok()) << s.toString();
        EXPECT_EQ(memo, c.memo) << c.table << " " << c.record;
    }
}

TEST(FixtureTest, MemosAndTextOfForeignTables) {
    std::unique_ptr<Table> t;
    ASSERT_TRUE(Table::open(std::string(QUILLORY_FIXTURES) + "/xbase/mod_harbour/jsonform/jsonform.dbf",
                            OpenMode::ReadOnlyShared, &t)
                    .ok());
    std::string json;
    ASSERT_TRUE(t->getMemo(t->fieldIndex("JSON"), &json).ok());
    EXPECT_EQ(json.rfind("{\"id\":\"6c490583-d673-479a-841c-7bb851e62f50\"", 0), 0u);
    EXPECT_EQ(json.back(), '}');

    // Visual FoxPro memo pointers are 4-byte integers.
    ASSERT_TRUE(Table::open(std::string(QUILLORY_FIXTURES) + "/xbase/vfpx-foxunit/FXUResults.DBF",
                            OpenMode::ReadOnlyShared, &t)
                    .ok());
    int memoFields = 0;
    for (int i = 0; i < t->fieldCount(); ++i) {
        if (!t->field(i).isMemo()) continue;
        ++memoFields;
        EXPECT_TRUE(t->field(i).binaryMemoRef);
    }
    EXPECT_EQ(memoFields, 4);

    // An unmarked DOS table: text decodes as code page 437.
    ASSERT_TRUE(Table::open(std::string(QUILLORY_FIXTURES) + "/xbase/infused-dbf/dbase_f5.dbf",
                            OpenMode::ReadOnlyShared, &t)
                    .ok());
    EXPECT_EQ(t->codePage().number(), 437);
}

}  // namespace

namespace {

// Inputs the fuzz targets found, read as a user's program would read them.
TEST(FuzzFindingTest, BinaryFieldsNarrowerThanTheirSizeReadOnlyTheirBytes) {
    std::unique_ptr<Table> t;
    ASSERT_TRUE(Table::open(std::string(QUILLORY_FIXTURES) + "/fuzz/short-binary-fields.dbf",
                            OpenMode::ReadOnlyShared, &t)
                    .ok());
    for (uint32_t r = 1; r <= t->recCount(); ++r) {
        ASSERT_TRUE(t->go(r).ok());
        for (int f = 0; f < t->fieldCount(); ++f) {
            if (t->field(f).isMemo()) continue;
            EXPECT_LE(t->getString(f).size(), size_t(t->field(f).width)) << t->field(f).name;
        }
    }
}

}  // namespace
