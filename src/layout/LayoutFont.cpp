#include "LayoutFont.h"

#include <cmath>

#include "LayoutMetrics.h"

using layout::kPixelsPerInch;
using layout::MulDiv;

int LayoutFont::Size() const {
    const int points = -MulDiv(Height, 72, kPixelsPerInch);
    return points < 0 ? -points : points;
}

double LayoutFont::PrintPoints() const {
    const int pixels = Height < 0 ? -Height : Height;
    return pixels > 0 ? pixels * 72.0 / kPixelsPerInch : 1.0;
}

void LayoutFont::SetSize(int points) { Height = -MulDiv(points, kPixelsPerInch, 72); }

QFont LayoutFont::ToQFont(float zoom) const {
    QFont f(Name);
    int pixels = Height < 0 ? -Height : Height;
    if (zoom != 1.0f) pixels = MulDiv(int(float(Size()) * zoom), kPixelsPerInch, 72);
    f.setPixelSize(pixels > 0 ? pixels : 1);
    f.setBold(has(fsBold));
    f.setItalic(has(fsItalic));
    f.setUnderline(has(fsUnderline));
    f.setStrikeOut(has(fsStrikeOut));
    if (Pitch == fpFixed) f.setFixedPitch(true);
    f.setKerning(false);
    return f;
}

LayoutFont LayoutFont::Make(const QString& name, int points) {
    LayoutFont f;
    f.Name = name;
    f.SetSize(points);
    return f;
}
