#include "UserReport.h"

#include <QColor>
#include <algorithm>
#include <cmath>

#include "AddressFile.h"
#include "LayoutColors.h"
#include "LayoutFile.h"
#include "LayoutMetrics.h"
#include "ReportDefinition.h"
#include "SavedCursor.h"
#include "TAddressDataSet.h"
#include "TBaseReport.h"
#include "TGDataPanel.h"
#include "Table.h"
#include "TextWrap.h"

namespace UserReport {

namespace {

using Band = TReportSettings::Band;

constexpr double kBandInset = 0.125;   // bands are a quarter inch narrower than the margins leave
constexpr double kMemoSpacing = 0.05;  // the gap under a block of memo lines

double inches(int pixels) { return pixels / double(layout::kPixelsPerInch); }

// One run of the report over a job's pages.
class Pages {
  public:
    Pages(TBaseReport& r, xbase::Table& table, layout::LayoutFile& layout)
        : r_(r), table_(table), layout_(layout), s_(layout.Settings()) {
        ReportDefinition::Clamp(s_);
        header_ = s_.UseHeader ? inches(s_.HeaderHeight) : 0;
        footer_ = s_.UseFooter ? inches(s_.FooterHeight) : 0;
        detail_ = inches(s_.DetailHeight);
        left_ = inches(s_.MarginLeft) + kBandInset;
        right_ = r.pageWidth() - inches(s_.MarginRight) - kBandInset;
        top_ = inches(s_.MarginTop) + header_;
        bottom_ = std::max(top_, r.pageHeight() - inches(s_.MarginBottom) - footer_);
    }

    // The header and footer of the page just begun.
    void PrintHeaderFooter() {
        if (s_.UseHeader) {
            frame(Band::Header, top_ - header_, top_);
            printBand(0, top_ - header_);
        }
        if (s_.UseFooter) {
            frame(Band::Footer, bottom_, bottom_ + footer_);
            printBand(2, bottom_);
        }
        y_ = top_;
    }

    void newPage() {
        r_.newPage();
        PrintHeaderFooter();
    }
    // Whether anything was printed under the header of this page.
    bool pageUsed() const { return y_ > top_ + 1e-9; }

    void PrintDetail() {
        if (!s_.UseDetail) return;
        if (bottom_ - y_ < detail_ && pageUsed()) newPage();
        frame(Band::Detail, y_, y_ + detail_);
        printBand(1, y_);
        y_ += detail_;
    }

    void PrinttheMemo() {
        if (!s_.UseMemo) return;
        const int memoField = table_.fieldIndex("MEMO");
        if (memoField < 0) return;
        const double lineHeight = memoFont();
        const double width = right_ - left_;
        // Measured in layout pixels, the unit the designer's memo view wraps in.
        auto pixels = [this](const QString& text) {
            return int(std::ceil(r_.textWidth(text) * layout::kPixelsPerInch));
        };
        QStringList lines = layout::WrapLines(layout::SplitLines(AddressFile::text(table_, memoField)),
                                              int(width * layout::kPixelsPerInch), pixels);
        if (lines.size() == 1 && lines.first().trimmed().isEmpty()) lines.clear();
        qsizetype next = 0;
        while (next < lines.size() && !r_.cancelled()) {
            qsizetype fit = qsizetype((bottom_ - y_) / lineHeight + 1e-9);
            if (fit <= 0 && pageUsed()) {
                newPage();
                memoFont();
                fit = qsizetype((bottom_ - y_) / lineHeight + 1e-9);
            }
            // A line taller than the whole section still prints, one a page.
            const qsizetype count = std::min(std::max<qsizetype>(fit, 1), lines.size() - next);
            frame(Band::Memo, y_, y_ + count * lineHeight + kMemoSpacing);
            memoFont();
            for (qsizetype i = 0; i < count; ++i) {
                const QString& line = lines[next + i];
                double x = left_;
                if (s_.MemoAlignment == 1)
                    x = right_ - r_.textWidth(line);
                else if (s_.MemoAlignment == 2)
                    x = (left_ + right_ - r_.textWidth(line)) / 2;
                r_.printXY(x, y_ + r_.fontAscent(), line);
                y_ += lineHeight;
            }
            y_ += kMemoSpacing;
            next += count;
            if (next < lines.size()) {
                newPage();
                memoFont();
            }
        }
    }

  private:
    double memoFont() {
        r_.setFont(s_.MemoFontName, s_.MemoFontSize);
        r_.setBold(s_.MemoBold);
        r_.setItalic(s_.MemoItalic);
        return r_.fontLineHeight();
    }

    void printBand(int panel, double y) {
        TGDataPanel& band = layout_.Panel(panel);
        band.RefreshData();
        band.PrintObjects(r_, left_, y);
    }

    // A band's shading and borders on the box from y1 to y2, a quarter inch wider than
    // the band.
    void frame(Band band, double y1, double y2) {
        const TReportBandFrame& f = s_.Frames[band];
        const double x1 = left_ - kBandInset, x2 = right_ + kBandInset;
        if (f.ShadePercent > 0) {
            const QColor c = layout::ToQColor(f.ShadeColor);
            const int p = std::min(f.ShadePercent, 100);
            auto mix = [p](int channel) { return channel + (100 - p) * (255 - channel) / 100; };
            r_.setPen(Qt::white, Qt::NoPen, 1);
            r_.setBrush(QColor(mix(c.red()), mix(c.green()), mix(c.blue())), Qt::SolidPattern);
            r_.rectangle(x1, y1, x2, y2);
            r_.setBrush(Qt::white, Qt::NoBrush);
        }
        if (!(f.LeftBorder || f.TopBorder || f.RightBorder || f.BottomBorder)) return;
        const int width = std::max(1, f.LineWidth);
        // Lines inside the box: their middles half a line in from its edges.
        const double dx = width / r_.xDPI() / 2, dy = width / r_.yDPI() / 2;
        r_.setPen(Qt::black, Qt::SolidLine, width);
        if (f.LeftBorder) r_.line(x1 + dx, y1, x1 + dx, y2);
        if (f.TopBorder) r_.line(x1, y1 + dy, x2, y1 + dy);
        if (f.RightBorder) r_.line(x2 - dx, y1, x2 - dx, y2);
        if (f.BottomBorder) r_.line(x1, y2 - dy, x2, y2 - dy);
        r_.setPen(Qt::black, Qt::SolidLine, 1);
    }

    TBaseReport& r_;
    xbase::Table& table_;
    layout::LayoutFile& layout_;
    TReportSettings s_;
    double header_, footer_, detail_;
    double left_, right_, top_, bottom_;
    double y_ = 0;
};

}  // namespace

PageRequest PaperOf(const TReportSettings& settings) {
    PageRequest request;
    request.paper = true;
    request.orient = true;
    const int paper = ReportDefinition::PaperOf(settings);
    if (paper >= 0) {
        const ReportDefinition::Paper& p = ReportDefinition::Papers()[size_t(paper)];
        request.code = p.paperCode;
        request.landscape = p.landscape;
        return request;
    }
    TReportSettings s = settings;
    ReportDefinition::Clamp(s);
    request.code = 0;
    request.width = inches(s.PageWidth);
    request.height = inches(s.PageHeight);
    return request;
}

void PrintTheReport(TBaseReport& report, xbase::Table& table, layout::LayoutFile& layout, bool onePerPage,
                    int* printed) {
    Pages pages(report, table, layout);
    pages.PrintHeaderFooter();
    while (!table.eof() && !report.cancelled()) {
        pages.PrintDetail();
        pages.PrinttheMemo();
        if (printed) ++*printed;
        report.updateStatus();
        if (!table.skip(1).ok()) break;
        if (onePerPage && !table.eof()) pages.newPage();
    }
}

bool SelectRecords(xbase::Table& table, const Choice& choice, Messages& messages, QString* error) {
    const Selection selection = ::SelectRecords(table, choice, kDeleted, messages);
    if (!selection) {
        *error = selection.error;
        return false;
    }
    if (table.eof()) {
        *error = "There are no records to print";
        return false;
    }
    return true;
}

JobResult UserReportJob::select(JobProgress&, Messages& messages, QString* error) {
    saveCursor(table_);
    return SelectRecords(table_, choice_, messages, error) ? JobResult::Done : JobResult::Failed;
}

PageRequest UserReportJob::pageRequest() const { return PaperOf(layout_.Settings()); }

void UserReportJob::setUp(TBaseReport& report) { report.Title = QStringLiteral("Quillory"); }

void UserReportJob::printPages(TBaseReport& report) {
    PrintTheReport(report, table_, layout_, choice_.onePerPage, &printed_);
}

QString UserReportJob::counts() const { return Counted(printed_, "record", "records"); }

JobResult PrintUserReport(xbase::Table& table, layout::LayoutFile& layout, const Choice& choice,
                          TBaseReport& report, JobProgress& progress, Messages& messages, QString* error,
                          int* printed) {
    UserReportJob job(table, layout, choice);
    const JobResult result = RunPrintJob(job, report, progress, messages, error);
    if (printed) *printed = job.printed();
    return result;
}

}  // namespace UserReport
