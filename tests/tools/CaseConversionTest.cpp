// Case conversion: the three rules, the record choices, the confirmation and a stop
// part way.

#include <gtest/gtest.h>

#include "CaseConversion.h"
#include "RecordingProgress.h"
#include "ScriptedMessages.h"
#include "ToolsTestSupport.h"

namespace {

using CaseConversion::Records;
using CaseConversion::Rule;

TEST(CaseConversionRules, EachRuleOnNames) {
    struct Case {
        Rule rule;
        const char* in;
        const char* out;
    };
    const Case cases[] = {
        {Rule::Upper, "o'neil", "O'NEIL"},
        {Rule::Upper, "Müller 12b", "MÜLLER 12B"},
        {Rule::Lower, "McDONALD", "mcdonald"},
        {Rule::Lower, "ÉLISE", "élise"},
        // Only the first character and letters after a blank are capitalised.
        {Rule::Proper, "o'neil", "O'neil"},
        {Rule::Proper, "mcdonald", "Mcdonald"},
        {Rule::Proper, "McDONALD", "Mcdonald"},
        {Rule::Proper, "van der berg", "Van Der Berg"},
        {Rule::Proper, "o'CONNOR-JONES", "O'connor-jones"},
        {Rule::Proper, "  two  blanks", "  Two  Blanks"},
        {Rule::Proper, "12th street", "12th Street"},
        {Rule::Proper, "élise dupré", "Élise Dupré"},
        {Rule::Proper, "", ""},
    };
    for (const Case& c : cases) {
        EXPECT_EQ(CaseConversion::Convert(c.rule, QString::fromUtf8(c.in)), QString::fromUtf8(c.out)) << c.in;
    }
}

TEST(CaseConversionConfirm, AsksOnlyWithFieldsAndDefaultsToNo) {
    ScriptedMessages messages;
    CaseConversion::Options options;
    EXPECT_FALSE(CaseConversion::Confirm(options, messages));
    options.fields = {"LNAME"};
    messages.answers = {false, true};
    EXPECT_FALSE(CaseConversion::Confirm(options, messages));
    EXPECT_TRUE(CaseConversion::Confirm(options, messages));
    EXPECT_EQ(messages.texts(), QStringList({"Information: No fields checked for conversion",
                                             "(No) Convert: Convert now? This process cannot be undone..",
                                             "(No) Convert: Convert now? This process cannot be undone.."}));
}

class CaseConversionRun : public ::testing::Test {
  protected:
    void SetUp() override {
        smith =
            table.add({{"LNAME", "smith"}, {"FNAME", "john"}, {"CITY", "springfield"}, {"EMAIL", "a@b.c"}});
        jones = table.add({{"LNAME", "jones"}, {"FNAME", "mary"}, {"CITY", "boston"}});
        flagged = table.add({{"LNAME", "flagged"}});
        marked = table.add({{"LNAME", "marked"}, {"ISDEL", "T"}});
        // A record flagged ISDEL without the deletion mark is still left out of "All".
        ASSERT_TRUE(table->go(flagged).ok());
        ASSERT_TRUE(table->replaceLogical(table->fieldIndex("ISDEL"), true).ok());
        ASSERT_TRUE(table->commit().ok());
        ASSERT_TRUE(table->query("!ISDEL").ok());
        table.order("LNAME");
    }

    JobResult run(Records records, QStringList fields, Rule rule = Rule::Upper,
                  JobProgress* progress = nullptr) {
        JobProgress silent;
        CaseConversion::Options options;
        options.rule = rule;
        options.records = records;
        options.fields = std::move(fields);
        QString error;
        const JobResult r = CaseConversion::RunCaseConversion(*table, options, progress ? *progress : silent,
                                                              &result, &error);
        EXPECT_NE(r, JobResult::Failed) << error.toStdString();
        return r;
    }

    AddressTable table;
    CaseConversion::Result result;
    uint32_t smith = 0, jones = 0, flagged = 0, marked = 0;
};

TEST_F(CaseConversionRun, AllRecordsSkipsDeletedAndTouchesOnlyTheChosenFields) {
    EXPECT_EQ(run(Records::All, {"LNAME", "CITY"}), JobResult::Done);
    EXPECT_EQ(result.converted, 2u);
    EXPECT_EQ(fieldOf(*table, smith, "LNAME"), "SMITH");
    EXPECT_EQ(fieldOf(*table, smith, "CITY"), "SPRINGFIELD");
    EXPECT_EQ(fieldOf(*table, smith, "FNAME"), "john");
    EXPECT_EQ(fieldOf(*table, smith, "EMAIL"), "a@b.c");  // not one of the fifteen
    EXPECT_EQ(fieldOf(*table, jones, "LNAME"), "JONES");
    EXPECT_EQ(fieldOf(*table, flagged, "LNAME"), "flagged");
    EXPECT_EQ(fieldOf(*table, marked, "LNAME"), "marked");
    EXPECT_EQ(table->queryText(), "!ISDEL");
    EXPECT_EQ(table->indexOrd(), table->tagArea("LNAME"));
    ExpectIndexesAgree(*table);
}

TEST_F(CaseConversionRun, FilterRecordsAreTheQuerysAndCurrentIsOneRecordEvenOutsideIt) {
    ASSERT_TRUE(table->query("UPPER(CITY)=\"BOSTON\" .and. !ISDEL").ok());
    EXPECT_EQ(run(Records::Filter, {"LNAME"}, Rule::Proper), JobResult::Done);
    EXPECT_EQ(result.converted, 1u);
    EXPECT_EQ(fieldOf(*table, jones, "LNAME"), "Jones");
    EXPECT_EQ(fieldOf(*table, smith, "LNAME"), "smith");

    ASSERT_TRUE(table->go(smith).ok());  // outside the query
    EXPECT_EQ(run(Records::Current, {"LNAME", "FNAME"}, Rule::Proper), JobResult::Done);
    EXPECT_EQ(result.converted, 1u);
    EXPECT_EQ(fieldOf(*table, smith, "LNAME"), "Smith");
    EXPECT_EQ(fieldOf(*table, smith, "FNAME"), "John");
    EXPECT_EQ(table->recNo(), smith);
    EXPECT_EQ(table->queryText(), "UPPER(CITY)=\"BOSTON\" .and. !ISDEL");
}

TEST_F(CaseConversionRun, StopPartWayKeepsWhatWasDoneAndTheIndexesRight) {
    for (int i = 0; i < 20; ++i) table.add({{"LNAME", QString("name%1").arg(i)}, {"CITY", "x"}});
    ASSERT_TRUE(table->go(jones).ok());
    RecordingProgress stopAfterFive(5);
    EXPECT_EQ(run(Records::All, {"LNAME", "CITY"}, Rule::Upper, &stopAfterFive), JobResult::Cancelled);
    EXPECT_EQ(result.converted, 5u);
    EXPECT_EQ(result.total, 22u);
    int upper = 0;
    for (uint32_t r = 1; r <= table->recCount(); ++r) {
        const QString name = fieldOf(*table, r, "LNAME");
        upper += name == name.toUpper();
    }
    EXPECT_EQ(upper, 5);
    EXPECT_EQ(table->recNo(), jones);
    ExpectIndexesAgree(*table);
}

}  // namespace
