#pragma once

#include "LayoutColors.h"
#include "LayoutEnums.h"

// The outline of lines and shapes. `Width` is in layout pixels at zoom 1.0 (1 to 10
// in the menus).
struct LayoutPen {
    TColor Color = clBlack;
    TPenMode Mode = pmCopy;
    TPenStyle Style = psSolid;
    int Width = 1;

    bool operator==(const LayoutPen& o) const {
        return Color == o.Color && Mode == o.Mode && Style == o.Style && Width == o.Width;
    }
};
