#pragma once

#include "LayoutPicture.h"
#include "TGGraphicControl.h"

// A bitmap or metafile picture. Stretch and AutoSize exclude each other.
class TGImage : public TGGraphicControl {
  public:
    TGImage();
    const char* ClassName() const override { return "TGImage"; }

    bool AutoSize() const { return autoSize_; }
    void SetAutoSize(bool on);
    const LayoutPicture& Picture() const { return picture_; }
    void SetPicture(const LayoutPicture& picture);
    bool Stretch() const { return stretch_; }
    void SetStretch(bool on);

    // Loads a picture file (BMP or WMF as they are; PNG, JPEG and other images stored
    // as BMP). False when the file cannot be read: the object is then left without a
    // picture.
    bool LoadFromFile(const QString& path);

    void Paint(QPainter& painter) override;
    void PrintTo(TBaseReport& report, double x, double y) override;

    void WriteProperties(layout::PropertyWriter& w) const override;
    layout::ReadResult ReadProperty(const layout::PropertyReader& r) override;

  private:
    // With AutoSize, the object takes the picture's size.
    void PictureChanged();

    bool autoSize_ = false;
    LayoutPicture picture_;
    bool stretch_ = true;
};
