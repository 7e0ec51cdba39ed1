#include <gtest/gtest.h>

#include <QCoreApplication>
#include <QDate>
#include <QLocale>

#include "AddressTable.h"
#include "BrowseColumns.h"
#include "BrowseModel.h"

namespace {

QStringList columnNames(const BrowseModel& model) {
    QStringList names;
    for (int c = 0; c < model.columnCount(); ++c) names << model.fieldName(c);
    return names;
}

TEST(BrowseColumnsTest, FieldsListMovesEachNamedFieldToItsLine) {
    const QStringList defaults = BrowseColumns::defaultOrder();
    ASSERT_EQ(defaults.size(), 28);
    EXPECT_EQ(defaults.first(), "Tagged");
    EXPECT_EQ(BrowseColumns::ApplyFieldsList({}), defaults);

    // A full list written after a browse that dragged Tagged to the end.
    QStringList tagLast = defaults;
    tagLast.move(0, tagLast.size() - 1);
    EXPECT_EQ(BrowseColumns::ApplyFieldsList(tagLast), tagLast);

    // Names that are no field are skipped, but still take their line; letter case is free.
    const QStringList order = BrowseColumns::ApplyFieldsList({"Bogus", "city", "Nope", "zip"});
    EXPECT_EQ(order.indexOf("CITY"), 1);
    EXPECT_EQ(order.indexOf("ZIP"), 3);
    EXPECT_EQ(order.indexOf("Tagged"), 0);
    EXPECT_EQ(order.size(), 28);
    // A line past the end puts its field last.
    QStringList late(40);
    late[39] = "LNAME";
    EXPECT_EQ(BrowseColumns::ApplyFieldsList(late).last(), "LNAME");
}

TEST(BrowseColumnsTest, FieldsListAfterABrowseKeepsHiddenFieldsInPlace) {
    const QStringList defaults = BrowseColumns::defaultOrder();
    QStringList shown;  // as the grid shows them after dragging LNAME before Tagged
    for (const QString& name : defaults) {
        if (BrowseColumns::find(name)->visible) shown << name;
    }
    shown.swapItemsAt(0, 1);
    const QStringList after = BrowseColumns::FieldsListAfter(defaults, shown);
    EXPECT_EQ(after.mid(0, 2), (QStringList{"LNAME", "Tagged"}));
    EXPECT_EQ(after.size(), defaults.size());
    for (const char* hidden : {"DATE", "ISDEL", "TAG", "MEMO", "FullName", "CityStateZip"}) {
        EXPECT_EQ(after.indexOf(hidden), defaults.indexOf(hidden)) << hidden;
    }
    // Read back, it gives the same columns.
    EXPECT_EQ(BrowseColumns::ApplyFieldsList(after), after);
}

class BrowseModelTest : public ::testing::Test {
  protected:
    void SetUp() override {
        table_.add({{"LNAME", "Smith"}, {"FNAME", "John"}, {"DATE", "19970428"}, {"TAG", "ID1"}});  // 1
        table_.add({{"LNAME", "Adams"}, {"FNAME", "Al"}, {"DATE", "bad"}});                         // 2
        table_.add({{"LNAME", "Gone"}, {"ISDEL", "T"}});                                            // 3
        table_.add({{"LNAME", "Baker"}, {"CITY", "Zürich"}});                                       // 4
        table_.order("LNAME");
        ASSERT_TRUE(table_->query("!ISDEL").ok());
    }
    AddressTable table_;
};

TEST_F(BrowseModelTest, ShowsTheVisibleRecordsInOrderWithTheirColumns) {
    ASSERT_TRUE(table_->go(4).ok());
    BrowseModel model(*table_, BrowseColumns::defaultOrder(), "ID1");
    ASSERT_EQ(model.rowCount(), 3);
    const QStringList names = columnNames(model);
    EXPECT_EQ(names.size(), 21);
    EXPECT_EQ(names.first(), "Tagged");
    EXPECT_EQ(names.last(), "DisplayDate");
    for (const char* hidden : {"DATE", "ISDEL", "TAG", "MEMO", "FullName"})
        EXPECT_FALSE(names.contains(hidden));

    const struct {
        const char* field;
        const char* title;
        int width;
    } columns[] = {{"Tagged", "Tagged", 5},     {"LNAME", "Last Name", 20},     {"MIDDLE", "Middle", 1},
                   {"STREET", "Address 1", 40}, {"ZIP", "Zip/Postal Code", 10}, {"FAX", "Fax", 40},
                   {"DisplayDate", "Date", 12}};
    for (const auto& c : columns) {
        const int column = int(names.indexOf(c.field));
        EXPECT_EQ(model.headerData(column, Qt::Horizontal).toString(), c.title);
        EXPECT_EQ(model.widthChars(column), c.width) << c.field;
    }

    const int last = int(names.indexOf("LNAME"));
    const int tagged = int(names.indexOf("Tagged"));
    const int date = int(names.indexOf("DisplayDate"));
    const int city = int(names.indexOf("CITY"));
    const auto cell = [&](int row, int column) { return model.data(model.index(row, column)).toString(); };
    EXPECT_EQ(cell(0, last), "Adams");
    EXPECT_EQ(cell(1, last), "Baker");
    EXPECT_EQ(cell(1, city), "Zürich");
    EXPECT_EQ(cell(2, last), "Smith");
    EXPECT_EQ(cell(2, tagged), "Yes");
    EXPECT_EQ(cell(0, tagged), "No");
    EXPECT_EQ(cell(2, date), QLocale::system().toString(QDate(1997, 4, 28), QLocale::ShortFormat));
    EXPECT_EQ(cell(0, date), "");
    EXPECT_EQ(model.data(model.index(2, 0), BrowseModel::kRecNoRole).toUInt(), 1u);
    EXPECT_FALSE(model.flags(model.index(0, 0)) & Qt::ItemIsEditable);

    EXPECT_EQ(model.recNoAt(1), 4u);
    EXPECT_EQ(model.rowOf(1), 2);
    EXPECT_EQ(model.rowOf(3), -1);  // deleted
    // Reading rows leaves the table where it was.
    EXPECT_EQ(table_->recNo(), 4u);
}

TEST_F(BrowseModelTest, ColumnsFollowTheFieldsListOrder) {
    QStringList tagLast = BrowseColumns::defaultOrder();
    tagLast.move(0, tagLast.size() - 1);
    BrowseModel model(*table_, BrowseColumns::ApplyFieldsList(tagLast), "ID1");
    EXPECT_EQ(columnNames(model).last(), "Tagged");
    EXPECT_EQ(model.data(model.index(2, model.columnCount() - 1)).toString(), "Yes");
    model.setGlobalTagId("OTHER");  // after "Clear Tags"
    EXPECT_EQ(model.data(model.index(2, model.columnCount() - 1)).toString(), "No");
}

TEST_F(BrowseModelTest, RefreshRecordShowsAToggledTagAndReloadsWhenTheRecordLeavesTheQuery) {
    BrowseModel model(*table_, BrowseColumns::defaultOrder(), "ID1");
    ASSERT_EQ(model.data(model.index(0, 0)).toString(), "No");
    ASSERT_TRUE(table_->go(2).ok());
    ASSERT_TRUE(AddressFile::setText(*table_, table_->fieldIndex("TAG"), "ID1").ok());
    ASSERT_TRUE(table_->commit().ok());
    model.refreshRecord(2);
    EXPECT_EQ(model.data(model.index(0, 0)).toString(), "Yes");

    // Under the filter "tagged" an untagged record drops out and the rows close up.
    ASSERT_TRUE(table_->query("UPPER(TAG)=\"ID1\" .and. !ISDEL").ok());
    model.reload();
    ASSERT_EQ(model.rowCount(), 2);
    ASSERT_TRUE(AddressFile::setText(*table_, table_->fieldIndex("TAG"), "").ok());
    ASSERT_TRUE(table_->commit().ok());
    model.refreshRecord(2);
    EXPECT_EQ(model.rowCount(), 1);
    EXPECT_EQ(model.recNoAt(0), 1u);
}

// A large file in an index order: rows far from the top are read without the ones above.
TEST(BrowseModelLargeTest, ReadsFarRowsWithoutReadingEverything) {
    AddressTable table;
    constexpr int kRecords = 20000;
    for (int i = 0; i < kRecords; ++i) {
        // Record numbers run against the LNAME order, so natural order would not do.
        table.add({{"LNAME", QString("N%1").arg(kRecords - 1 - i, 6, 10, QChar('0'))}});
    }
    table.order("LNAME");
    ASSERT_TRUE(table->query("!ISDEL").ok());
    ASSERT_TRUE(table->go(7).ok());

    BrowseModel model(*table, BrowseColumns::defaultOrder(), "X");
    ASSERT_EQ(model.rowCount(), kRecords);
    const int last = int(columnNames(model).indexOf("LNAME"));
    const auto name = [](int row) { return QString("N%1").arg(row, 6, 10, QChar('0')); };

    EXPECT_EQ(model.data(model.index(kRecords - 10, last)).toString(), name(kRecords - 10));
    EXPECT_LT(model.recordsVisited(), 2u * BrowseModel::kChunkRows);
    EXPECT_EQ(model.data(model.index(3, last)).toString(), name(3));
    EXPECT_LT(model.recordsVisited(), 4u * BrowseModel::kChunkRows);

    // A row in the middle is reached once; its neighbours then come from what was noted.
    const int middle = kRecords / 2 + 17;
    EXPECT_EQ(model.data(model.index(middle, last)).toString(), name(middle));
    const uint64_t afterMiddle = model.recordsVisited();
    EXPECT_LT(afterMiddle, uint64_t(kRecords) / 2 + 4 * BrowseModel::kChunkRows);
    EXPECT_EQ(model.data(model.index(middle + 3 * BrowseModel::kChunkRows, last)).toString(),
              name(middle + 3 * BrowseModel::kChunkRows));
    EXPECT_LT(model.recordsVisited() - afterMiddle, 5u * BrowseModel::kChunkRows);

    // The row of a record: record r holds N(20000 - r).
    EXPECT_EQ(model.rowOf(2), kRecords - 2);
    const uint64_t beforeRowOf = model.recordsVisited();
    EXPECT_EQ(model.rowOf(uint32_t(kRecords - 6000)), 6000);
    EXPECT_LT(model.recordsVisited() - beforeRowOf, 4u * 6000);
    const uint64_t afterRowOf = model.recordsVisited();
    EXPECT_EQ(model.data(model.index(6000, last)).toString(), name(6000));  // from what rowOf noted
    EXPECT_LT(model.recordsVisited() - afterRowOf, 2u * BrowseModel::kChunkRows);

    // Once the idle walk has noted every chunk, any row is a chunk's read away.
    BrowseModel filled(*table, BrowseColumns::defaultOrder(), "X");
    EXPECT_FALSE(filled.fillAnchors(kRecords / 2));
    EXPECT_TRUE(filled.fillAnchors(kRecords));
    const uint64_t afterFill = filled.recordsVisited();
    EXPECT_EQ(filled.data(filled.index(kRecords / 3, last)).toString(), name(kRecords / 3));
    EXPECT_LT(filled.recordsVisited() - afterFill, 2u * BrowseModel::kChunkRows);

    // With an event loop the model does that walk by itself while idle.
    int argc = 1;
    char name0[] = "test";
    char* argv[] = {name0, nullptr};
    QCoreApplication app(argc, argv);
    BrowseModel idle(*table, BrowseColumns::defaultOrder(), "X");
    for (int i = 0; i < 100 && idle.recordsVisited() < uint64_t(kRecords); ++i)
        QCoreApplication::processEvents();
    EXPECT_TRUE(idle.fillAnchors(0));

    EXPECT_EQ(table->recNo(), 7u);
}

}  // namespace
