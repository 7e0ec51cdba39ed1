// Find and replace over a letter's text.

#include <gtest/gtest.h>

#include <QTextCursor>
#include <QTextDocument>
#include <vector>

#include "TextSearch.h"

namespace {

using TextSearch::Options;

// The start of every match FindNext walks through, from the start (or end, going up).
std::vector<int> walk(const QTextDocument& doc, const QString& text, const Options& o) {
    std::vector<int> starts;
    QTextCursor at;
    for (int guard = 0; guard < 20; ++guard) {
        at = TextSearch::FindNext(doc, text, at, o);
        if (at.isNull()) break;
        starts.push_back(at.selectionStart());
    }
    return starts;
}

TEST(TextSearch, FindsWithCaseWordAndDirection) {
    QTextDocument doc;
    doc.setPlainText("cat Cat scatter\ncat");
    struct Case {
        Options options;
        std::vector<int> starts;
    };
    const Case cases[] = {
        {{false, false, false}, {0, 4, 9, 16}},
        {{true, false, false}, {0, 9, 16}},
        {{false, true, false}, {0, 4, 16}},
        {{true, true, false}, {0, 16}},
        {{false, false, true}, {16, 9, 4, 0}},
        {{true, true, true}, {16, 0}},
    };
    for (const Case& c : cases)
        EXPECT_EQ(walk(doc, "cat", c.options), c.starts)
            << c.options.matchCase << c.options.wholeWord << c.options.up;
    EXPECT_TRUE(walk(doc, "", Options()).empty());
    EXPECT_TRUE(walk(doc, "dog", Options()).empty());
}

TEST(TextSearch, ReplaceAllKeepsFormatsCountsAndUndoesAtOnce) {
    QTextDocument doc;
    QTextCursor c(&doc);
    QTextCharFormat bold;
    bold.setFontWeight(QFont::Bold);
    c.insertText("Dear ");
    c.insertText("cat", bold);
    c.insertText(", cat and Cat.", QTextCharFormat());
    const QString before = doc.toPlainText();

    // The replacement contains what is searched for: it is not searched again.
    EXPECT_EQ(TextSearch::ReplaceAll(&doc, "cat", "cats", Options{true, false, false}), 2);
    EXPECT_EQ(doc.toPlainText(), "Dear cats, cats and Cat.");
    QTextCursor at(&doc);
    at.setPosition(9);  // in the first replacement, which was bold
    EXPECT_EQ(at.charFormat().fontWeight(), QFont::Bold);
    at.setPosition(15);
    EXPECT_NE(at.charFormat().fontWeight(), QFont::Bold);

    doc.undo();
    EXPECT_EQ(doc.toPlainText(), before);
    EXPECT_EQ(TextSearch::ReplaceAll(&doc, "cat", "", Options()), 3);
    EXPECT_EQ(doc.toPlainText(), "Dear ,  and .");
    EXPECT_EQ(TextSearch::ReplaceAll(&doc, "", "x", Options()), 0);
}

TEST(TextSearch, ReplaceOnlyWhatIsSelectedWhenItMatches) {
    QTextDocument doc;
    doc.setPlainText("one two one");
    QTextCursor c(&doc);
    c.setPosition(4);
    c.setPosition(7, QTextCursor::KeepAnchor);
    EXPECT_FALSE(TextSearch::IsMatch(c, "one", Options()));
    EXPECT_TRUE(TextSearch::IsMatch(c, "TWO", Options()));
    EXPECT_FALSE(TextSearch::IsMatch(c, "TWO", Options{true, false, false}));
    TextSearch::ReplaceSelection(c, "2");
    EXPECT_EQ(doc.toPlainText(), "one 2 one");
    EXPECT_EQ(c.position(), 5);
}

}  // namespace
