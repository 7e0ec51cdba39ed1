// The label commands run as a script would, on a definition made by another program:
// LABEL.DBF written by Python's dbf package and a layout file whose bytes are written
// here by hand. The PDF is read back with poppler for every label's text and place.

#include <gtest/gtest.h>

#include <QDir>
#include <QFile>
#include <QRegularExpression>
#include <QString>
#include <fstream>

#include "LabelTestSupport.h"
#include "RunQuillory.h"
#include "Table.h"

namespace {

// One row of LABEL.DBF as another program stores it.
struct DefRow {
    std::string description;
    double height, width;
    int across, down;
    double top, left, hpitch, vpitch, sheetWidth, sheetDepth;
    std::string paper, binary;
    double midX = 0;
    bool deleted = false;
};

struct Word {
    QString text;
    double x, y;  // top-left, inches
};

class LabelCliTest : public ::testing::Test {
  protected:
    void SetUp() override {
        std::unique_ptr<xbase::Table> t;
        std::vector<Person> list;
        for (int i = 1; i <= 5; ++i) list.push_back({"Name" + std::to_string(i), "1000" + std::to_string(i)});
        ASSERT_TRUE(makeAddressFile(table(), list, &t));
        ASSERT_TRUE(t->close().ok());
        ASSERT_TRUE(QDir().mkpath(QString::fromStdString(home_.file("sysdata"))));
    }

    std::string table() const { return home_.file("ADDR.DBF"); }
    std::string pdf() const { return home_.file("labels.pdf"); }

    // LABEL.DBF written by Python's dbf package: version 3, no index, the program's columns.
    void writeLabelTable(const std::vector<DefRow>& rows) {
        std::string script =
            "import dbf,sys\n"
            "t = dbf.Table(sys.argv[1], 'DESCRIPT C(60); PRINTER C(2); LBLHEIGHT N(6,3); LBLWIDTH N(6,3); "
            "NBRACROSS N(2,0); NBRDOWN N(2,0); TOPMARG N(6,3); LEFTMARG N(6,3); HORIZPITCH N(6,3); "
            "VERTPITCH N(6,3); SHEETWIDTH N(6,3); SHEETDEPTH N(6,3); PAPERSIZE C(5); LBLSHAPE C(2); "
            "TPLDESCRIP C(60); MANUFAC C(10); PRODTYPE C(25); MIDEXTRAX N(6,3); MIDEXTRAY N(6,3); ART C(12); "
            "DELETED L; BINARY C(12)', dbf_type='db3', codepage='cp1252')\n"
            "t.open(mode=dbf.READ_WRITE)\n";
        for (const DefRow& r : rows) {
            char line[1024];
            snprintf(line, sizeof line,
                     "t.append(('%s','LJ',%g,%g,%d,%d,%g,%g,%g,%g,%g,%g,'%s','RR','','USER','',%g,0,'',False,'%s'))\n",
                     r.description.c_str(), r.height, r.width, r.across, r.down, r.top, r.left, r.hpitch, r.vpitch,
                     r.sheetWidth, r.sheetDepth, r.paper.c_str(), r.midX, r.binary.c_str());
            script += line;
            if (r.deleted) script += "dbf.delete(t[-1])\n";
        }
        script += "t.close()\n";
        int code = 0;
        const std::string out = runCommand("/usr/bin/python3 -c " + shellQuote(script) + " " +
                                               shellQuote(home_.file("sysdata/LABEL.DBF")),
                                           &code);
        ASSERT_EQ(code, 0) << out;
    }

    void writeFile(const std::string& name, const QByteArray& bytes) {
        std::ofstream(home_.file(name), std::ios::binary) << bytes.toStdString();
    }

    QByteArray readFile(const std::string& path) {
        QFile f(QString::fromStdString(path));
        return f.open(QIODevice::ReadOnly) ? f.readAll() : QByteArray();
    }

    // The PDF's words in drawing order, with their boxes' top-left corners in inches.
    std::vector<Word> words() {
        const QString html = QString::fromStdString(runCommand("pdftotext -raw -bbox " + shellQuote(pdf()) + " -"));
        static const QRegularExpression word(
            "<word xMin=\"([\\d.]+)\" yMin=\"([\\d.]+)\" xMax=\"[\\d.]+\" yMax=\"[\\d.]+\">([^<]*)</word>");
        std::vector<Word> list;
        for (auto it = word.globalMatch(html); it.hasNext();) {
            const auto m = it.next();
            list.push_back({m.captured(3), m.captured(1).toDouble() / 72, m.captured(2).toDouble() / 72});
        }
        return list;
    }

    TempDir home_;
};

// A 2-across stock not like the default sheet: every place comes from the DBF.
const DefRow kShipping{"Shipping 2 x 4", 2.0, 4.0, 2, 5, 0.75, 0.25, 4.125, 2.0625, 8.5, 11.0, "LTR", "BIN00001.L",
                       0.0625};

}  // namespace

TEST_F(LabelCliTest, DefinitionFromAnotherProgramPrintsEveryLabelWhereTheStockSays) {
    writeLabelTable({kShipping});
    writeFile("sysdata/BIN00001.L", handlayout::list(handlayout::fieldObject("Last Name", 0, 0) +
                                                     handlayout::fieldObject("Zip/Postal Code", 96, 48)));
    const auto defs = runQuillory({"label-defs"}, home_);
    ASSERT_EQ(defs.exitCode, 0) << defs.err;
    EXPECT_EQ(defs.out, "Shipping 2 x 4\t[User Defined]\t2.000 x 4.000\t2 x 5\tLTR\tBIN00001.L\n");

    const auto r = runQuillory({"labels", table(), "--label", "SHIPPING 2 x 4", "--pdf", pdf()}, home_);
    ASSERT_EQ(r.exitCode, 0) << r.err;
    EXPECT_NE(r.out.find("Label Print Completed! 5 labels, 1 page"), std::string::npos) << r.out;

    const std::vector<Word> found = words();
    ASSERT_EQ(found.size(), 10u);
    for (int i = 0; i < 5; ++i) {
        const int b = i % 2, c = i / 2;
        const double x = kShipping.left + b * kShipping.hpitch + (b >= 1 ? kShipping.midX : 0);
        const double y = kShipping.top + c * kShipping.vpitch;
        const Word& name = found[size_t(2 * i)];
        const Word& zip = found[size_t(2 * i + 1)];
        EXPECT_EQ(name.text, QString("Name%1").arg(i + 1));
        EXPECT_EQ(zip.text, QString("1000%1").arg(i + 1));
        // The text box's corner is the object's corner: the label's, and 1 in by 0.5 in into it.
        EXPECT_NEAR(name.x, x, 0.01) << i;
        EXPECT_NEAR(name.y, y, 0.01) << i;
        EXPECT_NEAR(zip.x, x + 1.0, 0.01) << i;
        EXPECT_NEAR(zip.y, y + 0.5, 0.01) << i;
    }

    // The last three positions of each sheet, records 2 to 5 twice each.
    const auto chosen = runQuillory({"labels", table(), "--label", "Shipping 2 x 4", "--positions", "8-10",
                                     "--copies", "2", "--start-recno", "2", "--pdf", pdf()},
                                    home_);
    ASSERT_EQ(chosen.exitCode, 0) << chosen.err;
    EXPECT_NE(chosen.out.find("8 labels, 3 pages"), std::string::npos) << chosen.out;
}

TEST_F(LabelCliTest, PresortPrintsGroupsInListOrderWithAHeaderBeforeEach) {
    writeLabelTable({{"Presorted", 1.0, 2.625, 3, 10, 0.5, 0.188, 2.75, 1.0, 8.5, 11.0, "LTR", "BIN00001.L"}});
    writeFile("sysdata/BIN00001.L", handlayout::list(handlayout::fieldObject("Last Name", 0, 0)));
    // A mixed file: a lone ZIP first, then a 3-digit group's ten, then a 5-digit group's twelve.
    std::unique_ptr<xbase::Table> t;
    std::vector<Person> list{{"Lone", "99999"}};
    for (int i = 0; i < 10; ++i) list.push_back({"Three" + std::to_string(i), "3051" + std::to_string(i)});
    for (int i = 0; i < 12; ++i) list.push_back({"Five" + std::to_string(i), "20001"});
    const std::string mixed = home_.file("MIXED.DBF");
    ASSERT_TRUE(makeAddressFile(mixed, list, &t));
    ASSERT_TRUE(t->close().ok());

    const auto r = runQuillory({"labels", mixed, "--label", "Presorted", "--presort", "--pdf", pdf()}, home_);
    ASSERT_EQ(r.exitCode, 0) << r.err;
    EXPECT_NE(r.out.find("23 labels and 3 headers"), std::string::npos) << r.out;
    EXPECT_NE(r.err.find("Labels will print/preview in the following order:"), std::string::npos) << r.err;

    QStringList texts;
    for (const Word& w : words()) texts << w.text;
    QStringList expected{"**", "5-digit", "20001"};
    for (int i = 0; i < 12; ++i) expected << QString("Five%1").arg(i);
    expected << "**" << "3-digit" << "305";
    for (int i = 0; i < 10; ++i) expected << QString("Three%1").arg(i);
    ASSERT_GE(texts.size(), expected.size() + 2) << texts.join(" ").toStdString();
    EXPECT_EQ(texts.mid(0, expected.size()), expected) << texts.join(" ").toStdString();
    EXPECT_EQ(texts.mid(expected.size(), 1), QStringList{"**"});
    EXPECT_EQ(texts.last(), "Lone");
    EXPECT_EQ(texts.count("**"), 3);
}

TEST_F(LabelCliTest, BadDefinitionsAndSelectionsAreRefusedAndNothingIsWritten) {
    DefRow missing = kShipping, damaged = kShipping, zero = kShipping, negative = kShipping, legal = kShipping;
    missing.description = "Missing";
    missing.binary = "BIN00009.L";
    damaged.description = "Damaged";
    damaged.binary = "BIN00002.L";
    zero.description = "Zero";
    zero.across = 0;
    negative.description = "Negative";
    negative.height = -1;
    legal.description = "Legal";
    legal.sheetDepth = 14;
    DefRow gone = kShipping;
    gone.description = "Gone";
    gone.deleted = true;
    writeLabelTable({kShipping, missing, damaged, zero, negative, legal, gone});
    writeFile("sysdata/BIN00001.L", handlayout::list(handlayout::fieldObject("Last Name", 0, 0)));
    QByteArray cut = handlayout::list(handlayout::fieldObject("Last Name", 0, 0));
    cut.chop(20);
    writeFile("sysdata/BIN00002.L", cut);
    std::vector<std::string> lines(18);
    lines[0] = "Nobody";
    std::string flt;
    for (const std::string& l : lines) flt += l + "\r\n";
    writeFile("none.FLT", QByteArray::fromStdString(flt + "F\r\nF\r\n"));
    const QByteArray before = readFile(table());

    struct Case {
        std::vector<std::string> args;
        int exitCode;
        const char* message;
    };
    const Case cases[] = {
        {{"--label", "Nothing"}, 1, "There is no label definition \"Nothing\""},
        {{"--label", "Gone"}, 1, "There is no label definition \"Gone\""},
        {{"--label", "Missing"}, 1, "Label definition file has been removed from the sysdata directory"},
        {{"--label", "Damaged"}, 1, "BIN00002.L: "},
        {{"--label", "Zero"}, 1, "has 0 across and 5 down"},
        {{"--label", "Negative"}, 1, "Label Height must be at least .3 inches (or 7mm)"},
        {{"--label", "Legal"}, 1, "Unable to confirm that the paper size was set to\n\n8.50\" by 14.00\""},
        {{"--label", "Shipping 2 x 4", "--filter", home_.file("none.FLT")}, 1, "There are no records to print"},
        {{"--label", "Shipping 2 x 4", "--positions", "11"}, 1, "--positions takes positions 1 to 10"},
        {{"--label", "Shipping 2 x 4", "--copies", "100"}, 2, "usage"},
        {{"--label", "Shipping 2 x 4", "--recno", "1", "--presort"}, 2, "usage"},
    };
    for (const Case& c : cases) {
        std::vector<std::string> args{"labels", table()};
        args.insert(args.end(), c.args.begin(), c.args.end());
        args.insert(args.end(), {"--pdf", pdf()});
        const auto r = runQuillory(args, home_);
        EXPECT_EQ(r.exitCode, c.exitCode) << c.args[1] << ": " << r.err;
        EXPECT_NE(r.err.find(c.message), std::string::npos) << c.args[1] << ": " << r.err;
        EXPECT_FALSE(QFile::exists(QString::fromStdString(pdf()))) << c.args[1];
    }
    EXPECT_EQ(readFile(table()), before);

    // The paper question answered by --force.
    const auto forced = runQuillory({"labels", table(), "--label", "Legal", "--force", "--pdf", pdf()}, home_);
    EXPECT_EQ(forced.exitCode, 0) << forced.err;
    EXPECT_TRUE(QFile::exists(QString::fromStdString(pdf())));
}

TEST_F(LabelCliTest, CalculatedFieldsPrintTheirValues) {
    writeLabelTable({kShipping});
    writeFile("sysdata/BIN00001.L", handlayout::list(handlayout::fieldObject("Full Name", 0, 0) +
                                                     handlayout::fieldObject("City, State & Zip", 0, 48)));
    const auto r = runQuillory({"labels", table(), "--label", "Shipping 2 x 4", "--recno", "3", "--pdf", pdf()}, home_);
    ASSERT_EQ(r.exitCode, 0) << r.err;
    QStringList texts;
    for (const Word& w : words()) texts << w.text;
    // A record with a last name and a ZIP only: the name alone, and the ZIP on the city line.
    EXPECT_EQ(texts, QStringList({"Name3", "10003"}));
}
