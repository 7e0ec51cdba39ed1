#include "LayoutEnums.h"

namespace layout {

#define LAYOUT_NAMES(E, ...)                                 \
    const char* const EnumNames<E>::names[] = {__VA_ARGS__}; \
    const std::size_t EnumNames<E>::count = sizeof(EnumNames<E>::names) / sizeof(const char*);

LAYOUT_NAMES(TAlignment, "taLeftJustify", "taRightJustify", "taCenter")
LAYOUT_NAMES(THighlightDirection, "hdNone", "hdright", "hdLeft", "hdUpRight", "hdUpLeft", "hdUp")
LAYOUT_NAMES(TShadowDirection, "sdNone", "sdRight", "sdLeft", "sdDownRight", "sdDownLeft", "sdDown")
LAYOUT_NAMES(TGDateFormat, "dtfDateNone", "dtfDateShort", "dtfDateLong")
LAYOUT_NAMES(TGTimeFormat, "dtfTimeNone", "dtfTimeShort", "dtfTimeLong")
LAYOUT_NAMES(TZipFormatOptions, "zoAfterState", "zoBeforeCity", "zoAfterCountry", "zoBeforeCountry")
LAYOUT_NAMES(TPostNetBarCodeType, "pnbc5Digit", "pnbc9Digit", "pnbc11Digit")
LAYOUT_NAMES(TFIMBarCodeType, "fimTypeA", "fimTypeB", "fimTypeC")
LAYOUT_NAMES(TLineStyle, "stHorizontal", "stVertical", "stAngleSlopingUp", "stAngleSlopingDown")
LAYOUT_NAMES(TShapeType, "stRectangle", "stSquare", "stRoundRect", "stRoundSquare", "stEllipse", "stCircle")
LAYOUT_NAMES(TLabelShapeType, "lsRectangle", "lsRoundRect", "lsEllipse")
LAYOUT_NAMES(TGridSize, "gs4x4", "gs8x8")
LAYOUT_NAMES(TRPanelKind, "rpkHeader", "rpkDetail", "rpkMemo", "rpkFooter")
LAYOUT_NAMES(TFontPitch, "fpDefault", "fpVariable", "fpFixed")
LAYOUT_NAMES(TFontStyle, "fsBold", "fsItalic", "fsUnderline", "fsStrikeOut")
LAYOUT_NAMES(TPenStyle, "psSolid", "psDash", "psDot", "psDashDot", "psDashDotDot", "psClear", "psInsideFrame")
LAYOUT_NAMES(TPenMode, "pmBlack", "pmWhite", "pmNop", "pmNot", "pmCopy", "pmNotCopy", "pmMergePenNot",
             "pmMaskPenNot", "pmMergeNotPen", "pmMaskNotPen", "pmMerge", "pmNotMerge", "pmMask", "pmNotMask",
             "pmXor", "pmNotXor")
LAYOUT_NAMES(TBrushStyle, "bsSolid", "bsClear", "bsHorizontal", "bsVertical", "bsFDiagonal", "bsBDiagonal",
             "bsCross", "bsDiagCross")

#undef LAYOUT_NAMES

}  // namespace layout
