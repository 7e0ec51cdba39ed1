// The report commands run as a script would, on files another program made: an address
// file written by Python's dbf package, REPORT.DBF written by it too, and report layout
// files whose bytes are written here by hand. The PDFs are read back with poppler.

#include <gtest/gtest.h>

#include <QDir>
#include <QRegularExpression>
#include <fstream>
#include <map>

#include "LabelTestSupport.h"
#include "RunQuillory.h"
#include "TempDir.h"

namespace {

const std::string kInterop = QUILLORY_INTEROP_DIR;
const std::vector<std::string> kFields = {"LNAME",  "FNAME", "MIDDLE", "PREFIX", "TITLE", "ORG",   "STREET", "STREET2",
                                          "CITY",   "STATE", "ZIP",    "COUNTRY", "DATE", "PHONE", "PHONE2", "FAX",
                                          "EMAIL",  "CODES", "USER1",  "USER2",  "ISDEL", "TAG",   "MEMO"};
const char* kLayout =
    "LNAME C(30); FNAME C(30); MIDDLE C(1); PREFIX C(12); TITLE C(30); ORG C(30); STREET C(40); "
    "STREET2 C(40); CITY C(30); STATE C(20); ZIP C(10); COUNTRY C(30); DATE C(15); PHONE C(30); "
    "PHONE2 C(30); FAX C(40); EMAIL C(40); CODES C(30); USER1 C(40); USER2 C(40); ISDEL L; TAG C(8); "
    "MEMO M";

struct Word {
    QString text;
    int page;
    double x, y;  // top-left, inches
};

class ReportCliTest : public ::testing::Test {
  protected:
    // Writes the address file with Python's dbf: `rows` of field → value, then builds
    // its tags with our reindex (the other program wrote no index).
    void writeAddresses(const std::vector<std::map<std::string, std::string>>& rows) {
        std::string input;
        for (size_t i = 0; i < kFields.size(); ++i) input += (i ? "\t" : "") + kFields[i];
        input += "\n";
        for (auto values : rows) {
            if (!values.count("ISDEL")) values["ISDEL"] = "F";
            input += "-";
            for (const std::string& f : kFields) input += "\t" + values[f];
            input += "\n";
        }
        std::ofstream(home_.file("rows.txt"), std::ios::binary) << input;
        int code = -1;
        const std::string out = runCommand("/usr/bin/python3 " + shellQuote(kInterop + "/pydbf_write.py") + " " +
                                               shellQuote(table()) + " fp " + shellQuote(kLayout) + " <" +
                                               shellQuote(home_.file("rows.txt")) + " 2>&1",
                                           &code);
        ASSERT_EQ(code, 0) << out;
        ASSERT_EQ(runQuillory({"reindex", table()}, home_).exitCode, 0);
    }

    // REPORT.DBF by Python's dbf, one record per {description, paper text, file}.
    void writeReports(const std::vector<std::array<std::string, 3>>& reports) {
        ASSERT_TRUE(QDir().mkpath(QString::fromStdString(home_.file("sysdata"))));
        std::string script =
            "import dbf,sys\n"
            "t = dbf.Table(sys.argv[1], 'DESCRIPT C(60); LAYOUT C(60); BINARY C(12)', dbf_type='db3')\n"
            "t.open(mode=dbf.READ_WRITE)\n";
        for (const auto& r : reports) script += "t.append(('" + r[0] + "', '" + r[1] + "', '" + r[2] + "'))\n";
        script += "t.close()\n";
        int code = -1;
        const std::string out = runCommand("/usr/bin/python3 -c " + shellQuote(script) + " " +
                                               shellQuote(home_.file("sysdata/REPORT.DBF")) + " 2>&1",
                                           &code);
        ASSERT_EQ(code, 0) << out;
    }

    void writeLayout(const std::string& name, const QByteArray& bytes) {
        std::ofstream(home_.file("sysdata/" + name), std::ios::binary) << bytes.toStdString();
    }

    QuilloryResult run(std::vector<std::string> args) {
        args.insert(args.begin(), {"report", table()});
        args.insert(args.end(), {"--pdf", pdf()});
        return runQuillory(args, home_, 120);
    }

    // Every word of the PDF with its page and position.
    std::vector<Word> words() const {
        const QString html =
            QString::fromStdString(runCommand("pdftotext -raw -bbox " + shellQuote(pdf()) + " -"));
        static const QRegularExpression item("<page |<word xMin=\"([\\d.]+)\" yMin=\"([\\d.]+)\" "
                                             "xMax=\"[\\d.]+\" yMax=\"[\\d.]+\">([^<]*)</word>");
        std::vector<Word> list;
        int page = 0;
        for (auto it = item.globalMatch(html); it.hasNext();) {
            const auto m = it.next();
            if (m.captured(0) == "<page ") {
                ++page;
                continue;
            }
            list.push_back({m.captured(3), page, m.captured(1).toDouble() / 72, m.captured(2).toDouble() / 72});
        }
        return list;
    }

    std::string table() const { return home_.file("PEOPLE.DBF"); }
    std::string pdf() const { return home_.file("out.pdf"); }

    TempDir home_;
};

std::string name(int i) { return QString("Person%1").arg(i, 2, 10, QChar('0')).toStdString(); }

TEST_F(ReportCliTest, BuiltInListingOfAFileAnotherProgramWrote) {
    std::vector<std::map<std::string, std::string>> rows;
    // Sixty people in reverse order, one without a last name and one marked DELETED.
    for (int i = 60; i >= 1; --i)
        rows.push_back({{"LNAME", name(i)}, {"FNAME", "Ann"}, {"MIDDLE", "Q"}, {"CITY", "Salem"}, {"STATE", "OR"},
                        {"ZIP", "97301"}, {"PHONE", "555-01" + std::to_string(i)}});
    rows.push_back({{"FNAME", "Nameless"}, {"CITY", "Nowhere"}});
    rows.push_back({{"LNAME", "Gone"}, {"PREFIX", "deleted"}});
    writeAddresses(rows);

    const QuilloryResult r = run({"--builtin", "1"});
    ASSERT_EQ(r.exitCode, 0) << r.err;
    const std::vector<Word> all = words();
    int lastPage = 0, previous = 0;
    std::map<int, bool> pageNumbered;
    for (size_t i = 0; i < all.size(); ++i) {
        const Word& w = all[i];
        lastPage = std::max(lastPage, w.page);
        if (w.text == "Page" && i + 1 < all.size() && all[i + 1].text == QString::number(w.page))
            pageNumbered[w.page] = true;
        EXPECT_NE(w.text, "Nameless");  // a blank last name sorts before "0"
        EXPECT_NE(w.text, "Gone,");
        if (!w.text.startsWith("Person")) continue;
        // One row per person, in last-name order, the name cell at the 1 in margin.
        const int n = w.text.mid(6, 2).toInt();
        EXPECT_EQ(n, previous + 1) << w.text.toStdString();
        previous = n;
        EXPECT_NEAR(w.x, 1.02, 0.02);
        ASSERT_LT(i + 6, all.size());
        EXPECT_EQ(all[i + 1].text, "Ann");
        EXPECT_EQ(all[i + 2].text, "Q.");
        EXPECT_EQ(all[i + 3].text, "Salem,");
        EXPECT_NEAR(all[i + 3].x, 1.0 + 1.75 + 2.15 + 0.02, 0.02);  // City/St/Zip, after the empty address
        EXPECT_EQ(all[i + 4].text, "OR");
        EXPECT_EQ(all[i + 5].text, "97301");
        EXPECT_NEAR(all[i + 6].x, 1.0 + 1.75 + 2.15 + 2.0 + 0.02, 0.02);  // Phone
    }
    EXPECT_EQ(previous, 60);
    ASSERT_GE(lastPage, 2);
    for (int page = 1; page <= lastPage; ++page) EXPECT_TRUE(pageNumbered[page]) << "page " << page;
}

TEST_F(ReportCliTest, UserReportAnotherProgramWrotePrintsItsHeaderOnEveryPageAndABandPerRecord) {
    std::vector<std::map<std::string, std::string>> rows;
    for (int i = 1; i <= 30; ++i) rows.push_back({{"LNAME", name(i)}, {"FNAME", "Ann"}});
    writeAddresses(rows);
    handlayout::ReportPage page;  // Letter, half-inch margins, header 0.5 in, detail 1 in
    writeReports({{"Staff list", "Letter Size, Portrait", "BIN00001.R"}});
    // The detail band: the last name, and the calculated full name 3 in further right.
    writeLayout("BIN00001.R",
                handlayout::report(handlayout::textObject("Staff", 0, 0),
                                   handlayout::fieldObject("Last Name", 10, 0) +
                                       handlayout::fieldObject("Full Name", 10 + 288, 0),
                                   {}, page));

    const QuilloryResult r = run({"--report", "staff LIST"});
    ASSERT_EQ(r.exitCode, 0) << r.err;
    EXPECT_NE(r.out.find("30 records, 4 pages"), std::string::npos) << r.out;  // 9 one-inch bands a page
    std::map<int, int> headers, details;
    int previous = 0, fullNames = 0;
    for (const Word& w : words()) {
        if (w.text == "Ann" && std::abs(w.x - (0.625 + 10 / 96.0 + 3)) < 0.02) ++fullNames;
        if (w.text == "Staff") {
            ++headers[w.page];
            EXPECT_NEAR(w.x, 0.5 + 0.125, 0.02);
            EXPECT_LT(w.y, 1.0);  // inside the header band, 0.5 to 1 in
        } else if (w.text.startsWith("Person") && w.x < 2) {  // the last-name field, not the full name
            ++details[w.page];
            const int n = w.text.mid(6).toInt();
            EXPECT_EQ(n, previous + 1);
            previous = n;
            // Band tops at 1 in, then every inch; the field 10 px into the band.
            EXPECT_NEAR(w.x, 0.625 + 10 / 96.0, 0.02);
            const double bandTop = 1.0 + ((n - 1) % 9);
            EXPECT_GE(w.y, bandTop - 0.01);
            EXPECT_LT(w.y, bandTop + 0.3);
        }
    }
    EXPECT_EQ(previous, 30);
    EXPECT_EQ(fullNames, 30);
    EXPECT_EQ(headers, (std::map<int, int>{{1, 1}, {2, 1}, {3, 1}, {4, 1}}));
    EXPECT_EQ(details, (std::map<int, int>{{1, 9}, {2, 9}, {3, 9}, {4, 3}}));

    // One record a page, from record 28 on: three pages, each with its header.
    const QuilloryResult each = run({"--report", "Staff list", "--start-recno", "28", "--one-per-page"});
    ASSERT_EQ(each.exitCode, 0) << each.err;
    EXPECT_NE(each.out.find("3 records, 3 pages"), std::string::npos) << each.out;

    const QuilloryResult defs = runQuillory({"report-defs"}, home_);
    EXPECT_EQ(defs.out, "Staff list\tLetter Size, Portrait\tBIN00001.R\n");
}

TEST_F(ReportCliTest, BadReportsEndWithAMessageAndTheOddOnesStillAdvance) {
    writeAddresses({{{"LNAME", "Able"}, {"MEMO", ""}}, {{"LNAME", "Baker"}}, {{"LNAME", "Cole"}}});
    handlayout::ReportPage tall;
    tall.lengths[7] = 20000;  // a detail band 20 in high on a Letter page
    handlayout::ReportPage broken;
    broken.lengths[0] = -5;  // a page of no width, no height and bands higher than it
    broken.lengths[1] = 0;
    broken.lengths[6] = 30000;
    writeReports({{"Missing", "Letter Size, Portrait", "BIN00009.R"},
                  {"Damaged", "Letter Size, Portrait", "BIN00002.R"},
                  {"Tall", "Letter Size, Portrait", "BIN00003.R"},
                  {"Odd sizes", "", "BIN00004.R"}});
    writeLayout("BIN00002.R", QByteArray("\x01TPF0garbage", 12));
    const QByteArray detail = handlayout::fieldObject("Last Name", 0, 0);
    writeLayout("BIN00003.R", handlayout::report({}, detail, {}, tall));
    writeLayout("BIN00004.R", handlayout::report({}, detail, {}, broken));

    struct Case {
        std::string report;
        int exitCode;
        std::string says;
    };
    for (const Case& c : {Case{"No such report", 1, "There is no report \"No such report\""},
                          Case{"Missing", 1, "BIN00009.R"}, Case{"Damaged", 1, "BIN00002.R"},
                          Case{"Tall", 0, "3 records, 3 pages"}, Case{"Odd sizes", 0, "3 records"}}) {
        const QuilloryResult r = run({"--report", c.report});
        EXPECT_EQ(r.exitCode, c.exitCode) << c.report << ": " << r.err;
        EXPECT_NE((r.out + r.err).find(c.says), std::string::npos) << c.report << ": " << r.out << r.err;
    }
}

TEST_F(ReportCliTest, MemoBandsFlowOverPagesAndAMemoOfMegabytesEnds) {
    {
        std::unique_ptr<xbase::Table> t;
        ASSERT_TRUE(makeAddressFile(table(), {{"Able", "1"}, {"Baker", "2"}, {"Cole", "3"}}, &t));
        const int memo = t->fieldIndex("MEMO");
        std::string words;
        for (int i = 0; i < 800; ++i) words += "word" + std::to_string(i) + " ";
        ASSERT_TRUE(t->go(1).ok() && t->replace(memo, words + "TheEnd").ok() && t->commit().ok());
        ASSERT_TRUE(t->go(2).ok() && t->replace(memo, "   ").ok() && t->commit().ok());
        // A megabyte: words, then one word without a break.
        std::string huge;
        while (huge.size() < 700'000) huge += "lorem ipsum dolor sit amet ";
        huge += std::string(300'000, 'x');
        ASSERT_TRUE(t->go(3).ok() && t->replace(memo, huge).ok() && t->commit().ok());
        ASSERT_TRUE(t->close().ok());
    }
    handlayout::ReportPage page;
    page.use[2] = true;  // the memo band
    page.lengths[7] = 250;  // a detail band a quarter inch high
    writeReports({{"Notes", "Letter Size, Portrait", "BIN00001.R"}});
    writeLayout("BIN00001.R", handlayout::report(handlayout::textObject("Notes", 0, 0),
                                                 handlayout::fieldObject("Last Name", 0, 0), {}, page));

    // The first memo runs to page 2 under the header again.
    QuilloryResult r = run({"--report", "Notes", "--recno", "1"});
    ASSERT_EQ(r.exitCode, 0) << r.err;
    std::map<int, int> headers;
    int firstWordPage = 0, endPage = 0, lastPage = 0;
    for (const Word& w : words()) {
        lastPage = std::max(lastPage, w.page);
        if (w.text == "Notes") ++headers[w.page];
        if (w.text == "word0") {
            firstWordPage = w.page;
            EXPECT_NEAR(w.x, 0.625, 0.02);  // the memo lines start at the band's left
        }
        if (w.text == "TheEnd") endPage = w.page;
    }
    EXPECT_EQ(firstWordPage, 1);
    EXPECT_GE(endPage, 2);
    EXPECT_EQ(endPage, lastPage);
    for (int p = 1; p <= lastPage; ++p) EXPECT_EQ(headers[p], 1) << "page " << p;

    r = run({"--report", "Notes", "--recno", "3"});
    ASSERT_EQ(r.exitCode, 0) << r.err;
    EXPECT_NE(r.out.find("1 record, "), std::string::npos) << r.out;
}

TEST_F(ReportCliTest, BuiltInCodesAndMemoLinesBreakPagesUnderTheHeader) {
    std::string memo;
    for (int i = 1; i <= 80; ++i) memo += "Note" + std::to_string(i) + "\\r\\n";
    writeAddresses({{{"LNAME", "Adams"}, {"CODES", "VIP"}, {"MEMO", memo}},
                    {{"LNAME", "Baker"}, {"MEMO", "   "}},
                    {{"LNAME", "Cole"}}});
    const QuilloryResult r = run({"--builtin", "1", "--memo", "--codes"});
    ASSERT_EQ(r.exitCode, 0) << r.err;
    EXPECT_NE(r.out.find("3 records, 2 pages"), std::string::npos) << r.out;
    QStringList order;
    int note80Page = 0;
    for (const Word& w : words()) {
        // Nothing below the detail area's bottom rule, 0.5 in above the bottom margin.
        EXPECT_LT(w.y, 11.0 - 0.5 - 0.5) << w.text.toStdString() << " on page " << w.page;
        if (w.text == "Note80") note80Page = w.page;
        if (w.text == "Adams," || w.text == "Codes:" || w.text == "VIP" || w.text == "Note1" || w.text == "Baker," ||
            w.text == "Cole," || (w.text == "Page" && w.page == 2))
            order << w.text;
    }
    // The codes line, then the memo running on to page 2 under its header; the blank memo
    // of Baker prints nothing.
    EXPECT_EQ(order.join(' '), "Adams, Codes: VIP Note1 Page Baker, Cole,");
    EXPECT_EQ(note80Page, 2);
}

}  // namespace
