// The letters store in LETTER.DBF: storing, cloning and deleting letters, the stored
// text's multiple-of-4 rule, and text that cannot be stored.

#include <gtest/gtest.h>

#include <QDir>
#include <QTextCursor>
#include <QTextDocument>

#include "LetterStore.h"
#include "TempDir.h"

namespace {

class LetterStoreTest : public ::testing::Test {
  protected:
    void SetUp() override {
        home_ = std::make_unique<AppHome>(QString::fromStdString(dir_.path()));
        QString error;
        ASSERT_TRUE(home_->ensureExists(&error)) << error.toStdString();
        ASSERT_TRUE(LetterStore::Open(*home_, &store_, &error)) << error.toStdString();
    }
    std::vector<QString> descriptions() {
        std::vector<QString> out;
        for (const auto& e : store_->letters()) out.push_back(e.description);
        return out;
    }
    TempDir dir_;
    std::unique_ptr<AppHome> home_;
    std::unique_ptr<LetterStore> store_;
};

TEST(LetterStoreText, LengthThatIsAMultipleOfFourGetsABlank) {
    struct Case {
        QByteArray in, stored;
    };
    const Case cases[] = {
        {"", ""},
        {"abc", "abc"},
        {"abcd", "abcd "},
        {"ab\ncd", "ab\r\ncd"},     // 6: as lines joined by CR LF
        {"a\nb\n", "a\r\nb "},      // 4 once the last line end is gone
        {"a\r\nbc", "a\r\nbc"},
        {"abcdefg\r", "abcdefg"},
    };
    for (const Case& c : cases) EXPECT_EQ(LetterStore::StoredText(c.in), c.stored) << c.in.toStdString();
}

TEST_F(LetterStoreTest, StoresLoadsClonesAndDeletes) {
    QTextDocument doc;
    QTextCursor(&doc).insertText("Dear [First],");
    QString error;
    uint32_t first = 0;
    ASSERT_TRUE(store_->SaveRichText(0, "Welcome", doc, &error, &first)) << error.toStdString();
    EXPECT_EQ(descriptions(), std::vector<QString>{"Welcome"});

    QTextDocument back;
    ASSERT_TRUE(store_->LoadRichText(first, &back, &error));
    EXPECT_EQ(back.toPlainText(), "Dear [First],");

    ASSERT_TRUE(store_->Clone(first, &error));
    const QString longName(50, QLatin1Char('x'));
    uint32_t second = 0;
    ASSERT_TRUE(store_->SaveRichText(0, longName, doc, &error, &second));
    ASSERT_TRUE(store_->Clone(second, &error));
    const auto names = descriptions();
    ASSERT_EQ(names.size(), 4u);
    EXPECT_EQ(names[1], "Clone of Welcome");
    EXPECT_EQ(names[3], ("Clone of " + longName).left(50));
    EXPECT_EQ(store_->find("clone of welcome"), 2u);  // letter case ignored when nothing matches exactly

    ASSERT_TRUE(store_->Delete(first, &error));
    EXPECT_EQ(store_->find("Welcome"), 0u);
    EXPECT_EQ(descriptions().size(), 3u);
    // No temporary file is left in the home or the current folder.
    EXPECT_TRUE(QDir(home_->file("tmp")).entryList(QDir::Files).isEmpty());
    EXPECT_TRUE(QDir().entryList({"eraseme*"}, QDir::Files).isEmpty());
}

TEST_F(LetterStoreTest, RefusedTextLeavesTheLettersAsTheyWere) {
    QString error;
    ASSERT_TRUE(store_->SaveRichText(0, "Kept", QByteArray("{\\rtf1 kept}"), &error));
    // LETTER.DBF holds Windows-1252: a description it cannot hold is refused by name.
    EXPECT_FALSE(store_->SaveRichText(0, QString("\u0141\u00f3d\u017a"), QByteArray("{\\rtf1 x}"), &error));
    EXPECT_NE(error.indexOf(QChar(0x0141)), -1) << error.toStdString();
    EXPECT_FALSE(store_->SaveRichText(1, QString(51, QLatin1Char('y')), QByteArray("{\\rtf1 x}"), &error));
    EXPECT_EQ(descriptions(), std::vector<QString>{"Kept"});
    QByteArray rtf;
    ASSERT_TRUE(store_->rtf(1, &rtf, &error));
    EXPECT_EQ(rtf, "{\\rtf1 kept} ");  // 12 characters: the blank of the multiple-of-4 rule

    EXPECT_FALSE(store_->LoadRichText(7, nullptr, &error));  // no such record
}

TEST_F(LetterStoreTest, EmptyOrBrokenTextLoadsAsWhatTheReaderMakesOfIt) {
    QString error;
    uint32_t empty = 0, broken = 0;
    ASSERT_TRUE(store_->SaveRichText(0, "Empty", QByteArray(), &error, &empty));
    ASSERT_TRUE(store_->SaveRichText(0, "Broken", QByteArray("{\\rtf1 Dear [Fi"), &error, &broken));
    QTextDocument doc;
    ASSERT_TRUE(store_->LoadRichText(empty, &doc, &error));
    EXPECT_TRUE(doc.isEmpty());
    ASSERT_TRUE(store_->LoadRichText(broken, &doc, &error));
    EXPECT_EQ(doc.toPlainText(), "Dear [Fi");
}

}  // namespace
