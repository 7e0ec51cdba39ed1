// The import and export commands on bad input: the program's message, exit code 1 (2
// for wrong usage), and nothing lost: the records before an error stay, the indexes
// are whole, and an export leaves no half-written file under the target's name.

#include <gtest/gtest.h>

#include <QDir>
#include <QFile>

#include "ImportTestSupport.h"
#include "RunQuillory.h"

namespace {

class ImportCliTest : public ::testing::Test {
  protected:
    void SetUp() override {
        table_ = dir_.file("a.DBF");
        ASSERT_EQ(quillory({"new", table_}).exitCode, 0);
        writeFile(file("good.csv"), "Adams,Ann\nBaker,Bob\n");
        ASSERT_EQ(
            quillory({"import-csv", table_, dir_.file("good.csv"), "--match", "LNAME=1,FNAME=2"}).exitCode,
            0);
    }
    QString file(const char* name) const { return QString::fromStdString(dir_.file(name)); }
    QuilloryResult quillory(std::vector<std::string> args) { return runQuillory(args, home_); }
    // The last names in the address file, and whether its 26 tags are all there.
    QStringList names(bool* indexed) {
        std::unique_ptr<xbase::Table> t;
        QString message;
        EXPECT_TRUE(AddressFile::OpenTableFile(QString::fromStdString(table_), &t, &message));
        QStringList list;
        if (!t) return list;
        *indexed = AddressFile::CheckValidIndex(*t) && t->verifyIndexes().ok();
        for (const Record& r : recordsOf(*t)) list << r.value("LNAME");
        return list;
    }

    TempDir dir_, home_;
    std::string table_;
};

TEST_F(ImportCliTest, BadInputGivesTheMessageAndLosesNothing) {
    // A file of a 100 MB line after a good one: the good line goes in, the long one stops the import.
    {
        QFile big(file("big.csv"));
        ASSERT_TRUE(big.open(QIODevice::WriteOnly));
        big.write("Carter,Cy\n");
        const QByteArray chunk(1 << 20, 'x');
        for (int i = 0; i < 100; ++i) big.write(chunk);
        big.write("\nDavis\n");
    }
    writeFile(file("one.csv"), "only,one line\n");
    writeFile(file("nul.csv"), QByteArray("a\0b,c\nd,e\n", 11));
    writeFile(file("long.csv"), "Evans\n" + QByteArray(2049, 'y') + "\nFord\n");
    writeFile(file("junk.dbf"), QByteArray(700, 'j'));
    writeFile(file("polish.csv"), "Grant\nŁukasz\n");
    writeFile(file("bad.vcf"), "BEGIN:VCARD\nVERSION:3.0\nN:Hughes;;;;\nEND:VCARD\n"
                               "BEGIN:VCARD\nVERSION:3.0\nN:Irwin;;;;\nno colon here\nEND:VCARD\n");
    xbase::TableSpec older;
    older.fields = {{"LNAME", 'C', 10}, {"FNAME", 'C', 10}};
    ASSERT_TRUE(xbase::Table::create(dir_.file("old.dbf"), older).ok());
    const std::string t = table_;
    const struct {
        std::vector<std::string> args;
        int code;
        std::string message;
        QStringList names;  // afterwards
    } cases[] = {
        {{"import-csv", t, dir_.file("missing.csv"), "--match", "LNAME=1"}, 1, "Cannot read ", {}},
        {{"import-csv", t, dir_.file("one.csv"), "--match", "LNAME=1"},
         1,
         "Unable to import from this file",
         {}},
        {{"import-csv", t, dir_.file("nul.csv"), "--match", "LNAME=1"},
         1,
         "Unable to import from this file",
         {}},
        {{"import-csv", t, dir_.file("big.csv"), "--match", "LNAME=1"},
         1,
         "Unknown error reading ASCII file after importing 1 records.\nLine 2 is longer than 2048 characters",
         {"Carter"}},
        {{"import-csv", t, dir_.file("long.csv"), "--match", "LNAME=1"},
         1,
         "Line 2 is longer than 2048 characters",
         {"Carter", "Evans"}},
        {{"import-csv", t, dir_.file("polish.csv"), "--match", "LNAME=1"},
         1,
         "Line 2, Field 1 (Last Name): The character \"Ł\" cannot be stored in code page 1252",
         {"Carter", "Evans", "Grant"}},
        {{"import-csv", t, dir_.file("good.csv"), "--match", "Shoe size=1"}, 1, "no field Shoe size", {}},
        {{"import-csv", t, dir_.file("good.csv"), "--match", "LNAME=3"}, 1, "Field 3 is not in", {}},
        {{"import-csv", t, dir_.file("good.csv")}, 1, "No field is matched", {}},
        {{"import-csv", t, dir_.file("good.csv"), "--encoding", "EBCDIC-US"}, 1, "does not keep ASCII", {}},
        {{"import-csv", t, dir_.file("good.csv"), "--match", "LNAME"}, 2, "LABEL=N", {}},
        {{"import-dbf", t, dir_.file("junk.dbf")}, 1, "Unable to open the file " + dir_.file("junk.dbf"), {}},
        {{"import-dbf", t, t}, 1, "Cannot import a file to itself", {}},
        {{"import-dbf", t, dir_.file("old.dbf")}, 1, "There are no records in", {}},
        {{"import-old", t, dir_.file("old.dbf"), "--version", "1"}, 1, "There are no records in", {}},
        {{"import-old", t, dir_.file("good.csv"), "--version", "3"}, 2, "usage", {}},
        {{"import-csv", t, dir_.file("good.csv"), "--dialect", "excel"}, 2, "usage", {}},
        {{"import-vcard", t, dir_.file("missing.vcf")}, 1, "Cannot read ", {}},
        {{"import-vcard", t, dir_.file("bad.vcf"), "--address", "office"}, 2, "usage", {}},
        {{"import-vcard", t, dir_.file("bad.vcf"), "--stop-at-bad-card"},
         1,
         "Import stopped at a bad card after importing 1 records.\nLine 8: not a vCard property (no colon)",
         {"Hughes"}},
    };
    QStringList expected = {"Adams", "Baker"};
    for (const auto& c : cases) {
        SCOPED_TRACE(c.args[0] + " " + c.args[2]);
        const QuilloryResult r = quillory(c.args);
        EXPECT_EQ(r.exitCode, c.code) << r.err;
        EXPECT_NE(r.err.find(c.message), std::string::npos) << r.err;
        EXPECT_EQ(r.out, "");
        for (const QString& n : c.names) {
            if (!expected.contains(n)) expected << n;
        }
        bool indexed = false;
        EXPECT_EQ(names(&indexed), expected);
        EXPECT_TRUE(indexed);
    }

    // A file of the older release that lacks one of its fields.
    std::unique_ptr<xbase::Table> old;
    ASSERT_TRUE(xbase::Table::open(dir_.file("old.dbf"), xbase::OpenMode::Exclusive, &old).ok());
    ASSERT_TRUE(old->appendBlank().ok());
    ASSERT_TRUE(old->close().ok());
    const QuilloryResult r = quillory({"import-old", t, dir_.file("old.dbf"), "--version", "1"});
    EXPECT_EQ(r.exitCode, 1);
    EXPECT_NE(r.err.find(dir_.file("old.dbf") + " does not appear to be a Quillory 1.x DBF"),
              std::string::npos)
        << r.err;
}

TEST_F(ImportCliTest, ExportRefusesWhatItMustNotOverwrite) {
    const std::string t = table_;
    writeFile(file("there.csv"), "keep me");
    const struct {
        std::vector<std::string> args;
        int code;
        std::string message;
    } cases[] = {
        {{"export", t, dir_.file("there.csv"), "--csv"},
         1,
         dir_.file("there.csv") + " already exists.\nDo you want to overwrite it? (not confirmed"},
        {{"export", t, dir_.file("CUSTOMERS.TXT"), "--dbf"}, 1, "Must have a .DBF extension"},
        {{"export", t, dir_.file("A.dbf"), "--dbf", "--yes"}, 1, "Cannot copy a file to itself!"},
        {{"export", t, dir_.file("no/such/folder/x.csv"), "--csv"}, 1, "There was an error copying"},
        {{"export", t, dir_.file("x.csv"), "--csv", "--order", "NOPE"}, 1, "no tag NOPE"},
        {{"export", t, dir_.file("x.csv"), "--csv", "--all", "--filter", dir_.file("f.FLT")}, 2, "usage"},
        {{"export", t, dir_.file("x.csv")}, 2, "usage"},
        {{"export", t, dir_.file("x.vcf"), "--vcard", "--raw"}, 2, "usage"},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.args[2]);
        const QuilloryResult r = quillory(c.args);
        EXPECT_EQ(r.exitCode, c.code) << r.err;
        EXPECT_NE(r.err.find(c.message), std::string::npos) << r.err;
    }
    EXPECT_EQ(readFile(file("there.csv")), "keep me");
    EXPECT_FALSE(QFile::exists(file("x.csv")));
    EXPECT_EQ(QDir(file("")).entryList(QStringList("*.part*"), QDir::Hidden | QDir::Files), QStringList());

    QuilloryResult r = quillory({"export", t, dir_.file("there.csv"), "--csv", "--yes", "--order", "LNAME"});
    ASSERT_EQ(r.exitCode, 0) << r.err;
    EXPECT_EQ(r.out, "Copied 2 records to " + dir_.file("there.csv") + "\n");
    EXPECT_TRUE(readFile(file("there.csv")).contains("Ann,,Adams"));
}

}  // namespace
