// Label definitions: the stock editor's checks and units, the template picker's query,
// the naming of layout files, LABEL.DBF records read and written, and the paper check.

#include <gtest/gtest.h>

#include <QDir>
#include <QFile>

#include "AppHome.h"
#include "LabelDefinition.h"
#include "LabelPrint.h"
#include "SystemTables.h"
#include "TempDir.h"

using namespace LabelDefs;

TEST(LabelDefinitionTest, StockChecksComeInOrderAndStopAtTheFirst) {
    struct Case {
        const char* what;
        void (*change)(LabelStock&);
        const char* message;  // empty: accepted
    };
    const Case cases[] = {
        {"the defaults", [](LabelStock&) {}, ""},
        {"low and narrow", [](LabelStock& s) { s.height = 0.29; s.width = 0.1; },
         "Label Height must be at least .3 inches (or 7mm)"},
        {"narrow", [](LabelStock& s) { s.width = 0.499; }, "Label Width must be at least .5 inch (or 13mm)"},
        {"pitch under width, 3 across", [](LabelStock& s) { s.horizPitch = 2.6; },
         "Horizontal Pitch must be at least = Label Width"},
        {"pitch under width, 1 across", [](LabelStock& s) { s.horizPitch = 2.6; s.across = 1; }, ""},
        {"pitch under height, 10 down", [](LabelStock& s) { s.vertPitch = 0.9; },
         "Vertical Pitch must be at least = Label Height"},
        {"pitch under height, 1 down", [](LabelStock& s) { s.vertPitch = 0.9; s.down = 1; }, ""},
        {"thin sheet", [](LabelStock& s) { s.sheetWidth = 0.2; s.sheetDepth = 0; },
         "Page Width must be at least .3 inch"},
        {"short sheet", [](LabelStock& s) { s.sheetDepth = 0.29; }, "Page Height must be at least .3 inches"},
    };
    for (const Case& c : cases) {
        LabelStock stock;
        c.change(stock);
        EXPECT_EQ(CheckStock(stock), QString(c.message)) << c.what;
    }
}

TEST(LabelDefinitionTest, MillimetresAreStoredAsInchesOfThreeDecimals) {
    EXPECT_DOUBLE_EQ(StoredLength(MillimetresToInches(25)), 0.984);
    EXPECT_DOUBLE_EQ(StoredLength(MillimetresToInches(67)), 2.638);
    EXPECT_DOUBLE_EQ(StoredLength(MillimetresToInches(InchesToMillimetres(2.625))), 2.625);
    EXPECT_DOUBLE_EQ(StoredLength(0.0005), 0.001);  // rounded, not cut
}

TEST(LabelDefinitionTest, TemplateFilterJoinsTheChosenConditions) {
    const QString avery = " UPPER(manufac)=\"AVERY\" ", lj = " UPPER(printer)=\"LJ\" ";
    const QString address = " UPPER(PRODTYPE)=\"ADDRESS/SHIPPING LABELS\" ";
    const QString europe = " (\"A4\"$UPPER(PAPERSIZE) OR \"A5\"$UPPER(PAPERSIZE))";
    struct Case {
        const char* maker;
        int product;
        bool european;
        QString expected;
    };
    const Case cases[] = {
        {"Avery Laserjet", 0, false, avery + " and " + lj + " and " + address},
        {"Costar LabelPrinter", 6, false, " UPPER(manufac)=\"COSTAR\"  and  UPPER(printer)=\"LP\" "},
        {"Avery Inkjet", 5, true,
         avery + " and  UPPER(printer)=\"IJ\"  and  UPPER(PRODTYPE)=\"MISCELLANEOUS\"  and " + europe},
        {"Avery Dot Matrix", 3, false,
         avery + " and  UPPER(printer)=\"DM\"  and  UPPER(PRODTYPE)=\"FILE FOLDER LABELS\" "},
        {"", 6, true, europe},
        {"", 6, false, ""},
    };
    for (const Case& c : cases)
        EXPECT_EQ(TemplateFilter(c.maker, c.product, c.european), c.expected) << c.maker << " " << c.product;
}

TEST(LabelDefinitionTest, LayoutFilesTakeTheFirstFreeName) {
    TempDir dir;
    const QString sys = QString::fromStdString(dir.path());
    auto touch = [&](const char* name) {
        QFile f(sys + "/" + name);
        ASSERT_TRUE(f.open(QIODevice::WriteOnly));
    };
    EXPECT_EQ(NextLayoutFileName(sys), "BIN00001.L");
    touch("BIN00001.L");
    touch("bin00002.l");  // any letter case counts
    EXPECT_EQ(NextLayoutFileName(sys), "BIN00003.L");
    QFile::remove(sys + "/bin00002.l");
    touch("BIN00003.L");
    EXPECT_EQ(NextLayoutFileName(sys), "BIN00002.L");  // the gap first
}

TEST(LabelDefinitionTest, DefinitionsRoundTripThroughLabelDbf) {
    TempDir dir;
    const AppHome home(QString::fromStdString(dir.path()));
    QString error;
    ASSERT_TRUE(home.ensureExists(&error)) << error.toStdString();
    std::unique_ptr<xbase::Table> table;
    ASSERT_TRUE(SystemTables::OpenLabelTable(home, &table, &error)) << error.toStdString();

    // A definition of the same name, marked deleted, comes first and is never found.
    LabelDefinition gone = StandByDefinition();
    gone.description = "Shipping";
    ASSERT_TRUE(table->appendBlank().ok());
    ASSERT_TRUE(WriteDefinition(*table, gone, &error));
    ASSERT_TRUE(table->deleteRecord().ok());
    ASSERT_TRUE(table->commit().ok());

    LabelDefinition def = NewDefinition();
    EXPECT_EQ(def.description, kNewLabel);
    def.description = "Shipping";
    def.binary = "BIN00007.L";
    def.stock.tplDescrip.clear();
    def.stock.manufac = "USER";
    def.stock.paperSize = "A4L";
    def.stock.width = MillimetresToInches(67);
    ASSERT_TRUE(table->appendBlank().ok());
    ASSERT_TRUE(WriteDefinition(*table, def, &error)) << error.toStdString();
    ASSERT_TRUE(table->commit().ok());

    EXPECT_EQ(FindDefinition(*table, "  shipping "), 2u);
    const LabelDefinition back = ReadDefinition(*table);
    EXPECT_EQ(back.description, "Shipping");
    EXPECT_EQ(back.binary, "BIN00007.L");
    EXPECT_DOUBLE_EQ(back.stock.width, 2.638);
    EXPECT_EQ(back.stock.across, 3);
    EXPECT_EQ(back.stock.down, 10);
    EXPECT_TRUE(back.stock.landscape());
    EXPECT_EQ(SheetName(back.stock), kUserDefined);
    EXPECT_EQ(FindDefinition(*table, "Nothing"), 0u);

    const LabelDefinition standBy = StandByDefinition();
    EXPECT_EQ(standBy.description, "Default Label Setup");
    EXPECT_DOUBLE_EQ(standBy.stock.horizPitch, 2.75);
    EXPECT_EQ(standBy.stock.prodType, "ADDRESS LABELS");
    EXPECT_TRUE(standBy.binary.isEmpty());
    EXPECT_EQ(SheetName(standBy.stock), "Avery 5160  Address");
}

TEST(LabelDefinitionTest, PaperCheckAllowsFiveHundredthsAndTurnsLandscape) {
    LabelStock letter;
    const LabelPrint::Paper portrait = LabelPrint::Paper::Of(letter);
    EXPECT_EQ(portrait.code, 1);
    EXPECT_TRUE(LabelPrint::PaperMatches(portrait, 8.54, 11.0));
    EXPECT_TRUE(LabelPrint::PaperMatches(portrait, 8.5, 10.95));
    EXPECT_FALSE(LabelPrint::PaperMatches(portrait, 8.56, 11.0));
    EXPECT_FALSE(LabelPrint::PaperMatches(portrait, 8.5, 11.06));

    LabelStock wide;
    wide.paperSize = "USERL";
    wide.sheetWidth = 6;
    wide.sheetDepth = 4;
    const LabelPrint::Paper landscape = LabelPrint::Paper::Of(wide);
    EXPECT_EQ(landscape.code, 0);
    EXPECT_DOUBLE_EQ(landscape.width, 4);
    EXPECT_DOUBLE_EQ(landscape.height, 6);
    EXPECT_TRUE(LabelPrint::PaperMatches(landscape, 6, 4));  // the page as the landscape job sees it
    EXPECT_EQ(LabelPrint::PaperQuestion(landscape),
              "Unable to confirm that the paper size was set to\r\n\r\n4.00\" by 6.00\"\r\n\r\n"
              "(you may have the wrong printer selected)\r\n\r\nWould you like to try printing anyways?");
}

TEST(LabelDefinitionTest, PickerPreselectsMakerAndProductOfTheStock) {
    struct Case {
        const char *manufac, *printer, *prodType;
        int maker, product;  // -1: no maker entry
    };
    const Case cases[] = {
        {"AVERY", "LJ", "ADDRESS/SHIPPING LABELS", 0, 0},
        {"avery", "IJ", "card products", 1, 1},
        {"AVERY", "DM", "INDEX PRODUCTS", 2, 4},
        {"COSTAR", "LP", "MISCELLANEOUS", 3, 5},
        {"NEBS", "LJ", "ADDRESS/SHIPPING LABELS", -1, 0},  // the list has no NEBS entries
        {"OTHERCO", "LJ", "NAME BADGES", 0, 6},            // unknown maker: Avery Laserjet; type: All
        {"USER", "", "", 0, 0},                            // hand-made: Avery address labels
    };
    for (const Case& c : cases) {
        LabelStock stock;
        stock.manufac = c.manufac;
        stock.printer = c.printer;
        stock.prodType = c.prodType;
        EXPECT_EQ(PreselectedMaker(stock), c.maker) << c.manufac << " " << c.printer;
        EXPECT_EQ(PreselectedProduct(stock), c.product) << c.prodType;
    }
}

TEST(LabelDefinitionTest, SearchNeedsEveryWordInAnyCase) {
    EXPECT_TRUE(MatchesSearch("Avery 5160  Address", ""));
    EXPECT_TRUE(MatchesSearch("Avery 5160  Address", "5160"));
    EXPECT_TRUE(MatchesSearch("Avery 5164  Shipping 4 x 3-1/3", "shipping avery"));
    EXPECT_FALSE(MatchesSearch("Avery 5164  Shipping 4 x 3-1/3", "shipping 2x4"));
    EXPECT_FALSE(MatchesSearch("Avery 5160  Address", "5160 badge"));
}
