#include "TGLabelShapes.h"

#include <QPainter>
#include <algorithm>
#include <cmath>

#include "LayoutMetrics.h"
#include "QtMapping.h"
#include "TBaseReport.h"

using layout::PropertyReader;
using layout::PropertyWriter;
using layout::ReadResult;

TGLabelShapes::TGLabelShapes() { SetSizeSilently(25, 25); }

void TGLabelShapes::SetTransparent(bool on) {
    transparent_ = on;
    brush_.Style = on ? bsClear : bsSolid;
}

void TGLabelShapes::SetBrush(const LayoutBrush& brush) { brush_ = brush; }

void TGLabelShapes::SetPen(const LayoutPen& pen) { pen_ = pen; }

int TGLabelShapes::ScreenPenWidth() const {
    if (Zoom() == 1.0f) return pen_.Width;
    int w = int(std::lround(pen_.Width * Zoom()));
    if (pen_.Width > 0 && w < 1) w = 1;
    return w;
}

QRect TGLabelShapes::ScreenFigure() const {
    const int w = ScreenPenWidth();
    const int h = w / 2;
    // (h, h) to (width + h − w + 1, height + h − w + 1), right and bottom exclusive.
    return QRect(QPoint(h, h), QPoint(Width() + h - w, Height() + h - w));
}

// In integers, so that 29 % of 100 is 29 and not 28.999....
int TGLabelShapes::ScreenCorner() const { return RoundPerc * std::max(Width(), Height()) / 100; }

double TGLabelShapes::PrintedOutline(int penWidth, int ppi) { return double(penWidth * 100 / ppi) / 100.0; }

void TGLabelShapes::Paint(QPainter& painter) {
    const int w = ScreenPenWidth();
    const QRect r = ScreenFigure();
    painter.save();
    if (w > 0 && pen_.Style != psClear) {
        QPen pen(layout::ToQColor(pen_.Color), w, layout::ToQtPenStyle(pen_.Style));
        pen.setJoinStyle(Qt::MiterJoin);
        painter.setPen(pen);
    } else {
        painter.setPen(Qt::NoPen);
    }
    painter.setBrush(QBrush(layout::ToQColor(brush_.Color), layout::ToQtBrushStyle(brush_.Style)));
    // The outline is centred on the path from the figure's top-left to one pixel inside
    // its bottom-right, as the figure's rule intends.
    const QRectF f(r.left(), r.top(), r.width() - 1, r.height() - 1);
    switch (Shape) {
        case stRectangle:
        case stSquare:
            painter.drawRect(f);
            break;
        case stRoundRect:
        case stRoundSquare: {
            const double c = ScreenCorner() / 2.0;
            painter.drawRoundedRect(f, c, c);
            break;
        }
        case stEllipse:
        case stCircle:
            painter.drawEllipse(f);
            break;
    }
    painter.restore();
    PaintHandles(painter);
}

void TGLabelShapes::PrintTo(TBaseReport& report, double x, double y) {
    const int ppi = layout::kPixelsPerInch;
    const int hundredths = pen_.Width * 100 / ppi;
    report.setPen(layout::ToQColor(pen_.Color), layout::ToQtPenStyle(pen_.Style), -hundredths,
                  layout::ToPrintPenMode(pen_.Mode));
    report.setBrush(layout::ToQColor(brush_.Color), layout::ToQtBrushStyle(brush_.Style));
    const double x1 = x + double(Left()) / ppi, y1 = y + double(Top()) / ppi;
    const double x2 = x + double(Left() + Width()) / ppi, y2 = y + double(Top() + Height()) / ppi;
    switch (Shape) {
        case stRectangle:
        case stSquare:
            report.rectangle(x1, y1, x2, y2);
            break;
        case stRoundRect:
        case stRoundSquare: {
            const double corner = RoundPerc * 0.01 * std::max(x2 - x1, y2 - y1);
            report.roundRect(x1, y1, x2, y2, corner, corner);
            break;
        }
        case stEllipse:
        case stCircle:
            report.ellipse(x1, y1, x2, y2);
            break;
    }
}

void TGLabelShapes::WriteProperties(PropertyWriter& w) const {
    TGGraphicControl::WriteProperties(w);
    w.boolean("Transparent", transparent_);
    w.brush("Brush", brush_);
    w.pen("Pen", pen_);
    w.integer("RoundPerc", RoundPerc, 25);
    w.enumeration("Shape", Shape, stRectangle);
}

ReadResult TGLabelShapes::ReadProperty(const PropertyReader& r) {
    if (r.is("Transparent")) return r.boolean(&transparent_);
    if (r.is("RoundPerc")) return r.integer(&RoundPerc);
    if (r.is("Shape")) return r.enumeration(&Shape);
    const ReadResult brush = r.brush("Brush", &brush_);
    if (brush != ReadResult::Unknown) return brush;
    const ReadResult pen = r.pen("Pen", &pen_);
    if (pen != ReadResult::Unknown) return pen;
    return TGGraphicControl::ReadProperty(r);
}
