#pragma once

#include <QByteArray>
#include <QColor>
#include <QFont>
#include <QImage>
#include <QPointF>
#include <QRectF>
#include <QSizeF>
#include <QString>
#include <vector>

// The page stream: what a report draws, kept as plain data. A page is a list of
// drawing operations in the order they were made; every position is in inches from the
// physical top-left corner of the sheet, after the report's origin and scale. The
// printer output plays each page to the device as soon as it is finished and drops it;
// the preview output keeps the pages for the preview window; tests read them directly.

// How a shape's outline is drawn. Width is in inches (a device pixel of the report's
// device for a width of 0 or 1 dot); `mode` is the raster mode, of which only "copy"
// and the xor modes have a meaning on screen (printers always copy).
struct PenSpec {
    enum class Mode { Copy, Xor, NotXor, Not };
    QColor color = Qt::black;
    Qt::PenStyle style = Qt::SolidLine;
    double width = 0.0;
    Mode mode = Mode::Copy;
};

// How a shape is filled; Qt::NoBrush leaves the inside alone.
struct BrushSpec {
    QColor color = Qt::white;
    Qt::BrushStyle style = Qt::SolidPattern;
};

struct DrawOp {
    enum class Kind {
        Text,       // `text` with its baseline starting at `p1`, in `font`, `color`, turned by
                    // `rotation` degrees counter-clockwise about p1; clipped to `rect` unless empty
        Rect,       // `rect`, outlined with `pen`, filled with `brush`
        RoundRect,  // `rect` with corner ellipses of size `corner`
        Ellipse,    // the ellipse inside `rect`
        Line,       // from p1 to p2 with `pen`
        Image,      // `image` stretched into `rect`
        Metafile,   // the Windows metafile `data` played into `rect`
    };
    Kind kind = Kind::Text;
    QRectF rect;
    QPointF p1, p2;
    QSizeF corner;
    QString text;
    QFont font;
    QColor color;
    int rotation = 0;
    PenSpec pen;
    BrushSpec brush;
    QImage image;
    QByteArray data;
    // Where the operation may ink at all, besides its own clip: the edge of the label or
    // envelope being drawn. Null: anywhere on the sheet.
    QRectF area;
};

struct Page {
    int number = 0;  // the report's page number, counting from 1
    QSizeF size;     // the physical sheet, inches
    std::vector<DrawOp> ops;
};

// The pages a preview job made. The caller creates and owns it, hands it to the
// filer for the job and to the preview window afterwards.
struct PageStream {
    std::vector<Page> pages;
};
