#include "ZipReport.h"

#include <cmath>

#include "TBaseReport.h"

namespace ZipReport {

namespace {

struct Area {
    double left, top, right, bottom;
};

Area area(const TBaseReport& r) {
    return {r.MarginLeft, r.MarginTop, r.pageWidth() - r.MarginRight, r.pageHeight() - r.MarginBottom};
}

// The title, page number, box and column lines, drawn over the page's rows.
void frame(TBaseReport& r) {
    const Area a = area(r);
    r.setBold(true);
    r.printXY(a.left, a.top - 0.25, QStringLiteral("Zip Code Count Report"));
    r.setBold(false);
    r.printXY(a.left, a.bottom + 0.25, QStringLiteral("Page %1").arg(r.currentPage()));
    r.setPen(Qt::black, Qt::SolidLine, 1);
    r.setBrush(Qt::white, Qt::NoBrush);
    r.rectangle(a.left, a.top, a.right, a.bottom);
    for (int i = 1; i < kColumns; ++i)
        r.line(a.left + i * kColumnWidth, a.top, a.left + i * kColumnWidth, a.bottom);
}

}  // namespace

void SetUp(TBaseReport& report) {
    report.Title = QStringLiteral("Quillory");
    (void)report.setOrientation(QPageLayout::Portrait);
    report.MarginLeft = 0.5;
    report.MarginRight = 0.5;
    report.MarginTop = 1.0;
    report.MarginBottom = 1.0;
}

void Print(TBaseReport& r, const QStringList& lines) {
    r.setFont(QStringLiteral("Arial"), 10);
    const Area a = area(r);
    const double lineHeight = r.fontLineHeight();
    const int rows = std::max(1, int(std::floor((a.bottom - a.top) / lineHeight + 1e-9)));
    int column = 0, row = 0;
    for (qsizetype i = 0; i < lines.size(); ++i) {
        if (r.cancelled()) break;
        if (row == rows) {
            row = 0;
            if (++column == kColumns) {
                frame(r);
                r.newPage();
                column = 0;
            }
        }
        const double x = 0.5 + column * kColumnWidth;
        r.gotoXY(x, a.top + row * lineHeight + r.fontAscent());
        const int shade = row % 2 == 0 ? 5 : 0;
        r.clearTabs();
        r.setTab(x, TBaseReport::TabJustify::Left, kTabWidth, 5, shade);
        r.setTab(-1, TBaseReport::TabJustify::Right, kTabWidth, 5, shade);
        r.setTab(-1, TBaseReport::TabJustify::Left, kTabWidth, 5, shade);
        r.printTab(lines[i].mid(0, 5));
        r.printTab(lines[i].mid(5, 12));
        r.printTab(QString());
        ++row;
        r.updateStatus();
    }
    frame(r);
}

}  // namespace ZipReport
