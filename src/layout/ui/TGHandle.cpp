#include "TGHandle.h"

#include <algorithm>
#include <cstdlib>

#include "TGGraphicControl.h"

namespace {

// The frame's margins around the objects.
constexpr int kBefore = 2;
constexpr int kAfter = 3;
// Frames never get smaller than this.
constexpr int kMinFrame = 5;
// How near an edge a press starts a resize.
constexpr int kEdgeZone = 8;
constexpr int kMiddleZone = 6;
// The handle squares.
constexpr int kHandle = 5;

// v rounded toward zero to a multiple of `grid`.
int snap(int v, int grid) { return grid * (v / grid); }

}  // namespace

bool TGHandle::IsSelected(const TGGraphicControl* object) const {
    return std::find(selection_.begin(), selection_.end(), object) != selection_.end();
}

bool TGHandle::Add(TGGraphicControl* object) {
    if (!object || object->Unselectable) return false;
    if (!IsSelected(object)) selection_.push_back(object);
    return true;
}

void TGHandle::Remove(TGGraphicControl* object) {
    selection_.erase(std::remove(selection_.begin(), selection_.end(), object), selection_.end());
}

void TGHandle::Clear() { selection_.clear(); }

QRect TGHandle::Frame() const {
    if (selection_.empty()) return QRect();
    int left = selection_[0]->Left(), top = selection_[0]->Top();
    int right = left + selection_[0]->Width(), bottom = top + selection_[0]->Height();
    for (const TGGraphicControl* o : selection_) {
        left = std::min(left, o->Left());
        top = std::min(top, o->Top());
        right = std::max(right, o->Left() + o->Width());
        bottom = std::max(bottom, o->Top() + o->Height());
    }
    return QRect(left - kBefore, top - kBefore, right - left + kBefore + kAfter,
                 bottom - top + kBefore + kAfter);
}

TGGraphicControl* TGHandle::SelectedAt(QPoint p) const {
    for (auto it = selection_.rbegin(); it != selection_.rend(); ++it)
        if ((*it)->BoundsRect().adjusted(-2, -2, 2, 2).contains(p)) return *it;
    return nullptr;
}

TGHandle::Kind TGHandle::KindAt(QPoint p) const {
    if (selection_.size() != 1) return Move;
    const QRect f = Frame();
    const int x = p.x() - f.left(), y = p.y() - f.top();
    const int right = f.width(), bottom = f.height();
    const bool nearLeft = x < kEdgeZone, nearRight = right - x < kEdgeZone;
    const bool nearTop = y < kEdgeZone, nearBottom = bottom - y < kEdgeZone;
    Kind kind = Move;
    if (nearLeft && nearTop) kind = TopLeft;
    if (nearRight && nearTop) kind = TopRight;
    if (nearLeft && nearBottom) kind = BottomLeft;
    if (nearRight && nearBottom) kind = BottomRight;
    if (std::abs(x - right / 2) < kMiddleZone) {
        if (nearTop) kind = Top;
        if (nearBottom) kind = Bottom;
    }
    if (std::abs(y - bottom / 2) < kMiddleZone) {
        if (nearLeft) kind = Left;
        if (nearRight) kind = Right;
    }
    return kind;
}

QRect TGHandle::DraggedFrame(Kind kind, QPoint start, QPoint to) const {
    const QRect f = Frame();
    const int a = to.x(), b = to.y(), sa = start.x(), sb = start.y();
    const int left = f.left(), top = f.top(), width = f.width(), height = f.height();
    auto sx = [this](int v) { return snap(v, gridX_); };
    auto sy = [this](int v) { return snap(v, gridY_); };
    int l = left, t = top, w = width, h = height;
    // The moved edges follow the pointer, snapped; the opposite edges stay.
    const bool movesLeft = kind == Move || kind == TopLeft || kind == BottomLeft || kind == Left;
    const bool movesTop = kind == Move || kind == TopLeft || kind == TopRight || kind == Top;
    const bool movesRight = kind == TopRight || kind == BottomRight || kind == Right;
    const bool movesBottom = kind == BottomLeft || kind == BottomRight || kind == Bottom;
    if (movesLeft) l = sx(a + left - sa);
    if (movesTop) t = sy(b + top - sb);
    if (kind != Move) {
        if (movesLeft) w = width + left - l;
        if (movesTop) h = height + top - t;
    }
    if (movesRight) w = sx(a + width - sa) - 1;
    if (movesBottom) h = sy(b + height - sb) - 1;
    return QRect(l, t, std::max(w, kMinFrame), std::max(h, kMinFrame));
}

bool TGHandle::ApplyFrame(const QRect& frame) {
    const QRect f = Frame();
    const int dl = frame.left() - f.left(), dt = frame.top() - f.top();
    const int dw = frame.width() - f.width(), dh = frame.height() - f.height();
    if (dl == 0 && dt == 0 && dw == 0 && dh == 0) return false;
    bool changed = false;
    for (TGGraphicControl* o : selection_) {
        if (o->Locked) continue;
        const QRect before = o->BoundsRect();
        o->SetBounds(o->Left() + dl, o->Top() + dt, std::max(1, o->Width() + dw), std::max(1, o->Height() + dh));
        changed = changed || o->BoundsRect() != before;
    }
    return changed;
}

QRect TGHandle::KeyRect() const {
    const QRect f = Frame();
    if (f.isNull()) return QRect();
    // Inclusive edges, as the keyboard rectangle is drawn.
    return QRect(QPoint(f.left() + kBefore, f.top() + kBefore),
                 QPoint(f.left() + f.width() - kAfter, f.top() + f.height() - kAfter));
}

QRect TGHandle::KeyStep(const QRect& rect, int dx, int dy, bool resize, int step, QSize panelSize) const {
    QRect r = rect;
    resize = resize && selection_.size() == 1;
    // Shrinking stops at an inner size of 10 pixels; moving at the panel's edges.
    if (dx < 0) {
        if (resize) {
            if (r.width() - step >= 10) r.setRight(r.right() - step);
        } else if (r.left() - step >= 0) {
            r.translate(-step, 0);
        }
    } else if (dx > 0) {
        if (panelSize.width() >= r.width() + r.left() + step) {
            if (resize)
                r.setRight(r.right() + step);
            else
                r.translate(step, 0);
        }
    }
    if (dy < 0) {
        if (resize) {
            if (r.height() - step >= 10) r.setBottom(r.bottom() - step);
        } else if (r.top() - step >= 0) {
            r.translate(0, -step);
        }
    } else if (dy > 0) {
        if (panelSize.height() >= r.height() + r.top() + step) {
            if (resize)
                r.setBottom(r.bottom() + step);
            else
                r.translate(0, step);
        }
    }
    return r;
}

QRect TGHandle::FrameOfKeyRect(const QRect& rect) {
    return QRect(rect.left() - kBefore, rect.top() - kBefore, rect.right() - rect.left() + kBefore + kAfter,
                 rect.bottom() - rect.top() + kBefore + kAfter);
}

std::vector<QRect> TGHandle::HandleRects() const {
    std::vector<QRect> rects;
    const bool single = selection_.size() == 1;
    for (const TGGraphicControl* o : selection_) {
        const QRect f = o->BoundsRect().adjusted(-kBefore, -kBefore, kBefore, kBefore);
        const int l = f.left(), t = f.top(), r = f.left() + f.width() - kHandle,
                  b = f.top() + f.height() - kHandle;
        rects.push_back(QRect(l, t, kHandle, kHandle));
        rects.push_back(QRect(r, t, kHandle, kHandle));
        rects.push_back(QRect(l, b, kHandle, kHandle));
        rects.push_back(QRect(r, b, kHandle, kHandle));
        if (single) {
            const int mx = l + f.width() / 2 - 2, my = t + f.height() / 2 - 2;
            rects.push_back(QRect(mx, t, kHandle, kHandle));
            rects.push_back(QRect(mx, b, kHandle, kHandle));
            rects.push_back(QRect(l, my, kHandle, kHandle));
            rects.push_back(QRect(r, my, kHandle, kHandle));
        }
    }
    return rects;
}
