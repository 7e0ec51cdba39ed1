#include "PagePainter.h"

#include <QPaintDevice>
#include <QPaintEngine>
#include <cmath>

#include "WmfPlayer.h"

PagePainter::PagePainter(QPainter& painter, const DeviceMetrics& device)
    : painter_(painter), device_(device) {
    // QPainter sizes a point-sized font by the logical resolution of its device; the
    // stream's fonts are meant for `device`, so text is scaled by the ratio.
    if (QPaintDevice* target = painter.device()) {
        if (target->logicalDpiX() > 0) fontScaleX_ = device.dpiX / target->logicalDpiX();
        if (target->logicalDpiY() > 0) fontScaleY_ = device.dpiY / target->logicalDpiY();
    }
    rasterOps_ = painter.paintEngine() && painter.paintEngine()->hasFeature(QPaintEngine::RasterOpModes);
}

double PagePainter::toX(double inches) const {
    return std::round((inches - device_.offsetLeft) * device_.dpiX);
}

double PagePainter::toY(double inches) const {
    return std::round((inches - device_.offsetTop) * device_.dpiY);
}

QRectF PagePainter::toRect(const QRectF& r) const {
    const double left = toX(r.left()), top = toY(r.top());
    return QRectF(left, top, toX(r.right()) - left, toY(r.bottom()) - top);
}

void PagePainter::play(const Page& page) {
    for (const DrawOp& op : page.ops) draw(op);
}

void PagePainter::applyPen(const PenSpec& design) {
    if (design.style == Qt::NoPen) {
        painter_.setPen(Qt::NoPen);
    } else {
        // A width under one device pixel is the thinnest line the device draws.
        const double width = design.width * device_.dpiX;
        QPen pen(design.color, width < 1.0 ? 0.0 : width, design.style, Qt::SquareCap, Qt::MiterJoin);
        painter_.setPen(pen);
    }
    if (!rasterOps_) return;
    switch (design.mode) {
        case PenSpec::Mode::Copy:
            painter_.setCompositionMode(QPainter::CompositionMode_SourceOver);
            break;
        case PenSpec::Mode::Xor:
            painter_.setCompositionMode(QPainter::RasterOp_SourceXorDestination);
            break;
        case PenSpec::Mode::NotXor:
            painter_.setCompositionMode(QPainter::RasterOp_NotSourceXorDestination);
            break;
        case PenSpec::Mode::Not:
            painter_.setCompositionMode(QPainter::RasterOp_NotDestination);
            break;
    }
}

void PagePainter::draw(const DrawOp& op) {
    if (!op.area.isNull()) {
        painter_.save();
        painter_.setClipRect(toRect(op.area), Qt::IntersectClip);
        drawOp(op);
        painter_.restore();
    } else {
        drawOp(op);
    }
}

void PagePainter::drawOp(const DrawOp& op) {
    switch (op.kind) {
        case DrawOp::Kind::Text: {
            painter_.save();
            if (!op.rect.isEmpty()) painter_.setClipRect(toRect(op.rect), Qt::IntersectClip);
            painter_.translate(toX(op.p1.x()), toY(op.p1.y()));
            if (op.rotation != 0) painter_.rotate(-op.rotation);
            painter_.scale(fontScaleX_, fontScaleY_);
            painter_.setFont(op.font);
            painter_.setPen(op.color);
            painter_.drawText(QPointF(0, 0), op.text);
            painter_.restore();
            break;
        }
        case DrawOp::Kind::Rect:
        case DrawOp::Kind::RoundRect:
        case DrawOp::Kind::Ellipse: {
            painter_.save();
            applyPen(op.pen);
            painter_.setBrush(QBrush(op.brush.color, op.brush.style));
            const QRectF r = toRect(op.rect);
            if (op.kind == DrawOp::Kind::Rect) {
                painter_.drawRect(r);
            } else if (op.kind == DrawOp::Kind::Ellipse) {
                painter_.drawEllipse(r);
            } else {
                painter_.drawRoundedRect(r, op.corner.width() * device_.dpiX / 2,
                                         op.corner.height() * device_.dpiY / 2, Qt::AbsoluteSize);
            }
            painter_.restore();
            break;
        }
        case DrawOp::Kind::Line:
            painter_.save();
            applyPen(op.pen);
            painter_.drawLine(QPointF(toX(op.p1.x()), toY(op.p1.y())),
                              QPointF(toX(op.p2.x()), toY(op.p2.y())));
            painter_.restore();
            break;
        case DrawOp::Kind::Image:
            painter_.drawImage(toRect(op.rect), op.image);
            break;
        case DrawOp::Kind::Metafile:
            painter_.save();
            WmfPlayer::play(painter_, op.data, toRect(op.rect));
            painter_.restore();
            break;
    }
}
