#include "LayoutColors.h"

#include <cstring>

namespace layout {

namespace {

struct Named {
    int32_t value;
    const char* name;
};

// Written names, in the order of the identifier map: a value with two names is
// written with the first.
const Named kColors[] = {
    {clBlack, "clBlack"},
    {clMaroon, "clMaroon"},
    {clGreen, "clGreen"},
    {clOlive, "clOlive"},
    {clNavy, "clNavy"},
    {clPurple, "clPurple"},
    {clTeal, "clTeal"},
    {clGray, "clGray"},
    {clSilver, "clSilver"},
    {clRed, "clRed"},
    {clLime, "clLime"},
    {clYellow, "clYellow"},
    {clBlue, "clBlue"},
    {clFuchsia, "clFuchsia"},
    {clAqua, "clAqua"},
    {clWhite, "clWhite"},
    {TColor(0x80000000), "clScrollBar"},
    {TColor(0x80000001), "clBackground"},
    {TColor(0x80000002), "clActiveCaption"},
    {TColor(0x80000003), "clInactiveCaption"},
    {TColor(0x80000004), "clMenu"},
    {TColor(0x80000005), "clWindow"},
    {TColor(0x80000006), "clWindowFrame"},
    {TColor(0x80000007), "clMenuText"},
    {TColor(0x80000008), "clWindowText"},
    {TColor(0x80000009), "clCaptionText"},
    {TColor(0x8000000A), "clActiveBorder"},
    {TColor(0x8000000B), "clInactiveBorder"},
    {TColor(0x8000000C), "clAppWorkSpace"},
    {TColor(0x8000000D), "clHighlight"},
    {TColor(0x8000000E), "clHighlightText"},
    {TColor(0x8000000F), "clBtnFace"},
    {TColor(0x80000010), "clBtnShadow"},
    {TColor(0x80000011), "clGrayText"},
    {TColor(0x80000012), "clBtnText"},
    {TColor(0x80000013), "clInactiveCaptionText"},
    {TColor(0x80000014), "clBtnHighlight"},
    {TColor(0x80000015), "cl3DDkShadow"},
    {TColor(0x80000016), "cl3DLight"},
    {TColor(0x80000017), "clInfoText"},
    {TColor(0x80000018), "clInfoBk"},
    {clNone, "clNone"},
};

// Names that streams from later libraries may hold; accepted when read.
const Named kReadOnlyColors[] = {
    {0xC0DCC0, "clMoneyGreen"},
    {0xF0CAA6, "clSkyBlue"},
    {0xF0FBFF, "clCream"},
    {0xA4A0A0, "clMedGray"},
    {clDefault, "clDefault"},
    {TColor(0x8000001A), "clHotLight"},
    {TColor(0x8000001B), "clGradientActiveCaption"},
    {TColor(0x8000001C), "clGradientInactiveCaption"},
    {TColor(0x8000001D), "clMenuHighlight"},
    {TColor(0x8000001E), "clMenuBar"},
    {0xC0C0C0, "clLtGray"},
    {0x808080, "clDkGray"},
};

// The classic desktop's system colours, RGB, by index.
const uint32_t kSystemRgb[] = {
    0xD4D0C8, 0x3A6EA5, 0x0A246A, 0x808080, 0xD4D0C8, 0xFFFFFF, 0x000000, 0x000000,
    0x000000, 0xFFFFFF, 0xD4D0C8, 0xD4D0C8, 0x808080, 0x0A246A, 0xFFFFFF, 0xD4D0C8,
    0x808080, 0x808080, 0x000000, 0xD4D0C8, 0xFFFFFF, 0x404040, 0xD4D0C8, 0x000000,
    0xFFFFE1, 0xB5B5B5, 0x000080, 0xA6CAF0, 0xC0C0C0, 0x316AC5, 0xECE9D8,
};

const Named kCursors[] = {
    {0, "crDefault"},   {-2, "crArrow"},    {-3, "crCross"},     {-4, "crIBeam"},    {-6, "crSizeNESW"},
    {-7, "crSizeNS"},   {-8, "crSizeNWSE"}, {-9, "crSizeWE"},    {-10, "crUpArrow"}, {-11, "crHourGlass"},
    {-12, "crDrag"},    {-13, "crNoDrop"},  {-14, "crHSplit"},   {-15, "crVSplit"},  {-16, "crMultiDrag"},
    {-17, "crSQLWait"}, {-18, "crNo"},      {-19, "crAppStart"}, {-20, "crHelp"},    {-21, "crHandPoint"},
    {-22, "crSizeAll"}, {-22, "crSize"},
};

const Named kCharsets[] = {
    {0, "ANSI_CHARSET"},      {1, "DEFAULT_CHARSET"},    {2, "SYMBOL_CHARSET"},
    {77, "MAC_CHARSET"},      {128, "SHIFTJIS_CHARSET"}, {129, "HANGEUL_CHARSET"},
    {130, "JOHAB_CHARSET"},   {134, "GB2312_CHARSET"},   {136, "CHINESEBIG5_CHARSET"},
    {161, "GREEK_CHARSET"},   {162, "TURKISH_CHARSET"},  {163, "VIETNAMESE_CHARSET"},
    {177, "HEBREW_CHARSET"},  {178, "ARABIC_CHARSET"},   {186, "BALTIC_CHARSET"},
    {204, "RUSSIAN_CHARSET"}, {222, "THAI_CHARSET"},     {238, "EASTEUROPE_CHARSET"},
    {255, "OEM_CHARSET"},
};

template <size_t N>
bool toIdent(const Named (&table)[N], int32_t value, QByteArray* ident) {
    for (const Named& n : table) {
        if (n.value == value) {
            *ident = n.name;
            return true;
        }
    }
    return false;
}

template <size_t N>
bool fromIdent(const Named (&table)[N], const QByteArray& ident, int32_t* value) {
    for (const Named& n : table) {
        if (qstricmp(n.name, ident.constData()) == 0) {
            *value = n.value;
            return true;
        }
    }
    return false;
}

}  // namespace

bool ColorToIdent(TColor color, QByteArray* ident) { return toIdent(kColors, color, ident); }

bool IdentToColor(const QByteArray& ident, TColor* color) {
    return fromIdent(kColors, ident, color) || fromIdent(kReadOnlyColors, ident, color);
}

QColor ToQColor(TColor color) {
    if (color == clNone || color == clDefault) return QColor(Qt::transparent);
    uint32_t rgb;
    if (uint32_t(color) & 0x80000000u) {
        const uint32_t index = uint32_t(color) & 0xFF;
        rgb = index < std::size(kSystemRgb) ? kSystemRgb[index] : 0;
        return QColor(int(rgb >> 16) & 0xFF, int(rgb >> 8) & 0xFF, int(rgb) & 0xFF);
    }
    rgb = uint32_t(color);
    return QColor(int(rgb) & 0xFF, int(rgb >> 8) & 0xFF, int(rgb >> 16) & 0xFF);
}

TColor FromQColor(const QColor& c) { return TColor(c.red() | (c.green() << 8) | (c.blue() << 16)); }

bool CursorToIdent(int cursor, QByteArray* ident) { return toIdent(kCursors, cursor, ident); }

bool IdentToCursor(const QByteArray& ident, int* cursor) { return fromIdent(kCursors, ident, cursor); }

bool IdentToCharset(const QByteArray& ident, int* charset) { return fromIdent(kCharsets, ident, charset); }

}  // namespace layout
