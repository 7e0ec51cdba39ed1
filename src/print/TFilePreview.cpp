#include "TFilePreview.h"

#include <QMouseEvent>
#include <QPainter>
#include <QPixmap>
#include <algorithm>

#include "PagePainter.h"

namespace {

constexpr int kBorder = 8;  // background around the sheet, pixels

}  // namespace

QCursor TFilePreview::MagnifierCursor() {
    QPixmap pixmap(32, 32);
    pixmap.fill(Qt::transparent);
    QPainter p(&pixmap);
    p.setRenderHint(QPainter::Antialiasing);
    p.setPen(QPen(Qt::white, 4));
    p.drawEllipse(QRectF(3, 3, 16, 16));
    p.drawLine(QPointF(17, 17), QPointF(28, 28));
    p.setPen(QPen(Qt::black, 2));
    p.drawEllipse(QRectF(3, 3, 16, 16));
    p.setPen(QPen(Qt::black, 3));
    p.drawLine(QPointF(17, 17), QPointF(28, 28));
    p.end();
    return QCursor(pixmap, 11, 11);
}

TFilePreview::TFilePreview(QWidget* parent) : QWidget(parent) {
    setObjectName(QStringLiteral("FilePreview"));
    setCursor(MagnifierCursor());
    setAttribute(Qt::WA_OpaquePaintEvent);
}

void TFilePreview::setStream(std::shared_ptr<const PageStream> stream) {
    stream_ = std::move(stream);
    page_ = 0;
    resize(sizeHint());
    update();
}

int TFilePreview::pageCount() const { return stream_ ? int(stream_->pages.size()) : 0; }

void TFilePreview::setPageIndex(int index) {
    page_ = std::clamp(index, 0, std::max(0, pageCount() - 1));
    resize(sizeHint());
    update();
}

void TFilePreview::setZoom(double percent) {
    zoom_ = std::clamp(percent, 10.0, 800.0);
    resize(sizeHint());
    update();
}

QSizeF TFilePreview::pageSize() const {
    if (pageCount() == 0 || stream_->pages[size_t(page_)].size.isEmpty()) return QSizeF(8.5, 11);
    return stream_->pages[size_t(page_)].size;
}

double TFilePreview::screenDpiX() const { return logicalDpiX(); }
double TFilePreview::screenDpiY() const { return logicalDpiY(); }

QSize TFilePreview::sizeHint() const {
    const QSizeF page = pageSize();
    return QSize(int(page.width() * screenDpiX() * zoom_ / 100) + 2 * kBorder,
                 int(page.height() * screenDpiY() * zoom_ / 100) + 2 * kBorder);
}

void TFilePreview::paintEvent(QPaintEvent*) {
    QPainter painter(this);
    painter.fillRect(rect(), palette().color(QPalette::Dark));
    const QSizeF page = pageSize();
    DeviceMetrics screen;
    screen.pageWidth = page.width();
    screen.pageHeight = page.height();
    screen.dpiX = screenDpiX() * zoom_ / 100;
    screen.dpiY = screenDpiY() * zoom_ / 100;
    const QRect sheet(kBorder, kBorder, int(page.width() * screen.dpiX), int(page.height() * screen.dpiY));
    painter.fillRect(sheet, Qt::white);
    painter.setPen(Qt::black);
    painter.drawRect(sheet.adjusted(-1, -1, 0, 0));
    if (pageCount() == 0) return;
    painter.translate(sheet.topLeft());
    painter.setClipRect(QRect(QPoint(0, 0), sheet.size()));
    painter.setRenderHint(QPainter::Antialiasing);
    painter.setRenderHint(QPainter::TextAntialiasing);
    PagePainter(painter, screen).play(stream_->pages[size_t(page_)]);
}

void TFilePreview::mousePressEvent(QMouseEvent* event) {
    if (event->button() == Qt::LeftButton) emit zoomInClicked();
    if (event->button() == Qt::RightButton) emit zoomOutClicked();
}
