#pragma once

#include <QWidget>
#include <memory>

#include "PageStream.h"

// The preview component: shows one page of a page stream at a zoom, as white paper on
// the window's background. A left click asks to zoom in, a right click to zoom out;
// the page shows a magnifier cursor. It does not own the stream.
class TFilePreview : public QWidget {
    Q_OBJECT

  public:
    explicit TFilePreview(QWidget* parent = nullptr);

    void setStream(std::shared_ptr<const PageStream> stream);
    const PageStream* stream() const { return stream_.get(); }
    int pageCount() const;
    // 0-based index of the page shown.
    int pageIndex() const { return page_; }
    void setPageIndex(int index);
    // Percent of the page's real size on this screen.
    double zoom() const { return zoom_; }
    void setZoom(double percent);
    // The page's size in inches (Letter when the stream is empty).
    QSizeF pageSize() const;
    double screenDpiX() const;
    double screenDpiY() const;

    QSize sizeHint() const override;

    // The magnifier shown over a preview's page, where a click zooms.
    static QCursor MagnifierCursor();

  signals:
    void zoomInClicked();
    void zoomOutClicked();

  protected:
    void paintEvent(QPaintEvent* event) override;
    void mousePressEvent(QMouseEvent* event) override;

  private:
    std::shared_ptr<const PageStream> stream_;
    int page_ = 0;
    double zoom_ = 100;
};
