// The main window's frame: start-up, the no-file state, the caption, the button and
// menu states, and the keys.

#include <QAction>
#include <QCheckBox>
#include <QFile>
#include <QLabel>
#include <QLineEdit>
#include <QMenu>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QTest>

#include "RecordView.h"
#include "TGettingStarted.h"
#include "Table.h"
#include "TagId.h"
#include "WindowTestSupport.h"

namespace {

QPushButton* button(TAddressMain& w, const char* name) { return w.findChild<QPushButton*>(name); }
QLabel* label(TAddressMain& w, const char* name) { return w.findChild<QLabel*>(name); }

// Every command that needs a record, as menu items, toolbar actions and buttons.
const char* const kRecordActions[] = {
    "mnuBrowse", "mnuSearch", "mnuExport", "mnuClone",           "mnuFirst",    "mnuPrevious", "mnuNext",
    "mnuLast",   "mnuEdit",   "mnuDelete", "mnuCopyToClipboard", "tbLabels",    "tbLetters",   "tbEnvelopes",
    "tbReports", "tbBrowse",  "tbSearch",  "tbFilter",           "mnuSetFilter"};
const char* const kRecordButtons[] = {"FirstButton", "PriorButton", "NextButton",
                                      "LastButton",  "EditButton",  "DeleteButton"};

TEST_F(WindowTest, FirstStartCreatesAndOpensAdd0001) {
    writeIni("");  // an empty settings file: the Getting Started screen shows too
    auto w = start();
    const QString path = dataFile("add0001.DBF");
    ASSERT_TRUE(QFile::exists(path));
    ASSERT_NE(w->table(), nullptr);
    EXPECT_EQ(w->CurrentFileName, path);
    EXPECT_EQ(w->windowTitle(), "Quillory - " + path);
    EXPECT_EQ(w->CurrentOrderName, "LNAME");
    EXPECT_EQ(label(*w, "SortPanel")->text(), "Sorted by Last Name");
    EXPECT_EQ(label(*w, "FilterPanel")->text(), "No records");
    EXPECT_TRUE(w->action("mnuSortLNAME")->isChecked());
    EXPECT_FALSE(label(*w, "NoFilePanel")->isVisible());

    const QByteArray settings = ini();
    EXPECT_TRUE(settings.contains("GlobalTagId=" + w->GlobalTagId.toLatin1())) << settings.constData();
    EXPECT_TRUE(TagId::isValid(w->GlobalTagId));
    EXPECT_TRUE(settings.contains("Item1=" + path.toUtf8()));
    EXPECT_TRUE(settings.contains("[TAddressMain_Placement"));
    EXPECT_TRUE(asked_.empty()) << askedTexts().join("\n").toStdString();

    // An empty file: only Add works among the record commands.
    EXPECT_TRUE(button(*w, "AddButton")->isEnabled());
    EXPECT_FALSE(button(*w, "EditButton")->isEnabled());

    // The Getting Started screen follows the activation; its box is stored on Ok.
    QApplication::processEvents();
    auto* welcome = w->findChild<TGettingStarted*>();
    ASSERT_NE(welcome, nullptr);
    EXPECT_TRUE(welcome->isVisible());
    welcome->DontShowCheckBox->setChecked(true);
    QTest::mouseClick(welcome->OkButton, Qt::LeftButton);
    EXPECT_TRUE(ini().contains("GettingStarted=1"));
}

TEST_F(WindowTest, WithNoFileOpenEveryRecordCommandIsDisabled) {
    const QString missing = dataFile("gone.DBF");
    writeIni("[Misc]\nGettingStarted=1\n[MRU]\nItem1=" + missing.toUtf8() + "\n");
    auto w = start();
    EXPECT_EQ(w->table(), nullptr);
    EXPECT_TRUE(w->CurrentFileName.isEmpty());
    EXPECT_EQ(w->windowTitle(), "Quillory - " + missing);  // the caption names the file that was tried
    // Two boxes: the file is missing, then it could not be opened.
    ASSERT_EQ(asked_.size(), 2u);
    EXPECT_EQ(asked_[0].text, "File " + missing + " not found");
    EXPECT_EQ(asked_[1].text,
              "Unable to open " + missing +
                  "\r\n\r\n * May not be a Quillory file.\r\n * May be in use by another program or user");

    EXPECT_TRUE(label(*w, "NoFilePanel")->isVisible());
    EXPECT_EQ(label(*w, "NoFilePanel")->text(), "Please Open or Create a Quillory Address file");
    EXPECT_TRUE(label(*w, "SortPanel")->text().isEmpty());
    EXPECT_FALSE(label(*w, "FilterPanel")->isVisible());
    for (const char* name : kRecordActions) EXPECT_FALSE(w->action(name)->isEnabled()) << name;
    for (const char* name : kRecordButtons) EXPECT_FALSE(button(*w, name)->isEnabled()) << name;
    EXPECT_FALSE(button(*w, "AddButton")->isEnabled());
    EXPECT_FALSE(w->action("mnuAdd")->isEnabled());
    EXPECT_FALSE(w->action("mnuReindex")->isEnabled());
    EXPECT_FALSE(w->action("mnuClearTags")->isEnabled());
    for (const char* menu : {"menuRecord", "menuSort", "menuPrint", "menuUtilities", "menuEdit"}) {
        EXPECT_FALSE(w->menu(menu)->menuAction()->isEnabled()) << menu;
    }
    EXPECT_FALSE(w->recordView()->taggedBox()->isEnabled());
    // What needs no file still works.
    EXPECT_TRUE(w->menu("menuFile")->menuAction()->isEnabled());
    for (const char* name : {"mnuNew", "mnuOpen", "mnuSysReindex", "mnuPreferences", "mnuExit"}) {
        EXPECT_TRUE(w->action(name)->isEnabled()) << name;
    }
    EXPECT_TRUE(button(*w, "ExitButton")->isEnabled());

    // Keys do nothing either.
    const int beeps = BeepCount();
    QTest::keyClick(w->recordView()->edit("LNAME"), Qt::Key_PageDown);
    QTest::keyClick(w->recordView()->edit("LNAME"), Qt::Key_Right, Qt::ControlModifier);
    EXPECT_EQ(BeepCount(), beeps);
    EXPECT_EQ(w->table(), nullptr);
}

TEST_F(WindowTest, AFailedOpenStillSetsTheCaption) {
    makeAddressFile(dataFile("add0001.DBF"), {{{"LNAME", "Kept"}}});
    auto w = start();
    ASSERT_NE(w->table(), nullptr);

    const QString notATable = dataFile("notes.dbf");
    QFile f(notATable);
    ASSERT_TRUE(f.open(QIODevice::WriteOnly));
    f.write("this is not a table");
    f.close();
    w->OpenFile(notATable);
    EXPECT_EQ(w->windowTitle(), "Quillory - " + notATable);
    EXPECT_EQ(w->table(), nullptr);
    EXPECT_TRUE(w->CurrentFileName.isEmpty());
    EXPECT_TRUE(
        wasAsked("Unable to open " + notATable +
                 "\r\n\r\n * May not be a Quillory file.\r\n * May be in use by another program or user"));
    EXPECT_FALSE(button(*w, "AddButton")->isEnabled());

    asked_.clear();
    w->OpenFile(dataFile("add0001.txt"));
    ASSERT_EQ(asked_.size(), 1u);
    EXPECT_EQ(asked_[0].text, "Must be a DBF file");
    EXPECT_EQ(asked_[0].caption, "Information");
}

TEST_F(WindowTest, MruEntriesOpenTheirFileAndAFailureReopensThePreviousOne) {
    const QString a = dataFile("a.DBF"), b = dataFile("b.DBF"), gone = dataFile("gone.DBF");
    makeAddressFile(a, {{{"LNAME", "In A"}}});
    makeAddressFile(b, {{{"LNAME", "In B"}}});
    writeIni("[Misc]\nGettingStarted=1\n[MRU]\nItem1=" + a.toUtf8() + "\nItem2=" + gone.toUtf8() +
             "\nItem3=" + b.toUtf8() + "\n");
    auto w = start();
    auto entry = [&w](const QString& path) -> QAction* {
        for (QAction* act : w->menu("menuFile")->actions()) {
            if (act->objectName() == "mnuMru" && act->data().toString() == path) return act;
        }
        return nullptr;
    };
    ASSERT_EQ(w->CurrentFileName, a);
    ASSERT_NE(entry(b), nullptr);
    entry(b)->trigger();
    EXPECT_EQ(w->CurrentFileName, b);
    EXPECT_EQ(w->recordView()->edit("LNAME")->text(), "In B");
    EXPECT_TRUE(ini().contains("Item1=" + b.toUtf8() + "\nItem2=" + a.toUtf8()));

    entry(gone)->trigger();
    EXPECT_TRUE(wasAsked("File " + gone + " not found"));
    EXPECT_TRUE(
        wasAsked("Unable to open " + gone +
                 "\r\n\r\n * May not be a Quillory file.\r\n * May be in use by another program or user"));
    EXPECT_EQ(w->CurrentFileName, b);  // the file that was open comes back
    EXPECT_EQ(w->recordView()->edit("LNAME")->text(), "In B");
}

TEST_F(WindowTest, AMissingIndexIsOfferedForRebuild) {
    const QString path = dataFile("add0001.DBF");
    makeAddressFile(path, {{{"LNAME", "Zed"}}, {{"LNAME", "Able"}}});
    ASSERT_TRUE(QFile::remove(dataFile("add0001.CDX")));
    answers_ = {false};
    auto w = start();
    EXPECT_TRUE(wasAsked("The index file for " + path + "\r\nis missing or invalid. Rebuild now?"));
    EXPECT_EQ(w->table(), nullptr);
    EXPECT_TRUE(ini().contains("Item1=" + path.toUtf8()));  // still remembered
    EXPECT_EQ(w->windowTitle(), "Quillory - " + path);
}

TEST_F(WindowTest, SetButtonsWhileEditing) {
    makeAddressFile(dataFile("add0001.DBF"), {{{"LNAME", "Able"}}, {{"LNAME", "Baker"}}});
    auto w = start();
    RecordView* view = w->recordView();
    EXPECT_TRUE(view->edit("LNAME")->isReadOnly());
    EXPECT_TRUE(button(*w, "EditButton")->isEnabled());
    EXPECT_FALSE(button(*w, "SaveButton")->isVisible());
    EXPECT_TRUE(view->dialPhone1()->isVisible());
    EXPECT_EQ(label(*w, "FilterPanel")->text(), "2 records (no filter)");

    QTest::mouseClick(button(*w, "EditButton"), Qt::LeftButton);
    ASSERT_TRUE(w->editor().editing());
    EXPECT_FALSE(view->edit("LNAME")->isReadOnly());
    EXPECT_EQ(QApplication::focusWidget(), view->edit("LNAME"));
    for (const char* name : {"SaveButton", "CancelButton"}) {
        EXPECT_TRUE(button(*w, name)->isVisible()) << name;
        EXPECT_TRUE(button(*w, name)->isEnabled()) << name;
    }
    for (const char* name : {"AddButton", "EditButton", "DeleteButton", "ExitButton"}) {
        EXPECT_FALSE(button(*w, name)->isVisible()) << name;
    }
    for (const char* name : {"FirstButton", "NextButton"})
        EXPECT_FALSE(button(*w, name)->isEnabled()) << name;
    for (const char* menu : {"menuFile", "menuRecord", "menuSort", "menuPrint", "menuUtilities"}) {
        EXPECT_FALSE(w->menu(menu)->menuAction()->isEnabled()) << menu;
    }
    EXPECT_TRUE(w->menu("menuEdit")->menuAction()->isEnabled());
    EXPECT_FALSE(w->action("tbLabels")->isEnabled());
    EXPECT_FALSE(w->action("tbFilter")->isEnabled());
    EXPECT_FALSE(view->dialPhone1()->isVisible());
    EXPECT_FALSE(view->searchMemoButton()->isVisible());
    EXPECT_FALSE(button(*w, "ClearFilterButton")->isVisible());

    QTest::mouseClick(button(*w, "CancelButton"), Qt::LeftButton);
    EXPECT_FALSE(w->editor().editing());
    EXPECT_TRUE(button(*w, "AddButton")->isVisible());
    EXPECT_TRUE(view->edit("LNAME")->isReadOnly());
}

class KeysTest : public WindowTest {
  protected:
    void SetUp() override {
        WindowTest::SetUp();
        makeAddressFile(dataFile("add0001.DBF"),
                        {{{"LNAME", "Baker"}}, {{"LNAME", "Able"}}, {{"LNAME", "Cole"}}});
        w_ = start();
        last_ = w_->recordView()->edit("LNAME");
    }
    QString shown() const { return last_->text(); }

    std::unique_ptr<TAddressMain> w_;
    QLineEdit* last_ = nullptr;
};

TEST_F(KeysTest, PageKeysMoveBetweenRecordsAndBeepAtTheEnds) {
    EXPECT_EQ(shown(), "Able");
    const int beeps = BeepCount();
    QTest::keyClick(last_, Qt::Key_PageUp);
    EXPECT_EQ(BeepCount(), beeps + 1);
    QTest::keyClick(last_, Qt::Key_PageDown);
    EXPECT_EQ(shown(), "Baker");
    QTest::keyClick(last_, Qt::Key_PageDown, Qt::ControlModifier);
    EXPECT_EQ(shown(), "Cole");
    QTest::keyClick(last_, Qt::Key_PageDown);
    EXPECT_EQ(shown(), "Cole");
    EXPECT_EQ(BeepCount(), beeps + 2);
    QTest::keyClick(last_, Qt::Key_PageUp, Qt::ControlModifier);
    EXPECT_EQ(shown(), "Able");
    // Only Ctrl alone means first or last.
    QTest::keyClick(last_, Qt::Key_PageDown, Qt::ControlModifier | Qt::ShiftModifier);
    EXPECT_EQ(shown(), "Baker");
    // The Record menu's keys, also from inside an edit.
    QTest::keyClick(last_, Qt::Key_Down, Qt::ControlModifier);
    EXPECT_EQ(shown(), "Cole");
    QTest::keyClick(last_, Qt::Key_Left, Qt::ControlModifier);
    EXPECT_EQ(shown(), "Baker");
    QTest::keyClick(w_->recordView()->memo(), Qt::Key_Up, Qt::ControlModifier);
    EXPECT_EQ(shown(), "Able");
}

TEST_F(KeysTest, KeysWhileEditing) {
    w_->EditRecord();
    QTest::keyClick(last_, Qt::Key_End);
    QTest::keyClicks(last_, "r");
    // Page Up does nothing, Page Down asks before saving.
    QTest::keyClick(last_, Qt::Key_PageUp);
    EXPECT_TRUE(w_->editor().editing());
    answers_ = {false};
    QTest::keyClick(last_, Qt::Key_PageDown);
    ASSERT_EQ(asked_.size(), 1u);
    EXPECT_EQ(asked_[0].caption, "Save");
    EXPECT_EQ(asked_[0].text, "Save changes?");
    EXPECT_TRUE(w_->editor().editing());

    // Esc asks; No keeps the edit, in the memo as well.
    answers_ = {false, false};
    QTest::keyClick(last_, Qt::Key_Escape);
    EXPECT_EQ(asked_.back().caption, "Cancel");
    EXPECT_EQ(asked_.back().text, "Cancel changes?");
    EXPECT_TRUE(w_->editor().editing());
    QTest::keyClick(w_->recordView()->memo(), Qt::Key_Escape);
    EXPECT_TRUE(w_->editor().editing());
    EXPECT_EQ(w_->editor().value("LNAME"), "Abler");

    // Ctrl+Enter saves.
    QTest::keyClick(last_, Qt::Key_Return, Qt::ControlModifier);
    EXPECT_FALSE(w_->editor().editing());
    EXPECT_EQ(shown(), "Abler");

    // Alt+Enter saves and offers another record.
    w_->EditRecord();
    QTest::keyClicks(last_, "s");
    answers_ = {true};
    QTest::keyClick(last_, Qt::Key_Return, Qt::AltModifier);
    EXPECT_EQ(asked_.back().caption, "Add");
    EXPECT_EQ(asked_.back().text, "Add another record?");
    EXPECT_TRUE(w_->editor().inserting());
    EXPECT_EQ(shown(), "");

    // Esc with Yes drops the new record.
    answers_ = {true};
    QTest::keyClick(last_, Qt::Key_Escape);
    EXPECT_FALSE(w_->editor().editing());

    w_.reset();
    const auto records = readRecords(dataFile("add0001.DBF"));
    ASSERT_EQ(records.size(), 3u);
    EXPECT_EQ(records[1].values.value("LNAME"), "Ablers");
}

TEST_F(KeysTest, EnterMovesToTheNextFieldAndInsertTogglesOverwrite) {
    w_->EditRecord();
    RecordView* view = w_->recordView();
    last_->setFocus();
    QTest::keyClick(last_, Qt::Key_Return);
    EXPECT_EQ(QApplication::focusWidget(), view->edit("FNAME"));

    // With Insert off, typing replaces the character after the caret.
    last_->setFocus();
    last_->setCursorPosition(0);
    QTest::keyClick(last_, Qt::Key_Insert);
    QTest::keyClicks(last_, "Xy");
    EXPECT_EQ(last_->text(), "Xyle");
    QTest::keyClick(last_, Qt::Key_End);
    QTest::keyClicks(last_, "Z");  // nothing after the caret: appended
    EXPECT_EQ(last_->text(), "XyleZ");
    QTest::keyClick(last_, Qt::Key_Insert);
    last_->setCursorPosition(0);
    QTest::keyClicks(last_, "Q");
    EXPECT_EQ(last_->text(), "QXyleZ");
    EXPECT_EQ(w_->editor().value("LNAME"), "QXyleZ");
    EXPECT_TRUE(RecordView::insertMode());
}

TEST_F(KeysTest, TypingInTheMemoOrADoubleClickStartsEditing) {
    RecordView* view = w_->recordView();
    view->selectPage(1);
    QTest::keyClicks(view->memo(), "hello");
    ASSERT_TRUE(w_->editor().editing());
    EXPECT_EQ(view->memoText(), "hello");
    QTest::mouseClick(button(*w_, "SaveButton"), Qt::LeftButton);
    EXPECT_EQ(w_->editor().value("MEMO"), "hello");

    view->selectPage(0);
    QTest::mouseDClick(view->edit("CITY"), Qt::LeftButton);
    EXPECT_TRUE(w_->editor().editing());
    EXPECT_FALSE(view->edit("CITY")->isReadOnly());
}

}  // namespace
