#pragma once

#include <QBuffer>
#include <QByteArray>
#include <QColor>
#include <QDataStream>
#include <QImage>
#include <set>

#include "../layout/LayoutTestSupport.h"
#include "LayoutStreamWriter.h"
#include "TGLabelObjectFiler.h"

// The object as a layout stream with every property, defaults included: two objects
// that stream alike are alike in everything a file or a dialog can see.
inline QByteArray streamOf(const TGGraphicControl& object) {
    layout::LayoutStreamWriter w;
    TGLabelObjectFiler::WriteObject(w, object, true);
    return w.data();
}

// A record whose fields say what kind they are: text fields, hidden fields and memos.
class KindedDataSet : public FakeDataSet {
  public:
    std::set<int> notText, hidden;
    bool IsString(int i) const override { return !IsMemo(i) && !notText.count(i); }
    bool Visible(int i) const override { return !hidden.count(i); }
};

// A 24-bit BMP file of one colour.
inline QByteArray bitmapFile(int width, int height, QColor color = QColor(10, 200, 30)) {
    QImage image(width, height, QImage::Format_RGB888);
    image.fill(color);
    QByteArray bmp;
    QBuffer buffer(&bmp);
    buffer.open(QIODevice::WriteOnly);
    image.save(&buffer, "BMP");
    return bmp;
}

// A placeable metafile of one rectangle, 1 × 0.5 inch at 1440 units per inch.
inline QByteArray placeableMetafile() {
    QByteArray h =
        bytes({0xD7, 0xCD, 0xC6, 0x9A, 0, 0, 0, 0, 0, 0, 0xA0, 0x05, 0xD0, 0x02, 0xA0, 0x05, 0, 0, 0, 0});
    uint16_t sum = 0;
    for (int i = 0; i < 10; ++i) sum ^= uint16_t(uint8_t(h[2 * i]) | (uint8_t(h[2 * i + 1]) << 8));
    h += bytes({sum & 0xFF, sum >> 8});
    const QByteArray records =
        bytes({7, 0, 0, 0, 0x1B, 0x04, 0xD0, 0x02, 0xA0, 0x05, 0, 0, 0, 0,  // Rectangle
               3, 0, 0, 0, 0,    0});                                       // EOF
    const int words = (18 + records.size()) / 2;
    const QByteArray header =
        bytes({1, 0, 9, 0, 0, 3, words & 0xFF, words >> 8, 0, 0, 0, 0, 7, 0, 0, 0, 0, 0});
    return h + header + records;
}
