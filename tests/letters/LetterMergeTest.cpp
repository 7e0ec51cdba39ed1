// The merge of an address record into a letter: the values the 25 names give, and
// what DoMerge does to the letter's text and formats.

#include <gtest/gtest.h>

#include <QTextCursor>
#include <QTextDocument>

#include "LetterMerge.h"

namespace {

using LetterMerge::Address;

Address smith() {
    Address a;
    a.last = "Smith";
    return a;
}

TEST(LetterMerge, NameLineAndAddressBlock) {
    struct Case {
        const char* what;
        Address address;
        QString fullName, cityStateZip, block;
    };
    Address full;
    full.prefix = "Dr.";
    full.first = "Ann";
    full.middle = "Q";
    full.last = "Lee";
    full.title = "Director";
    full.organization = "Acme";
    full.street = "1 Main St";
    full.street2 = "Suite 5";
    full.city = "Springfield";
    full.state = "IL";
    full.zip = "62701";
    full.country = "USA";
    Address orgOnly;
    orgOnly.first = "Bo";
    orgOnly.organization = "Acme";
    orgOnly.city = "Paris";
    orgOnly.zip = "75001";
    Address stateOnly;
    stateOnly.first = "  Cy";  // leading blanks go
    stateOnly.state = "TX";
    const Case cases[] = {
        {"last name only", smith(), "Smith ", "", "Smith \r\n"},
        {"every field", full, "Dr. Ann Q. Lee ", "Springfield IL 62701",
         "Dr. Ann Q. Lee \r\nDirector,  Acme\r\n1 Main St\r\nSuite 5\r\nSpringfield IL  62701\r\nUSA\r\n"},
        {"organisation without title, no state", orgOnly, "Bo ", "Paris  75001", "Bo \r\nAcme\r\nParis  75001\r\n"},
        {"state alone", stateOnly, "Cy ", "TX", "Cy \r\nTX\r\n"},
        {"nothing at all", Address(), "", "", ""},
    };
    for (const Case& c : cases) {
        EXPECT_EQ(LetterMerge::FullName(c.address), c.fullName) << c.what;
        EXPECT_EQ(LetterMerge::CityStateZip(c.address), c.cityStateZip) << c.what;
        EXPECT_EQ(LetterMerge::NameAndAddress(c.address), c.block) << c.what;
    }
    Address titleOnly;
    titleOnly.title = "Director";
    EXPECT_EQ(LetterMerge::NameAndAddress(titleOnly), "Director\r\n");
}

TEST(LetterMerge, EveryNameHasItsValue) {
    Address a;
    a.prefix = "Ms.", a.first = "Jo", a.middle = "K", a.last = "Doe", a.title = "CEO", a.organization = "Org";
    a.street = "St 1", a.street2 = "St 2", a.city = "Town", a.state = "ST", a.zip = "12345", a.country = "Land";
    a.phone = "555-1", a.phone2 = "555-2", a.fax = "555-3", a.email = "jo@x.org", a.comment1 = "c1", a.comment2 = "c2";
    const QDate day(2024, 3, 5);
    const QLocale us(QLocale::English, QLocale::UnitedStates);
    const std::pair<QString, QString> expected[] = {
        {"Full Name", "Ms. Jo K. Doe "},  {"First", "Jo"},        {"Last", "Doe"},
        {"Middle", "K"},                  {"Prefix", "Ms."},      {"Title", "CEO"},
        {"Organization", "Org"},          {"Street", "St 1"},     {"Street 2", "St 2"},
        {"City+State+Zip", "Town ST 12345"}, {"City", "Town"},    {"State", "ST"},
        {"Province", "ST"},               {"Zip", "12345"},       {"Postal Code", "12345"},
        {"Country", "Land"},              {"Phone", "555-1"},     {"Phone 2", "555-2"},
        {"Fax", "555-3"},                 {"E-Mail", "jo@x.org"}, {"Today's Date", us.toString(day, QLocale::ShortFormat)},
        {"Long Date", "Mar 5, 2024"},
        {"Name and Address", "Ms. Jo K. Doe \r\nCEO,  Org\r\nSt 1\r\nSt 2\r\nTown ST  12345\r\nLand\r\n"},
        {"Comment 1", "c1"},              {"Comment 2", "c2"},
    };
    ASSERT_EQ(LetterMerge::FieldNames().size(), 25);
    for (int i = 0; i < 25; ++i) {
        EXPECT_EQ(LetterMerge::FieldNames()[i], expected[i].first);
        EXPECT_EQ(LetterMerge::ValueOf(expected[i].first, a, day, us), expected[i].second) << expected[i].first.toStdString();
    }
    EXPECT_EQ(LetterMerge::InsertFieldNames().size(), 25);
    EXPECT_EQ(QSet<QString>(LetterMerge::InsertFieldNames().begin(), LetterMerge::InsertFieldNames().end()),
              QSet<QString>(LetterMerge::FieldNames().begin(), LetterMerge::FieldNames().end()));
    EXPECT_EQ(LetterMerge::LongDate(QDate(2031, 12, 25), QLocale(QLocale::German, QLocale::Germany)), "Dez. 25, 2031");
}

TEST(LetterMerge, ReplacesEveryTokenAndKeepsUnknownOnes) {
    QTextDocument doc;
    doc.setPlainText("[Last], [Last] and [LAST]. [Middle][Nickname] [Full Name]\n[Name and Address]end");
    Address a = smith();
    LetterMerge::ReplaceTokens(&doc, a, QDate(2024, 1, 2), QLocale::c());
    EXPECT_EQ(doc.toPlainText(), "Smith, Smith and Smith. [Nickname] Smith \nSmith \nend");
}

TEST(LetterMerge, ValuesAreNotSearchedAgainButLaterNamesSeeThem) {
    QTextDocument doc;
    doc.setPlainText("[First] / [Comment 1]");
    Address a;
    a.first = "[First][Last]";  // a value holding tokens
    a.last = "Smith";
    a.comment1 = "[Comment 1]";
    LetterMerge::ReplaceTokens(&doc, a);
    // The First pass does not loop on its own value; the later Last pass merges the
    // token the First pass brought in; Comment 1 is replaced once.
    EXPECT_EQ(doc.toPlainText(), "[First]Smith / [Comment 1]");
}

TEST(LetterMerge, ReplacedTextKeepsTheTokensFormat) {
    QTextDocument doc;
    QTextCursor c(&doc);
    QTextCharFormat plain, bold;
    plain.setFontPointSize(11);
    bold.setFontPointSize(16);
    bold.setFontWeight(QFont::Bold);
    bold.setFontUnderline(true);
    c.insertText("Dear ", plain);
    c.insertText("[First]", bold);
    c.insertText(", hello", plain);
    Address a;
    a.first = "Ann";
    EXPECT_EQ(LetterMerge::DoMerge(&doc, "First", a.first), 1);
    EXPECT_EQ(doc.toPlainText(), "Dear Ann, hello");
    for (int pos : {6, 7, 8}) {  // after each of "A", "n", "n"
        QTextCursor at(&doc);
        at.setPosition(pos);
        EXPECT_EQ(at.charFormat().fontWeight(), QFont::Bold) << pos;
        EXPECT_EQ(at.charFormat().fontPointSize(), 16) << pos;
        EXPECT_TRUE(at.charFormat().fontUnderline()) << pos;
    }
    QTextCursor after(&doc);
    after.setPosition(9);  // the comma
    EXPECT_EQ(after.charFormat().fontPointSize(), 11);
}

}  // namespace
