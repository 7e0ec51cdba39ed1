// Each tool from its command of the real main window, on a real file, and the
// window's own state (query, order, record, display) afterwards.

#include <QCheckBox>
#include <QFile>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QPushButton>
#include <QRadioButton>
#include <QTest>

#include "EditableGridModel.h"
#include "PtyModem.h"
#include "RecordGrid.h"
#include "RecordView.h"
#include "TAddressFilter.h"
#include "TConvertToUpper.h"
#include "TDeleteRecords.h"
#include "TDupCheck.h"
#include "TQYDialer.h"
#include "TSearchAndReplace.h"
#include "TStateZipCheck.h"
#include "WindowTestSupport.h"

namespace {

class MainWindowTools : public WindowTest {
  protected:
    void SetUp() override {
        WindowTest::SetUp();
        makeAddressFile(dataFile("add0001.DBF"), {{{"LNAME", "smith"},
                                                   {"FNAME", "john"},
                                                   {"STREET", "1 Elm St"},
                                                   {"CITY", "Springfield"},
                                                   {"STATE", "NY"},
                                                   {"ZIP", "10001"},
                                                   {"PHONE", "555-0101"}},
                                                  {{"LNAME", "Jones"},
                                                   {"FNAME", "Ann"},
                                                   {"STREET", "1 Elm Street"},
                                                   {"CITY", "Boston"},
                                                   {"STATE", "NY"},
                                                   {"ZIP", "09999"}},
                                                  {{"LNAME", "SMITH"},
                                                   {"FNAME", "JOHN"},
                                                   {"STREET", "9 Oak Rd"},
                                                   {"CITY", "Springfield"},
                                                   {"STATE", "ZZ"},
                                                   {"ZIP", "12345"}}});
        w_ = start();
        // Start on the second record in name order (smith), with the order "Zip".
        w_->SetOrderTo("Zip");
        (void)w_->table()->goTop();
        w_->Navigate(RecordEditing::Move::Next);
        w_->RefreshRecord();
        recordBefore_ = w_->table()->recNo();
    }
    QString status() const { return w_->findChild<QLabel*>("FilterPanel")->text(); }
    QString sortPanel() const { return w_->findChild<QLabel*>("SortPanel")->text(); }
    QString shown(const char* field) const { return w_->recordView()->edit(field)->text(); }
    // The window as it was: the same order, its query, painting again.
    void expectWindowRestored() {
        EXPECT_EQ(sortPanel(), "Sorted by Zip");
        EXPECT_EQ(w_->table()->indexOrd(), w_->table()->tagArea("ZIP"));
        EXPECT_EQ(w_->table()->queryText(), "!ISDEL");
        EXPECT_TRUE(w_->updatesEnabled());
        EXPECT_TRUE(w_->DataEventTracking);
        EXPECT_FALSE(wasAsked("This command is not available yet."));
    }
    std::vector<StoredRecord> records() {
        w_.reset();
        return readRecords(dataFile("add0001.DBF"));
    }

    std::unique_ptr<TAddressMain> w_;
    uint32_t recordBefore_ = 0;
};

TEST_F(MainWindowTools, CheckDuplicatesFindsTheNamesAndRemovesItsIndex) {
    QString found;
    int rows = 0;
    onNextDialog<TDupCheck>([&](TDupCheck* d) {
        QTest::mouseClick(d->PerformButton, Qt::LeftButton);
        EXPECT_TRUE(QTest::qWaitFor([d] { return d->scanned(); }));
        found = d->FoundLabel->text();
        rows = d->grid() ? d->grid()->model()->rowCount() : 0;
        EXPECT_TRUE(QFile::exists(home_.file("_chkdup.idx")));
        QTest::mouseClick(d->OkButton, Qt::LeftButton);
    });
    w_->action("mnuCheckDuplicates")->trigger();
    EXPECT_EQ(found, "Found 1 possible duplicates");
    EXPECT_EQ(rows, 2);
    EXPECT_FALSE(QFile::exists(home_.file("_chkdup.idx")));
    EXPECT_EQ(w_->table()->orderCount(), 26);
    expectWindowRestored();
}

TEST_F(MainWindowTools, CheckStateAndZipShowsTheQuestionableRecords) {
    QStringList names;
    onNextDialog<TStateZipCheck>([&](TStateZipCheck* d) {
        QTest::mouseClick(d->PerformButton, Qt::LeftButton);
        EXPECT_TRUE(QTest::qWaitFor([d] { return d->checked(); }));
        RecordGrid* grid = d->resultGrid();
        for (int r = 0; grid && r < grid->model()->rowCount(); ++r)
            names << grid->model()->data(grid->model()->index(r, 1)).toString();
        QTest::mouseClick(d->CloseButton, Qt::LeftButton);
    });
    w_->action("mnuCheckStateZip")->trigger();
    EXPECT_EQ(names, QStringList({"Jones", "SMITH"}));  // the shipped table's NY range and an unknown state
    EXPECT_FALSE(QFile::exists(home_.dataDir() + "/_chksz.idx"));
    expectWindowRestored();

    // Without the state table the check does not start.
    QFile::remove(home_.sysDataDir() + "/CSZ.DBF");
    w_->action("mnuCheckStateZip")->trigger();
    EXPECT_TRUE(
        wasAsked("The file CSZ.DBF has been removed from the SYSDATA directory. Unable to continue."));
}

TEST_F(MainWindowTools, ConvertCaseOfAllRecordsAndBackToTheRecord) {
    onNextDialog<TConvertToUpper>([](TConvertToUpper* d) {
        d->ProperRadio->setChecked(true);
        d->AllRecordsRadio->setChecked(true);
        QTest::mouseClick(d->ConvertButton, Qt::LeftButton);
    });
    w_->action("mnuConvertCase")->trigger();
    EXPECT_EQ(w_->table()->recNo(), recordBefore_);
    EXPECT_EQ(shown("LNAME"), "Smith");
    expectWindowRestored();
    const std::vector<StoredRecord> stored = records();
    EXPECT_EQ(stored[1].values.value("FNAME"), "Ann");
    EXPECT_EQ(stored[2].values.value("LNAME"), "Smith");
    EXPECT_EQ(stored[2].values.value("STREET"), "9 Oak Rd");
}

TEST_F(MainWindowTools, SearchAndReplaceWithinTheFilter) {
    onNextDialog<TAddressFilter>([](TAddressFilter* d) {
        d->entry(FilterCriteria::City)->setText("spring");
        QTest::mouseClick(d->OkButton, Qt::LeftButton);
    });
    w_->action("tbFilter")->trigger();
    ASSERT_EQ(status(), "2 filter matches");
    onNextDialog<TSearchAndReplace>([](TSearchAndReplace* d) {
        EXPECT_TRUE(d->FilterRecordsRadio->isEnabled());
        d->FieldList->setCurrentRow(5);  // Address 1
        d->ContainsRadio->setChecked(true);
        d->MatchingTextRadio->setChecked(true);
        d->FilterRecordsRadio->setChecked(true);
        QTest::keyClicks(d->FindEdit, "Elm");
        QTest::keyClicks(d->ReplaceEdit, "Ash");
        QTest::mouseClick(d->ReplaceButton, Qt::LeftButton);
    });
    w_->action("mnuSearchReplace")->trigger();
    EXPECT_TRUE(wasAsked("Replaced 1 records"));
    EXPECT_TRUE(wasAsked("Replacement done"));
    EXPECT_EQ(status(), "2 filter matches");
    EXPECT_EQ(sortPanel(), "Sorted by Zip");
    EXPECT_TRUE(w_->updatesEnabled());
    const std::vector<StoredRecord> stored = records();
    EXPECT_EQ(stored[0].values.value("STREET"), "1 Ash St");
    EXPECT_EQ(stored[1].values.value("STREET"), "1 Elm Street");  // outside the filter
}

TEST_F(MainWindowTools, DeleteRecordsNotMatchingTheFilter) {
    onNextDialog<TAddressFilter>([](TAddressFilter* d) {
        d->entry(FilterCriteria::City)->setText("spring");
        QTest::mouseClick(d->OkButton, Qt::LeftButton);
    });
    w_->action("tbFilter")->trigger();
    onNextDialog<TDeleteRecords>([](TDeleteRecords* d) {
        d->NotMatchingRadio->setChecked(true);
        QTest::mouseClick(d->DeleteNowButton, Qt::LeftButton);
    });
    w_->action("mnuDeleteRecords")->trigger();
    EXPECT_TRUE(wasAsked("Deleted 1 records"));
    EXPECT_EQ(status(), "2 filter matches");
    EXPECT_EQ(sortPanel(), "Sorted by Zip");
    const std::vector<StoredRecord> stored = records();
    EXPECT_TRUE(stored[1].deleted && stored[1].isdel);
    EXPECT_FALSE(stored[0].deleted || stored[2].deleted);
}

TEST_F(MainWindowTools, DialPhoneOneOfTheRecordShown) {
    PtyModem modem;
    ASSERT_TRUE(modem.ok());
    w_->dialerDevice = QString::fromStdString(modem.path());
    QString number;
    onNextDialog<TQYDialer>([&](TQYDialer* d) {
        number = d->NumberEdit->text();
        QTest::mouseClick(d->DialButton, Qt::LeftButton);
        EXPECT_TRUE(modem.waitFor("ATH\r\n"));
        QTest::mouseClick(d->CancelButton, Qt::LeftButton);
    });
    QTest::mouseClick(w_->recordView()->dialPhone1(), Qt::LeftButton);
    EXPECT_EQ(number, "555-0101");
    EXPECT_EQ(modem.received(), "ATDT555-0101\r\nATH\r\n");
    EXPECT_TRUE(wasAsked("Pick up phone"));
}

}  // namespace
