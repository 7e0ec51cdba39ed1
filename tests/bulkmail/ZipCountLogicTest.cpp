// The ZIP code count: its lines and its report's pages.

#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <set>

#include "CodePage.h"
#include "TReportFiler.h"
#include "TempDir.h"
#include "ZipCount.h"
#include "ZipReport.h"
#include "ZipTable.h"

namespace {

using Lines = std::vector<std::string>;

// The application object that the report's fonts need.
const xbase::CodePage& windows1252() {
    const xbase::CodePage* cp = nullptr;
    (void)xbase::CodePage::forMark(xbase::CodePage::kWindows1252, &cp);
    return *cp;
}

class ZipCountTest : public ::testing::Test {
  protected:
    QStringList count(const Lines& zips) {
        EXPECT_TRUE(makeZipFile(dir_.file("z.dbf"), zips, &table_));
        ZipCount tally;
        QString error;
        JobProgress progress;
        EXPECT_EQ(CountZipCodes(*table_, &tally, progress, &error), JobResult::Done);
        return tally.reportLines(table_->codePage());
    }
    TempDir dir_;
    std::unique_ptr<xbase::Table> table_;
};

TEST_F(ZipCountTest, LinesInTheThreeGroups) {
    const QStringList lines = count(Lines{"K1A 0B1", "12345-6789", "", "12345", "-12345", "02134",
                                          "12345-0000", "123", "", "", "", "", "ÄBC12"});
    EXPECT_EQ(lines, QStringList({"02134     1", "12345     3", "", "", "123       1", "K1A 0     1",
                                  "ÄBC12     1", "BLANK     5"}));
}

TEST(ZipCountLinesTest, CountsWithThousandsAndNoBlankLineWithoutBlanks) {
    ZipCount tally;
    for (int i = 0; i < 1234; ++i) tally.add("99501");
    EXPECT_EQ(tally.reportLines(windows1252()), QStringList({"99501     1,234", "", ""}));
    const struct {
        int count;
        const char* text;
    } cases[] = {{0, "0"}, {999, "999"}, {1000, "1,000"}, {1234567, "1,234,567"}};
    for (const auto& c : cases) EXPECT_EQ(ZipCount::formatCount(c.count), c.text);
}

// The report of `lines` drawn into a stream for a Letter page at 600 dots per inch.
PageStream reportOf(const QStringList& lines) {
    PageStream stream;
    TReportFiler filer;
    DeviceMetrics letter;
    letter.dpiX = letter.dpiY = 600;
    filer.setDeviceMetrics(letter);
    filer.setStream(&stream);
    ZipReport::SetUp(filer);
    filer.OnPrint = [&](TBaseReport& r) { ZipReport::Print(r, lines); };
    EXPECT_TRUE(filer.execute());
    return stream;
}

TEST_F(ZipCountTest, ReportPagesHaveFourColumnsAndTheirFrame) {
    QStringList lines;
    for (int i = 0; i < 300; ++i) lines << QString("%1     %2").arg(10000 + i).arg(i + 1);
    const PageStream stream = reportOf(lines);
    ASSERT_EQ(stream.pages.size(), 2u);
    int row = 0;
    for (const Page& page : stream.pages) {
        std::vector<const DrawOp*> texts, shades, rects, rules;
        for (const DrawOp& op : page.ops) {
            if (op.kind == DrawOp::Kind::Text) texts.push_back(&op);
            if (op.kind == DrawOp::Kind::Rect && op.pen.style == Qt::NoPen) shades.push_back(&op);
            if (op.kind == DrawOp::Kind::Rect && op.pen.style != Qt::NoPen) rects.push_back(&op);
            if (op.kind == DrawOp::Kind::Line) rules.push_back(&op);
        }
        // Title in bold above the area, the page number below it.
        auto title = std::find_if(texts.begin(), texts.end(),
                                  [](auto* t) { return t->text == "Zip Code Count Report"; });
        ASSERT_NE(title, texts.end());
        EXPECT_TRUE((*title)->font.bold());
        EXPECT_EQ((*title)->p1, QPointF(0.5, 0.75));
        auto number = std::find_if(texts.begin(), texts.end(),
                                   [&](auto* t) { return t->text == QString("Page %1").arg(page.number); });
        ASSERT_NE(number, texts.end());
        EXPECT_EQ((*number)->p1, QPointF(0.5, 10.25));
        // The box around the area and the three column rules.
        ASSERT_EQ(rects.size(), 1u);
        EXPECT_EQ(rects[0]->rect, QRectF(0.5, 1, 7.5, 9));
        ASSERT_EQ(rules.size(), 3u);
        for (int i = 0; i < 3; ++i) {
            EXPECT_DOUBLE_EQ(rules[size_t(i)]->p1.x(), 0.5 + (i + 1) * 1.875);
            EXPECT_EQ(rules[size_t(i)]->p1.y(), 1);
            EXPECT_EQ(rules[size_t(i)]->p2.y(), 10);
        }
        // Keys start in the four columns; every second row of a column is shaded.
        std::set<double> columns;
        for (const DrawOp* t : texts)
            if (t->text.size() == 5 && t->text[0].isDigit()) columns.insert(t->rect.left() - 0.625 * 0.05);
        for (double x : columns) EXPECT_NEAR(std::fmod(x - 0.5, 1.875), 0, 1e-9) << x;
        if (page.number == 1) {
            EXPECT_EQ(columns.size(), 4u);
        }
        for (const DrawOp* s : shades) EXPECT_EQ(s->brush.color, QColor(242, 242, 242));
        row += int(columns.size());
    }
    // The first page's first column: rows touch, the first shaded, the second not.
    const Page& first = stream.pages[0];
    const DrawOp* firstKey = nullptr;
    for (const DrawOp& op : first.ops)
        if (op.kind == DrawOp::Kind::Text && op.text == "10000") firstKey = &op;
    ASSERT_NE(firstKey, nullptr);
    EXPECT_NEAR(firstKey->rect.top(), 1.0, 1e-9);
    EXPECT_NEAR(firstKey->rect.left(), 0.5 + 0.625 * 0.05, 1e-9);
    const auto shadedAt = [&](double top) {
        return std::any_of(first.ops.begin(), first.ops.end(), [&](const DrawOp& op) {
            return op.kind == DrawOp::Kind::Rect && op.pen.style == Qt::NoPen &&
                   std::abs(op.rect.top() - top) < 1e-9 && op.rect.left() == 0.5;
        });
    };
    const double lineHeight = firstKey->rect.height();
    EXPECT_TRUE(shadedAt(1.0));
    EXPECT_FALSE(shadedAt(1.0 + lineHeight));
    EXPECT_TRUE(shadedAt(1.0 + 2 * lineHeight));
    // The count is right-aligned in the second stop and every line is there.
    int counts = 0;
    for (const Page& page : stream.pages)
        for (const DrawOp& op : page.ops)
            counts += op.kind == DrawOp::Kind::Text && op.text.startsWith("     ");
    EXPECT_EQ(counts, 300);
}

}  // namespace
