#include "TGImage.h"

#include <QPainter>

#include "LayoutMetrics.h"
#include "TBaseReport.h"
#include "WmfPlayer.h"

using layout::PropertyReader;
using layout::PropertyWriter;
using layout::ReadResult;

TGImage::TGImage() { SetSizeSilently(105, 105); }

void TGImage::SetAutoSize(bool on) {
    autoSize_ = on;
    if (on) stretch_ = false;
    PictureChanged();
}

void TGImage::SetStretch(bool on) {
    stretch_ = on;
    if (on) autoSize_ = false;
}

void TGImage::SetPicture(const LayoutPicture& picture) {
    picture_ = picture;
    PictureChanged();
}

bool TGImage::LoadFromFile(const QString& path) {
    LayoutPicture p;
    if (!LayoutPicture::LoadFromFile(path, &p)) {
        SetPicture(LayoutPicture());
        return false;
    }
    SetPicture(p);
    return true;
}

void TGImage::PictureChanged() {
    if (autoSize_ && !picture_.size().isEmpty())
        SetBounds(Left(), Top(), picture_.size().width(), picture_.size().height());
}

void TGImage::Paint(QPainter& painter) {
    if (Zoom() == 1.0f && autoSize_ && !picture_.size().isEmpty() &&
        picture_.size() != QSize(Width(), Height()))
        SetSizeSilently(picture_.size().width(), picture_.size().height());
    const QRect all(0, 0, Width(), Height());
    if (picture_.isEmpty()) {
        painter.save();
        painter.setPen(QPen(Qt::black, 0, Qt::DashLine));
        painter.setBrush(Qt::NoBrush);
        painter.drawRect(0, 0, Width() - 1, Height() - 1);
        painter.restore();
    } else {
        const bool stretched = stretch_ || Zoom() != 1.0f || picture_.size().isEmpty();
        const QRect target = stretched ? all : QRect(QPoint(0, 0), picture_.size());
        painter.save();
        painter.setClipRect(all, Qt::IntersectClip);
        if (picture_.kind() == LayoutPicture::Kind::Bitmap && !picture_.bitmap().isNull()) {
            painter.drawImage(target, picture_.bitmap());
        } else if (picture_.kind() == LayoutPicture::Kind::Metafile) {
            WmfPlayer::play(painter, picture_.image(), target);
        }
        painter.restore();
    }
    PaintHandles(painter);
}

void TGImage::PrintTo(TBaseReport& report, double x, double y) {
    const double ppi = layout::kPixelsPerInch;
    const ReportRect r = report.makeRect(x + Left() / ppi, y + Top() / ppi, x + (Left() + Width()) / ppi,
                                         y + (Top() + Height()) / ppi);
    // Printed to the object's rectangle whatever Stretch says.
    if (picture_.kind() == LayoutPicture::Kind::Bitmap && !picture_.bitmap().isNull()) {
        report.stretchDraw(r, picture_.bitmap());
    } else if (picture_.kind() == LayoutPicture::Kind::Metafile && !picture_.isEnhanced()) {
        report.playMetafile(r, picture_.image());
    }
}

void TGImage::WriteProperties(PropertyWriter& w) const {
    TGGraphicControl::WriteProperties(w);
    w.boolean("AutoSize", autoSize_, false);
    w.picture("Picture", picture_);
    w.boolean("Stretch", stretch_, true);
}

ReadResult TGImage::ReadProperty(const PropertyReader& r) {
    if (r.is("AutoSize")) return r.boolean(&autoSize_);
    if (r.is("Stretch")) return r.boolean(&stretch_);
    const ReadResult picture = r.picture("Picture", &picture_);
    if (picture != ReadResult::Unknown) return picture;
    return TGGraphicControl::ReadProperty(r);
}
