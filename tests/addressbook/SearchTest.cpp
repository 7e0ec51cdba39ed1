#include <gtest/gtest.h>

#include "AddressTable.h"
#include "Search.h"
#include "SortOrders.h"

namespace {

TEST(SortOrdersTest, NamesMapToTheirTags) {
    EXPECT_EQ(SortOrders::names(),
              (QStringList{"Last Name", "First Name", "Title", "Organization", "Street", "City", "State",
                           "Zip", "Country", "Phone", "E-mail", "Fax", "Date", "Codes"}));
    const struct {
        const char* name;
        const char* tag;
    } cases[] = {
        {"Last Name", "LNAME"}, {"first name", "FNAME"}, {"ORGANIZATION", "ORG"}, {"e-mail", "EMAIL"},
        {"Title", "TITLE"},     {"Street", "STREET"},    {"city", "CITY"},        {"State", "STATE"},
        {"Zip", "ZIP"},         {"Country", "COUNTRY"},  {"Phone", "PHONE"},      {"Fax", "FAX"},
        {"Codes", "CODES"},     {"Date", "DATE"},        {"LName", ""},           {"Address 2", ""},
    };
    for (const auto& c : cases) EXPECT_EQ(SortOrders::tagForName(c.name), c.tag) << c.name;
}

TEST(SortOrdersTest, SetOrderToSelectsTheTagAndSaysWhatToShow) {
    AddressTable table;
    QString current;
    SortOrders::OrderChoice choice = SortOrders::SetOrderTo(*table, &current, "city");
    EXPECT_EQ(current, "CITY");
    EXPECT_EQ(table->indexOrd(), table->tagArea("CITY"));
    EXPECT_EQ(choice.panelText, "Sorted by city");
    EXPECT_EQ(choice.checkedItem, 5);

    choice = SortOrders::SetMenuOrder(*table, &current, "&E-mail");
    EXPECT_EQ(current, "EMAIL");
    EXPECT_EQ(choice.panelText, "Sorted by E-mail");
    EXPECT_EQ(choice.checkedItem, 10);

    // Not an order: the order stays, the panel still shows the name, no item is ticked.
    choice = SortOrders::SetOrderTo(*table, &current, "Nonsense");
    EXPECT_EQ(current, "EMAIL");
    EXPECT_EQ(table->indexOrd(), table->tagArea("EMAIL"));
    EXPECT_EQ(choice.panelText, "Sorted by Nonsense");
    EXPECT_EQ(choice.checkedItem, -1);

    SortOrders::SetCurrentOrder(*table, &current, "");
    EXPECT_EQ(current, "");
    EXPECT_EQ(table->indexOrd(), table->tagArea("EMAIL"));
    SortOrders::SetCurrentOrder(*table, &current, "NOSUCH");
    EXPECT_EQ(table->indexOrd(), 0);  // natural order
}

class SearchTest : public ::testing::Test {
  protected:
    void SetUp() override {
        table_.add({{"LNAME", "Smith"}, {"CITY", "Boston"}, {"STATE", "MA"}, {"DATE", "19970428"}});  // 1
        table_.add({{"LNAME", "smart"}, {"CITY", "Austin"}, {"STATE", "TX"}, {"DATE", "20010101"}});  // 2
        table_.add({{"LNAME", "Adams"}, {"CITY", "Boston"}, {"STATE", "AL"}, {"DATE", "19970101"}});  // 3
        table_.add({{"LNAME", "Smalls"}, {"CITY", "Bosque"}, {"ISDEL", "T"}});                        // 4
        table_.add({{"LNAME", "Zed"}, {"CITY", "Chicago"}});                                          // 5
        ASSERT_TRUE(table_->query("!ISDEL").ok());
    }
    AddressTable table_;
    QString current_;
};

TEST_F(SearchTest, LandsOnTheFirstKeyBeginningWithTheTextOrStaysPut) {
    const struct {
        const char* order;
        const char* text;
        bool found;
        uint32_t landsOn;
    } cases[] = {
        {"Last Name", "sm", true, 2},  // SMART before SMITH, in any case
        {"Last Name", "SMI", true, 1},
        {"Last Name", "smal", false, 5},  // only the deleted Smalls: the
                                          // record stays
        {"Last Name", "xy", false, 5},
        {"City", "bos", true, 3},  // BOSTON + AL before BOSTON + MA
        {"City", "boston  ", true, 3},
        {"City", "chicago", true, 5},
        {"Date", "1997", true, 3},
        {"Date", "199704", true, 1},
        {"Date", "04/28/1997", false, 5},  // dates are searched as YYYYMMDD
        {"Last Name", "Ωmega", false, 5},  // no key can hold it
    };
    for (const auto& c : cases) {
        ASSERT_TRUE(table_->go(5).ok());
        SortOrders::OrderChoice choice{};
        EXPECT_EQ(Search::SearchOrder(*table_, &current_, c.order, c.text, &choice), c.found) << c.text;
        EXPECT_EQ(table_->recNo(), c.landsOn) << c.order << " " << c.text;
        EXPECT_EQ(current_, SortOrders::tagForName(c.order));
        EXPECT_EQ(choice.panelText, QString("Sorted by ") + c.order);
        EXPECT_FALSE(table_->softSeek());
        EXPECT_FALSE(table_->exact());
    }
    // An empty text changes nothing, not even the order.
    ASSERT_TRUE(table_->go(2).ok());
    EXPECT_FALSE(Search::SearchOrder(*table_, &current_, "Zip", "", nullptr));
    EXPECT_EQ(current_, "LNAME");
    EXPECT_EQ(table_->recNo(), 2u);
    EXPECT_EQ(Search::LabelText("City"), "Search City starting with...");
}

TEST(MemoContainsTest, Rules) {
    const QString longMemo = QString(Search::kMaxMemoSearched - 6, 'x');
    const struct {
        QString memo;
        QString text;
        bool contains;
    } cases[] = {
        {"", "x", false},
        {"anything", "", false},
        {"Hello World", "wORLD", true},
        {longMemo + "needle", "needle", true},    // ends at character 32767
        {longMemo + "xneedle", "needle", false},  // one past it
        {"call " + QString(255, 'a'), QString(255, 'a') + "zzz",
         true},  // only 255 characters are searched for
    };
    for (const auto& c : cases) {
        EXPECT_EQ(Search::MemoContains(c.memo, c.text), c.contains) << c.memo.left(20).toStdString();
    }
}

class MemoSearchTest : public ::testing::Test {
  protected:
    void SetUp() override {
        table_.add({{"LNAME", "Carter"}, {"MEMO", "Met at the World fair"}});  // 1
        table_.add({{"LNAME", "Baker"}, {"MEMO", ""}});                        // 2
        table_.add({{"LNAME", "Able"}, {"MEMO", "old world wine"}});           // 3
        table_.add({{"LNAME", "Dunn"}, {"MEMO", "nothing here"}});             // 4
        table_.order("LNAME");
        ASSERT_TRUE(table_->query("!ISDEL").ok());
    }
    AddressTable table_;
};

TEST_F(MemoSearchTest, FindsInOrderFindsNextAndKeepsTheRecordOtherwise) {
    ASSERT_TRUE(table_->go(2).ok());
    EXPECT_EQ(Search::MemoSearch(*table_, "WORLD", Search::MemoSearchStart::FirstRecord),
              Search::MemoSearchResult::Found);
    EXPECT_EQ(table_->recNo(), 3u);  // Able comes first
    EXPECT_EQ(Search::MemoSearch(*table_, "WORLD", Search::MemoSearchStart::AfterCurrent),
              Search::MemoSearchResult::Found);
    EXPECT_EQ(table_->recNo(), 1u);
    EXPECT_EQ(Search::MemoSearch(*table_, "WORLD", Search::MemoSearchStart::AfterCurrent),
              Search::MemoSearchResult::NotFound);
    EXPECT_EQ(table_->recNo(), 1u);

    // Find Next from the last record: nothing after it, the record stays.
    ASSERT_TRUE(table_->goBottom().ok());
    ASSERT_EQ(table_->recNo(), 4u);
    EXPECT_EQ(Search::MemoSearch(*table_, "nothing", Search::MemoSearchStart::AfterCurrent),
              Search::MemoSearchResult::NotFound);
    EXPECT_EQ(table_->recNo(), 4u);
    EXPECT_FALSE(table_->eof());
}

TEST_F(MemoSearchTest, CancelKeepsTheRecord) {
    ASSERT_TRUE(table_->go(2).ok());
    int asked = 0;
    EXPECT_EQ(Search::MemoSearch(*table_, "here", Search::MemoSearchStart::FirstRecord,
                                 [&] { return ++asked < 2; }),
              Search::MemoSearchResult::Cancelled);
    EXPECT_EQ(asked, 2);
    EXPECT_EQ(table_->recNo(), 2u);
    EXPECT_EQ(Search::SearchingText("here"), "Searching for: here");
}

}  // namespace
