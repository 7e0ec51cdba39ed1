#pragma once

#include <Qt>

#include "LayoutEnums.h"
#include "PageStream.h"

// The pen and brush kinds of layout objects as Qt and the print engine draw them.
namespace layout {

Qt::PenStyle ToQtPenStyle(TPenStyle style);
Qt::BrushStyle ToQtBrushStyle(TBrushStyle style);
PenSpec::Mode ToPrintPenMode(TPenMode mode);

}  // namespace layout
