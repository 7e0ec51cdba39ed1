#include "StockArt.h"

#include <QFile>
#include <QPainter>
#include <QPainterPath>
#include <QSet>

#include "LabelDefinition.h"

namespace StockArt {

namespace {

// The ART names of the shipped catalogue: the last column of its source.
const QSet<QString>& ShippedNames() {
    static const QSet<QString> names = [] {
        QSet<QString> set;
        QFile file(":/data/lbltpl.csv");
        if (!file.open(QIODevice::ReadOnly)) return set;
        (void)file.readLine();  // the column names
        while (!file.atEnd()) {
            const QString line = QString::fromLatin1(file.readLine()).trimmed();
            QString art = line.mid(line.lastIndexOf(',') + 1);
            art.remove('"');
            if (!art.isEmpty()) set.insert(PictureName(art));
        }
        return set;
    }();
    return names;
}

}  // namespace

QString PictureName(const QString& art) { return art.trimmed().section('.', 0, 0).toUpper(); }

bool Has(const QString& pictureName) { return !pictureName.isEmpty() && ShippedNames().contains(pictureName); }

QImage Draw(const LabelStock& stock, const QSize& size) {
    const QString name = PictureName(stock.art);
    if (!Has(name) || size.isEmpty()) return QImage();
    QImage image(size, QImage::Format_RGB32);
    image.fill(Qt::white);
    QPainter p(&image);
    p.setRenderHint(QPainter::Antialiasing);
    const QColor silver(192, 192, 192);
    p.setPen(QPen(silver, 1.5));
    // The label's die cut, a little inside its edge, in the stock's shape.
    const QRectF edge = QRectF(QPointF(0, 0), QSizeF(size)).adjusted(3, 3, -3, -3);
    const QString shape = stock.shape.trimmed().toUpper();
    if (shape == "EL")
        p.drawEllipse(edge);
    else if (shape == "RR")
        p.drawRoundedRect(edge, 8, 8);
    else
        p.drawRect(edge);
    // Ruled lines where the address goes, and the product number in the corner.
    const double lineGap = std::max(8.0, edge.height() / 6);
    for (double y = edge.top() + edge.height() * 0.3; y < edge.bottom() - lineGap / 2; y += lineGap)
        p.drawLine(QPointF(edge.left() + edge.width() * 0.12, y), QPointF(edge.right() - edge.width() * 0.25, y));
    QFont font("Arial");
    font.setPixelSize(std::max(8, std::min(14, size.height() / 8)));
    p.setFont(font);
    p.setPen(silver);
    p.drawText(edge.adjusted(6, 4, -6, -4), Qt::AlignRight | Qt::AlignTop, name.mid(2));
    return image;
}

}  // namespace StockArt
