#pragma once

#include <QFont>
#include <QString>

#include "LayoutColors.h"
#include "LayoutEnums.h"

// The font of a text object, as layout files store it: the height in layout pixels, 96
// per inch (negative: the character height; positive: the cell height), not the point
// size.
struct LayoutFont {
    int Charset = 1;  // DEFAULT_CHARSET; read from streams, never written
    TColor Color = clBlack;
    int Height = -13;
    QString Name = "Arial";
    TFontPitch Pitch = fpDefault;
    TFontStyles Style = 0;

    // Points, from the height at 96 pixels per inch.
    int Size() const;
    // The exact size the height gives, in points (13 pixels: 9.75). Print uses it, so
    // that text takes the room on paper it takes in the designer; Size() rounds it to
    // whole points and would print a "10 point" font 2.5% wider than it is shown.
    double PrintPoints() const;
    void SetSize(int points);

    bool has(TFontStyle s) const { return Style & (1u << s); }
    void set(TFontStyle s, bool on) { Style = on ? Style | (1u << s) : Style & ~(1u << s); }

    // The font for the screen at `zoom`: the point size × zoom, truncated, when zoomed.
    QFont ToQFont(float zoom = 1.0f) const;

    // A font of `points` in `name`, black, no style.
    static LayoutFont Make(const QString& name, int points);

    bool operator==(const LayoutFont& o) const {
        return Charset == o.Charset && Color == o.Color && Height == o.Height && Name == o.Name &&
               Pitch == o.Pitch && Style == o.Style;
    }
    bool operator!=(const LayoutFont& o) const { return !(*this == o); }
};
