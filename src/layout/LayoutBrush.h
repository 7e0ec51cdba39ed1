#pragma once

#include "LayoutColors.h"
#include "LayoutEnums.h"

// The fill of shapes.
struct LayoutBrush {
    TColor Color = clWhite;
    TBrushStyle Style = bsSolid;

    bool operator==(const LayoutBrush& o) const { return Color == o.Color && Style == o.Style; }
};
