// The address block on paper as in the designer: a dropped block has room for every
// line its parts can give, a record whose lines do not all fit is told, a line the
// designer shows whole prints whole, and nothing of a label inks beyond its edge.

#include <gtest/gtest.h>

#include <QFontMetrics>
#include <QImage>
#include <QPainter>
#include <cmath>

#include "AddressBlock.h"
#include "LayoutFile.h"
#include "LayoutTestSupport.h"
#include "PagePainter.h"
#include "TGDMultiLineAddressLabel.h"
#include "TGDataPanel.h"
#include "TGLabelShapes.h"
#include "TGOwner.h"
#include "TGPLabel.h"

namespace {

using layout::AddressOptions;

TEST(AddressLinesTest, MostLinesCountsEachSwitchedOnPartOnce) {
    AddressOptions fullPhone;
    fullPhone.usePhone = true;
    AddressOptions nameAndCity;
    nameAndCity.useTitle = nameAndCity.useCompany = nameAndCity.useStreet2 = nameAndCity.useCountry = false;
    AddressOptions zipAlone = nameAndCity;  // no city: the ZIP code on a line of its own
    zipAlone.useCityState = false;
    AddressOptions zipAfterCountry = nameAndCity;  // no country: the ZIP code alone after the city
    zipAfterCountry.zipOptions = zoAfterCountry;
    AddressOptions nothing = zipAlone;
    nothing.useName = nothing.useStreet = nothing.useZip = false;
    const struct {
        const char* what;
        AddressOptions options;
        int lines;
    } cases[] = {
        {"default", AddressOptions(), 7},
        {"with phone", fullPhone, 8},
        {"name, street, city", nameAndCity, 3},
        {"ZIP alone", zipAlone, 3},
        {"ZIP after no country", zipAfterCountry, 4},
        {"nothing", nothing, 0},
    };
    for (const auto& c : cases) EXPECT_EQ(layout::MostAddressLines(c.options), c.lines) << c.what;
}

// A record of every address field, filled as a four-line mailing address, or a
// six-line one with a title and a second street line.
FakeDataSet person(bool sixLines) {
    FakeDataSet data = addressRecord();
    data.set("FNAME", "Ann");
    data.set("LNAME", "Lee");
    data.set("ORG", "Acme Ltd");
    data.set("STREET", "12 Elm St");
    data.set("CITY", "Dover");
    data.set("STATE", "DE");
    data.set("ZIP", "19901-1234");
    if (sixLines) {
        data.set("TITLE", "Director of Sales");
        data.set("STREET2", "Suite 400");
    }
    return data;
}

// The texts a page draws, in order.
QStringList texts(const Page& page) {
    QStringList list;
    for (const DrawOp& op : page.ops)
        if (op.kind == DrawOp::Kind::Text) list << op.text;
    return list;
}

// The part of `page` from (left, top) inches, `width` by `height` inches, drawn on
// white at `dpi` dots per inch.
QImage render(const Page& page, double dpi, QRectF part = QRectF(0, 0, 8.5, 11)) {
    DeviceMetrics m;
    m.dpiX = m.dpiY = dpi;
    m.offsetLeft = part.left();
    m.offsetTop = part.top();
    QImage image(int(part.width() * dpi), int(part.height() * dpi), QImage::Format_RGB32);
    // Fonts at the page's resolution, as a printer has them.
    image.setDotsPerMeterX(int(std::lround(dpi / 0.0254)));
    image.setDotsPerMeterY(int(std::lround(dpi / 0.0254)));
    image.fill(Qt::white);
    QPainter painter(&image);
    PagePainter(painter, m).play(page);
    return image;
}

int ink(const QImage& image) {
    int n = 0;
    for (int y = 0; y < image.height(); ++y)
        for (int x = 0; x < image.width(); ++x) n += qGray(image.pixel(x, y)) < 128;
    return n;
}

class AddressFitTest : public ::testing::Test {
  protected:
    void SetUp() override {
        layout_.BindForPrinting(&data_);
        layout_.Read(QByteArray("\x01\x00", 2), layout::LayoutKind::Envelope);
    }
    template <typename T>
    T* add(int left, int top, int width, int height) {
        auto o = std::make_unique<T>();
        o->SetOwner(&owner_);
        T* added = static_cast<T*>(layout_.Panel(0).InsertObject(std::move(o)));
        added->SetBounds(left, top, width, height);
        return added;
    }
    // Prints the current record at (1, 1) inches; whether every address printed whole.
    bool print(Page* page) {
        bool whole = false;
        *page = printPage([&](TBaseReport& r) { whole = layout_.PrintRecord(r, 1, 1); });
        return whole;
    }

    TGOwner owner_;
    FakeDataSet data_ = person(false);
    layout::LayoutFile layout_{&owner_};
};

TEST_F(AddressFitTest, ABlockDroppedOnAFourLineRecordPrintsASixLineAddressWhole) {
    auto* block = add<TGDMultiLineAddressLabel>(20, 20, 50, 15);
    layout_.Panel(0).RefreshData();
    ASSERT_EQ(block->Lines().size(), 4);  // name, organisation, street, city line
    block->FitToText();
    const int lineHeight = QFontMetrics(block->Font().ToQFont()).height();
    EXPECT_EQ(block->Height(), 7 * lineHeight);  // name, title, organisation, two streets, city, country

    data_ = person(true);
    Page page;
    EXPECT_TRUE(print(&page));
    EXPECT_EQ(texts(page), QStringList({"Ann Lee ", "Director of Sales", "Acme Ltd", "12 Elm St", "Suite 400",
                                        "Dover  DE 19901-1234"}));

    // Fitted to the four lines alone, the city line of that record is lost, and told.
    block->SetBounds(20, 20, block->Width(), 4 * lineHeight);
    EXPECT_FALSE(print(&page));
    EXPECT_FALSE(texts(page).contains("Dover  DE 19901-1234"));
    data_ = person(false);
    EXPECT_TRUE(print(&page));
}

TEST_F(AddressFitTest, ALineTheDesignerShowsWholePrintsWholeAndOneItCutsIsTold) {
    auto* block = add<TGDMultiLineAddressLabel>(20, 20, 50, 15);
    layout_.Panel(0).RefreshData();
    block->FitToText();
    // Narrowed until the city line just fits, as the designer measures it.
    const QString city = "Dover  DE 19901-1234";
    const int shown = QFontMetrics(block->Font().ToQFont()).horizontalAdvance(city);
    block->SetBounds(20, 20, shown, block->Height());
    Page page;
    EXPECT_TRUE(print(&page));
    // No ink is lost to the clip: the page looks the same with every clip taken away.
    Page unclipped = page;
    for (DrawOp& op : unclipped.ops) op.rect = op.area = QRectF();
    // At the resolution the page was measured for, as a printer draws it.
    const QRectF around(1.1, 1.1, 2.0, 1.2);
    const QImage printed = render(page, 600, around);
    EXPECT_GT(ink(printed), 1000);
    EXPECT_TRUE(printed == render(unclipped, 600, around));
    // Every text op is in Arial at the 13 pixels the designer shows (9.75 points).
    for (const DrawOp& op : page.ops) EXPECT_DOUBLE_EQ(op.font.pointSizeF(), 9.75);

    // Narrower than the designer shows the line whole: cut on paper too, and told.
    block->SetBounds(20, 20, shown - 12, block->Height());
    EXPECT_FALSE(print(&page));
}

TEST_F(AddressFitTest, NothingOfARecordInksBeyondItsPrintArea) {
    // A text running past the right edge, a shape past the bottom, an address block
    // reaching out of the left and top.
    auto* text = add<TGPLabel>(150, 10, 200, 20);
    text->SetCaption("A caption far too long for this label");
    add<TGLabelShapes>(40, 70, 80, 80);
    auto* block = add<TGDMultiLineAddressLabel>(-10, -5, 300, 100);
    data_ = person(true);
    layout_.SetPrintArea(2.5, 1.0);
    Page page;
    EXPECT_FALSE(print(&page));  // the block's first line is cut at the top and left
    EXPECT_FALSE(block->PrintedWhole());
    const QImage image = render(page, 100);
    const QRect area(100, 100, 250, 100);  // (1, 1) to (3.5, 2) inches at 100 dpi
    int inside = 0, outside = 0;
    for (int y = 0; y < image.height(); ++y) {
        for (int x = 0; x < image.width(); ++x) {
            if (qGray(image.pixel(x, y)) > 200) continue;
            // One pixel of slack for anti-aliasing on the edge.
            (area.adjusted(-1, -1, 1, 1).contains(x, y) ? inside : outside) += 1;
        }
    }
    EXPECT_GT(inside, 0);
    EXPECT_EQ(outside, 0);

    // Without a print area (a report's bands) nothing is clipped.
    layout_.SetPrintArea(0, 0);
    print(&page);
    for (const DrawOp& op : page.ops) EXPECT_TRUE(op.area.isNull());
}

}  // namespace
