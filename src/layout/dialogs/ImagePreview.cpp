#include "ImagePreview.h"

#include <QPainter>

#include "WmfPlayer.h"

ImagePreview::ImagePreview(QWidget* parent) : QFrame(parent) {
    setFrameShape(QFrame::StyledPanel);
    setAutoFillBackground(true);
    QPalette p = palette();
    p.setColor(QPalette::Window, Qt::white);
    setPalette(p);
}

void ImagePreview::setPicture(const LayoutPicture& picture) {
    picture_ = picture;
    update();
}

void ImagePreview::setNaturalSize(bool on) {
    natural_ = on;
    update();
}

QRect ImagePreview::pictureRect() const {
    const QSize size = picture_.size();
    if (picture_.isEmpty() || size.isEmpty()) return QRect();
    const QRect frame = rect().adjusted(5, 5, -5, -5);
    if (natural_) return QRect(frame.topLeft(), size);
    const QSize fitted = size.scaled(frame.size(), Qt::KeepAspectRatio);
    return QRect(frame.topLeft(), fitted);
}

void ImagePreview::paintEvent(QPaintEvent* event) {
    QFrame::paintEvent(event);
    const QRect target = pictureRect();
    if (target.isEmpty()) return;
    QPainter painter(this);
    painter.setClipRect(contentsRect());
    painter.setRenderHint(QPainter::SmoothPixmapTransform);
    if (picture_.kind() == LayoutPicture::Kind::Bitmap && !picture_.bitmap().isNull()) {
        painter.drawImage(target, picture_.bitmap());
    } else if (picture_.kind() == LayoutPicture::Kind::Metafile) {
        WmfPlayer::play(painter, picture_.image(), target);
    }
}
