// Interoperability with two independent xBase implementations: Python's dbf
// package (python3-dbf) and Perl's XBase module (libdbd-xbase-perl).
//
// The helper scripts beside this file read and write tables in a plain row format
// (see pydbf_read.py): a line of field names, then per record the deletion mark and
// the values in a canonical text form, UTF-8. Each test writes a table with one
// implementation and reads it with the others, comparing every value and mark.

#include <gtest/gtest.h>
#include <sys/wait.h>

#include <algorithm>
#include <cctype>
#include <cstdio>
#include <filesystem>
#include <fstream>
#include <sstream>
#include <string>
#include <vector>

#include "CodePage.h"
#include "Table.h"
#include "TempDir.h"

using namespace xbase;

namespace {

// The system interpreter: python3-dbf is installed for it, not for any other python3 on PATH.
const std::string kPython = "/usr/bin/python3";
const std::string kScripts = QUILLORY_TEST_DIR;

// ---------------------------------------------------------------------------
// Tables as text.

struct Column {
    std::string name;
    char type;
    int width;
    int decimals;
};

struct Row {
    bool deleted;
    std::vector<std::string> values;  // one per column, canonical UTF-8 text
};

struct Rows {
    std::vector<Column> columns;
    std::vector<Row> rows;
};

std::string escape(const std::string& text) {
    std::string out;
    for (char c : text) {
        switch (c) {
            case '\\':
                out += "\\\\";
                break;
            case '\t':
                out += "\\t";
                break;
            case '\r':
                out += "\\r";
                break;
            case '\n':
                out += "\\n";
                break;
            default:
                out += c;
        }
    }
    return out;
}

std::string unescape(const std::string& text) {
    std::string out;
    for (size_t i = 0; i < text.size(); ++i) {
        char c = text[i];
        if (c == '\\' && i + 1 < text.size()) {
            c = text[++i];
            c = c == 't' ? '\t' : c == 'r' ? '\r' : c == 'n' ? '\n' : c;
        }
        out += c;
    }
    return out;
}

std::vector<std::string> splitTabs(const std::string& line) {
    std::vector<std::string> cells;
    size_t start = 0;
    for (;;) {
        const size_t tab = line.find('\t', start);
        cells.push_back(line.substr(start, tab == std::string::npos ? std::string::npos : tab - start));
        if (tab == std::string::npos) return cells;
        start = tab + 1;
    }
}

std::string formatRows(const Rows& table) {
    std::string out;
    for (size_t i = 0; i < table.columns.size(); ++i) out += (i ? "\t" : "") + table.columns[i].name;
    out += '\n';
    for (const Row& row : table.rows) {
        out += row.deleted ? "*" : "-";
        for (const std::string& v : row.values) out += "\t" + escape(v);
        out += '\n';
    }
    return out;
}

// Parses a script's output into `out`, whose columns must already be set: the
// header line must name them in order.
::testing::AssertionResult parseRows(const std::string& text, Rows* out) {
    std::istringstream in(text);
    std::string line;
    if (!std::getline(in, line)) return ::testing::AssertionFailure() << "no header line in:\n" << text;
    std::vector<std::string> names = splitTabs(line);
    std::vector<std::string> expected;
    for (const Column& c : out->columns) expected.push_back(c.name);
    if (names != expected) return ::testing::AssertionFailure() << "unexpected field names: " << line;
    out->rows.clear();
    while (std::getline(in, line)) {
        std::vector<std::string> cells = splitTabs(line);
        if (cells.size() != names.size() + 1 || (cells[0] != "*" && cells[0] != "-")) {
            return ::testing::AssertionFailure() << "bad record line: " << line;
        }
        Row row{cells[0] == "*", {}};
        for (size_t i = 1; i < cells.size(); ++i) row.values.push_back(unescape(cells[i]));
        out->rows.push_back(std::move(row));
    }
    return ::testing::AssertionSuccess();
}

// Compares record by record and names every difference.
::testing::AssertionResult sameRows(const char* expectedExpr, const char* actualExpr, const Rows& expected,
                                    const Rows& actual) {
    std::ostringstream diff;
    if (expected.rows.size() != actual.rows.size()) {
        diff << "  " << actual.rows.size() << " records, expected " << expected.rows.size() << "\n";
    }
    for (size_t r = 0; r < expected.rows.size() && r < actual.rows.size(); ++r) {
        const Row& want = expected.rows[r];
        const Row& got = actual.rows[r];
        if (want.deleted != got.deleted) {
            diff << "  record " << r + 1 << ": " << (got.deleted ? "deleted" : "not deleted") << "\n";
        }
        for (size_t f = 0; f < want.values.size() && f < got.values.size(); ++f) {
            if (want.values[f] != got.values[f]) {
                diff << "  record " << r + 1 << " " << expected.columns[f].name << ": \""
                     << escape(got.values[f]) << "\", expected \"" << escape(want.values[f]) << "\"\n";
            }
        }
    }
    if (diff.str().empty()) return ::testing::AssertionSuccess();
    return ::testing::AssertionFailure() << actualExpr << " differs from " << expectedExpr << ":\n"
                                         << diff.str();
}

// "NAME C(30); AMOUNT N(10,2); OK L; DAY D; NOTES M", the field list both scripts take.
std::string fieldList(const std::vector<Column>& columns) {
    std::string out;
    for (const Column& c : columns) {
        if (!out.empty()) out += "; ";
        out += c.name + " " + c.type;
        if (c.type == 'C') out += "(" + std::to_string(c.width) + ")";
        if (c.type == 'N') out += "(" + std::to_string(c.width) + "," + std::to_string(c.decimals) + ")";
    }
    return out;
}

// ---------------------------------------------------------------------------
// The test data: every field type, accented Windows-1252 text, memos short, long
// (many blocks), empty and exactly one block long, deleted records.

// `unit` repeated to exactly `chars` characters (cp1252 bytes on disk).
std::string repeatChars(const std::string& unit, size_t chars) {
    std::string out;
    size_t count = 0;
    for (size_t i = 0;; i = (i + 1) % unit.size()) {
        const bool lead = (static_cast<unsigned char>(unit[i]) & 0xC0) != 0x80;
        if (lead && count++ == chars) break;
        out += unit[i];
    }
    return out;
}

const int kNotes = 5;  // the memo column of people()

Rows people() {
    Rows t;
    t.columns = {{"NAME", 'C', 30, 0},  {"AMOUNT", 'N', 10, 2}, {"VISITS", 'N', 5, 0},
                 {"ACTIVE", 'L', 1, 0}, {"JOINED", 'D', 8, 0},  {"NOTES", 'M', 10, 0}};
    const std::string longMemo = repeatChars("Ligne: café crème, naïve façade, 10 € — Grüße!\r\n", 400);
    t.rows = {
        {false, {"José Müller", "1234.50", "12", "T", "20240229", "Prefers e-mail; no calls after 6 pm."}},
        {false, {"Zoë Ñúñez – €uro desk", "-3.25", "0", "F", "19991231", longMemo}},
        {true, {"Günther Straße", "0.00", "7", "T", "20000101", "Moved away. Ärger mit der Post."}},
        {false, {"", "", "", "", "", ""}},
        {true, {"Ñandú", "-0.50", "99999", "F", "20991231", repeatChars("1 block ü ", 56)}},
        {false, {"ÀÉÎÕÜ àéîõü çÇ ÿ", "0.01", "1", "", "20240101", repeatChars("128 bytes ñ ", 120)}},
    };
    return t;
}

// ---------------------------------------------------------------------------
// Running the scripts and the engine.

std::string shellQuote(const std::string& s) {
    std::string out = "'";
    for (char c : s) out += c == '\'' ? std::string("'\\''") : std::string(1, c);
    return out + "'";
}

std::string readFile(const std::string& path) {
    std::ifstream in(path, std::ios::binary);
    return std::string(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
}

// Every test works in a fresh folder of its own; tables are named relative to it.
class InteropTest : public ::testing::Test {
  protected:
    void SetUp() override {
        ASSERT_FALSE(dir_.path().empty()) << "cannot create a temporary folder";
        std::string out;
        ASSERT_TRUE(run(kPython + " -c 'import dbf'", "", &out))
            << "Python's dbf package is missing for " << kPython
            << " (Debian package python3-dbf; scripts/install-deps.sh installs it)";
        ASSERT_TRUE(run("perl -MXBase -e 1", "", &out))
            << "Perl's XBase module is missing (Debian package libdbd-xbase-perl; scripts/install-deps.sh "
               "installs it)";
    }

    std::string path(const std::string& name) const { return dir_.file(name); }

    // Runs `command` through the shell in the test's folder with `input` on its
    // standard input; its standard output goes to *out.
    ::testing::AssertionResult run(const std::string& command, const std::string& input, std::string* out) {
        const std::string inPath = dir_.file("stdin.txt");
        const std::string errPath = dir_.file("stderr.txt");
        std::ofstream(inPath, std::ios::binary) << input;
        const std::string full = "cd " + shellQuote(dir_.path()) + " && " + command + " <" +
                                 shellQuote(inPath) + " 2>" + shellQuote(errPath);
        FILE* pipe = ::popen(full.c_str(), "r");
        if (!pipe) return ::testing::AssertionFailure() << "cannot run: " << command;
        out->clear();
        char buf[4096];
        size_t n;
        while ((n = std::fread(buf, 1, sizeof buf, pipe)) > 0) out->append(buf, n);
        const int status = ::pclose(pipe);
        std::remove(inPath.c_str());
        const std::string err = readFile(errPath);
        std::remove(errPath.c_str());
        if (status == -1 || !WIFEXITED(status) || WEXITSTATUS(status) != 0) {
            return ::testing::AssertionFailure() << command << " failed (status " << status << "):\n"
                                                 << err << *out;
        }
        return ::testing::AssertionSuccess();
    }

    static std::string script(const std::string& name) { return shellQuote(kScripts + "/" + name); }

    // The readers fill `out`, whose columns say what to expect in the header line.
    ::testing::AssertionResult readWithPython(const std::string& name, Rows* out) {
        std::string text;
        auto ok = run(kPython + " " + script("pydbf_read.py") + " " + shellQuote(name), "", &text);
        return ok ? parseRows(text, out) : ok;
    }
    ::testing::AssertionResult readWithPerl(const std::string& name, Rows* out) {
        std::string text;
        auto ok = run("perl " + script("xbase_read.pl") + " " + shellQuote(name), "", &text);
        return ok ? parseRows(text, out) : ok;
    }
    // `type` is Python dbf's table type: "fp" (FoxPro 2, 0xF5) or "vfp" (Visual FoxPro, 0x30).
    ::testing::AssertionResult writeWithPython(const std::string& name, const std::string& type,
                                               const Rows& table) {
        std::string text;
        return run(kPython + " " + script("pydbf_write.py") + " " + shellQuote(name) + " " + type + " " +
                       shellQuote(fieldList(table.columns)),
                   formatRows(table), &text);
    }
    // Adds the records of `table` to the existing table `name`.
    ::testing::AssertionResult appendWithPython(const std::string& name, const Rows& table) {
        std::string text;
        return run(kPython + " " + script("pydbf_write.py") + " --append " + shellQuote(name),
                   formatRows(table), &text);
    }
    ::testing::AssertionResult writeWithPerl(const std::string& name, const Rows& table) {
        std::string text;
        return run("perl " + script("xbase_write.pl") + " " + shellQuote(name) + " " +
                       shellQuote(fieldList(table.columns)),
                   formatRows(table), &text);
    }

    ::testing::AssertionResult readWithEngine(const std::string& name, Rows* out) {
        std::unique_ptr<Table> table;
        Status s = Table::open(path(name), OpenMode::ReadOnlyShared, &table);
        if (!s.ok()) return ::testing::AssertionFailure() << "open " << name << ": " << s.toString();
        if (table->fieldCount() != int(out->columns.size())) {
            return ::testing::AssertionFailure() << name << " has " << table->fieldCount() << " fields";
        }
        for (int f = 0; f < table->fieldCount(); ++f) {
            const FieldDef& have = table->field(f);
            const Column& want = out->columns[size_t(f)];
            if (have.name != want.name || have.type != want.type || have.decimals != want.decimals ||
                (want.type != 'M' && have.width != want.width)) {
                return ::testing::AssertionFailure()
                       << name << " field " << f + 1 << " is " << have.name << " " << have.type << "("
                       << have.width << "," << int(have.decimals) << ")";
            }
        }
        out->rows.clear();
        for (uint32_t r = 1; r <= table->recCount(); ++r) {
            s = table->go(r);
            if (!s.ok()) return ::testing::AssertionFailure() << "go " << r << ": " << s.toString();
            Row row{table->deleted(), {}};
            for (int f = 0; f < table->fieldCount(); ++f) {
                std::string value;
                if (table->field(f).type == 'M') {
                    s = table->getMemo(f, &value);
                    if (!s.ok()) {
                        return ::testing::AssertionFailure() << "memo of " << r << ": " << s.toString();
                    }
                } else {
                    value = table->getTrimString(f);
                }
                row.values.push_back(table->codePage().toUtf8(value));
            }
            out->rows.push_back(std::move(row));
        }
        s = table->close();
        if (!s.ok()) return ::testing::AssertionFailure() << "close: " << s.toString();
        return ::testing::AssertionSuccess();
    }

    // Stores the text of `row` in the current record.
    static ::testing::AssertionResult putRow(Table* table, const Row& row) {
        for (int f = 0; f < table->fieldCount(); ++f) {
            std::string bytes;
            Status s = table->codePage().fromUtf8(row.values[size_t(f)], &bytes);
            if (s.ok()) s = table->replace(f, bytes);
            if (!s.ok()) return ::testing::AssertionFailure() << table->field(f).name << ": " << s.toString();
        }
        Status s = row.deleted ? table->deleteRecord() : table->recall();
        if (!s.ok()) return ::testing::AssertionFailure() << "deletion mark: " << s.toString();
        return ::testing::AssertionSuccess();
    }

    ::testing::AssertionResult writeWithEngine(const std::string& name, const Rows& rows) {
        TableSpec design;
        for (const Column& c : rows.columns) {
            design.fields.push_back(FieldDef{c.name, c.type, uint16_t(c.width), uint8_t(c.decimals)});
        }
        Status s = Table::create(path(name), design);
        if (!s.ok()) return ::testing::AssertionFailure() << "create " << name << ": " << s.toString();
        std::unique_ptr<Table> table;
        s = Table::open(path(name), OpenMode::Exclusive, &table);
        if (!s.ok()) return ::testing::AssertionFailure() << "open " << name << ": " << s.toString();
        for (const Row& row : rows.rows) {
            s = table->appendBlank();
            if (!s.ok()) return ::testing::AssertionFailure() << "append: " << s.toString();
            auto ok = putRow(table.get(), row);
            if (!ok) return ok;
        }
        s = table->close();
        if (!s.ok()) return ::testing::AssertionFailure() << "close: " << s.toString();
        return ::testing::AssertionSuccess();
    }

    // What each implementation reads from table `name`, checked against `expected`.
    void expectEveryoneReads(const std::string& name, const Rows& expected) {
        Rows engine{expected.columns, {}}, python{expected.columns, {}}, perl{expected.columns, {}};
        ASSERT_TRUE(readWithEngine(name, &engine));
        EXPECT_PRED_FORMAT2(sameRows, expected, engine);
        ASSERT_TRUE(readWithPython(name, &python));
        EXPECT_PRED_FORMAT2(sameRows, expected, python);
        ASSERT_TRUE(readWithPerl(name, &perl));
        EXPECT_PRED_FORMAT2(sameRows, expected, perl);
    }

    // The FPT header's next-free block must lie at or past the end of the file.
    void expectNextFreePastTheData(const std::string& memoName) {
        const std::string bytes = readFile(path(memoName));
        ASSERT_GE(bytes.size(), 8u) << memoName;
        const auto u = [&](size_t i) { return uint32_t(static_cast<unsigned char>(bytes[i])); };
        const uint32_t nextFree = u(0) << 24 | u(1) << 16 | u(2) << 8 | u(3);
        const uint32_t blockSize = u(6) << 8 | u(7);
        EXPECT_GE(uint64_t(nextFree) * blockSize, bytes.size())
            << memoName << ": next free block " << nextFree << " of " << blockSize << " bytes";
    }

    TempDir dir_;
};

// The memo file beside table `name`, its extension's letter case copied letter by
// letter: x.dbf -> x.fpt, X.DBF -> X.FPT, x.Dbf -> x.Fpt. Python's dbf looks for
// exactly this name; Perl's XBase tries .fpt and .FPT; the engine creates .fpt or
// .FPT after the extension's first letter and finds the memo file in any case.
std::string memoNameFor(const std::string& name) {
    std::string memo = name.substr(0, name.size() - 3);
    const std::string fpt = "fpt";
    for (size_t i = 0; i < 3; ++i) {
        const bool upper = std::isupper(static_cast<unsigned char>(name[name.size() - 3 + i]));
        memo += upper ? char(std::toupper(fpt[i])) : fpt[i];
    }
    return memo;
}

// ---------------------------------------------------------------------------
// Tables written by Python's dbf open in the engine.

struct PythonTable {
    const char* type;  // dbf's table type
    const char* name;
    const char* label;
};

void PrintTo(const PythonTable& t, std::ostream* os) { *os << t.type << " " << t.name; }

class PythonWrittenTable : public InteropTest, public ::testing::WithParamInterface<PythonTable> {};

TEST_P(PythonWrittenTable, OpensInTheEngineWithTheSameValues) {
    const std::string name = GetParam().name;
    const Rows expected = people();
    ASSERT_TRUE(writeWithPython(name, GetParam().type, expected));
    ASSERT_TRUE(std::filesystem::exists(path(memoNameFor(name)))) << "dbf wrote no " << memoNameFor(name);

    Rows engine{expected.columns, {}};
    ASSERT_TRUE(readWithEngine(name, &engine));
    EXPECT_PRED_FORMAT2(sameRows, expected, engine);

    std::unique_ptr<Table> table;
    ASSERT_TRUE(Table::open(path(name), OpenMode::ReadOnlyShared, &table).ok());
    EXPECT_EQ(table->codePage().number(), 1252);
    EXPECT_EQ(table->memoPath(), path(memoNameFor(name)));
}

INSTANTIATE_TEST_SUITE_P(
    Interop, PythonWrittenTable,
    ::testing::Values(PythonTable{"fp", "people.dbf", "fp_lower_case"},
                      PythonTable{"fp", "PEOPLE.DBF", "fp_upper_case"},
                      PythonTable{"vfp", "people.dbf", "vfp_lower_case"},
                      PythonTable{"vfp", "PEOPLE.DBF", "vfp_upper_case"},
                      // The memo file is people.Fpt; the engine would name it people.FPT.
                      PythonTable{"fp", "people.Dbf", "fp_mixed_case"}),
    [](const ::testing::TestParamInfo<PythonTable>& p) { return p.param.label; });

TEST_F(InteropTest, PerlWrittenTableOpensInTheEngineWithTheSameValues) {
    const Rows expected = people();
    ASSERT_TRUE(writeWithPerl("people.dbf", expected));
    expectEveryoneReads("people.dbf", expected);
}

// ---------------------------------------------------------------------------
// Tables the engine writes open in Python's dbf and Perl's XBase.

class EngineWrittenTable : public InteropTest, public ::testing::WithParamInterface<const char*> {};

TEST_P(EngineWrittenTable, OpensInPythonAndPerlWithTheSameValues) {
    const std::string name = GetParam();
    const Rows expected = people();
    ASSERT_TRUE(writeWithEngine(name, expected));
    ASSERT_TRUE(std::filesystem::exists(path(memoNameFor(name))));
    expectEveryoneReads(name, expected);
}

INSTANTIATE_TEST_SUITE_P(Interop, EngineWrittenTable, ::testing::Values("people.dbf", "PEOPLE.DBF"),
                         [](const ::testing::TestParamInfo<const char*>& p) {
                             return std::string(p.param[0] == 'p' ? "lower_case" : "upper_case");
                         });

// ---------------------------------------------------------------------------
// Memos the engine rewrites in place, moves to the end, empties and grows again
// read right everywhere, and no other record's memo changes. The table comes from
// the engine itself (64-byte blocks) or from Python's dbf (128-byte blocks, the
// last memo not padded; Visual FoxPro with binary memo pointers).

class MemoRewrite : public InteropTest, public ::testing::WithParamInterface<const char*> {};

TEST_P(MemoRewrite, EveryReaderSeesTheLatestMemosAndNothingElseChanges) {
    const std::string origin = GetParam();
    const std::string name = "people.dbf";
    Rows model = people();
    if (origin == "engine") {
        ASSERT_TRUE(writeWithEngine(name, model));
    } else {
        ASSERT_TRUE(writeWithPython(name, origin, model));
    }

    struct Change {
        uint32_t recNo;  // 0 appends a record
        size_t length;   // of the new memo, in characters
    };
    // Records 3 and 5 keep the memos they were written with, near the start of the file.
    const std::vector<std::vector<Change>> rounds = {
        {{1, 500}, {2, 10}, {4, 200}, {6, 0}},  // grow, shrink, fill an empty one, empty
        {{1, 0}, {2, 700}, {0, 300}, {4, 60}},  // empty, grow past the end, append a record
        {{1, 90}, {2, 70}, {7, 1000}, {4, 900}, {6, 64}},
        {{1, 1}, {7, 20}, {6, 130}, {2, 3000}},
    };
    for (size_t round = 0; round < rounds.size(); ++round) {
        SCOPED_TRACE("round " + std::to_string(round + 1));
        std::unique_ptr<Table> table;
        ASSERT_TRUE(Table::open(path(name), OpenMode::Exclusive, &table).ok());
        for (const Change& change : rounds[round]) {
            uint32_t recNo = change.recNo;
            if (recNo == 0) {
                ASSERT_TRUE(table->appendBlank().ok());
                model.rows.push_back({false, {"Ève Nouvelle", "", "", "", "", ""}});
                recNo = table->recNo();
                ASSERT_TRUE(putRow(table.get(), model.rows.back()));
            }
            ASSERT_TRUE(table->go(recNo).ok());
            const std::string unit = "r" + std::to_string(recNo) + "v" + std::to_string(round + 1) + " où ";
            const std::string text = repeatChars(unit, change.length);
            std::string bytes;
            ASSERT_TRUE(table->codePage().fromUtf8(text, &bytes).ok());
            ASSERT_TRUE(table->replace(kNotes, bytes).ok());
            model.rows[recNo - 1].values[kNotes] = text;
        }
        ASSERT_TRUE(table->close().ok());
        expectEveryoneReads(name, model);
        if (HasFatalFailure()) return;
        expectNextFreePastTheData(memoNameFor(name));
    }

    // Writers that append where the memo file's next-free pointer says (dbf does)
    // must not land on anything the engine wrote.
    Rows more{model.columns,
              {{false, {"Appended by dbf", "1.00", "2", "T", "20250101", repeatChars("dbf memo ", 3000)}},
               {true, {"Deleted by dbf", "", "", "F", "", "short"}}}};
    ASSERT_TRUE(appendWithPython(name, more));
    model.rows.insert(model.rows.end(), more.rows.begin(), more.rows.end());
    expectEveryoneReads(name, model);
}

INSTANTIATE_TEST_SUITE_P(Interop, MemoRewrite, ::testing::Values("engine", "fp", "vfp"),
                         [](const ::testing::TestParamInfo<const char*>& p) {
                             return std::string(p.param) + "_table";
                         });

}  // namespace

namespace {

// Perl's XBase walks the tags our engine builds and keeps up to date, and finds the
// same keys in the same order with the same record numbers.
TEST_F(InteropTest, PerlWalksOurIndexTagsInOrder) {
    const std::string file = path("ADDR.DBF");
    xbase::TableSpec layout;
    layout.fields = {{"LNAME", 'C', 20}, {"FNAME", 'C', 15}, {"CITY", 'C', 20}, {"STATE", 'C', 4}, {"ISDEL", 'L', 1}};
    ASSERT_TRUE(xbase::Table::create(file, layout).ok());
    std::unique_ptr<xbase::Table> t;
    ASSERT_TRUE(xbase::Table::open(file, xbase::OpenMode::Exclusive, &t).ok());
    const char* lasts[] = {"Smith", "smith", "O'Brien", "", "M\xfcller", "\xc9mile", "Ng", "Zeta-Jones", "Adams"};
    const char* firsts[] = {"Al", "", "bea", "Chris", "Dana"};
    const char* cities[] = {"Austin", "Boston", "", "austin", "Z\xfcrich"};
    uint32_t seed = 7;
    const auto next = [&seed](uint32_t n) {
        seed = seed * 1103515245u + 12345u;
        return (seed >> 16) % n;
    };
    const auto fill = [&]() {
        ASSERT_TRUE(t->replace(0, lasts[next(9)] + std::to_string(next(40))).ok());
        ASSERT_TRUE(t->replace(1, firsts[next(5)]).ok());
        ASSERT_TRUE(t->replace(2, cities[next(5)]).ok());
        ASSERT_TRUE(t->replace(3, next(2) ? "TX" : "MA").ok());
    };
    for (int i = 0; i < 2500; ++i) {  // enough for trees of more than one level
        ASSERT_TRUE(t->appendBlank().ok());
        fill();
    }
    const std::pair<const char*, const char*> tags[] = {
        {"NAME", "UPPER(LNAME-FNAME)"}, {"LNAME", "UPPER(LNAME)+UPPER(FNAME)"}, {"CITY", "UPPER(CITY+STATE)"},
        {"ISDEL", "ISDEL"},             {"NOTISDEL", "!ISDEL"},                  {"DELETED", "DELETED()"},
    };
    for (const auto& [name, key] : tags) ASSERT_TRUE(t->indexTag(name, key).ok());
    // Changes after the build go into the trees key by key: the first half written one
    // by one, the second held in a batch that writes its pages at its end.
    std::unique_ptr<xbase::IndexBatch> batch;
    for (int i = 0; i < 800; ++i) {
        if (i == 400) {
            batch = std::make_unique<xbase::IndexBatch>(*t);
            ASSERT_TRUE(batch->begun().ok());
        }
        const int what = int(next(3));
        if (what == 0) {
            ASSERT_TRUE(t->appendBlank().ok());
            fill();
        } else {
            ASSERT_TRUE(t->go(1 + next(t->recCount())).ok());
            if (what == 1) {
                fill();
            } else {
                ASSERT_TRUE(t->replaceLogical(4, true).ok());
                ASSERT_TRUE(t->deleteRecord().ok());
            }
        }
    }
    ASSERT_TRUE(batch->finish().ok());
    ASSERT_TRUE(t->commit().ok());

    for (const auto& [name, key] : tags) {
        SCOPED_TRACE(name);
        // What our engine holds, walking the tag.
        std::string ours;
        std::unique_ptr<xbase::Expression> expr;
        ASSERT_TRUE(t->compile(key, &expr).ok());
        ASSERT_TRUE(t->setOrder(t->tagArea(name)).ok());
        ASSERT_TRUE(t->goTop().ok());
        while (!t->eof()) {
            std::string k = expr->evalString(t->evalContext());
            k.erase(k.find_last_not_of(' ') + 1);
            ours += k + "\t" + std::to_string(t->recNo()) + "\n";
            ASSERT_TRUE(t->skip(1).ok());
        }
        std::string perls;
        ASSERT_TRUE(run("perl " + script("xbase_index_walk.pl") + " ADDR.CDX " + name, "", &perls));
        // Perl gives keys without their trailing blanks.
        std::string trimmed;
        std::istringstream lines(perls);
        for (std::string line; std::getline(lines, line);) {
            const size_t tab = line.find('\t');
            std::string k = line.substr(0, tab);
            k.erase(k.find_last_not_of(' ') + 1);
            trimmed += k + line.substr(tab) + "\n";
        }
        EXPECT_EQ(trimmed, ours);
        EXPECT_EQ(std::count(ours.begin(), ours.end(), '\n'), long(t->recCount()));
    }
}

}  // namespace
