#pragma once

#include <QIcon>
#include <QString>

class QAction;
class QToolBar;
struct LayoutFont;

// Pieces the designers share: the small icons of their drawing tools and the caption of
// their default-font button.

// The tool icon drawn for `glyph`: 'P' the selection arrow, 'R' 'E' 'O' the shapes, 'L' a
// line, 'I' a picture, 'B' 'T' barcodes, 'X' FIM, 'D' address lines, 'M' multi-line text,
// 'C' a clock (date and time), 'F' 'N' a field in a box; any other glyph is drawn as
// its letter.
QIcon DesignToolIcon(char glyph);

// "Default Font: Arial, 10 pt " with ", bold" and ", italic" after it when they apply.
QString DefaultFontCaption(const LayoutFont& font);
// The same caption as the default-font button's text: Alt+F presses it ("De&fault"),
// and an "&" in the font's name shows as itself.
QString DefaultFontButtonText(const LayoutFont& font);

// The toggles every designer has, added to `bar`: "Show grid", "Snap to Grid" and
// "Toggle display of field names or field values" (object names ShowGrid, SnapToGrid,
// FieldNames), checkable, off.
struct ViewToggles {
    QAction* showGrid;
    QAction* snapToGrid;
    QAction* fieldNames;
};
ViewToggles AddViewToggles(QToolBar* bar);
