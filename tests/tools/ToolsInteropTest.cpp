// The tools on an address file that another program wrote (Python's dbf package):
// each command gives the records and results its rules give, and afterwards the file
// still reads the same in Python's dbf and Perl's XBase, and Perl walks the tags in
// the order the engine keeps them.

#include <gtest/gtest.h>

#include <fstream>
#include <map>
#include <sstream>

#include "Expression.h"
#include "RunQuillory.h"
#include "Table.h"

namespace {

const std::string kPython = "/usr/bin/python3";  // python3-dbf is installed for this one
const std::string kInterop = QUILLORY_INTEROP_DIR;

const std::vector<std::string> kFields = {"LNAME",  "FNAME", "MIDDLE", "PREFIX", "TITLE", "ORG",   "STREET", "STREET2",
                                          "CITY",   "STATE", "ZIP",    "COUNTRY", "DATE", "PHONE", "PHONE2", "FAX",
                                          "EMAIL",  "CODES", "USER1",  "USER2",  "ISDEL", "TAG",   "MEMO"};
// The address file's layout in the field list Python's dbf takes.
const char* kLayout =
    "LNAME C(30); FNAME C(30); MIDDLE C(1); PREFIX C(12); TITLE C(30); ORG C(30); STREET C(40); "
    "STREET2 C(40); CITY C(30); STATE C(20); ZIP C(10); COUNTRY C(30); DATE C(15); PHONE C(30); "
    "PHONE2 C(30); FAX C(40); EMAIL C(40); CODES C(30); USER1 C(40); USER2 C(40); ISDEL L; TAG C(8); "
    "MEMO M";

// One line of the interop row format: the mark, then every field (ISDEL "F" unless given).
std::string row(const std::string& mark, std::map<std::string, std::string> values) {
    if (!values.count("ISDEL")) values["ISDEL"] = "F";
    std::string line = mark;
    for (const std::string& f : kFields) line += "\t" + values[f];
    return line + "\n";
}

std::string header() {
    std::string line;
    for (const std::string& f : kFields) line += (line.empty() ? "" : "\t") + f;
    return line + "\n";
}

::testing::AssertionResult shell(const std::string& command, const std::string& input, std::string* out,
                                 const TempDir& dir) {
    const std::string in = dir.file("stdin.txt");
    std::ofstream(in, std::ios::binary) << input;
    int code = -1;
    *out = runCommand(command + " <" + shellQuote(in) + " 2>" + shellQuote(dir.file("err.txt")), &code);
    if (code != 0) {
        std::ifstream err(dir.file("err.txt"));
        return ::testing::AssertionFailure() << command << " exited " << code << ":\n"
                                             << std::string(std::istreambuf_iterator<char>(err), {}) << *out;
    }
    return ::testing::AssertionSuccess();
}

TEST(ToolsInterop, AFileWrittenByPythonGivesTheRulesResultsAndStaysReadableWithItsTags) {
    TempDir dir;
    const std::string table = dir.file("people.dbf");
    std::string out;
    ASSERT_TRUE(shell(kPython + " " + shellQuote(kInterop + "/pydbf_write.py") + " " + shellQuote(table) + " fp " +
                          shellQuote(kLayout),
                      header() +
                          row("-", {{"LNAME", "smith"}, {"FNAME", "john"}, {"STREET", "1 Elm St"},
                                    {"CITY", "springfield"}, {"STATE", "NY"}, {"ZIP", "10001"},
                                    {"MEMO", "Met at the fair"}}) +
                          row("-", {{"LNAME", "Jones"}, {"FNAME", "ann"}, {"STREET", "1 Elm Street"},
                                    {"CITY", "Boston"}, {"STATE", "MA"}, {"ZIP", "02134"}}) +
                          row("-", {{"LNAME", "SMITH"}, {"FNAME", "JOHN"}, {"STREET", "9 Oak St"},
                                    {"CITY", "Springfield"}, {"STATE", "ZZ"}, {"ZIP", "12345"},
                                    {"MEMO", "Prefers mail"}}) +
                          row("-", {{"LNAME", "Müller"}, {"FNAME", "Zoë"}, {"STREET", "5 Bahnhof St"},
                                    {"CITY", "Köln"}}) +
                          row("-", {{"LNAME", "van der berg"}, {"FNAME", "o'neil"}, {"CITY", "Salem"},
                                    {"STATE", "OR"}, {"ZIP", "97301"}}),
                      &out, dir));

    // The other program wrote no index: the rebuild makes the 26 tags.
    const auto run = [&](std::vector<std::string> args) {
        args.insert(args.begin() + 1, table);
        const QuilloryResult r = runQuillory(args, dir);
        EXPECT_EQ(r.exitCode, 0) << args[0];
        return r.out;
    };
    run({"reindex"});
    EXPECT_EQ(run({"duplicates", "--by", "name"}),
              "Found 1 possible duplicates\nRECNO,LNAME,FNAME,STREET,CITY,STATE,ZIP\n"
              "1,smith,john,1 Elm St,springfield,NY,10001\n3,SMITH,JOHN,9 Oak St,Springfield,ZZ,12345\n");
    EXPECT_EQ(run({"statezip"}),
              "Found 1 records with questionable state or zipcodes\nRECNO,LNAME,FNAME,CITY,STATE,ZIP\n"
              "3,SMITH,JOHN,Springfield,ZZ,12345\n");
    EXPECT_EQ(run({"statezip", "--blanks"}).substr(0, 52), "Found 2 records with questionable state or zipcodes\n");
    EXPECT_EQ(run({"convert-case", "--case", "upper", "--fields", "CITY"}), "Converted 5 records\n");
    EXPECT_EQ(run({"replace", "--field", "LNAME", "--contains", "smith", "--ignore-case", "--matching", "--with",
                   "Smyth"}),
              "Replaced 2 records\nReplacement done\n");
    EXPECT_EQ(run({"replace", "--field", "ZIP", "--empty", "--whole", "--with", "00000"}),
              "Replaced 1 records\nReplacement done\n");
    // A saved filter whose city line holds "salem".
    const std::string flt = dir.file("salem.flt");
    {
        std::ofstream f(flt, std::ios::binary);
        for (int i = 1; i <= 20; ++i) f << (i == 8 ? "salem" : i > 18 ? "F" : "") << "\r\n";
    }
    EXPECT_EQ(run({"delete-records", "--filter", flt, "--yes"}).substr(0, 18), "Deleted 1 records\n");

    const std::string expected =
        header() +
        row("-", {{"LNAME", "Smyth"}, {"FNAME", "john"}, {"STREET", "1 Elm St"}, {"CITY", "SPRINGFIELD"},
                  {"STATE", "NY"}, {"ZIP", "10001"}, {"MEMO", "Met at the fair"}}) +
        row("-", {{"LNAME", "Jones"}, {"FNAME", "ann"}, {"STREET", "1 Elm Street"}, {"CITY", "BOSTON"},
                  {"STATE", "MA"}, {"ZIP", "02134"}}) +
        row("-", {{"LNAME", "Smyth"}, {"FNAME", "JOHN"}, {"STREET", "9 Oak St"}, {"CITY", "SPRINGFIELD"},
                  {"STATE", "ZZ"}, {"ZIP", "12345"}, {"MEMO", "Prefers mail"}}) +
        row("-", {{"LNAME", "Müller"}, {"FNAME", "Zoë"}, {"STREET", "5 Bahnhof St"}, {"CITY", "KÖLN"},
                  {"ZIP", "00000"}}) +
        row("*", {{"LNAME", "van der berg"}, {"FNAME", "o'neil"}, {"CITY", "SALEM"}, {"STATE", "OR"},
                  {"ZIP", "97301"}, {"ISDEL", "T"}});
    ASSERT_TRUE(shell(kPython + " " + shellQuote(kInterop + "/pydbf_read.py") + " " + shellQuote(table), "", &out, dir));
    EXPECT_EQ(out, expected) << "Python's dbf";
    ASSERT_TRUE(shell("perl " + shellQuote(kInterop + "/xbase_read.pl") + " " + shellQuote(table), "", &out, dir));
    EXPECT_EQ(out, expected) << "Perl's XBase";

    // Every changed key went into the tags: Perl walks them in the engine's order.
    std::unique_ptr<xbase::Table> t;
    ASSERT_TRUE(xbase::Table::open(table, xbase::OpenMode::ReadOnlyShared, &t).ok());
    for (const char* tag : {"NAME", "LNAME", "CITY", "ZIP", "STATEZIP"}) {
        SCOPED_TRACE(tag);
        std::unique_ptr<xbase::Expression> key;
        ASSERT_TRUE(t->compile(t->tagExpression(t->tagArea(tag)), &key).ok());
        ASSERT_TRUE(t->setOrder(t->tagArea(tag)).ok());
        std::string ours;
        ASSERT_TRUE(t->goTop().ok());
        while (!t->eof()) {
            std::string k = key->evalString(t->evalContext());
            k.erase(k.find_last_not_of(' ') + 1);
            ours += k + "\t" + std::to_string(t->recNo()) + "\n";
            ASSERT_TRUE(t->skip(1).ok());
        }
        std::string perls;
        ASSERT_TRUE(shell("perl " + shellQuote(kInterop + "/xbase_index_walk.pl") + " " +
                              shellQuote(dir.file("people.cdx")) + " " + tag,
                          "", &perls, dir));
        std::string trimmed;
        std::istringstream lines(perls);
        for (std::string line; std::getline(lines, line);) {
            const size_t tab = line.find('\t');
            std::string k = line.substr(0, tab);
            k.erase(k.find_last_not_of(' ') + 1);
            trimmed += k + line.substr(tab) + "\n";
        }
        EXPECT_EQ(trimmed, ours);
        EXPECT_EQ(std::count(ours.begin(), ours.end(), '\n'), 5);
    }
}

}  // namespace
