#include <gtest/gtest.h>

#include <algorithm>
#include <filesystem>
#include <fstream>
#include <map>
#include <random>

#include "FaultInjectionFileSystem.h"
#include "Table.h"
#include "TempDir.h"

using namespace xbase;

namespace {

struct TagDef {
    const char* name;
    const char* key;
};

// Tags like an address file's, plus numeric and date keys.
const TagDef kTags[] = {
    {"NAME", "UPPER(LNAME-FNAME)"}, {"LNAME", "UPPER(LNAME)+UPPER(FNAME)"}, {"CITY", "UPPER(CITY)"},
    {"DELETED", "DELETED()"},       {"ISDEL", "ISDEL"},                     {"NOTISDEL", "!ISDEL"},
    {"AMOUNT", "AMOUNT"},           {"BORN", "BORN"},
};

class IndexTest : public ::testing::Test {
protected:
    void SetUp() override { use("t.dbf"); }
    // Creates the table `name` and opens it as the table under test.
    void use(const std::string& name) {
        path_ = dir_.file(name);
        TableSpec design;
        design.fields = {{"LNAME", 'C', 12}, {"FNAME", 'C', 10}, {"CITY", 'C', 10},
                       {"ISDEL", 'L', 1},  {"AMOUNT", 'N', 8, 2}, {"BORN", 'D', 8}};
        ASSERT_TRUE(Table::create(path_, design).ok());
        reopen();
    }
    void reopen() {
        table_.reset();
        Status s = Table::open(path_, OpenMode::Exclusive, &table_);
        ASSERT_TRUE(s.ok()) << s.toString();
    }
    void add(const std::string& last, const std::string& first, const std::string& city = "",
             const std::string& amount = "", const std::string& born = "") {
        ASSERT_TRUE(table_->appendBlank().ok());
        ASSERT_TRUE(table_->replace(0, last).ok());
        ASSERT_TRUE(table_->replace(1, first).ok());
        ASSERT_TRUE(table_->replace(2, city).ok());
        ASSERT_TRUE(table_->replace(4, amount).ok());
        ASSERT_TRUE(table_->replace(5, born).ok());
        ASSERT_TRUE(table_->commit().ok());
    }
    void createTags() {
        for (const TagDef& t : kTags) {
            Status s = table_->indexTag(t.name, t.key);
            ASSERT_TRUE(s.ok()) << t.name << ": " << s.toString();
        }
    }
    // Record numbers in the current order.
    std::vector<uint32_t> walk() {
        std::vector<uint32_t> recs;
        EXPECT_TRUE(table_->goTop().ok());
        while (!table_->eof()) {
            recs.push_back(table_->recNo());
            EXPECT_TRUE(table_->skip(1).ok());
            if (recs.size() > 100000) break;
        }
        return recs;
    }
    std::vector<uint32_t> walkBackwards() {
        std::vector<uint32_t> recs;
        EXPECT_TRUE(table_->goBottom().ok());
        while (!table_->eof()) {
            recs.push_back(table_->recNo());
            if (!table_->skip(-1).ok() || table_->bof()) break;
        }
        std::reverse(recs.begin(), recs.end());
        return recs;
    }
    // The order a sort of the table's own values gives for `keyExpr`.
    std::vector<uint32_t> expectedOrder(const std::string& keyExpr) {
        std::unique_ptr<Expression> e;
        EXPECT_TRUE(table_->compile(keyExpr, &e).ok());
        std::vector<std::pair<std::string, uint32_t>> keys;
        const int saved = table_->indexOrd();
        EXPECT_TRUE(table_->setOrder(0).ok());
        for (uint32_t r = 1; r <= table_->recCount(); ++r) {
            EXPECT_TRUE(table_->go(r).ok());
            if (table_->hidesDeleted() && table_->deleted()) continue;
            const EvalContext ctx = table_->evalContext();
            std::string k;
            if (e->type() == ValueType::Numeric) {
                char buf[64];
                std::snprintf(buf, sizeof buf, "%030.6f", e->evalNumeric(ctx) + 1e12);
                k = buf;
            } else {
                k = e->evalString(ctx);
            }
            keys.emplace_back(k, r);
        }
        std::sort(keys.begin(), keys.end());
        EXPECT_TRUE(table_->setOrder(saved).ok());
        std::vector<uint32_t> recs;
        for (const auto& k : keys) recs.push_back(k.second);
        return recs;
    }
    TempDir dir_;
    std::string path_;
    std::unique_ptr<Table> table_;
};

TEST_F(IndexTest, TagsOrderRecordsAndAnswerByNameAndNumber) {
    add("Smith", "John", "Boston", "10", "19700101");
    add("adams", "Zoe", "austin", "-2.5", "19991231");
    add("SMITH", "anna", "Denver", "100", "");
    add("Baker", "Al", "Austin", "0", "18990315");
    createTags();
    EXPECT_EQ(table_->indexState(), IndexState::Ok);
    EXPECT_EQ(table_->orderCount(), 8);
    EXPECT_EQ(table_->tagArea("lname"), 2);
    EXPECT_EQ(table_->tagArea("NOPE"), 0);
    EXPECT_EQ(table_->tagName(8), "BORN");
    EXPECT_EQ(table_->tagExpression(2), "UPPER(LNAME)+UPPER(FNAME)");
    EXPECT_NE(table_->indexName(1).find("t.cdx"), std::string::npos);

    const struct {
        const char* tag;
        std::vector<uint32_t> order;
    } cases[] = {
        {"LNAME", {2, 4, 3, 1}},   // ADAMS, BAKER, SMITH ANNA, SMITH JOHN
        {"NAME", {2, 4, 3, 1}},    // the trailing-blank join orders the same way
        {"CITY", {2, 4, 1, 3}},    // AUSTIN (2 before 4), BOSTON, DENVER
        {"AMOUNT", {2, 4, 1, 3}},  // -2.5, 0, 10, 100
        {"BORN", {3, 4, 1, 2}},    // the empty date first
    };
    for (const auto& c : cases) {
        ASSERT_TRUE(table_->setOrder(table_->tagArea(c.tag)).ok());
        EXPECT_EQ(table_->indexOrd(), table_->tagArea(c.tag));
        EXPECT_EQ(walk(), c.order) << c.tag;
        EXPECT_EQ(walkBackwards(), c.order) << c.tag;
    }
    ASSERT_TRUE(table_->close().ok());
    reopen();  // the structural index opens with its table
    EXPECT_EQ(table_->orderCount(), 8);
    ASSERT_TRUE(table_->setOrder(table_->tagArea("LNAME")).ok());
    EXPECT_EQ(walk(), (std::vector<uint32_t>{2, 4, 3, 1}));
    EXPECT_TRUE(table_->verifyIndexes().ok());
}

TEST_F(IndexTest, SeekFollowsExactAndSoftSeek) {
    for (const char* n : {"Jones", "Smith", "Smithers", "Smythe", "Young"}) add(n, "");
    ASSERT_TRUE(table_->indexTag("LNAME", "UPPER(LNAME)").ok());
    ASSERT_TRUE(table_->indexTag("AMOUNT", "AMOUNT").ok());
    ASSERT_TRUE(table_->setOrder(1).ok());
    const struct {
        const char* value;
        bool exact, soft, found;
        const char* landsOn;  // empty = end of file
    } cases[] = {
        {"SMITH", false, false, true, "Smith"},   {"SMITH", true, false, true, "Smith"},
        {"SMITHE", false, false, true, "Smithers"}, {"SMITHE", true, false, false, ""},
        {"SMO", false, false, false, ""},         {"SMO", false, true, false, "Smythe"},
        {"ZZ", false, true, false, ""},           {"", false, false, true, "Jones"},
    };
    for (const auto& c : cases) {
        table_->setExact(c.exact);
        table_->setSoftSeek(c.soft);
        bool found = !c.found;
        ASSERT_TRUE(table_->seek(c.value, &found).ok());
        EXPECT_EQ(found, c.found) << c.value;
        EXPECT_EQ(table_->found(), c.found) << c.value;
        EXPECT_EQ(table_->getTrimString(0), c.landsOn) << c.value;
        EXPECT_EQ(table_->eof(), std::string(c.landsOn).empty()) << c.value;
    }
    table_->setExact(false);
    table_->setSoftSeek(false);

    // Seeks skip records that are hidden.
    ASSERT_TRUE(table_->seek("SMITH").ok());
    ASSERT_TRUE(table_->deleteRecord().ok());
    table_->setDeleted(true);
    ASSERT_TRUE(table_->seek("SMITH").ok());
    EXPECT_EQ(table_->getTrimString(0), "Smithers");

    // Numeric orders take the number as text.
    ASSERT_TRUE(table_->go(5).ok());
    ASSERT_TRUE(table_->replace(4, "42.5").ok());
    ASSERT_TRUE(table_->setOrder(2).ok());
    bool found = false;
    ASSERT_TRUE(table_->seek("42.5", &found).ok());
    EXPECT_TRUE(found);
    EXPECT_EQ(table_->recNo(), 5u);
    EXPECT_TRUE(table_->seek("forty", &found).isInvalidArgument());
    ASSERT_TRUE(table_->setOrder(0).ok());
    EXPECT_TRUE(table_->seek("SMITH").isInvalidArgument());
}

TEST_F(IndexTest, QueriesScopesAndHiddenRecordsShapeOrderedNavigation) {
    for (const char* n : {"Adams", "Baker", "Carter", "Davis", "Evans", "Fox"}) add(n, "", "X");
    ASSERT_TRUE(table_->indexTag("LNAME", "UPPER(LNAME)").ok());
    ASSERT_TRUE(table_->setOrder(1).ok());
    ASSERT_TRUE(table_->go(3).ok());
    ASSERT_TRUE(table_->deleteRecord().ok());
    table_->setDeleted(true);
    ASSERT_TRUE(table_->query("LNAME <> \"Evans\"").ok());
    EXPECT_EQ(walk(), (std::vector<uint32_t>{1, 2, 4, 6}));
    EXPECT_EQ(walkBackwards(), (std::vector<uint32_t>{1, 2, 4, 6}));
    ASSERT_TRUE(table_->setScope("B", "E").ok());
    EXPECT_EQ(walk(), (std::vector<uint32_t>{2, 4}));
    EXPECT_EQ(walkBackwards(), (std::vector<uint32_t>{2, 4}));
    EXPECT_EQ(table_->queryRecCount(), 2u);
    ASSERT_TRUE(table_->setScope("", "").ok());
    EXPECT_EQ(table_->queryRecCount(), 4u);

    // skip() keeps its place in the order when the current record's key changes.
    ASSERT_TRUE(table_->query("").ok());
    ASSERT_TRUE(table_->seek("BAKER").ok());
    ASSERT_TRUE(table_->replace(0, "Zimmer").ok());
    ASSERT_TRUE(table_->skip(1).ok());
    EXPECT_TRUE(table_->eof());
    ASSERT_TRUE(table_->goTop().ok());
    ASSERT_TRUE(table_->skip(1).ok());
    EXPECT_EQ(table_->getTrimString(0), "Davis");
}

// Appends, edits, deletions, recalls, packs and navigation in random order. With
// `batched`, runs of them are held in batches (nested now and then) that navigation
// reads through.
void randomChanges(Table& table, bool batched) {
    std::mt19937 rng(12345);
    const char* lasts[] = {"Smith", "smith", "Jones", "Ng", "O'Brien", "", "Zeta-Jones", "Muller", "Adams"};
    const char* firsts[] = {"Al", "Bea", "", "Chris", "dana", "Eve"};
    const char* cities[] = {"Austin", "Boston", "", "Chicago", "austin"};
    auto pick = [&](auto& arr) { return std::string(arr[rng() % (sizeof(arr) / sizeof(arr[0]))]); };
    std::mt19937 batchRng(777);  // its own stream: both runs make the same changes
    int depth = 0;
    for (int op = 0; op < 3000; ++op) {
        if (batched && batchRng() % 40 == 0) {
            if (depth > 0 && batchRng() % 3 != 0) {
                ASSERT_TRUE(table.endBatch().ok());
                --depth;
            } else if (depth < 2) {
                ASSERT_TRUE(table.beginBatch().ok());
                ++depth;
            }
        }
        const uint32_t n = table.recCount();
        const int kind = int(rng() % 100);
        if (kind < 40 || n == 0) {
            const std::string born =
                rng() % 3 ? "2001" + std::to_string(10 + rng() % 3) + "1" + std::to_string(rng() % 9) : "";
            ASSERT_TRUE(table.appendBlank().ok());
            ASSERT_TRUE(table.replace(0, pick(lasts)).ok());
            ASSERT_TRUE(table.replace(1, pick(firsts)).ok());
            ASSERT_TRUE(table.replace(2, pick(cities)).ok());
            ASSERT_TRUE(table.replace(4, std::to_string(int(rng() % 2000) - 1000)).ok());
            ASSERT_TRUE(table.replace(5, born).ok());
            ASSERT_TRUE(table.commit().ok());
        } else if (kind < 75) {
            ASSERT_TRUE(table.go(1 + rng() % n).ok());
            const int field = int(rng() % 5);
            const std::string value = field == 0   ? pick(lasts)
                                      : field == 1 ? pick(firsts)
                                      : field == 2 ? pick(cities)
                                      : field == 3 ? (rng() % 2 ? "T" : "F")
                                                   : std::to_string(int(rng() % 500));
            ASSERT_TRUE(table.replace(field == 3 ? 3 : field == 4 ? 4 : field, value).ok());
        } else if (kind < 90) {
            ASSERT_TRUE(table.go(1 + rng() % n).ok());
            ASSERT_TRUE((rng() % 3 ? table.deleteRecord() : table.recall()).ok());
        } else if (kind < 92) {
            Status s = table.pack();
            ASSERT_TRUE(s.ok()) << s.toString();
        } else {
            // Navigate in some order between changes.
            ASSERT_TRUE(table.setOrder(1 + int(rng() % 8)).ok());
            ASSERT_TRUE(table.goTop().ok());
            ASSERT_TRUE(table.skip(int64_t(rng() % 5)).ok());
        }
    }
    for (; depth > 0; --depth) ASSERT_TRUE(table.endBatch().ok());
}

std::string fileBytes(const std::string& path) {
    std::ifstream in(path, std::ios::binary);
    return std::string((std::istreambuf_iterator<char>(in)), {});
}

TEST_F(IndexTest, EveryTagStaysRightThroughRandomChanges) {
    createTags();
    randomChanges(*table_, false);
    ASSERT_TRUE(table_->commit().ok());
    Status s = table_->verifyIndexes();
    ASSERT_TRUE(s.ok()) << s.toString();
    for (const TagDef& t : kTags) {
        if (std::string(t.name) == "AMOUNT" || std::string(t.name) == "BORN") continue;
        ASSERT_TRUE(table_->setOrder(table_->tagArea(t.name)).ok());
        EXPECT_EQ(walk(), expectedOrder(t.key)) << t.name;
    }
    ASSERT_TRUE(table_->setOrder(table_->tagArea("AMOUNT")).ok());
    EXPECT_EQ(walk(), expectedOrder("AMOUNT")) << "AMOUNT";
    ASSERT_TRUE(table_->close().ok());
    reopen();
    EXPECT_TRUE(table_->verifyIndexes().ok());
}

// A batch holds the index pages it changes and writes them at its end: the files
// come out byte for byte as the same changes made one by one leave them.
TEST_F(IndexTest, BatchedChangesWriteTheSameFilesAsChangesOneByOne) {
    createTags();
    randomChanges(*table_, false);
    ASSERT_TRUE(table_->close().ok());
    const std::string singleIndex = fileBytes(dir_.file("t.cdx"));
    const std::string singleTable = fileBytes(path_);

    use("b.dbf");
    createTags();
    randomChanges(*table_, true);
    ASSERT_TRUE(table_->close().ok());
    EXPECT_TRUE(fileBytes(dir_.file("b.cdx")) == singleIndex);
    EXPECT_TRUE(fileBytes(path_) == singleTable);
    reopen();
    EXPECT_EQ(table_->indexState(), IndexState::Ok);
    EXPECT_TRUE(table_->verifyIndexes().ok());
}

// While a batch is open the index is marked as open for writing and its pages on the
// disk are as before; a batch whose pages cannot be written says so and leaves the
// index marked, so that it is rebuilt rather than trusted.
TEST_F(IndexTest, BatchIsMarkedWhileOpenAndAFailedWriteIsNotTrusted) {
    for (int i = 0; i < 400; ++i) add("N" + std::to_string(i * 7 % 400), "x");
    createTags();
    ASSERT_TRUE(table_->close().ok());
    const std::string cdx = dir_.file("t.cdx");
    const std::string before = fileBytes(cdx);
    ASSERT_EQ(before[28], 0);

    FaultInjectionFileSystem fs;
    table_.reset();
    ASSERT_TRUE(Table::open(path_, OpenMode::Exclusive, &table_, &fs).ok());
    {
        IndexBatch batch(*table_);
        ASSERT_TRUE(batch.begun().ok());
        for (uint32_t r = 1; r <= 400; r += 3) {
            ASSERT_TRUE(table_->go(r).ok());
            ASSERT_TRUE(table_->replace(0, "Changed" + std::to_string(r)).ok());
        }
        ASSERT_TRUE(table_->commit().ok());
        std::string held = fileBytes(cdx);
        EXPECT_EQ(held[28], 1);
        held[28] = 0;
        EXPECT_TRUE(held == before);  // nothing written yet but the mark
        ASSERT_TRUE(table_->setOrder(table_->tagArea("LNAME")).ok());
        ASSERT_TRUE(table_->seek("CHANGED1").ok());  // the held pages are read
        EXPECT_TRUE(table_->found());
        ASSERT_TRUE(batch.finish().ok());
    }
    EXPECT_EQ(fileBytes(cdx)[28], 0);
    EXPECT_TRUE(table_->verifyIndexes().ok());

    ASSERT_TRUE(table_->beginBatch().ok());
    for (uint32_t r = 2; r <= 400; r += 3) {
        ASSERT_TRUE(table_->go(r).ok());
        ASSERT_TRUE(table_->replace(1, "again").ok());
        ASSERT_TRUE(table_->deleteRecord().ok());
    }
    fs.failNthWrite(1, EIO, true);
    EXPECT_FALSE(table_->endBatch().ok());
    fs.heal();
    EXPECT_EQ(fileBytes(cdx)[28], 1);
    (void)table_->close();
    reopen();
    EXPECT_EQ(table_->indexState(), IndexState::Damaged);
}

TEST_F(IndexTest, LargeTagsSplitAndShrink) {
    for (int i = 0; i < 6000; ++i) {
        ASSERT_TRUE(table_->appendBlank().ok());
        ASSERT_TRUE(table_->replace(0, "N" + std::to_string((i * 7919) % 6000)).ok());
    }
    ASSERT_TRUE(table_->indexTag("LNAME", "UPPER(LNAME)+UPPER(FNAME)").ok());  // bulk built
    ASSERT_TRUE(table_->indexTag("CITY", "CITY").ok());  // all keys equal: ties by record
    for (int i = 0; i < 3000; ++i) add("M" + std::to_string(i), "x");  // grown key by key
    ASSERT_TRUE(table_->verifyIndexes().ok());
    for (uint32_t r = 1; r <= table_->recCount(); r += 2) {
        ASSERT_TRUE(table_->go(r).ok());
        ASSERT_TRUE(table_->deleteRecord().ok());
    }
    ASSERT_TRUE(table_->pack().ok());
    EXPECT_EQ(table_->recCount(), 4500u);
    ASSERT_TRUE(table_->setOrder(1).ok());
    EXPECT_EQ(walk(), expectedOrder("UPPER(LNAME)+UPPER(FNAME)"));
    ASSERT_TRUE(table_->zap().ok());
    EXPECT_TRUE(walk().empty());
    add("after", "zap");
    EXPECT_EQ(walk(), (std::vector<uint32_t>{1}));
    EXPECT_TRUE(table_->verifyIndexes().ok());
}

TEST_F(IndexTest, RebuildingATagKeepsItsNumberAndTakesTheNewKey) {
    add("b", "2");
    add("a", "1");
    createTags();
    const auto sizeBefore = std::filesystem::file_size(dir_.file("t.cdx"));
    for (int i = 0; i < 5; ++i) ASSERT_TRUE(table_->indexTag("CITY", "UPPER(FNAME)").ok());
    EXPECT_LE(std::filesystem::file_size(dir_.file("t.cdx")), sizeBefore + 2048);  // old pages are reused
    EXPECT_EQ(table_->tagArea("CITY"), 3);
    EXPECT_EQ(table_->tagExpression(3), "UPPER(FNAME)");
    ASSERT_TRUE(table_->setOrder(3).ok());
    EXPECT_EQ(walk(), (std::vector<uint32_t>{2, 1}));
    EXPECT_TRUE(table_->indexTag("BAD", "NOFIELD").isInvalidArgument());
    EXPECT_TRUE(table_->indexTag("TOOLONGNAME", "LNAME").isInvalidArgument());
}

TEST_F(IndexTest, MissingDamagedOrUnfinishedIndexIsReportedNotTrusted) {
    add("a", "1");
    ASSERT_TRUE(table_->indexTag("LNAME", "LNAME").ok());
    ASSERT_TRUE(table_->close().ok());
    const std::string cdx = dir_.file("t.cdx");
    std::ifstream in(cdx, std::ios::binary);
    const std::string good((std::istreambuf_iterator<char>(in)), {});
    in.close();

    // Left open for writing by a program that stopped.
    std::string unfinished = good;
    unfinished[28] = 1;
    std::ofstream(cdx, std::ios::binary | std::ios::trunc) << unfinished;
    reopen();
    EXPECT_EQ(table_->indexState(), IndexState::Damaged);
    EXPECT_NE(table_->indexProblem().find("not closed properly"), std::string::npos);
    EXPECT_EQ(table_->orderCount(), 0);
    EXPECT_EQ(walk(), (std::vector<uint32_t>{1}));  // the table itself still works

    // Garbage where the tree should be.
    std::string garbage = good;
    for (size_t i = 1024; i < garbage.size(); ++i) garbage[i] = char(0xA5 ^ i);
    table_.reset();
    std::ofstream(cdx, std::ios::binary | std::ios::trunc) << garbage;
    reopen();
    EXPECT_EQ(table_->indexState(), IndexState::Damaged);

    // Gone.
    table_.reset();
    std::filesystem::remove(cdx);
    reopen();
    EXPECT_EQ(table_->indexState(), IndexState::Missing);
    ASSERT_TRUE(table_->indexTag("LNAME", "LNAME").ok());  // the rebuild
    EXPECT_EQ(table_->indexState(), IndexState::Ok);
    EXPECT_TRUE(table_->verifyIndexes().ok());
}

TEST_F(IndexTest, IdxFilesHoldOnlyTheKeysAdded) {
    for (const char* n : {"d", "c", "b", "a"}) add(n, "");
    int order = 0;
    ASSERT_TRUE(table_->createIdx(dir_.file("_chkdup.idx"), "UPPER(LNAME)", &order).ok());
    EXPECT_EQ(order, 1);
    ASSERT_TRUE(table_->setOrder(order).ok());
    EXPECT_TRUE(walk().empty());
    for (uint32_t r : {1u, 3u, 4u}) {
        ASSERT_TRUE(table_->go(r).ok());
        ASSERT_TRUE(table_->keyAdd().ok());
    }
    EXPECT_EQ(walk(), (std::vector<uint32_t>{4, 3, 1}));
    EXPECT_EQ(table_->queryRecCount(), 3u);  // what the order holds, not the whole file
    ASSERT_TRUE(table_->go(1).ok());
    ASSERT_TRUE(table_->replace(0, "0").ok());  // a record in the file follows its change
    ASSERT_TRUE(table_->go(2).ok());
    ASSERT_TRUE(table_->replace(0, "00").ok());  // one not in it stays out
    EXPECT_EQ(walk(), (std::vector<uint32_t>{1, 4, 3}));
    add("new", "");
    EXPECT_EQ(walk().size(), 3u);
    ASSERT_TRUE(table_->closeIdx(order).ok());
    EXPECT_EQ(table_->indexOrd(), 0);
    EXPECT_EQ(table_->orderCount(), 0);
}

TEST(IndexFixtureTest, ForeignIndexesWalkAndSeek) {
    const struct {
        const char* table;
        const char* tag;
        const char* seekValue;  // empty: no seek
        uint32_t foundRec;
    } cases[] = {
        {"xbase/xharbour/Indexes1/people.dbf", "K_NAME", "White1", 1},
        {"xbase/xharbour/Indexes1/people.dbf", "K_ID", "", 0},
        {"xbase/xharbour/Scopes/orddet.DBF", "K_ID", "", 0},
        {"xbase/vfpx-foxunit/FXUResults.DBF", "TCLNAME", "THORTEST", 1},
        {"xbase/vfpx-foxunit/FXUResults.DBF", "TCLASS_U", "", 0},
        {"xbase/infused-dbf/foxprodb/setup.dbf", "KEY_NAME", "", 0},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(std::string(c.table) + " " + c.tag);
        std::unique_ptr<Table> t;
        Status s = Table::open(std::string(QUILLORY_FIXTURES) + "/" + c.table, OpenMode::ReadOnlyShared, &t);
        ASSERT_TRUE(s.ok()) << s.toString();
        ASSERT_EQ(t->indexState(), IndexState::Ok) << t->indexProblem();
        const int order = t->tagArea(c.tag);
        ASSERT_GT(order, 0);
        s = t->setOrder(order);
        ASSERT_TRUE(s.ok()) << s.toString();
        // The walk visits every record the tag holds, each once, in key order.
        std::unique_ptr<Expression> key;
        ASSERT_TRUE(t->compile(t->tagExpression(order), &key).ok());
        std::vector<uint32_t> seen;
        std::string prev;
        for (s = t->goTop(); s.ok() && !t->eof(); s = t->skip(1)) {
            seen.push_back(t->recNo());
            if (key->type() == ValueType::Character) {
                const std::string k = key->evalString(t->evalContext());
                EXPECT_LE(prev, k);
                prev = k;
            }
        }
        ASSERT_TRUE(s.ok()) << s.toString();
        std::sort(seen.begin(), seen.end());
        EXPECT_EQ(std::adjacent_find(seen.begin(), seen.end()), seen.end());
        EXPECT_EQ(seen.size(), t->tagCondition(order).empty() ? t->recCount() : seen.size());
        EXPECT_TRUE(t->verifyIndexes().ok());
        if (*c.seekValue) {
            bool found = false;
            ASSERT_TRUE(t->seek(c.seekValue, &found).ok());
            EXPECT_TRUE(found);
            EXPECT_EQ(t->recNo(), c.foundRec);
        }
    }
}

}  // namespace
