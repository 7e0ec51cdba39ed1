#include "THRuler.h"

#include <QPainter>
#include <cmath>

THRuler::THRuler(QWidget* parent) : QWidget(parent) {
    setAttribute(Qt::WA_OpaquePaintEvent);
    resize(sizeHint());
}

void THRuler::SetStartInch(double inch) {
    if (inch == startInch_) return;
    startInch_ = inch;
    update();
}

void THRuler::SetPixelsPerInch(int ppi) {
    ppi_ = ppi > 16 ? ppi : 16;
    update();
}

void THRuler::SetColor(const QColor& color) {
    color_ = color;
    update();
}

void THRuler::paintEvent(QPaintEvent*) {
    QPainter p(this);
    p.fillRect(rect(), color_);
    QFont font = p.font();
    font.setPointSize(7);
    p.setFont(font);
    p.setPen(Qt::gray);
    const int h = height(), quarter = h / 4;
    const int spacing = ppi_ / 16;
    int i = int(std::trunc(startInch_ * 16));
    for (int x = 0; x < width(); x += spacing, ++i) {
        int bottom = quarter;
        if (i % 8 == 0) bottom = quarter * 2;
        if (i % 16 == 0) {
            bottom = h;
            if (i != 0)
                p.drawText(QRect(x + 3, quarter, 40, h - quarter), Qt::AlignLeft | Qt::AlignTop,
                           QString::number(i / 16));
        }
        p.drawLine(x, 1, x, bottom - 1);
    }
}
