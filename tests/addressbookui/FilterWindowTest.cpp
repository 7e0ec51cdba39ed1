#include <QCheckBox>
#include <QDir>
#include <QFile>
#include <QGridLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QTest>

#include "AddressTable.h"
#include "FilterFile.h"
#include "FilterFileCommands.h"
#include "TAddressFilter.h"
#include "UiTestSupport.h"

namespace {

using Entry = FilterCriteria::Entry;

class FilterWindowTest : public ::testing::Test {
  protected:
    void SetUp() override {
        table_.add({{"LNAME", "Smith"}, {"CODES", "AC"}, {"TAG", "ID1"}});   // 1
        table_.add({{"LNAME", "smart"}, {"ZIP", "90210"}});                  // 2
        table_.add({{"LNAME", "Adams"}, {"CODES", "B"}, {"ZIP", "10001"}});  // 3
        table_.add({{"LNAME", "Smalls"}, {"ISDEL", "T"}});                   // 4
        table_.add({{"LNAME", "Baker"}, {"ZIP", "60601"}});                  // 5
        table_.order("LNAME");
        ASSERT_TRUE(table_->query("!ISDEL").ok());
        ASSERT_TRUE(table_->go(5).ok());
    }

    std::unique_ptr<TAddressFilter> open(const QVector<TAddressFilter::EntryPlace>& places = {}) {
        return std::make_unique<TAddressFilter>(
            *table_, state_, "ID1", [this] { ++moved_; }, places, answers_.services());
    }
    static void type(QLineEdit* edit, const QString& text) {
        edit->clear();
        QTest::keyClicks(edit, text);
    }

    AddressTable table_;
    Filter::State state_;
    RecordedServices answers_;
    int moved_ = 0;
};

TEST_F(FilterWindowTest, TestAppliesTheFormAndShowsTheMatches) {
    const struct {
        Entry entry;
        const char* text;
        bool tagged;
        bool reverse;
        const char* line;
    } cases[] = {
        {FilterCriteria::Last, "sm", false, false, "2 matches"},  // Smith and smart, not the deleted Smalls
        {FilterCriteria::Codes, "$c", false, false, "1 matches"},
        {FilterCriteria::Last, "a;b", false, false, "2 matches"},
        {FilterCriteria::Zip, ">=60000", false, false, "2 matches"},
        {FilterCriteria::Last, "", true, false, "1 matches"},
        {FilterCriteria::Last, "sm", false, true, "2 matches"},  // Adams and Baker; Smalls stays hidden
        {FilterCriteria::Last, "", false, true, "No filter set"},
        {FilterCriteria::Last, "zz", false, false, "No filter set"},  // matching nothing drops the filter
    };
    auto dialog = open();
    for (const auto& c : cases) {
        for (int i = 0; i < FilterCriteria::kEntryCount; ++i) dialog->entry(Entry(i))->clear();
        type(dialog->entry(c.entry), c.text);
        dialog->TaggedCheckBox->setChecked(c.tagged);
        dialog->ReverseCheckBox->setChecked(c.reverse);
        ASSERT_TRUE(table_->go(5).ok());
        const int movedBefore = moved_;
        QTest::mouseClick(dialog->TestButton, Qt::LeftButton);
        EXPECT_EQ(dialog->MatchLabel->text(), c.line) << c.text;
        EXPECT_EQ(table_->queryRecCount(), dialog->matches() ? dialog->matches() : 4u) << c.text;
        EXPECT_EQ(moved_, movedBefore + 1);
        // On the first record of the result, in the current order.
        ASSERT_TRUE(table_->skip(-1).ok());
        EXPECT_TRUE(table_->bof()) << c.text;
    }
    // A filter that matches nothing is dropped from the main window's state.
    EXPECT_EQ(state_.criteria, FilterCriteria());
    EXPECT_TRUE(state_.expression.isEmpty());
    EXPECT_EQ(table_->queryText(), "!ISDEL");
    EXPECT_TRUE(answers_.asked().isEmpty());
}

TEST_F(FilterWindowTest, OkStaysOpenWhileNothingMatchesAndClosesWithTheFilterSet) {
    auto dialog = open();
    dialog->show();
    type(dialog->entry(FilterCriteria::Last), "zz");
    QTest::mouseClick(dialog->OkButton, Qt::LeftButton);
    EXPECT_TRUE(dialog->isVisible());
    EXPECT_EQ(answers_.beeps, 1);
    EXPECT_EQ(dialog->MatchLabel->text(), "No filter set");

    // Too long a filter is told, and the form stays to be simplified.
    type(dialog->entry(FilterCriteria::Last), QString(250, 'x'));
    QTest::mouseClick(dialog->OkButton, Qt::LeftButton);
    EXPECT_TRUE(dialog->isVisible());
    EXPECT_EQ(answers_.asked(),
              QStringList{"Information: Sorry - filter is too complex.Please simplify it."});
    EXPECT_EQ(dialog->MatchLabel->text(), "No filter set");

    type(dialog->entry(FilterCriteria::Last), "ad");
    type(dialog->entry(FilterCriteria::Codes), "b");
    QTest::mouseClick(dialog->OkButton, Qt::LeftButton);
    EXPECT_FALSE(dialog->isVisible());
    EXPECT_EQ(dialog->result(), QDialog::Accepted);
    EXPECT_EQ(state_.criteria[FilterCriteria::Last], "ad");
    EXPECT_EQ(state_.criteria[FilterCriteria::Codes], "b");
    EXPECT_EQ(state_.expression, R"(UPPER(LNAME)="AD" and UPPER(CODES)="B")");
    EXPECT_EQ(table_->queryRecCount(), 1u);
    EXPECT_EQ(table_->recNo(), 3u);
}

TEST_F(FilterWindowTest, ClearDropsTheFilterAndCancelPutsBackTheRememberedOne) {
    state_.criteria[FilterCriteria::Last] = "sm";
    state_.criteria.tagged = true;
    ASSERT_EQ(Filter::ApplyFilter(*table_, state_, "ID1").matches, 1u);
    const Filter::State before = state_;
    {
        auto dialog = open();
        EXPECT_EQ(dialog->entry(FilterCriteria::Last)->text(), "sm");  // the form starts from the state
        EXPECT_TRUE(dialog->TaggedCheckBox->isChecked());
        dialog->show();
        QTest::mouseClick(dialog->ClearButton, Qt::LeftButton);
        EXPECT_EQ(dialog->entry(FilterCriteria::Last)->text(), "");
        EXPECT_FALSE(dialog->TaggedCheckBox->isChecked());
        EXPECT_EQ(dialog->MatchLabel->text(), "No filter set");
        EXPECT_EQ(table_->queryText(), "!ISDEL");
        EXPECT_EQ(state_.criteria, FilterCriteria());
        QTest::mouseClick(dialog->CancelButton, Qt::LeftButton);
        EXPECT_EQ(dialog->result(), QDialog::Rejected);
    }
    EXPECT_EQ(state_.criteria, before.criteria);
    EXPECT_EQ(state_.expression, before.expression);
    {
        // Ok after Clear: no filter is a fine answer, and the form closes.
        auto dialog = open();
        dialog->show();
        QTest::mouseClick(dialog->ClearButton, Qt::LeftButton);
        QTest::mouseClick(dialog->OkButton, Qt::LeftButton);
        EXPECT_EQ(dialog->result(), QDialog::Accepted);
        EXPECT_EQ(answers_.beeps, 0);
    }
    EXPECT_TRUE(state_.expression.isEmpty());
}

TEST_F(FilterWindowTest, EntriesSitOnTheMainWindowsFieldsWithTheirLabels) {
    // A form like the main window's: labels with buddies, edits in a grid.
    QWidget form;
    auto* grid = new QGridLayout(&form);
    std::map<Entry, QLineEdit*> edits;
    for (int i = 0; i < FilterCriteria::kEntryCount; ++i) {
        const Entry e = Entry(i);
        auto* edit = new QLineEdit;
        auto* label = new QLabel("&" + TAddressFilter::entryLabel(e));
        label->setBuddy(edit);
        grid->addWidget(label, i % 9, (i / 9) * 2);
        grid->addWidget(edit, i % 9, (i / 9) * 2 + 1);
        edits[e] = edit;
    }
    form.resize(700, 400);
    form.show();
    ASSERT_TRUE(QTest::qWaitForWindowExposed(&form));
    const auto places = TAddressFilter::placesFrom(&form, [&](Entry e) { return edits[e]; });
    ASSERT_EQ(places.size(), FilterCriteria::kEntryCount);

    auto dialog = open(places);
    dialog->show();
    ASSERT_TRUE(QTest::qWaitForWindowActive(dialog.get()));
    // Where the form has them, relative to each other, and as wide.
    const QLineEdit* last = dialog->entry(FilterCriteria::Last);
    for (int i = 0; i < FilterCriteria::kEntryCount; ++i) {
        const Entry e = Entry(i);
        const QLineEdit* entry = dialog->entry(e);
        EXPECT_EQ(entry->geometry().topLeft() - last->geometry().topLeft(),
                  edits[e]->geometry().topLeft() - edits[FilterCriteria::Last]->geometry().topLeft());
        EXPECT_EQ(entry->size(), edits[e]->size());
        EXPECT_EQ(entry->objectName(), "Filter" + TAddressFilter::entryField(e));
    }
    QStringList labels;
    for (const QLabel* l : dialog->EntryPanel->findChildren<QLabel*>()) {
        if (l->buddy()) labels << l->text();
    }
    EXPECT_TRUE(labels.contains("Zip/Postal Code"));
    EXPECT_TRUE(labels.contains("Last Name"));  // without the "&"

    EXPECT_EQ(
        dialog->HintLabel->text(),
        "Hint: to look for only part of a value, first type in a $ and then the value to look for. As an "
        "example, to find all records containing the code letter C in the Codes field, type in $C. Right "
        "click on any field or press HELP for more helpful tips");
    QLineEdit* date = dialog->entry(FilterCriteria::Date);
    EXPECT_EQ(date->toolTip(), "Note: enter dates in the form: YYYYMMDD\n(i.e. 19970428 for April 28, 1997)");

    // "(YYYYMMDD)" under the date entry only while it has the focus.
    EXPECT_FALSE(dialog->DateFormatLabel->isVisible());
    date->setFocus();
    QApplication::processEvents();
    EXPECT_TRUE(dialog->DateFormatLabel->isVisible());
    EXPECT_EQ(dialog->DateFormatLabel->text(), "(YYYYMMDD)");
    EXPECT_GE(dialog->DateFormatLabel->y(), date->geometry().bottom());
    EXPECT_EQ(dialog->DateFormatLabel->x(), date->x());
    dialog->entry(FilterCriteria::Codes)->setFocus();
    QApplication::processEvents();
    EXPECT_FALSE(dialog->DateFormatLabel->isVisible());

    // Without places the form has a grid of its own, with the same behaviour.
    auto plain = open();
    plain->show();
    ASSERT_TRUE(QTest::qWaitForWindowActive(plain.get()));
    plain->entry(FilterCriteria::Date)->setFocus();
    QApplication::processEvents();
    EXPECT_TRUE(plain->DateFormatLabel->isVisible());
}

TEST_F(FilterWindowTest, SaveAndRestoreFilterFiles) {
    const QString folder = table_.dir().path().c_str();
    FilterFileCommands commands(AppHome(folder), answers_.services());
    EXPECT_EQ(commands.folder(), folder);
    QString chosen;
    commands.chooseSaveFile = [&](QWidget*, const QString&) { return chosen; };
    commands.chooseOpenFile = [&](QWidget*, const QString&) { return chosen; };
    FilterCriteria criteria;
    criteria[FilterCriteria::Last] = "sm";
    criteria.reverse = true;

    // A name without an extension gets .FLT.
    chosen = folder + "/mine";
    ASSERT_TRUE(commands.SaveFilter(criteria));
    const QString saved = folder + "/mine.FLT";
    QFile file(saved);
    ASSERT_TRUE(file.open(QIODevice::ReadOnly));
    EXPECT_EQ(file.readAll(), FilterFile::toBytes(criteria));
    file.close();

    // Another extension is refused; an existing file is overwritten only on Yes.
    chosen = folder + "/mine.txt";
    EXPECT_FALSE(commands.SaveFilter(criteria));
    EXPECT_FALSE(QFile::exists(chosen));
    FilterCriteria other;
    other[FilterCriteria::City] = "bos";
    chosen = saved;
    answers_.answers = {false, true};
    EXPECT_FALSE(commands.SaveFilter(other));
    FilterCriteria read;
    ASSERT_TRUE(FilterFile::RestoreFilterFrom(saved, &read, &chosen));
    EXPECT_EQ(read, criteria);
    chosen = saved;
    EXPECT_TRUE(commands.SaveFilter(other));
    EXPECT_EQ(answers_.asked(),
              (QStringList{"Information: Must have a .FLT extension",
                           "(No) Warning!: " + saved + " already exists.\r\nDo you want to overwrite it?",
                           "(No) Warning!: " + saved + " already exists.\r\nDo you want to overwrite it?"}));

    // Restoring: only .FLT files, in any letter case; a cancelled dialog changes nothing.
    answers_.requests.clear();
    FilterCriteria restored;
    restored[FilterCriteria::Fax] = "keep";
    chosen = folder + "/mine.txt";
    EXPECT_FALSE(commands.RestoreFilter(&restored));
    chosen.clear();
    EXPECT_FALSE(commands.RestoreFilter(&restored));
    EXPECT_EQ(restored[FilterCriteria::Fax], "keep");
    ASSERT_TRUE(QFile::rename(saved, folder + "/mine.flt"));
    chosen = folder + "/mine.flt";
    EXPECT_TRUE(commands.RestoreFilter(&restored));
    EXPECT_EQ(restored, other);
    EXPECT_EQ(answers_.asked(), QStringList{"Information: Must be a Filter (.FLT) file"});
}

}  // namespace
