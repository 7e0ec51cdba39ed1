#pragma once

#include <QByteArray>
#include <cstddef>
#include <iterator>

// The enumerations of layout objects and panels. An enumeration property is stored in
// layout files as the identifier of its value ("taCenter"); the ordinals are the
// positions, from 0.
//
// Each enumeration is written once, as a list of its value names in ordinal order
// (LAYOUT_VALUES_<type>); LAYOUT_ENUM makes both the C++ enumeration and the table of
// stored names from that list, so the two cannot drift apart. On disk: never rename
// or reorder a value.

namespace layout {

// The stored value names of an enumeration, by ordinal: names[count].
template <typename E>
struct EnumNames;

}  // namespace layout

#define LAYOUT_ENUMERATOR_(name) name,
#define LAYOUT_ENUM_NAME_(name) #name,
#define LAYOUT_ENUM(E)                                                                 \
    enum E { LAYOUT_VALUES_##E(LAYOUT_ENUMERATOR_) };                                  \
    template <>                                                                        \
    struct layout::EnumNames<E> {                                                      \
        static constexpr const char* names[] = {LAYOUT_VALUES_##E(LAYOUT_ENUM_NAME_)}; \
        static constexpr std::size_t count = std::size(names);                         \
    };

// clang-format off
// Objects.
#define LAYOUT_VALUES_TAlignment(X) X(taLeftJustify) X(taRightJustify) X(taCenter)
#define LAYOUT_VALUES_THighlightDirection(X) X(hdNone) X(hdright) X(hdLeft) X(hdUpRight) X(hdUpLeft) X(hdUp)
#define LAYOUT_VALUES_TShadowDirection(X) X(sdNone) X(sdRight) X(sdLeft) X(sdDownRight) X(sdDownLeft) X(sdDown)
#define LAYOUT_VALUES_TGDateFormat(X) X(dtfDateNone) X(dtfDateShort) X(dtfDateLong)
#define LAYOUT_VALUES_TGTimeFormat(X) X(dtfTimeNone) X(dtfTimeShort) X(dtfTimeLong)
#define LAYOUT_VALUES_TZipFormatOptions(X) X(zoAfterState) X(zoBeforeCity) X(zoAfterCountry) X(zoBeforeCountry)
#define LAYOUT_VALUES_TPostNetBarCodeType(X) X(pnbc5Digit) X(pnbc9Digit) X(pnbc11Digit)
#define LAYOUT_VALUES_TFIMBarCodeType(X) X(fimTypeA) X(fimTypeB) X(fimTypeC)
#define LAYOUT_VALUES_TIMBarCodeRouting(X) X(imbrNone) X(imbr5Digit) X(imbr9Digit) X(imbr11Digit)
#define LAYOUT_VALUES_TIMBarCodeSerial(X) X(imbsFixed) X(imbsCounter) X(imbsField)
#define LAYOUT_VALUES_TLineStyle(X) X(stHorizontal) X(stVertical) X(stAngleSlopingUp) X(stAngleSlopingDown)
#define LAYOUT_VALUES_TShapeType(X) \
    X(stRectangle) X(stSquare) X(stRoundRect) X(stRoundSquare) X(stEllipse) X(stCircle)

// Panels.
#define LAYOUT_VALUES_TLabelShapeType(X) X(lsRectangle) X(lsRoundRect) X(lsEllipse)
#define LAYOUT_VALUES_TGridSize(X) X(gs4x4) X(gs8x8)
#define LAYOUT_VALUES_TRPanelKind(X) X(rpkHeader) X(rpkDetail) X(rpkMemo) X(rpkFooter)

// Fonts, pens and brushes.
#define LAYOUT_VALUES_TFontPitch(X) X(fpDefault) X(fpVariable) X(fpFixed)
#define LAYOUT_VALUES_TFontStyle(X) X(fsBold) X(fsItalic) X(fsUnderline) X(fsStrikeOut)
#define LAYOUT_VALUES_TPenStyle(X) \
    X(psSolid) X(psDash) X(psDot) X(psDashDot) X(psDashDotDot) X(psClear) X(psInsideFrame)
#define LAYOUT_VALUES_TPenMode(X) \
    X(pmBlack) X(pmWhite) X(pmNop) X(pmNot) X(pmCopy) X(pmNotCopy) X(pmMergePenNot) X(pmMaskPenNot) \
    X(pmMergeNotPen) X(pmMaskNotPen) X(pmMerge) X(pmNotMerge) X(pmMask) X(pmNotMask) X(pmXor) X(pmNotXor)
#define LAYOUT_VALUES_TBrushStyle(X) \
    X(bsSolid) X(bsClear) X(bsHorizontal) X(bsVertical) X(bsFDiagonal) X(bsBDiagonal) X(bsCross) X(bsDiagCross)
// clang-format on

LAYOUT_ENUM(TAlignment)
LAYOUT_ENUM(THighlightDirection)
LAYOUT_ENUM(TShadowDirection)
LAYOUT_ENUM(TGDateFormat)
LAYOUT_ENUM(TGTimeFormat)
LAYOUT_ENUM(TZipFormatOptions)
LAYOUT_ENUM(TPostNetBarCodeType)
LAYOUT_ENUM(TFIMBarCodeType)
LAYOUT_ENUM(TIMBarCodeRouting)
LAYOUT_ENUM(TIMBarCodeSerial)
LAYOUT_ENUM(TLineStyle)
LAYOUT_ENUM(TShapeType)
LAYOUT_ENUM(TLabelShapeType)
LAYOUT_ENUM(TGridSize)
LAYOUT_ENUM(TRPanelKind)
LAYOUT_ENUM(TFontPitch)
LAYOUT_ENUM(TFontStyle)
LAYOUT_ENUM(TPenStyle)
LAYOUT_ENUM(TPenMode)
LAYOUT_ENUM(TBrushStyle)

#undef LAYOUT_ENUM
#undef LAYOUT_ENUM_NAME_
#undef LAYOUT_ENUMERATOR_

using TFontStyles = unsigned;  // bit (1 << TFontStyle) per member

namespace layout {

// The stored name of a value; empty for a value outside the enumeration.
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
