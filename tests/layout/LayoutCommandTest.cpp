// layout-dump and layout-print, run as a user's script runs them.

#include <gtest/gtest.h>
#include <sys/wait.h>

#include <QFile>
#include <QImage>
#include <array>
#include <cstdio>

#include "PostNetPattern.h"
#include "AddressFile.h"
#include "FieldLengths.h"
#include "LayoutTestSupport.h"
#include "TGLabelPanel.h"
#include "TGOwner.h"
#include "TGPLabel.h"
#include "TGPostNetBarCode.h"
#include "Table.h"
#include "RunQuillory.h"
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

Result quillory(const TempDir& home, const std::vector<std::string>& args) {
    std::string cmd = std::string(QUILLORY_BINARY) + " --home " + quote(home.path());
    for (const std::string& a : args) cmd += " " + quote(a);
    return run(cmd);
}

class LayoutCommandTest : public ::testing::Test {
  protected:
    void SetUp() override {
        ensureGuiApp();
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
    const QString table = QString::fromStdString(dir_.file("ADD0001.DBF"));
    QString message;
    ASSERT_TRUE(AddressFile::CreateAddressFile(table, FieldLengths(), &message)) << message.toStdString();
    {
        std::unique_ptr<xbase::Table> t;
        ASSERT_TRUE(AddressFile::OpenTableFile(table, &t, &message));
        for (const char* zip : {"99999", "12345-6789"}) {
            ASSERT_TRUE(t->appendBlank().ok());
            ASSERT_TRUE(AddressFile::setText(*t, t->fieldIndex("ZIP"), zip).ok());
            ASSERT_TRUE(AddressFile::setText(*t, t->fieldIndex("STREET"), "100 MAIN ST").ok());
        }
        ASSERT_TRUE(t->close().ok());
    }
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

}  // namespace
