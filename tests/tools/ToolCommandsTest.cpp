// The tools' commands, run as a script runs the real program.

#include <gtest/gtest.h>

#include <QFile>
#include <fstream>

#include "AddressFile.h"
#include "PtyModem.h"
#include "RunQuillory.h"

namespace {

struct Row {
    const char* last;
    const char* first;
    const char* street;
    const char* city;
    const char* state;
    const char* zip;
    const char* phone;
};

class ToolCommands : public ::testing::Test {
  protected:
    void SetUp() override {
        table_ = dir_.file("add0001.DBF");
        ASSERT_EQ(runQuillory({"new", table_}, dir_).exitCode, 0);
        std::unique_ptr<xbase::Table> t;
        QString message;
        ASSERT_TRUE(AddressFile::OpenTableFile(QString::fromStdString(table_), &t, &message));
        const Row rows[] = {
            {"smith", "john", "1 Elm St", "springfield", "NY", "10001", "555-0101"},
            {"Jones", "ann", "1 Elm Street", "Boston", "NY", "09999", ""},
            {"SMITH", "JOHN", "9 Oak Rd", "Springfield", "ZZ", "12345", ""},
            {"van der berg", "o'neil", "", "Salem", "", "", ""},
        };
        for (const Row& r : rows) {
            ASSERT_TRUE(t->appendBlank().ok());
            for (const auto& [field, value] : {std::pair{"LNAME", r.last},
                                               {"FNAME", r.first},
                                               {"STREET", r.street},
                                               {"CITY", r.city},
                                               {"STATE", r.state},
                                               {"ZIP", r.zip},
                                               {"PHONE", r.phone}}) {
                ASSERT_TRUE(AddressFile::setText(*t, t->fieldIndex(field), value).ok());
            }
        }
        ASSERT_TRUE(t->close().ok());
    }
    QuilloryResult run(std::vector<std::string> args) {
        args.insert(args.begin() + 1, table_);
        return runQuillory(args, dir_);
    }
    // The file's records as the dump command gives them.
    std::string dump(const std::string& fields) {
        return runQuillory({"dump", table_, "--fields", fields}, dir_).out;
    }
    std::string flt(const std::string& name, int line, const std::string& text) {
        std::ofstream out(dir_.file(name), std::ios::binary);
        for (int i = 1; i <= 20; ++i) out << (i == line ? text : i > 18 ? "F" : "") << "\r\n";
        return dir_.file(name);
    }
    TempDir dir_;
    std::string table_;
};

TEST_F(ToolCommands, TheCommandIsTheConfirmationButDeleteWantsYes) {
    const std::string before = dump("LNAME,CITY,STREET");
    // Deleting records needs --yes spelled out; without it nothing is touched.
    EXPECT_EQ(run({"delete-records", "--filter", flt("s.flt", 8, "spring")}).exitCode, 2);
    EXPECT_EQ(dump("LNAME,CITY,STREET"), before);
    // The conversion and the replace show the question their windows ask, answered by
    // the command itself.
    const QuilloryResult r = run({"replace", "--field", "CITY", "--contains", "Boston", "--ignore-case",
                                  "--matching", "--with", "Salem"});
    ASSERT_EQ(r.exitCode, 0) << r.err;
    EXPECT_NE(r.err.find("Find records where field City\ncontains: \"Boston\" (not case sensitive)\nand "
                         "replace only the matching text with \"Salem\" Yes"),
              std::string::npos)
        << r.err;
    EXPECT_NE(run({"convert-case", "--case", "upper", "--fields", "LNAME", "--recno", "1"})
                  .err.find("Convert now? This process cannot be undone.. Yes"),
              std::string::npos);
}

TEST_F(ToolCommands, ConvertCaseByRecordsChoice) {
    QuilloryResult r = run({"convert-case", "--case", "capitalize", "--fields", "lname,FNAME", "--all"});
    ASSERT_EQ(r.exitCode, 0) << r.err;
    EXPECT_EQ(r.out, "Converted 4 records\n");
    EXPECT_EQ(dump("LNAME,FNAME"), "LNAME,FNAME\nSmith,John\nJones,Ann\nSmith,John\nVan Der Berg,O'neil\n");
    r = run({"convert-case", "--case", "upper", "--fields", "CITY", "--filter", flt("s.flt", 8, "spring")});
    EXPECT_EQ(r.out, "Converted 2 records\n") << r.err;
    r = run({"convert-case", "--case", "lower", "--fields", "CITY", "--recno", "2"});
    EXPECT_EQ(r.out, "Converted 1 records\n") << r.err;
    EXPECT_EQ(dump("CITY"), "CITY\nSPRINGFIELD\nboston\nSPRINGFIELD\nSalem\n");
    // Without --fields every field is converted, and without a records choice every record.
    r = run({"convert-case", "--case", "upper"});
    EXPECT_EQ(r.out, "Converted 4 records\n") << r.err;
    EXPECT_EQ(dump("FNAME,CITY"), "FNAME,CITY\nJOHN,SPRINGFIELD\nANN,BOSTON\nJOHN,SPRINGFIELD\nO'NEIL,SALEM\n");
    for (const std::vector<std::string>& bad : {std::vector<std::string>{"convert-case", "--case", "title"},
                                                {"convert-case", "--case", "upper", "--fields", "EMAIL"},
                                                {"convert-case", "--case", "upper", "--all", "--recno", "1"}}) {
        EXPECT_EQ(run(bad).exitCode, 2) << bad[2];
    }
}

TEST_F(ToolCommands, ReplaceOptions) {
    QuilloryResult r = run({"replace", "--field", "STREET", "--contains", "elm", "--ignore-case", "--matching",
                            "--with", "Ash", "--filter", flt("s.flt", 8, "spring")});
    ASSERT_EQ(r.exitCode, 0) << r.err;
    EXPECT_EQ(r.out, "Replaced 1 records\nReplacement done\n");
    r = run({"replace", "--field", "City", "--equals", "springfield", "--whole", "--with", "Shelbyville"});
    EXPECT_EQ(r.out, "Replaced 1 records\nReplacement done\n") << r.err;
    r = run({"replace", "--field", "ZIP", "--empty", "--whole", "--with", "00000"});
    EXPECT_EQ(r.out, "Replaced 1 records\nReplacement done\n") << r.err;
    EXPECT_EQ(dump("STREET,CITY,ZIP"),
              "STREET,CITY,ZIP\n1 Ash St,Shelbyville,10001\n1 Elm Street,Boston,09999\n"
              "9 Oak Rd,Springfield,12345\n,Salem,00000\n");
    r = run({"replace", "--field", "ZIP", "--contains", "1", "--matching", "--with", "12345678901"});
    EXPECT_EQ(r.exitCode, 1);
    EXPECT_NE(r.err.find("longer than the field ZIP (10 characters)"), std::string::npos) << r.err;
    for (const std::vector<std::string>& bad :
         {std::vector<std::string>{"replace", "--field", "ZIP", "--empty", "--matching", "--with", "1"},
          {"replace", "--field", "ZIP", "--contains", "1", "--with", "2"},
          {"replace", "--field", "ZIP", "--contains", "1", "--equals", "1", "--whole", "--with", "2"}}) {
        EXPECT_EQ(run(bad).exitCode, 2) << bad[3] << " " << bad[4];
    }
}

TEST_F(ToolCommands, DeleteRecordsChoices) {
    const std::string springfield = flt("s.flt", 8, "spring");
    QuilloryResult r = run({"delete-records", "--not-filter", springfield, "--yes"});
    ASSERT_EQ(r.exitCode, 0) << r.err;
    EXPECT_EQ(r.out, "Deleted 2 records\nFor optimum space usage, run: quillory reindex " + table_ + "\n");
    EXPECT_EQ(dump("LNAME"), "LNAME\nsmith\nSMITH\n");
    // A filter that sets nothing is no licence to delete everything.
    r = run({"delete-records", "--filter", flt("empty.flt", 0, ""), "--yes"});
    EXPECT_EQ(r.exitCode, 1);
    EXPECT_EQ(dump("LNAME"), "LNAME\nsmith\nSMITH\n");
    EXPECT_EQ(run({"delete-records", "--all", "--tag-id", "X", "--yes"}).exitCode, 2);
    r = run({"delete-records", "--all", "--yes"});
    EXPECT_EQ(r.out.substr(0, 18), "Deleted 4 records\n") << r.err;
    EXPECT_EQ(runQuillory({"info", table_}, dir_).out.find("Records: 0\n") != std::string::npos, true);
}

TEST_F(ToolCommands, DuplicatesByKindAndTagging) {
    QuilloryResult r = run({"duplicates", "--by", "name", "--tag"});
    ASSERT_EQ(r.exitCode, 0) << r.err;
    EXPECT_EQ(r.out.substr(0, r.out.find("Tagged")),
              "Found 1 possible duplicates\nRECNO,LNAME,FNAME,STREET,CITY,STATE,ZIP\n"
              "1,smith,john,1 Elm St,springfield,NY,10001\n3,SMITH,JOHN,9 Oak Rd,Springfield,ZZ,12345\n");
    EXPECT_NE(r.out.find("Tagged 2 records with "), std::string::npos);
    EXPECT_FALSE(QFile::exists(QString::fromStdString(dir_.file("_chkdup.idx"))));
    r = run({"duplicates", "--by", "street", "--chars", "5"});
    EXPECT_EQ(r.out.substr(0, 28), "Found 1 possible duplicates\n") << r.err;
    r = run({"duplicates", "--by", "street"});
    EXPECT_EQ(r.out, "Found 0 possible duplicates\n") << r.err;
    for (const std::vector<std::string>& bad : {std::vector<std::string>{"duplicates", "--by", "phone"},
                                                {"duplicates", "--by", "street", "--chars", "31"},
                                                {"duplicates", "--by", "name", "--chars", "5"}}) {
        EXPECT_EQ(run(bad).exitCode, 2) << bad[2];
    }
}

TEST_F(ToolCommands, StateZipWithAndWithoutBlanks) {
    QuilloryResult r = run({"statezip"});
    ASSERT_EQ(r.exitCode, 0) << r.err;
    EXPECT_EQ(r.out,
              "Found 2 records with questionable state or zipcodes\nRECNO,LNAME,FNAME,CITY,STATE,ZIP\n"
              "2,Jones,ann,Boston,NY,09999\n3,SMITH,JOHN,Springfield,ZZ,12345\n");
    r = run({"statezip", "--blanks", "--tag"});
    EXPECT_EQ(r.out.substr(0, 52), "Found 3 records with questionable state or zipcodes\n") << r.err;
    EXPECT_NE(r.out.find("Tagged 3 records"), std::string::npos);
    EXPECT_FALSE(QFile::exists(QString::fromStdString(dir_.file("_chksz.idx"))));
}

TEST_F(ToolCommands, DialThroughThePseudoTerminal) {
    PtyModem modem;
    ASSERT_TRUE(modem.ok());
    std::ofstream(dir_.file("QUILLO.ini"), std::ios::binary) << "[Dialing]\r\nPrefix=9,\r\nInit=ATZ\r\n";
    // Not at a terminal (input from /dev/null), the modem hangs up once the dial is sent.
    int code = -1;
    const std::string out = runCommand(std::string(QUILLORY_BINARY) + " --home " + shellQuote(dir_.path()) +
                                           " dial 555-0101 --port " + shellQuote(modem.path()) + " </dev/null",
                                       &code);
    ASSERT_EQ(code, 0) << out;
    EXPECT_EQ(out, "quillory: Pick up phone\nDialed 9,555-0101 on " + modem.path() + "\n");
    ASSERT_TRUE(modem.waitFor("ATH\r\n"));
    EXPECT_EQ(modem.received(), "ATZ\r\nATDT9,555-0101\r\nATH\r\n");

    // Pulse dialing and an initialisation string of the command's own.
    PtyModem second;
    ASSERT_TRUE(second.ok());
    QuilloryResult r = runQuillory({"dial", "555-0102", "--port", second.path(), "--pulse", "--init", "&F"}, dir_);
    ASSERT_EQ(r.exitCode, 0) << r.err;
    ASSERT_TRUE(second.waitFor("ATH\r\n"));
    EXPECT_EQ(second.received(), "AT&F\r\nATDP9,555-0102\r\nATH\r\n");

    r = runQuillory({"dial", "555", "--port", "/dev/ttyNOSUCH9"}, dir_);
    EXPECT_EQ(r.exitCode, 1);
    EXPECT_EQ(r.err, "quillory: Unable to open /dev/ttyNOSUCH9\n");
    // A line break would start a second modem command: refused before the port is opened.
    for (const std::vector<std::string>& bad : {std::vector<std::string>{"dial", "555\r\nATH0"},
                                                {"dial", "555", "--init", "Z\nATD911"}}) {
        r = runQuillory(bad, dir_);
        EXPECT_EQ(r.exitCode, 1);
        EXPECT_NE(r.err.find("control character"), std::string::npos) << r.err;
    }
}

}  // namespace
