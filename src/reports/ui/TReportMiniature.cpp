#include "TReportMiniature.h"

#include <QMouseEvent>
#include <QPainter>

#include "LayoutColors.h"
#include "LayoutMetrics.h"
#include "ReportBands.h"

namespace {

using Band = TReportSettings::Band;

// Big enough for the largest page (11.68 inches) either way.
constexpr int kSide = 240;

}  // namespace

TReportMiniature::TReportMiniature(QWidget* parent) : QWidget(parent) {
    setFixedSize(kSide, kSide);
    setCursor(Qt::PointingHandCursor);
    setToolTip(tr("Click a band to open its settings"));
}

// Twenty to the inch in whole numbers: dividing by 0.05 × 96 in floating point would make
// an inch 19.999... and lose a pixel.
int TReportMiniature::Mini(int pixels) { return pixels * 20 / layout::kPixelsPerInch; }

QColor TReportMiniature::ShadeOf(const TReportBandFrame& frame) {
    const QColor c = layout::ToQColor(frame.ShadeColor);
    const int pct = std::clamp(frame.ShadePercent, 0, 100);
    auto mix = [pct](int v) { return 255 - (255 - v) * pct / 100; };
    return QColor(mix(c.red()), mix(c.green()), mix(c.blue()));
}

void TReportMiniature::SetSettings(const TReportSettings& settings) {
    settings_ = settings;
    update();
}

QRect TReportMiniature::PageRect() const {
    const int w = Mini(settings_.PageWidth), h = Mini(settings_.PageHeight);
    return QRect((width() - w) / 2, (height() - h) / 2, w, h);
}

QRect TReportMiniature::BandRect(int band) const {
    const TReportSettings& s = settings_;
    if (!ReportBands::Used(s, Band(band))) return QRect();
    const QRect page = PageRect();
    const int left = page.left() + Mini(s.MarginLeft);
    const int right = page.left() + Mini(s.PageWidth - s.MarginRight);
    auto strip = [&](int top, int pixels) {
        return QRect(left, top, right - left, std::max(1, Mini(pixels)));
    };
    int top = page.top() + Mini(s.MarginTop);
    for (Band b : {TReportSettings::Header, TReportSettings::Detail, TReportSettings::Memo}) {
        if (!ReportBands::Used(s, b)) continue;
        const int pixels =
            b == TReportSettings::Memo ? ReportBands::kMemoViewHeight : ReportBands::Height(s, b);
        const QRect r = strip(top, pixels);
        if (b == band) return r;
        top = r.bottom() + 1;
    }
    // The footer stands on the bottom margin, as it prints.
    const int bottom = page.top() + Mini(s.PageHeight - s.MarginBottom);
    return strip(bottom - std::max(1, Mini(s.FooterHeight)), s.FooterHeight);
}

int TReportMiniature::PartAt(QPoint p) const {
    // The footer first: on a full page it may overlap the bands above it.
    for (int band : {int(TReportSettings::Footer), int(TReportSettings::Memo), int(TReportSettings::Detail),
                     int(TReportSettings::Header)})
        if (BandRect(band).contains(p)) return 1 + band;
    return PageRect().contains(p) ? 0 : -1;
}

void TReportMiniature::paintEvent(QPaintEvent*) {
    QPainter p(this);
    p.fillRect(rect(), palette().color(QPalette::Window));
    const TReportSettings& s = settings_;
    const QRect page = PageRect();
    p.fillRect(page, Qt::gray);
    const QRect inside(QPoint(page.left() + Mini(s.MarginLeft), page.top() + Mini(s.MarginTop)),
                       QPoint(page.left() + Mini(s.PageWidth - s.MarginRight) - 1,
                              page.top() + Mini(s.PageHeight - s.MarginBottom) - 1));
    p.fillRect(inside, Qt::white);
    for (int band = 0; band < 4; ++band) {
        const QRect r = BandRect(band);
        if (r.isEmpty()) continue;
        const TReportBandFrame& f = s.Frames[band];
        p.fillRect(r, ShadeOf(f));
        // A faint outline, so that a plain white band still shows where to click.
        p.setPen(QPen(QColor(176, 176, 176), 1, Qt::DotLine));
        p.drawRect(r.adjusted(0, 0, -1, -1));
        const int lw = std::clamp(f.LineWidth, 1, 3);
        auto line = [&](QRect edge) { p.fillRect(edge, Qt::black); };
        if (f.TopBorder) line(QRect(r.left(), r.top(), r.width(), lw));
        if (f.BottomBorder) line(QRect(r.left(), r.bottom() - lw + 1, r.width(), lw));
        if (f.LeftBorder) line(QRect(r.left(), r.top(), lw, r.height()));
        if (f.RightBorder) line(QRect(r.right() - lw + 1, r.top(), lw, r.height()));
    }
    p.setPen(Qt::darkGray);
    p.drawRect(page.adjusted(0, 0, -1, -1));
}

void TReportMiniature::mousePressEvent(QMouseEvent* event) {
    const int part = PartAt(event->position().toPoint());
    if (part >= 0) emit partClicked(part);
}
