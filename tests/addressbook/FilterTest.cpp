#include <gtest/gtest.h>

#include <set>

#include "AddressTable.h"
#include "Filter.h"
#include "TagAll.h"

namespace {

using Entry = FilterCriteria::Entry;

FilterCriteria criteria(std::initializer_list<std::pair<Entry, QString>> entries, bool tagged = false,
                        bool reverse = false) {
    FilterCriteria c;
    for (const auto& [entry, text] : entries) c[entry] = text;
    c.tagged = tagged;
    c.reverse = reverse;
    return c;
}

TEST(BuildQueryStringTest, BuildsTheExpressionForEachKindOfEntry) {
    const struct {
        FilterCriteria criteria;
        const char* expression;
    } cases[] = {
        {criteria({{FilterCriteria::Last, "sm"}}), R"(UPPER(LNAME)="SM")"},
        {criteria({{FilterCriteria::Last, "Smith;Jones"}}),
         R"(((UPPER(LNAME)="SMITH").or.(UPPER(LNAME)="JONES")))"},
        {criteria({{FilterCriteria::Codes, "a+b"}}), R"(((UPPER(CODES)="A").and.(UPPER(CODES)="B")))"},
        {criteria({{FilterCriteria::Codes, "a^b"}}), R"(((UPPER(CODES)="A").and..not.(UPPER(CODES)="B")))"},
        // ";" comes first: A, or both B and C.
        {criteria({{FilterCriteria::Last, "a;b+c"}}),
         R"(((UPPER(LNAME)="A").or.(((UPPER(LNAME)="B").and.(UPPER(LNAME)="C")))))"},
        // "+" before "^", and empty pieces are kept.
        {criteria({{FilterCriteria::Last, "a^b+c"}}),
         R"(((((UPPER(LNAME)="A").and..not.(UPPER(LNAME)="B"))).and.(UPPER(LNAME)="C")))"},
        {criteria({{FilterCriteria::Last, "a;"}}), R"(((UPPER(LNAME)="A").or.(UPPER(LNAME)="")))"},
        {criteria({{FilterCriteria::Zip, ">=12345"}}), R"(UPPER(ZIP)>="12345")"},
        {criteria({{FilterCriteria::Zip, ">1"}}), R"(UPPER(ZIP)>"1")"},
        {criteria({{FilterCriteria::Zip, "<=2"}}), R"(UPPER(ZIP)<="2")"},
        {criteria({{FilterCriteria::Zip, "<3"}}), R"(UPPER(ZIP)<"3")"},
        {criteria({{FilterCriteria::Codes, "$c"}}), R"("C"$UPPER(CODES))"},
        {criteria({{FilterCriteria::City, "bos"}}), R"(UPPER(CITY+STATE)="BOS")"},
        // Joined in their own order (comments before date and codes), blank entries left out.
        {criteria({{FilterCriteria::Codes, "$q"},
                   {FilterCriteria::Date, ">=1997"},
                   {FilterCriteria::Comment1, "c1"},
                   {FilterCriteria::First, "   "},
                   {FilterCriteria::Last, "x"}}),
         R"(UPPER(LNAME)="X" and UPPER(USER1)="C1" and UPPER(DATE)>="1997" and "Q"$UPPER(CODES))"},
        {criteria({}, true), R"((UPPER(TAG)="T1ABC"))"},
        {criteria({{FilterCriteria::Last, "a"}}, true), R"(UPPER(LNAME)="A" and (UPPER(TAG)="T1ABC"))"},
        {criteria({{FilterCriteria::Last, "a"}}, false, true), R"((!(UPPER(LNAME)="A")))"},
        {criteria({}, false, true), ""},  // Reverse alone is no filter
        // Entries count as typed: leading blanks stay part of the value.
        {criteria({{FilterCriteria::Last, " a"}}), R"(UPPER(LNAME)=" A")"},
        // Upper-cased as the table's UPPER() does: accented letters too, but "ß" stays.
        {criteria({{FilterCriteria::Address1, "straße é"}}), R"(UPPER(STREET)="STRAßE É")"},
        // A double quote in a value cannot end the text early.
        {criteria({{FilterCriteria::Address1, R"(5" x)"}}), R"(UPPER(STREET)="5"+'"'+" X")"},
    };
    for (const auto& c : cases) {
        EXPECT_EQ(Filter::BuildQueryString(c.criteria, "T1ABC"), QString(c.expression)) << c.expression;
    }
}

TEST(BuildQueryStringTest, AValueAfterAnOperatorIsCutTo99Characters) {
    const QString value(120, 'a');
    EXPECT_EQ(Filter::BuildFieldCondition("ZIP", ">=" + value), "UPPER(ZIP)>=\"" + QString(99, 'A') + "\"");
    EXPECT_EQ(Filter::BuildFieldCondition("ZIP", value), "UPPER(ZIP)=\"" + value.toUpper() + "\"");
}

class ApplyFilterTest : public ::testing::Test {
  protected:
    void SetUp() override {
        table_.add(
            {{"LNAME", "Smith"}, {"CODES", "AC"}, {"ZIP", "12345"}, {"CITY", "Boston"}, {"STATE", "MA"}});
        table_.add({{"LNAME", "smart"}, {"CODES", "B"}, {"ZIP", "12340"}, {"CITY", "Bosworth"}});
        table_.add({{"LNAME", "Jones"}, {"CODES", "c"}, {"ZIP", "20000"}, {"TAG", "ID1"}});
        table_.add({{"LNAME", "Zed"}, {"CODES", "C"}, {"ISDEL", "T"}});
        table_.add({{"LNAME", "Baker"}, {"ZIP", "99999"}});
        table_.order("LNAME");
    }
    std::set<uint32_t> visible() {
        std::set<uint32_t> recs;
        EXPECT_TRUE(table_->goTop().ok());
        while (!table_->eof()) {
            recs.insert(table_->recNo());
            if (!table_->skip(1).ok()) break;
        }
        return recs;
    }
    AddressTable table_;
    Filter::State state_;
};

TEST_F(ApplyFilterTest, ShowsTheMatchingRecordsAndCountsThem) {
    const struct {
        FilterCriteria criteria;
        std::set<uint32_t> records;
    } cases[] = {
        {criteria({{FilterCriteria::Last, "sm"}}), {1, 2}},
        {criteria({{FilterCriteria::Codes, "$c"}}), {1, 3}},  // the deleted 4 stays hidden
        {criteria({{FilterCriteria::Zip, ">=12345"}}), {1, 3, 5}},
        {criteria({{FilterCriteria::Last, "jones;sm+smi"}}), {1, 3}},
        {criteria({{FilterCriteria::City, "bos"}}), {1, 2}},
        {criteria({}, true), {3}},
        // Reverse negates the filter only: the deleted record does not come back.
        {criteria({{FilterCriteria::Last, "sm"}}, false, true), {3, 5}},
    };
    for (const auto& c : cases) {
        state_.criteria = c.criteria;
        const Filter::ApplyResult result = Filter::ApplyFilter(*table_, state_, "ID1");
        const QString expected = Filter::BuildQueryString(c.criteria, "ID1");
        EXPECT_EQ(state_.expression, expected);
        EXPECT_EQ(table_->queryText(), (expected + ".and. !ISDEL").toStdString());
        EXPECT_EQ(result.matches, c.records.size()) << expected.toStdString();
        EXPECT_TRUE(result.message.isEmpty());
        EXPECT_EQ(visible(), c.records) << expected.toStdString();
        EXPECT_EQ(Filter::MatchText(state_, result.matches), QString::number(c.records.size()) + " matches");
    }
}

TEST_F(ApplyFilterTest, NoFilterAndAFilterMatchingNothingShowEveryRecord) {
    const std::set<uint32_t> all = {1, 2, 3, 5};
    Filter::ApplyResult result = Filter::ApplyFilter(*table_, state_, "ID1");
    EXPECT_EQ(result.matches, 0u);
    EXPECT_EQ(table_->queryText(), "!ISDEL");
    EXPECT_EQ(Filter::MatchText(state_, result.matches), "No filter set");

    // Only Tagged, after the tags were cleared (a new identifier): dropped without a word.
    state_.criteria = criteria({{FilterCriteria::Last, "j"}}, true);
    result = Filter::ApplyFilter(*table_, state_, "NEWID");
    EXPECT_EQ(result.matches, 0u);
    EXPECT_TRUE(result.message.isEmpty());
    EXPECT_EQ(state_.criteria, FilterCriteria());
    EXPECT_TRUE(state_.expression.isEmpty());
    EXPECT_EQ(table_->queryText(), "!ISDEL");
    EXPECT_EQ(visible(), all);
}

TEST_F(ApplyFilterTest, AFilterOf243CharactersIsTheLongestAccepted) {
    // "smith" or a long name nobody has: still matches record 1.
    const auto longFilter = [](int padding) {
        return criteria({{FilterCriteria::Last, "smith;" + QString(padding, 'z')}});
    };
    const int padding = 243 - int(Filter::BuildQueryString(longFilter(0), {}).size());
    ASSERT_EQ(Filter::BuildQueryString(longFilter(padding), {}).size(), 243);

    state_.criteria = longFilter(padding);
    Filter::ApplyResult result = Filter::ApplyFilter(*table_, state_, {});
    EXPECT_EQ(result.matches, 1u);
    EXPECT_TRUE(result.message.isEmpty());
    EXPECT_EQ(table_->queryText().size(), 255u);

    state_.criteria = longFilter(padding + 1);
    result = Filter::ApplyFilter(*table_, state_, {});
    EXPECT_EQ(result.matches, 0u);
    EXPECT_EQ(result.message, "Sorry - filter is too complex.Please simplify it.");
    EXPECT_EQ(state_.criteria, FilterCriteria());
    EXPECT_TRUE(state_.expression.isEmpty());
    EXPECT_EQ(table_->queryText(), "!ISDEL");
}

TEST_F(ApplyFilterTest, TextTheFileCannotHoldIsReportedNotDropped) {
    // Reversed it would match every record: dropping it silently would show the wrong ones.
    state_.criteria = criteria({{FilterCriteria::Last, "Ωmega"}}, false, true);
    const Filter::ApplyResult result = Filter::ApplyFilter(*table_, state_, {});
    EXPECT_EQ(result.matches, 0u);
    EXPECT_NE(result.message.indexOf("Ω"), -1) << result.message.toStdString();
    EXPECT_TRUE(state_.expression.isEmpty());
    EXPECT_EQ(table_->queryText(), "!ISDEL");
}

TEST_F(ApplyFilterTest, AQuotedValueMatchesLiterally) {
    table_.add({{"LNAME", "O\"Neil"}});
    state_.criteria = criteria({{FilterCriteria::Last, "o\"n"}});
    EXPECT_EQ(Filter::ApplyFilter(*table_, state_, {}).matches, 1u);
}

// ---- Tag All ----

class TagAllTest : public ::testing::Test {
  protected:
    void SetUp() override {
        for (int i = 0; i < 10; ++i) table_.add({{"LNAME", QString("Name%1").arg(9 - i)}, {"TAG", "OLD"}});
        table_.order("LNAME");
        ASSERT_TRUE(table_->query("!ISDEL").ok());
    }
    std::set<QString> taggedNames() { return table_.namesTagged("NEW"); }
    AddressTable table_;
};

TEST_F(TagAllTest, CancelledHalfWayLeavesTheVisitedRecordsTagged) {
    std::vector<QString> progress;
    const TagAll::Result result = TagAll::TagAll(*table_, "NEW", [&](uint32_t n) {
        progress.push_back(TagAll::ProgressText(n));
        return n < 4;
    });
    EXPECT_EQ(result.outcome, TagAll::Outcome::Cancelled);
    EXPECT_EQ(result.tagged, 4u);
    EXPECT_EQ(result.labelText(), "Cancelled before completion");
    EXPECT_EQ(progress, (std::vector<QString>{"1 tagged", "2 tagged", "3 tagged", "4 tagged"}));
    // The first four in the current order, and the table back on the first record.
    EXPECT_EQ(taggedNames(), (std::set<QString>{"Name0", "Name1", "Name2", "Name3"}));
    EXPECT_EQ(table_.value("LNAME"), "Name0");
}

TEST_F(TagAllTest, TagsEveryMatchEvenWhenTaggingTakesItOutOfTheFilter) {
    // "Reverse" + "Tagged": every record not yet tagged. Each one leaves the filter as
    // it is tagged, and the loop must still go on to the next.
    Filter::State state;
    state.criteria = criteria({{FilterCriteria::Last, "name"}}, true, true);
    ASSERT_EQ(Filter::ApplyFilter(*table_, state, "NEW").matches, 10u);
    const TagAll::Result result = TagAll::TagAll(*table_, "NEW");
    EXPECT_EQ(result.outcome, TagAll::Outcome::Complete);
    EXPECT_EQ(result.labelText(), "Complete");
    EXPECT_EQ(result.tagged, 10u);
    EXPECT_EQ(taggedNames().size(), 10u);
}

}  // namespace
