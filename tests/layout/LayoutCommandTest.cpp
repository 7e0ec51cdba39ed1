// layout-dump and layout-print, run as a user's script runs them.

#include <gtest/gtest.h>
#include <sys/wait.h>

#include <QFile>
#include <QImage>
#include <array>
#include <cstdio>

#include "AddressFile.h"
#include "FieldLengths.h"
#include "LayoutTestSupport.h"
#include "PostNetPattern.h"
#include "RunQuillory.h"
#include "TGIMBarCode.h"
#include "TGLabelObjectFiler.h"
#include "TGLabelPanel.h"
#include "TGLineShape.h"
#include "TGOwner.h"
#include "TGPDLabel.h"
#include "TGPLabel.h"
#include "TGPostNetBarCode.h"
#include "TReportPanel.h"
#include "TReportSettings.h"
#include "Table.h"
#include "TempDir.h"

namespace {

struct Result {
    int exitCode;
    std::string out;
};

std::string quote(const std::string& s) { return shellQuote(s); }

Result run(const std::string& command) {
    Result r;
    r.out = runCommand(command, &r.exitCode);
    return r;
}

// `environment` ("NAME=value ...") is set for the program alone.
Result quillory(const TempDir& home, const std::vector<std::string>& args,
                const std::string& environment = {}) {
    std::string cmd = std::string(QUILLORY_BINARY) + " --home " + quote(home.path());
    if (!environment.empty()) cmd = "env " + environment + " " + cmd;
    for (const std::string& a : args) cmd += " " + quote(a);
    return run(cmd);
}

class LayoutCommandTest : public ::testing::Test {
  protected:
    void SetUp() override {
        auto text = std::make_unique<TGPLabel>();
        text->SetOwner(&owner_);
        text->SetName("Special1");
        text->SetBounds(10, 200, 142, 33);
        text->SetCaption("Hello 'world'");
        panel_.InsertObject(std::move(text));
        auto code = std::make_unique<TGPostNetBarCode>();
        code->SetOwner(&owner_);
        code->SetName("Special2");
        code->SetBounds(96, 96, 270, 16);  // one inch from the corner
        code->ZipCodeField = "ZIP";
        code->AddressField = "STREET";
        panel_.InsertObject(std::move(code));
        layout_ = dir_.file("BIN00001.L");
        ASSERT_TRUE(panel_.SaveToFile(QString::fromStdString(layout_)).ok());
    }
    // An address file of two records in Dover and Troy, with ZIP codes and streets.
    QString addressTable() {
        const QString table = QString::fromStdString(dir_.file("ADD0001.DBF"));
        QString message;
        EXPECT_TRUE(AddressFile::CreateAddressFile(table, FieldLengths(), &message)) << message.toStdString();
        std::unique_ptr<xbase::Table> t;
        EXPECT_TRUE(AddressFile::OpenTableFile(table, &t, &message)) << message.toStdString();
        for (const char* row : {"99999|Dover", "12345-6789|Troy"}) {
            const QStringList values = QString(row).split('|');
            EXPECT_TRUE(t->appendBlank().ok());
            EXPECT_TRUE(AddressFile::setText(*t, t->fieldIndex("ZIP"), values[0]).ok());
            EXPECT_TRUE(AddressFile::setText(*t, t->fieldIndex("CITY"), values[1]).ok());
            EXPECT_TRUE(AddressFile::setText(*t, t->fieldIndex("STREET"), "100 MAIN ST").ok());
        }
        EXPECT_TRUE(t->close().ok());
        return table;
    }
    TempDir dir_;
    TGOwner owner_;
    TGLabelPanel panel_{&owner_};
    std::string layout_;
};

TEST_F(LayoutCommandTest, DumpShowsEveryObjectAndItsProperties) {
    const Result r = quillory(dir_, {"layout-dump", layout_});
    ASSERT_EQ(r.exitCode, 0) << r.out;
    EXPECT_EQ(
        r.out.rfind("# object list 1: 2 objects\nobject Special1: TGPLabel\n  Left = 10\n  Top = 200\n", 0),
        0u)
        << r.out;
    for (const char* line :
         {"  Caption = 'Hello ''world'''\n", "  Font.Name = 'Arial'\n", "  Font.Style = []\n",
          "  BackColor = clWhite\n", "object Special2: TGPostNetBarCode\n", "  ZipCodeField = 'ZIP'\n",
          "  BarCodeType = pnbc11Digit\n", "end\n"})
        EXPECT_NE(r.out.find(line), std::string::npos) << line;
    EXPECT_EQ(r.out.find("Alignment"), std::string::npos);  // a default is not stored

    const Result all = quillory(dir_, {"layout-dump", layout_, "--all"});
    ASSERT_EQ(all.exitCode, 0) << all.out;
    for (const char* line :
         {"  Alignment = taLeftJustify\n", "  Tag = 0\n", "  Cursor = crDefault\n", "  Hint = ''\n",
          "  Font.Size = 10\n", "  Font.Pitch = fpDefault\n", "  colorHighlight = clAqua\n"})
        EXPECT_NE(all.out.find(line), std::string::npos) << line;

    const Result missing = quillory(dir_, {"layout-dump", dir_.file("none.L")});
    EXPECT_EQ(missing.exitCode, 1);
    EXPECT_NE(missing.out.find("not found"), std::string::npos);
    EXPECT_EQ(quillory(dir_, {"layout-dump"}).exitCode, 2);
}

TEST_F(LayoutCommandTest, DumpReportsADamagedFile) {
    QFile f(QString::fromStdString(dir_.file("bad.L")));
    ASSERT_TRUE(f.open(QIODevice::WriteOnly));
    f.write(QByteArray::fromHex("0154504630085447504c6162656c01410557696474680203"));  // cut inside a value
    f.close();
    const Result r = quillory(dir_, {"layout-dump", dir_.file("bad.L")});
    EXPECT_EQ(r.exitCode, 1);
    EXPECT_NE(r.out.find("object A: TGPLabel"), std::string::npos) << r.out;
    EXPECT_NE(r.out.find("Stream read error"), std::string::npos) << r.out;
}

// Dark runs along one row of a grey image: (start, length) of each.
std::vector<std::pair<int, int>> darkRuns(const QImage& image, int y) {
    std::vector<std::pair<int, int>> runs;
    for (int x = 0; x < image.width(); ++x) {
        if (qGray(image.pixel(x, y)) >= 128) continue;
        if (!runs.empty() && runs.back().first + runs.back().second == x) {
            ++runs.back().second;
        } else {
            runs.push_back({x, 1});
        }
    }
    return runs;
}

TEST_F(LayoutCommandTest, AProofPrintOfAPostNetBarcodeHas62BarsAPitchOf0046Inch) {
    if (run("command -v pdftoppm").exitCode != 0) GTEST_SKIP() << "pdftoppm (poppler-utils) is not installed";
    const QString table = addressTable();
    const std::string pdf = dir_.file("proof.pdf");
    const Result r = quillory(
        dir_, {"layout-print", layout_, "--table", table.toStdString(), "--recno", "2", "--pdf", pdf});
    ASSERT_EQ(r.exitCode, 0) << r.out;
    EXPECT_NE(r.out.find("for record 2"), std::string::npos) << r.out;

    // 1000 dots per inch: the bars' top is at 1000, full bars reach to 1125, half bars
    // start at 1070.
    ASSERT_EQ(run("pdftoppm -r 1000 -gray -png -singlefile -x 0 -y 900 -W 4000 -H 400 " + quote(pdf) + " " +
                  quote(dir_.file("proof")))
                  .exitCode,
              0);
    QImage image(QString::fromStdString(dir_.file("proof.png")));
    ASSERT_FALSE(image.isNull());
    const auto low = darkRuns(image, 1110 - 900);   // every bar
    const auto high = darkRuns(image, 1030 - 900);  // the full bars
    ASSERT_EQ(low.size(), 62u);
    for (size_t i = 1; i < low.size(); ++i) EXPECT_NEAR(low[i].first - low[i - 1].first, 46, 1.01) << i;
    EXPECT_NEAR(low.front().first, 1000, 2);
    EXPECT_NEAR(low.back().first + low.back().second - low.front().first, 2821, 3);
    QString pattern;
    size_t h = 0;
    for (const auto& bar : low) {
        const bool full = h < high.size() && std::abs(high[h].first - bar.first) <= 2;
        if (full) ++h;
        pattern += full ? '1' : '0';
    }
    EXPECT_EQ(pattern, kPostNetPattern12345678900);
}

TEST_F(LayoutCommandTest, AProofPrintIsTheSameWhateverTheScreensResolution) {
    if (run("command -v pdftoppm").exitCode != 0) GTEST_SKIP() << "pdftoppm (poppler-utils) is not installed";
    const std::string table = addressTable().toStdString();
    // A report as well: its bands stack by the heights its settings store in inches.
    TGOwner owner;
    TReportPanel header(&owner), detail(&owner), footer(&owner);
    header.InsertObject(std::make_unique<TGPLabel>())->SetBounds(20, 10, 142, 33);
    auto field = std::make_unique<TGPDLabel>();
    field->DataFieldDescript = "City";
    detail.InsertObject(std::move(field))->SetBounds(40, 4, 142, 33);
    footer.InsertObject(std::make_unique<TGLineShape>())->SetBounds(0, 5, 300, 10);
    TReportSettings settings;
    settings.HeaderHeight = 50;
    settings.DetailHeight = 37;
    const std::string report = dir_.file("BIN00001.R");
    ASSERT_TRUE(TGLabelObjectFiler()
                    .SaveBands(header, detail, footer, settings, QString::fromStdString(report))
                    .ok());

    for (const std::string& layout : {layout_, report}) {
        std::vector<QImage> pages;
        // The screen of the offscreen platform, and one of 144 pixels per inch.
        for (const char* screen : {"", "QT_ENABLE_HIGHDPI_SCALING=0 QT_FONT_DPI=144"}) {
            const std::string pdf = dir_.file("proof.pdf");
            const Result r = quillory(
                dir_, {"layout-print", layout, "--table", table, "--recno", "2", "--pdf", pdf}, screen);
            ASSERT_EQ(r.exitCode, 0) << r.out;
            ASSERT_EQ(
                run("pdftoppm -r 150 -gray -png -singlefile " + quote(pdf) + " " + quote(dir_.file("proof")))
                    .exitCode,
                0);
            pages.push_back(QImage(QString::fromStdString(dir_.file("proof.png"))));
            ASSERT_FALSE(pages.back().isNull());
        }
        int dark = 0;
        for (int y = 0; y < pages[0].height(); ++y) dark += int(darkRuns(pages[0], y).size());
        EXPECT_GT(dark, 50) << layout;  // something printed
        EXPECT_TRUE(pages[0] == pages[1]) << layout;
    }
}

// The states of the bars on a page rendered at 1000 dots per inch, whose top row is
// the bars' top: each bar's extent down its middle column gives its state and height.
struct RenderedBar {
    int left, width, top, height;
};
std::vector<RenderedBar> renderedBars(const QImage& image, int middleRow) {
    std::vector<RenderedBar> bars;
    for (const auto& run : darkRuns(image, middleRow)) {
        const int x = run.first + run.second / 2;
        int top = middleRow, bottom = middleRow;
        while (top > 0 && qGray(image.pixel(x, top - 1)) < 128) --top;
        while (bottom + 1 < image.height() && qGray(image.pixel(x, bottom + 1)) < 128) ++bottom;
        bars.push_back({run.first, run.second, top, bottom - top + 1});
    }
    return bars;
}

TEST_F(LayoutCommandTest, ALabelPrintsEachRecordsIntelligentMailBarcodeAtPostalGeometry) {
    if (run("command -v pdftoppm").exitCode != 0) GTEST_SKIP() << "pdftoppm (poppler-utils) is not installed";
    // A label whose barcode takes its serial number from USER1 and its routing code from
    // the ZIP and street, one inch from the corner.
    TGOwner owner;
    TGLabelPanel label(&owner);
    auto code = std::make_unique<TGIMBarCode>();
    code->SetBounds(96, 96, code->Width(), code->Height());
    code->ServiceType = "700";
    code->MailerIdentifier = "123456";
    code->SerialSource = imbsField;
    code->SerialField = "USER1";
    label.InsertObject(std::move(code));
    const std::string layout = dir_.file("BIN00002.L");
    ASSERT_TRUE(label.SaveToFile(QString::fromStdString(layout)).ok());

    const QString table = QString::fromStdString(dir_.file("IMB.DBF"));
    QString message;
    ASSERT_TRUE(AddressFile::CreateAddressFile(table, FieldLengths(), &message)) << message.toStdString();
    struct Record {
        const char *zip, *street, *serial, *tracking, *routing;
    };
    const Record records[] = {
        {"12345-6789", "100 MAIN ST", "1001", "00700123456000001001", "12345678900"},
        {"20500", "1600 PENNSYLVANIA AVE", "1002", "00700123456000001002", "20500"},
        {"K1A 0B1", "24 SUSSEX DR", "1003", "", ""},
    };
    {
        std::unique_ptr<xbase::Table> t;
        ASSERT_TRUE(AddressFile::OpenTableFile(table, &t, &message)) << message.toStdString();
        for (const Record& r : records) {
            ASSERT_TRUE(t->appendBlank().ok());
            ASSERT_TRUE(AddressFile::setText(*t, t->fieldIndex("ZIP"), r.zip).ok());
            ASSERT_TRUE(AddressFile::setText(*t, t->fieldIndex("STREET"), r.street).ok());
            ASSERT_TRUE(AddressFile::setText(*t, t->fieldIndex("USER1"), r.serial).ok());
        }
        ASSERT_TRUE(t->close().ok());
    }

    std::vector<std::string> printed;
    for (int recno = 1; recno <= 3; ++recno) {
        const Record& record = records[recno - 1];
        const std::string pdf = dir_.file("imb.pdf");
        const Result r = quillory(dir_, {"layout-print", layout, "--table", table.toStdString(), "--recno",
                                         std::to_string(recno), "--pdf", pdf});
        ASSERT_EQ(r.exitCode, 0) << r.out;
        // The page from the object's corner: bars from 125 dots right (the clear zone)
        // and 28 down.
        ASSERT_EQ(run("pdftoppm -r 1000 -gray -png -singlefile -x 1000 -y 1000 -W 3400 -H 200 " + quote(pdf) +
                      " " + quote(dir_.file("imb")))
                      .exitCode,
                  0);
        QImage image(QString::fromStdString(dir_.file("imb.png")));
        ASSERT_FALSE(image.isNull());
        const std::vector<RenderedBar> bars = renderedBars(image, 28 + 72);  // through the trackers
        if (!*record.tracking) {
            EXPECT_TRUE(bars.empty()) << recno;
            EXPECT_NE(
                r.out.find("Component0: no barcode printed: The ZIP code \"K1A 0B1\" is not a US ZIP code"),
                std::string::npos)
                << r.out;
            continue;
        }
        ASSERT_EQ(bars.size(), 65u) << recno;
        std::string states;
        for (size_t i = 0; i < bars.size(); ++i) {
            const RenderedBar& b = bars[i];
            EXPECT_NEAR(b.left, 125 + i * 1000 / 22.0, 1.5) << i;  // 22 bars an inch
            EXPECT_NEAR(b.width, 20, 1.5) << i;                    // 0.020 inch
            const bool up = std::abs(b.top - 28) <= 1, down = std::abs(b.top + b.height - 173) <= 1;
            states += up ? (down ? 'F' : 'A') : (down ? 'D' : 'T');
            // Full 0.145 inch, ascender and descender 0.0965, tracker 0.048.
            EXPECT_NEAR(b.height,
                        up && down   ? 145
                        : up || down ? 96.5
                                     : 48,
                        1.5)
                << i << " " << states.back();
        }
        // The states are those of the record's tracking and routing codes.
        const Result expected = quillory(dir_, {"imb", record.tracking, record.routing});
        ASSERT_EQ(expected.exitCode, 0) << expected.out;
        EXPECT_EQ(states + "\n", expected.out) << recno;
        EXPECT_EQ(r.out.find("no barcode"), std::string::npos) << r.out;
        printed.push_back(states);
    }
    ASSERT_EQ(printed.size(), 2u);
    EXPECT_NE(printed[0], printed[1]);
}

TEST_F(LayoutCommandTest, TheImbCommandPrintsTheStatesOrWhyNot) {
    const Result r = quillory(dir_, {"imb", "01234567094987654321", "01234567891"});
    ASSERT_EQ(r.exitCode, 0) << r.out;
    EXPECT_EQ(r.out, "AADTFFDFTDADTAADAATFDTDDAAADDTDTTDAFADADDDTFFFDDTTTADFAAADFTDAADA\n");
    const Result bad = quillory(dir_, {"imb", "01234567094987654321", "1234"});
    EXPECT_EQ(bad.exitCode, 1);
    EXPECT_NE(bad.out.find("The routing code \"1234\" is not 5, 9 or 11 digits"), std::string::npos)
        << bad.out;
    EXPECT_EQ(quillory(dir_, {"imb"}).exitCode, 2);
}

}  // namespace
