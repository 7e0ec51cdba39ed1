#pragma once

#include <QFrame>

#include "LayoutPicture.h"

// The preview of the image dialog: a picture at its own size from the top-left corner
// (as AutoSize would show it), or fitted into the frame less 10 pixels, keeping its
// proportions.
class ImagePreview : public QFrame {
  public:
    explicit ImagePreview(QWidget* parent = nullptr);

    const LayoutPicture& picture() const { return picture_; }
    void setPicture(const LayoutPicture& picture);
    void clear() { setPicture(LayoutPicture()); }
    void setNaturalSize(bool on);
    bool naturalSize() const { return natural_; }
    // Where the picture is drawn, in the preview's pixels; empty without a picture.
    QRect pictureRect() const;

  protected:
    void paintEvent(QPaintEvent*) override;

  private:
    LayoutPicture picture_;
    bool natural_ = false;
};
