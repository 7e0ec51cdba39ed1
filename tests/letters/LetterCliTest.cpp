// The letters from the command line, run as a script would: a letter written by
// another program, stored in LETTER.DBF by Python's dbf package, merged with a record
// and printed to PDF (read back with poppler); letters exported and read back by
// unrtf; and bad input that is refused without harm to LETTER.DBF.

#include <gtest/gtest.h>

#include <QDate>
#include <QFile>
#include <QLocale>
#include <QRegularExpression>
#include <QString>

#include "RunQuillory.h"
#include "Table.h"

namespace {

const std::string kFixtures = QUILLORY_TEST_DIR "/fixtures/";

struct Record {
    std::vector<std::pair<const char*, const char*>> fields;
    bool isDel = false;
};

class LetterCliTest : public ::testing::Test {
  protected:
    void SetUp() override {
        ASSERT_EQ(runQuillory({"new", table()}, home_).exitCode, 0);
        std::unique_ptr<xbase::Table> t;
        ASSERT_TRUE(xbase::Table::open(table(), xbase::OpenMode::Exclusive, &t).ok());
        const Record records[] = {
            {{{"PREFIX", "Dr."}, {"FNAME", "Ann"}, {"MIDDLE", "Q"}, {"LNAME", "Lee"}, {"TITLE", "Director"},
              {"ORG", "Acme"}, {"STREET", "1 Main St"}, {"STREET2", "Suite 5"}, {"CITY", "Springfield"},
              {"STATE", "IL"}, {"ZIP", "62701"}, {"COUNTRY", "USA"}, {"PHONE", "555-0100"},
              {"PHONE2", "555-0101"}, {"FAX", "555-0102"}, {"EMAIL", "ann@acme.example"}, {"USER1", "Gold"},
              {"USER2", "Since 1999"}}},
            {{{"LNAME", "Smith"}}},
            {{{"LNAME", "Gone"}}, true},
        };
        for (const Record& r : records) {
            ASSERT_TRUE(t->appendBlank().ok());
            for (const auto& [name, value] : r.fields) ASSERT_TRUE(t->replace(t->fieldIndex(name), value).ok());
            ASSERT_TRUE(t->replaceLogical(t->fieldIndex("ISDEL"), r.isDel).ok());
            ASSERT_TRUE(t->commit().ok());
        }
        ASSERT_TRUE(t->close().ok());
    }

    std::string table() const { return home_.file("ADDR.DBF"); }

    // LETTER.DBF as another program writes it: Python's dbf package, FoxPro 2 with an
    // FPT memo, no index.
    void writeLetterTableWithPython(const std::string& description, const std::string& rtfFile) {
        const std::string script =
            "import dbf,sys\n"
            "t = dbf.Table(sys.argv[1], 'DESCRIPT C(50); RTF M', dbf_type='fp', codepage='cp1252')\n"
            "t.open(mode=dbf.READ_WRITE)\n"
            "t.append((sys.argv[2], open(sys.argv[3], encoding='latin-1', newline='').read()))\n"
            "t.close()\n";
        std::string cmd = "mkdir -p " + shellQuote(home_.file("sysdata")) + " && /usr/bin/python3 -c " + shellQuote(script) +
                          " " + shellQuote(home_.file("sysdata/LETTER.DBF")) + " " + shellQuote(description) +
                          " " + shellQuote(rtfFile);
        int code = 0;
        const std::string out = runCommand(cmd, &code);
        ASSERT_EQ(code, 0) << out;
    }

    // The PDF's text with every run of white space made one blank.
    static std::string pdfText(const std::string& pdf) {
        return QString::fromStdString(runCommand("pdftotext " + shellQuote(pdf) + " -")).simplified().toStdString();
    }
    static int pdfPages(const std::string& pdf) {
        const std::string info = runCommand("pdfinfo " + shellQuote(pdf));
        const auto m = QRegularExpression("Pages:\\s+(\\d+)").match(QString::fromStdString(info));
        return m.hasMatch() ? m.captured(1).toInt() : -1;
    }

    TempDir home_;
};

TEST_F(LetterCliTest, LetterFromAnotherProgramMergesEveryFieldAndPrints) {
    writeLetterTableWithPython("Order letter", kFixtures + "order-letter.rtf");
    const auto defs = runQuillory({"letter-defs"}, home_);
    ASSERT_EQ(defs.exitCode, 0) << defs.err;
    EXPECT_EQ(defs.out, "Order letter\n");

    const auto merged = runQuillory({"letter-merge", table(), "--letter", "Order letter", "--recno", "1"}, home_);
    ASSERT_EQ(merged.exitCode, 0) << merged.err;
    const QDate today = QDate::currentDate();
    const QLocale locale = QLocale::system();
    const QString expected =
        locale.toString(today, QLocale::ShortFormat) + "\n" + locale.monthName(today.month(), QLocale::ShortFormat) +
        QString(" %1, %2\n").arg(today.day()).arg(today.year()) +
        "Dr. Ann Q. Lee \nDirector,  Acme\n1 Main St\nSuite 5\nSpringfield IL  62701\nUSA\n\n"
        "Dear Dr. Ann Q. Lee,\n" +
        QString("Caf\u00e9 na\u00efve \u20ac10: we write to Dr. Ann Q. Lee at Acme (Director) about 1 Main St, "
                "Suite 5, Springfield IL 62701 (Springfield, IL/IL 62701/62701, USA).\n") +
        "Phones: 555-0100 / 555-0101, fax 555-0102, mail ann@acme.example.\n"
        "\fNotes:\tGold\tSince 1999 [Unknown Token]\n\n";
    EXPECT_EQ(QString::fromStdString(merged.out), expected);

    // Smith has only a last name: the other tokens vanish, brackets and all.
    const auto smith = runQuillory({"letter-merge", table(), "--letter", "Order letter", "--recno", "2"}, home_);
    ASSERT_EQ(smith.exitCode, 0) << smith.err;
    EXPECT_NE(smith.out.find("Smith \n\nDear   . Smith,\n"), std::string::npos) << smith.out;
    EXPECT_EQ(smith.out.find("[First]"), std::string::npos);

    // Printed for every record not deleted: two pages each, on the letter's A4 sheet.
    const std::string pdf = home_.file("letters.pdf");
    const auto printed = runQuillory({"letters", table(), "--letter", "Order letter", "--all", "--pdf", pdf}, home_);
    ASSERT_EQ(printed.exitCode, 0) << printed.err;
    EXPECT_EQ(pdfPages(pdf), 4);
    EXPECT_NE(runCommand("pdfinfo " + shellQuote(pdf)).find("(A4)"), std::string::npos);
    const std::string text = pdfText(pdf);
    for (const char* s : {"Dear Dr. Ann Q. Lee,", "Springfield IL 62701", "ann@acme.example", "Since 1999",
                          "Dear . Smith,", "Notes:"})
        EXPECT_NE(text.find(s), std::string::npos) << s << "\n" << text;
    EXPECT_EQ(text.find("Gone"), std::string::npos);
    EXPECT_NE(text.find("Caf\xc3\xa9 na\xc3\xafve \xe2\x82\xac" "10"), std::string::npos);

    // Three copies of record 1's letter: six pages.
    const auto copies = runQuillory(
        {"letters", table(), "--letter", "Order letter", "--recno", "1", "--copies", "3", "--pdf", pdf}, home_);
    ASSERT_EQ(copies.exitCode, 0) << copies.err;
    EXPECT_EQ(pdfPages(pdf), 6);
}

TEST_F(LetterCliTest, ExportedLetterReadsTheSameInUnrtf) {
    ASSERT_EQ(runQuillory({"letter-import", "Order letter", kFixtures + "order-letter.rtf"}, home_).exitCode, 0);
    const std::string out = home_.file("export.rtf");
    const auto exported = runQuillory({"letter-export", "Order letter", out}, home_);
    ASSERT_EQ(exported.exitCode, 0) << exported.err;

    // The text unrtf reads, without its banner lines, against ours. Its text output is
    // Latin-1, which has no euro sign: that one word is left out on both sides.
    std::string unrtf = runCommand("unrtf --text --nopict " + shellQuote(out) + " 2>/dev/null");
    QString theirs;
    for (const QString& line : QString::fromLatin1(unrtf.data(), qsizetype(unrtf.size())).split('\n'))
        if (!line.startsWith("###") && !line.startsWith("-----")) theirs += line + "\n";
    auto words = [](const QString& s) {
        QStringList list = s.simplified().split(' ');
        list.removeIf([](const QString& w) { return w.endsWith("10:"); });
        return list;
    };
    const QStringList expected = words(
        QString("[Today's Date] [Long Date] [Name and Address] Dear [Prefix] [First] [Middle]. [Last], "
                "Caf\u00e9 na\u00efve \u20ac10: we write to [Full Name]at [Organization] ([Title]) about [Street], "
                "[Street 2], [City+State+Zip] ([City], [State]/[Province] [Zip]/[Postal Code], [Country]). "
                "Phones: [Phone] / [Phone 2], fax [Fax], mail [E-Mail]. Notes: [Comment 1] [Comment 2] [Unknown Token]"));
    EXPECT_EQ(words(theirs), expected) << unrtf;

    // The page settings and the break are in what we wrote.
    QFile written(QString::fromStdString(out));
    ASSERT_TRUE(written.open(QIODevice::ReadOnly));
    const QByteArray rtf = written.readAll();
    for (const char* s : {"\\paperw11906", "\\paperh16838", "\\margl1134", "\\margt1417", "\\page"})
        EXPECT_TRUE(rtf.contains(s)) << s;
    EXPECT_EQ(rtf.count("\\page"), 1);
}

TEST_F(LetterCliTest, BadInputIsRefusedAndNothingIsLost) {
    ASSERT_EQ(runQuillory({"letter-import", "Kept", kFixtures + "order-letter.rtf"}, home_).exitCode, 0);
    QFile::copy(QString::fromStdString(kFixtures + "order-letter.rtf"), QString::fromStdString(home_.file("x.txt")));
    {
        QFile plain(QString::fromStdString(home_.file("plain.txt")));
        ASSERT_TRUE(plain.open(QIODevice::WriteOnly));
        plain.write("Dear [First]");
    }
    struct Case {
        std::vector<std::string> args;
        int exitCode;
        const char* message;
    };
    const Case cases[] = {
        {{"letter-merge", table(), "--letter", "Nope", "--recno", "1"}, 1, "There is no letter \"Nope\""},
        {{"letter-merge", table(), "--letter", "Kept", "--recno", "99"}, 1, "Record 99 not found"},
        {{"letter-merge", table(), "--letter", "Kept", "--recno", "x"}, 2, "usage"},
        {{"letter-import", "Plain", home_.file("plain.txt")}, 1, "is not an RTF file"},
        {{"letter-import", "\xc5\x81\xc3\xb3" "d\xc5\xba", home_.file("x.txt")}, 1, "\xc5\x81"},
        {{"letter-import", std::string(51, 'z'), home_.file("x.txt")}, 1, "at most 50 characters"},
        {{"letter-export", "Nope", home_.file("n.rtf")}, 1, "There is no letter"},
        {{"letters", table(), "--letter", "Kept", "--all", "--recno", "1", "--pdf", home_.file("p.pdf")}, 2, "usage"},
        {{"letters", table(), "--letter", "Kept", "--copies", "1000", "--pdf", home_.file("p.pdf")}, 2, "usage"},
    };
    for (const Case& c : cases) {
        const auto r = runQuillory(c.args, home_);
        EXPECT_EQ(r.exitCode, c.exitCode) << c.args[0] << " " << c.args[1] << ": " << r.err;
        EXPECT_NE(r.err.find(c.message), std::string::npos) << r.err;
    }
    EXPECT_EQ(runQuillory({"letter-defs"}, home_).out, "Kept\n");

    // A damaged letter is stored and merges as far as it can be read.
    {
        QFile cut(QString::fromStdString(home_.file("cut.rtf")));
        ASSERT_TRUE(cut.open(QIODevice::WriteOnly));
        cut.write("{\\rtf1\\ansi Dear [First] [Las");
    }
    ASSERT_EQ(runQuillory({"letter-import", "Cut", home_.file("cut.rtf")}, home_).exitCode, 0);
    const auto r = runQuillory({"letter-merge", table(), "--letter", "Cut", "--recno", "1"}, home_);
    EXPECT_EQ(r.exitCode, 0);
    EXPECT_EQ(r.out, "Dear Ann [Las\n");
    EXPECT_EQ(runQuillory({"letter-defs"}, home_).out, "Kept\nCut\n");
}

}  // namespace
