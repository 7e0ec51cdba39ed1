#pragma once

#include <QPoint>
#include <QRect>
#include <QColor>
#include <vector>

class TGGraphicControl;

// The selection overlay of a design panel: the selected objects, the frame around them
// and the arithmetic of moving and sizing them by mouse and keyboard. It has no window
// of its own; the panel view (TGPanelView) routes presses, moves and keys to it and
// paints the handles and the rubber frames it reports. All coordinates are panel
// pixels at the panel's current zoom.
//
// The frame lies 2 pixels left of and above the selected objects and 3 pixels right of
// and below them, so that an object snapped with the frame lands 2 pixels past a grid
// multiple, where the grid dots are drawn.
class TGHandle {
  public:
    // What a drag changes: 0 moves, 1 to 4 size at a corner, 5 to 8 at a side.
    enum Kind {
        Move = 0,
        TopLeft = 1,
        TopRight = 2,
        BottomLeft = 3,
        BottomRight = 4,
        Top = 5,
        Left = 6,
        Bottom = 7,
        Right = 8
    };

    QColor Color = Qt::black;           // handles of a single selection
    QColor SecondaryColor = QColor(128, 128, 128);  // handles of a multiple selection

    // ---- selection ----
    const std::vector<TGGraphicControl*>& Selection() const { return selection_; }
    int Count() const { return int(selection_.size()); }
    bool IsSelected(const TGGraphicControl* object) const;
    // Unselectable objects are never added; an object already selected stays once.
    // Returns whether the object is selected afterwards.
    bool Add(TGGraphicControl* object);
    void Remove(TGGraphicControl* object);
    void Clear();
    // The frame around the selected objects; empty without a selection.
    QRect Frame() const;
    // The selected object whose bounds, grown by 2 pixels, hold `p` (topmost last
    // selected first); null when none.
    TGGraphicControl* SelectedAt(QPoint p) const;

    // ---- grid ----
    // The effective spacing: the grid while snapping, else 1.
    void SetGrid(int gridX, int gridY) {
        gridX_ = gridX < 1 ? 1 : gridX;
        gridY_ = gridY < 1 ? 1 : gridY;
    }
    int GridX() const { return gridX_; }
    int GridY() const { return gridY_; }
    bool SnapToGrid() const { return gridX_ > 1 || gridY_ > 1; }

    // ---- dragging ----
    // The handle zone of a single selection under `p` (Move elsewhere or with several
    // objects selected).
    Kind KindAt(QPoint p) const;
    // The frame a drag of `kind` from `start` to `to` gives, snapped to the grid.
    QRect DraggedFrame(Kind kind, QPoint start, QPoint to) const;
    // Gives the selection the frame `frame`: every selected object that is not locked
    // moves by the change of the frame's left and top and grows by the change of its
    // width and height (never below 1 × 1 pixel). Returns whether any object changed.
    bool ApplyFrame(const QRect& frame);

    // ---- keyboard ----
    // The objects' area (the frame less its margins) that arrow keys move.
    QRect KeyRect() const;
    // One arrow key on `rect` within a panel of `panelSize`: dx/dy is -1, 0 or 1;
    // `resize` moves the right or bottom edge instead (a single selection only);
    // `step` pixels per key.
    QRect KeyStep(const QRect& rect, int dx, int dy, bool resize, int step, QSize panelSize) const;
    // The frame that commits a keyboard rectangle.
    static QRect FrameOfKeyRect(const QRect& rect);

    // The handle squares to paint around each selected object.
    std::vector<QRect> HandleRects() const;
    QColor HandleColor() const { return selection_.size() == 1 ? Color : SecondaryColor; }

  private:
    std::vector<TGGraphicControl*> selection_;
    int gridX_ = 1;
    int gridY_ = 1;
};
