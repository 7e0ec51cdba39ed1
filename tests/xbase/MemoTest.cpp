#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <random>

#include "Table.h"
#include "TempDir.h"

using namespace xbase;

namespace {

class MemoTest : public ::testing::Test {
protected:
    void SetUp() override {
        path_ = dir_.file("m.dbf");
        TableSpec design;
        design.fields = {{"NAME", 'C', 10}, {"MEMO", 'M', 10}};
        ASSERT_TRUE(Table::create(path_, design).ok());
        ASSERT_TRUE(Table::open(path_, OpenMode::Exclusive, &table_).ok());
    }
    uint32_t blockOf(uint32_t recNo) {
        EXPECT_TRUE(table_->go(recNo).ok());
        const std::string ref(table_->recordBytes() + 11, 10);
        return ref == std::string(10, ' ') ? 0 : uint32_t(std::stoul(ref));
    }
    void setMemo(uint32_t recNo, const std::string& text) {
        ASSERT_TRUE(table_->go(recNo).ok());
        ASSERT_TRUE(table_->replace(1, text).ok());
        ASSERT_TRUE(table_->commit().ok());
    }
    std::string memo(uint32_t recNo) {
        std::string text;
        EXPECT_TRUE(table_->go(recNo).ok());
        EXPECT_TRUE(table_->getMemo(1, &text).ok());
        return text;
    }
    TempDir dir_;
    std::string path_;
    std::unique_ptr<Table> table_;
};

TEST_F(MemoTest, RewritesInPlaceGrowsAtTheEndOrAppends) {
    for (int i = 0; i < 3; ++i) ASSERT_TRUE(table_->appendBlank().ok());
    setMemo(1, std::string(100, 'a'));  // 2 blocks: 8..9
    setMemo(2, std::string(50, 'b'));   // 1 block: 10
    EXPECT_EQ(blockOf(1), 8u);
    EXPECT_EQ(blockOf(2), 10u);

    setMemo(1, std::string(110, 'A'));  // still fits two blocks: in place
    EXPECT_EQ(blockOf(1), 8u);
    setMemo(2, std::string(300, 'B'));  // the last memo grows where it is
    EXPECT_EQ(blockOf(2), 10u);
    setMemo(1, std::string(200, 'C'));  // no room: appended after record 2's memo
    EXPECT_EQ(blockOf(1), 10u + 5);

    EXPECT_EQ(memo(1), std::string(200, 'C'));
    EXPECT_EQ(memo(2), std::string(300, 'B'));
    setMemo(2, "");
    EXPECT_EQ(blockOf(2), 0u);
    EXPECT_EQ(memo(2), "");
    EXPECT_EQ(memo(3), "");
}

TEST_F(MemoTest, RandomRewritesNeverDisturbOtherMemos) {
    const uint32_t kRecords = 40;
    for (uint32_t i = 0; i < kRecords; ++i) ASSERT_TRUE(table_->appendBlank().ok());
    std::vector<std::string> model(kRecords + 1);
    std::mt19937 rng(7);
    for (int step = 0; step < 2000; ++step) {
        const uint32_t r = 1 + rng() % kRecords;
        const size_t len = rng() % 5 == 0 ? 0 : rng() % 700;
        std::string text(len, char('a' + step % 26));
        if (len > 1) text[len - 1] = '#';
        setMemo(r, text);
        model[r] = text;
    }
    ASSERT_TRUE(table_->close().ok());
    ASSERT_TRUE(Table::open(path_, OpenMode::Exclusive, &table_).ok());
    for (uint32_t r = 1; r <= kRecords; ++r) EXPECT_EQ(memo(r), model[r]) << "record " << r;
}

TEST_F(MemoTest, LargeMemoAndBinarySafeText) {
    ASSERT_TRUE(table_->appendBlank().ok());
    std::string text(200000, '\0');
    for (size_t i = 0; i < text.size(); ++i) text[i] = char(i * 7);
    setMemo(1, text);
    EXPECT_EQ(memo(1), text);
}

TEST_F(MemoTest, PointersPastTheEndAreReportedNotFollowed) {
    ASSERT_TRUE(table_->appendBlank().ok());
    ASSERT_TRUE(table_->appendBlank().ok());
    setMemo(1, "hello");
    table_.reset();

    // Record 2 points far past the end of the memo file; record 1's memo claims a
    // length that runs past the end.
    std::fstream f(path_, std::ios::in | std::ios::out | std::ios::binary);
    const long header = 32 + 2 * 32 + 1;
    f.seekp(header + 21 + 11);
    f << "    999999";
    f.close();
    std::fstream m(dir_.file("m.fpt"), std::ios::in | std::ios::out | std::ios::binary);
    m.seekp(8 * 64 + 4);
    m.write("\x00\x10\x00\x00", 4);
    m.close();

    ASSERT_TRUE(Table::open(path_, OpenMode::Exclusive, &table_).ok());
    std::string text;
    ASSERT_TRUE(table_->go(2).ok());
    Status s = table_->getMemo(1, &text);
    EXPECT_TRUE(s.isCorruption()) << s.toString();
    EXPECT_NE(s.message().find("past the end"), std::string::npos);
    ASSERT_TRUE(table_->go(1).ok());
    EXPECT_TRUE(table_->getMemo(1, &text).isCorruption());

    // Rewriting a record whose memo is unreadable appends a fresh memo.
    ASSERT_TRUE(table_->replace(1, "fresh").ok());
    EXPECT_EQ(memo(1), "fresh");
}

}  // namespace
