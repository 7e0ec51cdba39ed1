#pragma once

#include "LayoutBrush.h"
#include "LayoutPen.h"
#include "TGGraphicControl.h"

// A rectangle, rounded rectangle or ellipse with an outline and a fill.
class TGLabelShapes : public TGGraphicControl {
  public:
    TGLabelShapes();
    const char* ClassName() const override { return "TGLabelShapes"; }

    // True: the fill is clear; false: solid.
    bool Transparent() const { return transparent_; }
    void SetTransparent(bool on);
    const LayoutBrush& Brush() const { return brush_; }
    void SetBrush(const LayoutBrush& brush);
    const LayoutPen& Pen() const { return pen_; }
    void SetPen(const LayoutPen& pen);
    int RoundPerc = 25;
    TShapeType Shape = stRectangle;

    // The figure on screen, in object pixels.
    QRect ScreenFigure() const;
    int ScreenPenWidth() const;
    // The corner ellipse of rounded shapes on screen.
    int ScreenCorner() const;
    // The outline width on paper, inches: N pixels at `ppi` truncated to hundredths.
    static double PrintedOutline(int penWidth, int ppi);

    void Paint(QPainter& painter) override;
    void PrintTo(TBaseReport& report, double x, double y) override;

    void WriteProperties(layout::PropertyWriter& w) const override;
    layout::ReadResult ReadProperty(const layout::PropertyReader& r) override;

  private:
    bool transparent_ = false;
    LayoutBrush brush_;
    LayoutPen pen_;
};
