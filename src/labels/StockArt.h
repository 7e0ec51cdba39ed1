#pragma once

#include <QImage>
#include <QSize>
#include <QString>

struct LabelStock;

// The picture of a stock shown behind the label in the designer (never printed). The
// program has one for every ART name of the shipped catalogue, named by the name up to
// its first "." in upper case ("AV5160.BMP" gives AV5160); each is our own outline
// drawing of that product's label, in silver on white, the size of the label.
namespace StockArt {

// The picture name of an ART value: up to the first ".", upper case.
QString PictureName(const QString& art);
// Whether the program has a picture of that name.
bool Has(const QString& pictureName);
// The stock's art at `size` pixels (the label at 100 %); a null image when the stock
// has no art or the program has no picture of its name.
QImage Draw(const LabelStock& stock, const QSize& size);

}  // namespace StockArt
