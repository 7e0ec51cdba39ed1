#pragma once

#include "LayoutPen.h"
#include "TGGraphicControl.h"

// A straight line: horizontal, vertical, or a diagonal of the object's rectangle.
class TGLineShape : public TGGraphicControl {
  public:
    TGLineShape();
    const char* ClassName() const override { return "TGLineShape"; }

    TLineStyle LineStyle() const { return lineStyle_; }
    void SetLineStyle(TLineStyle style);
    const LayoutPen& Pen() const { return pen_; }
    void SetPen(const LayoutPen& pen);

    // A horizontal line spans the panel's width, a vertical one its height.
    void StretchToEdges();

    // The line on screen, in object pixels, with the pen width used.
    struct ScreenLine {
        QPoint from, to;
        int penWidth;
    };
    ScreenLine ScreenGeometry() const;

    void Paint(QPainter& painter) override;
    void PrintTo(TBaseReport& report, double x, double y) override;

    void WriteProperties(layout::PropertyWriter& w) const override;
    layout::ReadResult ReadProperty(const layout::PropertyReader& r) override;

  private:
    TLineStyle lineStyle_ = stHorizontal;
    LayoutPen pen_;
};
