// The built-in listings: the cell texts as a table of cases, and report 1 run as a
// script would, read back from its PDF with poppler (order, columns, skipped blank names,
// the page header).

#include <gtest/gtest.h>

#include <QRegularExpression>
#include <fstream>

#include "BuiltInReports.h"
#include "RunQuillory.h"
#include "TempDir.h"

using BuiltInReports::Record;

TEST(BuiltInReportsTest, CellTexts) {
    Record smith;
    smith.lname = "Smith";
    smith.fname = "John";
    smith.middle = "Q";
    smith.city = "Springfield";
    smith.state = "IL";
    smith.zip = "62701";
    EXPECT_EQ(BuiltInReports::NameCell(smith), "Smith, John Q.");
    EXPECT_EQ(BuiltInReports::CityStZipCell(smith), "Springfield, IL  62701 ");
    EXPECT_EQ(BuiltInReports::CityLine(smith), "Springfield, IL, 62701");
    EXPECT_EQ(BuiltInReports::LongName(smith), "Smith,  John Q.");  // no prefix: two blanks

    Record bare;
    bare.fname = "Ann";
    EXPECT_EQ(BuiltInReports::NameCell(bare), ", Ann ");
    EXPECT_EQ(BuiltInReports::CityStZipCell(bare), "");
    bare.zip = "10001";
    EXPECT_EQ(BuiltInReports::CityStZipCell(bare), "10001 ");

    Record titled;
    titled.title = "Manager";
    EXPECT_EQ(BuiltInReports::TitleAndOrg(titled), "");  // a title alone is not printed
    titled.org = "Acme";
    EXPECT_EQ(BuiltInReports::TitleAndOrg(titled), "Manager, Acme");
    titled.title.clear();
    EXPECT_EQ(BuiltInReports::TitleAndOrg(titled), "Acme");

    Record phones;
    phones.phone = "555-1234";
    phones.fax = "555-9876";
    phones.prefix = "Dr.";
    phones.lname = "Lee";
    EXPECT_EQ(BuiltInReports::PhoneAndFax(phones), "Ph: 555-1234  Fax: 555-9876  ");
    EXPECT_EQ(BuiltInReports::LongName(phones), "Lee, Dr. ");
}

TEST(BuiltInReportsTest, ReportOneListsByLastNameFromZeroWithItsColumns) {
    TempDir home;
    std::ofstream(home.file("in.csv")) << "Smith,John,Q,Springfield,IL,62701,555-1234\n"
                                         ",Nobody,,Here,CA,90210,\n"
                                         "Adams,Ann,,Boston,MA,02101,555-9\n";
    ASSERT_EQ(runQuillory({"new", home.file("R.DBF")}, home).exitCode, 0);
    const QuilloryResult imported =
        runQuillory({"import-csv", home.file("R.DBF"), home.file("in.csv"), "--match",
                     "Last Name=1,First Name=2,Middle=3,City=4,State=5,Zip=6,Phone=7"},
                    home);
    ASSERT_EQ(imported.exitCode, 0) << imported.err;
    const QuilloryResult r =
        runQuillory({"report", home.file("R.DBF"), "--builtin", "1", "--pdf", home.file("r.pdf")}, home);
    ASSERT_EQ(r.exitCode, 0) << r.err;
    EXPECT_NE(r.out.find("2 records, 1 page"), std::string::npos) << r.out;

    const QString html =
        QString::fromStdString(runCommand("pdftotext -raw -bbox " + shellQuote(home.file("r.pdf")) + " -"));
    static const QRegularExpression word(
        "<word xMin=\"([\\d.]+)\" yMin=\"([\\d.]+)\" xMax=\"[\\d.]+\" yMax=\"[\\d.]+\">([^<]*)</word>");
    QStringList texts;
    double adamsX = -1, bostonX = -1, phoneX = -1, pageX = -1;
    for (auto it = word.globalMatch(html); it.hasNext();) {
        const auto m = it.next();
        const double x = m.captured(1).toDouble() / 72;
        texts << m.captured(3);
        if (m.captured(3) == "Adams,") adamsX = x;
        if (m.captured(3) == "Boston,") bostonX = x;
        if (m.captured(3) == "555-9") phoneX = x;
        if (m.captured(3) == "Page") pageX = x;
    }
    const QString all = texts.join(' ');
    EXPECT_TRUE(all.contains("Report 1")) << all.toStdString();
    EXPECT_TRUE(all.contains("Page 1"));
    EXPECT_FALSE(all.contains("Nobody"));  // a blank last name sorts before "0"
    EXPECT_LT(all.indexOf("Adams"), all.indexOf("Smith"));
    EXPECT_TRUE(all.contains("Smith, John Q."));
    // Columns from the 1 in margin: Name, Address 1.75 on, City/St/Zip 3.9 on, Phone 5.9 on.
    EXPECT_NEAR(adamsX, 1.02, 0.02);
    EXPECT_NEAR(bostonX, 1.0 + 1.75 + 2.15 + 0.02, 0.02);
    EXPECT_NEAR(phoneX, 1.0 + 1.75 + 2.15 + 2.0 + 0.02, 0.02);
    EXPECT_GT(pageX, 7.0);  // at the right edge
}
