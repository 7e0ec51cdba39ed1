#include "DeviceMetrics.h"

#include <QPageLayout>
#include <QRectF>

DeviceMetrics DeviceMetrics::fromPageLayout(const QPageLayout& layout, double dpiX, double dpiY) {
    // Millimetres keep two decimals, where Qt's inches would keep only two.
    const QRectF fullMm = layout.fullRect(QPageLayout::Millimeter);
    const QRectF paintMm = layout.paintRect(QPageLayout::Millimeter);
    const QRectF full(fullMm.topLeft() / 25.4, fullMm.size() / 25.4);
    const QRectF paint(paintMm.topLeft() / 25.4, paintMm.size() / 25.4);
    DeviceMetrics m;
    m.pageWidth = full.width();
    m.pageHeight = full.height();
    m.offsetLeft = paint.left();
    m.offsetTop = paint.top();
    m.offsetRight = full.width() - paint.right();
    m.offsetBottom = full.height() - paint.bottom();
    m.dpiX = dpiX;
    m.dpiY = dpiY;
    return m;
}
