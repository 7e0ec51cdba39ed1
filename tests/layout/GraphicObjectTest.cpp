// Address blocks, barcodes, lines, shapes and images, and printing a layout for the
// records of an address file.

#include <gtest/gtest.h>

#include <QBuffer>
#include <QImage>
#include <QPainter>

#include "AddressBlock.h"
#include "AddressFile.h"
#include "FieldLengths.h"
#include "FimPattern.h"
#include "LayoutMetrics.h"
#include "LayoutTestSupport.h"
#include "PostNet.h"
#include "PostNetPattern.h"
#include "TAddressDataSet.h"
#include "TEnvelopePanel.h"
#include "TGCounterLabel.h"
#include "TGDMultiLineAddressLabel.h"
#include "TGFIMBarCode.h"
#include "TGImage.h"
#include "TGLabelPanel.h"
#include "TGLabelShapes.h"
#include "TGLineShape.h"
#include "TGOwner.h"
#include "TGPostNetBarCode.h"
#include "Table.h"
#include "TempDir.h"

namespace postnet = layout::postnet;

namespace {

// ---- address blocks ----

struct Record {
    QString prefix, first, middle, last, title, org, street, street2, city, state, zip, country, phone;
};

QStringList compose(const Record& r, const layout::AddressOptions& o, const QString& missing = QString()) {
    const std::map<QString, QString> values = {
        {"PREFIX", r.prefix}, {"FNAME", r.first}, {"MIDDLE", r.middle}, {"LNAME", r.last},
        {"TITLE", r.title},   {"ORG", r.org},     {"STREET", r.street}, {"STREET2", r.street2},
        {"CITY", r.city},     {"STATE", r.state}, {"ZIP", r.zip},       {"COUNTRY", r.country},
        {"PHONE", r.phone}};
    return layout::ComposeAddress(o, [&](const char* name) -> std::optional<QString> {
        if (missing == name) return std::nullopt;
        return values.at(name);
    });
}

const Record kDover = {"Dr.", "Ann",   "B",  "Lee",   "", "Acme Ltd", "12 Elm St",
                       "",    "Dover", "DE", "19901", "", "555-0100"};

TEST(AddressBlockTest, Compositions) {
    auto with = [](auto change) {
        layout::AddressOptions o;
        change(o);
        return o;
    };
    Record onlyLast;
    onlyLast.last = "Lee";
    Record spaceMiddle = kDover;
    spaceMiddle.middle = " ";
    Record usa = kDover;
    usa.country = "USA";
    struct Case {
        const char* what;
        Record record;
        layout::AddressOptions options;
        QStringList lines;
    } cases[] = {
        {"the example", kDover, {}, {"Dr. Ann B. Lee ", "Acme Ltd", "12 Elm St", "Dover  DE 19901"}},
        {"only a last name", onlyLast, {}, {"Lee "}},
        {"a middle of one space",
         spaceMiddle,
         {},
         {"Dr. Ann Lee ", "Acme Ltd", "12 Elm St", "Dover  DE 19901"}},
        {"upper case",
         kDover,
         with([](auto& o) { o.upperCase = true; }),
         {"DR. ANN B. LEE ", "ACME LTD", "12 ELM ST", "DOVER  DE 19901"}},
        {"ZIP without city",
         kDover,
         with([](auto& o) { o.useCityState = false; }),
         {"Dr. Ann B. Lee ", "Acme Ltd", "12 Elm St", "19901"}},
        {"ZIP before city",
         kDover,
         with([](auto& o) { o.zipOptions = zoBeforeCity; }),
         {"Dr. Ann B. Lee ", "Acme Ltd", "12 Elm St", "19901 Dover DE "}},
        {"ZIP after country, no country",
         usa,
         with([](auto& o) {
             o.zipOptions = zoAfterCountry;
             o.useCountry = false;
         }),
         {"Dr. Ann B. Lee ", "Acme Ltd", "12 Elm St", "Dover DE", "19901"}},
        {"ZIP after country",
         usa,
         with([](auto& o) { o.zipOptions = zoAfterCountry; }),
         {"Dr. Ann B. Lee ", "Acme Ltd", "12 Elm St", "Dover DE", "USA 19901"}},
        {"ZIP before country",
         usa,
         with([](auto& o) { o.zipOptions = zoBeforeCountry; }),
         {"Dr. Ann B. Lee ", "Acme Ltd", "12 Elm St", "Dover DE", "19901 USA"}},
        {"no ZIP at all",
         usa,
         with([](auto& o) { o.useZip = false; }),
         {"Dr. Ann B. Lee ", "Acme Ltd", "12 Elm St", "Dover DE", "USA"}},
        {"phone, no name",
         kDover,
         with([](auto& o) {
             o.usePhone = true;
             o.useName = false;
         }),
         {"Acme Ltd", "12 Elm St", "Dover  DE 19901", "555-0100"}},
    };
    for (const Case& c : cases) EXPECT_EQ(compose(c.record, c.options), c.lines) << c.what;
}

TEST(AddressBlockTest, AMissingFieldEndsTheBlockQuietly) {
    EXPECT_EQ(compose(kDover, {}, "STREET"), QStringList({"Dr. Ann B. Lee ", "Acme Ltd"}));
    EXPECT_EQ(compose(kDover, {}, "PREFIX"), QStringList());
    // CITY is read even when the city line is off.
    layout::AddressOptions noCity;
    noCity.useCityState = false;
    noCity.useZip = false;
    EXPECT_EQ(compose(kDover, noCity, "CITY"), QStringList({"Dr. Ann B. Lee ", "Acme Ltd", "12 Elm St"}));
}

// ---- POSTNET ----

TEST(PostNetTest, DeliveryPoints) {
    struct Case {
        const char* street;
        const char* point;
    } cases[] = {
        {"123 MAIN ST", "23"},        {"12 1/2 ELM", "12"},
        {"4 5TH AVE", "04"},          {"PO BOX 7", "07"},
        {"PSC 1 BOX 2 APO AE", "99"}, {"RR 2 BOX 15A", "15"},
        {"221B BAKER", "21"},         {"APOLLO WAY 5", "99"},
        {"100 MAIN ST", "00"},        {"", "99"},
        {"MAIN STREET", "99"},        {"7 fpo road", "99"},
    };
    for (const Case& c : cases) EXPECT_EQ(postnet::DeliveryPoint(c.street), c.point) << c.street;
}

TEST(PostNetTest, DigitsAndCheckDigits) {
    struct Case {
        const char* zip;
        const char* street;
        TPostNetBarCodeType type;
        const char* digits;
        int check;
    } cases[] = {
        {"12345-6789", "100 MAIN ST", pnbc11Digit, "12345678900", 5},
        {"12345", "", pnbc5Digit, "12345", 5},
        {"12345-6789", "", pnbc5Digit, "12345", 5},
        {"12345", "", pnbc9Digit, "12345", 5},  // the count is not tested
        {"12345", "4 5TH AVE", pnbc11Digit, "1234504", 1},
        {"55555-5555", "", pnbc9Digit, "555555555", 5},
        {"00000", "", pnbc5Digit, "00000", 0},
    };
    for (const Case& c : cases) {
        const QString digits = postnet::Digits(c.zip, c.street, c.type);
        EXPECT_EQ(digits, c.digits) << c.zip;
        EXPECT_EQ(postnet::CheckDigit(digits), c.check) << c.zip;
    }
}

TEST(PostNetTest, OnlyUsZipCodesPrint) {
    for (const char* zip : {"12345", "00000", "99999-9999", "12345-6789", "99999"})
        EXPECT_TRUE(postnet::IsPrintableZip(zip)) << zip;
    for (const char* zip : {"1234", "", "A1234", " 1234", "K1A 0B1", "99999-99999"})
        EXPECT_FALSE(postnet::IsPrintableZip(zip)) << zip;
}

class ObjectTest : public ::testing::Test {
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

// The bars of a page: (left, top, width, height) of each filled rectangle.
std::vector<QRectF> barsOf(const Page& page) {
    std::vector<QRectF> bars;
    for (const DrawOp& op : page.ops)
        if (op.kind == DrawOp::Kind::Rect && op.brush.style == Qt::SolidPattern) bars.push_back(op.rect);
    return bars;
}

TEST_F(ObjectTest, APostNetBarcodePrintsItsBarsFromTheRecord) {
    FakeDataSet data = addressRecord();
    data.set("ZIP", "12345-6789");
    data.set("STREET", "100 MAIN ST");
    panel_.SetDataSet(&data);
    auto* code = add<TGPostNetBarCode>(48, 24);
    code->ZipCodeField = "ZIP";
    code->AddressField = "STREET";
    panel_.RefreshData();
    EXPECT_EQ(code->PrintedDigits(), "123456789005");

    const Page page = printPage([&](TBaseReport& r) { panel_.PrintObjects(r, 0.25, 1.0); });
    const std::vector<QRectF> bars = barsOf(page);
    ASSERT_EQ(bars.size(), 62u);
    QString pattern;
    for (size_t i = 0; i < bars.size(); ++i) {
        const QRectF& b = bars[i];
        EXPECT_NEAR(b.left(), 0.25 + 0.5 + i * 0.046, 1e-9) << i;
        EXPECT_NEAR(b.width(), 0.015, 1e-9);
        EXPECT_NEAR(b.bottom(), 1.25 + 0.125, 1e-9);  // one baseline
        const bool full = std::abs(b.height() - 0.125) < 1e-9;
        EXPECT_TRUE(full || std::abs(b.height() - 0.055) < 1e-9) << i;
        pattern += full ? '1' : '0';
    }
    EXPECT_EQ(pattern, kPostNetPattern12345678900);
    EXPECT_NEAR(bars.back().right() - bars.front().left(), 2.821, 1e-9);
    EXPECT_EQ(page.ops.front().pen.color, QColor(Qt::black));
}

TEST_F(ObjectTest, APostNetBarcodeWithoutAUsZipPrintsNothing) {
    FakeDataSet data = addressRecord();
    panel_.SetDataSet(&data);
    auto* code = add<TGPostNetBarCode>();
    code->ZipCodeField = "ZIP";
    code->AddressField = "NOSUCHFIELD";  // a missing field is an empty text
    for (const char* zip : {"1234", "K1A 0B1", ""}) {
        data.set("ZIP", zip);
        panel_.RefreshData();
        EXPECT_TRUE(printPage([&](TBaseReport& r) { panel_.PrintObjects(r, 0, 0); }).ops.empty()) << zip;
    }
    data.set("ZIP", "12345");
    code->BarCodeType = pnbc5Digit;
    panel_.RefreshData();
    const std::vector<QRectF> bars = barsOf(printPage([&](TBaseReport& r) { panel_.PrintObjects(r, 0, 0); }));
    ASSERT_EQ(bars.size(), 32u);
    EXPECT_NEAR(bars.back().right() - bars.front().left(), 1.441, 1e-9);
}

TEST_F(ObjectTest, ThePostNetPictureKeepsItsSizeOnScreen) {
    auto* code = add<TGPostNetBarCode>();
    code->SetBounds(0, 0, 50, 50);
    QImage image(400, 100, QImage::Format_RGB32);
    QPainter painter(&image);
    panel_.SetSize(400, 100);
    panel_.Paint(painter);
    EXPECT_EQ(QSize(code->Width(), code->Height()), QSize(270, 16));
    panel_.SetZoom(1.5f);
    panel_.Paint(painter);
    EXPECT_EQ(QSize(code->Width(), code->Height()), QSize(405, 24));
}

// ---- FIM ----

TEST(FimTest, BarSlots) {
    EXPECT_EQ(layout::fim::BarSlots(fimTypeA), std::vector<int>({1, 3, 9, 15, 17}));
    EXPECT_EQ(layout::fim::BarSlots(fimTypeB), std::vector<int>({1, 5, 7, 11, 13, 17}));
    EXPECT_EQ(layout::fim::BarSlots(fimTypeC), std::vector<int>({1, 3, 7, 11, 15, 17}));
}

TEST_F(ObjectTest, AFimMarkPrintsItsBarsInSlotsOfA32ndInch) {
    auto* mark = add<TGFIMBarCode>(96, 0);
    mark->SetFIMType(fimTypeB);
    const std::vector<QRectF> bars =
        barsOf(printPage([&](TBaseReport& r) { panel_.PrintObjects(r, 1, 0.5); }));
    ASSERT_EQ(bars.size(), 6u);
    const int slotOf[] = {1, 5, 7, 11, 13, 17};
    for (size_t i = 0; i < bars.size(); ++i) {
        EXPECT_NEAR(bars[i].left(), 2 + (slotOf[i] - 1) / 32.0, 1e-9);
        EXPECT_NEAR(bars[i].width(), 1 / 32.0, 1e-9);
        EXPECT_NEAR(bars[i].top(), 0.5, 1e-9);
        EXPECT_NEAR(bars[i].height(), 0.5625, 1e-9);
    }
}

TEST_F(ObjectTest, AFimMarkAt150PercentIsSquareWithBarsOf4Pixels) {
    auto* mark = add<TGFIMBarCode>();
    panel_.SetSize(200, 200);
    panel_.SetZoom(1.5f);
    QImage image(300, 300, QImage::Format_RGB32);
    image.fill(Qt::white);
    QPainter painter(&image);
    panel_.Paint(painter);
    painter.end();
    EXPECT_EQ(mark->Width(), 90);
    EXPECT_EQ(mark->Height(), 90);
    // Type A: slot 1 is pixels 0-3, slot 2 is empty, slot 3 is 8-11; 81 pixels high.
    auto black = [&](int x, int y) { return image.pixelColor(x, y) == Qt::black; };
    EXPECT_TRUE(black(0, 0) && black(3, 80));
    EXPECT_FALSE(black(4, 10) || black(7, 10));
    EXPECT_TRUE(black(8, 10) && black(11, 10));
    EXPECT_FALSE(black(0, 81));
}

// ---- lines and shapes ----

TEST_F(ObjectTest, LinesOnScreenStayInsideTheirObject) {
    auto* line = add<TGLineShape>();
    line->SetBounds(0, 0, 200, 10);
    line->SetPen({clBlack, pmCopy, psSolid, 3});
    TGLineShape::ScreenLine s = line->ScreenGeometry();
    EXPECT_EQ(s.from, QPoint(1, 1));
    EXPECT_EQ(s.to, QPoint(199, 1));
    line->SetLineStyle(stVertical);
    line->SetBounds(0, 0, 10, 100);
    s = line->ScreenGeometry();
    EXPECT_EQ(s.to, QPoint(1, 99));
    panel_.SetSize(300, 240);
    line->StretchToEdges();
    EXPECT_EQ(line->Top(), 0);
    EXPECT_EQ(line->Height(), 240);
}

TEST_F(ObjectTest, PenWidthsOnPaper) {
    auto* line = add<TGLineShape>(0, 0);
    auto* shape = add<TGLabelShapes>(0, 50);
    // A line prints N/100 inch wide; an outline N pixels truncated to hundredths, the
    // same at 96 pixels per inch.
    for (int width : {1, 3, 10}) {
        line->SetPen({clBlack, pmCopy, psSolid, width});
        shape->SetPen({clBlack, pmCopy, psSolid, width});
        const Page page = printPage([&](TBaseReport& r) { panel_.PrintObjects(r, 0, 0); });
        ASSERT_EQ(page.ops.size(), 2u);
        EXPECT_EQ(page.ops[0].kind, DrawOp::Kind::Line);
        EXPECT_NEAR(page.ops[0].pen.width, width / 100.0, 1e-9) << width;
        EXPECT_NEAR(page.ops[1].pen.width, width / 100.0, 1e-9) << width;
    }
    EXPECT_NEAR(TGLabelShapes::PrintedOutline(3, 96), 0.03, 1e-12);
    EXPECT_NEAR(TGLabelShapes::PrintedOutline(3, 120), 0.02, 1e-12);
}

TEST_F(ObjectTest, RoundedCornersFollowTheLargerSide) {
    auto* shape = add<TGLabelShapes>(96, 96);
    shape->SetBounds(96, 96, 100, 40);
    shape->Shape = stRoundRect;
    EXPECT_EQ(shape->ScreenCorner(), 25);
    shape->RoundPerc = 29;
    EXPECT_EQ(shape->ScreenCorner(), 29);
    const Page page = printPage([&](TBaseReport& r) { panel_.PrintObjects(r, 0, 0); });
    ASSERT_EQ(page.ops.size(), 1u);
    EXPECT_EQ(page.ops[0].kind, DrawOp::Kind::RoundRect);
    EXPECT_NEAR(page.ops[0].corner.width(), 0.29 * 100 / 96.0, 1e-9);
}

// ---- images ----

QImage picture(int w, int h) {
    QImage image(w, h, QImage::Format_RGB32);
    image.fill(QColor(200, 20, 20));
    return image;
}

TEST_F(ObjectTest, AutoSizeTakesThePicturesSizeAndTurnsStretchOff) {
    auto* image = add<TGImage>();
    image->SetPicture(LayoutPicture::FromImage(picture(300, 200)));
    EXPECT_TRUE(image->Stretch());
    image->SetAutoSize(true);
    EXPECT_EQ(QSize(image->Width(), image->Height()), QSize(300, 200));
    EXPECT_FALSE(image->Stretch());
    image->SetStretch(true);
    EXPECT_FALSE(image->AutoSize());
}

TEST_F(ObjectTest, AnUnstretchedImagePrintsScaledToItsObject) {
    auto* image = add<TGImage>(48, 48);
    image->SetPicture(LayoutPicture::FromImage(picture(20, 10)));
    image->SetStretch(false);
    image->SetBounds(48, 48, 96, 96);
    QImage screen(200, 200, QImage::Format_RGB32);
    screen.fill(Qt::white);
    QPainter painter(&screen);
    panel_.SetSize(200, 200);
    panel_.Paint(painter);
    painter.end();
    EXPECT_EQ(screen.pixelColor(48 + 19, 48 + 9), QColor(200, 20, 20));  // natural size
    EXPECT_EQ(screen.pixelColor(48 + 30, 48 + 30), QColor(Qt::white));
    const Page page = printPage([&](TBaseReport& r) { panel_.PrintObjects(r, 0, 0); });
    ASSERT_EQ(page.ops.size(), 1u);
    EXPECT_EQ(page.ops[0].kind, DrawOp::Kind::Image);
    EXPECT_EQ(page.ops[0].rect, QRectF(0.5, 0.5, 1, 1));
}

TEST_F(ObjectTest, PicturesLoadedFromOtherFormatsAreStoredAsBitmaps) {
    TempDir dir;
    const QString png = QString::fromStdString(dir.file("red.png"));
    ASSERT_TRUE(picture(4, 3).save(png, "PNG"));
    auto* image = add<TGImage>();
    ASSERT_TRUE(image->LoadFromFile(png));
    EXPECT_EQ(image->Picture().graphicClass(), "TBitmap");
    EXPECT_TRUE(image->Picture().image().startsWith("BM"));
    EXPECT_EQ(image->Picture().size(), QSize(4, 3));
    EXPECT_FALSE(image->LoadFromFile(QString::fromStdString(dir.file("missing.bmp"))));
    EXPECT_TRUE(image->Picture().isEmpty());
}

// ---- the print path over an address file ----

TEST_F(ObjectTest, AnInvisiblePanelPrintsEachRecordAtItsPosition) {
    TempDir dir;
    const QString path = QString::fromStdString(dir.file("ADD0001.DBF"));
    QString message;
    ASSERT_TRUE(AddressFile::CreateAddressFile(path, FieldLengths(), &message)) << message.toStdString();
    std::unique_ptr<xbase::Table> table;
    ASSERT_TRUE(AddressFile::OpenTableFile(path, &table, &message)) << message.toStdString();
    const char* rows[][4] = {{"Lee", "Dover", "DE", "19901"}, {"Ng", "Troy", "NY", "12180-3590"}};
    for (const auto& row : rows) {
        ASSERT_TRUE(table->appendBlank().ok());
        for (int f = 0; f < 4; ++f) {
            const char* field[] = {"LNAME", "CITY", "STATE", "ZIP"};
            ASSERT_TRUE(AddressFile::setText(*table, table->fieldIndex(field[f]), row[f]).ok());
        }
    }
    ASSERT_TRUE(table->commit().ok());
    TAddressDataSet data(table.get());

    auto* address = add<TGDMultiLineAddressLabel>(0, 0);
    address->SetBounds(0, 0, 250, 80);
    auto* counter = add<TGCounterLabel>(0, 90);
    counter->SetStartingnumber(1000);
    panel_.SetDataSet(&data);
    panel_.Printing = true;

    PageStream stream;
    TReportFiler filer;
    filer.setStream(&stream);
    DeviceMetrics m;
    m.dpiX = m.dpiY = 600;
    filer.setDeviceMetrics(m);
    filer.OnPrint = [&](TBaseReport& r) {
        int position = 0;
        for (xbase::Status s = table->goTop(); s.ok() && !table->eof(); s = table->skip()) {
            panel_.RefreshData();
            panel_.PrintObjects(r, 0.25, 0.5 + position * 1.5);
            panel_.AdvanceCounters();
            ++position;
        }
    };
    ASSERT_TRUE(filer.execute());
    ASSERT_EQ(stream.pages.size(), 1u);
    std::vector<std::pair<QString, double>> texts;
    for (const DrawOp& op : stream.pages[0].ops)
        if (op.kind == DrawOp::Kind::Text) texts.push_back({op.text, op.rect.top()});
    ASSERT_EQ(texts.size(), 6u);
    EXPECT_EQ(texts[0].first, "Lee ");
    EXPECT_EQ(texts[1].first, "Dover  DE 19901");
    EXPECT_EQ(texts[2].first, "1000");
    EXPECT_EQ(texts[3].first, "Ng ");
    EXPECT_EQ(texts[4].first, "Troy  NY 12180-3590");
    EXPECT_EQ(texts[5].first, "1001");
    EXPECT_NEAR(texts[3].second - texts[0].second, 1.5, 1e-9);
    EXPECT_NEAR(texts[0].second, 0.5, 1e-9);
}

}  // namespace

namespace {

TEST(EnvelopePanelTest, TheAddressAreaStartsHalfAnInchInOnNarrowEnvelopes) {
    TEnvelopePanel narrow, wide;
    narrow.SetSize(9 * 96, 4 * 96);
    wide.SetSize(12 * 96, 5 * 96);
    EXPECT_EQ(narrow.TemplateZones().addressArea.left(), 48);
    EXPECT_EQ(wide.TemplateZones().addressArea.left(), 12 * 96 - 936);
    // Zones of the 9 × 4 inch envelope: address area above the clear zone, FIM area an
    // inch wide two inches from the right edge.
    const TEnvelopePanel::Zones z = narrow.TemplateZones();
    EXPECT_EQ(z.addressArea, QRect(QPoint(48, 384 - 264), QPoint(864 - 48 - 1, 384 - 60 - 1)));
    EXPECT_EQ(z.barcodeClearZone.top(), 384 - 60);
    EXPECT_EQ(z.fimArea, QRect(QPoint(864 - 288, 1), QPoint(864 - 192 - 1, 60 - 1)));
    EXPECT_EQ(z.returnAddress.bottom(), 384 - 264 - 1);  // 2.75 inches above the bottom, not a third
    narrow.SetZoom(2.0f);
    EXPECT_EQ(narrow.TemplateZones().addressArea.left(), 96);
    // Shown at 100 % on a screen of 144 pixels per inch: half an inch is 72 of its pixels.
    TEnvelopePanel fine;
    fine.SetSize(9 * 96, 4 * 96);
    fine.SetZoom(layout::ScreenZoom(1.0f, 144));
    EXPECT_EQ(fine.Width(), 9 * 144);
    EXPECT_EQ(fine.TemplateZones().addressArea.left(), 72);
}

}  // namespace
