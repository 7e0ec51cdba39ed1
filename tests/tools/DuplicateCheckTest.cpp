// The duplicate scan: the three kinds with the street length, the records it leaves
// out, and a stop part way.

#include <gtest/gtest.h>

#include <QFile>
#include <set>

#include "DuplicateCheck.h"
#include "RecordingProgress.h"
#include "ToolsTestSupport.h"

namespace {

using DuplicateCheck::Kind;

struct Rec {
    const char* last;
    const char* first;
    const char* street = "";
    const char* deletion = "";  // "T": deleted as the program deletes; "flag": ISDEL only
};

struct Case {
    const char* name;
    std::vector<Rec> records;
    Kind kind;
    int streetLength;
    uint32_t matches;
    std::set<uint32_t> candidates;
};

// An address file with the records of a case, and the scan over it.
class ScanFile {
  public:
    explicit ScanFile(const std::vector<Rec>& records) {
        for (const Rec& r : records) {
            const uint32_t n = table.add({{"LNAME", r.last},
                                          {"FNAME", r.first},
                                          {"STREET", r.street},
                                          {"ISDEL", QString(r.deletion) == "T" ? "T" : "F"}});
            if (QString(r.deletion) == "flag") {
                EXPECT_TRUE(table->go(n).ok());
                EXPECT_TRUE(table->replaceLogical(table->fieldIndex("ISDEL"), true).ok());
                EXPECT_TRUE(table->commit().ok());
            }
        }
        EXPECT_TRUE(table->query("!ISDEL").ok());
        table.order("LNAME");
    }
    JobResult scan(Kind kind, int streetLength, JobProgress* progress = nullptr) {
        JobProgress silent;
        QString error;
        DuplicateCheck::Options options{kind, streetLength};
        const JobResult r = DuplicateCheck::RunDuplicateScan(*table, options, indexPath(),
                                                             progress ? *progress : silent, &result, &error);
        EXPECT_NE(r, JobResult::Failed) << error.toStdString();
        return r;
    }
    QString indexPath() const { return QString::fromStdString(table.dir().file("_chkdup.idx")); }
    // The records the temporary index shows, in its order.
    std::vector<uint32_t> candidates() {
        SavedCursor keep(*table);
        EXPECT_TRUE(table->setOrder(result.order).ok());
        return visibleRecords(*table);
    }

    AddressTable table;
    DuplicateCheck::Result result;
};

TEST(DuplicateScan, KindsAndWhatStartsAComparison) {
    const Case cases[] = {
        {"run of three",
         {{"Smith", "John"}, {"Adams", "Ann"}, {"Smith", "John"}, {"SMITH", "john"}},
         Kind::LastFirst,
         30,
         2,
         {1, 3, 4}},
        {"first names differ", {{"Smith", "John"}, {"Smith", "Joseph"}}, Kind::LastFirst, 30, 0, {}},
        {"first initials agree",
         {{"Smith", "John"}, {"Smith", "Joseph"}},
         Kind::LastFirstInitial,
         30,
         1,
         {1, 2}},
        {"joined without separator", {{"Smit", "hJohn"}, {"Smith", "John"}}, Kind::LastFirst, 30, 1, {1, 2}},
        {"empty last names", {{"", "John"}, {"", "John"}}, Kind::LastFirst, 30, 0, {}},
        {"deleted not scanned",
         {{"Smith", "John"}, {"Smith", "John", "", "T"}, {"Smith", "John", "", "flag"}},
         Kind::LastFirst,
         30,
         0,
         {}},
        {"street prefix of 5",
         {{"A", "", "12 Main Street"}, {"B", "", "12 Main Avenue"}},
         Kind::Street,
         5,
         1,
         {1, 2}},
        {"whole street", {{"A", "", "12 Main Street"}, {"B", "", "12 Main Avenue"}}, Kind::Street, 30, 0, {}},
        {"empty streets", {{"A", "", ""}, {"B", "", ""}}, Kind::Street, 30, 0, {}},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        ScanFile file(c.records);
        xbase::Table& table = *file.table;
        ASSERT_EQ(file.scan(c.kind, c.streetLength), JobResult::Done);
        EXPECT_EQ(file.result.matches, c.matches);
        const std::vector<uint32_t> shown = file.candidates();
        EXPECT_EQ(std::set<uint32_t>(shown.begin(), shown.end()), c.candidates);
        EXPECT_EQ(shown.size(), c.candidates.size());  // each candidate once
        // The scan leaves the order and query; the index stays open for the window.
        EXPECT_EQ(table.indexOrd(), table.tagArea("LNAME"));
        EXPECT_EQ(table.queryText(), "!ISDEL");
        EXPECT_TRUE(QFile::exists(file.indexPath()));
        DuplicateCheck::RemoveIndex(table, file.result.order, file.indexPath());
        EXPECT_FALSE(QFile::exists(file.indexPath()));
        EXPECT_EQ(table.orderCount(), 26);
    }
}

TEST(DuplicateScan, CandidatesFollowEditsAndAStopKeepsWhatWasFound) {
    std::vector<Rec> records;
    for (int i = 0; i < 40; ++i) records.push_back({i % 2 ? "Smith" : "Jones", i < 20 ? "Al" : "Bo"});
    ScanFile file(records);
    AddressTable& table = file.table;
    RecordingProgress stopAfterTen(10);
    ASSERT_EQ(file.scan(Kind::LastFirst, 30, &stopAfterTen), JobResult::Cancelled);
    // Name order: the twenty Jones records first (Al, then Bo): ten visited, nine pairs.
    EXPECT_EQ(file.result.matches, 9u);
    std::vector<uint32_t> shown = file.candidates();
    ASSERT_EQ(shown.size(), 10u);
    // Editing a candidate moves it in the index's order, and the index stays sound.
    ASSERT_TRUE(table->go(shown.front()).ok());
    ASSERT_TRUE(AddressFile::setText(*table, table->fieldIndex("LNAME"), "Zimmer").ok());
    ASSERT_TRUE(table->commit().ok());
    EXPECT_EQ(file.candidates().back(), shown.front());
    ExpectIndexesAgree(*table);
    DuplicateCheck::RemoveIndex(*table, file.result.order, file.indexPath());
}

}  // namespace
