#include "ColorButton.h"

#include <QPainter>
#include <QPixmap>

#include "FontAndColorDialogs.h"

ColorButton::ColorButton(const QString& text, QWidget* parent) : QPushButton(text, parent) {
    connect(this, &QPushButton::clicked, this, &ColorButton::choose);
    setColor(color_);
}

void ColorButton::setColor(const QColor& color) {
    color_ = color;
    const int side = fontMetrics().height();
    QPixmap swatch(side * 2, side);
    swatch.fill(color_);
    QPainter p(&swatch);
    p.setPen(palette().color(QPalette::WindowText));
    p.drawRect(swatch.rect().adjusted(0, 0, -1, -1));
    p.end();
    setIcon(QIcon(swatch));
    setIconSize(swatch.size());
}

void ColorButton::choose() {
    QColor c = color_;
    if (!layoutdialogs::PickColor(c, this)) return;
    setColor(c);
    emit colorChanged(c);
}
