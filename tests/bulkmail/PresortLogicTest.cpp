// The bulk-mail presort: grouping by thresholds and centres, and the list file it
// writes for a table's selection.

#include <gtest/gtest.h>

#include <QFile>
#include <set>
#include <sstream>

#include "AdcCentres.h"
#include "Presort.h"
#include "RecordingProgress.h"
#include "TempDir.h"
#include "ZipTable.h"

namespace {

std::vector<std::string> presort(const std::vector<std::string>& keys) {
    Presort::Tally tally;
    for (const std::string& k : keys) tally.add(k);
    return Presort::BuildList(tally);
}

using Lines = std::vector<std::string>;

TEST(PresortTest, GroupsByThresholdsAndCentres) {
    const struct {
        const char* what;
        Lines keys;
        Lines expected;
    } cases[] = {
        {"ten pieces make a 5-digit group; three left go to their centre",
         repeat("12345", 10) + repeat("12346", 3),
         {"** 5-digit 12345", "12345", "** ADC ALBANY NY 120", "12346"}},
        {"nine pieces do not", repeat("12345", 9), {"** ADC ALBANY NY 120", "12345"}},
        {"ten pieces under one prefix make a 3-digit group",
         repeat("12345", 6) + repeat("12399", 5),
         {"** 3-digit 123", "12345", "12399"}},
        {"letters first, empty and short-of-00000 keys are left out",
         Lines{"K1A 0", "", " 1234", "0", "ABCDE"},
         {}},
        {"prefix 000 is in no centre", Lines{"00012"}, {"** Unknown", "00012"}},
        {"a key is matched to whole prefixes only, never across the list's blanks",
         Lines{"12 34", "21", "1 12"},
         {"** Unknown", "1 12", "12 34", "21"}},
    };
    for (const auto& c : cases) EXPECT_EQ(presort(c.keys), c.expected) << c.what;
}

TEST(PresortTest, MixedSelectionInFileOrder) {
    const Lines keys = repeat("99999", 12) + repeat("02134", 10) + repeat("02135", 4) + repeat("02136", 3) +
                       repeat("02137", 3) + repeat("60601", 9) +
                       Lines{"60602", "10001", "10001", "00501", "96701", "12001", "00012", "99501", "21701"};
    const Lines expected = {
        "** 5-digit 02134",
        "02134",
        "** 5-digit 99999",
        "99999",
        "** 3-digit 021",
        "02135",
        "02136",
        "02137",
        "** 3-digit 606",
        "60601",
        "60602",
        "** ADC ALBANY NY 120",
        "12001",
        "** ADC ANCHORAGE AK 995",
        "99501",
        "** ADC BALTIMORE MD 210",
        "21701",
        "** ADC HONOLULU HI 967",
        "96701",
        "** ADC LONG ISLAND NY 117",
        "00501",
        "** ADC NEW YORK NY 100",
        "10001",
        "** Unknown",
        "00012",
    };
    EXPECT_EQ(presort(keys), expected);
}

TEST(PresortTest, CentreTableHoldsEachPrefixOnce) {
    std::set<std::string> seen;
    size_t total = 0;
    for (const AdcCentre& c : AdcCentres()) {
        std::istringstream in(c.prefixes);
        for (std::string p; in >> p; ++total) {
            EXPECT_TRUE(seen.insert(p).second) << p;
            EXPECT_TRUE(AdcServes(c, p));
        }
    }
    EXPECT_EQ(AdcCentres().size(), 96u);
    EXPECT_EQ(total, 930u);
    EXPECT_STREQ(AdcCentres()[25].name, "FARGO ND  580");
}

TEST_F(PresortFileTest, ReadsTheSelectionAndWritesCrLfLines) {
    // 12345-6789 counts as 12345; deleted records and those outside the query do not count.
    const Lines zips =
        repeat("12345-6789", 5) + repeat("12345", 5) + repeat("-12345", 20) + Lines{"60601", "K1A 0B1", ""};
    ASSERT_TRUE(makeZipFile(dir_.file("a.dbf"), zips, &table_));
    ASSERT_TRUE(table_->setOrder(table_->tagArea("ZIP")).ok());
    ASSERT_TRUE(table_->go(3).ok());
    RecordingProgress progress;
    const QStringList& statuses = progress.statuses;
    QString error;
    ASSERT_EQ(Presort::RunPresort(*table_, out(), progress, &error), JobResult::Done) << error.toStdString();
    EXPECT_EQ(written(), "** 5-digit 12345\r\n12345\r\n** ADC CHICAGO IL 606\r\n60601\r\n");
    EXPECT_EQ(statuses.first(), "Reading database records...");
    EXPECT_EQ(statuses.last(), "Sorting Zip Codes...");
    // The file's order and record are as they were.
    EXPECT_EQ(table_->indexOrd(), table_->tagArea("ZIP"));
    EXPECT_EQ(table_->recNo(), 3u);

    ASSERT_TRUE(table_->query("!ISDEL .and. ZIP='6'").ok());
    ASSERT_EQ(Presort::RunPresort(*table_, out(), progress, &error), JobResult::Done);
    EXPECT_EQ(written(), "** ADC CHICAGO IL 606\r\n60601\r\n");
}

TEST_F(PresortFileTest, CancelWritesNothingAndShowsProgressByHundreds) {
    ASSERT_TRUE(makeZipFile(dir_.file("a.dbf"), repeat("12345", 250), &table_));
    RecordingProgress progress(230);
    QString error;
    EXPECT_EQ(Presort::RunPresort(*table_, out(), progress, &error), JobResult::Cancelled);
    EXPECT_FALSE(QFile::exists(out()));
    EXPECT_EQ(progress.statuses,
              QStringList({"Reading database records...", "Reading record 100", "Reading record 200"}));
}

}  // namespace
