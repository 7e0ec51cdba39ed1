// The one-record sheet: its line breaking as a table of cases and on a text of several
// megabytes, the sheet read back from the page stream (columns, bold captions, empty
// values, the memo flowing onto a second page under the header), and record-sheet run
// as a script would, read back from its PDF with poppler.

#include <gtest/gtest.h>

#include <QRegularExpression>

#include "RecordEditing.h"
#include "RecordSheet.h"
#include "RunQuillory.h"
#include "SheetFixture.h"
#include "TReportFiler.h"
#include "TempDir.h"

namespace {

// Every character one unit wide: a line of width w holds w characters.
double units(QStringView piece) { return double(piece.size()); }

struct Text {
    int page;
    double x, y;  // the baseline's start, inches
    QString text;
    bool bold, italic;
};

struct SheetPages {
    std::vector<Text> texts;
    std::vector<std::pair<int, QLineF>> lines;  // page, line
    int pages = 0;
};

SheetPages printSheet(xbase::Table& table, const RecordSheet::Choice& choice) {
    PageStream stream;
    TReportFiler report;
    report.setStream(&stream);
    JobProgress progress;
    QString error;
    EXPECT_EQ(RecordSheet::PrintSheet(table, choice, report, progress, &error), JobResult::Done)
        << error.toStdString();
    SheetPages run;
    run.pages = int(stream.pages.size());
    for (const Page& page : stream.pages)
        for (const DrawOp& op : page.ops) {
            if (op.kind == DrawOp::Kind::Text)
                run.texts.push_back(
                    {page.number, op.p1.x(), op.p1.y(), op.text, op.font.bold(), op.font.italic()});
            if (op.kind == DrawOp::Kind::Line) run.lines.push_back({page.number, QLineF(op.p1, op.p2)});
        }
    return run;
}

RecordSheet::Choice only(const QStringList& names) {
    RecordSheet::Choice choice;
    QString unknown;
    EXPECT_TRUE(RecordSheet::ChooseFields(names, &choice, &unknown)) << unknown.toStdString();
    return choice;
}

const QString kToday = QLocale::system().toString(QDate::currentDate(), QLocale::ShortFormat);

}  // namespace

TEST(RecordSheetTest, MemoLinesBreakAsATextBoxDoes) {
    const struct {
        QString text;
        double width;
        QStringList lines;
    } cases[] = {
        {"aaa bbb ccc", 7, {"aaa bbb", "ccc"}},
        {"word   ", 10, {"word"}},                             // blanks at a break are not kept
        {"abcdefghij", 4, {"abcd", "efgh", "ij"}},             // a long word between characters
        {"aa bbbbbbbbb c", 4, {"aa", "bbbb", "bbbb", "b c"}},  // ... and its rest begins the next line
        {"  indented text", 10, {"  indented", "text"}},
        {"one\r\ntwo\rthree\n\nfour\r\n\r\n", 10, {"one", "two", "three", "", "four"}},
        {QString::fromUtf8("\xF0\x9F\x98\x80\xF0\x9F\x98\x80"),
         3,  // two characters of two units each
         {QString::fromUtf8("\xF0\x9F\x98\x80"), QString::fromUtf8("\xF0\x9F\x98\x80")}},
        {"x", 0, {"x"}},  // at least one character a line
        {"", 10, {}},
        {" \r\n ", 10, {}},
    };
    for (const auto& c : cases)
        EXPECT_EQ(RecordSheet::MemoLines(c.text, c.width, units), c.lines) << c.text.toStdString();
}

TEST(RecordSheetTest, MultiMegabyteMemoMeasuresEachPieceOnce) {
    // Three megabytes without a blank, then a megabyte of a few words repeated.
    const QString unbroken(3'000'000, 'x');
    QString words;
    while (words.size() < 1'000'000) words += "alpha beta gamma delta ";
    int measured = 0;
    const QStringList lines = RecordSheet::MemoLines(unbroken + "\n" + words, 80, [&](QStringView piece) {
        ++measured;
        return units(piece);
    });
    EXPECT_LE(measured, 10);  // "x", four words, the blank
    ASSERT_GT(lines.size(), 37'500);
    EXPECT_EQ(lines.first(), QString(80, 'x'));
    EXPECT_EQ(lines[37'499], QString(80, 'x'));
    EXPECT_EQ(lines[37'500],
              "alpha beta gamma delta alpha beta gamma delta alpha beta gamma delta alpha beta");
}

TEST(RecordSheetTest, ChosenItemsPrintCaptionBoldAndValueBesideEvenWhenEmpty) {
    TempDir dir;
    std::unique_ptr<xbase::Table> table;
    ASSERT_TRUE(makeSheetFile(
        dir.file("A.DBF"), {{{"LNAME", "Smith"}, {"FNAME", "John"}, {"DATE", "20240315"}, {"MEMO", "Call"}}},
        &table));
    const SheetPages run = printSheet(*table, only({"lname", "STREET", "DATE"}));
    ASSERT_EQ(run.pages, 1);
    std::vector<Text> body, header;
    for (const Text& t : run.texts) (t.y < 1.0 ? header : body).push_back(t);

    // "Page 1" and the date right-aligned at the right margin, above the top one.
    ASSERT_EQ(header.size(), 2u);
    EXPECT_EQ(header[0].text, "Page 1");
    EXPECT_EQ(header[1].text, kToday);
    EXPECT_GT(header[0].x, 6.5);
    EXPECT_GT(header[1].y, header[0].y);

    // Last: Smith; Address 1 with nothing beside it; Date: the shown date. No memo.
    const QString date = RecordEditing::FormatStoredDate("20240315");
    ASSERT_EQ(body.size(), 5u);
    const QStringList expected{"Last", "Smith", "Address 1", "Date", date};
    for (size_t i = 0; i < body.size(); ++i) {
        EXPECT_EQ(body[i].text, expected[int(i)]);
        const bool caption = i == 0 || i == 2 || i == 3;
        EXPECT_EQ(body[i].bold, caption) << body[i].text.toStdString();
        EXPECT_FALSE(body[i].italic);
        EXPECT_NEAR(body[i].x, caption ? 1.0 : 2.25, 0.01) << body[i].text.toStdString();
    }
    EXPECT_DOUBLE_EQ(body[1].y, body[0].y);
    const double line = body[2].y - body[0].y;
    EXPECT_GT(line, 0.1);
    EXPECT_NEAR(body[3].y - body[2].y, line, 1e-6);  // the empty item still takes its line

    // The two rules between the margins at the top and bottom of the printable area.
    ASSERT_EQ(run.lines.size(), 2u);
    for (const auto& [page, l] : run.lines) {
        EXPECT_NEAR(l.x1(), 1.0, 0.01);
        EXPECT_NEAR(l.x2(), 7.5, 0.01);
        EXPECT_DOUBLE_EQ(l.y1(), l.y2());
    }
    EXPECT_NEAR(run.lines[0].second.y1(), 1.0, 0.01);
    EXPECT_NEAR(run.lines[1].second.y1(), 10.0, 0.01);
}

TEST(RecordSheetTest, LongMemoFollowsTheRuleInItalicsOntoAnotherPage) {
    TempDir dir;
    std::unique_ptr<xbase::Table> table;
    ASSERT_TRUE(makeSheetFile(
        dir.file("A.DBF"), {{{"LNAME", "First"}}, {{"LNAME", "Smith"}, {"MEMO", memoOfLines(80)}}}, &table));
    ASSERT_TRUE(table->go(2).ok());
    const SheetPages run = printSheet(*table, only({"LNAME", "MEMO"}));
    EXPECT_EQ(table->recNo(), 2u);
    ASSERT_EQ(run.pages, 2);

    // Page 1: Last, an empty line, the rule, then the memo in italics from the margin.
    std::vector<Text> memo;
    for (const Text& t : run.texts)
        if (t.text.startsWith("Memo line")) memo.push_back(t);
    ASSERT_EQ(memo.size(), 80u);
    const double lastY =
        std::find_if(run.texts.begin(), run.texts.end(), [](const Text& t) { return t.text == "Smith"; })->y;
    double ruleY = -1;
    for (const auto& [page, l] : run.lines)
        if (page == 1 && l.y1() > 1.05 && l.y1() < 9.95) ruleY = l.y1();
    EXPECT_GT(ruleY, lastY);
    EXPECT_LT(ruleY, memo[0].y);
    for (size_t i = 0; i < memo.size(); ++i) {
        EXPECT_EQ(memo[i].text, QString("Memo line %1").arg(i + 1));
        EXPECT_TRUE(memo[i].italic);
        EXPECT_FALSE(memo[i].bold);
        EXPECT_NEAR(memo[i].x, 1.0, 0.01);
        EXPECT_LT(memo[i].y, 10.0);  // never below the bottom margin
    }
    // Page 2: the header again, then the memo goes on at the top.
    const auto second = std::find_if(memo.begin(), memo.end(), [](const Text& t) { return t.page == 2; });
    ASSERT_NE(second, memo.end());
    EXPECT_GT(second - memo.begin(), 40);
    EXPECT_LT(second->y, 1.3);
    int pageTwoHeaders = 0, pageTwoRules = 0;
    for (const Text& t : run.texts) pageTwoHeaders += t.page == 2 && (t.text == "Page 2" || t.text == kToday);
    for (const auto& [page, l] : run.lines) pageTwoRules += page == 2;
    EXPECT_EQ(pageTwoHeaders, 2);
    EXPECT_EQ(pageTwoRules, 2);
}

TEST(RecordSheetTest, NothingTickedPrintsOnlyTheHeader) {
    TempDir dir;
    std::unique_ptr<xbase::Table> table;
    ASSERT_TRUE(makeSheetFile(dir.file("A.DBF"), {{{"LNAME", "Smith"}, {"MEMO", "A memo"}}}, &table));
    RecordSheet::Choice none;
    none.fields.fill(false);
    const SheetPages run = printSheet(*table, none);
    EXPECT_EQ(run.pages, 1);
    ASSERT_EQ(run.texts.size(), 2u);
    EXPECT_EQ(run.texts[0].text, "Page 1");
    EXPECT_EQ(run.texts[1].text, kToday);
    EXPECT_EQ(run.lines.size(), 2u);

    // Without a current record there is nothing to print.
    ASSERT_TRUE(table->goBottom().ok());
    ASSERT_TRUE(table->skip(1).ok());
    ASSERT_TRUE(table->eof());
    PageStream stream;
    TReportFiler report;
    report.setStream(&stream);
    JobProgress progress;
    QString error;
    EXPECT_EQ(RecordSheet::PrintSheet(*table, none, report, progress, &error), JobResult::Failed);
    EXPECT_FALSE(error.isEmpty());
}

TEST(RecordSheetTest, CommandPrintsTheChosenFieldsOfTheRecordToPdf) {
    TempDir home;
    {
        std::unique_ptr<xbase::Table> table;
        ASSERT_TRUE(makeSheetFile(home.file("R.DBF"),
                                  {{{"LNAME", "Adams"}},
                                   {{"LNAME", "Smith"},
                                    {"FNAME", "John"},
                                    {"DATE", "20240315"},
                                    {"MEMO", "Prefers calls after noon"}},
                                   {{"LNAME", "Gone"}, {"ISDEL", "T"}}},
                                  &table));
    }
    const std::string table = home.file("R.DBF"), pdf = home.file("s.pdf");
    const struct {
        std::vector<std::string> args;
        int exitCode;
        const char* says;
    } refused[] = {
        {{"--recno", "2", "--fields", "LNAME,NICKNAME", "--pdf", pdf}, 2, "NICKNAME"},
        {{"--fields", "LNAME", "--pdf", pdf}, 2, "usage"},  // no --recno
        {{"--recno", "9", "--pdf", pdf}, 1, "Record 9 not found"},
        {{"--recno", "3", "--pdf", pdf}, 1, "Record 3 not found"},  // deleted
    };
    for (const auto& c : refused) {
        std::vector<std::string> args{"record-sheet", table};
        args.insert(args.end(), c.args.begin(), c.args.end());
        const QuilloryResult r = runQuillory(args, home);
        EXPECT_EQ(r.exitCode, c.exitCode) << c.says;
        EXPECT_NE(r.err.find(c.says), std::string::npos) << r.err;
    }

    const QuilloryResult r = runQuillory(
        {"record-sheet", table, "--recno", "2", "--fields", "LNAME,DATE,MEMO", "--pdf", pdf}, home);
    ASSERT_EQ(r.exitCode, 0) << r.err;
    EXPECT_NE(r.out.find("1 page"), std::string::npos) << r.out;
    const QString html = QString::fromStdString(runCommand("pdftotext -raw -bbox " + shellQuote(pdf) + " -"));
    static const QRegularExpression word(
        "<word xMin=\"([\\d.]+)\" yMin=\"[\\d.]+\" xMax=\"[\\d.]+\" "
        "yMax=\"[\\d.]+\">([^<]*)</word>");
    QStringList texts;
    std::map<QString, double> x;
    for (auto it = word.globalMatch(html); it.hasNext();) {
        const auto m = it.next();
        texts << m.captured(2);
        x.emplace(m.captured(2), m.captured(1).toDouble() / 72);
    }
    const QString all = texts.join(' ');
    EXPECT_TRUE(all.contains("Page 1 ")) << all.toStdString();
    EXPECT_TRUE(all.contains("Last Smith Date " + RecordEditing::FormatStoredDate("20240315") +
                             " Prefers calls after noon"))
        << all.toStdString();
    EXPECT_FALSE(all.contains("First") || all.contains("John") || all.contains("Adams"));
    EXPECT_NEAR(x["Last"], 1.0, 0.02);
    EXPECT_NEAR(x["Smith"], 2.25, 0.02);
    EXPECT_NEAR(x["Prefers"], 1.0, 0.02);
    // "Times" prints in the metric-compatible Liberation Serif, whatever fontconfig would pick.
    const std::string fonts = runCommand("pdffonts " + shellQuote(pdf));
    EXPECT_NE(fonts.find("LiberationSerif-Bold"), std::string::npos) << fonts;
    EXPECT_NE(fonts.find("LiberationSerif-Italic"), std::string::npos) << fonts;
    EXPECT_EQ(fonts.find("Nimbus"), std::string::npos) << fonts;
}
