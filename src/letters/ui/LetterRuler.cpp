#include "LetterRuler.h"

#include <QMouseEvent>
#include <QPainter>
#include <QPolygon>
#include <algorithm>
#include <cmath>

namespace {

constexpr int kHeight = 26;
constexpr int kMarker = 5;  // half the width of a marker's triangle

}  // namespace

LetterRuler::LetterRuler(QWidget* parent) : QWidget(parent) {
    setObjectName("Ruler");
    setMouseTracking(true);
    setSizePolicy(QSizePolicy::Expanding, QSizePolicy::Fixed);
    setToolTip("Drag the markers to change the paragraph's indents");
}

QSize LetterRuler::sizeHint() const { return {400, kHeight}; }

void LetterRuler::setPage(const LetterPage& page) {
    page_ = page;
    update();
}

void LetterRuler::setIndents(int first, int left, int right) {
    if (dragging_ != Marker::None) return;  // the drag shows its own
    first_ = first;
    left_ = left;
    right_ = right;
    update();
}

void LetterRuler::setOrigin(int x, double pixelsPerInch) {
    origin_ = x;
    perInch_ = pixelsPerInch > 0 ? pixelsPerInch : LetterPage::kDocumentDpi;
    update();
}

int LetterRuler::xOf(int twips) const {
    return origin_ + int(std::lround(twips * perInch_ / LetterPage::kTwipsPerInch));
}

int LetterRuler::twipsAt(int x) const {
    // Markers move in sixteenths of an inch, as on a paper ruler.
    const double inches = (x - origin_) / perInch_;
    return int(std::lround(inches * 16)) * LetterPage::kTwipsPerInch / 16;
}

LetterRuler::Marker LetterRuler::markerAt(const QPoint& at) const {
    const int mid = height() / 2;
    auto near = [&](int twips) { return std::abs(at.x() - xOf(twips)) <= kMarker + 1; };
    if (at.y() < mid) return near(first_) ? Marker::First : Marker::None;
    if (near(left_)) return Marker::Left;
    if (near(page_.textWidth() - right_)) return Marker::Right;
    return Marker::None;
}

void LetterRuler::paintEvent(QPaintEvent*) {
    QPainter p(this);
    const QPalette& pal = palette();
    p.fillRect(rect(), pal.color(QPalette::Window));
    const int top = 3, bottom = height() - 3;
    const int pageLeft = xOf(-page_.marginLeft), textRight = xOf(page_.textWidth());
    const int pageRight = xOf(page_.textWidth() + page_.marginRight);
    // The margins grey, the text width white.
    p.fillRect(QRect(QPoint(pageLeft, top), QPoint(pageRight, bottom)), pal.color(QPalette::Mid));
    p.fillRect(QRect(QPoint(xOf(0), top), QPoint(textRight, bottom)), pal.color(QPalette::Base));
    p.setPen(pal.color(QPalette::Dark));
    p.drawRect(QRect(QPoint(pageLeft, top), QPoint(pageRight, bottom)));

    // Inch numbers, half- and eighth-inch ticks, counted from the text's left edge.
    QFont small = font();
    small.setPointSizeF(std::max(6.0, small.pointSizeF() * 0.8));
    p.setFont(small);
    p.setPen(pal.color(QPalette::Text));
    const int firstEighth = -page_.marginLeft * 8 / LetterPage::kTwipsPerInch;
    const int lastEighth = (page_.textWidth() + page_.marginRight) * 8 / LetterPage::kTwipsPerInch;
    const int mid = (top + bottom) / 2;
    for (int e = firstEighth; e <= lastEighth; ++e) {
        const int x = xOf(e * LetterPage::kTwipsPerInch / 8);
        if (e % 8 == 0) {
            if (e != 0) p.drawText(QRect(x - 10, top, 20, bottom - top), Qt::AlignCenter, QString::number(std::abs(e / 8)));
        } else {
            const int len = e % 4 == 0 ? 4 : 2;
            p.drawLine(x, mid - len, x, mid + len);
        }
    }

    // The markers: first line at the top pointing down, left and right at the bottom
    // pointing up.
    p.setRenderHint(QPainter::Antialiasing);
    p.setPen(pal.color(QPalette::Shadow));
    p.setBrush(pal.color(QPalette::Button));
    const int fx = xOf(first_), lx = xOf(left_), rx = xOf(page_.textWidth() - right_);
    p.drawPolygon(QPolygon({QPoint(fx - kMarker, top), QPoint(fx + kMarker, top), QPoint(fx, top + kMarker + 2)}));
    for (int x : {lx, rx})
        p.drawPolygon(
            QPolygon({QPoint(x - kMarker, bottom), QPoint(x + kMarker, bottom), QPoint(x, bottom - kMarker - 2)}));
}

void LetterRuler::mousePressEvent(QMouseEvent* event) {
    if (event->button() != Qt::LeftButton) return;
    dragging_ = markerAt(event->position().toPoint());
    dragOffset_ = first_ - left_;
}

void LetterRuler::mouseMoveEvent(QMouseEvent* event) {
    const QPoint at = event->position().toPoint();
    if (dragging_ == Marker::None) {
        setCursor(markerAt(at) == Marker::None ? Qt::ArrowCursor : Qt::SizeHorCursor);
        return;
    }
    // An indent stays inside the page's text width, with a quarter inch left between the
    // left and right indents.
    const int width = page_.textWidth();
    const int t = twipsAt(at.x());
    switch (dragging_) {
        case Marker::First:
            first_ = std::clamp(t, 0, width - right_ - LetterPage::kTwipsPerInch / 4);
            break;
        case Marker::Left:
            // The first line keeps its distance from the left indent.
            left_ = std::clamp(t, std::max(0, -dragOffset_), width - right_ - LetterPage::kTwipsPerInch / 4);
            first_ = left_ + dragOffset_;
            break;
        case Marker::Right:
            right_ = std::clamp(width - t, 0, width - std::max(left_, first_) - LetterPage::kTwipsPerInch / 4);
            break;
        case Marker::None:
            break;
    }
    update();
}

void LetterRuler::mouseReleaseEvent(QMouseEvent* event) {
    if (event->button() != Qt::LeftButton || dragging_ == Marker::None) return;
    dragging_ = Marker::None;
    emit indentsChanged(first_, left_, right_);
}
