#include <gtest/gtest.h>

#include "SavedCursor.h"
#include "Table.h"
#include "TempDir.h"

namespace {

using xbase::Table;

// A table of ten records N1..N10 with a descending tag on N.
class SavedCursorTest : public ::testing::Test {
  protected:
    void SetUp() override {
        const std::string path = dir_.file("t.dbf");
        xbase::TableSpec design;
        design.fields = {{"N", 'N', 4}};
        ASSERT_TRUE(Table::create(path, design).ok());
        ASSERT_TRUE(Table::open(path, xbase::OpenMode::Exclusive, &table_).ok());
        for (int i = 1; i <= 10; ++i) {
            ASSERT_TRUE(table_->appendBlank().ok());
            ASSERT_TRUE(table_->replace(0, std::to_string(i)).ok());
        }
        ASSERT_TRUE(table_->indexTag("DOWN", "-N").ok());
    }
    // Moves everything a job may move: query, order, settings and record.
    void wander() {
        ASSERT_TRUE(table_->query("N > 5").ok());
        ASSERT_TRUE(table_->setOrder(0).ok());
        table_->setExact(!table_->exact());
        table_->setSoftSeek(!table_->softSeek());
        table_->setDeleted(!table_->hidesDeleted());
        ASSERT_TRUE(table_->goBottom().ok());
    }
    TempDir dir_;
    std::unique_ptr<Table> table_;
};

TEST_F(SavedCursorTest, PutsEverythingBackAndKeepsAPositionWhenAsked) {
    ASSERT_TRUE(table_->query("N < 9").ok());
    ASSERT_TRUE(table_->setOrder(table_->tagArea("DOWN")).ok());
    ASSERT_TRUE(table_->go(4).ok());
    const bool exact = table_->exact(), softSeek = table_->softSeek(), hides = table_->hidesDeleted();
    for (bool keep : {false, true}) {
        {
            SavedCursor saved(*table_);
            EXPECT_EQ(saved.recNo(), 4u);
            wander();
            if (keep) saved.keepPosition();
        }
        EXPECT_EQ(table_->queryText(), "N < 9");
        EXPECT_EQ(table_->indexOrd(), table_->tagArea("DOWN"));
        EXPECT_EQ(table_->exact(), exact);
        EXPECT_EQ(table_->softSeek(), softSeek);
        EXPECT_EQ(table_->hidesDeleted(), hides);
        EXPECT_EQ(table_->recNo(), keep ? 10u : 4u);
        ASSERT_TRUE(table_->go(4).ok());
    }
    // Visible records follow the restored query and order again.
    ASSERT_TRUE(table_->goTop().ok());
    EXPECT_EQ(table_->recNo(), 8u);
}

TEST_F(SavedCursorTest, EndOfFileStaysEndOfFile) {
    ASSERT_TRUE(table_->goBottom().ok());
    ASSERT_TRUE(table_->skip(1).ok());
    ASSERT_TRUE(table_->eof());
    {
        SavedCursor saved(*table_);
        EXPECT_EQ(saved.recNo(), 0u);
        ASSERT_TRUE(table_->go(3).ok());
    }
    EXPECT_TRUE(table_->eof());
}

}  // namespace
