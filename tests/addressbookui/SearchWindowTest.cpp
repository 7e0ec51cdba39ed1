#include <QComboBox>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QTest>
#include <QTimer>

#include "AddressTable.h"
#include "TAddressSearch.h"
#include "TMemoSearching.h"
#include "UiTestSupport.h"

namespace {

class SearchWindowTest : public ::testing::Test {
  protected:
    void SetUp() override {
        table_.add({{"LNAME", "Smith"}, {"CITY", "Boston"}, {"STATE", "MA"}, {"DATE", "19970428"}});  // 1
        table_.add({{"LNAME", "smart"}, {"CITY", "Austin"}, {"STATE", "TX"}, {"DATE", "20010101"}});  // 2
        table_.add({{"LNAME", "Adams"}, {"CITY", "Boston"}, {"STATE", "AL"}, {"DATE", "19970101"}});  // 3
        table_.add({{"LNAME", "Zed"}, {"CITY", "Chicago"}});                                          // 4
        table_.order("LNAME");
        ASSERT_TRUE(table_->query("!ISDEL").ok());
    }
    AddressTable table_;
    QString currentOrder_ = "LNAME";
    RecordedServices answers_;
};

TEST_F(SearchWindowTest, OffersTheCurrentOrderAndLabelsTheEditForTheChosenOne) {
    currentOrder_ = "CITY";
    TAddressSearch dialog(*table_, currentOrder_, answers_.services());
    EXPECT_EQ(dialog.windowTitle(), "Search");
    EXPECT_EQ(dialog.SearchOrderCombo->count(), 14);
    EXPECT_EQ(dialog.SearchOrderCombo->currentText(), "City");
    EXPECT_EQ(dialog.SearchLabel->text(), "Search City starting with...");
    dialog.SearchOrderCombo->setCurrentText("E-mail");
    EXPECT_EQ(dialog.SearchLabel->text(), "Search E-mail starting with...");
    // Choosing an order is not searching: nothing changes until Ok.
    EXPECT_EQ(currentOrder_, "CITY");
}

TEST_F(SearchWindowTest, OkLandsOnTheFirstKeyBeginningWithTheTextOrLeavesTheRecord) {
    const struct {
        const char* order;
        const char* text;
        bool found;
        uint32_t landsOn;
    } cases[] = {
        {"Last Name", "sm", true, 2},  // SMART before SMITH, whatever the case typed
        {"City", "bos", true, 3},      // the key continues with the state: BOSTONAL first
        {"Date", "1997", true, 3},
        {"Last Name", "xy", false, 4},  // no key begins so: the record stays
    };
    for (const auto& c : cases) {
        ASSERT_TRUE(table_->go(4).ok());
        currentOrder_ = "LNAME";
        TAddressSearch dialog(*table_, currentOrder_, answers_.services());
        dialog.SearchOrderCombo->setCurrentText(c.order);
        QTest::keyClicks(dialog.SearchEdit, c.text);
        QTest::mouseClick(dialog.OkButton, Qt::LeftButton);
        EXPECT_EQ(dialog.result(), QDialog::Accepted);
        EXPECT_TRUE(dialog.searched());
        EXPECT_EQ(dialog.found(), c.found) << c.text;
        EXPECT_EQ(table_->recNo(), c.landsOn) << c.order << " " << c.text;
        EXPECT_EQ(currentOrder_, SortOrders::tagForName(c.order));
        EXPECT_EQ(dialog.orderChoice().panelText, QString("Sorted by ") + c.order);
        EXPECT_EQ(dialog.orderChoice().checkedItem, dialog.SearchOrderCombo->currentIndex());
    }
    EXPECT_TRUE(answers_.asked().isEmpty());  // not even a miss is told
}

TEST_F(SearchWindowTest, CancelOrAnEmptyTextChangesNothing) {
    ASSERT_TRUE(table_->go(4).ok());
    {
        TAddressSearch dialog(*table_, currentOrder_, answers_.services());
        dialog.SearchOrderCombo->setCurrentText("City");
        QTest::keyClicks(dialog.SearchEdit, "bos");
        QTest::mouseClick(dialog.CancelButton, Qt::LeftButton);
        EXPECT_EQ(dialog.result(), QDialog::Rejected);
    }
    {
        TAddressSearch dialog(*table_, currentOrder_, answers_.services());
        dialog.SearchOrderCombo->setCurrentText("City");
        QTest::mouseClick(dialog.OkButton, Qt::LeftButton);
        EXPECT_FALSE(dialog.searched());
    }
    EXPECT_EQ(currentOrder_, "LNAME");
    EXPECT_EQ(table_->indexOrd(), table_->tagArea("LNAME"));
    EXPECT_EQ(table_->recNo(), 4u);
}

TEST_F(SearchWindowTest, SearchingWindowFindsInTheMemosAndItsCancelKeepsTheRecord) {
    AddressTable table;
    table.add({{"LNAME", "Carter"}, {"MEMO", "Met at the World fair"}});  // 1
    table.add({{"LNAME", "Able"}, {"MEMO", "old world wine"}});           // 2
    table.add({{"LNAME", "Dunn"}, {"MEMO", "nothing here"}});             // 3
    table.order("LNAME");
    ASSERT_TRUE(table->query("!ISDEL").ok());

    ASSERT_TRUE(table->go(3).ok());
    EXPECT_EQ(TMemoSearching::Run(*table, "WORLD", Search::MemoSearchStart::FirstRecord),
              Search::MemoSearchResult::Found);
    EXPECT_EQ(table->recNo(), 2u);
    EXPECT_EQ(TMemoSearching::Run(*table, "WORLD", Search::MemoSearchStart::AfterCurrent),
              Search::MemoSearchResult::Found);
    EXPECT_EQ(table->recNo(), 1u);

    // Cancel pressed while the first record is searched: the search stops there.
    TMemoSearching searching("here");
    EXPECT_EQ(searching.windowTitle(), "Searching");
    EXPECT_EQ(searching.SearchingLabel->text(), "Searching for: here");
    QTimer::singleShot(0, searching.CancelButton,
                       [&] { QTest::mouseClick(searching.CancelButton, Qt::LeftButton); });
    EXPECT_EQ(searching.search(*table, Search::MemoSearchStart::FirstRecord),
              Search::MemoSearchResult::Cancelled);
    EXPECT_EQ(table->recNo(), 1u);
    EXPECT_FALSE(searching.isVisible());
}

}  // namespace
