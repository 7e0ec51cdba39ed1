// The paragraph and page dialogs' units.

#include <gtest/gtest.h>

#include "LetterUnits.h"

namespace {

using LetterUnits::Unit;

TEST(LetterUnits, ConvertBothWays) {
    struct Case {
        const char* text;
        Unit unit;
        int twips;
        const char* shown;
    };
    const Case cases[] = {
        {"0.5", Unit::Inch, 720, "0.50"},  {"1.27", Unit::Cm, 720, "1.27"}, {"720", Unit::Twips, 720, "720"},
        {"8.5", Unit::Inch, 12240, "8.50"}, {"2.5", Unit::Cm, 1417, "2.50"}, {"", Unit::Inch, 0, "0.00"},
        {"-0.25", Unit::Inch, -360, "-0.25"},
    };
    for (const Case& c : cases) {
        int twips = -1;
        ASSERT_TRUE(LetterUnits::Parse(c.text, c.unit, &twips)) << c.text;
        EXPECT_EQ(twips, c.twips) << c.text;
        EXPECT_EQ(LetterUnits::Show(c.twips, c.unit), c.shown) << c.text;
    }
    // 720 twips entered in inches shows as 1.27 once the unit is centimetres.
    EXPECT_EQ(LetterUnits::Show(720, Unit::Cm), "1.27");

    int points = 0;
    ASSERT_TRUE(LetterUnits::ParsePoints("12", &points));
    EXPECT_EQ(points, 240);
    EXPECT_EQ(LetterUnits::ShowPoints(240), "12");
    EXPECT_EQ(LetterUnits::ShowPoints(250), "13");  // 12.5 points round up

    int kept = 99;
    EXPECT_FALSE(LetterUnits::Parse("1,5x", Unit::Inch, &kept));
    EXPECT_FALSE(LetterUnits::ParsePoints("abc", &kept));
    EXPECT_EQ(kept, 99);
}

}  // namespace
