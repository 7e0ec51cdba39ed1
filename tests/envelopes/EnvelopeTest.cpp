// Envelope sizes, the feed setting and where it puts the envelope on the page.

#include <gtest/gtest.h>

#include "Envelope.h"
#include "Settings.h"
#include "TempDir.h"

using Envelope::Feed;

TEST(EnvelopeTest, SizesByCodeAndUnknownCodes) {
    EXPECT_EQ(Envelope::Sizes().size(), 16u);
    const Envelope::Size monarch = Envelope::SizeOf(37);
    EXPECT_STREQ(monarch.entry, "Envelope Monarch 3 7/8 x 7 1/2 inches");
    EXPECT_DOUBLE_EQ(monarch.width, 7.5);
    EXPECT_DOUBLE_EQ(monarch.height, 3.875);
    EXPECT_DOUBLE_EQ(Envelope::SizeOf(28).height, 6.48);
    EXPECT_DOUBLE_EQ(Envelope::SizeOf(1).width, -1);  // Letter is no envelope
    EXPECT_DOUBLE_EQ(Envelope::SizeOf(-5).height, -1);
}

TEST(EnvelopeTest, PlacementFollowsTheFeed) {
    struct Case {
        const char* what;
        int orientation;
        bool faceDown;
        Feed::Position position;
        bool clockwise;
        double pageWidth, pageHeight;
        double x, y;
    };
    // A #10 envelope, 9.5 x 4.125 in.
    const Case cases[] = {
        {"portrait, up, centred on Letter: negative x becomes 0", 0, false, Feed::Center, false, 8.5, 11, 0, 0},
        {"landscape, up, centred on Letter", 1, false, Feed::Center, false, 11, 8.5, 1.5, 2.1875},
        {"landscape, up, left", 1, false, Feed::Left, false, 11, 8.5, 1.5, 0},
        {"landscape, up, right", 1, false, Feed::Right, false, 11, 8.5, 1.5, 4.375},
        {"landscape, up, right, clockwise", 1, false, Feed::Right, true, 11, 8.5, 0, 4.375},
        {"landscape, down, left: as up right", 1, true, Feed::Left, false, 11, 8.5, 1.5, 4.375},
        {"landscape, down, right: as up left", 1, true, Feed::Right, false, 11, 8.5, 1.5, 0},
        {"portrait, up, right on a wide sheet", 0, false, Feed::Right, false, 11, 17, 1.5, 0},
        {"portrait, down, left: as up right", 0, true, Feed::Left, false, 11, 17, 1.5, 0},
        {"portrait, down, right", 0, true, Feed::Right, false, 11, 17, 0, 0},
        {"the page is the envelope to a tenth", 1, true, Feed::Right, true, 9.54, 4.16, 0, 0},
    };
    for (const Case& c : cases) {
        Feed feed;
        feed.orientation = c.orientation;
        feed.faceDown = c.faceDown;
        feed.position = c.position;
        feed.clockwise = c.clockwise;
        const QPointF at = Envelope::Placement(feed, c.pageWidth, c.pageHeight, 9.5, 4.125);
        EXPECT_NEAR(at.x(), c.x, 1e-9) << c.what;
        EXPECT_NEAR(at.y(), c.y, 1e-9) << c.what;
    }
}

TEST(EnvelopeTest, FeedDefaultsDescriptionAndSettings) {
    TempDir dir;
    Settings settings(QString::fromStdString(dir.file("QUILLO.ini")));
    Feed feed = Feed::Load(settings);
    EXPECT_EQ(feed.orientation, 1);
    EXPECT_TRUE(feed.faceDown);
    EXPECT_EQ(feed.position, Feed::Center);
    EXPECT_FALSE(feed.clockwise);
    EXPECT_EQ(feed.Description(), "Position: Center\r\nOrientation : Landscape\r\nFacing Down");

    feed.position = Feed::Left;
    feed.orientation = 0;
    feed.clockwise = true;
    feed.faceDown = false;
    QString error;
    ASSERT_TRUE(feed.Save(settings, &error)) << error.toStdString();
    const Feed back = Feed::Load(settings);
    EXPECT_EQ(back.Description(), "Position: Left\r\nOrientation : Portrait\r\nClockwise Rotation\r\nFacing Up");
}

TEST(EnvelopeTest, PaperWarningAfterMoreThanAnInchInHundredths) {
    EXPECT_FALSE(Envelope::PaperDiffers(9.5, 4.125, 9.5, 4.125));
    EXPECT_FALSE(Envelope::PaperDiffers(10.5, 4.125, 9.5, 4.125));     // exactly an inch
    EXPECT_FALSE(Envelope::PaperDiffers(10.509, 4.125, 9.5, 4.125));   // 10.50 after the cut
    EXPECT_TRUE(Envelope::PaperDiffers(10.52, 4.125, 9.5, 4.125));
    EXPECT_TRUE(Envelope::PaperDiffers(8.5, 11, 9.5, 4.125));          // Letter portrait
}
