// Search, memo search, browse, the filter commands and the ZIP count through the real
// main window.

#include <QCheckBox>
#include <QComboBox>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QTest>

#include "RecordView.h"
#include "TAddressBrowse.h"
#include "TAddressFilter.h"
#include "TAddressSearch.h"
#include "TCountZipCodes.h"
#include "TTagging.h"
#include "WindowTestSupport.h"

namespace {

class SearchFilterTest : public WindowTest {
  protected:
    void SetUp() override {
        WindowTest::SetUp();
        makeAddressFile(
            dataFile("add0001.DBF"),
            {{{"LNAME", "Smith"}, {"CITY", "Boston"}, {"ZIP", "02110"}, {"MEMO", "Call about DUES"}},
             {{"LNAME", "Jones"}, {"CITY", "Albany"}, {"ZIP", "12207"}, {"MEMO", "nothing"}},
             {{"LNAME", "smythe"}, {"CITY", "Austin"}, {"ZIP", "02110"}, {"MEMO", "dues paid"}}});
        w_ = start();
        view_ = w_->recordView();
    }
    QString shown() const { return view_->edit("LNAME")->text(); }
    QString status() const { return w_->findChild<QLabel*>("FilterPanel")->text(); }
    QString sortPanel() const { return w_->findChild<QLabel*>("SortPanel")->text(); }
    QPushButton* button(const char* name) const { return w_->findChild<QPushButton*>(name); }
    // Sets the Last entry of the filter form and leaves it with `closeWith`.
    void filterLastName(const QString& text, bool ok) {
        onNextDialog<TAddressFilter>([text, ok](TAddressFilter* d) {
            d->entry(FilterCriteria::Last)->setText(text);
            if (ok) {
                QTest::mouseClick(d->OkButton, Qt::LeftButton);
            } else {
                QTest::mouseClick(d->TestButton, Qt::LeftButton);
                QTest::mouseClick(d->CancelButton, Qt::LeftButton);
            }
        });
        w_->action("tbFilter")->trigger();
    }
    std::vector<QString> taggedNames() {
        const QString tag = w_->GlobalTagId;
        w_.reset();
        std::vector<QString> names;
        for (const StoredRecord& r : readRecords(dataFile("add0001.DBF"))) {
            if (r.values.value("TAG") == tag) names.push_back(r.values.value("LNAME"));
        }
        return names;
    }

    std::unique_ptr<TAddressMain> w_;
    RecordView* view_ = nullptr;
};

TEST_F(SearchFilterTest, FilterDialogNarrowsTheRecordsAndClearFilterShowsThemAll) {
    EXPECT_EQ(status(), "3 records (no filter)");
    EXPECT_TRUE(button("ClearFilterButton")->isHidden());

    filterLastName("sm", true);
    EXPECT_EQ(status(), "2 filter matches");
    EXPECT_EQ(shown(), "Smith");
    EXPECT_FALSE(button("ClearFilterButton")->isHidden());
    EXPECT_TRUE(w_->action("mnuTagAll")->isEnabled());

    // Cancel puts back the filter and the record the form started with, whatever was tested.
    w_->Navigate(RecordEditing::Move::Next);
    filterLastName("jones", false);
    EXPECT_EQ(status(), "2 filter matches");
    EXPECT_EQ(shown(), "smythe");
    w_->Navigate(RecordEditing::Move::Prior);
    EXPECT_EQ(shown(), "Smith");

    QTest::mouseClick(button("ClearFilterButton"), Qt::LeftButton);
    EXPECT_EQ(status(), "3 records (no filter)");
    EXPECT_EQ(shown(), "Jones");  // the first record in Last Name order
    EXPECT_TRUE(button("ClearFilterButton")->isHidden());
    EXPECT_FALSE(w_->action("mnuClearFilter")->isEnabled());
}

TEST_F(SearchFilterTest, SavedFilterIsRestoredAndTagAllTagsOnlyItsMatches) {
    filterLastName("sm", true);
    const QString path = home_.file("smiths.FLT");
    w_->filterFiles().chooseSaveFile = [path](QWidget*, const QString&) { return path; };
    w_->filterFiles().chooseOpenFile = [path](QWidget*, const QString&) { return path; };
    w_->action("mnuSaveFilter")->trigger();
    w_->action("mnuClearFilter")->trigger();
    EXPECT_EQ(status(), "3 records (no filter)");

    w_->action("mnuRestoreFilter")->trigger();
    EXPECT_EQ(status(), "2 filter matches");
    EXPECT_EQ(shown(), "Smith");

    onNextDialog<TTagging>([](TTagging* d) { return d->OkButton->isVisible(); },
                           [](TTagging* d) { QTest::mouseClick(d->OkButton, Qt::LeftButton); });
    w_->action("mnuTagAll")->trigger();
    EXPECT_TRUE(wasAsked("Tag all records matching filter?"));
    EXPECT_TRUE(w_->DataEventTracking);
    EXPECT_EQ(shown(), "Smith");
    EXPECT_EQ(taggedNames(), (std::vector<QString>{"Smith", "smythe"}));
}

TEST_F(SearchFilterTest, SearchLandsOnTheFirstKeyAndSelectsItsOrder) {
    onNextDialog<TAddressSearch>([](TAddressSearch* d) {
        d->SearchOrderCombo->setCurrentText("City");
        d->SearchEdit->setText("au");
        QTest::mouseClick(d->OkButton, Qt::LeftButton);
    });
    w_->action("tbSearch")->trigger();
    EXPECT_EQ(shown(), "smythe");
    EXPECT_EQ(sortPanel(), "Sorted by City");
    EXPECT_TRUE(w_->action("mnuSortCITY")->isChecked());
    EXPECT_FALSE(w_->action("mnuSortLNAME")->isChecked());
    // The order now runs by city: Austin, then Boston.
    w_->Navigate(RecordEditing::Move::Next);
    EXPECT_EQ(shown(), "Smith");

    // Nothing begins with the text: the record stays, without a message.
    onNextDialog<TAddressSearch>([](TAddressSearch* d) {
        d->SearchEdit->setText("zz");
        QTest::mouseClick(d->OkButton, Qt::LeftButton);
    });
    w_->action("mnuSearch")->trigger();
    EXPECT_EQ(shown(), "Smith");
    EXPECT_TRUE(asked_.empty()) << askedTexts().join("\n").toStdString();
}

TEST_F(SearchFilterTest, MemoSearchAndFindNextUntilNothingIsLeft) {
    QStringList prompted;
    w_->memoSearchPrompt = [&prompted](const QString& last) -> std::optional<QString> {
        prompted << last;
        return QString("dues");
    };
    w_->Navigate(RecordEditing::Move::Last);
    QTest::mouseClick(view_->searchMemoButton(), Qt::LeftButton);
    EXPECT_EQ(shown(), "Smith");  // from the first record, Jones's memo lacks it
    EXPECT_TRUE(w_->findNextOffered());
    EXPECT_FALSE(view_->findNextButton()->isHidden());

    QTest::mouseClick(view_->findNextButton(), Qt::LeftButton);
    EXPECT_EQ(shown(), "smythe");

    const int beeps = BeepCount();
    QTest::mouseClick(view_->findNextButton(), Qt::LeftButton);
    EXPECT_EQ(shown(), "smythe");
    EXPECT_EQ(BeepCount(), beeps + 1);
    EXPECT_FALSE(w_->findNextOffered());
    EXPECT_TRUE(view_->findNextButton()->isHidden());

    // Cancelling the input box searches nothing; the box offers the last text.
    w_->memoSearchPrompt = [&prompted](const QString& last) -> std::optional<QString> {
        prompted << last;
        return std::nullopt;
    };
    w_->SearchMemo();
    EXPECT_EQ(shown(), "smythe");
    EXPECT_EQ(prompted, (QStringList{"", "dues"}));
}

TEST_F(SearchFilterTest, BrowseMovesTheMainWindowAndIsRefusedWhileEditing) {
    onNextDialog<TAddressBrowse>([](TAddressBrowse* d) {
        QTest::mouseClick(d->NextButton, Qt::LeftButton);
        QTest::mouseClick(d->OkButton, Qt::LeftButton);
    });
    w_->action("tbBrowse")->trigger();
    EXPECT_EQ(shown(), "Smith");  // Jones, then Smith
    EXPECT_EQ(QApplication::activeModalWidget(), nullptr);

    w_->EditRecord();
    ASSERT_TRUE(w_->editor().editing());
    const int beeps = BeepCount();
    w_->BrowseRecords();
    EXPECT_EQ(BeepCount(), beeps + 1);
    w_->SetFilter();
    EXPECT_EQ(BeepCount(), beeps + 2);
    w_->CancelRecord();
}

TEST_F(SearchFilterTest, CountZipCodesCountsAndKeepsTheRecordAndOrder) {
    w_->Navigate(RecordEditing::Move::Next);
    bool counted = false;
    QStringList lines;
    // Handled once the count is done: waiting inside the handler could run while the
    // count itself lets events through, and then the count would wait for the handler.
    onNextDialog<TCountZipCodes>([](TCountZipCodes* d) { return d->counted(); },
                                 [&counted, &lines](TCountZipCodes* d) {
                                     counted = true;
                                     lines = d->reportLines();
                                     d->accept();
                                 });
    w_->action("mnuCountZip")->trigger();
    EXPECT_TRUE(counted);
    EXPECT_FALSE(lines.filter("02110").isEmpty()) << lines.join("\n").toStdString();
    EXPECT_EQ(shown(), "Smith");
    EXPECT_EQ(sortPanel(), "Sorted by Last Name");
    EXPECT_TRUE(w_->updatesEnabled());
}

}  // namespace
