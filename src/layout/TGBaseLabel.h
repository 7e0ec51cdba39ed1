#pragma once

#include <QString>

#include "LayoutColors.h"
#include "LayoutEnums.h"
#include "LayoutFont.h"
#include "SingleLineLayout.h"
#include "TGGraphicControl.h"

class QFontMetrics;

// Single-line text with a font, a 3D shadow and highlight, rotation by quarter turns,
// alignment and an optional background. It measures itself (the text rectangles and
// start points of the three runs, and its own size) whenever something that affects
// the text changed, before it paints or prints.
class TGBaseLabel : public TGGraphicControl {
  public:
    TGBaseLabel();

    // ---- published properties ----
    TAlignment Alignment() const { return alignment_; }
    void SetAlignment(TAlignment a);
    int DepthHighlight() const { return depthHighlight_; }
    void SetDepthHighlight(int depth);
    int DepthShadow() const { return depthShadow_; }
    void SetDepthShadow(int depth);
    THighlightDirection DirectionHighlight() const { return directionHighlight_; }
    void SetDirectionHighlight(THighlightDirection d);
    TShadowDirection DirectionShadow() const { return directionShadow_; }
    void SetDirectionShadow(TShadowDirection d);
    TColor ColorHighlight() const { return colorHighlight_; }
    void SetColorHighlight(TColor c);
    TColor ColorShadow() const { return colorShadow_; }
    void SetColorShadow(TColor c);
    int Angle() const { return angle_; }
    // 0, 90, 180 or 270; other values are ignored. A turn to 90 or 270 makes a wide
    // object tall (and back), and any turn left-aligns the text.
    void SetAngle(int angle);
    const QString& Caption() const { return caption_; }
    void SetCaption(const QString& caption);
    const LayoutFont& Font() const { return font_; }
    void SetFont(const LayoutFont& font);
    bool Transparent() const { return transparent_; }
    void SetTransparent(bool on);
    TColor BackColor() const { return backColor_; }
    void SetBackColor(TColor c);

    // ---- measuring ----
    // The text geometry, measured afresh when something changed.
    const layout::SingleLineLayout& TextLayout();
    // Grows the object to hold its text (at angle 0 only; it never shrinks here).
    void FitToText();

    void BeginReading() override { caption_.clear(); }
    void Paint(QPainter& painter) override;
    void BoundsChanged() override;
    void ApplyFont(const LayoutFont& font) override;
    void PrintTo(TBaseReport& report, double x, double y) override;

    void WriteProperties(layout::PropertyWriter& w) const override;
    layout::ReadResult ReadProperty(const layout::PropertyReader& r) override;

  protected:
    // Lets a kind put its text into Caption before painting (report null) or printing.
    virtual void ComposeCaption(TBaseReport* report);
    // Re-measures before the next paint or print.
    void MarkForMeasuring() { needsMeasuring_ = true; }
    void Measure();
    QFont ScreenFont() const;

  private:
    TAlignment alignment_ = taLeftJustify;
    int depthHighlight_ = 0;
    int depthShadow_ = 0;
    THighlightDirection directionHighlight_ = hdUpLeft;
    TShadowDirection directionShadow_ = sdDownRight;
    TColor colorHighlight_ = clAqua;
    TColor colorShadow_ = clGray;
    int angle_ = 0;
    QString caption_ = "Text";
    LayoutFont font_;
    bool transparent_ = true;
    TColor backColor_ = clWhite;

    bool needsMeasuring_ = true;
    layout::SingleLineLayout layout_;
};
