#include <gtest/gtest.h>

#include <cstring>
#include <ctime>
#include <map>
#include <random>
#include <string>
#include <vector>

#include "Expression.h"

namespace xbase {
namespace {

constexpr uint8_t kWin1252 = 0x03;
constexpr uint8_t kDos437 = 0x01;

std::string pad(std::string s, size_t width) {
    s.resize(width, ' ');
    return s;
}

// Memo texts keyed by the (trimmed) block number stored in the record.
class FakeMemo : public MemoSource {
  public:
    std::map<std::string, std::string> texts;

    std::string memoText(const FieldDef& field, const char* record) const override {
        std::string key(record + field.offset, field.width);
        key.erase(0, key.find_first_not_of(' '));
        auto it = texts.find(key);
        return it == texts.end() ? std::string() : it->second;
    }
};

struct FieldValue {
    const char* name;
    std::string value;
};

class ExpressionTest : public ::testing::Test {
  protected:
    ExpressionTest()
        : layout_({{"LNAME", 'C', 30},
                   {"FNAME", 'C', 30},
                   {"CITY", 'C', 30},
                   {"STATE", 'C', 20},
                   {"ZIP", 'C', 10},
                   {"CODES", 'C', 30},
                   {"ISDEL", 'L', 1},
                   {"TAG", 'C', 8},
                   {"AMOUNT", 'N', 9, 2},
                   {"BORN", 'D', 8},
                   {"MEMO", 'M', 10},
                   {"NOTE", 'C', 10}}) {
        memo_.texts["1"] = "Likes cats";
        smith_ = makeRecord({{"LNAME", "SMITH"},
                             {"FNAME", "JOHN"},
                             {"CITY", "Springfield"},
                             {"STATE", "IL"},
                             {"ZIP", "62701"},
                             {"CODES", "A B C"},
                             {"ISDEL", "F"},
                             {"TAG", "vip"},
                             {"AMOUNT", "123.45"},
                             {"BORN", "19800115"},
                             {"MEMO", "1"},
                             {"NOTE", "hello"}});
        blank_ = makeRecord({});
    }

    // Text fields left-aligned, numbers right-aligned, the rest of the record blank.
    std::string makeRecord(const std::vector<FieldValue>& values, bool deleted = false) const {
        std::string rec(layout_.recordLength(), ' ');
        rec[0] = deleted ? '*' : ' ';
        for (const FieldValue& v : values) {
            const FieldDef& f = layout_.field(layout_.fieldIndex(v.name));
            std::string text = v.value.substr(0, f.width);
            if (f.type == 'N' || f.type == 'M') text = std::string(f.width - text.size(), ' ') + text;
            rec.replace(f.offset, text.size(), text);
        }
        return rec;
    }

    std::unique_ptr<Expression> compile(const std::string& text, uint8_t codePage = kWin1252) const {
        std::unique_ptr<Expression> e;
        Status s = Expression::compile(text, layout_, codePage, &e);
        EXPECT_TRUE(s.ok()) << text << ": " << s.toString();
        return e;
    }

    EvalContext ctx(const std::string& rec, bool exact = false) const {
        EvalContext c;
        c.record = rec.data();
        c.recNo = 42;
        c.exact = exact;
        c.memo = &memo_;
        return c;
    }

    std::string str(const std::string& text, const std::string* rec = nullptr, bool exact = false) const {
        auto e = compile(text);
        return e ? e->evalString(ctx(rec ? *rec : smith_, exact)) : "<error>";
    }

    bool logical(const std::string& text, const std::string* rec = nullptr, bool exact = false) const {
        auto e = compile(text);
        if (!e) return false;
        EXPECT_EQ(e->type(), ValueType::Logical) << text;
        return e->evalLogical(ctx(rec ? *rec : smith_, exact));
    }

    double num(const std::string& text, const std::string* rec = nullptr) const {
        auto e = compile(text);
        if (!e) return -99999;
        EXPECT_EQ(e->type(), ValueType::Numeric) << text;
        return e->evalNumeric(ctx(rec ? *rec : smith_));
    }

    std::string error(const std::string& text) const {
        std::unique_ptr<Expression> e;
        Status s = Expression::compile(text, layout_, kWin1252, &e);
        EXPECT_FALSE(s.ok()) << text << " compiled";
        EXPECT_TRUE(s.ok() || s.isInvalidArgument()) << text;
        return s.message();
    }

    RecordLayout layout_;
    FakeMemo memo_;
    std::string smith_;
    std::string blank_;
};

TEST_F(ExpressionTest, ReadsEachFieldType) {
    EXPECT_EQ(str("LNAME"), pad("SMITH", 30));
    EXPECT_EQ(str("lname"), pad("SMITH", 30));
    EXPECT_EQ(str("COTACAO->LName"), pad("SMITH", 30));
    EXPECT_DOUBLE_EQ(num("AMOUNT"), 123.45);
    EXPECT_EQ(str("DTOS(BORN)"), "19800115");
    EXPECT_EQ(str("MEMO"), "Likes cats");

    // Numbers: blank, negative, overflow asterisks.
    const struct {
        const char* raw;
        double value;
    } numbers[] = {{"", 0}, {"-12.5", -12.5}, {"7", 7}, {"*********", 0}};
    for (const auto& c : numbers) {
        const std::string rec = makeRecord({{"AMOUNT", c.raw}});
        EXPECT_DOUBLE_EQ(num("AMOUNT", &rec), c.value) << '"' << c.raw << '"';
    }

    // Logicals: T t Y y are true; F f N n, blank and ? are false.
    for (char c : std::string("TtYyFfNn ?")) {
        const std::string rec = makeRecord({{"ISDEL", std::string(1, c)}});
        EXPECT_EQ(logical("ISDEL", &rec), std::strchr("TtYy", c) != nullptr) << "byte '" << c << "'";
    }

    // Dates: blank and impossible dates are empty.
    for (const char* raw : {"", "20230230", "2023-1-1", "00000000"}) {
        const std::string rec = makeRecord({{"BORN", raw}});
        EXPECT_TRUE(logical("EMPTY(BORN)", &rec)) << raw;
        EXPECT_EQ(str("DTOS(BORN)", &rec), "        ") << raw;
    }

    // Without a memo source a memo reads as empty.
    auto e = compile("MEMO");
    EvalContext noMemo = ctx(smith_);
    noMemo.memo = nullptr;
    EXPECT_EQ(e->evalString(noMemo), "");
}

TEST_F(ExpressionTest, NumericOperatorsAndFunctions) {
    const struct {
        const char* expr;
        double value;
    } cases[] = {
        {"1 + 2 * 3", 7},
        {"(1 + 2) * 3", 9},
        {"2 ** 3 ** 2", 64},  // left to right
        {"-2 ** 2", -4},      // ** binds tighter than the sign
        {"2 ^ -1", 0.5},
        {"10 / 4", 2.5},
        {"5 / 0", 0},
        {"10 % 3", 1},
        {"-7 % 2", 1},  // the sign of the divisor
        {"7 % -2", -1},
        {"5 % 0", 0},
        {"1.5 + .5", 2},
        {"AMOUNT * 2", 246.9},
        {"-AMOUNT", -123.45},
        {"+3", 3},
        {"VAL('  -12.5xyz')", -12.5},
        {"VAL('abc')", 0},
        {"LEN(LNAME)", 30},
        {"LEN(TRIM(LNAME))", 5},
        {"AT('IT', LNAME)", 3},
        {"AT('Q', LNAME)", 0},
        {"AT('', LNAME)", 0},
        {"ABS(-3)", 3},
        {"INT(-3.7)", -3},
        {"ROUND(2.5, 0)", 3},
        {"ROUND(-2.5, 0)", -3},
        {"ROUND(1.005, 2)", 1.01},
        {"ROUND(1234.5678, -2)", 1200},
        {"MAX(3, 7)", 7},
        {"MIN(3, 7)", 3},
        {"YEAR(BORN) * 10000 + MONTH(BORN) * 100 + DAY(BORN)", 19800115},
        {"BORN - CTOD('01/01/1980')", 14},
        {"CTOD('03/01/2024') - CTOD('02/01/2024')", 29},
        {"RECNO()", 42},
    };
    for (const auto& c : cases) EXPECT_DOUBLE_EQ(num(c.expr), c.value) << c.expr;
}

TEST_F(ExpressionTest, LogicalOperatorsAndComparisons) {
    const struct {
        const char* expr;
        bool value;
    } cases[] = {
        // SET EXACT off: the left side cut to the length of the right.
        {"LNAME = 'SM'", true},
        {"LNAME = 'SMITH'", true},
        {"LNAME = 'SMITHS'", false},
        {"LNAME = ''", true},
        {"'SM' = LNAME", false},
        {"LNAME == 'SMITH'", false},
        {"TRIM(LNAME) == 'SMITH'", true},
        {"LNAME <> 'SM'", false},
        {"LNAME # 'JO'", true},
        {"LNAME != 'JO'", true},
        {"LNAME > 'SMA'", true},
        {"LNAME < 'T'", true},
        {"LNAME >= 'SMITH'", true},
        {"LNAME <= 'SMIT'", true},
        // Comparisons that read only a prefix of a computed text.
        {"UPPER(LNAME)='SM' .and. !ISDEL", true},
        {"UPPER(TAG) = 'VIP'", true},
        {"LNAME + FNAME = 'SMITH'", true},
        {"TRIM(LNAME) + FNAME = 'SMITHJO'", true},
        {"UPPER(TRIM(LNAME) + FNAME) = 'SMITHJOHN '", true},
        {"SUBSTR(UPPER(CITY), 3, 4) = 'RI'", true},
        {"SUBSTR(UPPER(CITY), 3, 4) = 'RINGF'", false},
        {"LEFT(UPPER(CITY), 3) = 'SPRING'", false},
        // $
        {"'IT' $ LNAME", true},
        {"'it' $ LNAME", false},
        {"'' $ LNAME", false},
        {"'cats' $ MEMO", true},
        // Word operators, bare or dotted, any case, with and without blanks.
        {"!ISDEL", true},
        {"NOT ISDEL", true},
        {".not.ISDEL", true},
        {"ISDEL .or. CITY = 'Spring'", true},
        {"ISDEL or STATE='IL'", true},
        {"LNAME='X' and STATE='IL'", false},
        {"STATE='IL'.AND.ZIP='627'", true},
        {".T. .and..not. ISDEL", true},
        {"NOTE = 'hello'", true},  // NOTE is a field, not NOT E
        {"!'X' $ LNAME", true},    // ! binds looser than $
        {"ISDEL = !ISDEL", false},
        {"ISDEL = .F.", true},
        {"ISDEL <> .t.", true},
        {"ISDEL == .F.", true},
        // Numbers and dates.
        {"AMOUNT > 100", true},
        {"AMOUNT = 123.45", true},
        {"AMOUNT * 3 = 370.35", true},
        {"0.1 + 0.2 = 0.3", true},
        {"0.0000001 = 0", false},
        {"BORN < {^1990-01-01}", true},
        {"BORN = CTOD('01/15/1980')", true},
        {"BORN + 1 > BORN", true},
        {"{} < BORN", true},
        // Functions.
        {"EMPTY(ZIP)", false},
        {"EMPTY(SPACE(4))", true},
        {"DELETED()", false},
        {"ISDIGIT(ZIP)", true},
        {"ISALPHA(ZIP)", false},
        {"ISUPPER(LNAME)", true},
        {"ISLOWER(TAG)", true},
        {"ISALPHA('')", false},
        {"IIF(ISDEL, 'Y', 'N') = 'N'", true},
        {"IIF(.T., ISDEL, .T.)", false},
    };
    for (const auto& c : cases) EXPECT_EQ(logical(c.expr), c.value) << c.expr;

    // Bytes compare unsigned, also when read straight from the record.
    const std::string accented = makeRecord({{"LNAME", "\xC9LISE"}});
    EXPECT_TRUE(logical("LNAME > 'z'", &accented));
    EXPECT_TRUE(logical("LNAME > 'zzzzzzzzzzzz'", &accented));
    EXPECT_TRUE(logical("LOWER(LNAME) = '\xE9l'", &accented));
}

TEST_F(ExpressionTest, ExactSettingIsReadAtEvaluation) {
    // The same compiled expression under SET EXACT off and on; constant operands
    // must not be folded into a fixed answer.
    const struct {
        const char* expr;
        bool loose;
        bool exact;
    } cases[] = {
        {"LNAME = 'SM'", true, false},
        {"LNAME = 'SMITH'", true, true},
        {"LNAME <> 'SM'", false, true},
        {"'SMITH' = 'SM'", true, false},
        {"'SM' = 'SMITH'", false, false},
        {"LNAME = ''", true, false},
        {"'' = ''", true, true},
        {"'SMITH ' = 'SMITH'", true, true},
        {"'SMITH ' == 'SMITH'", false, false},
        {"'ab' < 'abc'", true, true},
        {"'abc' > 'ab'", false, true},
        {"'\xE9' > 'z'", true, true},  // bytes compare unsigned
        {"'A\x01' < 'A'", false, true},
        {"UPPER(TAG) = 'VIP'", true, true},
        {"UPPER(TAG) = 'VI'", true, false},
        {"CITY = 'Springfield'", true, true},
        {"UPPER(CITY) = 'SPRINGFIELD'", true, true},
        {"UPPER(CITY) = 'SPRINGFIEL'", true, false},
        {"UPPER(CITY) > 'SPRINGFIELD'", false, false},
    };
    for (const auto& c : cases) {
        auto e = compile(c.expr);
        ASSERT_TRUE(e) << c.expr;
        EXPECT_EQ(e->evalLogical(ctx(smith_, false)), c.loose) << c.expr;
        EXPECT_EQ(e->evalLogical(ctx(smith_, true)), c.exact) << c.expr << " (exact)";
    }
}

TEST_F(ExpressionTest, TextOperatorsAndFunctions) {
    const struct {
        const char* expr;
        std::string value;
    } cases[] = {
        {"'abc'", "abc"},
        {"\"it's\"", "it's"},
        {"[say \"hi\"]", "say \"hi\""},
        {"UPPER(TAG)", "VIP     "},
        {"LOWER(LNAME)", pad("smith", 30)},
        {"TRIM(LNAME) + ',' + TRIM(FNAME)", "SMITH,JOHN"},
        {"LNAME - FNAME", pad("SMITHJOHN", 60)},
        {"'ab  ' - 'cd' - 'e'", "abcde  "},
        {"LEFT(LNAME, 3)", "SMI"},
        {"LEFT(LNAME, -5)", ""},
        {"RIGHT(TRIM(LNAME), 2)", "TH"},
        {"RIGHT('abc', 10)", "abc"},
        {"SUBSTR(LNAME, 2, 3)", "MIT"},
        {"SUBSTR(TRIM(LNAME), 3)", "ITH"},
        {"SUBSTR(LNAME, 40)", ""},
        {"SUBSTR(LNAME, 2, -1)", ""},
        {"SUBSTR(LNAME, 0, 2)", "SM"},
        {"SUBS(LNAME, 1, 2) + ALLT('  x  ')", "SMx"},  // four-letter abbreviations
        {"LTRIM('  ab ')", "ab "},
        {"RTRIM('  ab ')", "  ab"},
        {"ALLTRIM('  ab ')", "ab"},
        {"SPACE(3)", "   "},
        {"SPACE(-1)", ""},
        {"REPLICATE('ab', 3)", "ababab"},
        {"REPLICATE('', 5)", ""},
        {"PADL('ab', 5)", "   ab"},
        {"PADR('ab', 5, '*')", "ab***"},
        {"PADC('ab', 6, '-')", "--ab--"},
        {"PADL('abcdef', 3)", "abc"},
        {"DTOS(BORN)", "19800115"},
        {"DTOC(BORN)", "01/15/1980"},
        {"DTOC(CTOD('13/01/2024'))", "  /  /    "},
        {"DTOS(CTOD('02/29/24'))", "20240229"},
        {"DTOS(CTOD('1/5/70'))", "19700105"},
        {"DTOS(CTOD('02/29/2023'))", "        "},
        {"DTOS(BORN + 365)", "19810114"},
        {"DTOS(BORN - 15)", "19791231"},
        {"DTOS(30 + BORN)", "19800214"},
        {"DTOS({01/31/2024})", "20240131"},
        {"IIF(ISDEL, LNAME, FNAME)", pad("JOHN", 30)},
        {"MAX('abc', 'abd')", "abd"},
        {"DTOS(MIN(BORN, {^2000-01-01}))", "19800115"},
        {"UPPER(MEMO)", "LIKES CATS"},
        // Other types as text.
        {"AMOUNT", "       123"},
        {"ISDEL", "F"},
        {"!ISDEL", "T"},
        {"BORN", "19800115"},
        {"{}", "        "},
    };
    for (const auto& c : cases) EXPECT_EQ(str(c.expr), c.value) << c.expr;
}

TEST_F(ExpressionTest, StrFormatsLikeXBase) {
    const struct {
        const char* expr;
        const char* value;
    } cases[] = {
        {"STR(AMOUNT, 9, 2)", "   123.45"},
        {"STR(123.456, 8, 2)", "  123.46"},
        {"STR(123.456, 5, 2)", "123.5"},  // decimals give way first
        {"STR(123.456, 3, 2)", "123"},
        {"STR(1234, 3)", "***"},
        {"STR(10 ** 20)", "**********"},
        {"STR(-1.5)", "        -2"},
        {"STR(2.5)", "         3"},
        {"STR(-0.4)", "         0"},
        {"STR(0.05, 4, 1)", " 0.1"},
        {"STR(0.5, 5, 2)", " 0.50"},
        {"STR(1.005, 6, 2)", "  1.01"},
        {"STR(-12.5, 6, 1)", " -12.5"},
        {"STR(5, 0)", ""},
        {"STR(5, -3)", ""},
    };
    for (const auto& c : cases) EXPECT_EQ(str(c.expr), c.value) << c.expr;
}

TEST_F(ExpressionTest, BlankRecord) {
    const struct {
        const char* expr;
        const char* value;
    } cases[] = {
        {"EMPTY(LNAME) .and. EMPTY(AMOUNT) .and. EMPTY(BORN) .and. EMPTY(ISDEL) .and. EMPTY(MEMO)", "T"},
        {"AMOUNT = 0", "T"},
        {"DTOC(BORN)", "  /  /    "},
        {"DTOS(BORN + 5)", "        "},
        {"YEAR(BORN)", "         0"},
        {"BORN - {^2024-01-01}", "         0"},
        {"LNAME = 'A'", "F"},
    };
    for (const auto& c : cases) EXPECT_EQ(str(c.expr, &blank_), c.value) << c.expr;

    // DELETED() reads the deletion mark.
    const std::string deleted = makeRecord({{"LNAME", "X"}}, true);
    EXPECT_TRUE(logical("DELETED()", &deleted));
    EXPECT_FALSE(logical("DELETED()", &blank_));
}

TEST_F(ExpressionTest, ScratchTextIsNotStaleAcrossRecords) {
    auto e = compile("UPPER(TRIM(LNAME)) + '|' + IIF(ISDEL, PADL(FNAME, 3), LOWER(FNAME))");
    const std::string jones = makeRecord({{"LNAME", "jones"}, {"FNAME", "MARY"}, {"ISDEL", "T"}});
    EXPECT_EQ(e->evalString(ctx(smith_)), "SMITH|" + pad("john", 30));
    EXPECT_EQ(e->evalString(ctx(jones)), "JONES|MAR");
    EXPECT_EQ(e->evalString(ctx(smith_)), "SMITH|" + pad("john", 30));

    auto cmp = compile("UPPER(LNAME) = 'JON'");
    EXPECT_FALSE(cmp->evalLogical(ctx(smith_)));
    EXPECT_TRUE(cmp->evalLogical(ctx(jones)));
}

// Index upkeep leaves a key alone when the change touched none of the bytes it reads:
// every field named, the deletion byte for DELETED(), and never for memo text or today.
TEST_F(ExpressionTest, ReadsSameBytesKnowsWhatTheExpressionReads) {
    const std::string otherFirst = makeRecord({{"LNAME", "SMITH"}, {"FNAME", "MARY"}, {"CITY", "Springfield"},
                                               {"STATE", "IL"}, {"ZIP", "62701"}, {"CODES", "A B C"},
                                               {"ISDEL", "F"}, {"TAG", "vip"}, {"AMOUNT", "123.45"},
                                               {"BORN", "19800115"}, {"MEMO", "1"}, {"NOTE", "hello"}});
    std::string deleted = smith_;
    deleted[0] = '*';
    struct Case {
        const char* expr;
        bool sameWhenFirstNameChanges, sameWhenDeleted, sameOnItself;
    };
    const Case cases[] = {
        {"UPPER(LNAME)", true, true, true},
        {"UPPER(LNAME+FNAME)", false, true, true},
        {"IIF(ISDEL, ZIP, LEFT(FNAME, 1))", false, true, true},
        {"DELETED() .OR. LNAME = 'X'", true, false, true},
        {"STR(AMOUNT, 9, 2) + DTOS(BORN)", true, true, true},
        {"MEMO", false, false, false},
        {"DTOS(DATE())", false, false, false},
        {"RECNO()", true, true, true},
    };
    for (const Case& c : cases) {
        auto e = compile(c.expr);
        ASSERT_TRUE(e) << c.expr;
        EXPECT_EQ(e->readsSameBytes(smith_.data(), otherFirst.data()), c.sameWhenFirstNameChanges) << c.expr;
        EXPECT_EQ(e->readsSameBytes(smith_.data(), deleted.data()), c.sameWhenDeleted) << c.expr;
        EXPECT_EQ(e->readsSameBytes(smith_.data(), smith_.data()), c.sameOnItself) << c.expr;
    }
}

TEST_F(ExpressionTest, CaseMappingFollowsCodePage) {
    // Windows-1252: à é ÿ š œ ž ÷ ß  <->  À É Ÿ Š Œ Ž (÷ and ß unchanged)
    const std::string lower =
        "\xE0\xE9\xFF\x9A\x9C\x9E\xF7\xDF"
        "ab";
    const std::string upper =
        "\xC0\xC9\x9F\x8A\x8C\x8E\xF7\xDF"
        "AB";
    auto up = compile("UPPER('" + lower + "')", kWin1252);
    auto down = compile("LOWER('" + upper + "')", kWin1252);
    EXPECT_EQ(up->evalString(ctx(smith_)), upper);
    EXPECT_EQ(down->evalString(ctx(smith_)), std::string("\xE0\xE9\xFF\x9A\x9C\x9E\xF7\xDF"
                                                         "ab"));
    EXPECT_EQ(compile("LOWER('\xD7')", kWin1252)->evalString(ctx(smith_)), "\xD7");  // ×

    // Other code pages: ASCII letters only.
    EXPECT_EQ(compile("UPPER('" + lower + "')", kDos437)->evalString(ctx(smith_)),
              std::string("\xE0\xE9\xFF\x9A\x9C\x9E\xF7\xDF"
                          "AB"));

    EXPECT_TRUE(compile("ISALPHA('\xE9')", kWin1252)->evalLogical(ctx(smith_)));
    EXPECT_TRUE(compile("ISUPPER('\xC9')", kWin1252)->evalLogical(ctx(smith_)));
    EXPECT_TRUE(compile("ISLOWER('\xDF')", kWin1252)->evalLogical(ctx(smith_)));
    EXPECT_FALSE(compile("ISALPHA('\xE9')", kDos437)->evalLogical(ctx(smith_)));
}

TEST_F(ExpressionTest, ResultWidth) {
    const struct {
        const char* expr;
        int width;
    } cases[] = {
        {"LNAME", 30},
        {"LNAME + FNAME", 60},
        {"LNAME - FNAME", 60},
        {"UPPER(LNAME)", 30},
        {"ALLTRIM(LNAME)", 30},
        {"TRIM(LNAME) + FNAME", 60},
        {"ALLTRIM('  ab  ')", 6},
        {"LEFT(LNAME, 5)", 5},
        {"LEFT(LNAME, VAL(ZIP))", 30},
        {"SUBSTR(LNAME, 3, 4)", 4},
        {"SUBSTR(LNAME, 3)", 28},
        {"PADR(CITY, 40)", 40},
        {"PADL(CITY, 5)", 5},
        {"PADR(LNAME, LEN(CITY) + 2)", 32},
        {"SPACE(3)", 3},
        {"REPLICATE(TAG, 2)", 16},
        {"STR(AMOUNT)", 10},
        {"STR(AMOUNT, 12, 2)", 12},
        {"DTOS(BORN)", 8},
        {"DTOC(BORN)", 10},
        {"IIF(ISDEL, LNAME, ZIP)", 30},
        {"'abc'", 3},
        {"STATE + DTOS(BORN) + STR(AMOUNT, 9, 2)", 37},
        {"AMOUNT", 8},
        {"BORN", 8},
        {"ISDEL", 1},
    };
    for (const auto& c : cases) {
        auto e = compile(c.expr);
        ASSERT_TRUE(e) << c.expr;
        EXPECT_EQ(e->resultWidth(), c.width) << c.expr;
    }
}

TEST_F(ExpressionTest, CompileErrorsNameProblemAndColumn) {
    const struct {
        const char* expr;
        const char* message;
    } cases[] = {
        {"", "Empty expression"},
        {"   ", "Empty expression"},
        {"LNAM = 'x'", "Unknown field \"LNAM\" at column 1"},
        {"LNAME = x->LNAM", "Unknown field \"LNAM\" at column 12"},
        {"UPPER(LNAME", "Expected \")\" at column 12"},
        {"(ISDEL", "Expected \")\" at column 7"},
        {"FOO(1)", "Unknown function \"FOO\" at column 1"},
        {"SUB(LNAME, 1)", "Unknown function \"SUB\" at column 1"},
        {"ISDEL .and. 'a'", "Type mismatch: .AND. needs logical operands at column 7"},
        {"'a' .or. .T.", "Type mismatch: .OR. needs logical operands at column 5"},
        {"UPPER(1)", "Type mismatch: argument 1 of UPPER() must be character at column 7"},
        {"SUBSTR(LNAME, '1')", "Type mismatch: argument 2 of SUBSTR() must be numeric at column 15"},
        {"LNAME = 1", "Type mismatch: \"=\" compares character with numeric at column 7"},
        {"AMOUNT + LNAME", "Type mismatch: cannot apply \"+\" to numeric and character at column 8"},
        {"BORN + BORN", "Type mismatch: cannot apply \"+\" to date and date at column 6"},
        {"-LNAME", "Type mismatch: unary \"-\" needs a numeric operand at column 1"},
        {"!LNAME", "Type mismatch: .NOT. needs a logical operand at column 1"},
        {"'a' $ 1", "Type mismatch: \"$\" needs character operands at column 5"},
        {"ISDEL < .T.", "Type mismatch: \"<\" cannot order logical values at column 7"},
        {"IIF(ISDEL, 1, 'a')", "Type mismatch: IIF() needs two values of the same type at column 15"},
        {"MAX(ISDEL, ISDEL)", "Type mismatch: MAX() needs two numbers, two dates or two texts at column 12"},
        {"UPPER()", "UPPER() takes 1 argument at column 1"},
        {"SUBSTR(LNAME)", "SUBSTR() takes 2 or 3 arguments at column 1"},
        {"STR()", "STR() takes 1 to 3 arguments at column 1"},
        {"DELETED(1)", "DELETED() takes no arguments at column 1"},
        {"'abc", "Unterminated string at column 1"},
        {"LNAME = [abc", "Unterminated string at column 9"},
        {"LNAME xyz", "Unexpected \"xyz\" at column 7"},
        {"LNAME = 'a')", "Unexpected \")\" at column 12"},
        {"LNAME =", "Unexpected end of expression at column 8"},
        {"ISDEL .and.", "Unexpected end of expression at column 12"},
        {"LNAME @ 'x'", "Unexpected \"@\" at column 7"},
        {".X.", "Unexpected \".X.\" at column 1"},
        {"1 . 2", "Unexpected \".\" at column 3"},
        {"{13/45/2024}", "Invalid date {13/45/2024} at column 1"},
        {"x-> = 1", "Expected a field name after \"->\" at column 5"},
        {"LNAME = '\xC3\xA9' \xC3", "Unexpected byte 0xC3 at column 14"},
    };
    for (const auto& c : cases) EXPECT_EQ(error(c.expr), c.message) << c.expr;
}

TEST_F(ExpressionTest, DeepNestingIsRefusedNotOverflowed) {
    auto nested = [](int n, const std::string& core) {
        return std::string(n, '(') + core + std::string(n, ')');
    };
    EXPECT_DOUBLE_EQ(num(nested(50, "AMOUNT")), 123.45);
    EXPECT_NE(error(nested(200, "1")).find("nested too deeply"), std::string::npos);
    EXPECT_NE(error(std::string(100000, '(')).find("nested too deeply"), std::string::npos);
    EXPECT_NE(error(std::string(10000, '-') + "1").find("nested too deeply"), std::string::npos);
    EXPECT_NE(error(std::string(10000, '!') + "ISDEL").find("nested too deeply"), std::string::npos);
    EXPECT_NE(error("UPPER(" + std::string(5000, '(')).find("nested too deeply"), std::string::npos);

    // A long chain of non-constant operators builds a deep tree: refused beyond a limit.
    std::string sum = "AMOUNT";
    for (int i = 0; i < 5000; ++i) sum += " + AMOUNT";
    EXPECT_NE(error(sum).find("nested too deeply"), std::string::npos);
    // Constant chains fold as they are read.
    std::string ones = "1";
    for (int i = 0; i < 5000; ++i) ones += "+1";
    EXPECT_DOUBLE_EQ(num(ones), 5001);
}

TEST_F(ExpressionTest, LongAlternativesStayFlat) {
    // A filter over thousands of ZIP codes, as a selection list produces.
    std::string filter;
    for (int i = 0; i < 5000; ++i)
        filter += (i ? " .or. ZIP = '" : "ZIP = '") + std::to_string(60000 + i) + "'";
    auto e = compile(filter);
    ASSERT_TRUE(e);
    EXPECT_TRUE(e->evalLogical(ctx(smith_)));  // 62701
    const std::string other = makeRecord({{"ZIP", "99999"}});
    EXPECT_FALSE(e->evalLogical(ctx(other)));
}

TEST_F(ExpressionTest, EvaluationNeverFailsOnOddInput) {
    // Out-of-range arguments are clamped; huge texts are capped rather than allocated.
    EXPECT_EQ(str("LEN(REPLICATE('ab', 10 ** 12))"), "   1048576");
    EXPECT_EQ(str("LEN(SPACE(10 ** 300))"), "   1048576");
    EXPECT_EQ(str("LEN(PADR('x', -5))"), "         0");
    EXPECT_EQ(str("SUBSTR(LNAME, 10 ** 300, 10 ** 300)"), "");
    EXPECT_EQ(str("SUBSTR(LNAME, -(10 ** 300), 2)"), "SM");
    EXPECT_EQ(str("STR(0 ** -1)"), "**********");
    EXPECT_EQ(str("STR((-8) ** 0.5)"), "**********");  // NaN
    EXPECT_EQ(str("DTOS(BORN + 10 ** 20)"), "99991231");
    EXPECT_EQ(str("DTOS(BORN - 10 ** 20)"), "00010101");

    // Without a record, fields read blank.
    auto e = compile("LNAME = '' .and. AMOUNT = 0 .and. !ISDEL .and. EMPTY(BORN) .and. !DELETED()");
    EvalContext none;
    EXPECT_TRUE(e->evalLogical(none));
}

std::vector<std::string> split(const std::string& list) {
    std::vector<std::string> out;
    size_t start = 0;
    for (size_t bar; (bar = list.find('|', start)) != std::string::npos; start = bar + 1) {
        out.push_back(list.substr(start, bar - start));
    }
    out.push_back(list.substr(start));
    return out;
}

// A random well-formed (but not necessarily well-typed) expression of the given depth.
std::string randomExpression(std::mt19937& rng, int depth) {
    static const std::vector<std::string> kLeaves = split(
        "LNAME|AMOUNT|ISDEL|BORN|MEMO|TAG|'ab'|''|3|-1|0|1.5|.T.|{}|{^2024-02-29}|RECNO()|DATE()|DELETED()|"
        "10 ** 400");
    // @ stands for a sub-expression.
    static const std::vector<std::string> kForms = split(
        "UPPER(@)|LOWER(@)|TRIM(@)|ALLTRIM(@)|LEN(@)|STR(@)|STR(@, @, @)|VAL(@)|DTOS(@)|DTOC(@)|CTOD(@)|"
        "EMPTY(@)|-@|!@|(@)|SPACE(@)|ABS(@)|INT(@)|YEAR(@)|ISALPHA(@)|@ + @|@ - @|@ * @|@ / @|@ % @|@ ** @|"
        "@ = @|@ == @|@ <> @|@ < @|@ $ @|@ .and. @|@ .or. @|LEFT(@, @)|RIGHT(@, @)|SUBSTR(@, @)|"
        "SUBSTR(@, @, @)|AT(@, @)|REPLICATE(@, @)|PADL(@, @)|PADR(@, @, @)|MAX(@, @)|MIN(@, @)|ROUND(@, @)|"
        "IIF(@, @, @)");
    if (depth == 0 || rng() % 4 == 0) return kLeaves[rng() % kLeaves.size()];
    std::string out;
    for (char c : kForms[rng() % kForms.size()]) {
        if (c == '@') {
            out += randomExpression(rng, depth - 1);
        } else {
            out += c;
        }
    }
    return out;
}

// Whatever compiles must evaluate on any record without crashing; whatever does
// not must fail with a message. Random expressions reach evaluation; random token
// soup and stray bytes exercise the lexer and the error paths.
TEST_F(ExpressionTest, RandomExpressionsNeverCrash) {
    std::mt19937 rng(12345);
    const std::string records[] = {smith_, blank_, std::string(layout_.recordLength(), '\xFF')};
    auto check = [&](const std::string& text) {
        std::unique_ptr<Expression> e;
        Status s = Expression::compile(text, layout_, kWin1252, &e);
        if (!s.ok()) {
            EXPECT_TRUE(s.isInvalidArgument()) << text;
            EXPECT_FALSE(s.message().empty()) << text;
            return false;
        }
        for (const std::string& rec : records) {
            for (bool exact : {false, true}) {
                const EvalContext c = ctx(rec, exact);
                const std::string out = e->evalString(c);
                if (e->type() == ValueType::Logical) {
                    EXPECT_TRUE(out == "T" || out == "F") << text;
                } else if (e->type() == ValueType::Date) {
                    EXPECT_EQ(out.size(), 8u) << text;
                }
                (void)e->evalLogical(c);
                (void)e->evalNumeric(c);
            }
        }
        return true;
    };

    int compiled = 0;
    for (int i = 0; i < 20000; ++i) compiled += check(randomExpression(rng, 1 + int(rng() % 5)));
    EXPECT_GT(compiled, 2000);  // enough of them must get past the type checks

    static const std::vector<std::string> kPieces = split(
        "LNAME|(|)|,|+|-|**|=|$|.and.|.not.|and|'ab'|[x|3|.T.|{^2024-01-01}|UPPER(|x->|"
        "'|\"|{|.|]|->|..|1.|.5");
    for (int i = 0; i < 5000; ++i) {
        std::string text;
        for (int j = 1 + int(rng() % 8); j > 0; --j) {
            text += kPieces[rng() % kPieces.size()];
            if (rng() % 3 == 0) text += ' ';
        }
        check(text);
    }
    for (int b = 0; b < 256; ++b) {
        check(std::string(1, char(b)));
        check("LNAME = '" + std::string(1, char(b)) + "'");
    }
}

TEST_F(ExpressionTest, DateIsToday) {
    auto today = [] {
        const std::time_t now = std::time(nullptr);
        std::tm tm{};
        localtime_r(&now, &tm);
        char buf[9];
        std::strftime(buf, sizeof buf, "%Y%m%d", &tm);
        return std::string(buf);
    };
    const std::string before = today();
    const std::string got = str("DTOS(DATE())");
    const std::string after = today();
    EXPECT_TRUE(got == before || got == after) << got;
}

}  // namespace
}  // namespace xbase
