#pragma once

#include <QByteArray>
#include <QElapsedTimer>
#include <QImage>
#include <QPoint>
#include <QRect>
#include <QUndoStack>
#include <QWidget>
#include <memory>

#include "LayoutEnums.h"
#include "ObjectDialogs.h"
#include "TGHandle.h"

class QMenu;
class TGBasePanel;
class TGGraphicControl;

// The design surface: the window that shows one panel of a label, an envelope or a
// report band (TGLabelPanel, TEnvelopePanel, TReportPanel, or any TGBasePanel) and on
// which the user places, selects, moves, sizes, aligns, copies and deletes its objects
// with the mouse, the keyboard and popup menus. A designer window hosts one view per
// panel, arms drawing tools through the panel's PanelState and listens to
// DroppedObjectEvent and LabelChangedEvent.
//
// The panel (borrowed; it must outlive the view) keeps the objects; the view keeps the
// selection (TGHandle), the undo history and the state of a drag. Every change made
// through the view is one undo step: the step keeps the layout stream before and after
// it, and undoing reads the earlier stream back onto the panel.
//
// Dialogs that edit one object go through the ObjectDialogs the host sets (none set:
// the items that open them do nothing).
class TGPanelView : public QWidget {
    Q_OBJECT

  public:
    explicit TGPanelView(TGBasePanel& panel, QWidget* parent = nullptr);
    ~TGPanelView() override;

    TGBasePanel& Panel() const { return panel_; }
    TGHandle& Handle() { return handle_; }
    const TGHandle& Handle() const { return handle_; }

    void setObjectDialogs(ObjectDialogs* dialogs) { dialogs_ = dialogs; }
    ObjectDialogs* objectDialogs() const { return dialogs_; }

    // ---- the panel's look ----
    // Scales the panel and its objects (the selection is cleared first); stored
    // coordinates do not change.
    void SetZoom(float zoom);
    float Zoom() const;
    void SetShowGrid(bool on);
    void SetSnapToGrid(bool on);
    void SetGridSize(TGridSize size);
    // Takes the panel's size, grid and look after the host changed them directly, and
    // repaints.
    void PanelChanged();
    // True while zooming: changes then raise no notification.
    bool Busy() const { return busy_; }

    // ---- selection ----
    void Select(TGGraphicControl* object, bool addToSelection = false);
    void ClearSelection();
    void SelectAll();

    // ---- commands on the selection (the panel popup's items) ----
    void CopySelection();
    void CutSelection();
    void Paste();
    void DeleteSelection();
    void BringSelectionToFront();
    void SendSelectionToBack();
    enum class Align { Left, Right, Tops, Bottoms };
    void AlignSelection(Align how);
    void CenterSelection(bool vertically);
    // Every selected object takes the size of the first one selected.
    void MakeSameSize();
    void LockAll(bool locked);
    void MarkAllSelectable(bool selectable);
    // The font dialog, seeded with the panel's font; OK gives every selected object the
    // chosen font.
    void ChooseFontForSelection();

    // ---- commands on one object (its popup's items) ----
    void CopyObject(TGGraphicControl* object);
    void CutObject(TGGraphicControl* object);
    void DeleteObject(TGGraphicControl* object);
    TGGraphicControl* CloneObject(TGGraphicControl* object);
    void BringToFront(TGGraphicControl* object);
    void SendToBack(TGGraphicControl* object);
    void CenterObject(TGGraphicControl* object, bool vertically);
    // Opens one of the object's dialogs; true when it was confirmed.
    bool EditObject(TGGraphicControl* object, ObjectDialog dialog);

    // ---- the popup menus, built afresh with their enabled states and check marks ----
    std::unique_ptr<QMenu> BuildPanelMenu();
    std::unique_ptr<QMenu> BuildObjectMenu(TGGraphicControl* object);

    // Places the object of the armed tool in `drawn` (panel pixels), as a drag with the
    // tool does: its dialog, its record values, one undo step, DroppedObjectEvent.
    void DropObject(const QRect& drawn);

    // ---- undo ----
    QUndoStack& UndoStack() { return undo_; }
    void Undo();
    void Redo();
    // The host replaced the layout (loaded a file, cleared it): the history starts
    // again from what the panel holds now.
    void ResetUndo();
    // The layout stream of the panel's objects as an undo step keeps it.
    QByteArray Snapshot() const;
    // Reads a snapshot back onto the panel in place of its objects.
    void Restore(const QByteArray& snapshot);

    // Raises the change notification after a change of the layout and records the
    // change as one undo step named `what`. Steps with the same `mergeId` (above 0)
    // that follow each other within a second become one step (keyboard moves).
    void NotifyChanged(const QString& what, int mergeId = -1);

    // The id of keyboard moves in the undo history.
    static constexpr int kKeyMoveId = 1;

  signals:
    // A drawing tool was used: `rect` is the rectangle drawn (also when a report band
    // refused the object).
    void DroppedObjectEvent(const QRect& rect);
    // The layout changed (also after undo and redo).
    void LabelChangedEvent();
    // A report band: a press on one of its objects was handled.
    void ControlMouseDownEvent();
    // Escape put the selection tool back.
    void PanelStateChanged();

  protected:
    void paintEvent(QPaintEvent* event) override;
    void mousePressEvent(QMouseEvent* event) override;
    void mouseMoveEvent(QMouseEvent* event) override;
    void mouseReleaseEvent(QMouseEvent* event) override;
    void mouseDoubleClickEvent(QMouseEvent* event) override;
    void keyPressEvent(QKeyEvent* event) override;
    void keyReleaseEvent(QKeyEvent* event) override;
    void contextMenuEvent(QContextMenuEvent* event) override;
    QSize sizeHint() const override;

  private:
    // The topmost selectable object under `p`.
    TGGraphicControl* ObjectAt(QPoint p) const;
    void ShowMenu(QMenu& menu, QPoint panelPos);
    void ShowObjectMenu(TGGraphicControl* object, QPoint panelPos);
    void ShowPanelMenu(QPoint panelPos);
    void OpenContextMenuFromKeyboard();
    void FinishBand(QMouseEvent* event);
    void SelectByBand(const QRect& band, bool toggle);
    void UpdateCursor(QPoint p);
    QPoint ClampToPanel(QPoint p) const;
    // Deletes the objects (last first) without raising the notification.
    void RemoveObjects(const std::vector<TGGraphicControl*>& objects);
    void PasteList(const QByteArray& list);
    bool Pointing() const;
    // Repaints with the panel's objects drawn afresh.
    void Invalidate();
    void SyncGrid();

    TGBasePanel& panel_;
    TGHandle handle_;
    ObjectDialogs* dialogs_ = nullptr;
    QUndoStack undo_;
    QByteArray current_;  // the snapshot of the last recorded state
    bool busy_ = false;

    // The panel's objects as last painted, reused while only the overlay changes.
    QImage cache_;
    bool cacheValid_ = false;

    // Rubber band (a selection or a drop rectangle) in panel pixels.
    bool bandActive_ = false;
    QPoint bandStart_, bandEnd_;

    // Mouse drag of the selection.
    bool pressed_ = false;
    bool dragging_ = false;
    TGHandle::Kind dragKind_ = TGHandle::Move;
    QPoint dragStart_;
    QRect dragFrame_;
    quint64 pressTime_ = 0;

    // Keyboard move.
    bool keyMoving_ = false;
    QRect keyRect_;

    // Paste only once per second.
    QElapsedTimer lastPaste_;
};
