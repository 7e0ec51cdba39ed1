#pragma once

#include <QByteArray>
#include <QPainter>
#include <QRectF>

// Plays a Windows metafile (WMF, with or without the placeable header) into a
// rectangle of a painter: the pictures that layouts store as metafiles.
//
// The metafile's window (its placeable bounding box, else what SetWindowOrg and
// SetWindowExt say) is stretched onto `target`. It draws with pens, solid and hatched
// brushes and fonts: lines, polylines, polygons, rectangles, rounded rectangles,
// ellipses, text and device-independent bitmaps. Other records (arcs, regions, raster
// operations) are skipped, but an object one of them creates still takes its slot, so
// later selections find the right objects.
class WmfPlayer {
  public:
    // False when `data` is not a metafile; the painter is left as it was.
    static bool play(QPainter& painter, const QByteArray& data, const QRectF& target);
};
