// The two dialects of comma-separated files, telling them apart, the formula guard of
// CSV for spreadsheets, reading records over several lines, and matching the column
// names of address books' exports.

#include <gtest/gtest.h>

#include "AsciiImport.h"
#include "AsciiLine.h"
#include "AsciiSample.h"
#include "ColumnNames.h"
#include "CopyOut.h"
#include "CsvDialect.h"
#include "CsvReader.h"
#include "ImportTestSupport.h"
#include "RecordingProgress.h"

namespace {

using Fields = std::vector<std::string>;

TEST(CsvDialect, SplitsRecordsAsSpreadsheetsWriteThem) {
    const struct {
        const char* record;
        Fields rfc4180;  // read as RFC 4180
        Fields own;      // the same line by the program's own quoting rules
    } cases[] = {
        {R"("Acme, Inc.","12 ""Main"" St")", {"Acme, Inc.", "12 \"Main\" St"}, {"Acme, Inc.", "12 \"\"Main\"\" St"}},
        // The program's own rules split this one in the wrong place: the rest moves over.
        {R"("Say ""hi"", ok",x)", {"Say \"hi\", ok", "x"}, {"Say \"\"hi\"", " ok\",x"}},
        {R"("""",x)", {"\"", "x"}, {"\"\"", "x"}},
        {R"(a,,"")", {"a", "", ""}, {"a", "", ""}},
        {"a,b,", {"a", "b", ""}, {"a", "b", ""}},
        {"", {""}, {""}},
        {R"(plain "inner" quotes,z)", {"plain \"inner\" quotes", "z"}, {"plain \"inner\" quotes", "z"}},
        {R"("closed"after,z)", {"closedafter", "z"}, {"\"closed\"after", "z"}},
        {"\"line one\r\nline two\",x", {"line one\r\nline two", "x"}, {"line one\r\nline two", "x"}},
        {R"("Ünïcödé, ok",é)", {"Ünïcödé, ok", "é"}, {"Ünïcödé, ok", "é"}},
        {"\"open to the end", {"open to the end"}, {"\"open to the end"}},
    };
    for (const auto& c : cases) {
        EXPECT_EQ(CsvDialect::SplitRfc4180(c.record), c.rfc4180) << c.record;
        EXPECT_EQ(AsciiLine::Split(c.record), c.own) << c.record;
    }
}

TEST(CsvDialect, TellsTheDialectFromTheFirstLines) {
    using D = CsvDialect::Dialect;
    const std::string ownLine =
        R"("","Zoë","","Say "hi"","","Acme, Inc.","","","","","","","","","","","","","","")";
    const struct {
        const char* what;
        std::vector<std::string> lines;
        D dialect;
    } cases[] = {
        {"doubled quotes inside a field", {R"(x,"12 ""Main"" St",y)"}, D::Rfc4180},
        {"a quoted line break", {R"(a,"first)", R"(second",b)", "c,d"}, D::Rfc4180},
        {"quoted commas only", {R"("Acme, Inc.",Boston)", "a,b"}, D::Own},
        {"no quotes at all", {"a,b", "c,d"}, D::Own},
        {"a doubled quote that ends the field", {R"("a""",b)"}, D::Rfc4180},
        {"an empty quoted field", {R"("",x)", R"(y,"")"}, D::Own},
        {"the program's own twenty-field text", {ownLine, ownLine}, D::Own},
        {"a mixed file: own lines, then one with doubled quotes", {"a,b", R"("Acme, Inc.",x)", R"("He said ""no""",y)"},
         D::Rfc4180},
        {"a quote left open to the end", {"a,b", R"(c,"never closed)"}, D::Own},
    };
    for (const auto& c : cases) EXPECT_EQ(CsvDialect::Detect(c.lines), c.dialect) << c.what;
}

TEST(CsvDialect, TheFormulaGuardComesOffAgainExactly) {
    const struct {
        const char* value;
        bool guarded;
    } cases[] = {
        {"=HYPERLINK(\"http://x\",\"y\")", true},
        {"+44 20 7946 0958", true},
        {"-5", true},
        {"@SUM(A1)", true},
        {"\tindented", true},
        {"\rx", true},
        {"'=already marked", true},  // guarded once more, so that the import gives it back
        {"''+x", true},
        {"'quoted", false},
        {"a=b", false},
        {"Smith", false},
        {"", false},
        {"'", false},
    };
    for (const auto& c : cases) {
        EXPECT_EQ(CsvDialect::NeedsGuard(c.value), c.guarded) << c.value;
        std::string written = c.guarded ? "'" + std::string(c.value) : std::string(c.value);
        CsvDialect::Unguard(&written);
        EXPECT_EQ(written, c.value);
    }
}

TEST(CsvReader, ReadsRecordsOverLinesInTheirDialect) {
    TempDir dir;
    const QString path = QString::fromStdString(dir.file("in.csv"));
    writeFile(path, "\"Müller\",\"'=1+2\",\"a\r\nb\"\r\nnext,\"c\nd\",'+44\nlast,\"\"\"q\"\"\"\n");
    {
        CsvReader reader;
        QString message;
        ASSERT_TRUE(reader.open(path, SourceEncoding::utf8(), CsvDialect::Dialect::Rfc4180, &message));
        const std::vector<std::pair<Fields, uint64_t>> expected = {
            {{"Müller", "=1+2", "a\r\nb"}, 1}, {{"next", "c\nd", "+44"}, 3}, {{"last", "\"q\""}, 5}};
        Fields fields;
        AsciiFile::Problem problem;
        for (const auto& [values, line] : expected) {
            ASSERT_EQ(reader.next(&fields, &problem), AsciiFile::Result::Line);
            EXPECT_EQ(problem, AsciiFile::Problem::None);
            EXPECT_EQ(fields, values);
            EXPECT_EQ(reader.recordLine(), line);
        }
        EXPECT_EQ(reader.next(&fields, &problem), AsciiFile::Result::End);
    }
    {
        // The program's own text: a line is a record, the apostrophe stays.
        CsvReader reader;
        QString message;
        ASSERT_TRUE(reader.open(path, SourceEncoding::utf8(), CsvDialect::Dialect::Own, &message));
        Fields fields;
        AsciiFile::Problem problem;
        ASSERT_EQ(reader.next(&fields, &problem), AsciiFile::Result::Line);
        EXPECT_EQ(fields, (Fields{"Müller", "'=1+2", "\"a"}));
    }
    // A bad line inside a quoted field is named by its own number.
    writeFile(path, "a,\"one\ntwo\xff\",b\n");
    CsvReader reader;
    QString message;
    ASSERT_TRUE(reader.open(path, SourceEncoding::utf8(), CsvDialect::Dialect::Rfc4180, &message));
    Fields fields;
    AsciiFile::Problem problem;
    ASSERT_EQ(reader.next(&fields, &problem), AsciiFile::Result::Line);
    EXPECT_EQ(problem, AsciiFile::Problem::BadEncoding);
    EXPECT_EQ(reader.problemText(problem), "Line 2 is not valid UTF-8 text");
}

// A row's destination names, as ColumnNames::Match() gives them ("" for none).
QStringList matched(const QStringList& columns, const std::vector<Destination>& rows) {
    QStringList names;
    for (int row : ColumnNames::Match(columns, rows)) names << (row < 0 ? QString() : rows[size_t(row)].name);
    return names;
}

TEST(ColumnNames, MatchesTheColumnsOfAddressBookExports) {
    AddressFileFixture f;
    const std::vector<Destination> rows = ImportDestinations::Ascii(f.table());
    const struct {
        const char* what;
        QStringList columns;
        QStringList fields;
    } cases[] = {
        {"the field labels and names, any case and punctuation",
         {"last name", "FNAME", "Zip Postal Code", "e-mail", "Comment_1", "Shoe size"},
         {"LNAME", "FNAME", "ZIP", "EMAIL", "USER1", ""}},
        {"a desktop mail program's export: the first address (work) wins, phones in order",
         {"First Name", "Middle Name", "Last Name", "Company", "Job Title", "Business Street", "Business City",
          "Business Postal Code", "Business Country/Region", "Home Street", "Home City", "Business Phone",
          "Home Phone", "Mobile Phone", "Business Fax", "E-mail Address", "E-mail 2 Address", "Notes"},
         {"FNAME", "MIDDLE", "LNAME", "ORG", "TITLE", "STREET", "CITY", "ZIP", "COUNTRY", "", "", "PHONE",
          "PHONE2", "", "FAX", "EMAIL", "", "MEMO"}},
        {"a web address book's export: numbered groups",
         {"Given Name", "Family Name", "Name Prefix", "Organization 1 - Name", "Organization 1 - Title",
          "E-mail 1 - Value", "Phone 1 - Type", "Phone 1 - Value", "Address 1 - Street", "Address 1 - City",
          "Address 1 - Region", "Address 1 - Postal Code", "Address 2 - Street", "Address 2 - City"},
         {"FNAME", "LNAME", "PREFIX", "ORG", "TITLE", "EMAIL", "", "PHONE", "STREET", "CITY", "STATE", "ZIP",
          "", ""}},
        {"a mail client's export: home before work, second address line",
         {"First Name", "Last Name", "Primary Email", "Secondary Email", "Home Address", "Home Address 2",
          "Home City", "Home State", "Home ZipCode", "Work Address", "Work City", "Fax Number", "Mobile Number"},
         {"FNAME", "LNAME", "EMAIL", "", "STREET", "STREET2", "CITY", "STATE", "ZIP", "", "", "FAX", "PHONE"}},
        {"a label takes its field before a name of the table",
         {"Phone 2", "Telephone", "Mobile"},
         {"PHONE2", "PHONE", ""}},
    };
    for (const auto& c : cases) EXPECT_EQ(matched(c.columns, rows), c.fields) << c.what;
}

TEST(ColumnNames, TellsALineOfColumnNames) {
    AddressFileFixture f;
    const std::vector<Destination> rows = ImportDestinations::Ascii(f.table());
    const struct {
        QStringList line;
        bool header;
    } cases[] = {
        {{"Name", "Email"}, true},
        {{"Last Name", "City", "Shoe size"}, true},
        {{"First Name", "Last Name", "Department", "Birthday", "Web Page", "Home Phone", "Spouse", "Hobby",
          "Anniversary"},
         true},  // an export with many columns the address file does not keep
        {{"Smith", "John", "Boston", "02134"}, false},
        {{"", "", ""}, false},
    };
    for (const auto& c : cases) EXPECT_EQ(ColumnNames::LooksLikeHeader(c.line, rows), c.header) << c.line.join(',').toStdString();
}

// CSV for spreadsheets marks formula-like values as text, --raw leaves them; the RFC
// 4180 import of the guarded file gives every value back.
TEST(CopyOut, TheFormulaGuardOfCsvForSpreadsheetsRoundTrips) {
    AddressFileFixture f;
    f.add({{"LNAME", "=HYPERLINK(\"http://a\",\"b\")"},
           {"PHONE", "+44 20 7946 0958"},
           {"CITY", "'=quoted"},
           {"ORG", "-minus"},
           {"USER1", "@at"},
           {"MEMO", "\tstarts with a tab\r\nand more"}});
    const QString guarded = f.file("guarded.csv"), raw = f.file("raw.csv");
    for (const auto& [path, guard] : {std::pair{guarded, true}, std::pair{raw, false}}) {
        RecordingProgress progress;
        uint32_t copied = 0;
        QString error;
        CopyOut::Options options;
        options.formulaGuard = guard;
        ASSERT_EQ(CopyOut::Run(f.table(), CopyOut::Kind::Csv, path, progress, &copied, &error, nullptr, options),
                  JobResult::Done)
            << error.toStdString();
    }
    const QByteArray line = readFile(guarded).split('\n').value(1);
    EXPECT_TRUE(line.startsWith(",,,\"'=HYPERLINK(\"\"http://a\"\",\"\"b\"\")\",,'-minus,,,''=quoted,"))
        << line.toStdString();
    EXPECT_TRUE(line.contains(",'+44 20 7946 0958,")) << line.toStdString();
    EXPECT_TRUE(readFile(raw).contains(",\"=HYPERLINK(")) << readFile(raw).toStdString();
    EXPECT_TRUE(readFile(raw).contains(",'=quoted,"));

    AddressFileFixture g;
    AsciiSample sample;
    QString message;
    ASSERT_TRUE(ReadAsciiSample(guarded, {}, &sample, &message, std::nullopt, ImportDestinations::Ascii(g.table())));
    EXPECT_EQ(sample.dialect, CsvDialect::Dialect::Rfc4180);
    EXPECT_TRUE(sample.headerDetected);
    AsciiImportSetup setup;
    setup.path = guarded;
    setup.encoding = sample.encoding;
    setup.dialect = sample.dialect;
    setup.fieldCount = sample.fieldCount;
    setup.firstLineNames = true;
    setup.match = FieldMatch(ImportDestinations::Ascii(g.table()), sample.sources(true), FieldMatch::Rules::Any);
    setup.match.matchByNames(sample.firstLineNames());
    RecordingProgress progress;
    const ImportReport report = RunAsciiImport(g.table(), setup, progress);
    EXPECT_EQ(report.messages, QStringList({"Import complete. Imported 1 records."}));
    EXPECT_EQ(g.records(), f.records());
}

}  // namespace
