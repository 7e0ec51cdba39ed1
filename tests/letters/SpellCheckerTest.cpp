// The spell checker over the system's en_US dictionary and the home's user word list.

#include <gtest/gtest.h>

#include <QFile>

#include "AppHome.h"
#include "SpellChecker.h"
#include "TempDir.h"

namespace {

TEST(SpellChecker, SuggestsAndLearnsWords) {
    if (!SpellChecker::Available()) GTEST_SKIP() << "the en_US dictionary is not installed";
    TempDir dir;
    const AppHome home(QString::fromStdString(dir.path()));
    {
        SpellChecker checker(home);
        ASSERT_TRUE(checker.isOpen());
        EXPECT_TRUE(QFile::exists(home.file("quillou.dct")));  // created empty
        EXPECT_TRUE(checker.canAddWords());
        EXPECT_TRUE(checker.isKnown("letter"));
        EXPECT_FALSE(checker.isKnown("lettre"));
        const QStringList s = checker.suggestions("recieve");
        EXPECT_LE(s.size(), SpellChecker::kMaxSuggestions);
        ASSERT_FALSE(s.isEmpty());
        EXPECT_EQ(s.first(), "receive");
        EXPECT_LE(checker.suggestions("a").size(), SpellChecker::kMaxSuggestions);

        EXPECT_FALSE(checker.isKnown("Quillory"));
        EXPECT_TRUE(checker.addWord("Quillory"));
        EXPECT_TRUE(checker.isKnown("Quillory"));
    }
    // The word stays known in the next session, through the user list.
    SpellChecker again(home);
    EXPECT_TRUE(again.isKnown("Quillory"));
    QFile list(home.file("quillou.dct"));
    ASSERT_TRUE(list.open(QIODevice::ReadOnly));
    EXPECT_EQ(list.readAll(), "Quillory\n");
}

}  // namespace
