#include "SingleLineLayout.h"

#include <algorithm>

namespace layout {

QPoint ShadowOffset(TShadowDirection direction, int d) {
    switch (direction) {
        case sdNone:
            return {0, 0};
        case sdRight:
            return {d, 0};
        case sdLeft:
            return {-d, 0};
        case sdDownRight:
            return {d, d};
        case sdDownLeft:
            return {-d, d};
        case sdDown:
            return {0, d};
    }
    return {0, 0};
}

QPoint HighlightOffset(THighlightDirection direction, int d) {
    switch (direction) {
        case hdNone:
            return {0, 0};
        case hdright:
            return {d, 0};
        case hdLeft:
            return {-d, 0};
        case hdUpRight:
            return {d, -d};
        case hdUpLeft:
            return {-d, -d};
        case hdUp:
            return {0, -d};
    }
    return {0, 0};
}

namespace {

// An effect's offset turned with the text.
QPoint turned(int angle, QPoint o) {
    switch (angle) {
        case 90:
            return {o.y(), -o.x()};
        case 180:
            return {-o.x(), -o.y()};
        case 270:
            return {-o.y(), o.x()};
        default:
            return o;
    }
}

QPoint startOf(int angle, const TextBox& r) {
    switch (angle) {
        case 90:
            return {r.left, r.bottom};
        case 180:
            return {r.right, r.bottom};
        case 270:
            return {r.right, r.top};
        default:
            return {r.left, r.top};
    }
}

}  // namespace

SingleLineLayout MeasureSingleLine(const SingleLineInput& in) {
    SingleLineLayout out;
    const int h = in.lineHeight;
    const int w = in.textWidth;
    const QPoint sd = in.shadow, hd = in.highlight;
    out.origin = QPoint(std::max({0, -sd.x(), -hd.x()}), std::max({0, -sd.y(), -hd.y()}));
    const int ox = out.origin.x(), oy = out.origin.y();

    const int f = h + sd.y() - hd.y();
    const double g = 1.2 * f;
    int width = in.width, height = in.height;
    if (in.angle == 0 || in.angle == 180) {
        if (in.angle == 180 && width > 2 * w) width = 2 * w;
        if (width <= 5) width = w;
        if (height > g) height = int(g);
        if (height < f) height = f;
    } else {
        if (height > 1.2 * w) height = int(1.2 * w);
        if (height < 5) height = w;
        if (width > g) width = int(g);
        if (width < f) width = f;
    }
    out.width = width;
    out.height = height;

    TextBox main;
    if (in.angle == 0 || in.angle == 180) {
        main = {ox, oy, width, h + oy};
    } else {
        main = {oy, ox, h + oy, height - oy};
    }
    if (in.angle == 90) {
        // The text runs upwards from 1 pixel above the bottom edge, leaving room for a
        // highlight that goes left (down, once turned).
        main = main.translated(0, (height - 1 + hd.x()) - main.bottom);
    } else if (in.angle == 180) {
        main = main.translated((width - 1 - sd.y()) - main.right, 0);
    }
    out.main = main;
    const QPoint ts = turned(in.angle, sd), th = turned(in.angle, hd);
    out.shadow = main.translated(ts.x(), ts.y());
    out.highlight = main.translated(th.x(), th.y());
    out.mainStart = startOf(in.angle, out.main);
    out.shadowStart = startOf(in.angle, out.shadow);
    out.highlightStart = startOf(in.angle, out.highlight);
    if (in.angle == 0) {
        int x = main.left;
        if (in.alignment == taRightJustify) x = main.right - w;
        if (in.alignment == taCenter) x = (main.right - main.left) / 2 - w / 2;
        out.mainStart.setX(x);
        out.highlightStart.setX(x + hd.x());
        out.shadowStart.setX(x + sd.x());
    }
    return out;
}

QPoint RotatedSize(int angle, int width, int height) {
    const bool upright = angle == 0 || angle == 180;
    if ((upright && width < height) || (!upright && height < width)) return {height, width};
    return {width, height};
}

}  // namespace layout
