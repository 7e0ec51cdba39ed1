// Record commands through the real main window: add, save, cancel, delete, clone,
// tags, the date, the clipboard, with the preferences that change them.

#include <QCheckBox>
#include <QClipboard>
#include <QDate>
#include <QFile>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QTest>

#include "RecordView.h"
#include "TCopyToClipboard.h"
#include "TDateSelect.h"
#include "TNewRecord.h"
#include "TPreferences.h"
#include "Table.h"
#include "WindowTestSupport.h"

namespace {

class RecordCommandsTest : public WindowTest {
  protected:
    // Starts on a file with these records and these "Adding" settings.
    void startWith(const std::vector<RecordValues>& records, const QByteArray& adding = {}) {
        makeAddressFile(dataFile("add0001.DBF"), records);
        writeIni("[Misc]\nGettingStarted=1\n[Adding]\n" + adding);
        w_ = start();
        view_ = w_->recordView();
    }
    QPushButton* button(const char* name) const { return w_->findChild<QPushButton*>(name); }
    void click(const char* name) const { QTest::mouseClick(button(name), Qt::LeftButton); }
    // Replaces a field's text by typing, key by key (any character, not only ASCII).
    void type(const char* field, const QString& text) const {
        QLineEdit* e = view_->edit(field);
        e->selectAll();
        for (QChar c : text) {
            QKeyEvent press(QEvent::KeyPress, Qt::Key_unknown, Qt::NoModifier, QString(c));
            QApplication::sendEvent(e, &press);
        }
    }
    // Closes the window and reads the file back.
    std::vector<StoredRecord> stored() {
        w_.reset();
        return readRecords(dataFile("add0001.DBF"));
    }

    std::unique_ptr<TAddressMain> w_;
    RecordView* view_ = nullptr;
};

TEST_F(RecordCommandsTest, AddCarriesFieldsPutsTheDateAndTheDefaultCountry) {
    startWith({{{"LNAME", "Old"},
                {"ORG", "Acme"},
                {"STREET", "1 Main"},
                {"CITY", "Boston"},
                {"STATE", "MA"},
                {"ZIP", "02110"},
                {"COUNTRY", "Canada"}}},
              "CarryOrg=1\nCarryCity=1\nCarryZip=1\nPlugDate=1\nDefaultCountry=USA\nSkipLastName=1\n"
              "SkipfirstName=1\nSkipMiddleInitial=1\n");
    click("AddButton");
    ASSERT_TRUE(w_->editor().inserting());
    EXPECT_EQ(view_->edit("ORG")->text(), "Acme");
    EXPECT_EQ(view_->edit("CITY")->text(), "Boston");
    EXPECT_EQ(view_->edit("STREET")->text(), "");
    EXPECT_EQ(view_->edit("COUNTRY")->text(), "USA");
    EXPECT_EQ(view_->dateDisplay()->text(),
              QLocale::system().toString(QDate::currentDate(), QLocale::ShortFormat));
    // Skipped fields are out of the tab order while adding; the first one left gets the focus.
    EXPECT_EQ(w_->focusWidget(), view_->edit("PREFIX"));
    EXPECT_EQ(view_->edit("LNAME")->focusPolicy(), Qt::ClickFocus);
    EXPECT_EQ(view_->edit("STREET")->focusPolicy(), Qt::StrongFocus);

    type("LNAME", "New");
    view_->selectPage(1);
    QTest::keyClicks(view_->memo(), "12345678");  // a multiple of four gets a blank
    click("SaveButton");
    EXPECT_FALSE(w_->editor().editing());
    EXPECT_EQ(view_->edit("LNAME")->focusPolicy(), Qt::StrongFocus);  // skipping ends with the save
    EXPECT_EQ(view_->edit("LNAME")->text(), "New");
    EXPECT_EQ(w_->findChild<QLabel*>("FilterPanel")->text(), "2 records (no filter)");

    const auto records = stored();
    ASSERT_EQ(records.size(), 2u);
    const RecordValues& v = records[1].values;
    EXPECT_EQ(v.value("LNAME"), "New");
    EXPECT_EQ(v.value("ORG"), "Acme");
    EXPECT_EQ(v.value("CITY"), "Boston");
    EXPECT_EQ(v.value("ZIP"), "02110");
    EXPECT_EQ(v.value("STATE"), "");
    EXPECT_EQ(v.value("COUNTRY"), "USA");
    EXPECT_EQ(v.value("DATE"), QDate::currentDate().toString("yyyyMMdd"));
    EXPECT_EQ(v.value("MEMO"), "12345678 ");
    EXPECT_FALSE(records[1].isdel);
}

TEST_F(RecordCommandsTest, CancelDropsANewRecordAndAnEdit) {
    startWith({{{"LNAME", "Keep"}, {"MEMO", "old memo"}}});
    click("AddButton");
    type("LNAME", "Dropped");
    click("CancelButton");
    EXPECT_EQ(view_->edit("LNAME")->text(), "Keep");
    EXPECT_EQ(view_->memoText(), "old memo");

    click("EditButton");
    type("LNAME", "Changed");
    view_->memo()->setPlainText("changed memo");
    click("CancelButton");
    EXPECT_EQ(view_->edit("LNAME")->text(), "Keep");
    EXPECT_EQ(view_->memoText(), "old memo");

    const auto records = stored();
    ASSERT_EQ(records.size(), 1u);
    EXPECT_EQ(records[0].values.value("LNAME"), "Keep");
    EXPECT_EQ(records[0].values.value("MEMO"), "old memo");
}

TEST_F(RecordCommandsTest, SaveRefusesTextTheFileCannotHold) {
    startWith({{{"LNAME", "Plain"}}});
    click("EditButton");
    type("CITY", "Kraków");  // "ó" is in the file's code page (Windows-1252), "Ω" below is not
    type("USER1", "Ωmega");
    click("SaveButton");
    ASSERT_FALSE(asked_.empty());
    EXPECT_TRUE(asked_.back().text.contains("Comment 1")) << asked_.back().text.toStdString();
    EXPECT_TRUE(w_->editor().editing());
    type("USER1", "Omega");
    click("SaveButton");
    EXPECT_FALSE(w_->editor().editing());
    const auto records = stored();
    EXPECT_EQ(records[0].values.value("CITY"), "Kraków");
    EXPECT_EQ(records[0].values.value("USER1"), "Omega");
}

TEST_F(RecordCommandsTest, ClosingWhileEditingAsksWhetherToSave) {
    for (const bool save : {true, false}) {
        asked_.clear();
        startWith({{{"LNAME", "Before"}}});
        click("EditButton");
        type("LNAME", "After");
        answers_ = {save};
        EXPECT_TRUE(w_->close());
        ASSERT_EQ(asked_.size(), 1u);
        EXPECT_EQ(asked_[0].text, "Save changes?");
        EXPECT_EQ(stored()[0].values.value("LNAME"), save ? "After" : "Before");
        QFile::remove(dataFile("add0001.DBF"));
        QFile::remove(dataFile("add0001.CDX"));
        QFile::remove(dataFile("add0001.FPT"));
    }
}

TEST_F(RecordCommandsTest, EditsHoldAtMostTheFieldWidth) {
    startWith({{{"LNAME", "Short"}}});
    click("EditButton");
    type("ZIP", "123456789012345");
    EXPECT_EQ(view_->edit("ZIP")->text(), "1234567890");
    type("MIDDLE", "q");
    EXPECT_EQ(view_->edit("MIDDLE")->text(), "Q");
    click("SaveButton");
    const auto records = stored();
    EXPECT_EQ(records[0].values.value("ZIP"), "1234567890");
    EXPECT_EQ(records[0].values.value("MIDDLE"), "Q");
}

TEST_F(RecordCommandsTest, DeleteMarksTheRecordAndMovesBack) {
    startWith({{{"LNAME", "Able"}}, {{"LNAME", "Baker"}}});
    QTest::keyClick(view_->edit("LNAME"), Qt::Key_PageDown);
    ASSERT_EQ(view_->edit("LNAME")->text(), "Baker");
    answers_ = {false};
    click("DeleteButton");
    EXPECT_EQ(asked_.back().caption, "DELETE");
    EXPECT_EQ(asked_.back().text, "Delete this record?");
    EXPECT_EQ(view_->edit("LNAME")->text(), "Baker");

    click("DeleteButton");
    EXPECT_EQ(view_->edit("LNAME")->text(), "Able");
    EXPECT_EQ(w_->findChild<QLabel*>("FilterPanel")->text(), "1 records (no filter)");
    click("DeleteButton");  // the only record left
    EXPECT_EQ(view_->edit("LNAME")->text(), "");
    EXPECT_FALSE(button("EditButton")->isEnabled());
    EXPECT_FALSE(button("DeleteButton")->isEnabled());
    EXPECT_TRUE(button("AddButton")->isEnabled());
    EXPECT_EQ(w_->findChild<QLabel*>("FilterPanel")->text(), "No records");

    const auto records = stored();
    ASSERT_EQ(records.size(), 2u);
    for (const auto& r : records) {
        EXPECT_TRUE(r.deleted);
        EXPECT_TRUE(r.isdel);
    }
}

TEST_F(RecordCommandsTest, CloneAddsAnExactCopyWithoutTheTag) {
    startWith({{{"LNAME", "Twin"}, {"FNAME", "Tess"}, {"EMAIL", "t@x.org"}, {"MEMO", "memo text"}}});
    view_->taggedBox()->click();
    ASSERT_TRUE(view_->taggedBox()->isChecked());
    answers_ = {false};
    w_->CloneRecord();
    EXPECT_EQ(asked_.back().caption, "Clone");
    EXPECT_EQ(asked_.back().text, "Clone this record?");
    w_->CloneRecord();
    EXPECT_EQ(asked_.back().caption, "Information");
    EXPECT_EQ(asked_.back().text, "Clone completed. Current record is an exact copy");
    EXPECT_FALSE(view_->taggedBox()->isChecked());  // the copy is current
    EXPECT_EQ(view_->memoText(), "memo text");

    const QString tag = w_->GlobalTagId;
    const auto records = stored();
    ASSERT_EQ(records.size(), 2u);
    EXPECT_EQ(records[0].values.value("TAG"), tag);
    RecordValues copy = records[1].values;
    EXPECT_EQ(copy.value("TAG"), "");
    copy["TAG"] = tag;
    EXPECT_EQ(copy, records[0].values);
}

TEST_F(RecordCommandsTest, DuplicateWarningKeepsTheFoundRecordWhenDeclined) {
    startWith({{{"LNAME", "Smith"},
                {"FNAME", "John"},
                {"STREET", "1 Elm"},
                {"CITY", "Salem"},
                {"STATE", "OR"},
                {"ZIP", "97301"}},
               {{"LNAME", "Adams"}}},
              "AutoDupCheck=1\n");
    ASSERT_EQ(view_->edit("LNAME")->text(), "Adams");
    onNextDialog<TNewRecord>([](TNewRecord* d) {
        EXPECT_TRUE(d->LastNameEdit->isVisible());
        EXPECT_FALSE(d->ZipEdit->isVisible());
        QTest::keyClicks(d->LastNameEdit, "smith");
        QTest::keyClick(d->LastNameEdit, Qt::Key_Return);  // to the first name
        QTest::keyClicks(d->FirstNameEdit, "JOHN");
        QTest::keyClick(d->FirstNameEdit, Qt::Key_Tab);  // leaving it accepts
    });
    answers_ = {false};
    const int beeps = BeepCount();
    click("AddButton");
    EXPECT_EQ(BeepCount(), beeps + 1);
    ASSERT_FALSE(asked_.empty());
    EXPECT_EQ(asked_.back().caption, "Possible Duplicate");
    EXPECT_EQ(asked_.back().kind, ScriptedMessages::Kind::Question);
    EXPECT_EQ(asked_.back().preset, Messages::Preset::No);
    EXPECT_FALSE(w_->editor().editing());
    EXPECT_EQ(view_->edit("LNAME")->text(), "Smith");

    // Going on adds a record with the names typed.
    onNextDialog<TNewRecord>([](TNewRecord* d) {
        QTest::keyClicks(d->LastNameEdit, "Smith");
        QTest::keyClicks(d->FirstNameEdit, "John");
        QTest::keyClick(d->LastNameEdit, Qt::Key_PageDown);
    });
    answers_ = {true};
    click("AddButton");
    ASSERT_TRUE(w_->editor().inserting());
    EXPECT_EQ(view_->edit("LNAME")->text(), "Smith");
    EXPECT_EQ(view_->edit("FNAME")->text(), "John");
    EXPECT_EQ(w_->focusWidget(), view_->edit("MIDDLE"));
    click("SaveButton");

    // Cancel in the dialog adds nothing.
    onNextDialog<TNewRecord>([](TNewRecord* d) { QTest::mouseClick(d->CancelButton, Qt::LeftButton); });
    click("AddButton");
    EXPECT_FALSE(w_->editor().editing());
    EXPECT_EQ(stored().size(), 3u);
}

TEST_F(RecordCommandsTest, CityFillFromTheZip) {
    startWith({{{"LNAME", "Here"}, {"CITY", "Springfield"}, {"STATE", "IL"}, {"ZIP", "62701"}}},
              "PlugCityState=1\n");
    onNextDialog<TNewRecord>([](TNewRecord* d) {
        EXPECT_FALSE(d->LastNameEdit->isVisible());
        QTest::keyClicks(d->ZipEdit, "627");
        QTest::keyClick(d->ZipEdit, Qt::Key_Return);
    });
    click("AddButton");
    ASSERT_TRUE(w_->editor().inserting());
    EXPECT_EQ(view_->edit("ZIP")->text(), "627");
    EXPECT_EQ(view_->edit("CITY")->text(), "Springfield");
    EXPECT_EQ(view_->edit("STATE")->text(), "IL");
    click("CancelButton");

    onNextDialog<TNewRecord>([](TNewRecord* d) {
        QTest::keyClicks(d->ZipEdit, "99999");
        QTest::keyClick(d->ZipEdit, Qt::Key_Return);
    });
    click("AddButton");
    EXPECT_EQ(view_->edit("ZIP")->text(), "99999");
    EXPECT_EQ(view_->edit("CITY")->text(), "");
}

TEST_F(RecordCommandsTest, TagsAndClearTags) {
    startWith({{{"LNAME", "One"}}, {{"LNAME", "Two"}}});
    view_->taggedBox()->click();
    EXPECT_TRUE(view_->taggedBox()->isChecked());
    EXPECT_FALSE(w_->editor().editing());  // written at once
    const QString firstTag = w_->GlobalTagId;

    w_->ClearTags();
    EXPECT_NE(w_->GlobalTagId, firstTag);
    EXPECT_FALSE(view_->taggedBox()->isChecked());
    EXPECT_TRUE(ini().contains("GlobalTagId=" + w_->GlobalTagId.toLatin1()));

    const auto records = stored();
    EXPECT_EQ(records[0].values.value("TAG"), firstTag);  // untouched
}

TEST_F(RecordCommandsTest, DatePickerStoresAndRemovesTheDate) {
    startWith({{{"LNAME", "Dated"}, {"DATE", "20200315"}}});
    onNextDialog<TDateSelect>([](TDateSelect* d) {
        EXPECT_EQ(d->selectedDate(), QDate(2020, 3, 15));
        QTest::mouseClick(d->MonthForwardButton, Qt::LeftButton);
        QTest::mouseClick(d->OkButton, Qt::LeftButton);
    });
    QTest::mouseClick(view_->dateButton(), Qt::LeftButton);
    ASSERT_TRUE(w_->editor().editing());  // the date starts an edit
    EXPECT_EQ(w_->editor().value("DATE"), "20200415");
    click("SaveButton");

    onNextDialog<TDateSelect>([](TDateSelect* d) { QTest::mouseClick(d->CancelButton, Qt::LeftButton); });
    QTest::mouseClick(view_->dateButton(), Qt::LeftButton);
    EXPECT_FALSE(w_->editor().editing());

    onNextDialog<TDateSelect>([](TDateSelect* d) { QTest::mouseClick(d->NoDateButton, Qt::LeftButton); });
    QTest::mouseClick(view_->dateButton(), Qt::LeftButton);
    EXPECT_EQ(view_->dateDisplay()->text(), "");
    click("SaveButton");
    EXPECT_EQ(stored()[0].values.value("DATE"), "");
}

TEST_F(RecordCommandsTest, CopyToClipboard) {
    startWith({{{"PREFIX", "Ms."},
                {"FNAME", "Ann"},
                {"MIDDLE", "B"},
                {"LNAME", "Cole"},
                {"STREET", "2 Oak"},
                {"CITY", "Reno"},
                {"STATE", "NV"},
                {"ZIP", "89501"},
                {"PHONE2", "555"},
                {"USER1", "c1"}}});
    onNextDialog<TCopyToClipboard>([](TCopyToClipboard* d) {
        EXPECT_TRUE(d->CommentsBox->isChecked());
        d->CommentsBox->setChecked(false);
        QTest::mouseClick(d->OkButton, Qt::LeftButton);
    });
    w_->action("mnuCopyToClipboard")->trigger();
    EXPECT_EQ(QGuiApplication::clipboard()->text(),
              "Ms. Ann B. Cole \r\n2 Oak\r\nReno  NV 89501\r\nPhone 2:555\r\n");
    EXPECT_EQ(asked_.back().text, "Record copied to Windows Clipboard");
}

TEST_F(RecordCommandsTest, PreferencesAreStoredAndUsedAtOnce) {
    startWith({{{"LNAME", "Prev"}, {"COUNTRY", "Norway"}}});
    onNextDialog<TPreferences>([](TPreferences* d) {
        d->box("Carry", "Country")->setChecked(true);
        d->box("Skip", "Last Name")->setChecked(true);
        d->DefaultCountryEdit->setText("USA");
        QTest::mouseClick(d->OkButton, Qt::LeftButton);
    });
    w_->action("mnuPreferences")->trigger();
    EXPECT_TRUE(ini().contains("CarryCountry=1"));
    EXPECT_TRUE(ini().contains("SkipLastName=1"));
    EXPECT_TRUE(ini().contains("DefaultCountry=USA"));
    click("AddButton");
    EXPECT_EQ(view_->edit("COUNTRY")->text(), "Norway");
    EXPECT_EQ(w_->focusWidget(), view_->edit("FNAME"));
}

}  // namespace
