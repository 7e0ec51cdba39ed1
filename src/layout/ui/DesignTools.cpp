#include "Icons.h"
#include "DesignTools.h"

#include <QFont>
#include <QPainter>
#include <QPixmap>
#include <QStyle>
#include <QToolBar>

#include "LayoutFont.h"

// Small icons of our own drawing, one per tool.
QIcon DesignToolIcon(char glyph) {
    QPixmap pm(24, 24);
    pm.fill(Qt::transparent);
    QPainter p(&pm);
    p.setRenderHint(QPainter::Antialiasing);
    p.setPen(QPen(QColor(40, 40, 40), 1.6));
    const QRectF box(4, 5, 16, 14);
    QFont font("Sans");
    font.setPixelSize(13);
    font.setBold(true);
    p.setFont(font);
    switch (glyph) {
        case 'P': {  // an arrow
            const QPointF arrow[] = {{7, 3}, {7, 19}, {11, 15}, {14, 21}, {16, 20}, {13, 14}, {18, 14}};
            p.setBrush(Qt::white);
            p.drawPolygon(arrow, 7);
            break;
        }
        case 'R':
            p.drawRect(box);
            break;
        case 'E':
            p.drawEllipse(box);
            break;
        case 'O':
            p.drawRoundedRect(box, 5, 5);
            break;
        case 'L':
            p.drawLine(QPointF(4, 20), QPointF(20, 4));
            break;
        case 'B':  // POSTNET: tall and short bars; Intelligent Mail: four heights
        case 'T':
            for (int i = 0; i < 8; ++i) {
                const double x = 3.5 + i * 2.4;
                const bool tall = glyph == 'B' ? (i % 3 != 1) : (i % 2 == 0);
                p.drawLine(QPointF(x, tall ? 5 : 11), QPointF(x, glyph == 'T' && i % 4 == 1 ? 15 : 19));
            }
            break;
        case 'I': {  // a picture: a frame with a hill
            p.drawRect(box);
            const QPointF hill[] = {{5, 18}, {10, 11}, {14, 15}, {16, 13}, {19, 18}};
            p.drawPolyline(hill, 5);
            break;
        }
        case 'D':  // address lines
            for (int i = 0; i < 3; ++i)
                p.drawLine(QPointF(4, 7 + i * 5), QPointF(i == 2 ? 14 : 20, 7 + i * 5));
            break;
        case 'M':
            for (int i = 0; i < 3; ++i) p.drawLine(QPointF(4, 7 + i * 5), QPointF(20, 7 + i * 5));
            p.drawText(QRectF(0, 0, 24, 24), Qt::AlignRight | Qt::AlignBottom, "a");
            break;
        case 'C':  // a clock face at ten past ten
            p.drawEllipse(QRectF(4, 4, 16, 16));
            p.drawLine(QPointF(12, 12), QPointF(12, 6.5));
            p.drawLine(QPointF(12, 12), QPointF(16, 10));
            break;
        case 'X': {  // FIM: the facing identification mark's short bars
            font.setPixelSize(9);
            p.setFont(font);
            p.drawText(QRectF(0, 0, 24, 24), Qt::AlignCenter, "FIM");
            break;
        }
        default:
            p.drawText(QRectF(0, 0, 24, 24), Qt::AlignCenter, QString(QChar(glyph)));
            break;
    }
    if (glyph == 'F' || glyph == 'N') {  // a field: a text in a box
        p.setBrush(Qt::NoBrush);
        p.drawRect(QRectF(2, 3, 20, 18));
    }
    return QIcon(pm);
}

QString DefaultFontCaption(const LayoutFont& f) {
    QString caption = QString("Default Font: %1, %2 pt ").arg(f.Name).arg(f.Size());
    if (f.has(fsBold)) caption += ", bold";
    if (f.has(fsItalic)) caption += ", italic";
    return caption;
}

QString DefaultFontButtonText(const LayoutFont& f) {
    QString text = DefaultFontCaption(f);
    text.replace('&', "&&");
    return text.insert(2, '&');
}

ViewToggles AddViewToggles(QToolBar* bar) {
    auto toggle = [bar](const char* text, Icons::Icon icon, const char* name) {
        QAction* a = bar->addAction(Icons::get(icon), text);
        a->setToolTip(text);
        a->setCheckable(true);
        a->setObjectName(name);
        return a;
    };
    return {toggle("Show grid", Icons::Icon::ShowGrid, "ShowGrid"),
            toggle("Snap to Grid", Icons::Icon::SnapToGrid, "SnapToGrid"),
            toggle("Toggle display of field names or field values", Icons::Icon::FieldNames,
                   "FieldNames")};
}
