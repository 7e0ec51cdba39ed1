// Damaged tables, memo files and indexes: each is reported, none loses a record, and
// no walk over a damaged index goes on for ever.

#include <gtest/gtest.h>
#include <sys/stat.h>

#include <atomic>
#include <chrono>
#include <cstring>
#include <memory>
#include <filesystem>
#include <fstream>
#include <functional>
#include <map>
#include <random>
#include <thread>

#include "IndexPages.h"
#include "Table.h"
#include "TempDir.h"

using namespace xbase;

namespace {

std::string readBytes(const std::string& path) {
    std::ifstream in(path, std::ios::binary);
    return std::string(std::istreambuf_iterator<char>(in), {});
}

void writeBytes(const std::string& path, const std::string& bytes) {
    std::ofstream out(path, std::ios::binary | std::ios::trunc);
    out << bytes;
}

using indexpages::put16;
using indexpages::put32;
using indexpages::u16;
using indexpages::u32;

// Every file of a folder with its bytes.
std::map<std::string, std::string> snapshot(const std::string& dir) {
    std::map<std::string, std::string> files;
    for (const auto& e : std::filesystem::directory_iterator(dir)) {
        files[e.path().filename().string()] = readBytes(e.path().string());
    }
    return files;
}

// Goes through the table in its current order, forwards or backwards, and stops at
// the first failure, or after far more steps than there are records: a walk that
// would go on for ever ends too. *steps says how many it took.
Status walk(Table& t, int dir, size_t* steps, std::vector<uint32_t>* seen = nullptr) {
    *steps = 0;
    Status s = dir > 0 ? t.goTop() : t.goBottom();
    const size_t cap = 10 * size_t(t.recCount()) + 10;
    while (s.ok() && !t.eof() && !(dir < 0 && t.bof()) && *steps < cap) {
        if (seen) seen->push_back(t.recNo());
        ++*steps;
        s = t.skip(dir);
    }
    return s;
}

// ---------------------------------------------------------------------------------
// Record counts

constexpr uint32_t kRecords = 31;

class RecordCountTest : public ::testing::Test {
protected:
    void SetUp() override {
        path_ = dir_.file("t.dbf");
        TableSpec design;
        design.fields = {{"NAME", 'C', 20}, {"CITY", 'C', 20}};
        ASSERT_TRUE(Table::create(path_, design).ok());
        std::unique_ptr<Table> t;
        ASSERT_TRUE(Table::open(path_, OpenMode::Exclusive, &t).ok());
        for (uint32_t r = 1; r <= kRecords; ++r) {
            ASSERT_TRUE(t->appendBlank().ok());
            ASSERT_TRUE(t->replace(0, "name " + std::to_string(r)).ok());
            ASSERT_TRUE(t->replace(1, "city " + std::to_string(r)).ok());
        }
        ASSERT_TRUE(t->indexTag("NAME", "NAME").ok());
        ASSERT_TRUE(t->close().ok());
        good_ = readBytes(path_);
        headerLength_ = u16(good_, 8);
        recordLength_ = u16(good_, 10);
        ASSERT_EQ(good_.size(), headerLength_ + kRecords * recordLength_ + 1);  // with its end mark
    }
    std::vector<std::string> names() {
        std::unique_ptr<Table> t;
        Status s = Table::open(path_, OpenMode::ReadOnlyShared, &t);
        EXPECT_TRUE(s.ok()) << s.toString();
        std::vector<std::string> seen;
        for (uint32_t r = 1; t && r <= t->recCount(); ++r) {
            EXPECT_TRUE(t->go(r).ok());
            seen.push_back(t->getTrimString(0));
        }
        return seen;
    }
    // The file cut to `records` whole records and `partial` bytes of the next one,
    // with the end mark when `mark`, and the header count set to `count`.
    std::string shaped(uint32_t count, uint32_t records, uint32_t partial, bool mark) const {
        std::string b = good_.substr(0, headerLength_ + records * recordLength_ + partial);
        if (mark) b.push_back(0x1A);
        put32(b, 4, count);
        return b;
    }

    TempDir dir_;
    std::string path_, good_;
    uint32_t headerLength_ = 0, recordLength_ = 0;
};

TEST_F(RecordCountTest, AHeaderThatDisagreesWithTheSizeIsReportedAndRecoveredWithoutLoss) {
    const uint32_t half = 10;  // bytes of a record: its deletion mark and "name N"
    const struct Case {
        const char* what;
        uint32_t count, records, partial;
        bool mark;
        const char* message;
        uint32_t recovered;
    } cases[] = {
        {"count 0", 0, kRecords, 0, true, "the header counts 0 records, but the file holds 31", kRecords},
        {"count 5", 5, kRecords, 0, true, "the header counts 5 records, but the file holds 31", kRecords},
        {"count 30, no end mark", 30, kRecords, 0, false, "the header counts 30 records, but the file holds 31",
         kRecords},
        {"count 5, last record cut short", 5, kRecords - 1, half, false,
         "the header counts 5 records, but the file holds 30 and part of another", kRecords},
        {"cut short after the count", 30, 30, half, true,
         "the file holds part of a record after its 30 records", kRecords},
        {"table cut short", kRecords, 26, 0, false, "the header counts 31 records, but the file holds only 26",
         26},
        {"table cut in a record", kRecords, 26, half, false,
         "the header counts 31 records, but the file holds only 26 and part of another", 27},
        {"nothing but the header", 3, 0, 0, false, "the header counts 3 records, but the file holds only 0", 0},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        writeBytes(path_, shaped(c.count, c.records, c.partial, c.mark));

        std::unique_ptr<Table> t;
        for (OpenMode mode : {OpenMode::Exclusive, OpenMode::ReadOnlyShared}) {
            Status s = Table::open(path_, mode, &t);
            ASSERT_TRUE(s.isCorruption()) << s.toString();
            EXPECT_EQ(s.message(), "Table record count is damaged (" + std::string(c.message) + "): " + path_);
        }
        RecordCount count;
        ASSERT_TRUE(Table::checkRecordCount(path_, &count).ok());
        EXPECT_FALSE(count.sound);
        EXPECT_EQ(count.describe(), c.message);

        ASSERT_TRUE(Table::recoverRecordCount(path_).ok());
        ASSERT_TRUE(Table::checkRecordCount(path_, &count).ok());
        EXPECT_TRUE(count.sound);
        const std::vector<std::string> seen = names();
        ASSERT_EQ(seen.size(), c.recovered);
        for (uint32_t r = 1; r <= c.recovered; ++r) EXPECT_EQ(seen[r - 1], "name " + std::to_string(r));
        // The index was built for the old count: it must not be trusted now.
        ASSERT_TRUE(Table::open(path_, OpenMode::Exclusive, &t).ok());
        EXPECT_EQ(t->indexState(), IndexState::Damaged);
        EXPECT_NE(t->indexProblem().find("not closed properly"), std::string::npos);
        if (c.partial) {  // what was missing of the last record is blank
            ASSERT_TRUE(t->go(c.recovered).ok());
            EXPECT_EQ(t->getString(1), std::string(20, ' '));
        }
        t.reset();
        writeBytes(dir_.file("t.cdx"), readBytes(dir_.file("t.cdx")).replace(28, 1, 1, '\0'));
    }
}

TEST_F(RecordCountTest, WhatIsNoRecordIsNotCounted) {
    std::string blank(recordLength_, ' ');
    const struct Case {
        const char* what;
        std::string bytes;
    } cases[] = {
        {"as written", good_},
        {"no end mark", good_.substr(0, good_.size() - 1)},
        // Bytes after the end mark are not records: another program's leftovers.
        {"bytes after the end mark", good_ + "leftover bytes"},
        // An append that wrote its blank record but not the count.
        {"blank record after the count", good_.substr(0, good_.size() - 1) + blank + "\x1A"},
        {"part of a blank record after the count", good_.substr(0, good_.size() - 1) + blank.substr(0, 7)},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        writeBytes(path_, c.bytes);
        RecordCount count;
        ASSERT_TRUE(Table::checkRecordCount(path_, &count).ok());
        EXPECT_TRUE(count.sound) << count.describe();
        EXPECT_EQ(names().size(), kRecords);
        ASSERT_TRUE(Table::recoverRecordCount(path_).ok());
        EXPECT_EQ(readBytes(path_), c.bytes);  // a sound table is left alone
    }
}

// A pack keeps what the table counts: one that no longer holds what it counted when
// it opened (another program cut the file under it) is not packed, and stays as it is.
TEST_F(RecordCountTest, PackRefusesATableThatNoLongerHoldsItsRecords) {
    std::unique_ptr<Table> t;
    ASSERT_TRUE(Table::open(path_, OpenMode::Exclusive, &t).ok());
    std::filesystem::resize_file(path_, headerLength_ + 20 * recordLength_);
    Status s = t->pack();
    EXPECT_TRUE(s.isCorruption()) << s.toString();
    t.reset();
    EXPECT_EQ(std::filesystem::file_size(path_), headerLength_ + 20 * recordLength_);
    EXPECT_FALSE(std::filesystem::exists(path_ + ".pack"));
}

// ---------------------------------------------------------------------------------
// Files of other tables

// Folder contents, the operation, and the files it may make or change.
struct CaseFolder {
    const char* what;
    std::vector<std::string> tables;        // made with a memo field and an index each
    std::vector<std::string> loose;         // other files, with made-up bytes
    std::function<void(const std::string& dir)> prepare;  // then this, when given
    std::function<Status(const std::string& dir)> run;
    std::vector<std::string> owned;         // the files the operation may make or change
};

TableSpec memoSpec() {
    TableSpec design;
    design.fields = {{"NAME", 'C', 10}, {"NOTES", 'M', 10}};
    return design;
}

Status makeTable(const std::string& path, const std::string& name) {
    Status s = Table::create(path, memoSpec());
    std::unique_ptr<Table> t;
    if (s.ok()) s = Table::open(path, OpenMode::Exclusive, &t);
    if (s.ok()) s = t->appendBlank();
    if (s.ok()) s = t->replace(0, name);
    if (s.ok()) s = t->replace(1, "memo of " + name);
    if (s.ok()) s = t->indexTag("NAME", "NAME");
    return s.ok() ? t->close() : s;
}

// Opens a table, drops its index and rebuilds it after a pack, as a reindex does.
Status rebuild(const std::string& path) {
    std::unique_ptr<Table> t;
    Status s = Table::open(path, OpenMode::Exclusive, &t);
    if (s.ok()) s = t->removeStructuralIndex();
    if (s.ok()) s = t->pack();
    if (s.ok()) s = t->indexTag("NAME", "NAME");
    std::string memo;
    if (s.ok()) s = t->goTop();
    if (s.ok()) s = t->getMemo(1, &memo);
    if (s.ok() && memo.rfind("memo of ", 0) != 0) s = Status::Corruption("took another memo file: " + memo);
    return s.ok() ? t->close() : s;
}

TEST(LetterCaseTest, NoOperationTouchesAFileOfAnotherTable) {
    const CaseFolder cases[] = {
        {"a new table beside one in another case",
         {"t1.DBF"},
         {},
         nullptr,
         [](const std::string& d) { return makeTable(d + "/T1.dbf", "new"); },
         {"T1.dbf", "T1.fpt", "T1.cdx"}},
        {"a new table beside files left in another case",
         {},
         {"t1.CDX", "t1.FPT", "T1.CDX"},
         nullptr,
         [](const std::string& d) { return makeTable(d + "/T1.dbf", "new"); },
         {"T1.dbf", "T1.fpt", "T1.cdx"}},
        {"a new table whose memo file name is taken",
         {"T1.DBF"},
         {"T1.fpt"},
         nullptr,
         [](const std::string& d) {
             Status s = Table::create(d + "/T1.dbf", memoSpec());
             return s.isInvalidArgument() ? Status::OK() : Status::Corruption("created: " + s.toString());
         },
         {}},
        {"rebuilding beside a table in another case",
         {"T1.dbf", "t1.DBF"},
         {},
         nullptr,
         [](const std::string& d) { return rebuild(d + "/T1.dbf"); },
         {"T1.dbf", "T1.fpt", "T1.cdx"}},
        {"rebuilding the other one",
         {"T1.dbf", "t1.DBF"},
         {},
         nullptr,
         [](const std::string& d) { return rebuild(d + "/t1.DBF"); },
         {"t1.DBF", "t1.FPT", "t1.CDX"}},
        {"rebuilding beside a table that differs in the extension's case",
         {"T1.dbf", "T1.DBF"},
         {},
         nullptr,
         [](const std::string& d) { return rebuild(d + "/T1.DBF"); },
         {"T1.DBF", "T1.FPT", "T1.CDX"}},
        {"rebuilding where the pack's own file name is taken",
         {"T1.dbf"},
         {"T1.dbf.pack"},
         nullptr,
         [](const std::string& d) { return rebuild(d + "/T1.dbf"); },
         {"T1.dbf", "T1.fpt", "T1.cdx"}},
        {"rebuilding a table whose files were renamed on another system",
         {"ADD1.DBF"},
         {},
         [](const std::string& d) {
             std::filesystem::rename(d + "/ADD1.CDX", d + "/add1.cdx");
             std::filesystem::rename(d + "/ADD1.FPT", d + "/Add1.fpt");
         },
         [](const std::string& d) { return rebuild(d + "/ADD1.DBF"); },
         {"ADD1.DBF", "Add1.fpt", "add1.cdx"}},
    };
    for (const CaseFolder& c : cases) {
        SCOPED_TRACE(c.what);
        TempDir dir;
        for (const std::string& t : c.tables) ASSERT_TRUE(makeTable(dir.file(t), t).ok()) << t;
        for (const std::string& f : c.loose) writeBytes(dir.file(f), "bytes of " + f + std::string(600, '*'));
        if (c.prepare) c.prepare(dir.path());
        std::map<std::string, std::string> before = snapshot(dir.path());
        Status s = c.run(dir.path());
        ASSERT_TRUE(s.ok()) << s.toString();
        std::map<std::string, std::string> after = snapshot(dir.path());
        for (const std::string& f : c.owned) {
            before.erase(f);
            after.erase(f);
        }
        EXPECT_EQ(after, before);
        // What the operation made is a sound table with its own index.
        if (!c.owned.empty()) {
            std::unique_ptr<Table> t;
            ASSERT_TRUE(Table::open(dir.file(c.owned[0]), OpenMode::ReadOnlyShared, &t).ok());
            EXPECT_EQ(t->indexState(), IndexState::Ok);
            EXPECT_EQ(t->structuralIndexFile(), dir.file(c.owned[2]));
            EXPECT_EQ(t->memoPath(), dir.file(c.owned[1]));
            EXPECT_TRUE(t->verifyIndexes().ok());
        }
    }
}

// ---------------------------------------------------------------------------------
// Index pages

// A table whose NAME tag spreads over several leaves, and the pages of that tag.
class IndexPageTest : public ::testing::Test {
protected:
    static constexpr uint32_t kNames = 400;

    void SetUp() override {
        path_ = dir_.file("t.dbf");
        cdx_ = dir_.file("t.cdx");
        TableSpec design;
        design.fields = {{"NAME", 'C', 16}};
        ASSERT_TRUE(Table::create(path_, design).ok());
        std::unique_ptr<Table> t;
        ASSERT_TRUE(Table::open(path_, OpenMode::Exclusive, &t).ok());
        std::mt19937 rng(3);
        for (uint32_t r = 1; r <= kNames; ++r) {
            std::string name;
            for (int i = 0; i < 12; ++i) name += char('A' + rng() % 26);
            ASSERT_TRUE(t->appendBlank().ok());
            ASSERT_TRUE(t->replace(0, name).ok());
        }
        ASSERT_TRUE(t->indexTag("NAME", "NAME").ok());
        ASSERT_TRUE(t->close().ok());
        good_ = readBytes(cdx_);

        const indexpages::TagPages pages = indexpages::tagPages(good_, "NAME");
        root_ = pages.root;
        leaves_ = pages.leaves;
        ASSERT_GE(leaves_.size(), 5u);
    }

    TempDir dir_;
    std::string path_, cdx_, good_;
    uint32_t root_ = 0;
    std::vector<uint32_t> leaves_;
};

TEST_F(IndexPageTest, DamagedPagesAreReportedAndNoWalkGoesOnForEver) {
    const uint32_t size = uint32_t(good_.size());
    const struct Case {
        const char* what;
        std::function<void(std::string&, const std::vector<uint32_t>&, uint32_t root)> damage;
        int dir;  // the walk that meets it
        const char* message;
    } cases[] = {
        {"next page is the page itself", [](std::string& b, auto& l, uint32_t) { put32(b, l[2] + 8, l[2]); }, +1,
         "leaf chain is broken"},
        {"next page is an earlier page", [](std::string& b, auto& l, uint32_t) { put32(b, l[3] + 8, l[1]); }, +1,
         "leaf chain is broken"},
        {"next page skips a page", [](std::string& b, auto& l, uint32_t) { put32(b, l[1] + 8, l[3]); }, +1,
         "leaf chain is broken"},
        {"previous page is the page itself", [](std::string& b, auto& l, uint32_t) { put32(b, l[2] + 4, l[2]); },
         -1, "leaf chain is broken"},
        {"next page past the end of the file",
         [size](std::string& b, auto& l, uint32_t) { put32(b, l[2] + 8, size + 4096); }, +1, "lies outside"},
        {"next page not on a page boundary",
         [](std::string& b, auto& l, uint32_t) { put32(b, l[2] + 8, l[3] + 100); }, +1, "lies outside"},
        {"one key fewer", [](std::string& b, auto& l, uint32_t) { put16(b, l[2] + 2, u16(b, l[2] + 2) - 1); }, +1,
         "free space does not match"},
        {"one key more", [](std::string& b, auto& l, uint32_t) { put16(b, l[2] + 2, u16(b, l[2] + 2) + 1); }, +1,
         "is damaged"},
        {"a key count far too high", [](std::string& b, auto& l, uint32_t) { put16(b, l[2] + 2, 0x7FFF); }, +1,
         "too many keys"},
        {"a record number past the table",
         [](std::string& b, auto& l, uint32_t) {
             const uint32_t mask = u32(b, l[2] + 14);
             for (int i = 0; i < 2; ++i) b[l[2] + 24 + i] = char(uint8_t(b[l[2] + 24 + i]) | (mask >> (8 * i)));
         },
         +1, "refers to record"},
        {"the first child is not the first leaf",
         [](std::string& b, auto& l, uint32_t root) { indexpages::putBe32(b, root + 12 + 16 + 4, l[1]); },
         +1, "edge leaf"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        std::string bytes = good_;
        c.damage(bytes, leaves_, root_);
        writeBytes(cdx_, bytes);

        std::unique_ptr<Table> t;
        ASSERT_TRUE(Table::open(path_, OpenMode::Exclusive, &t).ok());
        ASSERT_EQ(t->indexState(), IndexState::Ok);  // pages are read as they are needed
        ASSERT_TRUE(t->setOrder(t->tagArea("NAME")).ok());
        size_t steps = 0;
        const auto start = std::chrono::steady_clock::now();
        Status s = walk(*t, c.dir, &steps);
        EXPECT_LT(std::chrono::steady_clock::now() - start, std::chrono::seconds(5));
        EXPECT_TRUE(s.isCorruption()) << s.toString() << " after " << steps << " steps";
        EXPECT_NE(s.message().find(c.message), std::string::npos) << s.message();
        EXPECT_NE(s.message().find(cdx_), std::string::npos) << s.message();
        EXPECT_LE(steps, kNames);
        // Found damaged, the index is closed: the table goes on in record order.
        EXPECT_EQ(t->indexState(), IndexState::Damaged);
        EXPECT_EQ(t->indexProblem(), s.message());
        EXPECT_EQ(t->orderCount(), 0);
        std::vector<uint32_t> seen;
        ASSERT_TRUE(walk(*t, +1, &steps, &seen).ok());
        EXPECT_EQ(seen.size(), kNames);
        ASSERT_TRUE(t->close().ok());
        // And the next open knows it.
        ASSERT_TRUE(Table::open(path_, OpenMode::ReadOnlyShared, &t).ok());
        EXPECT_EQ(t->indexState(), IndexState::Damaged);
    }
}

// A tree whose pages are sound walks the same with the checks as without.
TEST_F(IndexPageTest, SoundPagesWalkBothWays) {
    std::unique_ptr<Table> t;
    ASSERT_TRUE(Table::open(path_, OpenMode::ReadOnlyShared, &t).ok());
    ASSERT_TRUE(t->setOrder(1).ok());
    std::vector<uint32_t> forward, backward;
    size_t steps = 0;
    ASSERT_TRUE(walk(*t, +1, &steps, &forward).ok());
    ASSERT_TRUE(walk(*t, -1, &steps, &backward).ok());
    EXPECT_EQ(forward.size(), kNames);
    std::reverse(backward.begin(), backward.end());
    EXPECT_EQ(forward, backward);
    EXPECT_TRUE(t->verifyIndexes().ok());
}

// ---------------------------------------------------------------------------------
// Memo files

class MemoDamageTest : public ::testing::Test {
protected:
    void SetUp() override {
        path_ = dir_.file("m.dbf");
        memo_ = dir_.file("m.fpt");
        TableSpec design;
        design.fields = {{"NAME", 'C', 10}, {"NOTES", 'M', 10}};
        ASSERT_TRUE(Table::create(path_, design).ok());
        std::unique_ptr<Table> t;
        ASSERT_TRUE(Table::open(path_, OpenMode::Exclusive, &t).ok());
        for (const char* text : {"first memo", "", "third memo, a longer one that takes two blocks of the file"}) {
            ASSERT_TRUE(t->appendBlank().ok());
            ASSERT_TRUE(t->replace(0, "n").ok());
            ASSERT_TRUE(t->replace(1, text).ok());
        }
        ASSERT_TRUE(t->close().ok());
        good_ = readBytes(memo_);
    }
    TempDir dir_;
    std::string path_, memo_, good_;
};

TEST_F(MemoDamageTest, AMemoThatCannotBeReadIsAnErrorNotAnEmptyMemo) {
    const size_t third = 9 * 64;  // where record 3's memo starts
    const struct Case {
        const char* what;
        std::string bytes;
        uint32_t record;  // the record whose memo cannot be read
        const char* message;
    } cases[] = {
        {"block size 0", std::string(good_).replace(6, 2, 2, '\0'), 1, "block size 0"},
        {"length past the end", std::string(good_).replace(third + 4, 4, "\x00\x01\x00\x00", 4), 3,
         "runs past the end"},
        {"memo file cut in a memo", good_.substr(0, third + 20), 3, "runs past the end"},
        {"memo file cut before a memo", good_.substr(0, third), 3, "lies past the end"},
        {"memo file cut to nothing", std::string(), 1, "file too small"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        writeBytes(memo_, c.bytes);
        std::unique_ptr<Table> t;
        Status s = Table::open(path_, OpenMode::Exclusive, &t);
        ASSERT_TRUE(s.ok()) << s.toString();  // the records are still there to be used
        ASSERT_TRUE(t->go(c.record).ok());
        std::string text;
        s = t->getMemo(1, &text);
        EXPECT_TRUE(s.isCorruption()) << s.toString();
        EXPECT_NE(s.message().find(c.message), std::string::npos) << s.message();
        EXPECT_NE(s.message().find(memo_), std::string::npos) << s.message();
        EXPECT_FALSE(t->empty(1));
        // A record without a memo reads as before.
        ASSERT_TRUE(t->go(2).ok());
        EXPECT_TRUE(t->getMemo(1, &text).ok());
        EXPECT_TRUE(t->empty(1));
        ASSERT_TRUE(t->close().ok());
    }
}

TEST_F(MemoDamageTest, AMemoFileWithoutABlockSizeIsNotWritten) {
    writeBytes(memo_, std::string(good_).replace(6, 2, 2, '\0'));
    std::unique_ptr<Table> t;
    ASSERT_TRUE(Table::open(path_, OpenMode::Exclusive, &t).ok());
    ASSERT_TRUE(t->go(2).ok());
    Status s = t->replace(1, "new text");
    EXPECT_TRUE(s.isCorruption()) << s.toString();
    ASSERT_TRUE(t->close().ok());
    EXPECT_EQ(readBytes(memo_), std::string(good_).replace(6, 2, 2, '\0'));
}

// ---------------------------------------------------------------------------------
// Files that are not regular files

TEST(SpecialFileTest, APipeInThePlaceOfAFileIsRefusedAtOnce) {
    TempDir dir;
    TableSpec design;
    design.fields = {{"NAME", 'C', 10}, {"NOTES", 'M', 10}};
    const struct Case {
        const char* what;
        const char* pipe;  // the file that is a pipe
        bool opens;        // the table opens all the same
    } cases[] = {
        {"the table", "x.DBF", false},
        {"the memo file", "x.FPT", false},
        {"the index", "x.CDX", true},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        std::filesystem::remove_all(dir.file("x.DBF"));
        std::filesystem::remove_all(dir.file("x.FPT"));
        std::filesystem::remove_all(dir.file("x.CDX"));
        if (std::string(c.pipe) != "x.DBF") {
            ASSERT_TRUE(Table::create(dir.file("x.DBF"), design).ok());
        }
        if (std::string(c.pipe) == "x.FPT") std::filesystem::remove(dir.file("x.FPT"));
        ASSERT_EQ(::mkfifo(dir.file(c.pipe).c_str(), 0644), 0);

        // Run in a thread: a hanging open fails the test instead of holding it.
        for (OpenMode mode : {OpenMode::ReadOnlyShared, OpenMode::Exclusive}) {
            auto done = std::make_shared<std::atomic<bool>>(false);
            auto result = std::make_shared<Status>();
            const std::string path = dir.file("x.DBF");
            std::thread([=] {
                std::unique_ptr<Table> t;
                *result = Table::open(path, mode, &t);
                *done = true;
            }).detach();
            for (int i = 0; i < 500 && !*done; ++i) std::this_thread::sleep_for(std::chrono::milliseconds(10));
            ASSERT_TRUE(*done) << "the open waits on the pipe";
            EXPECT_EQ(result->ok(), c.opens) << result->toString();
        }
        std::unique_ptr<Table> t;
        Status s = Table::create(dir.file(c.pipe), design);
        EXPECT_FALSE(s.ok());
        struct stat st;
        ASSERT_EQ(::stat(dir.file(c.pipe).c_str(), &st), 0);
        EXPECT_TRUE(S_ISFIFO(st.st_mode));  // left as it was
    }
}

}  // namespace
