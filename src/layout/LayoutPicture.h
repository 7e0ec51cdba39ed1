#pragma once

#include <QByteArray>
#include <QImage>
#include <QSize>
#include <QString>

// A picture held by an image object: the graphic's class name and its image in file
// form (a complete BMP file, a metafile, or whatever bytes another graphic class
// stored), kept exactly as read so that a file saved again is unchanged.
class LayoutPicture {
  public:
    enum class Kind { None, Bitmap, Metafile, Other };

    Kind kind() const { return kind_; }
    bool isEmpty() const { return kind_ == Kind::None; }
    const QByteArray& graphicClass() const { return class_; }
    const QByteArray& image() const { return image_; }
    // In layout pixels (96 per inch; a bitmap's own pixels); empty when the image
    // cannot be read.
    QSize size() const { return size_; }
    // The decoded bitmap (null for metafiles and unreadable bitmaps).
    const QImage& bitmap() const { return bitmap_; }
    // An enhanced metafile rather than a placeable Windows metafile.
    bool isEnhanced() const { return enhanced_; }

    void clear() { *this = LayoutPicture(); }

    // The payload of "Picture.Data": short(class) + 4-byte length + image.
    QByteArray data() const;
    // Reads a "Picture.Data" payload. The length field may or may not count itself
    // (bitmaps do not, metafiles do); the image is whatever follows it. False when the
    // payload is too short to hold a class name and a length.
    static bool FromData(const QByteArray& data, LayoutPicture* out);

    // Loads a picture file: BMP and placeable WMF files are kept as they are; other
    // image files that Qt reads (PNG, JPEG, ...) become a 24-bit BMP, so that layout
    // files hold only the kinds every run can read. False when the file cannot be read.
    static bool LoadFromFile(const QString& path, LayoutPicture* out);
    static LayoutPicture FromBitmapFile(const QByteArray& bmp);
    static LayoutPicture FromImage(const QImage& image);

  private:
    void decode();

    Kind kind_ = Kind::None;
    QByteArray class_;
    QByteArray image_;
    bool lengthCountsItself_ = false;
    bool enhanced_ = false;
    QSize size_;
    QImage bitmap_;
};
