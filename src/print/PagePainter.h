#pragma once

#include <QPainter>

#include "DeviceMetrics.h"
#include "PageStream.h"

// Plays a page of the stream onto any painter: the printer's, a PDF writer's or the
// preview's image. A position x in inches lands on device pixel
// round((x - offset) * dots per inch), with the offsets and resolution of `device`;
// the painter's own pixel (0, 0) is the device's. Fonts are sized for the resolution
// of `device`, whatever the painter's device thinks its resolution is.
class PagePainter {
  public:
    PagePainter(QPainter& painter, const DeviceMetrics& device);

    void play(const Page& page);
    void draw(const DrawOp& op);

    double toX(double inches) const;
    double toY(double inches) const;
    QRectF toRect(const QRectF& inches) const;

  private:
    void drawOp(const DrawOp& op);
    void applyPen(const PenSpec& pen);

    QPainter& painter_;
    DeviceMetrics device_;
    double fontScaleX_ = 1.0;
    double fontScaleY_ = 1.0;
    bool rasterOps_ = false;
};
