// The shared label catalogue read from a small fixture of template files (three makers
// and the user's own, inch, millimetre, centimetre and point files, equivalents, round
// and oval labels, and what is left out), the search by words and size, and the cache
// in the home.

#include <gtest/gtest.h>

#include <QDateTime>
#include <QDir>
#include <QFile>
#include <QFileInfo>

#include "AppHome.h"
#include "LabelCatalogue.h"
#include "StockSearch.h"
#include "TempDir.h"

namespace {

const QString kSystem = QStringLiteral(QUILLORY_TEST_DIR "/templates/system");
const QString kUser = QStringLiteral(QUILLORY_TEST_DIR "/templates/user");

struct Expected {
    const char* name;  // the row's description (TPLDESCRIP)
    const char* equivalentOf;
    const char* paper;
    double sheetWidth, sheetDepth;
    const char* shape;
    double width, height;
    int across, down;
    double left, top, hpitch, vpitch;
    const char* productType;
    const char* maker;  // MANUFAC
};

}  // namespace

TEST(LabelCatalogueTest, TemplateFilesGiveStockRowsAndLeaveOutWhatCannotPrint) {
    CatalogueCounts counts;
    const std::vector<CatalogueStock> read = LabelCatalogue::Read({kUser, kSystem}, &counts);

    // In folder and file order; the user's B7160 hides the system's (maker and number in
    // any case), lengths in inches to 3 decimals.
    const Expected expected[] = {
        {"Beta b7160  My own measuring", "", "A4", 8.27, 11.69, "SR", 2.480, 1.496, 3, 7, 0.276, 0.591, 2.598, 1.496,
         "", "BETA"},
        {"Delta D1  Shipping labels 4 x 2", "", "LTR", 8.5, 11, "RR", 4, 2, 2, 5, 0.19, 0.5, 4.125, 2,
         "ADDRESS/SHIPPING LABELS", "DELTA"},
        // An equivalent listed before its product, and one with kinds of its own.
        {"Alpha A100B  Address Labels", "A100", "LTR", 8.5, 11, "RR", 2.625, 1, 3, 10, 0.156, 0.5, 2.781, 1,
         "ADDRESS/SHIPPING LABELS", "ALPHA"},
        {"Alpha A100  Address Labels", "", "LTR", 8.5, 11, "RR", 2.625, 1, 3, 10, 0.156, 0.5, 2.781, 1,
         "ADDRESS/SHIPPING LABELS", "ALPHA"},
        {"Alpha A100C  Address Labels", "A100", "LTR", 8.5, 11, "RR", 2.625, 1, 3, 10, 0.156, 0.5, 2.781, 1,
         "ADDRESS/SHIPPING LABELS", "ALPHA"},
        {"Alpha R150  Round Labels", "", "LTR", 8.5, 11, "EL", 1.5, 1.5, 4, 5, 0.5, 0.75, 2, 2, "", "ALPHA"},
        // A6 from the paper list, in centimetres.
        {"Beta E40  Oval labels", "", "USERP", 4.134, 5.827, "EL", 1.575, 0.984, 2, 4, 0.394, 0.472, 1.772, 1.181,
         "", "BETA"},
        // A page of its own, wider than high, in points and bare numbers.
        {"Gamma PC-4  Postcards", "", "USERL", 11, 8.5, "SR", 5, 4, 2, 2, 0.5, 0.25, 5, 4, "CARD PRODUCTS", "GAMMA"},
    };
    ASSERT_EQ(read.size(), std::size(expected));
    for (size_t i = 0; i < read.size(); ++i) {
        const Expected& e = expected[i];
        const CatalogueStock& p = read[i];
        const LabelStock& s = p.row.stock;
        SCOPED_TRACE(e.name);
        EXPECT_EQ(p.row.description, e.name);
        EXPECT_EQ(s.tplDescrip, e.name);
        EXPECT_EQ(p.equivalentOf, e.equivalentOf);
        EXPECT_EQ(s.paperSize, e.paper);
        EXPECT_DOUBLE_EQ(s.sheetWidth, e.sheetWidth);
        EXPECT_DOUBLE_EQ(s.sheetDepth, e.sheetDepth);
        EXPECT_EQ(s.shape, e.shape);
        EXPECT_DOUBLE_EQ(s.width, e.width);
        EXPECT_DOUBLE_EQ(s.height, e.height);
        EXPECT_EQ(s.across, e.across);
        EXPECT_EQ(s.down, e.down);
        EXPECT_DOUBLE_EQ(s.leftMargin, e.left);
        EXPECT_DOUBLE_EQ(s.topMargin, e.top);
        EXPECT_DOUBLE_EQ(s.horizPitch, e.hpitch);
        EXPECT_DOUBLE_EQ(s.vertPitch, e.vpitch);
        EXPECT_EQ(s.prodType, e.productType);
        EXPECT_EQ(s.manufac, e.maker);
        EXPECT_TRUE(s.printer.isEmpty() && s.art.isEmpty());
        EXPECT_EQ(s.midExtraX, 0.0);
        EXPECT_EQ(s.midExtraY, 0.0);
        EXPECT_TRUE(LabelDefs::CheckStock(s).isEmpty());
    }
    EXPECT_EQ(counts.products, 8);
    EXPECT_EQ(counts.files, 4);
    EXPECT_EQ(counts.multipleLayouts, 1);  // T2
    EXPECT_EQ(counts.rolls, 1);            // ROLL1
    EXPECT_EQ(counts.unknownShapes, 1);    // CD1
    EXPECT_EQ(counts.unprintable, 1);      // W12: 12 across
    EXPECT_EQ(counts.unreadable, 0);
    EXPECT_TRUE(counts.message().contains("1 with more than one layout, 1 continuous rolls")) << counts.message().toStdString();

    // Without the user's folder the system's own B7160 is read.
    const std::vector<CatalogueStock> system = LabelCatalogue::Read({kSystem});
    const auto b7160 = std::find_if(system.begin(), system.end(), [](const CatalogueStock& p) { return p.part == "B7160"; });
    ASSERT_NE(b7160, system.end());
    EXPECT_EQ(b7160->row.description, "Beta B7160  Mailing labels");
    EXPECT_DOUBLE_EQ(b7160->row.stock.width, 2.5);
    EXPECT_DOUBLE_EQ(b7160->row.stock.leftMargin, 0.283);
}

TEST(LabelCatalogueTest, SearchFindsWordsAndSizesInAnyOrderAndCase) {
    struct Case {
        const char* search;
        const char* text;
        double width, height;
        bool matches;
    };
    const char* const address = "Avery 5160 Address Labels";
    const char* const shipping = "Avery 5163 Shipping Labels";
    const Case cases[] = {
        {"", address, 2.625, 1, true},
        {"5160", address, 2.625, 1, true},
        {"labels AVERY", address, 2.625, 1, true},
        {"5160 badge", address, 2.625, 1, false},
        {"2x4", shipping, 4, 2, true},
        {"2 X 4", shipping, 4, 2, true},
        {"4x2", shipping, 4, 2, true},
        {"shipping 2x4", shipping, 4, 2, true},
        {"2x4 shipping", address, 4, 2, false},   // the size fits, the word does not
        {"shipping 2x4", shipping, 4, 2.125, false},  // more than 1/16 in off
        {"1.9375 x 4", shipping, 4, 2, true},     // 1/16 in off
        {"1 x 2-5/8", address, 2.625, 1, true},
        {"2-5/8X1", address, 2.625, 1, true},
        {"1 x 5/8", address, 0.625, 1, true},
        {"4 x 2 in", shipping, 4, 2, true},
        {"4\" x 2\"", shipping, 4, 2, true},
        {"63.5 x 38.1", "L7160", 2.5, 1.5, true},  // above any sheet in inches: millimetres
        {"38,1 x 63,5", "L7160", 2.5, 1.5, true},
        {"63 x 38", "L7160", 2.5, 1.5, true},      // within a millimetre
        {"61 x 38", "L7160", 2.5, 1.5, false},
        {"6.35 x 3.81 cm", "L7160", 2.5, 1.5, true},
        {"10 x 15", "tiny", 10 / 25.4, 15 / 25.4, true},
        {"8.5 x 11", "full sheet", 8.5, 11, true},
    };
    for (const Case& c : cases) {
        EXPECT_EQ(StockSearch(c.search).matches(c.text, c.width, c.height), c.matches) << c.search << " / " << c.text;
    }
    // A product number is a word, not a size.
    EXPECT_FALSE(StockSearch("L7160 x").hasSize());
    EXPECT_FALSE(StockSearch("5160").hasSize());
    EXPECT_EQ(StockSearch("avery 2x4 shipping").words(), QStringList({"avery", "shipping"}));
}

TEST(LabelCatalogueTest, CacheInTheHomeIsUsedUntilAFileIsNewerOrTheFoldersChange) {
    TempDir dir;
    const AppHome home(QString::fromStdString(dir.path()));
    ASSERT_TRUE(QDir().mkpath(home.sysDataDir()));
    const QString folder = QString::fromStdString(dir.file("templates"));
    ASSERT_TRUE(QDir().mkpath(folder));
    for (const QString& name : QDir(kSystem).entryList(QDir::Files))
        ASSERT_TRUE(QFile::copy(kSystem + "/" + name, folder + "/" + name));
    qputenv("QUILLORY_LABEL_TEMPLATES", folder.toLocal8Bit());

    const std::vector<CatalogueStock> first = LabelCatalogue::Load(home);
    ASSERT_EQ(first.size(), 7u);
    const QString cache = home.sysDataDir() + "/" + LabelCatalogue::kCacheFile;
    ASSERT_TRUE(QFileInfo::exists(cache));
    // Read back, every product is as read from the files.
    const std::vector<CatalogueStock> again = LabelCatalogue::Load(home);
    ASSERT_EQ(again.size(), first.size());
    for (size_t i = 0; i < first.size(); ++i) {
        EXPECT_EQ(again[i].searchText(), first[i].searchText());
        EXPECT_EQ(again[i].row.description, first[i].row.description);
        const LabelStock &a = again[i].row.stock, &b = first[i].row.stock;
        EXPECT_TRUE(a.width == b.width && a.height == b.height && a.across == b.across && a.down == b.down &&
                    a.leftMargin == b.leftMargin && a.topMargin == b.topMargin && a.horizPitch == b.horizPitch &&
                    a.vertPitch == b.vertPitch && a.sheetWidth == b.sheetWidth && a.sheetDepth == b.sheetDepth &&
                    a.paperSize == b.paperSize && a.shape == b.shape && a.prodType == b.prodType &&
                    a.manufac == b.manufac)
            << i;
    }

    // The cache is what is read while nothing changed: a mark put into it comes back.
    const auto mark = [&] {
        QFile file(cache);
        if (!file.open(QIODevice::ReadOnly)) return false;
        QString text = QString::fromUtf8(file.readAll());
        file.close();
        text.replace("Round Labels", "Marked Labels");
        return file.open(QIODevice::WriteOnly | QIODevice::Truncate) && file.write(text.toUtf8()) > 0;
    };
    const auto marked = [&] {
        for (const CatalogueStock& p : LabelCatalogue::Load(home))
            if (p.description == "Marked Labels") return true;
        return false;
    };
    ASSERT_TRUE(mark());
    EXPECT_TRUE(marked());

    // A template file changed later: the files are read again.
    QFile alpha(folder + "/alpha-us-templates.xml");
    ASSERT_TRUE(alpha.open(QIODevice::ReadWrite));
    ASSERT_TRUE(alpha.setFileTime(QDateTime::currentDateTime().addSecs(60), QFileDevice::FileModificationTime));
    alpha.close();
    EXPECT_FALSE(marked());

    // Another folder list: read again as well.
    ASSERT_TRUE(mark());
    EXPECT_TRUE(marked());
    qputenv("QUILLORY_LABEL_TEMPLATES", (kUser + ":" + folder).toLocal8Bit());
    EXPECT_FALSE(marked());
    EXPECT_EQ(LabelCatalogue::Load(home).size(), 8u);

    // No folder: no catalogue.
    qputenv("QUILLORY_LABEL_TEMPLATES", QByteArray(dir.file("none").c_str()));
    EXPECT_TRUE(LabelCatalogue::Load(home).empty());
    qunsetenv("QUILLORY_LABEL_TEMPLATES");
}
