#include "TGPanelView.h"

#include <QApplication>
#include <QContextMenuEvent>
#include <QKeyEvent>
#include <QMenu>
#include <QMouseEvent>
#include <QPainter>
#include <algorithm>

#include "DesignClipboard.h"
#include "LayoutStreamReader.h"
#include "LayoutStreamWriter.h"
#include "PanelCursors.h"
#include "PanelUndo.h"
#include "TGBasePanel.h"
#include "TGGraphicControl.h"
#include "TGLabelObjectFiler.h"
#include "TGOwner.h"
#include "TReportPanel.h"
#include "ToolDrop.h"
#include "WindowMessages.h"

namespace {

// The rectangle with corners a and b, both inside it, whichever way it was drawn.
QRect spanned(QPoint a, QPoint b) {
    return QRect(QPoint(std::min(a.x(), b.x()), std::min(a.y(), b.y())),
                 QPoint(std::max(a.x(), b.x()), std::max(a.y(), b.y())));
}

// A release this soon after the press is a click: nothing moves.
constexpr quint64 kClickMs = 150;
// At most this many undo steps are kept.
constexpr int kUndoLimit = 128;

}  // namespace

TGPanelView::TGPanelView(TGBasePanel& panel, QWidget* parent) : QWidget(parent), panel_(panel) {
    setFocusPolicy(Qt::StrongFocus);
    setMouseTracking(true);
    setAttribute(Qt::WA_OpaquePaintEvent);
    setAccessibleName(tr("Layout"));
    undo_.setUndoLimit(kUndoLimit);
    SyncGrid();
    setFixedSize(sizeHint());
    current_ = Snapshot();
}

TGPanelView::~TGPanelView() {
    // The clipboard file lives as long as the panels that use it.
    DesignClipboard::RemoveFile();
}

QSize TGPanelView::sizeHint() const { return QSize(std::max(1, panel_.Width()), std::max(1, panel_.Height())); }

bool TGPanelView::Pointing() const { return panel_.Pointing; }

// ---- look ----

float TGPanelView::Zoom() const { return panel_.Zoom(); }

void TGPanelView::SetZoom(float zoom) {
    if (zoom == panel_.Zoom() || zoom <= 0.0f) return;
    ClearSelection();
    busy_ = true;
    panel_.SetZoom(zoom);
    busy_ = false;
    PanelChanged();
}

void TGPanelView::SetShowGrid(bool on) {
    panel_.ShowGrid = on;
    Invalidate();
}

void TGPanelView::SetSnapToGrid(bool on) {
    panel_.SnapToGrid = on;
    SyncGrid();
    Invalidate();
}

void TGPanelView::SetGridSize(TGridSize size) {
    panel_.GridSize = size;
    SyncGrid();
    Invalidate();
}

void TGPanelView::SyncGrid() {
    const int grid = panel_.GridSize == gs8x8 ? 8 : 4;
    handle_.SetGrid(panel_.SnapToGrid ? grid : 1, panel_.SnapToGrid ? grid : 1);
}

void TGPanelView::PanelChanged() {
    SyncGrid();
    setFixedSize(sizeHint());
    Invalidate();
}

void TGPanelView::Invalidate() {
    cacheValid_ = false;
    update();
}

// ---- painting ----

void TGPanelView::paintEvent(QPaintEvent* event) {
    const qreal dpr = devicePixelRatioF();
    const QSize pixels = (QSizeF(size()) * dpr).toSize();
    if (!cacheValid_ || cache_.size() != pixels) {
        cache_ = QImage(pixels, QImage::Format_RGB32);
        cache_.setDevicePixelRatio(dpr);
        cache_.fill(palette().color(QPalette::Window));
        QPainter p(&cache_);
        panel_.Paint(p);
        cacheValid_ = true;
    }
    QPainter p(this);
    p.setClipRegion(event->region());
    p.drawImage(0, 0, cache_);

    // Handles: solid squares on the frame 2 pixels around each selected object.
    const QColor handleColor = handle_.HandleColor();
    for (const QRect& r : handle_.HandleRects()) p.fillRect(r, handleColor);

    // Frames being drawn: dotted and inverting what is below, so that they show on any
    // background.
    auto drawFrame = [&p](const QRect& r) {
        p.save();
        p.setCompositionMode(QPainter::RasterOp_SourceXorDestination);
        p.setPen(QPen(Qt::white, 0, Qt::DotLine));
        p.setBrush(Qt::NoBrush);
        p.drawRect(r);
        p.restore();
    };
    if (bandActive_) drawFrame(spanned(bandStart_, bandEnd_));
    if (dragging_) drawFrame(dragFrame_.adjusted(2, 2, -3, -3));
    if (keyMoving_) drawFrame(keyRect_);
}

// ---- selection ----

TGGraphicControl* TGPanelView::ObjectAt(QPoint p) const {
    for (int i = panel_.ObjectCount(); i-- > 0;) {
        TGGraphicControl* o = panel_.Object(i);
        if (o->BoundsRect().contains(p)) return o;
    }
    return nullptr;
}

void TGPanelView::Select(TGGraphicControl* object, bool addToSelection) {
    if (!addToSelection) handle_.Clear();
    handle_.Add(object);
    update();
}

void TGPanelView::ClearSelection() {
    handle_.Clear();
    keyMoving_ = dragging_ = pressed_ = false;
    update();
}

void TGPanelView::SelectAll() {
    handle_.Clear();
    for (int i = 0; i < panel_.ObjectCount(); ++i) handle_.Add(panel_.Object(i));
    update();
}

void TGPanelView::SelectByBand(const QRect& band, bool toggle) {
    std::vector<TGGraphicControl*> chosen;
    if (toggle) chosen = handle_.Selection();
    for (int i = 0; i < panel_.ObjectCount(); ++i) {
        TGGraphicControl* o = panel_.Object(i);
        if (!o->BoundsRect().intersects(band)) continue;
        auto it = std::find(chosen.begin(), chosen.end(), o);
        if (it != chosen.end())
            chosen.erase(it);
        else
            chosen.push_back(o);
    }
    handle_.Clear();
    for (TGGraphicControl* o : chosen) handle_.Add(o);
}

// ---- mouse ----

QPoint TGPanelView::ClampToPanel(QPoint p) const {
    return QPoint(std::clamp(p.x(), 0, panel_.Width()), std::clamp(p.y(), 0, panel_.Height()));
}

void TGPanelView::mousePressEvent(QMouseEvent* event) {
    setFocus(Qt::MouseFocusReason);
    const QPoint p = event->position().toPoint();
    const bool shift = event->modifiers() & Qt::ShiftModifier;
    auto* band = dynamic_cast<TReportPanel*>(&panel_);
    if (bandActive_ || pressed_) return;

    if (event->button() == Qt::RightButton) {
        if (Pointing()) {
            if (handle_.Count() == 1 && handle_.SelectedAt(p)) {
                ShowObjectMenu(handle_.Selection()[0], p);
                return;
            }
            TGGraphicControl* o = ObjectAt(p);
            if (o && !o->Unselectable) {
                Select(o, shift);
                if (band) emit ControlMouseDownEvent();
                if (handle_.Count() == 1) {
                    ShowObjectMenu(o, p);
                    return;
                }
                if (handle_.IsSelected(o)) return;
            }
        }
        ShowPanelMenu(p);
        return;
    }
    if (event->button() != Qt::LeftButton) return;

    if (Pointing()) {
        const QRect frame = handle_.Frame();
        const bool onSelection =
            handle_.Count() > 0 && frame.contains(p) && (handle_.SelectedAt(p) || handle_.KindAt(p) != TGHandle::Move);
        TGGraphicControl* hit = onSelection ? nullptr : ObjectAt(p);
        if (onSelection || (hit && !hit->Unselectable)) {
            if (onSelection && shift) {
                // Shift on the selection takes the objects under the press out of it.
                std::vector<TGGraphicControl*> keep;
                for (TGGraphicControl* o : handle_.Selection())
                    if (!o->BoundsRect().contains(p)) keep.push_back(o);
                handle_.Clear();
                for (TGGraphicControl* o : keep) handle_.Add(o);
                update();
                return;
            }
            if (hit) Select(hit, shift);
            pressed_ = true;
            dragging_ = false;
            dragKind_ = onSelection ? handle_.KindAt(p) : TGHandle::Move;
            dragStart_ = p;
            dragFrame_ = handle_.Frame();
            pressTime_ = event->timestamp();
            setCursor(dragKind_ == TGHandle::Move ? layoutui::HandGrabCursor() : cursor());
            if (hit && band) emit ControlMouseDownEvent();
            return;
        }
    }
    if (band && !band->AcceptsPresses) {
        WindowMessages().beep();
        return;
    }
    bandActive_ = true;
    bandStart_ = bandEnd_ = p;
    setCursor(Pointing() ? layoutui::HandPointCursor() : QCursor(Qt::CrossCursor));
    update();
}

void TGPanelView::mouseMoveEvent(QMouseEvent* event) {
    const QPoint p = event->position().toPoint();
    if (bandActive_) {
        bandEnd_ = p;
        update();
        return;
    }
    if (pressed_ && (event->buttons() & Qt::LeftButton)) {
        if (!dragging_ && p == dragStart_) return;
        dragging_ = true;
        dragFrame_ = handle_.DraggedFrame(dragKind_, dragStart_, ClampToPanel(p));
        update();
        return;
    }
    UpdateCursor(p);
}

void TGPanelView::UpdateCursor(QPoint p) {
    if (!Pointing()) {
        setCursor(Qt::CrossCursor);
        return;
    }
    if (handle_.Count() > 0 && handle_.Frame().contains(p)) {
        switch (handle_.KindAt(p)) {
            case TGHandle::TopLeft:
            case TGHandle::BottomRight: setCursor(Qt::SizeFDiagCursor); return;
            case TGHandle::TopRight:
            case TGHandle::BottomLeft: setCursor(Qt::SizeBDiagCursor); return;
            case TGHandle::Top:
            case TGHandle::Bottom: setCursor(Qt::SizeVerCursor); return;
            case TGHandle::Left:
            case TGHandle::Right: setCursor(Qt::SizeHorCursor); return;
            case TGHandle::Move:
                if (handle_.SelectedAt(p)) {
                    setCursor(layoutui::HandGrabCursor());
                    return;
                }
                break;
        }
    }
    const TGGraphicControl* o = ObjectAt(p);
    if (o && !o->Unselectable)
        setCursor(layoutui::HandPointCursor());
    else
        unsetCursor();
}

void TGPanelView::mouseReleaseEvent(QMouseEvent* event) {
    if (event->button() != Qt::LeftButton) return;
    if (bandActive_) {
        FinishBand(event);
        return;
    }
    if (!pressed_) return;
    const bool click = event->timestamp() - pressTime_ < kClickMs;
    const QPoint p = ClampToPanel(event->position().toPoint());
    const bool wasDragging = dragging_;
    pressed_ = dragging_ = false;
    if (wasDragging && !click && p != dragStart_) {
        const QRect frame = handle_.DraggedFrame(dragKind_, dragStart_, p);
        if (handle_.ApplyFrame(frame)) {
            Invalidate();
            NotifyChanged(dragKind_ == TGHandle::Move ? tr("Move") : tr("Size"));
        }
    }
    update();
    UpdateCursor(event->position().toPoint());
}

void TGPanelView::FinishBand(QMouseEvent* event) {
    bandActive_ = false;
    bandEnd_ = event->position().toPoint();
    const QRect band = spanned(bandStart_, bandEnd_);
    if (Pointing()) {
        SelectByBand(band, event->modifiers() & Qt::ShiftModifier);
        unsetCursor();
        update();
        return;
    }
    // A drawn rectangle's width and height are the distances between its corners.
    const QRect drawn(band.topLeft(), QSize(band.width() - 1, band.height() - 1));
    update();
    DropObject(drawn);
}

void TGPanelView::mouseDoubleClickEvent(QMouseEvent* event) {
    pressed_ = dragging_ = false;
    if (!Pointing() || event->button() != Qt::LeftButton || handle_.Count() > 1) return;
    const QPoint p = event->position().toPoint();
    TGGraphicControl* o = handle_.SelectedAt(p);
    if (!o) o = ObjectAt(p);
    if (o && !o->Unselectable) {
        Select(o);
        ShowObjectMenu(o, p);
    }
}

// ---- drop ----

void TGPanelView::DropObject(const QRect& drawn) {
    const QRect rect = DropRect(drawn);
    ToolDrop drop = PrepareDrop(panel_);
    if (!drop.refusal.isEmpty()) {
        WindowMessages().beep();
        WindowMessages().inform(drop.refusal);
    } else if (drop.object) {
        TGGraphicControl* o = drop.object.get();
        o->SetOwner(panel_.Owner());
        o->SetName(panel_.Owner()->UniqueName("Special", 1, 1000));
        o->AfterLoad();
        panel_.InsertObject(std::move(drop.object));
        panel_.BindObject(o);
        QRect placed(rect.topLeft(), QSize(std::max(10, rect.width()), std::max(15, rect.height())));
        if (drop.atLeastOwnSize) {
            // Grown to the object's own size at the panel's zoom, and moved back left
            // and up as far as needed to stay on the panel.
            placed.setSize(placed.size().expandedTo(QSize(o->Width(), o->Height())));
            placed.moveLeft(std::max(0, std::min(placed.left(), panel_.Width() - placed.width())));
            placed.moveTop(std::max(0, std::min(placed.top(), panel_.Height() - placed.height())));
        }
        o->SetBounds(placed.left(), placed.top(), placed.width(), placed.height());
        Invalidate();
        if (drop.opensDialog && dialogs_) dialogs_->edit(drop.dialog, *o, this);
        if (drop.refresh) panel_.RefreshData();
        if (drop.fit) FitObject(*o);
        Invalidate();
        NotifyChanged(tr("Add Object"));
    }
    emit DroppedObjectEvent(rect);
}

// ---- keys ----

void TGPanelView::keyPressEvent(QKeyEvent* event) {
    const Qt::KeyboardModifiers mods = event->modifiers() & ~Qt::KeypadModifier;
    const bool shift = mods & Qt::ShiftModifier;
    const int key = event->key();
    int dx = 0, dy = 0;
    switch (key) {
        case Qt::Key_Left: dx = -1; break;
        case Qt::Key_Right: dx = 1; break;
        case Qt::Key_Up: dy = -1; break;
        case Qt::Key_Down: dy = 1; break;
        default: break;
    }
    if ((dx || dy) && (mods & ~Qt::ShiftModifier) == 0) {
        if (handle_.Count() == 0 || pressed_) return;
        if (!keyMoving_) {
            keyMoving_ = true;
            keyRect_ = handle_.KeyRect();
        }
        // One pixel a key, a grid step while snapping.
        const int step = dx ? handle_.GridX() : handle_.GridY();
        keyRect_ = handle_.KeyStep(keyRect_, dx, dy, shift, step, QSize(panel_.Width(), panel_.Height()));
        update();
        return;
    }
    if (event->matches(QKeySequence::Undo)) return Undo();
    if (event->matches(QKeySequence::Redo) || (key == Qt::Key_Y && mods == Qt::ControlModifier) ||
        (key == Qt::Key_Z && mods == (Qt::ControlModifier | Qt::ShiftModifier)))
        return Redo();
    if (event->matches(QKeySequence::Copy)) return CopySelection();
    if (event->matches(QKeySequence::Cut)) return CutSelection();
    if (event->matches(QKeySequence::Paste)) return Paste();
    if (event->matches(QKeySequence::SelectAll)) return SelectAll();
    if (key == Qt::Key_Delete && mods == Qt::NoModifier) return DeleteSelection();
    if (key == Qt::Key_Menu || (key == Qt::Key_F10 && mods == Qt::ShiftModifier)) return OpenContextMenuFromKeyboard();
    if (key == Qt::Key_Escape) {
        if (bandActive_) {
            bandActive_ = false;
        } else if (pressed_) {
            pressed_ = dragging_ = false;
        } else if (keyMoving_) {
            keyMoving_ = false;
        } else if (!Pointing()) {
            DisarmTool(panel_);
            unsetCursor();
            emit PanelStateChanged();
        } else {
            event->ignore();
            return;
        }
        update();
        return;
    }
    QWidget::keyPressEvent(event);
}

void TGPanelView::keyReleaseEvent(QKeyEvent* event) {
    const int key = event->key();
    const bool arrow = key == Qt::Key_Left || key == Qt::Key_Right || key == Qt::Key_Up || key == Qt::Key_Down;
    if (!arrow || event->isAutoRepeat() || !keyMoving_) {
        QWidget::keyReleaseEvent(event);
        return;
    }
    keyMoving_ = false;
    if (handle_.ApplyFrame(TGHandle::FrameOfKeyRect(keyRect_))) {
        Invalidate();
        NotifyChanged(tr("Move"), kKeyMoveId);
    }
    update();
}

void TGPanelView::contextMenuEvent(QContextMenuEvent* event) {
    // Presses of the right button open their menu as they happen.
    if (event->reason() == QContextMenuEvent::Keyboard) OpenContextMenuFromKeyboard();
}

void TGPanelView::OpenContextMenuFromKeyboard() {
    if (handle_.Count() == 1) {
        const QRect r = handle_.Selection()[0]->BoundsRect();
        ShowObjectMenu(handle_.Selection()[0], r.center());
    } else {
        const QRect f = handle_.Frame();
        ShowPanelMenu(f.isNull() ? QPoint(8, 8) : f.center());
    }
}

// ---- menus ----

void TGPanelView::ShowMenu(QMenu& menu, QPoint panelPos) {
    pressed_ = dragging_ = false;
    update();
    menu.exec(mapToGlobal(panelPos));
}

void TGPanelView::ShowObjectMenu(TGGraphicControl* object, QPoint panelPos) {
    std::unique_ptr<QMenu> menu = BuildObjectMenu(object);
    ShowMenu(*menu, panelPos);
}

void TGPanelView::ShowPanelMenu(QPoint panelPos) {
    std::unique_ptr<QMenu> menu = BuildPanelMenu();
    ShowMenu(*menu, panelPos);
}

// ---- undo ----

QByteArray TGPanelView::Snapshot() const {
    std::vector<const TGGraphicControl*> objects;
    for (int i = 0; i < panel_.ObjectCount(); ++i) objects.push_back(panel_.Object(i));
    layout::LayoutStreamWriter w;
    TGLabelObjectFiler::WriteObjectList(w, objects);
    return w.data();
}

void TGPanelView::Restore(const QByteArray& snapshot) {
    ClearSelection();
    busy_ = true;
    panel_.ClearObjects();
    // Read without the owner so that the objects keep their names, then hand them to it.
    layout::LayoutStreamReader r(snapshot);
    std::vector<TGGraphicControl*> read;
    (void)TGLabelObjectFiler::ReadObjectList(r, nullptr, panel_, 0, &read);
    for (TGGraphicControl* o : read) o->SetOwner(panel_.Owner());
    panel_.RefreshData();
    busy_ = false;
    current_ = snapshot;
    Invalidate();
    emit LabelChangedEvent();
}

void TGPanelView::Undo() {
    if (undo_.canUndo()) undo_.undo();
}

void TGPanelView::Redo() {
    if (undo_.canRedo()) undo_.redo();
}

void TGPanelView::ResetUndo() {
    undo_.clear();
    current_ = Snapshot();
    Invalidate();
}

void TGPanelView::NotifyChanged(const QString& what, int mergeId) {
    if (busy_ || panel_.Printing) return;
    const QByteArray after = Snapshot();
    if (after != current_) {
        undo_.push(new PanelUndoStep(*this, what, current_, after, mergeId));
        current_ = after;
    }
    Invalidate();
    emit LabelChangedEvent();
}
