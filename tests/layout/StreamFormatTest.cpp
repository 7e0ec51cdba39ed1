// The layout stream's values: tags, widths, strings, 80-bit reals, and the reader's
// tolerance of streams that other writers produced.

#include <gtest/gtest.h>

#include <QFile>
#include <QRandomGenerator>
#include <cstring>

#include "Extended80.h"
#include "LayoutEnums.h"
#include "LayoutStreamReader.h"
#include "LayoutStreamWriter.h"
#include "LayoutTestSupport.h"
#include "LayoutTextDump.h"

using layout::Extended80;
using layout::LayoutStreamReader;
using layout::LayoutStreamWriter;
using layout::StreamValue;
using layout::stream::Tag;

namespace {

Extended80 ext(std::initializer_list<int> b) {
    Extended80 e{};
    int i = 0;
    for (int v : b) e[size_t(i++)] = uint8_t(v);
    return e;
}

uint64_t bitsOf(double d) {
    uint64_t u;
    std::memcpy(&u, &d, 8);
    return u;
}

TEST(Extended80Test, KnownValuesBothWays) {
    struct Case {
        double value;
        Extended80 bytes;
    } cases[] = {
        {1.0, ext({0, 0, 0, 0, 0, 0, 0, 0x80, 0xFF, 0x3F})},
        {1.5, ext({0, 0, 0, 0, 0, 0, 0, 0xC0, 0xFF, 0x3F})},
        {-0.1, ext({0x00, 0xD0, 0xCC, 0xCC, 0xCC, 0xCC, 0xCC, 0xCC, 0xFB, 0xBF})},
        {0.0, ext({0, 0, 0, 0, 0, 0, 0, 0, 0, 0})},
        {-0.0, ext({0, 0, 0, 0, 0, 0, 0, 0, 0, 0x80})},
        {INFINITY, ext({0, 0, 0, 0, 0, 0, 0, 0x80, 0xFF, 0x7F})},
    };
    for (const Case& c : cases) {
        EXPECT_EQ(layout::DoubleToExtended(c.value), c.bytes) << c.value;
        EXPECT_EQ(bitsOf(layout::ExtendedToDouble(c.bytes)), bitsOf(c.value)) << c.value;
    }
    // -0.1 held in 80 bits by its writer rounds to the same double.
    EXPECT_EQ(layout::ExtendedToDouble(ext({0xCD, 0xCC, 0xCC, 0xCC, 0xCC, 0xCC, 0xCC, 0xCC, 0xFB, 0xBF})),
              -0.1);
}

TEST(Extended80Test, EveryDoubleSurvivesTheRoundTrip) {
    QRandomGenerator random(7);
    std::vector<uint64_t> bits = {1, 0x000FFFFFFFFFFFFFull, 0x0010000000000000ull, 0x7FEFFFFFFFFFFFFFull};
    for (int i = 0; i < 20000; ++i) bits.push_back(random.generate64() & 0x7FEFFFFFFFFFFFFFull);
    for (uint64_t b : bits) {
        for (uint64_t sign : {uint64_t(0), uint64_t(1) << 63}) {
            double d;
            const uint64_t u = b | sign;
            std::memcpy(&d, &u, 8);
            ASSERT_EQ(bitsOf(layout::ExtendedToDouble(layout::DoubleToExtended(d))), u);
        }
    }
}

TEST(Extended80Test, RoundsAndSaturatesWhatADoubleCannotHold) {
    // 1 + 2^-53 lies halfway between 1 and the next double: ties go to even (1.0);
    // 1 + 3 · 2^-54 lies above halfway and rounds up.
    EXPECT_EQ(layout::ExtendedToDouble(ext({0, 0x04, 0, 0, 0, 0, 0, 0x80, 0xFF, 0x3F})), 1.0);
    EXPECT_EQ(layout::ExtendedToDouble(ext({0, 0x06, 0, 0, 0, 0, 0, 0x80, 0xFF, 0x3F})), 1.0 + 0x1p-52);
    EXPECT_EQ(layout::ExtendedToDouble(ext({0, 0, 0, 0, 0, 0, 0, 0x80, 0xFF, 0x43})), INFINITY);   // 2^1024
    EXPECT_EQ(layout::ExtendedToDouble(ext({0, 0, 0, 0, 0, 0, 0, 0x80, 0xCD, 0x3B})), 0x1p-1074);  // 2^-1074
    EXPECT_EQ(layout::ExtendedToDouble(ext({0, 0, 0, 0, 0, 0, 0, 0x80, 0x00, 0x30})), 0.0);  // far below
    EXPECT_TRUE(std::isnan(layout::ExtendedToDouble(ext({1, 0, 0, 0, 0, 0, 0, 0xC0, 0xFF, 0x7F}))));
}

TEST(StreamWriterTest, IntegersTakeTheSmallestWidth) {
    struct Case {
        int64_t value;
        QByteArray bytes;
    } cases[] = {
        {0, bytes({0x02, 0x00})},
        {127, bytes({0x02, 0x7F})},
        {-128, bytes({0x02, 0x80})},
        {128, bytes({0x03, 0x80, 0x00})},
        {-129, bytes({0x03, 0x7F, 0xFF})},
        {32767, bytes({0x03, 0xFF, 0x7F})},
        {-32768, bytes({0x03, 0x00, 0x80})},
        {32768, bytes({0x04, 0x00, 0x80, 0x00, 0x00})},
        {-32769, bytes({0x04, 0xFF, 0x7F, 0xFF, 0xFF})},
        {0x123456, bytes({0x04, 0x56, 0x34, 0x12, 0x00})},
    };
    for (const Case& c : cases) {
        LayoutStreamWriter w;
        w.writeInteger(c.value);
        EXPECT_EQ(w.data(), c.bytes) << c.value;
        LayoutStreamReader r(w.data());
        EXPECT_EQ(r.readInteger(), c.value);
    }
}

TEST(StreamWriterTest, StringsAreShortUpTo255BytesThenLong) {
    for (int length : {0, 255, 256, 300}) {
        LayoutStreamWriter w;
        const QString text(length, QChar(u'é'));
        w.writeString(text);
        const QByteArray& d = w.data();
        if (length <= 255) {
            ASSERT_EQ(d.size(), 2 + length);
            EXPECT_EQ(uint8_t(d[0]), 0x06);
            EXPECT_EQ(uint8_t(d[1]), length);
        } else {
            ASSERT_EQ(d.size(), 5 + length);
            EXPECT_EQ(d.left(5), bytes({0x0C, length & 0xFF, length >> 8, 0, 0}));
        }
        if (length > 0) {
            EXPECT_EQ(uint8_t(d.back()), 0xE9);
        }  // one Windows-1252 byte a character
        LayoutStreamReader r(d);
        EXPECT_EQ(r.readValue().text(), text);
    }
}

TEST(StreamWriterTest, TextBeyondWindows1252IsKeptAsUtf8) {
    LayoutStreamWriter w;
    w.writeString(QString::fromUtf8("Zürich – 東京"));
    EXPECT_EQ(uint8_t(w.data()[0]), 0x14);
    LayoutStreamReader r(w.data());
    EXPECT_EQ(r.readValue().text(), QString::fromUtf8("Zürich – 東京"));
}

TEST(StreamReaderTest, DamagedStreamsStopWithAnError) {
    struct Case {
        const char* what;
        QByteArray data;
        const char* error;
    } cases[] = {
        {"truncated integer", bytes({0x03, 0x01}), "Stream read error"},
        {"long string past the end", bytes({0x0C, 0x10, 0, 0, 0, 'a'}), "Stream read error"},
        {"negative binary length", bytes({0x0A, 0xFF, 0xFF, 0xFF, 0xFF}), "Stream read error"},
        {"unknown tag", bytes({0x16}), "Invalid stream format"},
        {"endless list", bytes({0x01, 0x02, 0x05}), "Stream read error"},
        {"lists nested beyond reason", QByteArray(100000, 0x01), "Invalid stream format"},
    };
    for (const Case& c : cases) {
        LayoutStreamReader r(c.data);
        r.readValue();
        EXPECT_EQ(r.error(), c.error) << c.what;
    }
}

// Every value of an enumeration with the name layout files store for it, listed in
// ordinal order; the name reads back as the value in any letter case.
template <typename E>
void expectStoredNames(const char* type, std::initializer_list<std::pair<E, const char*>> values) {
    ASSERT_EQ(layout::EnumNames<E>::count, values.size()) << type;
    int ordinal = 0;
    for (const auto& [value, name] : values) {
        EXPECT_EQ(int(value), ordinal) << type << " " << name;
        EXPECT_STREQ(layout::EnumName(value), name) << type;
        for (const QByteArray& ident : {QByteArray(name), QByteArray(name).toUpper()}) {
            E read = E((ordinal + 1) % int(values.size()));
            EXPECT_TRUE(layout::EnumFromName(ident, &read)) << type << " " << ident.constData();
            EXPECT_EQ(read, value) << type << " " << ident.constData();
        }
        ++ordinal;
    }
    E untouched = E(0);
    EXPECT_FALSE(layout::EnumFromName(QByteArray(), &untouched)) << type;
    EXPECT_FALSE(layout::EnumFromName("taLeftJustif", &untouched)) << type;
}

TEST(LayoutEnumTest, EveryValueHasItsStoredName) {
    expectStoredNames<TAlignment>(
        "TAlignment",
        {{taLeftJustify, "taLeftJustify"}, {taRightJustify, "taRightJustify"}, {taCenter, "taCenter"}});
    expectStoredNames<THighlightDirection>("THighlightDirection", {{hdNone, "hdNone"},
                                                                   {hdright, "hdright"},
                                                                   {hdLeft, "hdLeft"},
                                                                   {hdUpRight, "hdUpRight"},
                                                                   {hdUpLeft, "hdUpLeft"},
                                                                   {hdUp, "hdUp"}});
    expectStoredNames<TShadowDirection>("TShadowDirection", {{sdNone, "sdNone"},
                                                             {sdRight, "sdRight"},
                                                             {sdLeft, "sdLeft"},
                                                             {sdDownRight, "sdDownRight"},
                                                             {sdDownLeft, "sdDownLeft"},
                                                             {sdDown, "sdDown"}});
    expectStoredNames<TGDateFormat>(
        "TGDateFormat",
        {{dtfDateNone, "dtfDateNone"}, {dtfDateShort, "dtfDateShort"}, {dtfDateLong, "dtfDateLong"}});
    expectStoredNames<TGTimeFormat>(
        "TGTimeFormat",
        {{dtfTimeNone, "dtfTimeNone"}, {dtfTimeShort, "dtfTimeShort"}, {dtfTimeLong, "dtfTimeLong"}});
    expectStoredNames<TZipFormatOptions>("TZipFormatOptions", {{zoAfterState, "zoAfterState"},
                                                               {zoBeforeCity, "zoBeforeCity"},
                                                               {zoAfterCountry, "zoAfterCountry"},
                                                               {zoBeforeCountry, "zoBeforeCountry"}});
    expectStoredNames<TPostNetBarCodeType>(
        "TPostNetBarCodeType",
        {{pnbc5Digit, "pnbc5Digit"}, {pnbc9Digit, "pnbc9Digit"}, {pnbc11Digit, "pnbc11Digit"}});
    expectStoredNames<TFIMBarCodeType>(
        "TFIMBarCodeType", {{fimTypeA, "fimTypeA"}, {fimTypeB, "fimTypeB"}, {fimTypeC, "fimTypeC"}});
    expectStoredNames<TLineStyle>("TLineStyle", {{stHorizontal, "stHorizontal"},
                                                 {stVertical, "stVertical"},
                                                 {stAngleSlopingUp, "stAngleSlopingUp"},
                                                 {stAngleSlopingDown, "stAngleSlopingDown"}});
    expectStoredNames<TShapeType>("TShapeType", {{stRectangle, "stRectangle"},
                                                 {stSquare, "stSquare"},
                                                 {stRoundRect, "stRoundRect"},
                                                 {stRoundSquare, "stRoundSquare"},
                                                 {stEllipse, "stEllipse"},
                                                 {stCircle, "stCircle"}});
    expectStoredNames<TLabelShapeType>(
        "TLabelShapeType",
        {{lsRectangle, "lsRectangle"}, {lsRoundRect, "lsRoundRect"}, {lsEllipse, "lsEllipse"}});
    expectStoredNames<TGridSize>("TGridSize", {{gs4x4, "gs4x4"}, {gs8x8, "gs8x8"}});
    expectStoredNames<TRPanelKind>(
        "TRPanelKind",
        {{rpkHeader, "rpkHeader"}, {rpkDetail, "rpkDetail"}, {rpkMemo, "rpkMemo"}, {rpkFooter, "rpkFooter"}});
    expectStoredNames<TFontPitch>(
        "TFontPitch", {{fpDefault, "fpDefault"}, {fpVariable, "fpVariable"}, {fpFixed, "fpFixed"}});
    expectStoredNames<TFontStyle>("TFontStyle", {{fsBold, "fsBold"},
                                                 {fsItalic, "fsItalic"},
                                                 {fsUnderline, "fsUnderline"},
                                                 {fsStrikeOut, "fsStrikeOut"}});
    expectStoredNames<TPenStyle>("TPenStyle", {{psSolid, "psSolid"},
                                               {psDash, "psDash"},
                                               {psDot, "psDot"},
                                               {psDashDot, "psDashDot"},
                                               {psDashDotDot, "psDashDotDot"},
                                               {psClear, "psClear"},
                                               {psInsideFrame, "psInsideFrame"}});
    expectStoredNames<TPenMode>("TPenMode", {{pmBlack, "pmBlack"},
                                             {pmWhite, "pmWhite"},
                                             {pmNop, "pmNop"},
                                             {pmNot, "pmNot"},
                                             {pmCopy, "pmCopy"},
                                             {pmNotCopy, "pmNotCopy"},
                                             {pmMergePenNot, "pmMergePenNot"},
                                             {pmMaskPenNot, "pmMaskPenNot"},
                                             {pmMergeNotPen, "pmMergeNotPen"},
                                             {pmMaskNotPen, "pmMaskNotPen"},
                                             {pmMerge, "pmMerge"},
                                             {pmNotMerge, "pmNotMerge"},
                                             {pmMask, "pmMask"},
                                             {pmNotMask, "pmNotMask"},
                                             {pmXor, "pmXor"},
                                             {pmNotXor, "pmNotXor"}});
    expectStoredNames<TBrushStyle>("TBrushStyle", {{bsSolid, "bsSolid"},
                                                   {bsClear, "bsClear"},
                                                   {bsHorizontal, "bsHorizontal"},
                                                   {bsVertical, "bsVertical"},
                                                   {bsFDiagonal, "bsFDiagonal"},
                                                   {bsBDiagonal, "bsBDiagonal"},
                                                   {bsCross, "bsCross"},
                                                   {bsDiagCross, "bsDiagCross"}});
}

// The fixture form files open with a 16-bit resource header; the stream follows it.
QByteArray fixtureStream(const QString& name) {
    QFile f(QString(QUILLORY_TEST_DIR) + "/fixtures/streams/" + name);
    if (!f.open(QIODevice::ReadOnly)) return {};
    const QByteArray data = f.readAll();
    return data.mid(data.indexOf("TPF0"));
}

QString expectedText(const QString& name) {
    QFile f(QString(QUILLORY_TEST_DIR) + "/fixtures/streams/" + name + ".txt");
    if (!f.open(QIODevice::ReadOnly)) return {};
    QString out;
    for (const QString& line : QString::fromUtf8(f.readAll()).split('\n'))
        if (!line.startsWith('#') && !line.isEmpty()) out += line + '\n';
    return out;
}

TEST(StreamReaderTest, ReadsFormFilesOfTheClassicWriterAsItsOwnTextFormShowsThem) {
    for (const char* name : {"udemodlg.dfm", "StrmBmpU.dfm", "dgAbout.dfm"}) {
        const QByteArray stream = fixtureStream(name);
        ASSERT_FALSE(stream.isEmpty()) << name;
        QString text, error;
        EXPECT_TRUE(layout::DumpComponentStream(stream, &text, &error))
            << name << ": " << error.toStdString();
        EXPECT_EQ(text.toStdString(), expectedText(name).toStdString()) << name;
    }
}

}  // namespace
