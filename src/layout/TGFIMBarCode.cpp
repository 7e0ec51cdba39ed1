#include "TGFIMBarCode.h"

#include <QPainter>

#include "FimPattern.h"
#include "LayoutMetrics.h"
#include "TBaseReport.h"

using layout::PropertyReader;
using layout::PropertyWriter;
using layout::ReadResult;
namespace fim = layout::fim;

TGFIMBarCode::TGFIMBarCode() {
    const int ppi = layout::kPixelsPerInch;
    SetSizeSilently(int(ppi * 0.625), int(ppi * 0.5625));
}

void TGFIMBarCode::SetFIMType(TFIMBarCodeType type) { type_ = type; }

void TGFIMBarCode::Paint(QPainter& painter) {
    const double ppi = layout::kPixelsPerInch;
    const int side = int(ppi * fim::kObjectWidth * Zoom());
    if (Width() != side || Height() != side) SetSizeSilently(side, side);
    const int b = int(ppi * fim::kSlotWidth * Zoom());
    const int c = int(ppi * fim::kBarHeight * Zoom());
    for (int s : fim::BarSlots(type_)) painter.fillRect(b * (s - 1), 0, b, c, Qt::black);
    PaintHandles(painter);
}

void TGFIMBarCode::PrintTo(TBaseReport& report, double x, double y) {
    const double ppi = layout::kPixelsPerInch;
    const double x0 = x + Left() / ppi, y0 = y + Top() / ppi;
    report.setBrush(Qt::black, Qt::SolidPattern);
    // The pen of whatever printed before (a thick coloured outline, say) would widen
    // and colour the bars; they take the thinnest black pen, as POSTNET bars do.
    report.setPen(Qt::black, Qt::SolidLine, 1, PenSpec::Mode::Copy);
    for (int s : fim::BarSlots(type_))
        report.rectangle(x0 + (s - 1) * fim::kSlotWidth, y0, x0 + s * fim::kSlotWidth, y0 + fim::kBarHeight);
}

void TGFIMBarCode::WriteProperties(PropertyWriter& w) const {
    TGGraphicControl::WriteProperties(w);
    w.enumeration("FIMType", type_);
}

ReadResult TGFIMBarCode::ReadProperty(const PropertyReader& r) {
    if (r.is("FIMType")) return r.enumeration(&type_);
    return TGGraphicControl::ReadProperty(r);
}
