#pragma once

#include <QFont>
#include <QString>
#include <QStringList>
#include <vector>

#include "LayoutColors.h"
#include "LayoutEnums.h"
#include "LayoutFont.h"

class LayoutPicture;
class TGBaseLabel;
class TGCounterLabel;
class TGDataSet;
class TGImage;
class TGMultiLineLabel;
class TGPLabel;
class TGSymbolLabel;

// What the object dialogs do to an object on OK, apart from the windows that gather
// the values: the designer's dialogs, the tests and any other front end share these.
namespace layout {

// ---- fonts of the font dialogs ----
// The font a font dialog starts from: the name, the point size and the styles.
QFont DialogFont(const LayoutFont& font);
// `base` with the name, size and styles of a font the user chose; the colour, pitch
// and character set stay as they were (the dialog does not choose them).
LayoutFont FromDialogFont(const QFont& chosen, const LayoutFont& base);

// ---- "Text" ----
// Takes the caption and grows the object to hold it.
void ApplyText(TGPLabel& label, const QString& caption);

// ---- "Text 3D Effects" ----
struct TextEffects {
    LayoutFont font;
    TShadowDirection shadowDirection = sdDownRight;
    int shadowDepth = 0;  // 0 to 10
    THighlightDirection highlightDirection = hdUpLeft;
    int highlightDepth = 0;  // 0 to 10
    TColor shadowColor = clGray;
    TColor highlightColor = clAqua;
};
TextEffects ReadTextEffects(const TGBaseLabel& label);
// The font and the six effect values; depths are held to 0 to 10.
void ApplyTextEffects(TGBaseLabel& label, const TextEffects& effects);

// ---- "Select Field" ----
struct OfferedField {
    QString name;   // "CITY"
    QString label;  // "City", what the list shows and what binds the object
};
// The fields a data or memo object may bind to, in field order: the visible text
// fields, or the memo fields. Empty without a data set.
std::vector<OfferedField> OfferedFields(const TGDataSet* data, bool memo);
// The list entry to preselect: the one whose label is `current`, else the first; -1
// when the list is empty.
int PreselectedField(const std::vector<OfferedField>& fields, const QString& current);

// ---- "Counter" ----
struct CounterSettings {
    int startingNumber = 1;
    int repeatEach = 1;  // 1 to 999
    QString textBefore;
    QString textAfter;
    int leadingZeros = 0;  // 0 to 9
};
CounterSettings ReadCounterSettings(const TGCounterLabel& counter);
// Sets the five values (a new starting number restarts the count), composes the text
// and, when the counter is not rotated, shrinks it and fits it to that text.
void ApplyCounterSettings(TGCounterLabel& counter, const CounterSettings& settings);

// ---- "Symbol Selector" ----
// The characters offered are codes 32 to 255 of the font's single-byte code page.
constexpr int kFirstSymbolCode = 32;
constexpr int kLastSymbolCode = 255;
// The character a symbol code stands for in a layout's text, and back (-1 when the
// text is not one such character).
QString SymbolCharacter(int code);
int SymbolCode(const QString& caption);
// How many columns the character list has for a font of `points`: the larger the
// characters, the fewer fit across.
int SymbolListColumns(int points);
// What the font button says: "Arial, 24pt Bold ".
QString SymbolFontCaption(const LayoutFont& font);
// Takes the font and the character and sizes the object to it.
void ApplySymbol(TGSymbolLabel& symbol, const LayoutFont& font, int code);

// ---- "Multi-line Text Editor" ----
// The most characters the editor holds; a line break counts as one.
constexpr int kMultiLineTextLimit = 254;
QString MultiLineText(const TGMultiLineLabel& label);
// Replaces the lines with those of `text` (cut to the limit) and wraps them afresh.
void ApplyMultiLineText(TGMultiLineLabel& label, const QString& text);

// ---- "Load Image File (BMP/WMF)" ----
// Whether the file list shows `fileName`: .bmp and .wmf in any letter case.
bool IsImageFileName(const QString& fileName);
// Gives the object the picture and the two boxes' states (AutoSize wins when both are
// given, as the boxes never allow both); with AutoSize it takes the picture's size.
void ApplyImage(TGImage& image, const LayoutPicture& picture, bool stretch, bool autoSize);
// The same with the picture of a file. False when the file cannot be read: the object
// is then left exactly as it was.
bool ApplyImageFile(TGImage& image, const QString& path, bool stretch, bool autoSize);

}  // namespace layout
