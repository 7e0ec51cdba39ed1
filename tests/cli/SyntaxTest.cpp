// The command line's declared syntax: what it accepts, what it refuses, the usage it
// prints, and the route its questions take.

#include <gtest/gtest.h>

#include <sstream>

#include "ConsoleMessages.h"
#include "Syntax.h"

namespace {

using cli::Arguments;
using cli::Parse;
using cli::Syntax;

const Syntax kDump{
    "dump",
    {"TABLE", "EXPR"},
    1,
    {{"--order", "TAG"}, {"--exact"}, {"--filter", "FILE.FLT"}, {"--tag-id", "ID", "--filter"}},
    {}};
const Syntax kPrint{"print",
                    {"FILE"},
                    0,
                    {{"--table", "T", "", true}, {"--pdf", "OUT"}, {"--printer", "P"}},
                    {{"--pdf", "--printer"}}};
const Syntax kConvert{"convert",
                      {"TABLE"},
                      0,
                      {{"--all"}, {"--filter", "FILE.FLT"}, {"--tag-id", "ID", "--filter"}, {"--recno", "N"}},
                      {},
                      {{"--all", "--filter", "--recno"}}};

TEST(SyntaxTest, ParsesWhatFitsAndRefusesTheRest) {
    struct Case {
        const Syntax* syntax;
        std::vector<std::string> args;
        bool fits;
    };
    const Case cases[] = {
        {&kDump, {"t.dbf"}, true},
        {&kDump, {"t.dbf", "X=1", "--order", "LNAME", "--exact"}, true},
        {&kDump, {"--order", "LNAME", "t.dbf"}, true},               // options anywhere
        {&kDump, {"t.dbf", "--query", "--order"}, false},            // unknown option
        {&kDump, {}, false},                                         // operand missing
        {&kDump, {"t.dbf", "X", "extra"}, false},                    // one operand too many
        {&kDump, {"t.dbf", "--order"}, false},                       // value missing
        {&kDump, {"t.dbf", "--order", "A", "--order", "B"}, false},  // given twice
        {&kDump, {"t.dbf", "--tag-id", "ID1"}, false},               // without what it goes with
        {&kDump, {"t.dbf", "--filter", "f.flt", "--tag-id", "ID1"}, true},
        {&kPrint, {"l.L", "--table", "t", "--pdf", "o.pdf"}, true},
        {&kPrint, {"l.L", "--pdf", "o.pdf"}, false},  // required option missing
        {&kPrint, {"l.L", "--table", "t"}, false},    // none of the one-of group
        {&kPrint, {"l.L", "--table", "t", "--pdf", "o", "--printer", "p"}, false},  // both
        {&kConvert, {"t"}, true},  // none of an at-most-one group
        {&kConvert, {"t", "--filter", "f.flt", "--tag-id", "X"}, true},
        {&kConvert, {"t", "--all", "--recno", "1"}, false},
    };
    for (const Case& c : cases) {
        Arguments a;
        std::string joined;
        for (const std::string& s : c.args) joined += s + " ";
        EXPECT_EQ(Parse(*c.syntax, c.args, &a), c.fits) << c.syntax->command << " " << joined;
    }
}

TEST(SyntaxTest, GivesOperandsValuesAndFlags) {
    Arguments a;
    ASSERT_TRUE(Parse(kDump, {"--order", "--x", "t.dbf", "--exact"}, &a));  // a value may start with --
    EXPECT_EQ(a.operands(), std::vector<std::string>{"t.dbf"});
    EXPECT_EQ(a.operand(1), "");
    EXPECT_EQ(a.value("--order"), "--x");
    EXPECT_TRUE(a.has("--exact"));
    EXPECT_FALSE(a.has("--filter"));
    EXPECT_EQ(a.value("--filter"), "");
}

TEST(SyntaxTest, UsageComesFromTheDeclaration) {
    EXPECT_EQ(kDump.synopsis(),
              "dump TABLE [EXPR] [--order TAG] [--exact] [--filter FILE.FLT [--tag-id ID]]");
    EXPECT_EQ(kPrint.synopsis(), "print FILE --table T (--pdf OUT | --printer P)");
    EXPECT_EQ(kConvert.synopsis(), "convert TABLE [--all | --filter FILE.FLT [--tag-id ID] | --recno N]");
}

TEST(ConsoleMessagesTest, QuestionsNeedYesAndEverythingGoesToStandardError) {
    std::ostringstream err;
    cli::ConsoleMessages refusing(err, false);
    Messages& route = refusing;
    route.inform("Two\r\nlines");
    EXPECT_FALSE(route.ask("Delete all?", "DELETE"));
    EXPECT_TRUE(refusing.refused());
    EXPECT_EQ(err.str(),
              "quillory: Two\nlines\nquillory: Delete all? (not confirmed: give --yes to answer Yes)\n");

    std::ostringstream quiet;
    cli::ConsoleMessages answering(quiet, true);
    EXPECT_TRUE(static_cast<Messages&>(answering).ask("Delete all?", "DELETE", Messages::Preset::No));
    EXPECT_FALSE(answering.refused());
    EXPECT_EQ(quiet.str(), "");
}

}  // namespace
