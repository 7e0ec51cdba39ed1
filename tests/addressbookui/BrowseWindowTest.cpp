#include <QDir>
#include <QFile>
#include <QHeaderView>
#include <QPushButton>
#include <QTableView>
#include <QTest>

#include "AddressTable.h"
#include "BrowseColumns.h"
#include "BrowseModel.h"
#include "RecordEditing.h"
#include "RecordEditor.h"
#include "SystemTables.h"
#include "TAddressBrowse.h"
#include "UiTestSupport.h"

namespace {

class BrowseWindowTest : public ::testing::Test {
  protected:
    void SetUp() override {
        ASSERT_TRUE(QDir().mkpath(home_.sysDataDir()));
        table_.add({{"LNAME", "Smith"}, {"TAG", "ID1"}});  // 1
        table_.add({{"LNAME", "Adams"}});                  // 2
        table_.add({{"LNAME", "Gone"}, {"ISDEL", "T"}});   // 3
        table_.add({{"LNAME", "Baker"}});                  // 4
        table_.add({{"LNAME", "Clark"}});                  // 5
        table_.order("LNAME");
        ASSERT_TRUE(table_->query("!ISDEL").ok());
        ASSERT_TRUE(table_->go(4).ok());
        editor_.setTable(&*table_);
    }

    // The main window's side: it shows the record it is told about and toggles tags
    // as its ToggleTag does.
    std::unique_ptr<TAddressBrowse> open() {
        TAddressBrowse::Callbacks callbacks;
        callbacks.recordMoved = [this] { shown_ << table_.value("LNAME"); };
        callbacks.toggleTag = [this] { ASSERT_TRUE(RecordEditing::ToggleTag(editor_, "ID1").ok()); };
        return std::make_unique<TAddressBrowse>(*table_, home_, "ID1", callbacks, answers_.services());
    }
    static int column(const TAddressBrowse& browse, const QString& field) {
        for (int c = 0; c < browse.model()->columnCount(); ++c) {
            if (browse.model()->fieldName(c) == field) return c;
        }
        return -1;
    }
    static QString cell(const TAddressBrowse& browse, int row, const QString& field) {
        return browse.model()->data(browse.model()->index(row, column(browse, field))).toString();
    }
    static QPoint center(const TAddressBrowse& browse, int row, int col) {
        return browse.BrowseGrid->visualRect(browse.model()->index(row, col)).center();
    }
    QStringList fieldsFile() const {
        QFile f(SystemTables::fieldsListPath(home_));
        EXPECT_TRUE(f.open(QIODevice::ReadOnly));
        return QString::fromLatin1(f.readAll()).split("\r\n", Qt::SkipEmptyParts);
    }

    AddressTable table_;
    AppHome home_{QString::fromStdString(table_.dir().path())};
    RecordEditor editor_;
    RecordedServices answers_;
    QStringList shown_;
};

TEST_F(BrowseWindowTest, ColumnsComeFromFieldsListAndDraggedOnesAreWrittenBackOnClose) {
    // A FIELDS.LST that moved Tagged to the end.
    QStringList tagLast = BrowseColumns::defaultOrder();
    tagLast.move(0, tagLast.size() - 1);
    ASSERT_TRUE(SystemTables::writeFieldsList(home_, tagLast));

    auto browse = open();
    EXPECT_EQ(browse->windowTitle(), "Address Browse");
    browse->show();
    ASSERT_TRUE(QTest::qWaitForWindowExposed(browse.get()));
    QStringList shown = browse->shownFields();
    EXPECT_EQ(shown.size(), 21);
    EXPECT_EQ(shown.first(), "LNAME");
    EXPECT_EQ(shown.last(), "Tagged");
    EXPECT_EQ(browse->model()->headerData(0, Qt::Horizontal).toString(), "Last Name");
    // Each column at least as wide as its title and its width in characters.
    const QHeaderView* header = browse->BrowseGrid->horizontalHeader();
    const int zip = column(*browse, "ZIP");
    EXPECT_GE(header->sectionSize(zip), header->fontMetrics().horizontalAdvance("Zip/Postal Code"));
    EXPECT_GT(header->sectionSize(column(*browse, "LNAME")), header->sectionSize(column(*browse, "STATE")));

    // The user drags City to the front.
    browse->BrowseGrid->horizontalHeader()->moveSection(header->visualIndex(column(*browse, "CITY")), 0);
    QTest::mouseClick(browse->OkButton, Qt::LeftButton);
    EXPECT_FALSE(browse->isVisible());

    const QStringList written = fieldsFile();
    EXPECT_EQ(written.size(), BrowseColumns::defaultOrder().size());
    EXPECT_EQ(written.mid(0, 2), (QStringList{"CITY", "LNAME"}));
    EXPECT_EQ(written.last(), "Tagged");
    for (const char* hidden : {"DATE", "ISDEL", "TAG", "MEMO", "FullName"}) {
        EXPECT_EQ(written.indexOf(hidden), tagLast.indexOf(hidden)) << hidden;
    }
    // Its placement is kept in the settings.
    QFile ini(home_.file("QUILLO.ini"));
    ASSERT_TRUE(ini.open(QIODevice::ReadOnly));
    EXPECT_TRUE(ini.readAll().contains("[TAddressBrowse_Placement"));

    // The next browse shows the new order.
    auto again = open();
    EXPECT_EQ(again->shownFields().mid(0, 2), (QStringList{"CITY", "LNAME"}));
}

TEST_F(BrowseWindowTest, MovingInTheGridMovesTheTableAndTheButtonsBeepAtTheEnds) {
    auto browse = open();
    browse->show();
    ASSERT_TRUE(QTest::qWaitForWindowExposed(browse.get()));
    // Opened on the table's record: Adams, [Baker], Clark, Smith.
    ASSERT_EQ(browse->model()->rowCount(), 4);
    EXPECT_EQ(browse->BrowseGrid->currentIndex().row(), 1);
    EXPECT_TRUE(shown_.isEmpty());

    QTest::mouseClick(browse->BrowseGrid->viewport(), Qt::LeftButton, {}, center(*browse, 3, 1));
    EXPECT_EQ(table_->recNo(), 1u);
    QTest::keyClick(browse->BrowseGrid, Qt::Key_Up);
    EXPECT_EQ(table_->recNo(), 5u);

    const struct {
        QPushButton* button;
        uint32_t recNo;
        int beeps;
    } steps[] = {
        {browse->NextButton, 1, 0},  {browse->NextButton, 1, 1}, {browse->FirstButton, 2, 1},
        {browse->PriorButton, 2, 2}, {browse->NextButton, 4, 2}, {browse->LastButton, 1, 2},
    };
    for (const auto& s : steps) {
        QTest::mouseClick(s.button, Qt::LeftButton);
        EXPECT_EQ(table_->recNo(), s.recNo) << s.button->objectName().toStdString();
        EXPECT_EQ(answers_.beeps, s.beeps) << s.button->objectName().toStdString();
    }
    // The main window was told of every move, and only of moves.
    EXPECT_EQ(shown_, (QStringList{"Smith", "Clark", "Smith", "Adams", "Baker", "Smith"}));
}

TEST_F(BrowseWindowTest, DoubleClickAndTagToggleTheRowsRecord) {
    auto browse = open();
    browse->show();
    ASSERT_TRUE(QTest::qWaitForWindowExposed(browse.get()));
    QWidget* viewport = browse->BrowseGrid->viewport();
    const QPoint adams = center(*browse, 0, column(*browse, "LNAME"));
    ASSERT_EQ(cell(*browse, 0, "Tagged"), "No");

    QTest::mouseClick(viewport, Qt::LeftButton, {}, adams);
    QTest::mouseDClick(viewport, Qt::LeftButton, {}, adams);
    EXPECT_EQ(table_->recNo(), 2u);
    EXPECT_EQ(table_.value("TAG"), "ID1");
    EXPECT_EQ(cell(*browse, 0, "Tagged"), "Yes");

    QTest::mouseClick(browse->TagButton, Qt::LeftButton);
    EXPECT_EQ(table_.value("TAG"), "");
    EXPECT_EQ(cell(*browse, 0, "Tagged"), "No");
    EXPECT_EQ(browse->BrowseGrid->currentIndex().row(), 0);
}

TEST_F(BrowseWindowTest, UntaggingUnderATaggedFilterLeavesTheGridOnAVisibleRecord) {
    ASSERT_TRUE(table_->go(2).ok());
    ASSERT_TRUE(RecordEditing::ToggleTag(editor_, "ID1").ok());
    ASSERT_TRUE(table_->query("(UPPER(TAG)=\"ID1\").and. !ISDEL").ok());
    ASSERT_TRUE(table_->go(2).ok());

    auto browse = open();
    browse->show();
    ASSERT_TRUE(QTest::qWaitForWindowExposed(browse.get()));
    ASSERT_EQ(browse->model()->rowCount(), 2);  // Adams, Smith
    QTest::mouseClick(browse->TagButton, Qt::LeftButton);
    // Adams left the filter: the rows close up and the table follows the grid.
    ASSERT_EQ(browse->model()->rowCount(), 1);
    EXPECT_EQ(browse->BrowseGrid->currentIndex().row(), 0);
    EXPECT_EQ(table_->recNo(), 1u);
    EXPECT_EQ(shown_.last(), "Smith");
}

}  // namespace
