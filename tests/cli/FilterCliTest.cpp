// Saved filters on the command line: filter, and count and dump with --filter.

#include <gtest/gtest.h>

#include <fstream>

#include "AddressFile.h"
#include "RunQuillory.h"

namespace {

// Twenty CR LF lines: the entries given by their line number (1-18), then the flags.
std::string fltFile(std::initializer_list<std::pair<int, std::string>> entries, bool tagged = false,
                    bool reverse = false) {
    std::vector<std::string> lines(18);
    for (const auto& [line, text] : entries) lines[size_t(line - 1)] = text;
    lines.push_back(tagged ? "T" : "F");
    lines.push_back(reverse ? "T" : "F");
    std::string bytes;
    for (const std::string& l : lines) bytes += l + "\r\n";
    return bytes;
}

class FilterCliTest : public ::testing::Test {
  protected:
    void SetUp() override {
        table_ = dir_.file("add0001.DBF");
        ASSERT_EQ(runQuillory({"new", table_}, dir_).exitCode, 0);
        std::unique_ptr<xbase::Table> t;
        QString message;
        ASSERT_TRUE(AddressFile::OpenTableFile(QString::fromStdString(table_), &t, &message));
        const struct {
            const char* last;
            const char* city;
            const char* codes;
            const char* tag;
            bool deleted;
        } rows[] = {
            {"Smith", "Zürich", "AC", "ABC", false},
            {"smart", "Boston", "B", "", false},
            {"Jones", "Austin", "c", "ABC", false},
            {"Smythe", "Austin", "C", "", true},
        };
        for (const auto& r : rows) {
            ASSERT_TRUE(t->appendBlank().ok());
            ASSERT_TRUE(AddressFile::setText(*t, t->fieldIndex("LNAME"), r.last).ok());
            ASSERT_TRUE(AddressFile::setText(*t, t->fieldIndex("CITY"), r.city).ok());
            ASSERT_TRUE(AddressFile::setText(*t, t->fieldIndex("CODES"), r.codes).ok());
            ASSERT_TRUE(AddressFile::setText(*t, t->fieldIndex("TAG"), r.tag).ok());
            if (r.deleted) {
                ASSERT_TRUE(AddressFile::DeleteRecord(*t).ok());
            }
        }
        ASSERT_TRUE(t->close().ok());
    }
    std::string write(const std::string& name, const std::string& bytes) {
        std::ofstream(dir_.file(name), std::ios::binary) << bytes;
        return dir_.file(name);
    }
    TempDir dir_;
    std::string table_;
};

TEST_F(FilterCliTest, FilterPrintsTheExpressionOfASavedFilter) {
    const std::string flt =
        write("mixed.FLT", fltFile({{1, "sm;jo+j"}, {7, ">=12345"}, {16, "$c"}, {17, "x"}}));
    QuilloryResult r = runQuillory({"filter", flt}, dir_);
    ASSERT_EQ(r.exitCode, 0) << r.err;
    EXPECT_EQ(r.out,
              "((UPPER(LNAME)=\"SM\").or.(((UPPER(LNAME)=\"JO\").and.(UPPER(LNAME)=\"J\")))) and "
              "UPPER(ZIP)>=\"12345\" and UPPER(USER1)=\"X\" and \"C\"$UPPER(CODES)\n");

    // Tagged takes the identifier from --tag-id, else from the home's settings.
    const std::string tagged = write("tagged.flt", fltFile({{1, "s"}}, true, true));
    r = runQuillory({"filter", tagged, "--tag-id", "Q1"}, dir_);
    ASSERT_EQ(r.exitCode, 0) << r.err;
    EXPECT_EQ(r.out, "(!(UPPER(LNAME)=\"S\" and (UPPER(TAG)=\"Q1\")))\n");
    write("QUILLO.ini", "[Misc]\r\nGlobalTagId=ABC\r\n");
    r = runQuillory({"filter", tagged}, dir_);
    EXPECT_EQ(r.out, "(!(UPPER(LNAME)=\"S\" and (UPPER(TAG)=\"ABC\")))\n");

    r = runQuillory({"filter", write("empty.FLT", fltFile({}))}, dir_);
    EXPECT_EQ(r.exitCode, 0);
    EXPECT_EQ(r.out, "\n");
}

TEST_F(FilterCliTest, CountAndDumpApplyTheFilterAsTheWindowDoes) {
    write("QUILLO.ini", "[Misc]\r\nGlobalTagId=ABC\r\n");
    const struct {
        std::string flt;
        std::vector<std::string> extra;
        const char* count;
        const char* dump;
    } cases[] = {
        {fltFile({{1, "sm"}}), {}, "2\n", "LNAME\nsmart\nSmith\n"},
        {fltFile({{16, "$C"}}), {}, "2\n", "LNAME\nJones\nSmith\n"},  // the deleted Smythe stays hidden
        {fltFile({{1, "sm"}}, false, true), {}, "1\n", "LNAME\nJones\n"},
        {fltFile({}, true), {}, "2\n", "LNAME\nJones\nSmith\n"},
        {fltFile({}, true), {"--tag-id", "NONE"}, "0\n", "LNAME\n"},
        {fltFile({}), {}, "3\n", "LNAME\nJones\nsmart\nSmith\n"},  // no filter: every record
        {fltFile({{1, "sm"}}), {"CITY=\"Zürich\""}, "1\n", nullptr},
    };
    for (const auto& c : cases) {
        const std::string flt = write("f.FLT", c.flt);
        std::vector<std::string> args = {"count", table_};
        args.insert(args.end(), c.extra.begin(), c.extra.end());
        args.insert(args.end(), {"--filter", flt});
        QuilloryResult r = runQuillory(args, dir_);
        EXPECT_EQ(r.exitCode, 0) << r.err;
        EXPECT_EQ(r.out, c.count) << c.flt;
        if (!c.dump) continue;
        args = {"dump", table_, "--order", "LNAME", "--fields", "LNAME", "--filter", flt};
        args.insert(args.end(), c.extra.begin(), c.extra.end());
        r = runQuillory(args, dir_);
        EXPECT_EQ(r.exitCode, 0) << r.err;
        EXPECT_EQ(r.out, c.dump) << c.flt;
    }
    // Text in the table's code page, as typed in UTF-8.
    QuilloryResult r = runQuillory({"count", table_, "CITY=\"Zürich\""}, dir_);
    EXPECT_EQ(r.out, "1\n");
}

TEST_F(FilterCliTest, FilterLimitsAndMistakes) {
    // 244 characters with ".and. !ISDEL": too complex for the window, and so here too.
    const std::string tooLong = write("long.FLT", fltFile({{1, std::string(229, 'A')}}));
    const std::string justFits = write("fits.FLT", fltFile({{1, std::string(228, 'A')}}));
    write("QUILLO.ini", "[Misc]\r\nGlobalTagId=\r\n");
    const struct {
        std::vector<std::string> args;
        int exitCode;
        const char* out;
        const char* message;
    } cases[] = {
        {{"count", table_, "--filter", justFits}, 0, "0\n", ""},
        {{"count", table_, "--filter", tooLong}, 1, "", "Sorry - filter is too complex.Please simplify it."},
        {{"dump", table_, "--filter", tooLong}, 1, "", "Sorry - filter is too complex.Please simplify it."},
        {{"filter", write("f.txt", fltFile({}))}, 1, "", "Must be a Filter (.FLT) file"},
        {{"filter", dir_.file("missing.FLT")}, 1, "", "missing.FLT"},
        // Tagged without any identifier would count the untagged records.
        {{"filter", write("t.FLT", fltFile({}, true))}, 1, "", "--tag-id"},
        {{"filter", justFits, "--tag-id", "bad id"}, 2, "", "--tag-id"},
        {{"filter"}, 2, "", "usage"},
        {{"filter", justFits, "extra"}, 2, "", "usage"},
        {{"count", table_}, 2, "", "usage"},
        {{"count", table_, "--tag-id", "ABC"}, 2, "", "usage"},
    };
    for (const auto& c : cases) {
        QuilloryResult r = runQuillory(c.args, dir_);
        EXPECT_EQ(r.exitCode, c.exitCode) << c.args[0] << " " << c.args.back() << ": " << r.err;
        EXPECT_EQ(r.out, c.out) << c.args.back();
        EXPECT_NE(r.err.find(c.message), std::string::npos) << r.err;
    }
}

}  // namespace
