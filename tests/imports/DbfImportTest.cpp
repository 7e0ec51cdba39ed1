// The field matching, the DBF import and the import of the older releases' files.

#include <gtest/gtest.h>

#include "CodePage.h"
#include "DbfImport.h"
#include "FieldMatch.h"
#include "ImportCopy.h"
#include "ImportTestSupport.h"
#include "OlderImport.h"
#include "RecordingProgress.h"

namespace {

using Row = std::vector<std::pair<const char*, std::string>>;  // field name -> UTF-8 text

// Makes a table of `fields` marked with code page `mark`; a row whose first pair is
// {"*", ""} is marked deleted.
void makeTable(const QString& path, std::vector<xbase::FieldDef> fields, const std::vector<Row>& rows,
               uint8_t mark = 0x03) {
    xbase::TableSpec design;
    design.fields = std::move(fields);
    design.codePageMark = mark;
    const std::string p = path.toStdString();
    ASSERT_TRUE(xbase::Table::create(p, design).ok());
    std::unique_ptr<xbase::Table> t;
    ASSERT_TRUE(xbase::Table::open(p, xbase::OpenMode::Exclusive, &t).ok());
    for (const Row& row : rows) {
        ASSERT_TRUE(t->appendBlank().ok());
        for (const auto& [name, value] : row) {
            if (std::string(name) == "*") {
                ASSERT_TRUE(t->deleteRecord().ok());
                continue;
            }
            std::string raw;
            ASSERT_TRUE(t->codePage().fromUtf8(value, &raw).ok()) << value;
            const xbase::Status s = t->replace(t->fieldIndex(name), raw);
            ASSERT_TRUE(s.ok()) << name << ": " << s.toString();
        }
    }
    ASSERT_TRUE(t->close().ok());
}

int rowOf(const FieldMatch& m, const char* name) { return m.rowNamed(name); }

TEST(FieldMatch, ChoosingASourceMovesItAndRowsClear) {
    AddressFileFixture f;
    FieldMatch m(ImportDestinations::Ascii(f.table()), {{"Field 1", 'C'}, {"Field 2", 'C'}, {"Field 3", 'C'}},
                 FieldMatch::Rules::Any);
    // Visible text fields and the memo: no ISDEL or TAG; labels as the main window shows them.
    EXPECT_EQ(m.rowCount(), 21);
    EXPECT_EQ(m.destinations()[0].label, "Last Name");
    EXPECT_EQ(rowOf(m, "zip/postal code"), rowOf(m, " ZIP "));
    EXPECT_EQ(rowOf(m, "TAG"), -1);
    EXPECT_EQ(rowOf(m, "MEMO"), 20);
    EXPECT_FALSE(m.any());

    const int last = rowOf(m, "Last Name"), city = rowOf(m, "City");
    m.assign(last, 1);
    m.assign(city, 1);  // Field 2 moves: Last Name is empty again
    EXPECT_EQ(m.sourceOf(last), -1);
    EXPECT_EQ(m.sourceOf(city), 1);
    EXPECT_EQ(m.rowOf(1), city);
    m.assign(last, 0);
    EXPECT_TRUE(m.any());
    m.clearRow(city);
    EXPECT_EQ(m.sourceOf(city), -1);
    EXPECT_EQ(m.sourceOf(last), 0);
    m.clearAll();
    EXPECT_FALSE(m.any());
    EXPECT_EQ(m.offered(last), (std::vector<int>{0, 1, 2}));
}

TEST(FieldMatch, TheDbfImportMatchesByNameAndType) {
    AddressFileFixture f;
    const std::vector<SourceField> sources = {
        {"lname", 'C'},
        {"LNAME", 'C'},            // the second finds LNAME taken
        {"Zip/Postal Code", 'N'},  // by display label
        {"NOTES", 'M'},
        {"REMARKS", 'M'},  // memos go to MEMO, the first one only
        {"DATE", 'D'},
        {"COUNTRY", 'I'},  // Visual FoxPro types are never matched
        {"PHOTO", 'G'},
    };
    FieldMatch m(ImportDestinations::Dbf(f.table()), sources, FieldMatch::Rules::ByType);
    EXPECT_EQ(rowOf(m, "ISDEL"), -1);
    ASSERT_GE(rowOf(m, "MEMO"), 0);
    m.autoMatch();
    EXPECT_EQ(m.sourceOf(rowOf(m, "LNAME")), 0);
    EXPECT_EQ(m.rowOf(1), -1);
    EXPECT_EQ(m.sourceOf(rowOf(m, "ZIP")), 2);
    EXPECT_EQ(m.sourceOf(rowOf(m, "MEMO")), 3);
    EXPECT_EQ(m.rowOf(4), -1);
    EXPECT_EQ(m.sourceOf(rowOf(m, "Actual Date")), 5);
    EXPECT_EQ(m.rowOf(6), -1);
    EXPECT_EQ(m.rowOf(7), -1);

    // A memo row offers memo sources; a text row every source holding text.
    EXPECT_EQ(m.offered(rowOf(m, "MEMO")), (std::vector<int>{3, 4}));
    EXPECT_EQ(m.offered(rowOf(m, "City")), (std::vector<int>{0, 1, 2, 5, 6}));
    // A date row offers date sources.
    FieldMatch dated({{0, "BORN", "Born", 'D'}}, sources, FieldMatch::Rules::ByType);
    EXPECT_EQ(dated.offered(0), (std::vector<int>{5}));
}

TEST(DbfImport, OpensOnlyATableWithRecordsToImport) {
    AddressFileFixture f;
    const QString empty = f.file("empty.dbf"), allDeleted = f.file("gone.dbf"), junk = f.file("junk.dbf"),
                  noMemo = f.file("nomemo.dbf"), missing = f.file("missing.dbf");
    makeTable(empty, {{"NAME", 'C', 10}}, {});
    makeTable(allDeleted, {{"NAME", 'C', 10}}, {{{"NAME", "x"}, {"*", ""}}});
    writeFile(junk, QByteArray(600, 'j'));
    makeTable(noMemo, {{"NAME", 'C', 10}, {"NOTES", 'M', 10}}, {{{"NAME", "x"}}});
    ASSERT_TRUE(QFile::remove(f.file("nomemo.fpt")));
    const struct {
        QString path;
        QString message;
    } cases[] = {
        {missing, "Unable to open the file " + missing},
        {junk, "Unable to open the file " + junk},
        {noMemo, "Unable to open the file " + noMemo},
        {empty, "There are no records in " + empty},
        {allDeleted, "There are no records in " + allDeleted},
        {f.path(), "Cannot import a file to itself"},
        {f.file("./add0001.DBF"), "Cannot import a file to itself"},
    };
    for (const auto& c : cases) {
        std::unique_ptr<xbase::Table> source;
        QString message;
        EXPECT_FALSE(DbfImport::OpenSource(c.path, f.path(), &source, &message));
        EXPECT_EQ(message, c.message);
        EXPECT_FALSE(source);
    }
}

// Matched fields arrive as text (dates as YYYYMMDD, numbers trimmed, logicals T/F), a
// memo into MEMO, the source's code page turned into the address file's; records
// marked deleted in the source stay out.
TEST(DbfImport, CopiesMatchedFieldsAcrossCodePages) {
    AddressFileFixture f;
    f.add({{"LNAME", "Already"}});
    const QString path = f.file("dos.dbf");
    makeTable(path,
              {{"LNAME", 'C', 20},
               {"CITY", 'C', 20},
               {"BORN", 'D', 8},
               {"AMOUNT", 'N', 8, 2},
               {"OK", 'L', 1},
               {"NOTES", 'M', 10}},
              {{{"LNAME", "Müller"},
                {"CITY", "Zürich"},
                {"BORN", "19991231"},
                {"AMOUNT", "12.5"},
                {"OK", "T"},
                {"NOTES", "Straße\r\nzweite Zeile"}},
               {{"LNAME", "Gone"}, {"*", ""}},
               {{"LNAME", "Núñez"}}},
              0x01);  // DOS 437
    std::unique_ptr<xbase::Table> source;
    QString message;
    ASSERT_TRUE(DbfImport::OpenSource(path, f.path(), &source, &message)) << message.toStdString();
    FieldMatch m = DbfImport::NewMatch(f.table(), *source);
    m.autoMatch();
    m.assign(m.rowNamed("Actual Date"), 2);
    m.assign(m.rowNamed("Comment 1"), 3);
    m.assign(m.rowNamed("Comment 2"), 4);
    RecordingProgress progress;
    const ImportReport report = DbfImport::Run(f.table(), *source, m, progress);
    EXPECT_EQ(report.messages, QStringList({"Import complete. Imported 2 records."}));
    EXPECT_TRUE(report.succeeded());
    EXPECT_EQ(progress.statuses, QStringList({"Importing records", "Rebuilding Indexes "}));
    EXPECT_EQ(f.records(), (std::vector<Record>{{{"LNAME", "Already"}},
                                                {{"LNAME", "Müller"},
                                                 {"CITY", "Zürich"},
                                                 {"DATE", "19991231"},
                                                 {"USER1", "12.50"},
                                                 {"USER2", "T"},
                                                 {"MEMO", "Straße\r\nzweite Zeile"}},
                                                {{"LNAME", "Núñez"}}}));
    EXPECT_TRUE(AddressFile::CheckValidIndex(f.table()));
}

TEST(DbfImport, AValueTheCodePageCannotHoldStopsTheImportAfterTheRecordsBefore) {
    AddressFileFixture f;
    const QString path = f.file("cyrillic.dbf");
    makeTable(path, {{"LNAME", 'C', 20}},
              {{{"LNAME", "Ivanov"}}, {{"LNAME", "Жуков"}}, {{"LNAME", "Petrov"}}},
              0xC9);  // Windows-1251
    std::unique_ptr<xbase::Table> source;
    QString message;
    ASSERT_TRUE(DbfImport::OpenSource(path, f.path(), &source, &message));
    FieldMatch m = DbfImport::NewMatch(f.table(), *source);
    m.autoMatch();
    RecordingProgress progress;
    const ImportReport report = DbfImport::Run(f.table(), *source, m, progress);
    EXPECT_EQ(report.result, JobResult::Failed);
    EXPECT_FALSE(report.succeeded());
    EXPECT_EQ(
        report.messages,
        QStringList({"Unknown error while importing.\r\nRecord 2, field LNAME: The character \"Ж\" cannot be "
                     "stored in code page 1252",
                     "Import stopped after importing 1 records."}));
    EXPECT_EQ(f.records(), (std::vector<Record>{{{"LNAME", "Ivanov"}}}));
    EXPECT_TRUE(AddressFile::CheckValidIndex(f.table()));
}

// A Visual FoxPro table: its integer and time fields may be matched by hand, its
// binary-pointer memos go to MEMO; cancelling keeps what came in.
TEST(DbfImport, ImportsAVisualFoxProTableAndCancels) {
    AddressFileFixture f;
    const QString fixture = QString(QUILLORY_FIXTURES) + "/xbase/vfpx-foxunit/FXUResults.DBF";
    std::unique_ptr<xbase::Table> source;
    QString message;
    ASSERT_TRUE(DbfImport::OpenSource(fixture, f.path(), &source, &message)) << message.toStdString();
    FieldMatch m = DbfImport::NewMatch(f.table(), *source);
    m.autoMatch();
    EXPECT_EQ(m.sourceOf(m.rowNamed("MEMO")), source->fieldIndex("FAIL_ERROR"));
    m.assign(m.rowNamed("LNAME"), source->fieldIndex("TNAME"));
    m.assign(m.rowNamed("USER1"), source->fieldIndex("LOCATION"));
    m.assign(m.rowNamed("MEMO"), source->fieldIndex("MESSAGES"));
    ASSERT_TRUE(source->go(1).ok());
    const std::string name = source->getTrimString(source->fieldIndex("TNAME"));
    const std::string location = source->getTrimString(source->fieldIndex("LOCATION"));
    std::string messages;
    ASSERT_TRUE(source->getMemo(source->fieldIndex("MESSAGES"), &messages).ok());
    RecordingProgress progress(3);
    const ImportReport report = DbfImport::Run(f.table(), *source, m, progress);
    EXPECT_EQ(report.messages, QStringList({"Import cancelled after importing 3 records."}));
    const std::vector<Record> records = f.records();
    ASSERT_EQ(records.size(), 3u);
    EXPECT_EQ(records[0]["LNAME"].toStdString(), name.substr(0, 30));
    EXPECT_EQ(records[0]["USER1"].toStdString(), location);
    EXPECT_EQ(records[0]["MEMO"].toStdString(), messages);
}

TEST(OlderImport, DatesAndMemosOfTheOlderFiles) {
    const QLocale us(QLocale::English, QLocale::UnitedStates);
    const struct {
        const char* text;
        const char* date;
    } dates[] = {
        {"", ""},          {"19951231", "19951231"}, {" 20000229 ", "20000229"},
        {"19950231", ""},  {"12/31/95", "19951231"}, {"2/3/07", "19070203"},
        {"next week", ""}, {"1995-12-31", ""},
    };
    for (const auto& d : dates) EXPECT_EQ(OlderImport::ConvertDate(d.text, us), d.date) << d.text;

    const struct {
        std::string text, copied;
    } memos[] = {
        {"", ""},
        {"abc", "abc"},
        {"abcdefgh", "abcdefgh "},              // 8 characters gain a blank
        {"abcdefghi", "abcdefghi"},             // 9 do not
        {"ten chars!\r\n", "ten chars! \r\n"},  // 12 with the line break: before it
        {"eleven char\n", "eleven char \n"},
    };
    for (const auto& m : memos) EXPECT_EQ(MemoWithBlank(m.text), m.copied) << m.text;
}

std::vector<xbase::FieldDef> olderFields(OlderImport::Version version) {
    std::vector<xbase::FieldDef> fields;
    for (const char* name : OlderImport::Layout(version)) {
        const std::string n = name;
        if (n == "MEMO") {
            fields.push_back({n, 'M', 10});
        } else if (n == "ISDEL") {
            fields.push_back({n, 'L', 1});
        } else {
            fields.push_back({n, 'C', 20});
        }
    }
    return fields;
}

TEST(OlderImport, CopiesTheFirstReleasesLayout) {
    AddressFileFixture f;
    const QString path = f.file("OLD1.DBF");
    makeTable(path, olderFields(OlderImport::Version::V1),
              {{{"LNAME", "Adams"},
                {"FNAME", "Ann"},
                {"NOTES", "ABC"},
                {"CARRIER", "C001"},
                {"DATE", "19951231"},
                {"MEMO", "8 chars!"},
                {"PHONE", "555-1234"},
                {"EMAIL", "ann@example.org"}},
               {{"LNAME", "Baker"}, {"DATE", "12/31/95"}, {"MEMO", "9 chars!!"}},
               {{"LNAME", "Clark"}, {"DATE", "soon"}}});
    std::unique_ptr<xbase::Table> source;
    QString message;
    ASSERT_TRUE(OlderImport::OpenSource(path, f.path(), OlderImport::Version::V1, &source, &message))
        << message.toStdString();
    RecordingProgress progress;
    const ImportReport report = OlderImport::Run(f.table(), *source, OlderImport::Version::V1, progress, {},
                                                 QLocale(QLocale::English, QLocale::UnitedStates));
    EXPECT_EQ(report.messages, QStringList({"Import complete. Imported 3 records."}));
    EXPECT_EQ(f.records(),
              (std::vector<Record>{{{"LNAME", "Adams"},
                                    {"FNAME", "Ann"},
                                    {"CODES", "ABC"},
                                    {"DATE", "19951231"},
                                    {"MEMO", "8 chars! "},
                                    {"PHONE", "555-1234"},
                                    {"EMAIL", "ann@example.org"}},
                                   {{"LNAME", "Baker"}, {"DATE", "19951231"}, {"MEMO", "9 chars!!"}},
                                   {{"LNAME", "Clark"}}}));
    EXPECT_TRUE(AddressFile::CheckValidIndex(f.table()));
}

TEST(OlderImport, TheSecondReleasesDeletedRecordsStayDeleted) {
    AddressFileFixture f;
    const QString path = f.file("OLD2.DBF");
    makeTable(path, olderFields(OlderImport::Version::V2),
              {{{"LNAME", "Kept"},
                {"STREET2", "Apt 4"},
                {"PHONE2", "2"},
                {"USER1", "u1"},
                {"USER2", "u2"},
                {"CODES", "XY"},
                {"DATE", "20010101"},
                {"TAG", "T1"}},
               {{"LNAME", "Removed"}, {"ISDEL", "T"}}});
    std::unique_ptr<xbase::Table> source;
    QString message;
    ASSERT_TRUE(OlderImport::OpenSource(path, f.path(), OlderImport::Version::V2, &source, &message));
    RecordingProgress progress;
    const ImportReport report = OlderImport::Run(f.table(), *source, OlderImport::Version::V2, progress);
    EXPECT_TRUE(report.succeeded());
    EXPECT_EQ(f.records(), (std::vector<Record>{{{"LNAME", "Kept"},
                                                 {"STREET2", "Apt 4"},
                                                 {"PHONE2", "2"},
                                                 {"USER1", "u1"},
                                                 {"USER2", "u2"},
                                                 {"CODES", "XY"},
                                                 {"DATE", "20010101"}},
                                                {{"LNAME", "Removed"}, {"ISDEL", "T"}, {"*", "*"}}}));
}

TEST(OlderImport, RefusesAFileWithoutTheLayout) {
    AddressFileFixture f;
    const QString path = f.file("PARTIAL.DBF");
    std::vector<xbase::FieldDef> fields = olderFields(OlderImport::Version::V1);
    fields.erase(fields.begin() + 15);  // CARRIER
    makeTable(path, fields, {{{"LNAME", "x"}}});
    std::unique_ptr<xbase::Table> source;
    QString message;
    EXPECT_FALSE(OlderImport::OpenSource(path, f.path(), OlderImport::Version::V1, &source, &message));
    EXPECT_EQ(message, path + " does not appear to be a Quillory 1.x DBF");
    const QString full = f.file("OLD1.DBF");
    makeTable(full, olderFields(OlderImport::Version::V1), {{{"LNAME", "x"}}});
    EXPECT_FALSE(OlderImport::OpenSource(full, f.path(), OlderImport::Version::V2, &source, &message));
    EXPECT_EQ(message, full + " does not appear to be a Quillory 2.x DBF");
    EXPECT_TRUE(OlderImport::OpenSource(full, f.path(), OlderImport::Version::V1, &source, &message));
}

}  // namespace
