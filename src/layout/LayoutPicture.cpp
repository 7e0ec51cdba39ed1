#include "LayoutPicture.h"

#include <QBuffer>
#include <QFile>
#include <QImageReader>
#include <QPainter>
#include <cstdlib>

#include "LayoutMetrics.h"
#include "LayoutStreamFormat.h"

namespace {

uint32_t le32(const QByteArray& b, qsizetype at) {
    uint32_t v = 0;
    for (int i = 3; i >= 0; --i) v = (v << 8) | static_cast<uint8_t>(b[at + i]);
    return v;
}

int16_t le16s(const QByteArray& b, qsizetype at) {
    return int16_t(uint16_t(static_cast<uint8_t>(b[at]) | (static_cast<uint8_t>(b[at + 1]) << 8)));
}

uint16_t le16(const QByteArray& b, qsizetype at) { return uint16_t(le16s(b, at)); }

constexpr uint32_t kPlaceableKey = 0x9AC6CDD7;

// A placeable metafile header: key, bounding box, units per inch and the XOR of its
// first ten words.
bool placeableHeader(const QByteArray& wmf) {
    if (wmf.size() < 22 || le32(wmf, 0) != kPlaceableKey) return false;
    uint16_t sum = 0;
    for (int i = 0; i < 10; ++i) sum ^= le16(wmf, i * 2);
    return sum == le16(wmf, 20) && le16(wmf, 14) != 0;
}

bool enhancedMetafile(const QByteArray& emf) {
    return emf.size() >= 88 && le32(emf, 0) == 1 && emf.mid(40, 4) == " EMF";
}

}  // namespace

QByteArray LayoutPicture::data() const {
    if (kind_ == Kind::None) return {};
    QByteArray out;
    out.append(char(class_.size()));
    out.append(class_);
    if (kind_ == Kind::Other) {
        out.append(image_);  // as read: the class's own format after its name
        return out;
    }
    const uint32_t length = uint32_t(image_.size()) + (lengthCountsItself_ ? 4 : 0);
    for (int i = 0; i < 4; ++i) out.append(char(length >> (8 * i)));
    out.append(image_);
    return out;
}

bool LayoutPicture::FromData(const QByteArray& data, LayoutPicture* out) {
    LayoutPicture p;
    if (data.isEmpty()) return false;
    const int nameLength = static_cast<uint8_t>(data[0]);
    if (data.size() < 1 + nameLength) return false;
    p.class_ = data.mid(1, nameLength);
    const QByteArray rest = data.mid(1 + nameLength);
    const bool bitmap = p.class_ == layout::stream::kBitmapClass;
    const bool metafile = p.class_ == layout::stream::kMetafileClass;
    if (!bitmap && !metafile) {
        p.kind_ = Kind::Other;
        p.image_ = rest;
        *out = p;
        return true;
    }
    if (rest.size() < 4) return false;
    const uint32_t length = le32(rest, 0);
    p.image_ = rest.mid(4);
    // Bitmaps count the image only and metafiles count the field as well; either is
    // accepted for both, and the image is whatever the value holds.
    p.lengthCountsItself_ =
        length == uint32_t(p.image_.size()) + 4 || (metafile && length != uint32_t(p.image_.size()));
    p.kind_ = bitmap ? Kind::Bitmap : Kind::Metafile;
    p.decode();
    *out = p;
    return true;
}

void LayoutPicture::decode() {
    size_ = QSize();
    bitmap_ = QImage();
    enhanced_ = false;
    const int ppi = layout::kPixelsPerInch;
    if (kind_ == Kind::Bitmap) {
        if (!image_.isEmpty() && bitmap_.loadFromData(image_, "BMP")) size_ = bitmap_.size();
    } else if (kind_ == Kind::Metafile) {
        if (placeableHeader(image_)) {
            const int width = le16s(image_, 10) - le16s(image_, 6);
            const int height = le16s(image_, 12) - le16s(image_, 8);
            const int inch = le16(image_, 14);
            size_ = QSize(layout::MulDiv(std::abs(width), ppi, inch),
                          layout::MulDiv(std::abs(height), ppi, inch));
        } else if (enhancedMetafile(image_)) {
            enhanced_ = true;
            // rclFrame, in hundredths of a millimetre.
            const int width = int(le32(image_, 32)) - int(le32(image_, 24));
            const int height = int(le32(image_, 36)) - int(le32(image_, 28));
            size_ = QSize(layout::MulDiv(width, ppi, 2540), layout::MulDiv(height, ppi, 2540));
        }
    }
}

LayoutPicture LayoutPicture::FromBitmapFile(const QByteArray& bmp) {
    LayoutPicture p;
    p.kind_ = Kind::Bitmap;
    p.class_ = layout::stream::kBitmapClass;
    p.image_ = bmp;
    p.decode();
    return p;
}

LayoutPicture LayoutPicture::FromImage(const QImage& image) {
    // Flatten any transparency onto white: a BMP of 24 bits is read everywhere.
    QImage flat(image.size(), QImage::Format_RGB888);
    flat.fill(Qt::white);
    {
        QPainter painter(&flat);
        painter.drawImage(0, 0, image);
    }
    QByteArray bmp;
    QBuffer buffer(&bmp);
    buffer.open(QIODevice::WriteOnly);
    flat.save(&buffer, "BMP");
    return FromBitmapFile(bmp);
}

bool LayoutPicture::LoadFromFile(const QString& path, LayoutPicture* out) {
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly)) return false;
    const QByteArray bytes = file.readAll();
    if (bytes.startsWith("BM")) {
        LayoutPicture p = FromBitmapFile(bytes);
        if (p.bitmap_.isNull()) return false;
        *out = p;
        return true;
    }
    if (placeableHeader(bytes)) {
        LayoutPicture p;
        p.kind_ = Kind::Metafile;
        p.class_ = layout::stream::kMetafileClass;
        p.image_ = bytes;
        p.lengthCountsItself_ = true;
        p.decode();
        *out = p;
        return true;
    }
    QImage image;
    if (!image.loadFromData(bytes) || image.isNull()) return false;
    *out = FromImage(image);
    return true;
}
