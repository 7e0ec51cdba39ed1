#pragma once

#include <QRect>
#include <QString>

#include "LayoutFont.h"
#include "PropertyStreaming.h"

class QPainter;
class TBaseReport;
class TGBasePanel;
class TGDataPanel;
class TGOwner;

// The common base of every layout object. Layout objects have no window of their own:
// the panel that holds them paints them (Paint, with the painter's origin at the
// object's top-left corner) and routes the mouse to them.
//
// Geometry is in layout pixels (96 per inch, LayoutMetrics.h) relative to the panel,
// multiplied by Zoom while the panel is zoomed; layout files always hold the values at
// zoom 1.0. On paper a pixel is 1/96 inch.
//
// Ownership: the panel (Parent) keeps the object alive; the owner (TGOwner) only knows
// its name. Either may be null for an object not yet placed.
class TGGraphicControl {
  public:
    TGGraphicControl();
    virtual ~TGGraphicControl();
    TGGraphicControl(const TGGraphicControl&) = delete;
    TGGraphicControl& operator=(const TGGraphicControl&) = delete;

    // The class name that layout files store ("TGPLabel").
    virtual const char* ClassName() const = 0;

    // ---- identity and place ----
    const QString& Name() const { return name_; }
    void SetName(const QString& name) { name_ = name; }
    TGOwner* Owner() const { return owner_; }
    void SetOwner(TGOwner* owner);
    TGBasePanel* Parent() const { return parent_; }

    int Tag = 0;
    int Cursor = 0;  // crDefault
    QString Hint;
    bool Locked = false;        // does not move with the selection
    bool Unselectable = false;  // clicks fall through to the panel

    int Left() const { return left_; }
    int Top() const { return top_; }
    int Width() const { return width_; }
    int Height() const { return height_; }
    QRect BoundsRect() const { return QRect(left_, top_, width_, height_); }
    void SetLeft(int v) { SetBounds(v, top_, width_, height_); }
    void SetTop(int v) { SetBounds(left_, v, width_, height_); }
    void SetWidth(int v) { SetBounds(left_, top_, v, height_); }
    void SetHeight(int v) { SetBounds(left_, top_, width_, v); }
    // Runs BoundsChanged when something changed, unless the object is being read.
    void SetBounds(int left, int top, int width, int height);

    float Zoom() const { return zoom_; }
    // Takes `zoom`, scaling the bounds by zoom ÷ the current Zoom (each rounded to
    // nearest, halves to even).
    void ScaleToZoom(float zoom);

    // Set while the stream reader assigns properties: setters then store values
    // without the side effects of an edit.
    bool Loading() const { return loading_; }
    void SetLoading(bool loading) { loading_ = loading; }
    // Called by the reader on a new object before its properties are assigned. A
    // property the writer skips because it equals its default must read back as that
    // default, even where a new object starts with another value (a caption of "Text").
    virtual void BeginReading() {}
    bool Selected = false;

    // ---- operations the panels call, in slot order ----
    virtual void AfterLoad();
    virtual void Paint(QPainter& painter);
    virtual void BoundsChanged();
    virtual void ApplyFont(const LayoutFont& font);
    virtual void RefreshData();
    virtual void PrepareForSave();
    virtual void AdvanceCounter();
    virtual void ResetCounter();
    // Prints the object with the panel's top-left corner at (x, y) inches on the page.
    virtual void PrintTo(TBaseReport& report, double x, double y);

    // ---- persistence: the published properties in stream order ----
    virtual void WriteProperties(layout::PropertyWriter& w) const;
    virtual layout::ReadResult ReadProperty(const layout::PropertyReader& r);

  protected:
    // The panel prints: objects show record values, never placeholders.
    bool Printing() const;
    // The panel shows record values rather than field names.
    bool ShowsDataValues() const;
    TGDataPanel* DataPanel() const;
    // Sets the size without BoundsChanged (measuring and fitting use it).
    void SetSizeSilently(int width, int height) {
        const int oldWidth = width_, oldHeight = height_;
        width_ = width;
        height_ = height;
        SyncStored(left_, top_, oldWidth, oldHeight);
    }
    // Draws the selection handles when the object is selected.
    void PaintHandles(QPainter& painter) const;

  private:
    friend class TGBasePanel;
    // Brings the stored (zoom 1.0) bounds in step with the shown ones after a change
    // from the given old shown bounds: a length that changed is unzoomed, one that did
    // not keeps its stored value, so that zooming in and out never moves an object.
    void SyncStored(int oldLeft, int oldTop, int oldWidth, int oldHeight);
    QString name_;
    TGOwner* owner_ = nullptr;
    TGBasePanel* parent_ = nullptr;
    int left_ = 0, top_ = 0, width_ = 0, height_ = 0;
    // The bounds at zoom 1.0, as layout files store them.
    int storedLeft_ = 0, storedTop_ = 0, storedWidth_ = 0, storedHeight_ = 0;
    float zoom_ = 1.0f;
    bool loading_ = false;
};
