// The command line, run as a user's script runs it: the real binary, its output
// and its exit code.

#include <gtest/gtest.h>
#include <unistd.h>

#include <cstdio>
#include <filesystem>
#include <fstream>
#include <iterator>

#include "CodePage.h"
#include "RunQuillory.h"
#include "Table.h"
#include "TempDir.h"

namespace {

class CliTest : public ::testing::Test {
  protected:
    void SetUp() override {
        table_ = dir_.file("people.dbf");
        xbase::TableSpec design;
        design.fields = {{"LNAME", 'C', 20}, {"CITY", 'C', 20}, {"ISDEL", 'L', 1}, {"MEMO", 'M', 10}};
        ASSERT_TRUE(xbase::Table::create(table_, design).ok());
        std::unique_ptr<xbase::Table> t;
        ASSERT_TRUE(xbase::Table::open(table_, xbase::OpenMode::Exclusive, &t).ok());
        const xbase::CodePage& cp = t->codePage();
        const struct {
            const char* name;
            const char* city;
            bool deleted;
            const char* memo;
        } rows[] = {
            {"Smith", "Zürich", false, ""},
            {"Smythe", "Boston, MA", false, "line one\nline \"two\""},
            {"Jones", "Austin", true, ""},
            {"smart", "Paris", false, ""},
        };
        for (const auto& row : rows) {
            ASSERT_TRUE(t->appendBlank().ok());
            std::string raw;
            ASSERT_TRUE(cp.fromUtf8(row.name, &raw).ok());
            ASSERT_TRUE(t->replace(0, raw).ok());
            ASSERT_TRUE(cp.fromUtf8(row.city, &raw).ok());
            ASSERT_TRUE(t->replace(1, raw).ok());
            ASSERT_TRUE(t->replaceLogical(2, row.deleted).ok());
            ASSERT_TRUE(t->replace(3, row.memo).ok());
            if (row.deleted) {
                ASSERT_TRUE(t->deleteRecord().ok());
            }
        }
    }
    TempDir dir_;
    std::string table_;
};

TEST_F(CliTest, InfoListsStructure) {
    QuilloryResult r = runQuillory({"info", table_}, dir_);
    ASSERT_EQ(r.exitCode, 0) << r.err;
    EXPECT_NE(r.out.find("Version: 0xF5"), std::string::npos) << r.out;
    EXPECT_NE(r.out.find("Code page: 1252 (mark 0x03)"), std::string::npos);
    EXPECT_NE(r.out.find("Records: 4"), std::string::npos);
    EXPECT_NE(r.out.find("  LNAME      C 20\n"), std::string::npos) << r.out;
    EXPECT_NE(r.out.find("  MEMO       M 10\n"), std::string::npos);
}

TEST_F(CliTest, DumpWritesVisibleRecordsAsCsv) {
    QuilloryResult r = runQuillory({"dump", table_}, dir_);
    ASSERT_EQ(r.exitCode, 0) << r.err;
    EXPECT_EQ(r.out,
              "LNAME,CITY,ISDEL\n"
              "Smith,Zürich,F\n"
              "Smythe,\"Boston, MA\",F\n"
              "smart,Paris,F\n");

    r = runQuillory(
        {"dump", table_, "--query", "UPPER(LNAME) = \"SM\" .and. RECNO() > 1", "--fields", "lname,memo"},
        dir_);
    ASSERT_EQ(r.exitCode, 0) << r.err;
    EXPECT_EQ(r.out,
              "LNAME,MEMO\n"
              "Smythe,\"line one\nline \"\"two\"\"\"\n"
              "smart,\n");
}

TEST_F(CliTest, CountsMatchingVisibleRecords) {
    const struct {
        const char* expr;
        const char* count;
    } cases[] = {
        {"UPPER(LNAME) = \"SM\" .and. !ISDEL", "3\n"},
        {"LNAME = \"Sm\"", "2\n"},
        {"\"MA\" $ CITY", "1\n"},
        {"!ISDEL", "3\n"},  // the deleted record stays hidden either way
    };
    for (const auto& c : cases) {
        QuilloryResult r = runQuillory({"count", table_, c.expr}, dir_);
        EXPECT_EQ(r.exitCode, 0) << c.expr << ": " << r.err;
        EXPECT_EQ(r.out, c.count) << c.expr;
    }
}

TEST_F(CliTest, ErrorsAndUsageHaveTheirExitCodes) {
    const struct {
        std::vector<std::string> args;
        int exitCode;
        const char* message;
    } cases[] = {
        {{"count", "people.dbf"}, 2, "usage"},
        {{"dump", "--fields"}, 2, "usage"},
        {{"frobnicate"}, 2, "unknown command"},
        {{"info", "/no/such/table.dbf"}, 1, "not found"},
        {{"count", "PEOPLE", "LNAME ="}, 1, ""},
        {{"dump", "PEOPLE", "--fields", "LNAME,NOPE"}, 1, "Unknown field NOPE"},
    };
    for (auto c : cases) {
        for (std::string& a : c.args) {
            if (a == "PEOPLE") a = table_;
        }
        QuilloryResult r = runQuillory(c.args, dir_);
        EXPECT_EQ(r.exitCode, c.exitCode) << c.args[0] << " " << r.err;
        EXPECT_TRUE(r.out.empty()) << r.out;
        EXPECT_FALSE(r.err.empty());
        std::string lower = r.err;
        for (char& ch : lower) ch = char(std::tolower(static_cast<unsigned char>(ch)));
        std::string want = c.message;
        for (char& ch : want) ch = char(std::tolower(static_cast<unsigned char>(ch)));
        EXPECT_NE(lower.find(want), std::string::npos) << r.err;
    }
    QuilloryResult bad = runQuillory({"count", table_, "LNAME ="}, dir_);
    EXPECT_NE(bad.err.find("column"), std::string::npos) << bad.err;  // says where the problem is

    QuilloryResult help = runQuillory({"help"}, dir_);
    EXPECT_EQ(help.exitCode, 0);
    for (const char* command : {"info", "dump", "count"})
        EXPECT_NE(help.out.find(command), std::string::npos);
}

TEST_F(CliTest, TableInUseIsReported) {
    std::unique_ptr<xbase::Table> t;
    ASSERT_TRUE(xbase::Table::open(table_, xbase::OpenMode::Exclusive, &t).ok());
    QuilloryResult r = runQuillory({"count", table_, "!ISDEL"}, dir_);
    EXPECT_EQ(r.exitCode, 1);
    EXPECT_NE(r.err.find("may be in use"), std::string::npos) << r.err;
    // ...and says which program holds it: this test.
    EXPECT_NE(r.err.find("held by process " + std::to_string(::getpid())), std::string::npos) << r.err;
}

}  // namespace

namespace {

// A command given a home that does not exist yet makes it whole, as the desktop
// program does; a file that cannot be opened is refused with the reason.
TEST(CliHomeTest, MissingHomeIsMadeWholeAndOpenFailuresSayWhy) {
    TempDir dir;
    const std::string home = dir.file("new-home");
    QuilloryResult r = runQuillory({"--home", home, "new", home + "/DATA/x.DBF"}, dir);
    ASSERT_EQ(r.exitCode, 0) << r.err;
    for (const char* made : {"/DATA/x.DBF", "/sysdata/LBLTPL.DBF", "/sysdata/CSZ.DBF"})
        EXPECT_TRUE(std::filesystem::exists(home + made)) << made;

    xbase::TableSpec design;
    design.fields = {{"LNAME", 'C', 10}};
    ASSERT_TRUE(xbase::Table::create(dir.file("plain.dbf"), design).ok());
    const std::vector<std::vector<std::string>> commands = {
        {"presort", dir.file("plain.dbf")}, {"zipcount", dir.file("plain.dbf"), "--pdf", dir.file("z.pdf")}};
    for (const auto& command : commands) {
        r = runQuillory(command, dir);
        EXPECT_EQ(r.exitCode, 1) << command[0];
        EXPECT_NE(r.err.find("is not an address file"), std::string::npos) << command[0] << ": " << r.err;
    }
}

// An address file made and kept by the command line alone.
TEST(CliAddressFileTest, NewSeekReindexAndOrderedDump) {
    TempDir dir;
    const std::string file = dir.file("add0001.DBF");
    QuilloryResult r = runQuillory({"new", file}, dir);
    ASSERT_EQ(r.exitCode, 0) << r.err;
    // The name rules of "Create new database": an existing name in any letter case, a
    // name that is no identifier, and another extension are refused, touching nothing.
    const struct {
        std::string name;
        const char* message;
    } refused[] = {
        {"add0001.DBF", "That file already exists.Please select another name"},
        {"ADD0001.dbf", "That file already exists.Please select another name"},
        {"1st.DBF", "Invalid name. Must start with A..Z"},
        {"add0002.txt", "The name of an address file must end in .DBF"},
    };
    for (const auto& c : refused) {
        r = runQuillory({"new", dir.file(c.name)}, dir);
        EXPECT_EQ(r.exitCode, 1) << c.name;
        EXPECT_NE(r.err.find(c.message), std::string::npos) << c.name << ": " << r.err;
    }
    EXPECT_FALSE(std::filesystem::exists(dir.file("1st.DBF")));
    EXPECT_FALSE(std::filesystem::exists(dir.file("add0002.txt")));

    r = runQuillory({"info", file}, dir);
    ASSERT_EQ(r.exitCode, 0) << r.err;
    EXPECT_NE(r.out.find("Fields: 23\n"), std::string::npos);
    EXPECT_NE(
        r.out.find("Tags: 26\n  NAME       UPPER(LNAME-FNAME)\n  LNAME      UPPER(LNAME)+UPPER(FNAME)\n"),
        std::string::npos)
        << r.out;
    EXPECT_NE(r.out.find("  NOTISDEL   !ISDEL\n"), std::string::npos);

    {
        std::unique_ptr<xbase::Table> t;
        ASSERT_TRUE(xbase::Table::open(file, xbase::OpenMode::Exclusive, &t).ok());
        const struct {
            const char* last;
            const char* first;
        } people[] = {{"smith", "Zoe"}, {"Adams", "Al"}, {"SMITH", "anna"}, {"Baker", "Bo"}, {"Gone", "Guy"}};
        for (const auto& p : people) {
            ASSERT_TRUE(t->appendBlank().ok());
            ASSERT_TRUE(t->replace(0, p.last).ok());
            ASSERT_TRUE(t->replace(1, p.first).ok());
        }
        ASSERT_TRUE(t->replaceLogical(t->fieldIndex("ISDEL"), true).ok());
        ASSERT_TRUE(t->deleteRecord().ok());
    }
    r = runQuillory({"dump", file, "--order", "lname", "--fields", "LNAME,FNAME"}, dir);
    ASSERT_EQ(r.exitCode, 0) << r.err;
    EXPECT_EQ(r.out, "LNAME,FNAME\nAdams,Al\nBaker,Bo\nSMITH,anna\nsmith,Zoe\n");
    r = runQuillory({"dump", file, "--order", "NOSUCH"}, dir);
    EXPECT_EQ(r.exitCode, 1);

    const struct {
        std::vector<std::string> args;
        int exitCode;
        const char* out;
    } seeks[] = {
        {{"LNAME", "SMITH"}, 0, "3\n"},
        {{"NAME", "SMITHANNA"}, 0, "3\n"},
        {{"LNAME", "SMITH", "--exact"}, 1, ""},
        {{"FNAME", "ZO"}, 0, "1\n"},
        {{"LNAME", "GONE"}, 1, ""},  // deleted records stay hidden
    };
    for (const auto& s : seeks) {
        std::vector<std::string> args{"seek", file};
        args.insert(args.end(), s.args.begin(), s.args.end());
        r = runQuillory(args, dir);
        EXPECT_EQ(r.exitCode, s.exitCode) << s.args[1];
        EXPECT_EQ(r.out, s.out) << s.args[1];
    }

    r = runQuillory({"reindex", file}, dir);
    ASSERT_EQ(r.exitCode, 0) << r.err;
    EXPECT_EQ(r.out, "Cleaning out old deleted records\nRebuilding indexes\n4 records, 26 tags\n");
    r = runQuillory({"count", file, "!ISDEL"}, dir);
    EXPECT_EQ(r.out, "4\n");
}

}  // namespace

namespace {

// A second program and a file the first one has open: whoever comes second is refused
// with the lock message and changes nothing. Readers take a shared lock, so they are
// refused while the desktop program has the file open, and read freely otherwise.
TEST(CliLockTest, AFileOpenElsewhereIsRefusedAndLeftAlone) {
    TempDir dir;
    const std::string file = dir.file("add0001.DBF");
    ASSERT_EQ(runQuillory({"new", file}, dir).exitCode, 0);
    auto bytes = [](const std::string& path) {
        std::ifstream in(path, std::ios::binary);
        return std::string(std::istreambuf_iterator<char>(in), {});
    };
    const std::string before = bytes(file), cdxBefore = bytes(dir.file("add0001.CDX"));
    {
        std::unique_ptr<xbase::Table> open;
        ASSERT_TRUE(xbase::Table::open(file, xbase::OpenMode::Exclusive, &open).ok());
        for (const std::vector<std::string>& args : std::vector<std::vector<std::string>>{
                 {"reindex", file}, {"count", file, "!ISDEL"}, {"dump", file}, {"presort", file}}) {
            const QuilloryResult r = runQuillory(args, dir);
            EXPECT_EQ(r.exitCode, 1) << args[0];
            EXPECT_NE(r.err.find("in use"), std::string::npos) << args[0] << ": " << r.err;
        }
    }
    EXPECT_EQ(bytes(file), before);
    EXPECT_EQ(bytes(dir.file("add0001.CDX")), cdxBefore);
    EXPECT_EQ(runQuillory({"count", file, "!ISDEL"}, dir).exitCode, 0);  // free again
}

}  // namespace
