#include "TGBasePanel.h"

#include <QFileInfo>
#include <QImage>
#include <QPaintEngine>
#include <QPainter>
#include <algorithm>
#include <cmath>

#include "TBaseReport.h"
#include "TGGraphicControl.h"
#include "TGLabelObjectFiler.h"
#include "TGOwner.h"
#include "WmfPlayer.h"

TGBasePanel::TGBasePanel(TGOwner* owner) : owner_(owner) {
    if (!owner_) {
        ownOwner_ = std::make_unique<TGOwner>();
        owner_ = ownOwner_.get();
    }
    Font = LayoutFont::Make("Arial", 10);
}

TGBasePanel::~TGBasePanel() {
    // Objects go before a private owner does.
    objects_.clear();
}

void TGBasePanel::SetSize(int width, int height) {
    width_ = width;
    height_ = height;
    storedWidth_ = zoom_ == 1.0f ? width : int(std::nearbyint(float(width) / zoom_));
    storedHeight_ = zoom_ == 1.0f ? height : int(std::nearbyint(float(height) / zoom_));
}

void TGBasePanel::SetZoom(float zoom) {
    if (zoom == zoom_ || zoom <= 0.0f) return;
    // From the size at zoom 1.0, so that zooming in and out never changes it.
    width_ = int(std::nearbyint(float(storedWidth_) * zoom));
    height_ = int(std::nearbyint(float(storedHeight_) * zoom));
    zoom_ = zoom;
    for (const auto& o : objects_) o->ScaleToZoom(zoom);
}

int TGBasePanel::IndexOf(const TGGraphicControl* object) const {
    for (size_t i = 0; i < objects_.size(); ++i)
        if (objects_[i].get() == object) return int(i);
    return -1;
}

TGGraphicControl* TGBasePanel::InsertObject(std::unique_ptr<TGGraphicControl> object) {
    TGGraphicControl* o = object.get();
    o->parent_ = this;
    objects_.push_back(std::move(object));
    return o;
}

std::unique_ptr<TGGraphicControl> TGBasePanel::RemoveObject(TGGraphicControl* object) {
    const int i = IndexOf(object);
    if (i < 0) return nullptr;
    std::unique_ptr<TGGraphicControl> out = std::move(objects_[size_t(i)]);
    objects_.erase(objects_.begin() + i);
    out->parent_ = nullptr;
    return out;
}

void TGBasePanel::DeleteObject(TGGraphicControl* object) { RemoveObject(object).reset(); }

void TGBasePanel::ClearObjects() { objects_.clear(); }

void TGBasePanel::BringToFront(TGGraphicControl* object) {
    std::unique_ptr<TGGraphicControl> o = RemoveObject(object);
    if (!o) return;
    o->parent_ = this;
    objects_.push_back(std::move(o));
}

void TGBasePanel::SendToBack(TGGraphicControl* object) {
    std::unique_ptr<TGGraphicControl> o = RemoveObject(object);
    if (!o) return;
    o->parent_ = this;
    objects_.insert(objects_.begin(), std::move(o));
}

void TGBasePanel::RefreshData() {
    for (const auto& o : objects_) o->RefreshData();
}

void TGBasePanel::PrintObjects(TBaseReport& report, double x, double y) {
    for (const auto& o : objects_) o->PrintTo(report, x, y);
}

void TGBasePanel::AdvanceCounters() {
    for (const auto& o : objects_) o->AdvanceCounter();
}

void TGBasePanel::ResetCounters() {
    for (const auto& o : objects_) o->ResetCounter();
}

void TGBasePanel::KeepObjectsInside() {
    for (const auto& o : objects_) {
        if (o->Top() > height_ - 10) o->SetTop(height_ - 10);
        if (o->Left() > width_ - 20) o->SetLeft(width_ - 20);
    }
}

void TGBasePanel::RemoveObjectsOutside() {
    for (size_t i = objects_.size(); i-- > 0;) {
        const TGGraphicControl* o = objects_[i].get();
        if (o->Top() > height_ - 10 || o->Left() > width_ - 10 || o->Width() < 1 || o->Height() < 1)
            objects_.erase(objects_.begin() + long(i));
    }
}

LayoutStatus TGBasePanel::SaveToFile(const QString& fileName) {
    // The objects write their bounds at zoom 1.0 themselves, so the panel need not be
    // unzoomed and zoomed again (which could move objects by a pixel on screen).
    for (const auto& o : objects_) o->PrepareForSave();
    const LayoutStatus status = TGLabelObjectFiler().SaveObjects(*this, fileName);
    RefreshData();
    return status;
}

LayoutStatus TGBasePanel::LoadFromFile(const QString& fileName) {
    if (!QFileInfo::exists(fileName)) return LayoutStatus::OK();
    const LayoutStatus status = TGLabelObjectFiler().LoadObjects(owner_, *this, fileName);
    RefreshData();
    return status;
}

void TGBasePanel::BindObject(TGGraphicControl* object) { object->ScaleToZoom(zoom_); }

QPainterPath TGBasePanel::ShapePath() const {
    QPainterPath path;
    const QRectF r(0, 0, width_ + 1, height_ + 1);
    switch (Shape) {
        case lsRectangle:
            path.addRect(r);
            break;
        case lsRoundRect:
            path.addRoundedRect(r, 12, 12);
            break;
        case lsEllipse:
            path.addEllipse(r);
            break;
    }
    return path;
}

namespace {

void drawPicture(QPainter& painter, const LayoutPicture& picture, const QRectF& target) {
    if (picture.kind() == LayoutPicture::Kind::Bitmap && !picture.bitmap().isNull()) {
        painter.drawImage(target, picture.bitmap());
    } else if (picture.kind() == LayoutPicture::Kind::Metafile) {
        WmfPlayer::play(painter, picture.image(), target);
    }
}

}  // namespace

void TGBasePanel::PaintBackground(QPainter& painter) {
    const QRectF all(0, 0, width_, height_);
    painter.fillRect(all, Qt::white);
    const QPainterPath shape = ShapePath();
    for (const LayoutPicture* picture : {&Picture, &ColorPicture}) {
        if (picture->isEmpty()) continue;
        painter.save();
        painter.setClipPath(shape);
        drawPicture(painter, *picture, all);
        painter.restore();
    }
    if (DrawOutline) {
        painter.save();
        painter.setPen(QPen(Qt::black, 0, Qt::DotLine));
        painter.setBrush(Qt::NoBrush);
        painter.drawPath(shape);
        painter.restore();
    }
    if (ShowGrid) {
        // An 8 × 8 pattern ANDed onto the panel: green dots, white (no change) elsewhere.
        // Where the painter has no raster operations the dots are simply drawn.
        const bool rasterOps =
            painter.paintEngine() && painter.paintEngine()->hasFeature(QPaintEngine::RasterOpModes);
        QImage pattern(8, 8, QImage::Format_ARGB32);
        pattern.fill(rasterOps ? QColor(Qt::white) : QColor(Qt::transparent));
        const QColor dot(0, 128, 0);
        if (GridSize == gs4x4) {
            for (int x : {2, 6})
                for (int y : {2, 6}) pattern.setPixelColor(x, y, dot);
        } else {
            pattern.setPixelColor(2, 2, dot);
        }
        painter.save();
        painter.setClipPath(shape);
        if (rasterOps) painter.setCompositionMode(QPainter::RasterOp_SourceAndDestination);
        painter.fillRect(all, QBrush(pattern));
        painter.restore();
    }
}

void TGBasePanel::Paint(QPainter& painter) {
    PaintBackground(painter);
    for (const auto& o : objects_) {
        painter.save();
        painter.translate(o->Left(), o->Top());
        painter.setClipRect(0, 0, o->Width(), o->Height(), Qt::IntersectClip);
        o->Paint(painter);
        painter.restore();
    }
}
