// Search and replace: the confirmation sentence, the record test and the replacing of
// matching text, and a run over a file.

#include <gtest/gtest.h>

#include "CodePage.h"
#include "RecordingProgress.h"
#include "SearchReplace.h"
#include "ToolsTestSupport.h"

namespace {

using SearchReplace::Action;
using SearchReplace::Match;

SearchReplace::Options options(QString find, Match match, bool caseSensitive, QString with, Action action) {
    SearchReplace::Options o;
    o.field = "CITY";
    o.find = std::move(find);
    o.match = match;
    o.caseSensitive = caseSensitive;
    o.replacement = std::move(with);
    o.action = action;
    return o;
}

TEST(SearchReplaceText, ConfirmationSentenceForEachChoice) {
    struct Case {
        SearchReplace::Options options;
        const char* text;
    };
    const Case cases[] = {
        {options("", Match::Equal, true, "", Action::WholeField),
         "Find records where field City\ris empty \rand delete the entire field "},
        {options("", Match::Contains, false, "x", Action::MatchingText),
         "Find records where field City\ris empty \rand replace only the matching text with \"x\""},
        {options("Spring", Match::Equal, true, "", Action::MatchingText),
         "Find records where field City\rexactly matches: \"Spring\"  (case sensitive)\rand delete the "
         "matching "
         "text "},
        {options("Spring", Match::Contains, false, "Fall", Action::WholeField),
         "Find records where field City\rcontains: \"Spring\" (not case sensitive)\rand replace the entire "
         "field "
         "with \"Fall\""},
    };
    for (const Case& c : cases) EXPECT_EQ(SearchReplace::ConfirmationText(c.options), QString(c.text));
}

TEST(SearchReplaceText, RecordTestAndMatchingText) {
    const xbase::CodePage& cp = xbase::CodePage::windows1252();
    struct Probe {
        const char* field;
        const char* find;
        Match match;
        bool caseSensitive;
        bool matches;
    };
    const Probe tests[] = {
        {"Smith", "smith", Match::Equal, false, true},
        {"Smith", "smith", Match::Equal, true, false},
        {"Smithson", "Smith", Match::Equal, false, false},
        {"Smithson", "mith", Match::Contains, true, true},
        {"Smithson", "MITH", Match::Contains, true, false},
        {"", "", Match::Equal, true, true},
        {"x", "", Match::Contains, true, false},
        {"SAY \"HI\"", "\"hi\"", Match::Contains, false, true},
        {"\xC9LISE", "\xE9lise", Match::Equal, false, true},  // É and é in Windows-1252
    };
    for (const Probe& t : tests) {
        EXPECT_EQ(SearchReplace::Matches(t.field, t.find, t.match, t.caseSensitive, cp), t.matches)
            << t.field << " / " << t.find;
    }

    struct Replace {
        std::string field;
        const char* find;
        const char* with;
        bool caseSensitive;
        std::string out;
    };
    const Replace replaces[] = {
        {"CABaB", "ab", "x", false, "Cxx"},
        {"CABaB", "aB", "x", true, "CABx"},
        {"St. Mary St", "St", "Street", true, "Street. Mary Street"},
        {"aaa", "aa", "b", true, "ba"},  // the scan goes on after each replacement
        {"", "", "filled", true, "filled"},
        {std::string(60, 'a'), "a", "b", true, std::string(50, 'b') + std::string(10, 'a')},
    };
    for (const Replace& r : replaces) {
        EXPECT_EQ(SearchReplace::ReplaceMatching(r.field, r.find, r.with, r.caseSensitive, cp), r.out)
            << r.field;
    }
}

class SearchReplaceRun : public ::testing::Test {
  protected:
    JobResult run(SearchReplace::Options o, JobProgress* progress = nullptr) {
        JobProgress silent;
        QString error;
        const JobResult r =
            SearchReplace::RunSearchReplace(*table, o, progress ? *progress : silent, &result, &error);
        EXPECT_NE(r, JobResult::Failed) << error.toStdString();
        return r;
    }
    AddressTable table;
    SearchReplace::Result result;
};

TEST_F(SearchReplaceRun, ChangesMatchingRecordsButNeverMarkedOnes) {
    const uint32_t a = table.add({{"LNAME", "a"}, {"CITY", "Springfield"}});
    const uint32_t b = table.add({{"LNAME", "b"}, {"CITY", "springfield"}});
    const uint32_t c = table.add({{"LNAME", "c"}, {"CITY", "Springfield"}, {"ISDEL", "T"}});
    const uint32_t d = table.add({{"LNAME", "d"}, {"CITY", "Boston"}});
    const uint32_t e = table.add({{"LNAME", "e"}});
    // Flagged ISDEL but without the deletion mark: changed like any other.
    const uint32_t f = table.add({{"LNAME", "f"}, {"CITY", "SPRINGFIELD"}});
    ASSERT_TRUE(table->go(f).ok());
    ASSERT_TRUE(table->replaceLogical(table->fieldIndex("ISDEL"), true).ok());
    ASSERT_TRUE(table->commit().ok());
    ASSERT_TRUE(table->query("!ISDEL").ok());
    table.order("CITY");
    ASSERT_TRUE(table->go(d).ok());

    EXPECT_EQ(run(options("springfield", Match::Equal, false, "Shelbyville", Action::WholeField)),
              JobResult::Done);
    EXPECT_EQ(result.replaced, 3u);
    for (uint32_t r : {a, b, f}) EXPECT_EQ(fieldOf(*table, r, "CITY"), "Shelbyville") << r;
    EXPECT_EQ(fieldOf(*table, c, "CITY"), "Springfield");
    EXPECT_EQ(fieldOf(*table, d, "CITY"), "Boston");
    EXPECT_EQ(deletionOf(*table, c), std::make_pair(true, true));
    // Query, order and record as they were.
    EXPECT_EQ(table->queryText(), "!ISDEL");
    EXPECT_EQ(table->indexOrd(), table->tagArea("CITY"));
    EXPECT_EQ(table->recNo(), d);
    EXPECT_TRUE(table->hidesDeleted());

    // An empty find value fills exactly the empty fields.
    EXPECT_EQ(run(options("", Match::Equal, true, "Nowhere", Action::WholeField)), JobResult::Done);
    EXPECT_EQ(result.replaced, 1u);
    EXPECT_EQ(fieldOf(*table, e, "CITY"), "Nowhere");
    ExpectIndexesAgree(*table);
}

TEST_F(SearchReplaceRun, FilterAndMatchingTextTooLongForTheFieldIsLeftAlone) {
    const uint32_t a = table.add({{"LNAME", "Adams"}, {"STREET", "12 Main St"}});
    const uint32_t b = table.add({{"LNAME", "Baker"}, {"STREET", "4 Elm St"}});
    const QString full = QString("9 St ") + QString(33, 'x');  // 38 of STREET's 40 characters
    const uint32_t c = table.add({{"LNAME", "Adamson"}, {"STREET", full}});
    SearchReplace::Options o = options("st", Match::Contains, false, "Street", Action::MatchingText);
    o.field = "STREET";
    o.filterExpression = "UPPER(LNAME)=\"ADAM\"";
    EXPECT_EQ(run(o), JobResult::Done);
    EXPECT_EQ(result.replaced, 1u);
    EXPECT_EQ(result.tooLong, 1u);
    EXPECT_EQ(result.width, 40);
    EXPECT_EQ(fieldOf(*table, a, "STREET"), "12 Main Street");
    EXPECT_EQ(fieldOf(*table, b, "STREET"), "4 Elm St");  // outside the filter
    EXPECT_EQ(fieldOf(*table, c, "STREET"), full);
    ExpectIndexesAgree(*table);
}

TEST_F(SearchReplaceRun, StopPartWayLeavesTheIndexesRight) {
    for (int i = 0; i < 30; ++i) table.add({{"LNAME", QString("n%1").arg(i)}, {"ZIP", "12345"}});
    RecordingProgress stopAfterTen(10);
    SearchReplace::Options o = options("123", Match::Contains, true, "9", Action::MatchingText);
    o.field = "ZIP";
    EXPECT_EQ(run(o, &stopAfterTen), JobResult::Cancelled);
    EXPECT_EQ(result.replaced, 10u);
    EXPECT_EQ(fieldOf(*table, 10, "ZIP"), "945");
    EXPECT_EQ(fieldOf(*table, 11, "ZIP"), "12345");
    ExpectIndexesAgree(*table);
}

}  // namespace
