#include "TGLineShape.h"

#include <QPainter>
#include <cmath>

#include "LayoutMetrics.h"
#include "QtMapping.h"
#include "TBaseReport.h"
#include "TGBasePanel.h"

using layout::PropertyReader;
using layout::PropertyWriter;
using layout::ReadResult;

TGLineShape::TGLineShape() { SetSizeSilently(10, 10); }

void TGLineShape::SetLineStyle(TLineStyle style) { lineStyle_ = style; }

void TGLineShape::SetPen(const LayoutPen& pen) { pen_ = pen; }

void TGLineShape::StretchToEdges() {
    if (!Parent()) return;
    if (lineStyle_ == stHorizontal) SetBounds(0, Top(), Parent()->Width(), Height());
    if (lineStyle_ == stVertical) SetBounds(Left(), 0, Width(), Parent()->Height());
}

TGLineShape::ScreenLine TGLineShape::ScreenGeometry() const {
    const int w = Zoom() != 1.0f ? int(std::lround(pen_.Width * Zoom())) : pen_.Width;
    const int h = w / 2;
    switch (lineStyle_) {
        case stHorizontal:
            return {{h, h}, {Width() + h - w + 1, h}, w};
        case stVertical:
            return {{h, h}, {h, h + Height() - w + 1}, w};
        case stAngleSlopingUp:
            return {{Width(), 0}, {0, Height()}, w};
        case stAngleSlopingDown:
            break;
    }
    return {{0, 0}, {Width(), Height()}, w};
}

void TGLineShape::Paint(QPainter& painter) {
    const ScreenLine line = ScreenGeometry();
    painter.save();
    QPen pen(layout::ToQColor(pen_.Color), line.penWidth, layout::ToQtPenStyle(pen_.Style), Qt::FlatCap);
    painter.setPen(pen);
    painter.drawLine(line.from, line.to);
    painter.restore();
    PaintHandles(painter);
}

void TGLineShape::PrintTo(TBaseReport& report, double x, double y) {
    const double ppi = layout::kPixelsPerInch;
    // N/100 inch wide: a negative width is hundredths of an inch.
    report.setPen(layout::ToQColor(pen_.Color), layout::ToQtPenStyle(pen_.Style), -pen_.Width,
                  PenSpec::Mode::Copy);
    const int h = pen_.Width / 2;
    const double x1 = x + Left() / ppi, x2 = x + (Left() + Width()) / ppi;
    const double y1 = y + (Top() + h) / ppi, y2 = y + (Top() + Height() + h) / ppi;
    switch (lineStyle_) {
        case stHorizontal:
            report.line(x1, y1, x2, y1);
            break;
        case stVertical:
            report.line(x1, y1, x1, y2);
            break;
        case stAngleSlopingUp:
            report.line(x1, y2, x2, y1);
            break;
        case stAngleSlopingDown:
            report.line(x1, y1, x2, y2);
            break;
    }
}

void TGLineShape::WriteProperties(PropertyWriter& w) const {
    TGGraphicControl::WriteProperties(w);
    w.enumeration("LineStyle", lineStyle_, stHorizontal);
    w.pen("Pen", pen_);
}

ReadResult TGLineShape::ReadProperty(const PropertyReader& r) {
    if (r.is("LineStyle")) return r.enumeration(&lineStyle_);
    const ReadResult pen = r.pen("Pen", &pen_);
    if (pen != ReadResult::Unknown) return pen;
    return TGGraphicControl::ReadProperty(r);
}
