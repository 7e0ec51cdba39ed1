// The Intelligent Mail barcode: its encoding against published examples and against
// libzint's own drawing, the codes it refuses, its bars on the page and in the file.

#include <gtest/gtest.h>
#include <zint.h>

#include <QImage>
#include <QPainter>
#include <algorithm>
#include <cmath>
#include <functional>

#include "IntelligentMail.h"
#include "LayoutFile.h"
#include "LayoutTestSupport.h"
#include "LayoutTextDump.h"
#include "TGIMBarCode.h"
#include "TGLabelPanel.h"
#include "TGOwner.h"
#include "TempDir.h"

namespace imb = layout::imb;

namespace {

// The encoding examples published with the barcode's definition: one tracking code
// without routing and with 5-, 9- and 11-digit routing codes.
TEST(IntelligentMailTest, PublishedExamples) {
    struct Case {
        const char* routing;
        const char* states;
    };
    const Case cases[] = {
        {"", "ATTFATTDTTADTAATTDTDTATTDAFDDFADFDFTFFFFFTATFAAAATDFFTDAADFTFDTDT"},
        {"01234", "DTTAFADDTTFTDTFTFDTDDADADAFADFATDDFTAAAFDTTADFAAATDFDTDFADDDTDFFT"},
        {"012345678", "ADFTTAFDTTTTFATTADTAAATFTFTATDAAAFDDADATATDTDTTDFDTDATADADTDFFTFA"},
        {"01234567891", "AADTFFDFTDADTAADAATFDTDDAAADDTDTTDAFADADDDTFFFDDTTTADFAAADFTDAADA"},
    };
    for (const Case& c : cases) {
        const imb::Encoding e = imb::Encode("01234567094987654321", c.routing);
        EXPECT_TRUE(e.ok()) << e.error.toStdString();
        EXPECT_EQ(e.states.toStdString(), c.states) << c.routing;
    }
}

// The states as libzint draws them itself: its vector output, one rectangle a bar,
// read by where each rectangle starts and ends.
std::string zintDrawnStates(const std::string& input) {
    zint_symbol* symbol = ZBarcode_Create();
    symbol->symbology = BARCODE_USPS_IMAIL;
    std::string states;
    if (ZBarcode_Encode_and_Buffer_Vector(symbol, reinterpret_cast<const unsigned char*>(input.data()),
                                          int(input.size()), 0) < ZINT_ERROR) {
        std::vector<zint_vector_rect*> bars;
        float top = 1e9f, bottom = -1e9f;
        for (zint_vector_rect* r = symbol->vector->rectangles; r; r = r->next) {
            bars.push_back(r);
            top = std::min(top, r->y);
            bottom = std::max(bottom, r->y + r->height);
        }
        std::sort(bars.begin(), bars.end(), [](auto* a, auto* b) { return a->x < b->x; });
        for (const zint_vector_rect* r : bars) {
            const bool up = std::abs(r->y - top) < 0.01f;
            const bool down = std::abs(r->y + r->height - bottom) < 0.01f;
            states += up ? (down ? 'F' : 'A') : (down ? 'D' : 'T');
        }
    }
    ZBarcode_Delete(symbol);
    return states;
}

class IMBarCodeTest : public ::testing::Test {
  protected:
    TGIMBarCode* add(int left = 0, int top = 0) {
        auto o = std::make_unique<TGIMBarCode>();
        o->SetOwner(&owner_);
        o->SetBounds(left, top, o->Width(), o->Height());
        auto* code = static_cast<TGIMBarCode*>(panel_.InsertObject(std::move(o)));
        code->BarcodeIdentifier = "00";
        code->ServiceType = "700";
        code->MailerIdentifier = "123456";
        code->SerialSource = imbsFixed;
        code->SerialNumber = "42";
        return code;
    }
    Page print() {
        return printPage([&](TBaseReport& r) { panel_.PrintObjects(r, 0.5, 1.0); });
    }
    TGOwner owner_;
    TGLabelPanel panel_{&owner_};
    FakeDataSet data_ = addressRecord();
};

TEST_F(IMBarCodeTest, TheObjectEncodesItsRecordAsLibzintDrawsIt) {
    data_.add("USER1", QString());
    panel_.SetDataSet(&data_);
    auto* code = add();
    struct Case {
        const char* mailer;
        TIMBarCodeSerial source;
        const char* serialOrField;  // the fixed serial, or USER1's value
        TIMBarCodeRouting routing;
        const char* zip;
        const char* street;
        const char* tracking;
        const char* routingCode;
    };
    const Case cases[] = {
        {"123456", imbsFixed, "42", imbrNone, "12345-6789", "100 MAIN ST", "00700123456000000042", ""},
        {"123456", imbsFixed, "987654321", imbr5Digit, "12345-6789", "100 MAIN ST", "00700123456987654321",
         "12345"},
        {"912345678", imbsField, "7", imbr9Digit, "12345-6789", "", "00700912345678000007", "123456789"},
        {"912345678", imbsField, " 123456 ", imbr11Digit, "123456789", "4 5TH AVE", "00700912345678123456",
         "12345678904"},
        {"123456", imbsFixed, "1", imbr11Digit, "12345-6789", "PSC 1 BOX 2 APO AE", "00700123456000000001",
         "12345678999"},
        // A ZIP without its +4 has no delivery point: the 5-digit routing code.
        {"123456", imbsFixed, "1", imbr11Digit, " 12345 ", "100 MAIN ST", "00700123456000000001", "12345"},
        {"123456", imbsFixed, "1", imbr9Digit, "12345", "", "00700123456000000001", "12345"},
    };
    for (const Case& c : cases) {
        code->MailerIdentifier = c.mailer;
        code->SerialSource = c.source;
        code->SerialNumber = c.serialOrField;
        code->SerialField = "USER1";
        code->RoutingType = c.routing;
        data_.set("USER1", c.serialOrField);
        data_.set("ZIP", c.zip);
        data_.set("STREET", c.street);
        panel_.RefreshData();
        QString error;
        EXPECT_EQ(code->TrackingCode(&error).toStdString(), c.tracking) << error.toStdString();
        EXPECT_EQ(code->RoutingCode(&error).toStdString(), c.routingCode) << error.toStdString();
        std::string input = c.tracking;
        if (*c.routingCode) input += std::string("-") + c.routingCode;
        const imb::Encoding e = code->CurrentEncoding();
        ASSERT_TRUE(e.ok()) << e.error.toStdString();
        EXPECT_EQ(e.states.toStdString(), zintDrawnStates(input)) << input;
        EXPECT_EQ(code->DesignerWarning(), QString()) << input;
    }
}

TEST_F(IMBarCodeTest, AnInvalidCodePrintsNothingAndSaysWhy) {
    panel_.SetDataSet(&data_);
    data_.set("ZIP", "12345-6789");
    struct Case {
        std::function<void(TGIMBarCode&)> change;
        const char* reason;
    };
    const Case cases[] = {
        {[](TGIMBarCode& c) { c.BarcodeIdentifier = "0"; }, "barcode identifier \"0\" is not 2 digits"},
        {[](TGIMBarCode& c) { c.BarcodeIdentifier = "05"; }, "second digit above 4"},
        {[](TGIMBarCode& c) { c.ServiceType = "70"; }, "service type \"70\" is not 3 digits"},
        {[](TGIMBarCode& c) { c.ServiceType = "7O0"; }, "service type"},
        {[](TGIMBarCode& c) { c.MailerIdentifier = "12345"; }, "mailer identifier \"12345\""},
        // The length of a mailer identifier is told by its first digit.
        {[](TGIMBarCode& c) { c.MailerIdentifier = "912345"; }, "mailer identifier"},
        {[](TGIMBarCode& c) { c.MailerIdentifier = "123456789"; }, "mailer identifier"},
        {[](TGIMBarCode& c) { c.SerialNumber = "1234567890"; }, "serial number \"1234567890\" is not 1 to 9"},
        {[](TGIMBarCode& c) {
             c.MailerIdentifier = "912345678";
             c.SerialNumber = "1234567";
         },
         "is not 1 to 6 digits"},
        {[](TGIMBarCode& c) { c.SerialNumber = ""; }, "serial number"},
        {[](TGIMBarCode& c) {
             c.SerialSource = imbsField;
             c.SerialField = "NOSUCHFIELD";
         },
         "serial number"},
        {[](TGIMBarCode& c) {
             c.SerialSource = imbsCounter;
             c.SetStartingnumber(-3);
         },
         "serial number \"-3\""},
        {[](TGIMBarCode& c) { c.ZipCodeField = "CITY"; }, "ZIP code \"\" is not a US ZIP code"},
        {[&](TGIMBarCode&) { data_.set("ZIP", "1234"); }, "ZIP code \"1234\""},
        {[&](TGIMBarCode&) { data_.set("ZIP", "K1A 0B1"); }, "ZIP code \"K1A 0B1\""},
        {[&](TGIMBarCode&) { data_.set("ZIP", "12345-67"); }, "ZIP code"},
    };
    for (const Case& c : cases) {
        panel_.ClearObjects();
        data_.set("ZIP", "12345-6789");
        TGIMBarCode* code = add();
        c.change(*code);
        panel_.RefreshData();
        EXPECT_NE(code->DesignerWarning().toStdString().find(c.reason), std::string::npos)
            << c.reason << " / " << code->DesignerWarning().toStdString();
        EXPECT_TRUE(print().ops.empty()) << c.reason;
    }
    // Without routing the ZIP does not matter.
    panel_.ClearObjects();
    data_.set("ZIP", "K1A 0B1");
    add()->RoutingType = imbrNone;
    panel_.RefreshData();
    EXPECT_EQ(print().ops.size(), 65u);
}

TEST_F(IMBarCodeTest, SixtyFiveBarsAtPostalGeometry) {
    panel_.SetDataSet(&data_);
    data_.set("ZIP", "12345-6789");
    data_.set("STREET", "100 MAIN ST");
    add(48, 24);
    panel_.RefreshData();
    const QString states = static_cast<TGIMBarCode*>(panel_.Object(0))->CurrentEncoding().states;
    ASSERT_EQ(states.size(), 65);
    const Page page = print();
    std::vector<QRectF> bars;
    for (const DrawOp& op : page.ops) {
        ASSERT_EQ(op.kind, DrawOp::Kind::Rect);
        EXPECT_EQ(op.pen.style, Qt::NoPen);  // an outline would widen the bars
        EXPECT_EQ(op.brush.color, QColor(Qt::black));
        bars.push_back(op.rect);
    }
    ASSERT_EQ(bars.size(), 65u);
    // The object's corner is at (1.0, 1.25); the bars stand inside the clear zones.
    const double left = 0.5 + 0.5 + 0.125, top = 1.0 + 0.25 + 0.028;
    QString seen;
    for (size_t i = 0; i < bars.size(); ++i) {
        const QRectF& b = bars[i];
        EXPECT_NEAR(b.left(), left + i / 22.0, 1e-9) << i;
        EXPECT_NEAR(b.width(), 0.020, 1e-9) << i;
        const bool up = std::abs(b.top() - top) < 1e-9, down = std::abs(b.bottom() - (top + 0.145)) < 1e-9;
        seen += up ? (down ? 'F' : 'A') : (down ? 'D' : 'T');
        const double height = up && down ? 0.145 : up || down ? 0.0965 : 0.048;
        EXPECT_NEAR(b.height(), height, 1e-9) << i;
        if (!up && !down) {
            EXPECT_NEAR(b.top(), top + (0.145 - 0.048) / 2, 1e-9) << i;  // centred tracker
        }
    }
    EXPECT_EQ(seen, states);
    EXPECT_NEAR(bars.back().right() - bars.front().left(), 64 / 22.0 + 0.020, 1e-9);
}

TEST_F(IMBarCodeTest, TheCounterGivesEachLabelItsSerialNumber) {
    panel_.SetDataSet(&data_);
    data_.set("ZIP", "12345");
    TGIMBarCode* code = add();
    code->SerialSource = imbsCounter;
    code->SetStartingnumber(999999998);
    code->RepeatEach = 2;
    QStringList serials;
    for (int label = 0; label < 5; ++label) {
        serials << code->SerialText();
        panel_.AdvanceCounters();
    }
    EXPECT_EQ(serials, QStringList({"999999998", "999999998", "999999999", "999999999", "1000000000"}));
    // Past the nine digits nothing prints, rather than a wrong serial number.
    panel_.RefreshData();
    EXPECT_TRUE(print().ops.empty());
    panel_.ResetCounters();
    EXPECT_EQ(code->SerialText(), "999999998");
    EXPECT_EQ(print().ops.size(), 65u);
}

TEST_F(IMBarCodeTest, TheDesignerShowsTheBarsOrWhatIsWrong) {
    panel_.SetDataSet(&data_);
    data_.set("ZIP", "12345");
    TGIMBarCode* code = add();
    panel_.RefreshData();
    // New objects are just wide enough: 3.18 inches at 96 pixels an inch.
    EXPECT_EQ(code->Width(), 306);
    EXPECT_EQ(code->DesignerWarning(), QString());
    panel_.SetSize(700, 100);
    panel_.SetZoom(2.0f);
    QImage image(700, 100, QImage::Format_RGB32);
    image.fill(Qt::white);
    {
        QPainter painter(&image);
        panel_.Paint(painter);
    }
    // A row through the trackers crosses every bar.
    int bars = 0;
    const int y = int((0.028 + 0.145 / 2) * 96 * 2);
    for (int x = 1; x < image.width(); ++x)
        if (qGray(image.pixel(x, y)) < 128 && qGray(image.pixel(x - 1, y)) >= 128) ++bars;
    EXPECT_EQ(bars, 65);

    panel_.SetZoom(1.0f);
    code->SetWidth(250);
    EXPECT_NE(code->DesignerWarning().indexOf("Too narrow"), -1) << code->DesignerWarning().toStdString();
    data_.set("ZIP", "ABCDE");
    panel_.RefreshData();
    EXPECT_NE(code->DesignerWarning().indexOf("ZIP code \"ABCDE\""), -1);
}

TEST_F(IMBarCodeTest, ItsPropertiesTravelInTheLayoutFile) {
    TGIMBarCode* code = add(10, 20);
    code->SetName("Component0");
    code->BarcodeIdentifier = "14";
    code->ServiceType = "040";
    code->MailerIdentifier = "901234567";
    code->SerialSource = imbsField;
    code->SerialNumber = "77";
    code->SerialField = "USER2";
    code->SetStartingnumber(500);
    code->RepeatEach = 3;
    code->ZipCodeField = "";  // cleared by the user: must stay empty, not "ZIP" again
    code->AddressField = "STREET2";
    code->RoutingType = imbr9Digit;
    TempDir dir;
    const QString path = QString::fromStdString(dir.file("BIN00001.L"));
    ASSERT_TRUE(panel_.SaveToFile(path).ok());

    TGOwner owner;
    TGLabelPanel back(&owner);
    ASSERT_TRUE(back.LoadFromFile(path).ok());
    ASSERT_EQ(back.ObjectCount(), 1);
    ASSERT_STREQ(back.Object(0)->ClassName(), "TGIMBarCode");
    const auto* read = static_cast<const TGIMBarCode*>(back.Object(0));
    EXPECT_EQ(read->BoundsRect(), code->BoundsRect());
    EXPECT_EQ(read->BarcodeIdentifier, "14");
    EXPECT_EQ(read->ServiceType, "040");
    EXPECT_EQ(read->MailerIdentifier, "901234567");
    EXPECT_EQ(read->SerialSource, imbsField);
    EXPECT_EQ(read->SerialNumber, "77");
    EXPECT_EQ(read->SerialField, "USER2");
    EXPECT_EQ(read->Startingnumber(), 500);
    EXPECT_EQ(read->CounterValue(), 500);
    EXPECT_EQ(read->RepeatEach, 3);
    EXPECT_EQ(read->ZipCodeField, "");
    EXPECT_EQ(read->AddressField, "STREET2");
    EXPECT_EQ(read->RoutingType, imbr9Digit);

    // The readable dump names the class and its properties.
    QByteArray bytes;
    ASSERT_TRUE(layout::ReadLayoutFile(path, &bytes).ok());
    QString text, error;
    ASSERT_TRUE(layout::DumpLayoutFile(bytes, &text, &error)) << error.toStdString();
    for (const char* line : {"object Component0: TGIMBarCode\n", "  MailerIdentifier = '901234567'\n",
                             "  SerialSource = imbsField\n", "  RoutingType = imbr9Digit\n"})
        EXPECT_NE(text.indexOf(line), -1) << line << text.toStdString();
}

}  // namespace
