#pragma once

#include <QByteArray>
#include <cstddef>

// The enumerations of layout objects. The names are what layout files store (an
// enumeration property is written as the identifier of its value); the ordinals are
// the positions, from 0. On disk, never rename or reorder.

enum TAlignment { taLeftJustify, taRightJustify, taCenter };
enum THighlightDirection { hdNone, hdright, hdLeft, hdUpRight, hdUpLeft, hdUp };
enum TShadowDirection { sdNone, sdRight, sdLeft, sdDownRight, sdDownLeft, sdDown };
enum TGDateFormat { dtfDateNone, dtfDateShort, dtfDateLong };
enum TGTimeFormat { dtfTimeNone, dtfTimeShort, dtfTimeLong };
enum TZipFormatOptions { zoAfterState, zoBeforeCity, zoAfterCountry, zoBeforeCountry };
enum TPostNetBarCodeType { pnbc5Digit, pnbc9Digit, pnbc11Digit };
enum TFIMBarCodeType { fimTypeA, fimTypeB, fimTypeC };
enum TLineStyle { stHorizontal, stVertical, stAngleSlopingUp, stAngleSlopingDown };
enum TShapeType { stRectangle, stSquare, stRoundRect, stRoundSquare, stEllipse, stCircle };
enum TLabelShapeType { lsRectangle, lsRoundRect, lsEllipse };
enum TGridSize { gs4x4, gs8x8 };
enum TRPanelKind { rpkHeader, rpkDetail, rpkMemo, rpkFooter };

// Fonts, pens and brushes.
enum TFontPitch { fpDefault, fpVariable, fpFixed };
enum TFontStyle { fsBold, fsItalic, fsUnderline, fsStrikeOut };
using TFontStyles = unsigned;  // bit (1 << TFontStyle) per member
enum TPenStyle { psSolid, psDash, psDot, psDashDot, psDashDotDot, psClear, psInsideFrame };
enum TPenMode {
    pmBlack,
    pmWhite,
    pmNop,
    pmNot,
    pmCopy,
    pmNotCopy,
    pmMergePenNot,
    pmMaskPenNot,
    pmMergeNotPen,
    pmMaskNotPen,
    pmMerge,
    pmNotMerge,
    pmMask,
    pmNotMask,
    pmXor,
    pmNotXor
};
enum TBrushStyle {
    bsSolid,
    bsClear,
    bsHorizontal,
    bsVertical,
    bsFDiagonal,
    bsBDiagonal,
    bsCross,
    bsDiagCross
};

namespace layout {

// The value names of an enumeration, by ordinal.
template <typename E>
struct EnumNames;

#define LAYOUT_ENUM_NAMES(E)              \
    template <>                           \
    struct EnumNames<E> {                 \
        static const char* const names[]; \
        static const std::size_t count;   \
    };

LAYOUT_ENUM_NAMES(TAlignment)
LAYOUT_ENUM_NAMES(THighlightDirection)
LAYOUT_ENUM_NAMES(TShadowDirection)
LAYOUT_ENUM_NAMES(TGDateFormat)
LAYOUT_ENUM_NAMES(TGTimeFormat)
LAYOUT_ENUM_NAMES(TZipFormatOptions)
LAYOUT_ENUM_NAMES(TPostNetBarCodeType)
LAYOUT_ENUM_NAMES(TFIMBarCodeType)
LAYOUT_ENUM_NAMES(TLineStyle)
LAYOUT_ENUM_NAMES(TShapeType)
LAYOUT_ENUM_NAMES(TLabelShapeType)
LAYOUT_ENUM_NAMES(TGridSize)
LAYOUT_ENUM_NAMES(TRPanelKind)
LAYOUT_ENUM_NAMES(TFontPitch)
LAYOUT_ENUM_NAMES(TFontStyle)
LAYOUT_ENUM_NAMES(TPenStyle)
LAYOUT_ENUM_NAMES(TPenMode)
LAYOUT_ENUM_NAMES(TBrushStyle)

#undef LAYOUT_ENUM_NAMES

template <typename E>
const char* EnumName(E value) {
    const std::size_t i = static_cast<std::size_t>(value);
    return i < EnumNames<E>::count ? EnumNames<E>::names[i] : "";
}

// The value named `ident`, in any letter case; false when the enumeration has none.
template <typename E>
bool EnumFromName(const QByteArray& ident, E* value) {
    for (std::size_t i = 0; i < EnumNames<E>::count; ++i) {
        if (qstricmp(EnumNames<E>::names[i], ident.constData()) == 0) {
            *value = static_cast<E>(i);
            return true;
        }
    }
    return false;
}

}  // namespace layout
