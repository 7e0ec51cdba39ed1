// How a letter is cut into pages and where its text lands on the sheet.

#include <gtest/gtest.h>

#include <QTextCursor>
#include <QTextDocument>

#include "LetterLayout.h"
#include "LetterPage.h"
#include "TReportFiler.h"

namespace {

QTextCharFormat tenPoint() {
    QTextCharFormat f;
    f.setFontFamilies(QStringList{"Liberation Serif"});
    f.setFontPointSize(10);
    return f;
}

// A letter of `lines` short paragraphs, with a page break before paragraph `breakAt`
// (none for -1).
void fill(QTextDocument* doc, int lines, int breakAt = -1) {
    QTextCursor c(doc);
    for (int i = 0; i < lines; ++i) {
        if (i > 0) {
            QTextBlockFormat b;
            if (i == breakAt) b.setPageBreakPolicy(QTextFormat::PageBreak_AlwaysBefore);
            c.insertBlock(b);
        }
        c.insertText(QString("Line %1").arg(i + 1), tenPoint());
    }
    LetterPage().applyTo(doc);
}

std::vector<QString> texts(const LetterLayout& layout, int page) {
    std::vector<QString> out;
    for (const LetterLayout::Run& r : layout.runs(page)) out.push_back(r.text);
    return out;
}

TEST(LetterLayout, PageBreakStartsTheSecondPage) {
    QTextDocument doc;
    fill(&doc, 4, 2);
    const LetterLayout layout(doc);
    ASSERT_EQ(layout.pageCount(), 2);
    EXPECT_EQ(texts(layout, 0), (std::vector<QString>{"Line 1", "Line 2"}));
    EXPECT_EQ(texts(layout, 1), (std::vector<QString>{"Line 3", "Line 4"}));
    // Each page starts at the top of the text area.
    EXPECT_DOUBLE_EQ(layout.runs(1)[0].baseline, layout.runs(0)[0].baseline);
    EXPECT_DOUBLE_EQ(layout.runs(0)[0].x, 0);
}

TEST(LetterLayout, LongTextFlowsOntoTheNextPage) {
    // 9 inches of text area, 10-point lines of about 11.5 points: some 56 lines a page.
    QTextDocument doc;
    fill(&doc, 80);
    const LetterLayout layout(doc);
    ASSERT_EQ(layout.pageCount(), 2);
    const auto first = texts(layout, 0), second = texts(layout, 1);
    EXPECT_GT(first.size(), 45u);
    EXPECT_LT(first.size(), 65u);
    EXPECT_EQ(first.size() + second.size(), 80u);
    EXPECT_EQ(second.front(), QString("Line %1").arg(first.size() + 1));
    for (const auto& r : layout.runs(0)) EXPECT_LE(r.baseline, LetterPage().textHeight());
}

TEST(LetterLayout, DrawsIntoTheTextAreaOfTheSheet) {
    QTextDocument doc;
    fill(&doc, 1);
    LetterPage page;
    page.marginLeft = 2160;  // 1.5 inches
    page.marginTop = 720;    // 0.5 inch
    page.applyTo(&doc);
    QTextCursor(&doc).insertText("Right\t", tenPoint());
    const LetterLayout layout(doc);

    PageStream stream;
    TReportFiler report;
    report.setStream(&stream);
    report.OnPrint = [&](TBaseReport& r) { layout.drawPage(0, r); };
    ASSERT_TRUE(report.execute());
    ASSERT_EQ(stream.pages.size(), 1u);
    const auto& ops = stream.pages[0].ops;
    ASSERT_EQ(ops.size(), 2u);  // "Right", then "Line 1" after the tab
    EXPECT_EQ(ops[0].text, "Right");
    EXPECT_DOUBLE_EQ(ops[0].p1.x(), 1.5);
    EXPECT_GT(ops[0].p1.y(), 0.5);
    EXPECT_LT(ops[0].p1.y(), 0.5 + 12.0 / 72);
    EXPECT_EQ(ops[0].font.family(), "Liberation Serif");
    EXPECT_EQ(ops[0].font.pointSizeF(), 10);
    EXPECT_EQ(ops[1].text, "Line 1");
    EXPECT_NEAR(ops[1].p1.x(), 1.5 + 0.5, 0.01);  // the first default tab stop, half an inch on
}

TEST(LetterLayout, BackgroundColourIsDrawnBehindItsTextOnly) {
    QTextDocument doc;
    fill(&doc, 1);
    QTextCursor c(&doc);
    c.movePosition(QTextCursor::End);
    QTextCharFormat marked = tenPoint();
    marked.setBackground(QColor(255, 255, 0));
    c.insertText(" marked", marked);
    c.insertText(" plain", tenPoint());
    const LetterLayout layout(doc);

    PageStream stream;
    TReportFiler report;
    report.setStream(&stream);
    report.OnPrint = [&](TBaseReport& r) { layout.drawPage(0, r); };
    ASSERT_TRUE(report.execute());
    const auto& ops = stream.pages.at(0).ops;
    ASSERT_FALSE(ops.empty());
    // The shading comes first, so that the text is drawn over it.
    const DrawOp& shade = ops.front();
    ASSERT_EQ(shade.kind, DrawOp::Kind::Rect);
    EXPECT_EQ(shade.brush.color, QColor(255, 255, 0));
    EXPECT_EQ(shade.pen.style, Qt::NoPen);
    int rects = 0;
    for (const DrawOp& op : ops) {
        if (op.kind == DrawOp::Kind::Rect) ++rects;
        if (op.kind != DrawOp::Kind::Text) continue;
        // The shade covers " marked" and no other run; every run stands on its line.
        if (op.text.contains("plain")) EXPECT_GE(op.p1.x() + 0.001, shade.rect.right()) << op.text.toStdString();
        if (op.text == "Line 1") EXPECT_LE(op.p1.x(), shade.rect.left());
        EXPECT_GT(op.p1.y(), shade.rect.top());
        EXPECT_LT(op.p1.y(), shade.rect.bottom());
    }
    EXPECT_EQ(rects, 1);
    EXPECT_GT(shade.rect.width(), 0.3);  // " marked" in 10 points: about half an inch
    EXPECT_LT(shade.rect.width(), 0.8);
}

}  // namespace
