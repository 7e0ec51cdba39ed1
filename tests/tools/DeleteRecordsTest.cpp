// Deleting records: the three choices, each record flagged and marked, and the
// table emptied at once for all records.

#include <gtest/gtest.h>

#include "DeleteRecords.h"
#include "RecordingProgress.h"
#include "ToolsTestSupport.h"

namespace {

using DeleteRecords::Choice;

const QString kSpringfield = "UPPER(CITY)=\"SPRINGFIELD\"";

// Five records and one deleted already, opened as the main window has them.
void addCities(AddressTable& table) {
    for (const char* city : {"Springfield", "Boston", "springfield", "Salem", "Springfield"})
        table.add({{"LNAME", city}, {"CITY", city}});
    table.add({{"LNAME", "gone"}, {"CITY", "Boston"}, {"ISDEL", "T"}});
    ASSERT_TRUE(table->query("!ISDEL").ok());
    table.order("LNAME");
}

// The cities of the records not deleted, in record order; every record carries both
// deletion signs or neither.
QStringList kept(xbase::Table& table) {
    QStringList cities;
    for (uint32_t r = 1; r <= table.recCount(); ++r) {
        const auto [marked, flagged] = deletionOf(table, r);
        EXPECT_EQ(marked, flagged) << "record " << r << " has one deletion sign without the other";
        if (!marked) cities << fieldOf(table, r, "CITY");
    }
    return cities;
}

JobResult run(xbase::Table& table, Choice choice, const QString& filter, DeleteRecords::Result* result,
              JobProgress* progress = nullptr) {
    JobProgress silent;
    QString error;
    const JobResult r =
        DeleteRecords::RunDeleteRecords(table, choice, filter, progress ? *progress : silent, result, &error);
    EXPECT_NE(r, JobResult::Failed) << error.toStdString();
    return r;
}

TEST(DeleteRecordsRun, EachChoice) {
    struct Case {
        Choice choice;
        QString filter;
        uint32_t deleted;
        QStringList kept;
    };
    const Case cases[] = {
        {Choice::Matching, kSpringfield, 3, {"Boston", "Salem"}},
        {Choice::NotMatching, kSpringfield, 2, {"Springfield", "springfield", "Springfield"}},
        // Without a filter nothing lies outside it.
        {Choice::NotMatching, "", 0, {"Springfield", "Boston", "springfield", "Salem", "Springfield"}},
    };
    for (const Case& c : cases) {
        AddressTable table;
        addCities(table);
        ASSERT_TRUE(table->go(2).ok());
        DeleteRecords::Result result;
        EXPECT_EQ(run(*table, c.choice, c.filter, &result), JobResult::Done);
        EXPECT_EQ(result.deleted, c.deleted);
        EXPECT_EQ(kept(*table), c.kept);
        EXPECT_EQ(table->queryText(), "!ISDEL");
        EXPECT_TRUE(table->hidesDeleted());
        EXPECT_EQ(table->indexOrd(), table->tagArea("LNAME"));
        ExpectIndexesAgree(*table);
    }
}

TEST(DeleteRecordsRun, AllEmptiesTheTableAtOnce) {
    AddressTable table;
    addCities(table);
    for (int i = 0; i < 114; ++i) table.add({{"LNAME", QString("n%1").arg(i)}});
    ASSERT_EQ(table->recCount(), 120u);
    DeleteRecords::Result result;
    EXPECT_EQ(run(*table, Choice::All, kSpringfield, &result), JobResult::Done);
    EXPECT_EQ(result.deleted, 120u);
    EXPECT_EQ(table->recCount(), 0u);
    ExpectIndexesAgree(*table);
}

TEST(DeleteRecordsRun, StopPartWayKeepsTheRestAndTheIndexesRight) {
    AddressTable table;
    addCities(table);
    DeleteRecords::Result result;
    RecordingProgress stopAfterTwo(2);
    EXPECT_EQ(run(*table, Choice::NotMatching, "UPPER(CITY)=\"NOWHERE\"", &result, &stopAfterTwo),
              JobResult::Cancelled);
    EXPECT_EQ(result.deleted, 2u);
    EXPECT_EQ(kept(*table), QStringList({"springfield", "Salem", "Springfield"}));
    ExpectIndexesAgree(*table);
}

}  // namespace
