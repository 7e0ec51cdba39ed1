// The record choice every print job shares: which records each deleted-record policy
// leaves out, where the run starts, and that the table is put back by the job.
#include <gtest/gtest.h>

#include <QStringList>

#include "AddressTable.h"
#include "Messages.h"
#include "NoteMessages.h"
#include "RecordChoice.h"
#include "SavedCursor.h"
#include "Table.h"

namespace {

using Records = RecordChoice::Records;

struct Case {
    const char* name;
    Records records;
    DeletedPolicy policy;
    bool startFromCurrent;
    const char* current;  // the last name of the record the choice is made on
    const char* walked;   // the last names from the run's first record to the end
    bool outOfRange;
};

class RecordChoiceTest : public ::testing::TestWithParam<Case> {
  protected:
    void SetUp() override {
        recNo_["Adams"] = table_.add({{"LNAME", "Adams"}});
        recNo_["Baker"] = table_.add({{"LNAME", "Baker"}, {"ISDEL", "T"}});
        recNo_["Clark"] = table_.add({{"LNAME", "Clark"}, {"PREFIX", "Deleted"}});
        recNo_["Doyle"] = table_.add({{"LNAME", "Doyle"}});
        // The main window's query: the user filter (here none but Doyle) and !ISDEL.
        ASSERT_TRUE(table_->query("UPPER(LNAME)<>\"DOYLE\" .and. !ISDEL").ok());
    }

    QString walk() {
        QStringList names;
        for (; !table_->eof(); (void)table_->skip(1)) names << table_.value("LNAME");
        return names.join(' ');
    }

    AddressTable table_;
    QMap<QString, uint32_t> recNo_;
};

TEST_P(RecordChoiceTest, SelectsTheRecordsOfTheChoiceUnderThePolicy) {
    const Case& c = GetParam();
    RecordChoice choice(c.records);
    choice.startFromCurrent = c.startFromCurrent;
    choice.start = recNo_.value(c.current);
    NoteMessages messages;
    const std::string query = table_->queryText();
    {
        const SavedCursor saved(*table_);
        const Selection selection = SelectRecords(*table_, choice, c.policy, messages);
        ASSERT_TRUE(selection.ok) << selection.error.toStdString();
        EXPECT_EQ(selection.fromFirst, !c.startFromCurrent || c.outOfRange);
        EXPECT_EQ(walk(), c.walked);
    }
    EXPECT_EQ(messages.notes, c.outOfRange ? QStringList{RecordChoice::kOutOfRange} : QStringList{});
    EXPECT_EQ(table_->queryText(), query);
}

// Baker is flagged deleted, Clark's prefix reads DELETED: the reports' policy leaves
// out both, the others' Baker only. "Only current record" leaves a deleted record out too.
INSTANTIATE_TEST_SUITE_P(
    Choices, RecordChoiceTest,
    ::testing::Values(Case{"AllFlagged", Records::All, DeletedPolicy::Flagged, false, "", "Adams Clark Doyle", false},
                      Case{"AllPrefix", Records::All, DeletedPolicy::FlaggedOrPrefix, false, "", "Adams Doyle", false},
                      Case{"FilterAsItStands", Records::Filter, DeletedPolicy::FlaggedOrPrefix, false, "",
                           "Adams Clark", false},
                      Case{"Current", Records::Current, DeletedPolicy::Flagged, false, "Clark", "Clark", false},
                      Case{"CurrentDeleted", Records::Current, DeletedPolicy::Flagged, false, "Baker", "", false},
                      Case{"CurrentPrefixDeleted", Records::Current, DeletedPolicy::FlaggedOrPrefix, false, "Clark",
                           "", false},
                      Case{"FromCurrent", Records::All, DeletedPolicy::Flagged, true, "Clark", "Clark Doyle", false},
                      Case{"FromCurrentOutsideFilter", Records::Filter, DeletedPolicy::Flagged, true, "Doyle",
                           "Adams Clark", true},
                      Case{"FromDeletedCurrent", Records::All, DeletedPolicy::Flagged, true, "Baker",
                           "Adams Clark Doyle", true}),
    [](const ::testing::TestParamInfo<Case>& info) { return std::string(info.param.name); });

}  // namespace
