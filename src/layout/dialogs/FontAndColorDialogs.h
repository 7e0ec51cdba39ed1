#pragma once

class QColor;
class QWidget;
struct LayoutFont;

// The font and colour dialogs of the designers: Qt's own dialogs rather than the
// desktop's, so that they look the same everywhere and tests can drive them.
namespace layoutdialogs {

// Seeded with `font` (name, size, styles); OK replaces them and keeps the colour.
bool PickFont(LayoutFont& font, QWidget* parent);
// Seeded with `color`; OK replaces it.
bool PickColor(QColor& color, QWidget* parent);

}  // namespace layoutdialogs
