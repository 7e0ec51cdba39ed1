#pragma once

#include <QPoint>

#include "LayoutEnums.h"

// How single-line text objects place their text: the pure geometry, given the font's
// line height and the text's width. Rectangles have exclusive right and bottom edges
// (right − left is the width), in object pixels.
namespace layout {

struct TextBox {
    int left = 0, top = 0, right = 0, bottom = 0;
    TextBox translated(int dx, int dy) const { return {left + dx, top + dy, right + dx, bottom + dy}; }
    bool operator==(const TextBox& o) const {
        return left == o.left && top == o.top && right == o.right && bottom == o.bottom;
    }
};

// The effect offsets of shadow and highlight for a depth of 0 to 10.
QPoint ShadowOffset(TShadowDirection direction, int depth);
QPoint HighlightOffset(THighlightDirection direction, int depth);

struct SingleLineInput {
    int angle = 0;  // 0, 90, 180 or 270
    int width = 0;  // the object's current size
    int height = 0;
    int lineHeight = 0;  // font height + internal + external leading
    int textWidth = 0;   // the caption followed by one space
    QPoint shadow;       // effect offsets (0 when the effect is off)
    QPoint highlight;
    TAlignment alignment = taLeftJustify;
};

struct SingleLineLayout {
    int width = 0;  // the object's size after measuring
    int height = 0;
    QPoint origin;  // room left for effects that go left or up
    TextBox main, shadow, highlight;
    QPoint mainStart, shadowStart, highlightStart;  // where each text run begins
};

SingleLineLayout MeasureSingleLine(const SingleLineInput& in);

// The size a rotation gives: width and height swap when the new angle is 0 or 180 and
// the object is taller than wide, or 90 or 270 and it is wider than tall.
QPoint RotatedSize(int angle, int width, int height);

}  // namespace layout
