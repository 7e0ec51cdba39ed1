#pragma once

#include <QByteArray>
#include <QColor>
#include <cstdint>

// Colours of layout objects: 0x00BBGGRR for an RGB colour, 0x80000000 plus a
// system-colour index for a system colour, as layout files have always stored them.
using TColor = int32_t;

constexpr TColor clBlack = 0x000000;
constexpr TColor clMaroon = 0x000080;
constexpr TColor clGreen = 0x008000;
constexpr TColor clOlive = 0x008080;
constexpr TColor clNavy = 0x800000;
constexpr TColor clPurple = 0x800080;
constexpr TColor clTeal = 0x808000;
constexpr TColor clGray = 0x808080;
constexpr TColor clSilver = 0xC0C0C0;
constexpr TColor clRed = 0x0000FF;
constexpr TColor clLime = 0x00FF00;
constexpr TColor clYellow = 0x00FFFF;
constexpr TColor clBlue = 0xFF0000;
constexpr TColor clFuchsia = 0xFF00FF;
constexpr TColor clAqua = 0xFFFF00;
constexpr TColor clWhite = 0xFFFFFF;
constexpr TColor clNone = 0x1FFFFFFF;
constexpr TColor clDefault = 0x20000000;
constexpr TColor clWindowText = TColor(0x80000008);
constexpr TColor clBtnFace = TColor(0x8000000F);

namespace layout {

// The identifier a colour is written as, when it has one ("clWhite",
// "clBtnFace", ...). Names that later libraries added are read but never written.
bool ColorToIdent(TColor color, QByteArray* ident);
// Either a written name or one of the later additions; letter case does not matter.
bool IdentToColor(const QByteArray& ident, TColor* color);

// The colour to draw with. System colours take the classic desktop's values, so that
// a layout prints the same everywhere; clNone and clDefault are transparent.
QColor ToQColor(TColor color);
TColor FromQColor(const QColor& color);

// Cursor values and their names ("crDefault" 0 ... "crSizeAll" -22). -1 has no name
// and is written as a number.
bool CursorToIdent(int cursor, QByteArray* ident);
bool IdentToCursor(const QByteArray& ident, int* cursor);

// Font character sets ("DEFAULT_CHARSET" 1, ...), read but never written.
bool IdentToCharset(const QByteArray& ident, int* charset);

}  // namespace layout
