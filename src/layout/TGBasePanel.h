#pragma once

#include <QPainterPath>
#include <QString>
#include <memory>
#include <vector>

#include "LayoutEnums.h"
#include "LayoutFont.h"
#include "LayoutPicture.h"
#include "LayoutStatus.h"

class QPainter;
class TBaseReport;
class TGGraphicControl;
class TGOwner;

// The surface that holds the objects of one layout: a label, an envelope or a report
// band. It owns its objects; their order is the z-order (first = bottom), the order in
// which they are written and printed. The panel has no window of its own: the
// designer shows it in a widget that calls Paint and routes the mouse; the print code
// keeps it invisible and calls PrintObjects.
class TGBasePanel {
  public:
    // `owner` names the objects (the designer or print window); null gives the panel a
    // private one.
    explicit TGBasePanel(TGOwner* owner = nullptr);
    virtual ~TGBasePanel();
    TGBasePanel(const TGBasePanel&) = delete;
    TGBasePanel& operator=(const TGBasePanel&) = delete;

    TGOwner* Owner() const { return owner_; }

    // ---- published state ----
    bool Pointing = true;
    bool DrawOutline = false;
    LayoutPicture Picture;
    LayoutPicture ColorPicture;
    bool Printing = false;
    TLabelShapeType Shape = lsRoundRect;
    TGridSize GridSize = gs4x4;
    bool ShowGrid = false;
    bool SnapToGrid = false;
    // The font new text objects take and the "Font" command starts from.
    LayoutFont Font;

    int Width() const { return width_; }
    int Height() const { return height_; }
    void SetSize(int width, int height);

    // The scale from layout pixels to the pixels the panel paints in. A window showing
    // the panel folds its screen's resolution in (layout::ScreenZoom).
    float Zoom() const { return zoom_; }
    // Scales the panel and every object to `zoom` from their size at zoom 1.0 (each
    // length rounded to nearest, halves to even), so that zooming and zooming back
    // leaves every length as it was. Nothing happens when the factor does not change.
    void SetZoom(float zoom);

    // ---- objects ----
    int ObjectCount() const { return int(objects_.size()); }
    TGGraphicControl* Object(int index) const { return objects_[size_t(index)].get(); }
    int IndexOf(const TGGraphicControl* object) const;
    // Takes the object on top of the others, gives it the panel's zoom.
    TGGraphicControl* InsertObject(std::unique_ptr<TGGraphicControl> object);
    std::unique_ptr<TGGraphicControl> RemoveObject(TGGraphicControl* object);
    void DeleteObject(TGGraphicControl* object);
    void ClearObjects();
    void BringToFront(TGGraphicControl* object);
    void SendToBack(TGGraphicControl* object);

    // ---- operations ----
    // Lets every object fetch the current record's values.
    virtual void RefreshData();
    // Every object prints itself, back to front, with the panel's top-left corner at
    // (x, y) inches.
    void PrintObjects(TBaseReport& report, double x, double y);
    void AdvanceCounters();
    void ResetCounters();
    virtual void KeepObjectsInside();
    virtual void RemoveObjectsOutside();

    // Writes the layout at zoom 1.0 without record data; the panel shows what it showed
    // before afterwards. The file is replaced only when completely written.
    LayoutStatus SaveToFile(const QString& fileName);
    // Reads a layout file onto the panel (objects already there stay); nothing when the
    // file does not exist. On a read error the objects read before it stay.
    LayoutStatus LoadFromFile(const QString& fileName);
    // What the panel does with objects that were added: its zoom.
    void BindObject(TGGraphicControl* object);

    // Paints the background (white, pictures clipped to the shape, outline, grid) and
    // then the objects, in panel pixels.
    void Paint(QPainter& painter);

  protected:
    virtual void PaintBackground(QPainter& painter);
    // The outline and clipping shape, in panel pixels.
    QPainterPath ShapePath() const;

  private:
    std::unique_ptr<TGOwner> ownOwner_;
    TGOwner* owner_;
    std::vector<std::unique_ptr<TGGraphicControl>> objects_;
    int width_ = 0;
    int height_ = 0;
    int storedWidth_ = 0;  // the size at zoom 1.0
    int storedHeight_ = 0;
    float zoom_ = 1.0f;
};
