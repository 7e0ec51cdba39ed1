// The ASCII import: the line splitter, the encodings, reading lines in bounded memory,
// the sample for the matching, and the import itself.

#include <gtest/gtest.h>

#include "AsciiFile.h"
#include "AsciiImport.h"
#include "AsciiLine.h"
#include "AsciiSample.h"
#include "ImportTestSupport.h"
#include "RecordingProgress.h"

namespace {

TEST(AsciiLine, SplitsByTheImportsQuotingRules) {
    const struct {
        const char* line;
        std::vector<std::string> fields;
    } cases[] = {
        {"Smith,\"Jones, Inc\",12", {"Smith", "Jones, Inc", "12"}},  // a quoted comma
        {"\"He said \"\"hi\"\"\",x", {"He said \"\"hi\"\"", "x"}},   // doubled quotes stay doubled
        {"\"a\"\"b\"", {"a\"\"b"}},
        {"\"\"\"\",x", {"\"\"", "x"}},
        {"a,b,", {"a", "b", ""}},  // a trailing comma
        {"", {""}},                // an empty line
        {"a", {"a"}},
        {"\"\",x,\"\"", {"", "x", ""}},
        {"a,\"b,c", {"a", "\"b,c"}},  // a quote left open
        {"plain \"quoted, not\" here,z", {"plain \"quoted, not\" here", "z"}},
        {"\"", {"\""}},
        {"a,,\"Ünïcödé, ok\"", {"a", "", "Ünïcödé, ok"}},
    };
    for (const auto& c : cases) EXPECT_EQ(AsciiLine::Split(c.line), c.fields) << c.line;
}

TEST(SourceEncoding, DetectsUtf8AndFallsBackToWindows1252) {
    TempDir dir;
    const QString path = QString::fromStdString(dir.file("in.csv"));
    const struct {
        QByteArray bytes;
        SourceEncoding::Kind kind;
    } cases[] = {
        {"plain,ascii\n", SourceEncoding::Kind::Utf8},
        {"caf\xC3\xA9,na\xC3\xAFve\n", SourceEncoding::Kind::Utf8},
        {"\xEF\xBB\xBF"
         "caf\xC3\xA9\n",
         SourceEncoding::Kind::Utf8},
        {"\xEF\xBB\xBF"
         "caf\xE9\n",
         SourceEncoding::Kind::Utf8},  // the mark is believed
        {"caf\xE9,Stra\xDF"
         "e\n",
         SourceEncoding::Kind::Windows1252},
        {"\xC0\xAF\n", SourceEncoding::Kind::Windows1252},      // an overlong form
        {"\xED\xA0\x80\n", SourceEncoding::Kind::Windows1252},  // a surrogate
        {"ends in half a character \xC3", SourceEncoding::Kind::Windows1252},
    };
    for (const auto& c : cases) {
        writeFile(path, c.bytes);
        SourceEncoding e;
        QString message;
        ASSERT_TRUE(SourceEncoding::detect(path, &e, &message));
        EXPECT_EQ(e.kind(), c.kind) << c.bytes.toStdString();
    }
    // Valid UTF-8 far into a large file still counts.
    writeFile(path, QByteArray(3 << 20, 'a') + "\xE9");
    SourceEncoding e;
    QString message;
    ASSERT_TRUE(SourceEncoding::detect(path, &e, &message));
    EXPECT_EQ(e.kind(), SourceEncoding::Kind::Windows1252);
}

TEST(SourceEncoding, NamedEncodingsKeepAsciiOrAreRefused) {
    SourceEncoding e;
    QString message;
    for (const char* name : {"utf8", "UTF-8", "cp1252", "Windows-1252"})
        EXPECT_TRUE(SourceEncoding::byName(name, &e, &message));
    ASSERT_TRUE(SourceEncoding::byName("ISO-8859-15", &e, &message));
    std::string utf8;
    ASSERT_TRUE(e.toUtf8("\xA4 5", &utf8));
    EXPECT_EQ(utf8, "\xE2\x82\xAC 5");  // the euro sign of Latin-9
    ASSERT_TRUE(SourceEncoding::byName("CP850", &e, &message));
    ASSERT_TRUE(e.toUtf8("\x82", &utf8));
    EXPECT_EQ(utf8, "\xC3\xA9");
    EXPECT_FALSE(SourceEncoding::byName("UTF-16", &e, &message));
    EXPECT_TRUE(message.contains("does not keep ASCII")) << message.toStdString();
    EXPECT_FALSE(SourceEncoding::byName("no-such-thing", &e, &message));
    EXPECT_EQ(message, "Unknown encoding no-such-thing");
}

// Lines end at CR LF, LF or a lone CR (also across the reader's buffer); an over-long
// line, a NUL byte and bytes outside the encoding are told apart.
TEST(AsciiFile, ReadsLinesAndNamesTheirProblems) {
    TempDir dir;
    const QString path = QString::fromStdString(dir.file("lines.txt"));
    QByteArray bytes =
        "\xEF\xBB\xBF"
        "one\r\ntwo\nthree\rfour\r\n\r\n";
    bytes += QByteArray(AsciiLine::kMaxLength, 'x') + "\n";
    bytes += QByteArray(AsciiLine::kMaxLength + 1, 'y') + "\n";
    QByteArray accented;
    for (int i = 0; i < AsciiLine::kMaxLength; ++i) accented += "\xC3\xA9";
    bytes += accented + "\n";
    bytes += QByteArray("nul\0here\n", 9);
    bytes += "bad \xE9 byte\n";
    // Lines up to a CR at the very end of the reader's first megabyte, its LF at the
    // start of the next.
    const int fillerLines = ((1 << 20) - int(bytes.size())) / 1000 - 1;
    for (int i = 0; i < fillerLines; ++i) bytes += QByteArray(999, 'p') + "\n";
    const int lastShort = (1 << 20) - int(bytes.size()) - 1;
    bytes += QByteArray(lastShort, 'q') + "\r\nlast";
    writeFile(path, bytes);

    AsciiFile file;
    QString message;
    ASSERT_TRUE(file.open(path, SourceEncoding::utf8(), &message));
    using P = AsciiFile::Problem;
    const struct {
        std::string text;
        P problem;
    } expected[] = {
        {"one", P::None},
        {"two", P::None},
        {"three", P::None},
        {"four", P::None},
        {"", P::None},
        {std::string(AsciiLine::kMaxLength, 'x'), P::None},
        {std::string(AsciiLine::kMaxLength, 'y'), P::TooLong},
        {accented.toStdString(), P::None},
        {"", P::Nul},
        {"", P::BadEncoding},
    };
    std::string text;
    P problem;
    for (const auto& e : expected) {
        ASSERT_EQ(file.next(&text, &problem), AsciiFile::Result::Line) << file.lineNumber();
        EXPECT_TRUE(text == e.text) << "line " << file.lineNumber();
        EXPECT_EQ(problem, e.problem) << "line " << file.lineNumber();
    }
    for (int i = 0; i < fillerLines; ++i) {
        ASSERT_EQ(file.next(&text, &problem), AsciiFile::Result::Line);
        ASSERT_TRUE(text == std::string(999, 'p')) << "line " << file.lineNumber();
    }
    ASSERT_EQ(file.next(&text, &problem), AsciiFile::Result::Line);
    EXPECT_TRUE(text == std::string(size_t(lastShort), 'q'));
    ASSERT_EQ(file.next(&text, &problem), AsciiFile::Result::Line);
    EXPECT_EQ(text, "last");
    EXPECT_EQ(file.next(&text, &problem), AsciiFile::Result::End);
    uint64_t lines = 0;
    ASSERT_TRUE(AsciiFile::countLines(path, &lines, &message));
    EXPECT_EQ(lines, std::size(expected) + fillerLines + 2);
    EXPECT_EQ(AsciiFile::problemText(P::TooLong, 7, SourceEncoding::utf8()),
              "Line 7 is longer than 2048 characters");
}

TEST(AsciiSample, ReadsTenLinesWithTheFirstLinesFieldCount) {
    TempDir dir;
    const QString path = QString::fromStdString(dir.file("sample.csv"));
    QByteArray bytes = "Name,City,Zip\n\"Smith, Jr\",Boston\n";
    for (int i = 0; i < 20; ++i) bytes += "a,bb,ccc,extra\n";
    writeFile(path, bytes);
    AsciiSample sample;
    QString message;
    ASSERT_TRUE(ReadAsciiSample(path, {}, &sample, &message)) << message.toStdString();
    EXPECT_EQ(sample.fieldCount, 3);
    // Ten lines for the grid, and one more in case the first holds column names.
    EXPECT_EQ(sample.lines.size(), 11u);
    EXPECT_EQ(sample.rows(false).size(), 10u);
    EXPECT_EQ(sample.rows(true).size(), 10u);
    EXPECT_EQ(sample.rows(true).front().value(0), "Smith, Jr");
    EXPECT_EQ(sample.widths, (std::vector<int>{9, 6, 3}));
    EXPECT_EQ(sample.fieldNames(), QStringList({"Field 1", "Field 2", "Field 3"}));
    EXPECT_EQ(sample.firstLineNames(), QStringList({"Name", "City", "Zip"}));

    for (const QByteArray& refused :
         {QByteArray("one line only\n"), QByteArray(), QByteArray("a\0b\nc\n", 6)}) {
        writeFile(path, refused);
        EXPECT_FALSE(ReadAsciiSample(path, {}, &sample, &message));
        EXPECT_EQ(message, "Unable to import from this file");
    }
    EXPECT_FALSE(ReadAsciiSample(QString::fromStdString(dir.file("missing.csv")), {}, &sample, &message));
    EXPECT_TRUE(message.startsWith("Cannot read ")) << message.toStdString();
}

// The setup of an import of `path` with source fields matched to labels.
AsciiImportSetup setupFor(const AddressFileFixture& f, const QString& path,
                          std::initializer_list<std::pair<const char*, int>> matches,
                          const QString& encoding = {}) {
    AsciiSample sample;
    QString message;
    EXPECT_TRUE(ReadAsciiSample(path, encoding, &sample, &message)) << message.toStdString();
    AsciiImportSetup setup;
    setup.path = path;
    setup.encoding = sample.encoding;
    setup.fieldCount = sample.fieldCount;
    std::vector<SourceField> sources;
    for (const QString& name : sample.fieldNames()) sources.push_back({name, 'C'});
    setup.match = FieldMatch(ImportDestinations::Ascii(f.table()), sources, FieldMatch::Rules::Any);
    for (const auto& [label, field] : matches) setup.match.assign(setup.match.rowNamed(label), field - 1);
    return setup;
}

// A CSV as a spreadsheet writes it: every value lands where the matching puts it, the
// records already there stay, and the indexes are whole again.
TEST(AsciiImport, ImportsEveryValueWhereTheMatchPutsIt) {
    AddressFileFixture f;
    f.add({{"LNAME", "Existing"}});
    const QString csv = f.file("people.csv");
    writeFile(csv,
              "Smith,John,\"Acme, Inc.\",\"12 \"\"Main\"\" St\",Boston\r\n"
              "Müller,Jürgen,,Königstraße 5\r\n"
              "Short\r\n"
              "\r\n"
              "O'Hara,Seán,,,Cork,ignored,extra\r\n");
    AsciiImportSetup setup = setupFor(
        f, csv, {{"Last Name", 1}, {"FNAME", 2}, {"Organization", 3}, {"Address 1", 4}, {"City", 5}});
    RecordingProgress progress;
    std::vector<QString> events;
    ImportHooks hooks;
    hooks.reported = [&](const ImportReport& r) { events.push_back("reported " + r.messages.join("|")); };
    hooks.rebuilding = [&] { events.push_back("rebuilding"); };
    const ImportReport report = RunAsciiImport(f.table(), setup, progress, hooks);

    EXPECT_EQ(report.result, JobResult::Done);
    EXPECT_EQ(report.imported, 5u);
    EXPECT_EQ(report.messages, QStringList({"Import complete. Imported 5 records."}));
    EXPECT_TRUE(report.rebuildError.isEmpty());
    EXPECT_EQ(events, (std::vector<QString>{"reported Import complete. Imported 5 records.", "rebuilding"}));
    EXPECT_EQ(progress.statuses,
              QStringList({"Counting total lines", "Importing records", "Rebuilding Indexes "}));
    EXPECT_EQ(progress.gauges.back(), 100);

    const std::vector<Record> records = f.records();
    ASSERT_EQ(records.size(), 6u);
    EXPECT_EQ(records[0], (Record{{"LNAME", "Existing"}}));
    EXPECT_EQ(records[1], (Record{{"LNAME", "Smith"},
                                  {"FNAME", "John"},
                                  {"ORG", "Acme, Inc."},
                                  {"STREET", "12 \"\"Main\"\" St"},
                                  {"CITY", "Boston"}}));
    EXPECT_EQ(records[2], (Record{{"LNAME", "Müller"}, {"FNAME", "Jürgen"}, {"STREET", "Königstraße 5"}}));
    EXPECT_EQ(records[3], (Record{{"LNAME", "Short"}}));
    EXPECT_EQ(records[4], Record());
    EXPECT_EQ(records[5], (Record{{"LNAME", "O'Hara"}, {"FNAME", "Seán"}, {"CITY", "Cork"}}));
    EXPECT_TRUE(AddressFile::CheckValidIndex(f.table()));
    EXPECT_TRUE(f.table().verifyIndexes().ok());
}

TEST(AsciiImport, AFirstLineOfNamesMatchesAndIsSkipped) {
    AddressFileFixture f;
    const QString csv = f.file("named.csv");
    writeFile(csv, "Zip/Postal Code,lname,Nickname,city\n02134,Smith,Smitty,Boston\n");
    AsciiImportSetup setup = setupFor(f, csv, {});
    AsciiSample sample;
    QString message;
    ASSERT_TRUE(ReadAsciiSample(csv, {}, &sample, &message));
    setup.match.matchByNames(sample.firstLineNames());
    setup.firstLineNames = true;
    RecordingProgress progress;
    const ImportReport report = RunAsciiImport(f.table(), setup, progress);
    EXPECT_EQ(report.messages, QStringList({"Import complete. Imported 1 records."}));
    EXPECT_EQ(f.records(), (std::vector<Record>{{{"ZIP", "02134"}, {"LNAME", "Smith"}, {"CITY", "Boston"}}}));
}

TEST(AsciiImport, CancelKeepsTheRecordsSoFarAndStillRebuilds) {
    AddressFileFixture f;
    const QString csv = f.file("many.csv");
    QByteArray bytes;
    for (int i = 1; i <= 200; ++i) bytes += "Name" + QByteArray::number(i) + "\n";
    writeFile(csv, bytes);
    RecordingProgress progress(50);
    const ImportReport report = RunAsciiImport(f.table(), setupFor(f, csv, {{"Last Name", 1}}), progress);
    EXPECT_EQ(report.result, JobResult::Cancelled);
    EXPECT_EQ(report.messages, QStringList({"Import cancelled after importing 50 records."}));
    f.reopen();
    EXPECT_EQ(f.table().recCount(), 50u);
    EXPECT_TRUE(AddressFile::CheckValidIndex(f.table()));
    EXPECT_TRUE(f.table().verifyIndexes().ok());
}

// Each encoding comes in as the characters it means; a character the address file's
// code page cannot hold stops the import at its line, naming line and field, with the
// records before it kept and indexed.
TEST(AsciiImport, ConvertsTheFilesEncodingAndStopsAtWhatTheCodePageCannotHold) {
    const struct {
        const char* what;
        QByteArray bytes;
        QString encoding;
    } files[] = {
        {"UTF-8", "Zoë,Müller\nRenée,Straße\n", {}},
        {"UTF-8 with its mark",
         "\xEF\xBB\xBF"
         "Zoë,Müller\nRenée,Straße\n",
         {}},
        {"Windows-1252",
         "Zo\xEB,M\xFCller\nRen\xE9"
         "e,Stra\xDF"
         "e\n",
         {}},
        {"Latin-9 by name",
         "Zo\xEB,M\xFCller\nRen\xE9"
         "e,Stra\xDF"
         "e\n",
         "ISO-8859-15"},
    };
    for (const auto& file : files) {
        SCOPED_TRACE(file.what);
        AddressFileFixture f;
        const QString csv = f.file("enc.csv");
        writeFile(csv, file.bytes);
        RecordingProgress progress;
        const ImportReport report = RunAsciiImport(
            f.table(), setupFor(f, csv, {{"First Name", 1}, {"Last Name", 2}}, file.encoding), progress);
        EXPECT_EQ(report.result, JobResult::Done) << report.messages.join("\n").toStdString();
        EXPECT_EQ(f.records(), (std::vector<Record>{{{"FNAME", "Zoë"}, {"LNAME", "Müller"}},
                                                    {{"FNAME", "Renée"}, {"LNAME", "Straße"}}}));
    }

    AddressFileFixture f;
    const QString csv = f.file("polish.csv");
    writeFile(csv, "Anna,Nowak\nJan,Kowalski\nZofia,Łukasiewicz\nPiotr,Zieliński\n");
    RecordingProgress progress;
    const ImportReport report =
        RunAsciiImport(f.table(), setupFor(f, csv, {{"First Name", 1}, {"Last Name", 2}}), progress);
    EXPECT_EQ(report.result, JobResult::Failed);
    EXPECT_EQ(report.imported, 2u);
    EXPECT_EQ(
        report.messages,
        QStringList({"Unknown error writing to data file after importing 2 records.\r\n"
                     "Line 3, Field 2 (Last Name): The character \"Ł\" cannot be stored in code page 1252"}));
    f.reopen();
    EXPECT_EQ(f.records(), (std::vector<Record>{{{"FNAME", "Anna"}, {"LNAME", "Nowak"}},
                                                {{"FNAME", "Jan"}, {"LNAME", "Kowalski"}}}));
    EXPECT_TRUE(AddressFile::CheckValidIndex(f.table()));
}

TEST(AsciiImport, ALineItCannotReadStopsTheImportAfterTheRecordsBeforeIt) {
    const struct {
        const char* what;
        QByteArray badLine;
        QString reason;
    } cases[] = {
        {"too long", QByteArray(AsciiLine::kMaxLength + 1, 'x'), "Line 3 is longer than 2048 characters"},
        {"a NUL byte", QByteArray("nul\0inside", 10),
         "Line 3 holds a NUL character; this is not a text file"},
        {"not UTF-8", "caf\xE9", "Line 3 is not valid UTF-8 text"},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.what);
        AddressFileFixture f;
        const QString csv = f.file("bad.csv");
        writeFile(csv, "One\nTwo\n" + c.badLine + "\nFour\n");
        AsciiImportSetup setup = setupFor(f, csv, {{"Last Name", 1}}, "UTF-8");
        RecordingProgress progress;
        const ImportReport report = RunAsciiImport(f.table(), setup, progress);
        EXPECT_EQ(report.result, JobResult::Failed);
        EXPECT_EQ(
            report.messages,
            QStringList({"Unknown error reading ASCII file after importing 2 records.\r\n" + c.reason}));
        EXPECT_EQ(f.records(), (std::vector<Record>{{{"LNAME", "One"}}, {{"LNAME", "Two"}}}));
        EXPECT_TRUE(AddressFile::CheckValidIndex(f.table()));
    }
}

// The rebuild's gauge counts eighteen tags of 100 %: half-way after nine of the 26 tags,
// full after eighteen.
TEST(AsciiImport, TheRebuildGaugeCountsEighteenTags) {
    AddressFileFixture f;
    const QString csv = f.file("two.csv");
    writeFile(csv, "a\nb\n");
    RecordingProgress progress;
    (void)RunAsciiImport(f.table(), setupFor(f, csv, {{"Last Name", 1}}), progress);
    // After the import's own gauge: the 0 the rebuild starts with, then per tag 0, 50, 80, 100.
    const auto start = std::find(progress.gauges.begin() + 1, progress.gauges.end(), 0);
    ASSERT_NE(start, progress.gauges.end());
    const std::vector<int> rebuild(start, progress.gauges.end());
    ASSERT_EQ(rebuild.size(), 1 + 26 * 4u);
    EXPECT_EQ(rebuild[9 * 4], 50);
    EXPECT_EQ(rebuild[17 * 4], 94);
    EXPECT_EQ(rebuild[18 * 4], 100);
    EXPECT_EQ(rebuild.back(), 100);
}

}  // namespace
