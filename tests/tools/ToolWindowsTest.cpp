// The tools' windows driven by clicks and keys: one main path each.

#include <gtest/gtest.h>

#include <QAbstractButton>
#include <QCheckBox>
#include <QElapsedTimer>
#include <QFile>
#include <QHeaderView>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QPushButton>
#include <QRadioButton>
#include <QSpinBox>
#include <QTableView>
#include <QTest>

#include "AppHome.h"
#include "EditableGridModel.h"
#include "NextDialog.h"
#include "PtyModem.h"
#include "RecordGrid.h"
#include "ScriptedMessages.h"
#include "SettingKeys.h"
#include "Settings.h"
#include "TConvertToUpper.h"
#include "TDeleteRecords.h"
#include "TDupCheck.h"
#include "TQYDialer.h"
#include "TSearchAndReplace.h"
#include "TStateZipCheck.h"
#include "TTagging.h"
#include "ToolsTestSupport.h"

namespace {

// Lets the events run until `done` holds (a few seconds at most).
bool waitUntil(const std::function<bool()>& done) {
    QElapsedTimer clock;
    clock.start();
    while (!done() && clock.elapsed() < 5000) QTest::qWait(5);
    return done();
}

// The cell editor open in the grid, if any.
QLineEdit* openEditor(RecordGrid* grid) {
    for (QLineEdit* e : grid->Grid->viewport()->findChildren<QLineEdit*>())
        if (e->isVisible()) return e;
    return nullptr;
}

// Types `text` into the grid's cell at (row, field), as a user does: the key opens
// the editor, Return ends it.
void typeIntoCell(RecordGrid* grid, int row, const QString& field, const QString& text) {
    int column = -1;
    for (int c = 0; c < grid->model()->columnCount(); ++c)
        if (grid->model()->fieldName(c) == field) column = c;
    ASSERT_GE(column, 0) << field.toStdString();
    grid->Grid->setCurrentIndex(grid->model()->index(row, column));
    grid->Grid->setFocus();
    QTest::keyClicks(grid->Grid, text.left(1));
    QLineEdit* editor = openEditor(grid);
    ASSERT_TRUE(editor);
    editor->selectAll();
    QTest::keyClicks(editor, text);
    QTest::keyClick(editor, Qt::Key_Return);
    // The cell takes the text from the message loop.
    QTest::qWait(1);
}

// Clicks a check box or radio button on its box, where a user does.
void press(QAbstractButton* button) {
    QTest::mouseClick(button, Qt::LeftButton, {}, QPoint(8, button->height() / 2));
}

// The answer to the Tagging window once it has finished.
void pressOkWhenTagged() {
    onNextDialog<TTagging>([](TTagging* d) { return d->OkButton->isVisible(); },
                           [](TTagging* d) { QTest::mouseClick(d->OkButton, Qt::LeftButton); });
}

TEST(ToolWindows, DuplicateCheckOnStreetsThenRepairInTheGrid) {
    AddressTable table;
    table.add({{"LNAME", "Adams"}, {"STREET", "12 Main Street"}, {"CITY", "Salem"}});
    table.add({{"LNAME", "Baker"}, {"STREET", "9 Elm Road"}});
    table.add({{"LNAME", "Clark"}, {"STREET", "12 Main Avenue"}});
    ASSERT_TRUE(table->query("!ISDEL").ok());
    table.order("LNAME");
    const QString indexPath = QString::fromStdString(table.dir().file("_chkdup.idx"));
    ScriptedMessages messages;

    TDupCheck dialog(*table, indexPath, "ID1");
    EXPECT_EQ(dialog.windowTitle(), "Check and Repair Duplicates");
    dialog.show();
    dialog.activateWindow();
    ASSERT_TRUE(QTest::qWaitForWindowActive(&dialog));
    EXPECT_TRUE(dialog.LastFirstRadio->isChecked());
    EXPECT_FALSE(dialog.StreetLengthSpin->isVisible());
    EXPECT_FALSE(dialog.CancelButton->isVisible());
    press(dialog.StreetRadio);
    ASSERT_TRUE(dialog.StreetLengthSpin->isVisible());
    EXPECT_EQ(dialog.StreetLengthSpin->value(), 30);
    dialog.StreetLengthSpin->selectAll();
    QTest::keyClicks(dialog.StreetLengthSpin, "7");
    QTest::mouseClick(dialog.PerformButton, Qt::LeftButton);
    ASSERT_TRUE(waitUntil([&] { return dialog.scanned(); }));
    EXPECT_EQ(dialog.FoundLabel->text(), "Found 1 possible duplicates");
    EXPECT_FALSE(dialog.SetupPanel->isVisible());
    EXPECT_TRUE(dialog.OkButton->isVisible());
    EXPECT_FALSE(dialog.CancelButton->isVisible());
    ASSERT_TRUE(dialog.GridPanel->isVisible());
    RecordGrid* grid = dialog.grid();
    EXPECT_EQ(grid->model()->rowCount(), 2);
    EXPECT_EQ(grid->model()->fieldName(1), "STREET");  // moved next to the tag column
    EXPECT_EQ(grid->model()->data(grid->model()->index(0, 1)).toString(), "12 Main Avenue");

    // Type into a cell, Undo, type again and Save.
    typeIntoCell(grid, 1, "CITY", "Boston");
    EXPECT_TRUE(grid->model()->editing());
    QTest::mouseClick(dialog.UndoButton, Qt::LeftButton);
    EXPECT_FALSE(grid->model()->editing());
    typeIntoCell(grid, 1, "CITY", "Boston");
    QTest::mouseClick(dialog.SaveButton, Qt::LeftButton);
    EXPECT_EQ(fieldOf(*table, 1, "CITY"), "Boston");

    // Tag the first row, delete the second.
    grid->Grid->setCurrentIndex(grid->model()->index(0, 0));
    QTest::mouseClick(dialog.TagButton, Qt::LeftButton);
    EXPECT_EQ(fieldOf(*table, 3, "TAG"), "ID1");
    EXPECT_EQ(grid->model()->data(grid->model()->index(0, 0)).toString(), "Yes");
    grid->Grid->setCurrentIndex(grid->model()->index(1, 0));
    QTest::mouseClick(dialog.DeleteButton, Qt::LeftButton);
    EXPECT_EQ(deletionOf(*table, 1), std::make_pair(true, true));
    EXPECT_EQ(grid->model()->rowCount(), 1);

    pressOkWhenTagged();
    QTest::mouseClick(dialog.TagAllButton, Qt::LeftButton);
    EXPECT_EQ(messages.texts(),
              QStringList({"Information: Delete this record?", "TAG ALL: Tag all possible duplicates?"}));

    EXPECT_TRUE(QFile::exists(indexPath));
    QTest::mouseClick(dialog.OkButton, Qt::LeftButton);
    EXPECT_FALSE(dialog.isVisible());
    EXPECT_FALSE(QFile::exists(indexPath));
    EXPECT_EQ(table->orderCount(), 26);
    ExpectIndexesAgree(*table);
}

TEST(ToolWindows, DuplicateCheckCancelledShowsWhatItFound) {
    AddressTable table;
    for (int i = 0; i < 3000; ++i)
        table.add({{"LNAME", i < 50 ? "Same" : QString("N%1").arg(i)}, {"FNAME", "A"}});
    ASSERT_TRUE(table->query("!ISDEL").ok());
    ScriptedMessages messages;
    TDupCheck dialog(*table, QString::fromStdString(table.dir().file("_chkdup.idx")), "ID1");
    dialog.show();
    dialog.activateWindow();
    ASSERT_TRUE(QTest::qWaitForWindowActive(&dialog));
    QTest::mouseClick(dialog.PerformButton, Qt::LeftButton);
    // Cancel as soon as the scan runs; the question is answered Yes.
    ASSERT_TRUE(waitUntil([&] { return dialog.CancelButton->isVisible(); }));
    QTest::mouseClick(dialog.CancelButton, Qt::LeftButton);
    ASSERT_TRUE(waitUntil([&] { return dialog.scanned(); }));
    EXPECT_EQ(messages.texts(), QStringList({"Information: Cancel operation?"}));
    EXPECT_LT(dialog.result().matches, 2999u);
    EXPECT_EQ(dialog.FoundLabel->text(), DuplicateCheck::FoundText(dialog.result().matches));
    if (dialog.result().matches > 0) {
        EXPECT_EQ(dialog.grid()->model()->rowCount(), int(dialog.result().candidates));
    }
}

TEST(ToolWindows, ConvertCaseOfAllRecords) {
    AddressTable table;
    table.add({{"LNAME", "o'NEIL"}, {"FNAME", "mary ann"}, {"CITY", "new york"}});
    table.add({{"LNAME", "van der berg"}, {"CITY", "SALEM"}});
    ASSERT_TRUE(table->query("!ISDEL").ok());
    ScriptedMessages messages;
    TConvertToUpper dialog(*table, false);
    EXPECT_EQ(dialog.windowTitle(), "Convert Case");
    dialog.show();
    dialog.activateWindow();
    ASSERT_TRUE(QTest::qWaitForWindowActive(&dialog));
    EXPECT_FALSE(dialog.FilterRecordsRadio->isEnabled());
    EXPECT_TRUE(dialog.CurrentRecordRadio->isChecked());
    EXPECT_TRUE(dialog.UppercaseRadio->isChecked());
    // "All" off and the city box back on: only the city is converted.
    press(dialog.AllBox);
    for (QCheckBox* box : dialog.FieldBoxes) EXPECT_FALSE(box->isChecked());
    QTest::mouseClick(dialog.ConvertButton, Qt::LeftButton);
    EXPECT_EQ(messages.texts(), QStringList({"Information: No fields checked for conversion"}));
    QCheckBox* city = dialog.findChild<QCheckBox*>("FieldCITY");
    ASSERT_TRUE(city);
    press(city);
    press(dialog.ProperRadio);
    press(dialog.AllRecordsRadio);
    QTest::mouseClick(dialog.ConvertButton, Qt::LeftButton);
    ASSERT_TRUE(waitUntil([&] { return !dialog.isVisible(); }));
    EXPECT_EQ(dialog.result().converted, 2u);
    EXPECT_EQ(fieldOf(*table, 1, "CITY"), "New York");
    EXPECT_EQ(fieldOf(*table, 2, "CITY"), "Salem");
    EXPECT_EQ(fieldOf(*table, 1, "LNAME"), "o'NEIL");
    EXPECT_EQ(messages.texts().last(), "(No) Convert: Convert now? This process cannot be undone..");
}

TEST(ToolWindows, SearchAndReplaceMatchingText) {
    AddressTable table;
    table.add({{"LNAME", "a"}, {"STREET", "1 Main ST"}});
    table.add({{"LNAME", "b"}, {"STREET", "2 Stone St"}});
    table.add({{"LNAME", "c"}, {"STREET", "3 Elm Road"}});
    ScriptedMessages messages;
    TSearchAndReplace dialog(*table, QString());
    EXPECT_EQ(dialog.windowTitle(), "Search and Replace");
    dialog.show();
    dialog.activateWindow();
    ASSERT_TRUE(QTest::qWaitForWindowActive(&dialog));
    EXPECT_EQ(dialog.FieldList->currentItem()->text(), "Last Name");
    EXPECT_FALSE(dialog.FilterRecordsRadio->isEnabled());
    QTest::keyClicks(dialog.FindEdit, QString(35, 'x'));
    dialog.FieldList->setCurrentRow(
        dialog.FieldList->row(dialog.FieldList->findItems("Address 1", Qt::MatchExactly).first()));
    EXPECT_EQ(dialog.FindEdit->maxLength(), 40);
    dialog.FieldList->setCurrentRow(
        dialog.FieldList->row(dialog.FieldList->findItems("State", Qt::MatchExactly).first()));
    EXPECT_EQ(dialog.FindEdit->text(), QString(20, 'x'));  // cut to the field's width
    dialog.FieldList->setCurrentRow(
        dialog.FieldList->row(dialog.FieldList->findItems("Address 1", Qt::MatchExactly).first()));
    dialog.FindEdit->clear();
    QTest::keyClicks(dialog.FindEdit, " st");
    press(dialog.ContainsRadio);
    press(dialog.CaseSensitiveBox);
    press(dialog.MatchingTextRadio);
    QTest::keyClicks(dialog.ReplaceEdit, " Street");
    QTest::mouseClick(dialog.ReplaceButton, Qt::LeftButton);
    ASSERT_TRUE(waitUntil([&] { return !dialog.isVisible(); }));
    EXPECT_EQ(messages.texts(),
              QStringList(
                  {"Replace: Find records where field Address 1\rcontains: \" st\" (not case sensitive)\rand "
                   "replace only the matching text with \" Street\"",
                   "Information: Replaced 2 records", "Information: Replacement done"}));
    EXPECT_EQ(fieldOf(*table, 1, "STREET"), "1 Main Street");
    EXPECT_EQ(fieldOf(*table, 2, "STREET"), "2 Streetone Street");
    EXPECT_EQ(fieldOf(*table, 3, "STREET"), "3 Elm Road");
}

TEST(ToolWindows, DeleteRecordsNotMatchingTheFilter) {
    AddressTable table;
    for (const char* city : {"Springfield", "Boston", "Springfield", "Salem"}) table.add({{"CITY", city}});
    ScriptedMessages messages;
    messages.answers = {false, true};
    TDeleteRecords dialog(*table, "UPPER(CITY)=\"SPRINGFIELD\"");
    EXPECT_EQ(dialog.windowTitle(), "Delete Records");
    dialog.show();
    dialog.activateWindow();
    ASSERT_TRUE(QTest::qWaitForWindowActive(&dialog));
    EXPECT_TRUE(dialog.AllRadio->isChecked());
    EXPECT_TRUE(dialog.NotMatchingRadio->isEnabled());
    press(dialog.NotMatchingRadio);
    QTest::mouseClick(dialog.DeleteNowButton, Qt::LeftButton);  // answered No: nothing happens
    EXPECT_TRUE(dialog.ChoicePanel->isVisible());
    QTest::mouseClick(dialog.DeleteNowButton, Qt::LeftButton);
    ASSERT_TRUE(waitUntil([&] { return !dialog.isVisible(); }));
    EXPECT_EQ(messages.texts(),
              QStringList({"(No) DELETE: Are you sure?", "(No) DELETE: Are you sure?", "Information: Deleted 2 records",
                           "Information: For optimum space usage, please select\r\n[Rebuild "
                           "Indexes] from the File menu"}));
    for (uint32_t r : {2u, 4u}) EXPECT_EQ(deletionOf(*table, r), std::make_pair(true, true)) << r;
    for (uint32_t r : {1u, 3u}) EXPECT_EQ(deletionOf(*table, r), std::make_pair(false, false)) << r;
}

TEST(ToolWindows, StateZipCheckAndTheStateTable) {
    AddressTable table;
    TempDir homeDir;
    const AppHome home(QString::fromStdString(homeDir.path()));
    QString error;
    ASSERT_TRUE(home.ensureExists(&error)) << error.toStdString();
    QFile::remove(home.sysDataDir() + "/CSZ.DBF");
    QFile::remove(home.sysDataDir() + "/CSZ.CDX");
    makeStateTable((home.sysDataDir() + "/CSZ.DBF").toStdString(), testStates());
    table.add({{"LNAME", "Young"}, {"STATE", "NY"}, {"ZIP", "09999"}});
    table.add({{"LNAME", "Able"}, {"STATE", "NY"}, {"ZIP", "10001"}});
    table.add({{"LNAME", "Moss"}, {"STATE", "ON"}, {"ZIP", "K1A 0B1"}});
    ASSERT_TRUE(table->query("!ISDEL").ok());
    ScriptedMessages messages;
    TStateZipCheck dialog(*table, home, "ID1");
    EXPECT_EQ(dialog.windowTitle(), "Check State and Zip  Codes");
    dialog.show();
    dialog.activateWindow();
    ASSERT_TRUE(QTest::qWaitForWindowActive(&dialog));
    EXPECT_FALSE(dialog.CancelButton->isVisible());
    QTest::mouseClick(dialog.PerformButton, Qt::LeftButton);
    ASSERT_TRUE(waitUntil([&] { return dialog.checked(); }));
    ASSERT_TRUE(dialog.ResultPanel->isVisible());
    EXPECT_EQ(dialog.FoundLabel->text(), "Found 2 records with questionable state or zipcodes");
    RecordGrid* grid = dialog.resultGrid();
    ASSERT_EQ(grid->model()->rowCount(), 2);
    EXPECT_EQ(grid->model()->data(grid->model()->index(0, 1)).toString(), "Moss");  // name order
    // Double click on the tag column tags the record.
    grid->Grid->setCurrentIndex(grid->model()->index(1, 0));
    const QRect cell = grid->Grid->visualRect(grid->model()->index(1, 0));
    QTest::mouseClick(grid->Grid->viewport(), Qt::LeftButton, {}, cell.center());
    QTest::mouseDClick(grid->Grid->viewport(), Qt::LeftButton, {}, cell.center());
    EXPECT_EQ(fieldOf(*table, 1, "TAG"), "ID1");

    // The state table: add Ontario, then stop editing.
    QTest::mouseClick(dialog.EditStatesButton, Qt::LeftButton);
    ASSERT_TRUE(dialog.StatePanel->isVisible());
    EXPECT_FALSE(dialog.ResultPanel->isVisible());
    EXPECT_EQ(dialog.EditStatesButton->text(), "Stop Editing");
    RecordGrid* states = dialog.stateGrid();
    EXPECT_EQ(states->model()->rowCount(), 3);  // the deleted row is not shown
    EXPECT_EQ(states->model()->headerData(0, Qt::Horizontal).toString(), "State or Province");
    QTest::mouseClick(dialog.AddStateButton, Qt::LeftButton);
    ASSERT_EQ(states->model()->rowCount(), 4);
    // Add opened an editor on the new row's first cell.
    ASSERT_TRUE(openEditor(states));
    QTest::keyClick(openEditor(states), Qt::Key_Escape);
    typeIntoCell(states, 3, "NAME", "Ontario");
    typeIntoCell(states, 3, "STATE", "ON");
    typeIntoCell(states, 3, "LOW_ZIP", "K0A");
    typeIntoCell(states, 3, "HIGH_ZIP", "P9Z");
    QTest::mouseClick(dialog.SaveStateButton, Qt::LeftButton);
    QTest::mouseClick(dialog.EditStatesButton, Qt::LeftButton);
    EXPECT_FALSE(dialog.StatePanel->isVisible());
    EXPECT_TRUE(dialog.ResultPanel->isVisible());
    EXPECT_EQ(dialog.stateTable(), nullptr);

    QTest::mouseClick(dialog.CloseButton, Qt::LeftButton);
    EXPECT_FALSE(dialog.isVisible());
    EXPECT_FALSE(QFile::exists(QString::fromStdString(table.dir().file("_chksz.idx"))));
    std::unique_ptr<xbase::Table> csz;
    ASSERT_TRUE(
        xbase::Table::open((home.sysDataDir() + "/CSZ.DBF").toStdString(), xbase::OpenMode::Exclusive, &csz)
            .ok());
    csz->setDeleted(true);
    StateZipCheck::StateTable lookup(*csz);
    ASSERT_TRUE(lookup.find("on").has_value());
    EXPECT_EQ(lookup.find("ON")->high, "P9Z");
    EXPECT_TRUE(messages.texts().isEmpty()) << messages.texts().join("|").toStdString();
}

TEST(ToolWindows, DialerLoadsItsSettingsStoresThemAndDials) {
    TempDir dir;
    Settings settings(QString::fromStdString(dir.file("QUILLO.ini")));
    ASSERT_TRUE(settings.write({{setting::kDialInit, QString("&F")},
                                {setting::kDialPrefix, QString("9,")},
                                {setting::kDialPort, 2},
                                {setting::kDialMethod, 1}}));
    PtyModem modem;
    ASSERT_TRUE(modem.ok());
    ScriptedMessages messages;
    TQYDialer dialog(settings, "555-0100");
    dialog.setDevicePath(QString::fromStdString(modem.path()));
    dialog.setInitPause(10);
    EXPECT_EQ(dialog.windowTitle(), "Dial Phone Number");
    dialog.show();
    dialog.activateWindow();
    ASSERT_TRUE(QTest::qWaitForWindowActive(&dialog));
    EXPECT_EQ(dialog.InitEdit->text(), "&F");
    EXPECT_EQ(dialog.PrefixEdit->text(), "9,");
    EXPECT_EQ(dialog.NumberEdit->text(), "555-0100");
    EXPECT_TRUE(dialog.PortRadios[2]->isChecked());
    EXPECT_TRUE(dialog.PulseRadio->isChecked());
    press(dialog.ToneRadio);
    QTest::mouseClick(dialog.DialButton, Qt::LeftButton);
    ASSERT_TRUE(modem.waitFor("ATH\r\n"));
    EXPECT_EQ(modem.received(), "AT&F\r\nATDT9,555-0100\r\nATH\r\n");
    EXPECT_EQ(messages.texts(), QStringList({"Information: Pick up phone"}));
    EXPECT_TRUE(dialog.isVisible());  // the window stays for another try
    EXPECT_EQ(settings.value(setting::kDialMethod), 0);
    EXPECT_EQ(settings.value(setting::kDialPort), 2);
}

}  // namespace
