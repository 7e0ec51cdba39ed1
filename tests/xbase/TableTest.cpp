#include "Table.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <functional>
#include <fstream>
#include <thread>

#include "CodePage.h"
#include "TempDir.h"

using namespace xbase;

namespace {

TableSpec peopleSpec() {
    TableSpec design;
    design.fields = {{"LNAME", 'C', 20}, {"FNAME", 'C', 15}, {"AMOUNT", 'N', 9, 2},
                   {"ISDEL", 'L', 1},  {"BORN", 'D', 8},   {"NOTES", 'M', 10}};
    return design;
}

std::unique_ptr<Table> openOrDie(const std::string& path, OpenMode mode = OpenMode::Exclusive) {
    std::unique_ptr<Table> t;
    Status s = Table::open(path, mode, &t);
    EXPECT_TRUE(s.ok()) << s.toString();
    return t;
}

// Appends one record per last name; the first name is the record number.
void appendNames(Table& t, const std::vector<std::string>& names) {
    for (const std::string& n : names) {
        ASSERT_TRUE(t.appendBlank().ok());
        ASSERT_TRUE(t.replace(0, n).ok());
        ASSERT_TRUE(t.replace(1, std::to_string(t.recNo())).ok());
    }
    ASSERT_TRUE(t.commit().ok());
}

std::vector<std::string> visitAll(Table& t) {
    std::vector<std::string> seen;
    EXPECT_TRUE(t.goTop().ok());
    while (!t.eof()) {
        seen.push_back(t.getTrimString(0));
        EXPECT_TRUE(t.skip(1).ok());
    }
    return seen;
}

std::string readBytes(const std::string& path) {
    std::ifstream in(path, std::ios::binary);
    return std::string(std::istreambuf_iterator<char>(in), {});
}

void writeBytes(const std::string& path, const std::string& bytes) {
    std::ofstream out(path, std::ios::binary | std::ios::trunc);
    out << bytes;
}

class TableTest : public ::testing::Test {
protected:
    void SetUp() override {
        path_ = dir_.file("people.dbf");
        Status s = Table::create(path_, peopleSpec());
        ASSERT_TRUE(s.ok()) << s.toString();
    }
    TempDir dir_;
    std::string path_;
};

TEST_F(TableTest, CreateWritesFoxProHeaderAndMemoFile) {
    const std::string bytes = readBytes(path_);
    ASSERT_GE(bytes.size(), 32u + 6 * 32 + 2);
    EXPECT_EQ(uint8_t(bytes[0]), 0xF5);  // FoxPro with memo
    EXPECT_EQ(uint8_t(bytes[29]), 0x03);  // Windows-1252
    EXPECT_EQ(bytes[32 + 6 * 32], 0x0D);
    EXPECT_EQ(bytes.back(), 0x1A);
    EXPECT_TRUE(std::filesystem::exists(dir_.file("people.fpt")));

    auto t = openOrDie(path_);
    ASSERT_EQ(t->fieldCount(), 6);
    EXPECT_EQ(t->field(2).name, "AMOUNT");
    EXPECT_EQ(t->field(2).decimals, 2);
    EXPECT_EQ(t->layout().recordLength(), 1u + 20 + 15 + 9 + 1 + 8 + 10);
    EXPECT_EQ(t->fieldIndex("lName"), 0);
    EXPECT_EQ(t->fieldIndex("nope"), -1);
    EXPECT_EQ(t->recCount(), 0u);
    EXPECT_TRUE(t->eof());
    EXPECT_TRUE(t->bof());
}

TEST_F(TableTest, CreateRejectsBadFieldLists) {
    const std::vector<std::vector<FieldDef>> bad = {
        {},
        {{"1ABC", 'C', 5}},
        {{"NAME", 'C', 0}},
        {{"NAME", 'C', 255}},
        {{"NAME", 'C', 5}, {"name", 'C', 5}},
        {{"TOOLONGNAME", 'C', 5}},
        {{"N", 'N', 4, 3}},
        {{"X", 'Q', 4}},
    };
    for (const auto& fields : bad) {
        TableSpec design;
        design.fields = fields;
        EXPECT_TRUE(Table::create(dir_.file("bad.dbf"), design).isInvalidArgument()) << fields.size();
    }
}

TEST_F(TableTest, NoMemoFieldsGivesVersion3AndNoMemoFile) {
    TableSpec design;
    design.fields = {{"A", 'C', 3}};
    ASSERT_TRUE(Table::create(dir_.file("plain.DBF"), design).ok());
    EXPECT_EQ(uint8_t(readBytes(dir_.file("plain.DBF"))[0]), 0x03);
    EXPECT_FALSE(std::filesystem::exists(dir_.file("plain.FPT")));
}

TEST_F(TableTest, ValuesRoundTripThroughTheFile) {
    {
        auto t = openOrDie(path_);
        ASSERT_TRUE(t->appendBlank().ok());
        ASSERT_TRUE(t->replace(0, "Smith").ok());
        ASSERT_TRUE(t->replace(1, "A name longer than fifteen").ok());  // cut to the width
        ASSERT_TRUE(t->replace(2, "-3.256").ok());
        ASSERT_TRUE(t->replaceLogical(3, true).ok());
        ASSERT_TRUE(t->replace(4, "19970428").ok());
        ASSERT_TRUE(t->replace(5, "memo text").ok());
        ASSERT_TRUE(t->close().ok());
    }
    auto t = openOrDie(path_);
    ASSERT_EQ(t->recCount(), 1u);
    EXPECT_EQ(t->getTrimString(0), "Smith");
    EXPECT_EQ(t->getString(0), "Smith" + std::string(15, ' '));
    EXPECT_EQ(t->getTrimString(1), "A name longer t");
    EXPECT_EQ(t->getString(2), "    -3.26");
    EXPECT_EQ(t->getTrimString(2), "-3.26");
    EXPECT_TRUE(t->getLogical(3));
    EXPECT_EQ(t->getTrimString(4), "19970428");
    EXPECT_EQ(t->getTrimString(5), "memo text");
    EXPECT_FALSE(t->empty(0));
}

TEST_F(TableTest, ReplaceRefusesValuesItCannotStore) {
    auto t = openOrDie(path_);
    EXPECT_TRUE(t->replace(0, "x").isInvalidArgument());  // no current record yet
    ASSERT_TRUE(t->appendBlank().ok());
    const struct {
        int field;
        const char* value;
    } cases[] = {
        {2, "12345678.5"},  // does not fit N(9,2)
        {2, "12abc"},       {2, "1e999"}, {3, "maybe"}, {4, "1997-04-28"}, {4, "1997042"},
    };
    for (const auto& c : cases) {
        EXPECT_TRUE(t->replace(c.field, c.value).isInvalidArgument()) << c.value;
    }
    EXPECT_TRUE(t->empty(2));  // nothing half-written
    EXPECT_TRUE(t->replace(2, "123456.5").ok());
    EXPECT_EQ(t->getString(2), "123456.50");
}

// Record images appended as a batch read back like appended records, and the file
// ends with the end-of-file mark right after them; with an order open the keys go in.
TEST_F(TableTest, AppendRecordsAddsWholeImages) {
    auto t = openOrDie(path_);
    appendNames(*t, {"first"});
    std::string images;
    for (const char* name : {"Batch", "Zed"}) {
        std::string image = t->blankRecord();
        ASSERT_TRUE(t->putField(&image, 0, name).ok());
        ASSERT_TRUE(t->putField(&image, 2, "-3.256").ok());
        ASSERT_TRUE(t->putField(&image, 3, "T").ok());
        ASSERT_TRUE(t->putField(&image, 4, "19970428").ok());
        ASSERT_TRUE(t->putField(&image, 5, std::string("memo of ") + name).ok());
        EXPECT_TRUE(t->putField(&image, 2, "12abc").isInvalidArgument());
        images += image;
    }
    Table::markRecordDeleted(&images, true);  // the first image
    ASSERT_TRUE(t->appendRecords(images).ok());
    EXPECT_TRUE(t->eof());
    EXPECT_TRUE(t->appendRecords(images.substr(1)).isInvalidArgument());
    ASSERT_TRUE(t->close().ok());

    const std::string bytes = readBytes(path_);
    t = openOrDie(path_);
    ASSERT_EQ(t->recCount(), 3u);
    const uint32_t headerLength = uint8_t(bytes[8]) | uint8_t(bytes[9]) << 8;
    EXPECT_EQ(bytes.size(), headerLength + 3 * t->layout().recordLength() + 1);
    EXPECT_EQ(bytes.back(), '\x1A');
    ASSERT_TRUE(t->go(2).ok());
    EXPECT_TRUE(t->deleted());
    EXPECT_EQ(t->getTrimString(0), "Batch");
    EXPECT_EQ(t->getTrimString(2), "-3.26");
    EXPECT_TRUE(t->getLogical(3));
    EXPECT_EQ(t->getTrimString(4), "19970428");
    EXPECT_EQ(t->getTrimString(5), "memo of Batch");
    ASSERT_TRUE(t->go(3).ok());
    EXPECT_FALSE(t->deleted());
    EXPECT_EQ(t->getTrimString(5), "memo of Zed");

    ASSERT_TRUE(t->indexTag("LNAME", "UPPER(LNAME)").ok());
    ASSERT_TRUE(t->setOrder(1).ok());
    std::string image = t->blankRecord();
    ASSERT_TRUE(t->putField(&image, 0, "Aaron").ok());
    ASSERT_TRUE(t->appendRecords(image).ok());
    EXPECT_TRUE(t->verifyIndexes().ok());
    EXPECT_EQ(visitAll(*t), (std::vector<std::string>{"Aaron", "Batch", "first", "Zed"}));
}

TEST_F(TableTest, EmptyFollowsEachType) {
    auto t = openOrDie(path_);
    ASSERT_TRUE(t->appendBlank().ok());
    for (int i = 0; i < t->fieldCount(); ++i) EXPECT_TRUE(t->empty(i)) << i;
    ASSERT_TRUE(t->replace(2, "0").ok());
    EXPECT_TRUE(t->empty(2));
    ASSERT_TRUE(t->replaceLogical(3, false).ok());
    EXPECT_TRUE(t->empty(3));
    ASSERT_TRUE(t->replace(0, "x").ok());
    ASSERT_TRUE(t->replace(5, "y").ok());
    EXPECT_FALSE(t->empty(0));
    EXPECT_FALSE(t->empty(5));
}

TEST_F(TableTest, NaturalOrderNavigation) {
    auto t = openOrDie(path_);
    appendNames(*t, {"a", "b", "c", "d"});
    ASSERT_TRUE(t->goTop().ok());
    EXPECT_EQ(t->recNo(), 1u);
    EXPECT_FALSE(t->bof());
    ASSERT_TRUE(t->skip(2).ok());
    EXPECT_EQ(t->getTrimString(0), "c");
    ASSERT_TRUE(t->skip(5).ok());
    EXPECT_TRUE(t->eof());
    EXPECT_EQ(t->recNo(), 5u);
    EXPECT_EQ(t->getTrimString(0), "");  // the blank phantom record
    ASSERT_TRUE(t->skip(-1).ok());
    EXPECT_EQ(t->recNo(), 4u);
    ASSERT_TRUE(t->skip(-10).ok());
    EXPECT_TRUE(t->bof());
    EXPECT_EQ(t->recNo(), 1u);
    ASSERT_TRUE(t->goBottom().ok());
    EXPECT_EQ(t->getTrimString(0), "d");
    ASSERT_TRUE(t->go(2).ok());
    EXPECT_EQ(t->getTrimString(0), "b");
    ASSERT_TRUE(t->go(99).ok());
    EXPECT_TRUE(t->eof());
}

TEST_F(TableTest, HiddenDeletedRecordsAndQueriesShapeNavigation) {
    auto t = openOrDie(path_);
    appendNames(*t, {"Adams", "Baker", "Smith", "smythe", "Stone", "Young"});
    ASSERT_TRUE(t->go(2).ok());
    ASSERT_TRUE(t->deleteRecord().ok());
    ASSERT_TRUE(t->go(4).ok());
    ASSERT_TRUE(t->deleteRecord().ok());
    EXPECT_TRUE(t->deleted());

    EXPECT_EQ(visitAll(*t).size(), 6u);  // marks do not hide until asked
    t->setDeleted(true);
    EXPECT_EQ(visitAll(*t), (std::vector<std::string>{"Adams", "Smith", "Stone", "Young"}));
    ASSERT_TRUE(t->go(4).ok());  // go() reaches a hidden record
    EXPECT_TRUE(t->deleted());
    ASSERT_TRUE(t->recall().ok());

    ASSERT_TRUE(t->query("UPPER(LNAME) = \"SM\"").ok());
    EXPECT_EQ(t->queryText(), "UPPER(LNAME) = \"SM\"");
    EXPECT_EQ(visitAll(*t), (std::vector<std::string>{"Smith", "smythe"}));
    EXPECT_EQ(t->queryRecCount(), 2u);
    ASSERT_TRUE(t->goBottom().ok());
    EXPECT_EQ(t->getTrimString(0), "smythe");

    // A bad query is refused and leaves the previous one in force.
    EXPECT_TRUE(t->query("UPPER(LNAME) = ").isInvalidArgument());
    EXPECT_TRUE(t->query("LNAME").isInvalidArgument());  // not a condition
    EXPECT_EQ(t->queryRecCount(), 2u);

    ASSERT_TRUE(t->query("").ok());
    EXPECT_EQ(t->queryRecCount(), 5u);
    ASSERT_TRUE(t->query("LNAME = \"Nobody\"").ok());
    ASSERT_TRUE(t->goTop().ok());
    EXPECT_TRUE(t->eof());
    EXPECT_TRUE(t->bof());
    EXPECT_EQ(t->queryRecCount(), 0u);
}

TEST_F(TableTest, QueryCountSeesUncommittedChange) {
    auto t = openOrDie(path_);
    appendNames(*t, {"a", "b"});
    ASSERT_TRUE(t->replace(0, "zz").ok());  // still in the record buffer
    ASSERT_TRUE(t->query("LNAME = \"zz\"").ok());
    EXPECT_EQ(t->queryRecCount(), 1u);
}

TEST_F(TableTest, QueryCountFollowsEveryChangeThatAltersWhatIsVisible) {
    auto t = openOrDie(path_);
    appendNames(*t, {"Smith", "Jones", "Smythe"});
    ASSERT_TRUE(t->query("LNAME = \"Sm\"").ok());
    EXPECT_EQ(t->queryRecCount(), 2u);
    const struct {
        const char* step;
        std::function<void()> change;
        uint32_t count;
    } steps[] = {
        {"replace", [&] { ASSERT_TRUE(t->go(2).ok()); ASSERT_TRUE(t->replace(0, "Smart").ok()); }, 3},
        {"append", [&] { appendNames(*t, {"Small"}); }, 4},
        {"delete, not hidden", [&] { ASSERT_TRUE(t->go(1).ok()); ASSERT_TRUE(t->deleteRecord().ok()); }, 4},
        {"hide deleted", [&] { t->setDeleted(true); }, 3},
        {"recall", [&] { ASSERT_TRUE(t->go(1).ok()); ASSERT_TRUE(t->recall().ok()); }, 4},
        {"exact on", [&] { t->setExact(true); }, 0},
        {"exact off", [&] { t->setExact(false); }, 4},
        {"new query", [&] { ASSERT_TRUE(t->query("LNAME = \"J\"").ok()); }, 0},
        {"zap", [&] { ASSERT_TRUE(t->query("").ok()); ASSERT_TRUE(t->zap().ok()); }, 0},
    };
    for (const auto& s : steps) {
        s.change();
        EXPECT_EQ(t->queryRecCount(), s.count) << s.step;
        EXPECT_EQ(t->queryRecCount(), s.count) << s.step << ", asked again";
    }
}

TEST_F(TableTest, EvaluatesOnTheCurrentRecord) {
    auto t = openOrDie(path_);
    appendNames(*t, {"Smith"});
    bool b = false;
    ASSERT_TRUE(t->evalLogical("LNAME = \"Sm\" .and. RECNO() = 1", &b).ok());
    EXPECT_TRUE(b);
    std::string s;
    ASSERT_TRUE(t->evalString("UPPER(LNAME)", &s).ok());
    EXPECT_EQ(s, "SMITH" + std::string(15, ' '));
    ValueType type;
    ASSERT_TRUE(t->evalTest("AMOUNT * 2", &type).ok());
    EXPECT_EQ(type, ValueType::Numeric);
    EXPECT_TRUE(t->evalTest("NOFIELD", &type).isInvalidArgument());
    EXPECT_TRUE(t->evalLogical("LNAME", &b).isInvalidArgument());
}

TEST_F(TableTest, PackRemovesMarkedRecordsAndKeepsMemos) {
    int lastProgress = -1;
    {
        auto t = openOrDie(path_);
        appendNames(*t, {"a", "b", "c", "d", "e"});
        for (uint32_t r : {1u, 3u, 4u}) {
            ASSERT_TRUE(t->go(r).ok());
            ASSERT_TRUE(t->replace(5, "memo of " + t->getTrimString(0)).ok());
        }
        for (uint32_t r : {2u, 4u}) {
            ASSERT_TRUE(t->go(r).ok());
            ASSERT_TRUE(t->deleteRecord().ok());
        }
        std::vector<int> seen;
        ASSERT_TRUE(t->pack([&](int p) { seen.push_back(p); }).ok());
        ASSERT_FALSE(seen.empty());
        EXPECT_TRUE(std::is_sorted(seen.begin(), seen.end()));
        lastProgress = seen.back();
        EXPECT_EQ(t->recCount(), 3u);
        EXPECT_EQ(t->recNo(), 1u);
        ASSERT_TRUE(t->appendBlank().ok());  // the packed file is still ours to write
        ASSERT_TRUE(t->replace(0, "f").ok());
    }
    EXPECT_EQ(lastProgress, 100);
    EXPECT_FALSE(std::filesystem::exists(path_ + ".pack"));
    auto t = openOrDie(path_);
    EXPECT_EQ(visitAll(*t), (std::vector<std::string>{"a", "c", "e", "f"}));
    ASSERT_TRUE(t->go(2).ok());
    EXPECT_EQ(t->getTrimString(5), "memo of c");
    ASSERT_TRUE(t->go(3).ok());
    EXPECT_EQ(t->getTrimString(5), "");
}

TEST_F(TableTest, ZapEmptiesTableAndMemo) {
    auto t = openOrDie(path_);
    appendNames(*t, {"a", "b"});
    ASSERT_TRUE(t->replace(5, std::string(500, 'm')).ok());
    ASSERT_TRUE(t->zap().ok());
    EXPECT_EQ(t->recCount(), 0u);
    EXPECT_TRUE(t->eof());
    ASSERT_TRUE(t->close().ok());
    EXPECT_EQ(std::filesystem::file_size(dir_.file("people.fpt")), 512u);
    auto again = openOrDie(path_);
    EXPECT_EQ(again->recCount(), 0u);
}

TEST_F(TableTest, CopyStructureMakesAnEmptyTwin) {
    auto t = openOrDie(path_);
    appendNames(*t, {"a"});
    ASSERT_TRUE(t->copyStructure(dir_.file("twin.dbf")).ok());
    auto twin = openOrDie(dir_.file("twin.dbf"));
    EXPECT_EQ(twin->recCount(), 0u);
    ASSERT_EQ(twin->fieldCount(), t->fieldCount());
    for (int i = 0; i < t->fieldCount(); ++i) {
        EXPECT_EQ(twin->field(i).name, t->field(i).name);
        EXPECT_EQ(twin->field(i).width, t->field(i).width);
    }
}

TEST_F(TableTest, ExclusiveOpenLocksOutEveryOtherOpener) {
    auto first = openOrDie(path_);
    std::unique_ptr<Table> second;
    EXPECT_TRUE(Table::open(path_, OpenMode::Exclusive, &second).isLocked());
    EXPECT_TRUE(Table::open(path_, OpenMode::ReadOnlyShared, &second).isLocked());

    // Another process is kept out as well.
    const std::string cmd = "flock -n -s " + path_ + " true";
    EXPECT_NE(std::system(cmd.c_str()), 0);

    first.reset();
    EXPECT_TRUE(Table::open(path_, OpenMode::ReadOnlyShared, &second).ok());
    std::unique_ptr<Table> third;
    EXPECT_TRUE(Table::open(path_, OpenMode::ReadOnlyShared, &third).ok());
    EXPECT_TRUE(third->appendBlank().isInvalidArgument());  // read only
}

TEST_F(TableTest, DamagedFilesGiveClearErrors) {
    {
        auto t = openOrDie(path_);
        appendNames(*t, {"a"});
        ASSERT_TRUE(t->replace(5, "memo").ok());
    }
    const std::string good = readBytes(path_);
    struct Case {
        const char* what;
        std::string bytes;
        const char* message;
    };
    std::string badVersion = good;
    badVersion[0] = 0x42;
    std::string badHeaderLength = good;
    badHeaderLength[8] = char(0xFF);
    badHeaderLength[9] = char(0x7F);
    std::string badRecordLength = good;
    badRecordLength[10] = 7;
    std::string noTerminator = good;
    noTerminator[32 + 6 * 32] = 'X';
    const Case cases[] = {
        {"empty", "", "too small"},
        {"truncated header", good.substr(0, 20), "too small"},
        {"unknown version", badVersion, "unknown version"},
        {"header length past end", badHeaderLength, "bad header length"},
        {"record length", badRecordLength, "record length"},
        {"no terminator", noTerminator, "not terminated"},
    };
    for (const Case& c : cases) {
        writeBytes(path_, c.bytes);
        std::unique_ptr<Table> t;
        Status s = Table::open(path_, OpenMode::Exclusive, &t);
        EXPECT_TRUE(s.isCorruption()) << c.what << ": " << s.toString();
        EXPECT_NE(s.message().find(c.message), std::string::npos) << c.what << ": " << s.message();
        EXPECT_NE(s.message().find(path_), std::string::npos) << c.what;
    }
    writeBytes(path_, good);
    std::filesystem::remove(dir_.file("people.fpt"));
    std::unique_ptr<Table> t;
    Status s = Table::open(path_, OpenMode::Exclusive, &t);
    EXPECT_TRUE(s.isNotFound()) << s.toString();
    EXPECT_NE(s.message().find("memo file is missing"), std::string::npos);
}

TEST(CodePageTest, ConvertsAndRefusesWhatItCannotHold) {
    const CodePage* cp1252;
    ASSERT_TRUE(CodePage::forMark(0x03, &cp1252).ok());
    std::string raw;
    ASSERT_TRUE(cp1252->fromUtf8("Müller – café €", &raw).ok());
    EXPECT_EQ(raw, "M\xFCller \x96 caf\xE9 \x80");
    EXPECT_EQ(cp1252->toUtf8(raw), "Müller – café €");

    Status s = cp1252->fromUtf8("Łódź", &raw);
    EXPECT_TRUE(s.isInvalidArgument());
    EXPECT_NE(s.message().find("\"Ł\""), std::string::npos) << s.message();
    EXPECT_NE(s.message().find("1252"), std::string::npos);
    EXPECT_TRUE(cp1252->fromUtf8("bad \xC3", &raw).isInvalidArgument());

    const CodePage* cp852;
    ASSERT_TRUE(CodePage::forMark(0x64, &cp852).ok());
    ASSERT_TRUE(cp852->fromUtf8("Łódź", &raw).ok());
    EXPECT_EQ(cp852->toUtf8(raw), "Łódź");

    const CodePage* cp437;
    ASSERT_TRUE(CodePage::forMark(0x01, &cp437).ok());
    EXPECT_EQ(cp437->toUtf8("\x82\x9A"), "éÜ");
    EXPECT_TRUE(CodePage::forMark(0x55, &cp437).isNotSupported());
}

// Upper-casing Unicode text as UPPER() does once it is stored: the accented letters
// of Windows-1252 in its tables, ASCII letters only in a DOS table, and characters a
// code page cannot hold untouched.
TEST(CodePageTest, UpperCasesTextAsIndexKeysDo) {
    struct Case {
        uint8_t mark;
        const char* text;
        const char* upper;
    };
    const Case cases[] = {
        {0x03, "Müller, Straße", "MÜLLER, STRAßE"},
        {0x03, "šœž ÿ à-þ ×÷ €", "ŠŒŽ Ÿ À-Þ ×÷ €"},
        {0x03, "Łódź", "ŁÓDź"},  // Ł, ź are not in the code page
        {0x01, "Müller", "MüLLER"},
        {0x55, "Müller", "MüLLER"},  // an unknown mark reads as DOS
    };
    for (const Case& c : cases) {
        EXPECT_EQ(CodePage::forMarkOrDos(c.mark).upperUtf8(c.text), c.upper) << c.text;
    }
    const CodePage& cp = CodePage::windows1252();
    EXPECT_EQ(cp.upper("m\xFCller \xDF"), "M\xDCLLER \xDF");
    EXPECT_EQ(cp.lower("M\xDCLLER \x9F"), "m\xFCller \xFF");
}

}  // namespace
