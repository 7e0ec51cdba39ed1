#include "TGGraphicControl.h"

#include <QPainter>
#include <cmath>

#include "TGBasePanel.h"
#include "TGDataPanel.h"
#include "TGOwner.h"

using layout::PropertyReader;
using layout::PropertyWriter;
using layout::ReadResult;

namespace {

ReadResult readLength(const PropertyReader& r, int* shown, int* stored) {
    const ReadResult result = r.integer(shown);
    *stored = *shown;
    return result;
}

}  // namespace

TGGraphicControl::TGGraphicControl() = default;

TGGraphicControl::~TGGraphicControl() {
    if (owner_) owner_->RemoveComponent(this);
}

void TGGraphicControl::SetOwner(TGOwner* owner) {
    if (owner_ == owner) return;
    if (owner_) owner_->RemoveComponent(this);
    owner_ = owner;
    if (owner_) owner_->InsertComponent(this);
}

void TGGraphicControl::SetBounds(int left, int top, int width, int height) {
    if (left == left_ && top == top_ && width == width_ && height == height_) return;
    const int oldLeft = left_, oldTop = top_, oldWidth = width_, oldHeight = height_;
    left_ = left;
    top_ = top;
    width_ = width;
    height_ = height;
    SyncStored(oldLeft, oldTop, oldWidth, oldHeight);
    if (!loading_) BoundsChanged();
}

void TGGraphicControl::SyncStored(int oldLeft, int oldTop, int oldWidth, int oldHeight) {
    if (zoom_ == 1.0f) {
        storedLeft_ = left_;
        storedTop_ = top_;
        storedWidth_ = width_;
        storedHeight_ = height_;
        return;
    }
    const float r = 1.0f / zoom_;
    auto unzoomed = [r](int v) { return int(std::nearbyint(float(v) * r)); };
    if (left_ != oldLeft) storedLeft_ = unzoomed(left_);
    if (top_ != oldTop) storedTop_ = unzoomed(top_);
    if (width_ != oldWidth) storedWidth_ = unzoomed(width_);
    if (height_ != oldHeight) storedHeight_ = unzoomed(height_);
}

void TGGraphicControl::ScaleToZoom(float zoom) {
    if (zoom == zoom_) return;
    // Scaled from the stored bounds, not the shown ones, so that rounding at one zoom
    // is not carried into the next.
    auto scale = [zoom](int v) { return int(std::nearbyint(float(v) * zoom)); };
    const int sl = storedLeft_, st = storedTop_, sw = storedWidth_, sh = storedHeight_;
    zoom_ = zoom;
    SetBounds(scale(sl), scale(st), scale(sw), scale(sh));
    // The shown bounds came from the stored ones; keep those (an object that sizes
    // itself in BoundsChanged has updated them already).
    if (left_ == scale(sl)) storedLeft_ = sl;
    if (top_ == scale(st)) storedTop_ = st;
    if (width_ == scale(sw)) storedWidth_ = sw;
    if (height_ == scale(sh)) storedHeight_ = sh;
}

void TGGraphicControl::AfterLoad() {}

void TGGraphicControl::Paint(QPainter& painter) { PaintHandles(painter); }

void TGGraphicControl::BoundsChanged() {}
void TGGraphicControl::ApplyFont(const LayoutFont&) {}
void TGGraphicControl::RefreshData() {}
void TGGraphicControl::PrepareForSave() {}
void TGGraphicControl::AdvanceCounter() {}
void TGGraphicControl::ResetCounter() {}
void TGGraphicControl::PrintTo(TBaseReport&, double, double) {}

void TGGraphicControl::WriteProperties(PropertyWriter& w) const {
    // Coordinates are written at zoom 1.0 whatever the panel shows.
    w.integer("Tag", Tag, 0);
    w.integer("Left", storedLeft_);
    w.integer("Top", storedTop_);
    w.integer("Width", storedWidth_);
    w.integer("Height", storedHeight_);
    w.cursor("Cursor", Cursor, 0);
    w.string("Hint", Hint);
    w.boolean("Locked", Locked);
    w.boolean("Unselectable", Unselectable);
}

ReadResult TGGraphicControl::ReadProperty(const PropertyReader& r) {
    if (r.is("Tag")) return r.integer(&Tag);
    // Objects are read at zoom 1.0; the panel zooms them afterwards.
    if (r.is("Left")) return readLength(r, &left_, &storedLeft_);
    if (r.is("Top")) return readLength(r, &top_, &storedTop_);
    if (r.is("Width")) return readLength(r, &width_, &storedWidth_);
    if (r.is("Height")) return readLength(r, &height_, &storedHeight_);
    if (r.is("Cursor")) return r.cursor(&Cursor);
    if (r.is("Hint")) return r.string(&Hint);
    if (r.is("Locked")) return r.boolean(&Locked);
    if (r.is("Unselectable")) return r.boolean(&Unselectable);
    return ReadResult::Unknown;
}

bool TGGraphicControl::Printing() const { return parent_ && parent_->Printing; }

bool TGGraphicControl::ShowsDataValues() const {
    const TGDataPanel* panel = DataPanel();
    return !panel || panel->DisplayDataValues() || panel->Printing;
}

TGDataPanel* TGGraphicControl::DataPanel() const { return dynamic_cast<TGDataPanel*>(parent_); }

void TGGraphicControl::PaintHandles(QPainter& painter) const {
    if (!Selected) return;
    // Eight small squares on the corners and edge midpoints.
    const int s = 5;
    const int xs[3] = {0, width_ / 2 - s / 2, width_ - s};
    const int ys[3] = {0, height_ / 2 - s / 2, height_ - s};
    painter.save();
    painter.setPen(Qt::NoPen);
    painter.setBrush(Qt::black);
    for (int i = 0; i < 3; ++i)
        for (int j = 0; j < 3; ++j)
            if (i != 1 || j != 1) painter.drawRect(xs[i], ys[j], s, s);
    painter.restore();
}
