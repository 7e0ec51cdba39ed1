#include "WindowPlacement.h"

#include <gtest/gtest.h>

#include "FileText.h"
#include "Settings.h"
#include "TempDir.h"

namespace {

TEST(WindowPlacementTest, SectionName) {
    EXPECT_EQ(WindowPlacement::sectionName("TAddressMain", 96), "TAddressMain_Placement");
    EXPECT_EQ(WindowPlacement::sectionName("TAddressMain", 72), "TAddressMain_Placement");
    EXPECT_EQ(WindowPlacement::sectionName("TAddressMain", 120), "TAddressMain_Placement120");
    EXPECT_EQ(WindowPlacement::sectionName("TBrowse", 97), "TBrowse_Placement97");
}

TEST(WindowPlacementTest, FitToScreen) {
    const QRect screen(0, 0, 1024, 768);
    const std::optional<QRect> centre;
    struct Case {
        const char* what;
        WindowPlacement::Stored stored;  // left, top, right, bottom
        QRect screen;
        std::optional<QRect> expected;
    };
    const Case cases[] = {
        {"nothing stored", {0, 0, 0, 0}, screen, centre},
        {"bottom 0", {10, 20, 300, 0}, screen, centre},
        {"fits", {10, 20, 410, 320}, screen, QRect(10, 20, 400, 300)},
        {"touches the corner", {624, 468, 1024, 768}, screen, QRect(624, 468, 400, 300)},
        {"past the right edge", {900, 100, 1200, 400}, screen, QRect(724, 100, 300, 300)},
        {"past the bottom edge", {100, 600, 400, 900}, screen, QRect(100, 468, 300, 300)},
        {"past both", {900, 600, 1200, 900}, screen, QRect(724, 468, 300, 300)},
        {"larger than the screen", {0, 0, 1920, 1080}, screen, QRect(0, 0, 1024, 768)},
        {"larger and moved", {500, 300, 2000, 1200}, screen, QRect(0, 0, 1024, 768)},
        {"partly before the left edge", {-100, -10, 300, 350}, screen, QRect(-100, -10, 400, 360)},
        {"wholly before the left edge", {-2000, 0, -1000, 500}, screen, centre},
        {"wholly above", {0, -900, 500, -100}, screen, centre},
        {"empty width", {100, 100, 100, 400}, screen, centre},
        {"upside down", {100, 400, 300, 300}, screen, centre},
        {"screen not at the origin",
         {3000, 100, 3400, 500},
         QRect(1920, 0, 1280, 1024),
         QRect(2800, 100, 400, 400)},
        {"absurd numbers", {-2147483647 - 1, 0, 2147483647, 100}, screen, QRect(0, 0, 1024, 100)},
    };
    for (const Case& c : cases)
        EXPECT_EQ(WindowPlacement::fitToScreen(c.stored, c.screen), c.expected) << c.what;
}

TEST(WindowPlacementTest, CenterForm) {
    struct Case {
        QSize size;
        QRect area;
        QRect expected;
    };
    const Case cases[] = {
        {{200, 100}, {0, 0, 1024, 768}, {412, 334, 200, 100}},
        {{201, 101}, {0, 0, 1024, 768}, {411, 333, 201, 101}},
        {{200, 100}, {100, 50, 300, 200}, {150, 100, 200, 100}},
        {{301, 301}, {0, 0, 100, 100}, {-100, -100, 301, 301}},  // halves round toward zero
    };
    for (const Case& c : cases) EXPECT_EQ(WindowPlacement::CenterForm(c.size, c.area), c.expected);
}

TEST(WindowPlacementTest, SaveAndRestoreThroughTheSettings) {
    TempDir dir;
    const QString path = QString::fromStdString(dir.file("QUILLO.ini"));
    Settings settings(path);
    const QRect screen(0, 0, 1024, 768);
    const QString section = WindowPlacement::sectionName("TAddressMain", 96);

    for (bool maximizedNow : {false, true}) {  // nothing stored: centre, keep the state
        const WindowPlacement::Restored r =
            WindowPlacement::RestorePlacement(settings, section, screen, maximizedNow);
        EXPECT_FALSE(r.rect.has_value());
        EXPECT_EQ(r.maximized, maximizedNow);
    }

    ASSERT_TRUE(WindowPlacement::SavePlacement(settings, section, QRect(10, 20, 400, 300), true));
    EXPECT_EQ(readFile(path),
              "[TAddressMain_Placement]\nLeft=10\nTop=20\nRight=410\nBottom=320\nMaximized=1\n");
    const WindowPlacement::Restored r = WindowPlacement::RestorePlacement(settings, section, screen, false);
    EXPECT_EQ(r.rect, QRect(10, 20, 400, 300));
    EXPECT_TRUE(r.maximized);

    // Another resolution keeps its own placement; a missing "Maximized" is the current state.
    writeFile(path, "[TAddressMain_Placement120]\nLeft=900\nTop=0\nRight=1300\nBottom=300\n");
    const WindowPlacement::Restored hi = WindowPlacement::RestorePlacement(
        settings, WindowPlacement::sectionName("TAddressMain", 120), screen, true);
    EXPECT_EQ(hi.rect, QRect(624, 0, 400, 300));
    EXPECT_TRUE(hi.maximized);
}

}  // namespace
