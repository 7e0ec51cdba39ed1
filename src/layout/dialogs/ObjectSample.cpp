#include "ObjectSample.h"

#include <QPainter>

#include "TGGraphicControl.h"

ObjectSample::ObjectSample(TGGraphicControl* object, QWidget* parent) : QWidget(parent), object_(object) {
    setAutoFillBackground(true);
    QPalette p = palette();
    p.setColor(QPalette::Window, Qt::white);
    setPalette(p);
}

void ObjectSample::resizeEvent(QResizeEvent*) { object_->SetBounds(0, 0, width(), height()); }

void ObjectSample::paintEvent(QPaintEvent*) {
    QPainter painter(this);
    painter.setClipRect(rect());
    object_->Paint(painter);
}
