// The state/ZIP check: the range test, the state table look-up, blanks, and the
// result in name order.

#include <gtest/gtest.h>

#include <QFile>
#include <QFileInfo>

#include "DuplicateCheck.h"
#include "RecordingProgress.h"
#include "StateZipCheck.h"
#include "ToolsTestSupport.h"

namespace {

using StateZipCheck::Range;

TEST(StateZipRules, ZipAgainstTheRange) {
    const Range ny{"10000", "14999"};
    const Range nyPlus4{"10000", "14999-9999"};
    struct Case {
        const char* zip;
        std::optional<Range> range;
        bool questionable;
    };
    const Case cases[] = {
        {"10001", ny, false},
        {"09999", ny, true},
        {"14999", ny, false},
        {"", ny, true},
        {"", Range{"", "99999"}, false},
        {"14999-1234", ny, true},
        {"14999-1234", nyPlus4, false},
        {"12345", std::nullopt, true},
    };
    for (const Case& c : cases)
        EXPECT_EQ(StateZipCheck::Questionable(c.zip, c.range), c.questionable) << c.zip;
}

class StateZipRun : public ::testing::Test {
  protected:
    void SetUp() override {
        makeStateTable(table.dir().file("CSZ.DBF"), testStates());
        ASSERT_TRUE(xbase::Table::open(table.dir().file("CSZ.DBF"), xbase::OpenMode::Exclusive, &csz).ok());
        struct R {
            const char* last;
            const char* state;
            const char* zip;
            const char* isdel;
        };
        const R records[] = {
            {"Adams", "NY", "10001", "F"},      {"Baker", "NY", "09999", "F"},
            {"Clark", "NY", "", "F"},           {"Davis", "", "10001", "F"},
            {"Evans", "NY", "14999-1234", "F"}, {"Foster", "PA", "19699-1234", "F"},
            {"Green", "XX", "12345", "F"},      {"Hill", "ny", "12000", "F"},
            {"Irwin", "N", "12000", "F"},       {"Jones", "NY", "09999", "T"},
            {"allen", "NY", "09999", "F"},      {"Kent", "TX", "75001", "F"},
        };
        for (const R& r : records)
            table.add({{"LNAME", r.last}, {"STATE", r.state}, {"ZIP", r.zip}, {"ISDEL", r.isdel}});
        ASSERT_TRUE(table->query("!ISDEL").ok());
        table.order("ZIP");
        ASSERT_TRUE(table->go(6).ok());
    }
    QString indexPath() const { return StateZipCheck::IndexPath(QString::fromStdString(table->path())); }
    JobResult run(bool blanks, JobProgress* progress = nullptr) {
        JobProgress silent;
        StateZipCheck::StateTable states(*csz);
        QString error;
        const JobResult r = StateZipCheck::RunStateZipCheck(*table, states, {blanks}, indexPath(),
                                                            progress ? *progress : silent, &result, &error);
        EXPECT_NE(r, JobResult::Failed) << error.toStdString();
        return r;
    }
    QStringList found() {
        SavedCursor keep(*table);
        EXPECT_TRUE(table->setOrder(result.order).ok());
        QStringList names;
        for (uint32_t r : visibleRecords(*table)) names << fieldOf(*table, r, "LNAME");
        return names;
    }
    AddressTable table;
    std::unique_ptr<xbase::Table> csz;
    StateZipCheck::Result result;
};

TEST_F(StateZipRun, QuestionableRecordsInNameOrderWithAndWithoutBlanks) {
    struct Case {
        bool blanks;
        QStringList names;
    };
    const Case cases[] = {
        {false, {"allen", "Baker", "Evans", "Green", "Irwin", "Kent"}},
        {true, {"allen", "Baker", "Clark", "Davis", "Evans", "Green", "Irwin", "Kent"}},
    };
    for (const Case& c : cases) {
        ASSERT_EQ(run(c.blanks), JobResult::Done);
        EXPECT_EQ(result.found, uint32_t(c.names.size()));
        EXPECT_EQ(found(), c.names);
        EXPECT_EQ(QFileInfo(indexPath()).fileName(), "_chksz.idx");
        EXPECT_TRUE(QFile::exists(indexPath()));
        // The table's order and record are as they were; the index waits to be shown.
        EXPECT_EQ(table->indexOrd(), table->tagArea("ZIP"));
        EXPECT_EQ(table->recNo(), 6u);
        ExpectIndexesAgree(*table);
        DuplicateCheck::RemoveIndex(*table, result.order, indexPath());
        EXPECT_FALSE(QFile::exists(indexPath()));
    }
}

TEST_F(StateZipRun, AStopShowsWhatWasFoundSoFar) {
    RecordingProgress stopAfterFive(5);
    ASSERT_EQ(run(false, &stopAfterFive), JobResult::Cancelled);
    EXPECT_EQ(found(), QStringList({"Baker", "Evans"}));
    EXPECT_EQ(stopAfterFive.statuses.last(), "Found 2 records with questionable state or zipcodes");
    DuplicateCheck::RemoveIndex(*table, result.order, indexPath());
}

}  // namespace
