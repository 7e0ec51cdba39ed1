// Layout files: the bytes objects are written as, reading them back onto panels, the
// clipboard and clone copies, report files, and what a damaged file does.

#include <gtest/gtest.h>
#include <sys/resource.h>

#include <QBuffer>
#include <QDir>
#include <QFile>
#include <QImage>
#include <csignal>

#include "LayoutFile.h"
#include "LayoutStreamReader.h"
#include "LayoutStreamWriter.h"
#include "LayoutTestSupport.h"
#include "TEnvelopePanel.h"
#include "TGCounterLabel.h"
#include "TGDMultiLineAddressLabel.h"
#include "TGDMultiLineLabel.h"
#include "TGDateTimeLabel.h"
#include "TGFIMBarCode.h"
#include "TGImage.h"
#include "TGLabelObjectFiler.h"
#include "TGLabelPanel.h"
#include "TGLabelShapes.h"
#include "TGLineShape.h"
#include "TGMultiLineLabel.h"
#include "TGOwner.h"
#include "TGPDLabel.h"
#include "TGPLabel.h"
#include "TGPageNumberLabel.h"
#include "TGPostNetBarCode.h"
#include "TGSymbolLabel.h"
#include "TReportPanel.h"
#include "TReportSettings.h"
#include "TempDir.h"
#include "Trpshapes.h"

namespace {

QByteArray shortString(const QByteArray& s) { return char(s.size()) + s; }

QByteArray readAll(const QString& path) {
    QFile f(path);
    return f.open(QIODevice::ReadOnly) ? f.readAll() : QByteArray();
}

void writeAll(const QString& path, const QByteArray& data) {
    QFile f(path);
    ASSERT_TRUE(f.open(QIODevice::WriteOnly));
    f.write(data);
}

template <typename T>
T* place(TGBasePanel& panel, TGOwner& owner, const QString& name, int left, int top) {
    auto object = std::make_unique<T>();
    T* o = object.get();
    o->SetOwner(&owner);
    o->SetName(name);
    o->SetBounds(left, top, o->Width(), o->Height());
    panel.InsertObject(std::move(object));
    return o;
}

// One object record: "TPF0", class, name, the property bytes, the two ends.
QByteArray record(const QByteArray& className, const QByteArray& name, const QByteArray& properties) {
    return "TPF0" + shortString(className) + shortString(name) + properties + bytes({0, 0});
}

QByteArray list(const QByteArray& records) { return bytes({1}) + records + bytes({0}); }

class FilerTest : public ::testing::Test {
  protected:
    QString file(const char* name) const { return QString::fromStdString(dir_.file(name)); }

    TempDir dir_;
    TGOwner owner_;
};

TEST_F(FilerTest, AnEmptyPanelIsAnEmptyList) {
    TGLabelPanel panel(&owner_);
    ASSERT_TRUE(panel.SaveToFile(file("empty.L")).ok());
    EXPECT_EQ(readAll(file("empty.L")), bytes({0x01, 0x00}));
    ASSERT_TRUE(panel.LoadFromFile(file("empty.L")).ok());
    EXPECT_EQ(panel.ObjectCount(), 0);
}

TEST_F(FilerTest, AFixedTextIsWrittenPropertyByPropertyInStreamOrder) {
    TGLabelPanel panel(&owner_);
    TGPLabel* text = place<TGPLabel>(panel, owner_, "Special1", 10, 20);
    text->SetCaption("<text>");
    ASSERT_TRUE(panel.SaveToFile(file("text.L")).ok());
    const QByteArray expected = list(record(
        "TGPLabel", "Special1",
        shortString("Left") + bytes({0x02, 10}) + shortString("Top") + bytes({0x02, 20}) +
            shortString("Width") + bytes({0x03, 142, 0}) + shortString("Height") + bytes({0x02, 33}) +
            shortString("Locked") + bytes({0x08}) + shortString("Unselectable") + bytes({0x08}) +
            shortString("Caption") + bytes({0x06}) + shortString("<text>") + shortString("Font.Color") +
            bytes({0x07}) + shortString("clBlack") + shortString("Font.Height") + bytes({0x02, 0xF3}) +
            shortString("Font.Name") + bytes({0x06}) + shortString("Arial") + shortString("Font.Style") +
            bytes({0x0B, 0x00}) + shortString("Transparent") + bytes({0x09}) + shortString("BackColor") +
            bytes({0x07}) + shortString("clWhite")));
    EXPECT_EQ(readAll(file("text.L")).toHex(' ').toStdString(), expected.toHex(' ').toStdString());
}

TEST_F(FilerTest, ColoursWithANameAreIdentifiersAndOthersTheSmallestInteger) {
    struct Case {
        TColor color;
        QByteArray value;
    } cases[] = {
        {clWhite, bytes({0x07}) + shortString("clWhite")},
        {clBtnFace, bytes({0x07}) + shortString("clBtnFace")},
        {0x000012, bytes({0x02, 0x12})},
        {0x001234, bytes({0x03, 0x34, 0x12})},
        {0x123456, bytes({0x04, 0x56, 0x34, 0x12, 0x00})},
    };
    for (const Case& c : cases) {
        TGLabelPanel panel(&owner_);
        place<TGPLabel>(panel, owner_, "Component0", 0, 0)->SetBackColor(c.color);
        ASSERT_TRUE(panel.SaveToFile(file("colour.L")).ok());
        const QByteArray data = readAll(file("colour.L"));
        EXPECT_TRUE(data.endsWith(shortString("BackColor") + c.value + bytes({0, 0, 0})))
            << std::hex << c.color;

        TGLabelPanel back(&owner_);
        ASSERT_TRUE(back.LoadFromFile(file("colour.L")).ok());
        EXPECT_EQ(static_cast<TGPLabel*>(back.Object(0))->BackColor(), c.color);
    }
}

TEST_F(FilerTest, ObjectsReadGetTheFreeComponentNamesOfTheOwner) {
    TGLabelPanel source;
    place<TGPLabel>(source, owner_, "Special1", 0, 0);
    place<TGLineShape>(source, owner_, "Special2", 0, 40);
    ASSERT_TRUE(source.SaveToFile(file("two.L")).ok());

    TGOwner owner;
    owner.AddComponentName("Component0");
    TGLabelPanel panel(&owner);
    ASSERT_TRUE(panel.LoadFromFile(file("two.L")).ok());
    ASSERT_EQ(panel.ObjectCount(), 2);
    EXPECT_EQ(panel.Object(0)->Name(), "Component1");
    EXPECT_EQ(panel.Object(1)->Name(), "Component2");
    EXPECT_STREQ(panel.Object(1)->ClassName(), "TGLineShape");
}

TEST_F(FilerTest, PastedObjectsLand15PixelsRightAndDown) {
    TGLabelPanel panel(&owner_);
    TGPLabel* original = place<TGPLabel>(panel, owner_, "Special1", 40, 30);
    TGLabelObjectFiler filer;
    ASSERT_TRUE(filer.SaveSelection({original}, file("Clipbrd.tmp")).ok());
    for (int paste = 0; paste < 2; ++paste)
        ASSERT_TRUE(filer.PasteObjects(&owner_, panel, file("Clipbrd.tmp")).ok());
    ASSERT_EQ(panel.ObjectCount(), 3);
    for (int i : {1, 2}) {
        EXPECT_EQ(panel.Object(i)->Left(), 55);
        EXPECT_EQ(panel.Object(i)->Top(), 45);
    }
}

TEST_F(FilerTest, SavingWhileZoomedWritesUnzoomedCoordinates) {
    TGLabelPanel at100(&owner_), at200(&owner_);
    for (TGLabelPanel* panel : {&at100, &at200}) {
        panel->SetSize(300, 100);
        place<TGPLabel>(*panel, owner_, "Component0", 13, 7);
        place<TGLineShape>(*panel, owner_, "Component1", 5, 50);
    }
    at200.SetZoom(2.0f);
    EXPECT_EQ(at200.Object(0)->Left(), 26);
    ASSERT_TRUE(at100.SaveToFile(file("100.L")).ok());
    ASSERT_TRUE(at200.SaveToFile(file("200.L")).ok());
    EXPECT_EQ(readAll(file("200.L")), readAll(file("100.L")));
    EXPECT_EQ(at200.Zoom(), 2.0f);
    EXPECT_EQ(at200.Object(0)->Left(), 26);
    EXPECT_EQ(at200.Width(), 600);

    // A zoomed panel shows what it reads at its zoom.
    TGLabelPanel zoomed(&owner_);
    zoomed.SetZoom(2.0f);
    ASSERT_TRUE(zoomed.LoadFromFile(file("100.L")).ok());
    EXPECT_EQ(zoomed.Object(0)->Left(), 26);
    EXPECT_EQ(zoomed.Object(0)->Zoom(), 2.0f);
}

TEST_F(FilerTest, RecordDataIsNeverWritten) {
    FakeDataSet data = addressRecord();
    data.set("CITY", "Dover");
    data.set("LNAME", "Lee");
    data.add("MEMO", "a note", "MEMO", true);
    TGLabelPanel panel(&owner_);
    panel.SetDataSet(&data);
    TGPDLabel* field = place<TGPDLabel>(panel, owner_, "Component0", 0, 0);
    field->DataFieldDescript = "City";
    TGDMultiLineLabel* memo = place<TGDMultiLineLabel>(panel, owner_, "Component1", 0, 40);
    memo->DataFieldDescript = "MEMO";
    TGDMultiLineAddressLabel* address = place<TGDMultiLineAddressLabel>(panel, owner_, "Component2", 0, 80);
    panel.RefreshData();
    ASSERT_EQ(field->Caption(), "Dover");
    ASSERT_EQ(memo->Items(), QStringList{"a note"});
    ASSERT_FALSE(address->Items().isEmpty());

    ASSERT_TRUE(panel.SaveToFile(file("data.L")).ok());
    const QByteArray data1 = readAll(file("data.L"));
    EXPECT_FALSE(data1.contains("Dover"));
    EXPECT_FALSE(data1.contains("a note"));
    EXPECT_FALSE(data1.contains("Lee"));
    EXPECT_FALSE(data1.contains("Caption"));
    EXPECT_FALSE(data1.contains("Items.Strings"));
    // The panel shows the record again afterwards.
    EXPECT_EQ(field->Caption(), "Dover");
    EXPECT_EQ(memo->Items(), QStringList{"a note"});
}

TEST_F(FilerTest, AnEmptiedCaptionStaysEmpty) {
    TGLabelPanel panel(&owner_);
    place<TGPLabel>(panel, owner_, "Component0", 0, 0)->SetCaption(QString());
    ASSERT_TRUE(panel.SaveToFile(file("blank.L")).ok());
    TGLabelPanel back(&owner_);
    ASSERT_TRUE(back.LoadFromFile(file("blank.L")).ok());
    EXPECT_EQ(static_cast<TGPLabel*>(back.Object(0))->Caption(), QString());
}

TEST_F(FilerTest, ReadErrorsStopTheReadAndKeepTheObjectsReadBefore) {
    const QByteArray good = record("TGPLabel", "A", shortString("Left") + bytes({0x02, 5}));
    struct Case {
        const char* what;
        QByteArray bad;
        QString message;
    } cases[] = {
        {"unregistered class", record("TGWidget", "B", QByteArray()), "Class TGWidget not found"},
        {"unknown property", record("TGPLabel", "B", shortString("Colour") + bytes({0x02, 1})),
         "Error reading Component1.Colour: Property Colour does not exist"},
        {"wrong value kind", record("TGPLabel", "B", shortString("Left") + bytes({0x06, 1, 'x'})),
         "Error reading Component1.Left: Invalid property value"},
        {"no such enumeration value",
         record("TGPLabel", "B", shortString("Alignment") + bytes({0x07, 2, 'x', 'y'})),
         "Error reading Component1.Alignment: Invalid property value"},
    };
    for (const Case& c : cases) {
        writeAll(file("bad.L"), list(good + c.bad + good));
        TGOwner owner;
        TGLabelPanel panel(&owner);
        const LayoutStatus s = panel.LoadFromFile(file("bad.L"));
        EXPECT_EQ(s.message(), c.message) << c.what;
        ASSERT_EQ(panel.ObjectCount(), 1) << c.what;
        EXPECT_EQ(panel.Object(0)->Left(), 5);
        EXPECT_EQ(owner.Components().size(), 1u) << c.what;  // the dropped object left the owner
    }
    // A file cut short inside the second object.
    writeAll(file("cut.L"), bytes({1}) + good + record("TGPLabel", "B", shortString("Left")).left(20));
    TGLabelPanel panel(&owner_);
    EXPECT_EQ(panel.LoadFromFile(file("cut.L")).message(), "Stream read error");
    EXPECT_EQ(panel.ObjectCount(), 1);
}

TEST_F(FilerTest, ForeignStreamsReadWithPrefixesAndEventProperties) {
    // A prefix byte with a child position, and an event naming a method.
    const QByteArray foreign = "TPF0" + bytes({0xF2, 0x02, 0x03}) + shortString("TGLineShape") +
                               shortString("X") + shortString("OnClick") + bytes({0x07}) +
                               shortString("LineClick") + shortString("Top") + bytes({0x02, 9}) +
                               bytes({0, 0});
    writeAll(file("foreign.L"), list(foreign));
    TGLabelPanel panel(&owner_);
    ASSERT_TRUE(panel.LoadFromFile(file("foreign.L")).ok());
    ASSERT_EQ(panel.ObjectCount(), 1);
    EXPECT_EQ(panel.Object(0)->Top(), 9);
}

TEST_F(FilerTest, AMissingFileReadsAsNothing) {
    TGLabelPanel panel(&owner_);
    place<TGPLabel>(panel, owner_, "Component0", 0, 0);
    EXPECT_TRUE(panel.LoadFromFile(file("none.L")).ok());
    EXPECT_EQ(panel.ObjectCount(), 1);
}

TEST_F(FilerTest, AFailedWriteKeepsTheOldFile) {
    TGLabelPanel panel(&owner_);
    place<TGPLabel>(panel, owner_, "Component0", 0, 0);
    ASSERT_TRUE(panel.SaveToFile(file("keep.L")).ok());
    const QByteArray before = readAll(file("keep.L"));
    // A picture of 300 KB against a file size limit of 64 KB: the write fails midway.
    QImage big(320, 320, QImage::Format_RGB888);
    big.fill(Qt::gray);
    place<TGImage>(panel, owner_, "Component1", 0, 40)->SetPicture(LayoutPicture::FromImage(big));
    struct rlimit old;
    ASSERT_EQ(getrlimit(RLIMIT_FSIZE, &old), 0);
    struct rlimit small = old;
    small.rlim_cur = 64 * 1024;
    signal(SIGXFSZ, SIG_IGN);
    ASSERT_EQ(setrlimit(RLIMIT_FSIZE, &small), 0);
    const LayoutStatus s = panel.SaveToFile(file("keep.L"));
    setrlimit(RLIMIT_FSIZE, &old);
    EXPECT_FALSE(s.ok());
    EXPECT_EQ(readAll(file("keep.L")), before);
    EXPECT_EQ(QDir(QString::fromStdString(dir_.path())).entryList(QDir::Files), QStringList{"keep.L"});
}

TEST_F(FilerTest, ACloneLands25PixelsLowerInFront) {
    TGLabelPanel panel(&owner_);
    TGPLabel* original = place<TGPLabel>(panel, owner_, "Component0", 10, 20);
    original->SetCaption("Hello");
    place<TGLineShape>(panel, owner_, "Component1", 0, 0);
    TGGraphicControl* copy = TGLabelObjectFiler().CloneObject(*original, &owner_, panel);
    ASSERT_NE(copy, nullptr);
    EXPECT_EQ(panel.IndexOf(copy), 2);
    EXPECT_EQ(copy->Left(), 10);
    EXPECT_EQ(copy->Top(), 45);
    EXPECT_EQ(copy->Name(), "Component2");
    EXPECT_EQ(static_cast<TGPLabel*>(copy)->Caption(), "Hello");
}

TEST_F(FilerTest, AnyLayoutClassReadsOnAnyPanel) {
    // An envelope's FIM mark pasted onto a label travels in the label's file.
    TEnvelopePanel envelope(&owner_);
    place<TGFIMBarCode>(envelope, owner_, "Component0", 0, 0);
    ASSERT_TRUE(envelope.SaveToFile(file("fim.L")).ok());
    TGLabelPanel label(&owner_);
    ASSERT_TRUE(label.LoadFromFile(file("fim.L")).ok());
    ASSERT_EQ(label.ObjectCount(), 1);
    EXPECT_STREQ(label.Object(0)->ClassName(), "TGFIMBarCode");
}

QByteArray bitmapFile(int width, int height) {
    QImage image(width, height, QImage::Format_RGB888);
    image.fill(QColor(10, 200, 30));
    QByteArray bmp;
    QBuffer buffer(&bmp);
    buffer.open(QIODevice::WriteOnly);
    image.save(&buffer, "BMP");
    return bmp;
}

// A placeable metafile of one rectangle, 1 × 0.5 inch at 1440 units per inch.
QByteArray placeableMetafile() {
    QByteArray h =
        bytes({0xD7, 0xCD, 0xC6, 0x9A, 0, 0, 0, 0, 0, 0, 0xA0, 0x05, 0xD0, 0x02, 0xA0, 0x05, 0, 0, 0, 0});
    uint16_t sum = 0;
    for (int i = 0; i < 10; ++i) sum ^= uint16_t(uint8_t(h[2 * i]) | (uint8_t(h[2 * i + 1]) << 8));
    h += bytes({sum & 0xFF, sum >> 8});
    const QByteArray records =
        bytes({7, 0, 0, 0, 0x1B, 0x04, 0xD0, 0x02, 0xA0, 0x05, 0, 0, 0, 0,  // Rectangle
               3, 0, 0, 0, 0,    0});                                       // EOF
    const int words = (18 + records.size()) / 2;
    const QByteArray header =
        bytes({1, 0, 9, 0, 0, 3, words & 0xFF, words >> 8, 0, 0, 0, 0, 7, 0, 0, 0, 0, 0});
    return h + header + records;
}

TEST_F(FilerTest, ALayoutOfEveryKindSurvivesAReadAndAWriteByteForByte) {
    TGLabelPanel panel(&owner_);
    panel.SetSize(400, 300);
    auto* text = place<TGPLabel>(panel, owner_, "Component0", 1, 2);
    text->SetCaption(QString(300, 'x'));  // a long string
    text->SetAlignment(taCenter);
    text->SetDepthShadow(3);
    text->SetDirectionShadow(sdDown);
    text->SetColorHighlight(0x00ABCDEF);
    text->SetTransparent(false);
    text->SetBackColor(clBtnFace);
    LayoutFont font = LayoutFont::Make("Times New Roman", 14);
    font.set(fsBold, true);
    font.set(fsItalic, true);
    font.Pitch = fpVariable;
    font.Color = clRed;
    text->SetFont(font);
    text->SetAngle(90);
    text->Tag = 7;
    text->Cursor = -21;
    text->Hint = "a hint";
    text->Locked = true;
    auto* field = place<TGPDLabel>(panel, owner_, "Component1", 3, 4);
    field->DataFieldName = "CITY";
    field->DataFieldDescript = "City";
    field->LengthOfText = 12;
    auto* counter = place<TGCounterLabel>(panel, owner_, "Component2", 5, 6);
    counter->TextBefore = "No. ";
    counter->TextAfter = "!";
    counter->SetStartingnumber(1000);
    counter->RepeatEach = 3;
    counter->LeadingZeros = 5;
    place<TGSymbolLabel>(panel, owner_, "Component3", 7, 8);
    auto* date = place<TGDateTimeLabel>(panel, owner_, "Component4", 9, 10);
    date->DateFormat = dtfDateLong;
    date->TimeFormat = dtfTimeShort;
    place<TGPageNumberLabel>(panel, owner_, "Component5", 11, 12);
    auto* lines = place<TGMultiLineLabel>(panel, owner_, "Component6", 13, 14);
    lines->SetItems({"first", "", "third é"});
    lines->SetWordWrap(true);
    lines->SetAlignment(taRightJustify);
    auto* memo = place<TGDMultiLineLabel>(panel, owner_, "Component7", 15, 16);
    memo->DataFieldName = "MEMO";
    memo->DataFieldDescript = "MEMO";
    auto* address = place<TGDMultiLineAddressLabel>(panel, owner_, "Component8", 17, 18);
    address->Options.usePhone = true;
    address->Options.zipOptions = zoBeforeCountry;
    address->Options.upperCase = true;
    auto* postnet = place<TGPostNetBarCode>(panel, owner_, "Component9", 19, 20);
    postnet->ZipCodeField = "ZIP";
    postnet->AddressField = "STREET";
    postnet->BarCodeType = pnbc9Digit;
    place<TGFIMBarCode>(panel, owner_, "Component10", 21, 22)->SetFIMType(fimTypeC);
    auto* line = place<TGLineShape>(panel, owner_, "Component11", 23, 24);
    line->SetLineStyle(stAngleSlopingDown);
    line->SetPen({clNavy, pmXor, psDash, 4});
    auto* shape = place<TGLabelShapes>(panel, owner_, "Component12", 25, 26);
    shape->Shape = stRoundRect;
    shape->RoundPerc = 40;
    shape->SetBrush({0x00112233, bsDiagCross});
    shape->SetTransparent(true);
    place<Trpshapes>(panel, owner_, "Component13", 27, 28)->Shape = stCircle;
    auto* bitmap = place<TGImage>(panel, owner_, "Component14", 29, 30);
    bitmap->SetPicture(LayoutPicture::FromBitmapFile(bitmapFile(3, 2)));
    bitmap->SetAutoSize(true);
    auto* metafile = place<TGImage>(panel, owner_, "Component15", 31, 32);
    writeAll(file("picture.wmf"), placeableMetafile());
    ASSERT_TRUE(metafile->LoadFromFile(file("picture.wmf")));
    metafile->SetStretch(false);
    ASSERT_TRUE(panel.SaveToFile(file("all.L")).ok());
    const QByteArray first = readAll(file("all.L"));

    TGOwner owner;
    TGLabelPanel back(&owner);
    ASSERT_TRUE(back.LoadFromFile(file("all.L")).ok());
    ASSERT_EQ(back.ObjectCount(), panel.ObjectCount());
    for (int i = 0; i < back.ObjectCount(); ++i)
        EXPECT_STREQ(back.Object(i)->ClassName(), panel.Object(i)->ClassName());
    ASSERT_TRUE(back.SaveToFile(file("again.L")).ok());
    EXPECT_EQ(readAll(file("again.L")).toHex(' ').toStdString(), first.toHex(' ').toStdString());

    // A few values that only a faithful reading keeps.
    auto* text2 = static_cast<TGPLabel*>(back.Object(0));
    EXPECT_EQ(text2->Caption().size(), 300);
    EXPECT_EQ(text2->Angle(), 90);
    EXPECT_EQ(text2->Font(), font);
    auto* metafile2 = static_cast<TGImage*>(back.Object(15));
    EXPECT_EQ(metafile2->Picture().kind(), LayoutPicture::Kind::Metafile);
    EXPECT_EQ(metafile2->Picture().size(), QSize(96, 48));
    EXPECT_EQ(static_cast<TGImage*>(back.Object(14))->Picture().size(), QSize(3, 2));
}

TEST_F(FilerTest, AReportFileHoldsThreeBandsAndItsSettings) {
    TReportPanel header(&owner_), detail(&owner_), footer(&owner_);
    place<TGPLabel>(header, owner_, "Component0", 0, 0);
    place<TGPDLabel>(detail, owner_, "Component1", 0, 0);
    place<TGPDLabel>(detail, owner_, "Component2", 100, 0);
    TReportSettings settings;
    settings.PageWidth = 793;  // A4 portrait at 96 pixels per inch
    settings.PageHeight = 1121;
    settings.UseFooter = true;
    settings.MemoFontName = "Courier New";
    settings.MemoAlignment = 2;
    settings.Frames[TReportSettings::Memo] = {true, false, true, false, 2, 40, 0x00C0FFEE};
    TGLabelObjectFiler filer;
    ASSERT_TRUE(filer.SaveBands(header, detail, footer, settings, file("BIN00001.R")).ok());

    const QByteArray data = readAll(file("BIN00001.R"));
    // The settings list: Letter's 816 pixels would be 8500; A4's 793 is 8260, margins 500.
    EXPECT_TRUE(data.contains(bytes({0x00, 0x01, 0x03, 0x44, 0x20, 0x03, 0x9D, 0x2D, 0x03, 0xF4, 0x01})));

    TGOwner owner;
    TReportPanel h(&owner), d(&owner), f(&owner);
    TReportSettings read;
    read.PageWidth = 1;
    ASSERT_TRUE(filer.LoadBands(&owner, h, d, f, read, file("BIN00001.R")).ok());
    EXPECT_EQ(h.ObjectCount(), 1);
    EXPECT_EQ(d.ObjectCount(), 2);
    EXPECT_EQ(f.ObjectCount(), 0);
    EXPECT_TRUE(read == settings);
}

// ---- whole layout files, as the print jobs and the dump read them ----

TEST_F(FilerTest, ALayoutFileReadsIntoPanelsOfTheKindItsNameGives) {
    TGLabelPanel label(&owner_);
    place<TGPLabel>(label, owner_, "Special1", 1, 2);
    place<TGFIMBarCode>(label, owner_, "Special2", 3, 4);
    ASSERT_TRUE(label.SaveToFile(file("BIN00001.L")).ok());
    ASSERT_TRUE(label.SaveToFile(file("BIN00002.E")).ok());
    TReportPanel header(&owner_), detail(&owner_), footer(&owner_);
    place<TGPLabel>(header, owner_, "Special3", 0, 0);
    place<TGPDLabel>(detail, owner_, "Special4", 0, 0);
    place<TGPDLabel>(detail, owner_, "Special5", 100, 0);
    TReportSettings settings;
    settings.DetailHeight = 40;
    ASSERT_TRUE(TGLabelObjectFiler().SaveBands(header, detail, footer, settings, file("bin00003.r")).ok());

    struct Case {
        const char* name;
        layout::LayoutKind kind;
        std::vector<int> objects;  // per panel
    } cases[] = {
        {"BIN00001.L", layout::LayoutKind::Label, {2}},
        {"BIN00002.E", layout::LayoutKind::Envelope, {2}},
        {"bin00003.r", layout::LayoutKind::Report, {1, 2, 0}},
    };
    for (const Case& c : cases) {
        layout::LayoutFile layout;
        ASSERT_TRUE(layout.Load(file(c.name)).ok()) << c.name;
        EXPECT_EQ(layout.Kind(), c.kind) << c.name;
        ASSERT_EQ(layout.PanelCount(), int(c.objects.size())) << c.name;
        for (int i = 0; i < layout.PanelCount(); ++i) {
            TGDataPanel* panel = &layout.Panel(i);
            EXPECT_EQ(panel->ObjectCount(), c.objects[size_t(i)]) << c.name << " " << i;
            const TRPanelKind bands[] = {rpkHeader, rpkDetail, rpkFooter};
            switch (c.kind) {
                case layout::LayoutKind::Label:
                    EXPECT_NE(dynamic_cast<TGLabelPanel*>(panel), nullptr);
                    break;
                case layout::LayoutKind::Envelope:
                    EXPECT_NE(dynamic_cast<TEnvelopePanel*>(panel), nullptr);
                    break;
                case layout::LayoutKind::Report:
                    ASSERT_NE(dynamic_cast<TReportPanel*>(panel), nullptr);
                    EXPECT_EQ(static_cast<TReportPanel*>(panel)->PAnelKind, bands[i]);
                    break;
            }
        }
        EXPECT_TRUE(layout.Settings() ==
                    (c.kind == layout::LayoutKind::Report ? settings : TReportSettings()));
        // Read without an owner, the objects keep their stored names: written again, the
        // file comes back byte for byte.
        EXPECT_EQ(layout.Write().toHex(' ').toStdString(), readAll(file(c.name)).toHex(' ').toStdString());
    }
}

TEST_F(FilerTest, ALayoutFileThatIsMissingOrCutShortIsAnError) {
    layout::LayoutFile layout(&owner_);
    EXPECT_EQ(layout.Load(file("none.R")).message(), "File " + file("none.R") + " not found");
    // A report whose settings list is missing: the bands read stay.
    writeAll(file("cut.R"),
             list(record("TGPLabel", "A", QByteArray())) + list(QByteArray()) + list(QByteArray()));
    EXPECT_EQ(layout.Load(file("cut.R")).message(), "Stream read error");
    ASSERT_EQ(layout.PanelCount(), 3);
    EXPECT_EQ(layout.Panel(0).ObjectCount(), 1);
    EXPECT_TRUE(layout.Settings() == TReportSettings());
}

TEST_F(FilerTest, ALayoutPrintsForTheCurrentRecordWithItsBandsOneBelowTheOther) {
    TReportPanel header(&owner_), detail(&owner_), footer(&owner_);
    place<TGPLabel>(header, owner_, "Special1", 0, 0)->SetCaption("Head");
    place<TGPDLabel>(detail, owner_, "Special2", 0, 0)->DataFieldDescript = "City";
    place<TGCounterLabel>(footer, owner_, "Special3", 0, 0)->SetStartingnumber(7);
    TReportSettings settings;
    settings.HeaderHeight = 48;  // half an inch
    settings.DetailHeight = 24;
    ASSERT_TRUE(TGLabelObjectFiler().SaveBands(header, detail, footer, settings, file("BIN00001.R")).ok());

    FakeDataSet data = addressRecord();
    data.set("CITY", "Dover");
    TGOwner owner;
    layout::LayoutFile layout(&owner);
    ASSERT_TRUE(layout.Load(file("BIN00001.R")).ok());
    layout.BindForPrinting(&data);
    const Page page = printPage([&](TBaseReport& r) {
        layout.PrintRecord(r, 0.25, 1.0);
        data.set("CITY", "Troy");
        layout.PrintRecord(r, 0.25, 3.0);
    });
    std::vector<const DrawOp*> texts;
    for (const DrawOp& op : page.ops)
        if (op.kind == DrawOp::Kind::Text) texts.push_back(&op);
    ASSERT_EQ(texts.size(), 6u);
    const char* expected[] = {"Head", "Dover", "7", "Head", "Troy", "8"};
    // The three objects sit alike in their bands, so their tops differ by the bands'.
    const double offset[] = {0, 0.5, 0.75, 2, 2.5, 2.75};
    for (size_t i = 0; i < texts.size(); ++i) {
        EXPECT_EQ(texts[i]->text, expected[i]) << i;
        EXPECT_NEAR(texts[i]->rect.top() - texts[0]->rect.top(), offset[i], 1e-9) << i;
        EXPECT_NEAR(texts[i]->rect.left(), texts[0]->rect.left(), 1e-9) << i;
    }
    EXPECT_NEAR(texts[0]->rect.top(), 1.0, 0.05);
    EXPECT_NEAR(texts[0]->rect.left(), 0.25, 0.05);
}

TEST(ReportSettingsTest, LengthsGoThroughThousandthsOfAnInch) {
    struct Case {
        int pixels, ppi, thousandths;
    } cases[] = {{816, 96, 8500},   {1056, 96, 11000}, {48, 96, 500}, {793, 96, 8260},
                 {1121, 96, 11677}, {33, 96, 343},     {3, 120, 25},  {1402, 120, 11683}};
    for (const Case& c : cases) {
        EXPECT_EQ(TReportSettings::PixelsToThousandths(c.pixels, c.ppi), c.thousandths) << c.pixels;
        EXPECT_EQ(TReportSettings::ThousandthsToPixels(c.thousandths, c.ppi), c.pixels) << c.pixels;
    }
}

}  // namespace
