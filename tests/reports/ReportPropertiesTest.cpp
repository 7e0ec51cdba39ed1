// "Report Layout": the paper and margins recomputed on every change, a page that is none
// of the papers, Defaults, and the miniature page opening a band's tab.

#include <gtest/gtest.h>

#include <QCheckBox>
#include <QComboBox>
#include <QDoubleSpinBox>
#include <QPushButton>
#include <QRadioButton>
#include <QSpinBox>
#include <QTabWidget>
#include <QTest>

#include "ClickBox.h"
#include "ReportDefinition.h"
#include "Screenshot.h"
#include "TReportMiniature.h"
#include "TReportProperties.h"

TEST(ReportPropertiesTest, PaperAndMarginsMakeThePage) {
    const TReportSettings start = ReportDefinition::NewSettings();
    TReportProperties p(start, nullptr);
    p.show();
    EXPECT_EQ(p.windowTitle(), "Report Layout");
    EXPECT_TRUE(p.LetterButton->isChecked());
    EXPECT_TRUE(p.PortraitButton->isChecked());
    EXPECT_DOUBLE_EQ(p.LeftMargin->value(), 0.5);
    screenshot(&p, "TReportProperties");

    clickBox(p.A4Button);
    clickBox(p.LandscapeButton);
    EXPECT_EQ(p.settings().PageWidth, 1121);  // 11.68 × 96, truncated
    EXPECT_EQ(p.settings().PageHeight, 793);
    EXPECT_EQ(p.layoutText(), "A4 Size, Landscape");

    p.LeftMargin->setValue(0.75);
    p.BottomMargin->setValue(1.29);
    EXPECT_EQ(p.settings().MarginLeft, 72);
    EXPECT_EQ(p.settings().MarginBottom, 123);  // 123.84, truncated

    p.Bands[TReportSettings::Detail].TopBorder->setChecked(true);
    p.Bands[TReportSettings::Detail].LineWidth->setValue(3);
    p.Bands[TReportSettings::Detail].ShadePercent->setCurrentText("60");
    const TReportBandFrame& f = p.settings().Frames[TReportSettings::Detail];
    EXPECT_TRUE(f.TopBorder);
    EXPECT_FALSE(f.BottomBorder);
    EXPECT_EQ(f.LineWidth, 3);
    EXPECT_EQ(f.ShadePercent, 60);
    p.Tabs->setCurrentIndex(2);
    screenshot(&p, "TReportProperties-Detail");
    EXPECT_EQ(p.settings().Frames[TReportSettings::Header], start.Frames[TReportSettings::Header]);

    // The band heights and their use are not the dialog's.
    EXPECT_EQ(p.settings().DetailHeight, start.DetailHeight);
    QTest::mouseClick(p.CancelButton, Qt::LeftButton);
    EXPECT_EQ(p.result(), QDialog::Rejected);
}

TEST(ReportPropertiesTest, DefaultsGiveLetterPortraitHalfInchMarginsAndPlainBands) {
    TReportSettings s = ReportDefinition::NewSettings();
    ReportDefinition::SetPaper(s, 3);
    s.MarginLeft = s.MarginTop = 96;
    s.Frames[TReportSettings::Header] = {true, true, true, true, 3, 80, 0x0000FF};
    s.UseFooter = true;
    TReportProperties p(s, nullptr);
    EXPECT_TRUE(p.A4Button->isChecked());
    EXPECT_TRUE(p.Bands[TReportSettings::Header].LeftBorder->isChecked());

    QTest::mouseClick(p.DefaultsButton, Qt::LeftButton);
    const TReportSettings d = p.settings();
    EXPECT_EQ(d.PageWidth, 816);
    EXPECT_EQ(d.PageHeight, 1056);
    EXPECT_EQ(d.MarginLeft, 48);
    EXPECT_EQ(d.MarginTop, 48);
    for (const TReportBandFrame& f : d.Frames) EXPECT_EQ(f, ReportDefinition::DefaultFrame());
    EXPECT_TRUE(d.UseFooter);
    EXPECT_TRUE(p.LetterButton->isChecked());
    EXPECT_TRUE(p.PortraitButton->isChecked());
    EXPECT_FALSE(p.Bands[TReportSettings::Header].LeftBorder->isChecked());
    EXPECT_EQ(p.layoutText(), "Letter Size, Portrait");
}

TEST(ReportPropertiesTest, PageOfNoPaperMarksNoChoiceAndKeepsItsSize) {
    TReportSettings s = ReportDefinition::NewSettings();
    s.PageWidth = 700;
    s.PageHeight = 900;
    TReportProperties p(s, nullptr);
    EXPECT_FALSE(p.LetterButton->isChecked());
    EXPECT_FALSE(p.A4Button->isChecked());
    EXPECT_FALSE(p.PortraitButton->isChecked());
    EXPECT_FALSE(p.LandscapeButton->isChecked());
    EXPECT_TRUE(p.layoutText().isEmpty());

    p.TopMargin->setValue(1.0);
    EXPECT_EQ(p.settings().PageWidth, 700);
    EXPECT_EQ(p.settings().MarginTop, 96);

    // Choosing a size marks the orientation the page has.
    clickBox(p.A4Button);
    EXPECT_TRUE(p.PortraitButton->isChecked());
    EXPECT_EQ(p.layoutText(), "A4 Size, Portrait");
}

TEST(ReportPropertiesTest, MiniatureOpensTheTabOfTheBandClicked) {
    TReportSettings s = ReportDefinition::NewSettings();
    s.UseMemo = s.UseFooter = true;
    s.DetailHeight = 96;
    TReportProperties p(s, nullptr);
    p.show();
    TReportMiniature* m = p.Miniature;
    EXPECT_EQ(m->BandRect(TReportSettings::Detail).height(), 20);  // 20 pixels to the inch
    const struct {
        int band;
        int tab;
    } cases[] = {{TReportSettings::Detail, 2},
                 {TReportSettings::Footer, 4},
                 {TReportSettings::Memo, 3},
                 {TReportSettings::Header, 1}};
    for (const auto& c : cases) {
        QTest::mouseClick(m, Qt::LeftButton, {}, m->BandRect(c.band).center());
        EXPECT_EQ(p.Tabs->currentIndex(), c.tab) << c.band;
    }
    // The page outside the bands opens "Page".
    QTest::mouseClick(m, Qt::LeftButton, {}, m->PageRect().topLeft() + QPoint(2, 2));
    EXPECT_EQ(p.Tabs->currentIndex(), 0);

    // Shading mixes the colour with white: red at 40 %.
    TReportBandFrame red = ReportDefinition::DefaultFrame();
    red.ShadeColor = 0x0000FF;
    red.ShadePercent = 40;
    EXPECT_EQ(TReportMiniature::ShadeOf(red), QColor(255, 153, 153));
    red.ShadePercent = 100;
    EXPECT_EQ(TReportMiniature::ShadeOf(red), QColor(255, 0, 0));
}
