// Text objects: single-line geometry, rotation, counters, dates, data binding and
// multi-line text.

#include <gtest/gtest.h>

#include <QImage>
#include <QPainter>

#include "CounterText.h"
#include "DateTimeText.h"
#include "LayoutTestSupport.h"
#include "SingleLineLayout.h"
#include "TGCounterLabel.h"
#include "TGDMultiLineLabel.h"
#include "TGLabelPanel.h"
#include "TGMultiLineLabel.h"
#include "TGOwner.h"
#include "TGPDLabel.h"
#include "TGPLabel.h"
#include "TGPageNumberLabel.h"
#include "TGSymbolLabel.h"
#include "TextWrap.h"

using layout::SingleLineInput;
using layout::SingleLineLayout;
using layout::TextBox;

namespace {

TEST(SingleLineLayoutTest, EffectsGoingLeftOrUpMoveTheTextOrigin) {
    SingleLineInput in;
    in.width = 142;
    in.height = 33;
    in.lineHeight = 16;
    in.textWidth = 40;
    in.shadow = layout::ShadowOffset(sdDownRight, 3);
    in.highlight = layout::HighlightOffset(hdUpLeft, 2);
    const SingleLineLayout l = layout::MeasureSingleLine(in);
    EXPECT_EQ(l.origin, QPoint(2, 2));
    EXPECT_EQ(l.main, (TextBox{2, 2, 142, 18}));
    EXPECT_EQ(l.highlight, (TextBox{0, 0, 140, 16}));  // nothing of the highlight is cut off
    EXPECT_EQ(l.shadow, (TextBox{5, 5, 145, 21}));
    // Block height 16 + 3 + 2 = 21; 33 is above 1.2 × 21 and is cut to 25.
    EXPECT_EQ(l.height, 25);
    EXPECT_EQ(l.width, 142);
}

TEST(SingleLineLayoutTest, SizesAndStartsAtEachAngle) {
    struct Case {
        int angle, width, height;
        TAlignment alignment;
        int outWidth, outHeight;
        QPoint start;
    } cases[] = {
        // Upright: the height fits the line, a tiny width takes the text's.
        {0, 142, 33, taLeftJustify, 142, 19, {0, 0}},
        {0, 4, 10, taLeftJustify, 50, 16, {0, 0}},
        {0, 142, 19, taRightJustify, 142, 19, {92, 0}},
        {0, 142, 19, taCenter, 142, 19, {46, 0}},
        // Upside down: no wider than twice the text; starts at the bottom right.
        {180, 142, 19, taLeftJustify, 100, 19, {99, 16}},
        // Turned: the width fits the line, the height at most 1.2 × the text.
        {90, 33, 142, taLeftJustify, 19, 60, {0, 59}},
        {270, 33, 142, taLeftJustify, 19, 60, {16, 0}},
    };
    for (const Case& c : cases) {
        SingleLineInput in;
        in.angle = c.angle;
        in.width = c.width;
        in.height = c.height;
        in.lineHeight = 16;
        in.textWidth = 50;
        in.alignment = c.alignment;
        const SingleLineLayout l = layout::MeasureSingleLine(in);
        EXPECT_EQ(l.width, c.outWidth) << c.angle << " " << c.width;
        EXPECT_EQ(l.height, c.outHeight) << c.angle << " " << c.width;
        EXPECT_EQ(l.mainStart, c.start) << c.angle << " " << c.width;
    }
}

TEST(SingleLineLayoutTest, QuarterTurnsSwapTheSides) {
    EXPECT_EQ(layout::RotatedSize(90, 142, 33), QPoint(33, 142));
    EXPECT_EQ(layout::RotatedSize(0, 33, 142), QPoint(142, 33));
    EXPECT_EQ(layout::RotatedSize(180, 142, 33), QPoint(142, 33));
    EXPECT_EQ(layout::RotatedSize(270, 33, 142), QPoint(33, 142));
}

class TextObjectTest : public ::testing::Test {
  protected:
    template <typename T>
    T* add(int left = 0, int top = 0) {
        auto o = std::make_unique<T>();
        o->SetOwner(&owner_);
        o->SetBounds(left, top, o->Width(), o->Height());
        return static_cast<T*>(panel_.InsertObject(std::move(o)));
    }
    TGOwner owner_;
    TGLabelPanel panel_{&owner_};
};

TEST_F(TextObjectTest, RotatingALabelSwapsItsSidesAndLeftAlignsIt) {
    TGPLabel* label = add<TGPLabel>();
    label->SetAlignment(taCenter);
    label->SetAngle(90);
    EXPECT_EQ(label->Width(), 33);
    EXPECT_EQ(label->Height(), 142);
    EXPECT_EQ(label->Alignment(), taLeftJustify);
    label->SetAngle(45);  // not a quarter turn: ignored
    EXPECT_EQ(label->Angle(), 90);
    label->SetAngle(0);
    EXPECT_EQ(label->Width(), 142);
    EXPECT_EQ(label->Height(), 33);
}

TEST_F(TextObjectTest, FittingGrowsToTheTextAndNeverShrinks) {
    TGPLabel* label = add<TGPLabel>();
    label->SetBounds(0, 0, 50, 15);
    label->SetCaption("A rather longer caption than fits");
    label->FitToText();
    const int fitted = label->Width();
    EXPECT_GT(fitted, 150);
    label->SetCaption("A");
    label->FitToText();
    EXPECT_EQ(label->Width(), fitted);
}

TEST(CounterTextTest, Formats) {
    EXPECT_EQ(layout::CounterText("No. ", 7, 4, ""), "No. 0007");
    EXPECT_EQ(layout::CounterText("", -7, 0, " left"), "-7 left");
    EXPECT_EQ(layout::CounterText("", -7, 3, ""), "-007");
    EXPECT_EQ(layout::CounterText("#", 12345, 3, ""), "#12345");
    EXPECT_EQ(layout::CounterText("", 1, 1000000, "").size(), 32);  // a damaged file's setting is bounded
}

TEST_F(TextObjectTest, ACounterRepeatsEachNumberThenCountsOn) {
    TGCounterLabel* counter = add<TGCounterLabel>();
    counter->TextBefore = "No. ";
    counter->LeadingZeros = 4;
    counter->RepeatEach = 3;
    counter->SetStartingnumber(7);
    QStringList printed;
    for (int label = 0; label < 7; ++label) {
        counter->ComposeText();
        printed << counter->Caption();
        panel_.AdvanceCounters();
    }
    EXPECT_EQ(printed, QStringList({"No. 0007", "No. 0007", "No. 0007", "No. 0008", "No. 0008", "No. 0008",
                                    "No. 0009"}));
    panel_.ResetCounters();
    EXPECT_EQ(counter->Caption(), "No. 0007");
    counter->SetStartingnumber(7);  // unchanged: no reset
    panel_.AdvanceCounters();
    panel_.AdvanceCounters();
    panel_.AdvanceCounters();
    EXPECT_EQ(counter->Value(), 8);
    counter->SetStartingnumber(1000);
    EXPECT_EQ(counter->Value(), 1000);
}

TEST(DateTimeTextTest, ATimeWithoutADateStartsWithASpace) {
    const QDateTime at(QDate(2024, 3, 9), QTime(14, 5, 30));
    const QLocale c(QLocale::C);
    EXPECT_EQ(layout::DateTimeText(at, dtfDateNone, dtfTimeShort, c),
              " " + c.toString(at.time(), QLocale::ShortFormat));
    EXPECT_EQ(layout::DateTimeText(at, dtfDateShort, dtfTimeNone, c),
              c.toString(at.date(), QLocale::ShortFormat));
    EXPECT_EQ(layout::DateTimeText(at, dtfDateLong, dtfTimeLong, c),
              c.toString(at.date(), QLocale::LongFormat) + " " + c.toString(at.time(), QLocale::LongFormat));
    EXPECT_EQ(layout::DateTimeText(at, dtfDateNone, dtfTimeNone, c), "");
}

TEST_F(TextObjectTest, ADataFieldBindsByItsDisplayLabel) {
    FakeDataSet data;
    data.add("CITY", "Dover", "City").add("STATE", "   ", "State").add("CITY2", "Camden", "City");
    panel_.SetDataSet(&data);
    TGPDLabel* field = add<TGPDLabel>();
    struct Case {
        QString descript;
        bool values, printing;
        QString caption;
    } cases[] = {
        {"City", true, false, "Camden"},  // the last field with that label
        {"State", true, false, "<blank field>"},
        {"State", true, true, ""},
        {"City", false, false, "[City]"},
        {"City", false, true, "Camden"},  // printing shows values whatever the panel shows
        {"Zip", true, false, "<undefined field>"},
        {"", true, false, "<undefined field>"},
    };
    for (const Case& c : cases) {
        field->SetCaption("before");
        field->DataFieldDescript = c.descript;
        panel_.Printing = c.printing;
        panel_.SetDisplayDataValues(c.values);
        EXPECT_EQ(field->Caption(), c.caption) << c.descript.toStdString() << " " << c.values << c.printing;
    }
    // An unmatched field keeps its text while printing.
    field->SetCaption("Camden");
    panel_.Printing = true;
    field->DataFieldDescript = "Zip";
    panel_.RefreshData();
    EXPECT_EQ(field->Caption(), "Camden");
    // A closed data set leaves the objects as they are.
    panel_.Printing = false;
    data.active = false;
    panel_.RefreshData();
    EXPECT_EQ(field->Caption(), "Camden");
}

TEST_F(TextObjectTest, ThePageNumberShowsHashesAndPrintsThePage) {
    TGPageNumberLabel* number = add<TGPageNumberLabel>(96, 0);
    QImage image(200, 50, QImage::Format_RGB32);
    QPainter painter(&image);
    panel_.SetSize(200, 50);
    panel_.Paint(painter);
    EXPECT_EQ(number->Caption(), "##");
    const Page page = printPage([&](TBaseReport& r) {
        r.newPage();
        panel_.PrintObjects(r, 0.5, 0.25);
    });
    ASSERT_EQ(page.ops.size(), 1u);
    EXPECT_EQ(page.ops[0].text, "2");
}

TEST_F(TextObjectTest, TextPrintsInItsFontClippedALittleBeyondItsRectangle) {
    TGPLabel* label = add<TGPLabel>(96, 48);
    label->SetCaption("Hello");
    LayoutFont font = LayoutFont::Make("Arial", 12);
    font.set(fsBold, true);
    font.set(fsStrikeOut, true);
    font.Color = clRed;
    label->SetFont(font);
    label->SetDepthShadow(2);
    label->SetColorShadow(clSilver);
    label->SetTransparent(false);
    label->SetBackColor(clYellow);
    const Page page = printPage([&](TBaseReport& r) { panel_.PrintObjects(r, 1, 2); });
    ASSERT_EQ(page.ops.size(), 3u);  // background, shadow, text
    EXPECT_EQ(page.ops[0].kind, DrawOp::Kind::Rect);
    EXPECT_EQ(page.ops[0].brush.color, QColor(Qt::yellow));
    EXPECT_DOUBLE_EQ(page.ops[0].rect.left(), 2.0);
    EXPECT_DOUBLE_EQ(page.ops[0].rect.top(), 2.5);
    const DrawOp& shadow = page.ops[1];
    const DrawOp& text = page.ops[2];
    EXPECT_EQ(shadow.color, QColor(192, 192, 192));
    EXPECT_EQ(text.color, QColor(Qt::red));
    EXPECT_EQ(text.text, "Hello");
    EXPECT_EQ(text.font.pointSizeF(), 12);
    EXPECT_TRUE(text.font.bold());
    EXPECT_FALSE(text.font.strikeOut());
    // The clip reaches 0.03 inch left of and above the text rectangle.
    const layout::SingleLineLayout& l = label->TextLayout();
    EXPECT_NEAR(text.rect.left(), 2.0 + l.main.left / 96.0 - 0.03, 1e-9);
    EXPECT_NEAR(text.rect.top(), 2.5 + l.main.top / 96.0 - 0.03, 1e-9);
    EXPECT_NEAR(shadow.rect.left() - text.rect.left(), 2 / 96.0, 1e-9);
}

TEST(TextWrapTest, BreaksAtSpacesAndInsideWordsTooLongForALine) {
    const auto width = [](const QString& s) { return int(s.size()) * 10; };  // 10 pixels a character
    EXPECT_EQ(layout::WrapLines({"the quick brown fox"}, 100, width),
              QStringList({"the quick", "brown fox"}));
    EXPECT_EQ(layout::WrapLines({"abcdefghijklmnop xy"}, 50, width),
              QStringList({"abcde", "fghij", "klmno", "p xy"}));
    EXPECT_EQ(layout::WrapLines({"one", "", "two  three"}, 50, width),
              QStringList({"one", "", "two", "three"}));
    EXPECT_EQ(layout::SplitLines("a\r\nb\nc\rd"), QStringList({"a", "b", "c", "d"}));
}

TEST_F(TextObjectTest, MultiLineTextShowsPlaceholdersOnlyOnScreen) {
    TGMultiLineLabel* text = add<TGMultiLineLabel>();
    FakeDataSet data;
    data.add("MEMO", "", "MEMO", true);
    panel_.SetDataSet(&data);
    TGDMultiLineLabel* memo = add<TGDMultiLineLabel>(0, 50);
    memo->DataFieldDescript = "MEMO";
    panel_.RefreshData();
    panel_.SetSize(300, 120);
    QImage image(300, 120, QImage::Format_RGB32);
    image.fill(Qt::white);
    QPainter painter(&image);
    panel_.Paint(painter);
    painter.end();
    // Something was painted in both objects: "<blank>" and "<blank memo>".
    auto inked = [&](int top) {
        for (int y = top; y < top + 20; ++y)
            for (int x = 0; x < 100; ++x)
                if (image.pixelColor(x, y) != Qt::white) return true;
        return false;
    };
    EXPECT_TRUE(inked(0));
    EXPECT_TRUE(inked(50));
    EXPECT_TRUE(text->Items().isEmpty());
    EXPECT_TRUE(memo->Items().isEmpty());
    const Page page = printPage([&](TBaseReport& r) { panel_.PrintObjects(r, 0, 0); });
    EXPECT_TRUE(page.ops.empty());
}

TEST_F(TextObjectTest, MultiLineTextPrintsLineByLineWithinItsRectangle) {
    TGMultiLineLabel* text = add<TGMultiLineLabel>(96, 96);
    text->SetItems({"one", "two", "three", "four"});
    text->SetBounds(96, 96, 190, 40);  // room for two and a half lines
    text->SetAlignment(taRightJustify);
    const Page page = printPage([&](TBaseReport& r) { panel_.PrintObjects(r, 0, 0); });
    ASSERT_EQ(page.ops.size(), 3u);
    const double right = (96 + 190) / 96.0;
    for (const DrawOp& op : page.ops) {
        EXPECT_DOUBLE_EQ(op.rect.left(), 1.0);
        EXPECT_NEAR(op.rect.right(), right, 1e-9);
        EXPECT_NEAR(op.rect.bottom(), (96 + 40) / 96.0, 1e-9);
        EXPECT_GT(op.p1.x(), 1.0);
        EXPECT_LT(op.p1.x(), right);
    }
    EXPECT_EQ(page.ops[2].text, "three");
    EXPECT_GT(page.ops[1].p1.y(), page.ops[0].p1.y());
}

TEST_F(TextObjectTest, AMemoIsBrokenIntoTheObjectsLines) {
    FakeDataSet data;
    data.add("MEMO", "first line\r\nsecond line that is rather long for so narrow an object", "MEMO", true);
    panel_.SetDataSet(&data);
    TGDMultiLineLabel* memo = add<TGDMultiLineLabel>();
    memo->DataFieldDescript = "MEMO";
    memo->SetBounds(0, 0, 120, 100);
    panel_.RefreshData();
    EXPECT_EQ(memo->Items().size(), 2);
    memo->SetWordWrap(true);
    EXPECT_GT(memo->Items().size(), 3);
    EXPECT_EQ(memo->Items(), memo->WrappedLines());
    memo->DataFieldDescript = "Note";
    panel_.RefreshData();
    EXPECT_EQ(memo->Items(), QStringList{"<undefined memo>"});
    memo->DataFieldDescript = "MEMO";
    panel_.SetDisplayDataValues(false);
    EXPECT_EQ(memo->Items(), QStringList{"[MEMO]"});
}

TEST_F(TextObjectTest, ASymbolSizesItselfToItsCharacter) {
    TGSymbolLabel* symbol = add<TGSymbolLabel>();
    symbol->SetBounds(0, 0, 300, 300);
    EXPECT_LT(symbol->Width(), 60);
    EXPECT_LT(symbol->Height(), 60);
    EXPECT_GT(symbol->Height(), 24);
}

}  // namespace
