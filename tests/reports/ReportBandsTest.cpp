// How the report designer sizes its bands: switched on, dragged, and never beyond the
// page between its margins.

#include <gtest/gtest.h>

#include "ReportBands.h"
#include "ReportDefinition.h"

namespace {

using Band = TReportSettings::Band;

// A Letter page with half-inch margins: 960 pixels between the top and bottom margins.
TReportSettings letter(int header, int detail, int footer) {
    TReportSettings s = ReportDefinition::NewSettings();
    s.UseFooter = true;
    s.HeaderHeight = header;
    s.DetailHeight = detail;
    s.FooterHeight = footer;
    return s;
}

}  // namespace

TEST(ReportBandsTest, PageGeometryOfALetterPage) {
    TReportSettings s = ReportDefinition::NewSettings();
    EXPECT_EQ(ReportBands::BandWidth(s), 816 - 48 - 48 - 24);  // a quarter inch narrower
    EXPECT_EQ(ReportBands::Room(s), 960);
    EXPECT_EQ(ReportBands::PageAreaHeight(s), 1060);
    s.UseMemo = true;
    EXPECT_EQ(ReportBands::PageAreaHeight(s), 1093);
}

TEST(ReportBandsTest, BandSwitchedOnGetsTwentyPixelsOrWhatThePageHasLeft) {
    struct Case {
        int header, detail;
        int expected;
    } cases[] = {
        {33, 33, 20},   // room enough
        {33, 917, 10},  // 10 pixels left on the page
        {33, 927, 0},   // the page is full
        {500, 500, 0},  // already over the page (a damaged file): nothing, not less
    };
    for (const Case& c : cases) {
        TReportSettings s = letter(c.header, c.detail, 0);
        ReportBands::ApplyBandUse(s, false);
        EXPECT_EQ(s.FooterHeight, c.expected) << c.header << "+" << c.detail;
        EXPECT_EQ(s.HeaderHeight, c.header);
        EXPECT_EQ(s.DetailHeight, c.detail);
    }
}

TEST(ReportBandsTest, BandUseGivesOffBandsNoHeightAndLeavesADraggedZeroAlone) {
    TReportSettings s = letter(0, 40, 60);
    s.UseFooter = false;
    ReportBands::ApplyBandUse(s, true);  // a sizer is being dragged
    EXPECT_EQ(s.HeaderHeight, 0);
    EXPECT_EQ(s.FooterHeight, 0);
    ReportBands::ApplyBandUse(s, false);
    EXPECT_EQ(s.HeaderHeight, 20);
    EXPECT_EQ(s.DetailHeight, 40);
}

TEST(ReportBandsTest, DraggedSizerFollowsTheMouseWithinThePage) {
    const TReportSettings s = letter(33, 33, 33);
    struct Case {
        Band band;
        int dy;
        int expected;
    } cases[] = {
        {TReportSettings::Detail, 30, 63},         {TReportSettings::Detail, -20, 13},
        {TReportSettings::Detail, -100, 0},         // never below nothing
        {TReportSettings::Detail, 5000, 960 - 66},  // the three fill the page
        {TReportSettings::Footer, 5000, 960 - 66}, {TReportSettings::Header, 861, 894},  // exactly full
    };
    for (const Case& c : cases) {
        const int h = ReportBands::DraggedHeight(s, c.band, 33, c.dy);
        EXPECT_EQ(h, c.expected) << int(c.band) << " by " << c.dy;
        EXPECT_LE(h + 66, ReportBands::Room(s));
    }
}
