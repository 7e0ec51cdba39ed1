#include "TGGraphicControl.h"

#include <QPainter>
#include <cmath>

#include "TGBasePanel.h"
#include "TGDataPanel.h"
#include "TGOwner.h"

using layout::PropertyReader;
using layout::PropertyWriter;
using layout::ReadResult;

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
    left_ = left;
    top_ = top;
    width_ = width;
    height_ = height;
    if (!loading_) BoundsChanged();
}

void TGGraphicControl::ScaleToZoom(float zoom) {
    if (zoom == zoom_) return;
    const float r = zoom / zoom_;
    auto scale = [r](int v) { return int(std::nearbyint(float(v) * r)); };
    zoom_ = zoom;
    SetBounds(scale(left_), scale(top_), scale(width_), scale(height_));
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
    const float r = 1.0f / zoom_;
    auto unzoomed = [&](int v) { return zoom_ == 1.0f ? v : int(std::nearbyint(float(v) * r)); };
    w.integer("Tag", Tag, 0);
    w.integer("Left", unzoomed(left_));
    w.integer("Top", unzoomed(top_));
    w.integer("Width", unzoomed(width_));
    w.integer("Height", unzoomed(height_));
    w.cursor("Cursor", Cursor, 0);
    w.string("Hint", Hint);
    w.boolean("Locked", Locked);
    w.boolean("Unselectable", Unselectable);
}

ReadResult TGGraphicControl::ReadProperty(const PropertyReader& r) {
    if (r.is("Tag")) return r.integer(&Tag);
    if (r.is("Left")) return r.integer(&left_);
    if (r.is("Top")) return r.integer(&top_);
    if (r.is("Width")) return r.integer(&width_);
    if (r.is("Height")) return r.integer(&height_);
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
