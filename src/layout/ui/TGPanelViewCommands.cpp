// The commands of the design panel: clipboard, z-order, alignment, locking and fonts,
// on the selection (the panel's popup menu) or on one object (its own popup menu).
#include <QApplication>
#include <algorithm>

#include "DesignClipboard.h"
#include "LayoutStreamReader.h"
#include "LayoutStreamWriter.h"
#include "TGBasePanel.h"
#include "TGGraphicControl.h"
#include "TGLabelObjectFiler.h"
#include "TGPanelView.h"
#include "ToolDrop.h"
#include "WindowMessages.h"

namespace {

// A second paste this soon after the last is ignored.
constexpr qint64 kPasteInterval = 1000;

QByteArray objectList(const std::vector<TGGraphicControl*>& objects) {
    layout::LayoutStreamWriter w;
    TGLabelObjectFiler::WriteObjectList(w, std::vector<const TGGraphicControl*>(objects.begin(), objects.end()));
    return w.data();
}

void putOnClipboard(const std::vector<TGGraphicControl*>& objects) {
    QString error;
    if (!DesignClipboard::Put(objectList(objects), &error)) WindowMessages().error(error);
}

}  // namespace

// ---- clipboard ----

void TGPanelView::CopySelection() {
    if (handle_.Count() == 0) return;
    putOnClipboard(handle_.Selection());
}

void TGPanelView::CutSelection() {
    if (handle_.Count() == 0) return;
    CopySelection();
    DeleteSelection();
}

void TGPanelView::DeleteSelection() {
    if (handle_.Count() == 0) return;
    const std::vector<TGGraphicControl*> selection = handle_.Selection();
    RemoveObjects(selection);
    NotifyChanged(tr("Delete"));
}

void TGPanelView::RemoveObjects(const std::vector<TGGraphicControl*>& objects) {
    for (auto it = objects.rbegin(); it != objects.rend(); ++it) {
        handle_.Remove(*it);
        panel_.DeleteObject(*it);
    }
    keyMoving_ = dragging_ = pressed_ = false;
    Invalidate();
}

void TGPanelView::Paste() {
    if (lastPaste_.isValid() && lastPaste_.elapsed() < kPasteInterval) return;
    const QByteArray list = DesignClipboard::Get();
    if (list.isEmpty()) return;
    PasteList(list);
    lastPaste_.start();
}

void TGPanelView::PasteList(const QByteArray& list) {
    layout::LayoutStreamReader r(list);
    std::vector<TGGraphicControl*> read;
    const LayoutStatus s = TGLabelObjectFiler::ReadObjectList(r, panel_.Owner(), panel_, 15, &read);
    // A report band keeps its rules for pasted objects too: objects of a kind it does
    // not take are left out, and its message is shown once.
    QString refusal;
    for (auto it = read.begin(); it != read.end();) {
        const QString why = BandRefusal(panel_, **it);
        if (why.isEmpty()) {
            ++it;
            continue;
        }
        refusal = why;
        panel_.DeleteObject(*it);
        it = read.erase(it);
    }
    // The pasted objects become the selection.
    handle_.Clear();
    for (TGGraphicControl* o : read) handle_.Add(o);
    panel_.RefreshData();
    NotifyChanged(tr("Paste"));
    if (!s.ok()) WindowMessages().error(s.message());
    if (!refusal.isEmpty()) WindowMessages().inform(refusal);
}

void TGPanelView::CopyObject(TGGraphicControl* object) {
    if (handle_.IsSelected(object))
        CopySelection();
    else
        putOnClipboard({object});
}

void TGPanelView::CutObject(TGGraphicControl* object) {
    if (handle_.IsSelected(object)) return CutSelection();
    putOnClipboard({object});
    DeleteObject(object);
}

void TGPanelView::DeleteObject(TGGraphicControl* object) {
    if (handle_.IsSelected(object)) return DeleteSelection();
    RemoveObjects({object});
    NotifyChanged(tr("Delete"));
}

TGGraphicControl* TGPanelView::CloneObject(TGGraphicControl* object) {
    TGGraphicControl* copy = TGLabelObjectFiler().CloneObject(*object, panel_.Owner(), panel_);
    if (!copy) return nullptr;
    if (handle_.IsSelected(object)) {
        handle_.Remove(object);
        handle_.Add(copy);
    }
    panel_.RefreshData();
    NotifyChanged(tr("Clone"));
    return copy;
}

// ---- z-order ----

void TGPanelView::BringSelectionToFront() {
    if (handle_.Count() == 0) return;
    for (TGGraphicControl* o : handle_.Selection()) panel_.BringToFront(o);
    NotifyChanged(tr("Bring To Front"));
}

void TGPanelView::SendSelectionToBack() {
    if (handle_.Count() == 0) return;
    // From the last selected, so that the selection keeps its order at the back.
    const std::vector<TGGraphicControl*> selection = handle_.Selection();
    for (auto it = selection.rbegin(); it != selection.rend(); ++it) panel_.SendToBack(*it);
    ClearSelection();
    NotifyChanged(tr("Send To Back"));
}

void TGPanelView::BringToFront(TGGraphicControl* object) {
    panel_.BringToFront(object);
    NotifyChanged(tr("Bring To Front"));
}

void TGPanelView::SendToBack(TGGraphicControl* object) {
    panel_.SendToBack(object);
    ClearSelection();
    NotifyChanged(tr("Send To Back"));
}

// ---- alignment ----

void TGPanelView::AlignSelection(Align how) {
    const std::vector<TGGraphicControl*>& sel = handle_.Selection();
    if (sel.empty()) return;
    int target = 0;
    switch (how) {
        case Align::Left:
            target = (*std::min_element(sel.begin(), sel.end(), [](auto a, auto b) { return a->Left() < b->Left(); }))->Left();
            for (TGGraphicControl* o : sel) o->SetLeft(target);
            break;
        case Align::Right: {
            auto right = [](const TGGraphicControl* o) { return o->Left() + o->Width(); };
            for (const TGGraphicControl* o : sel) target = std::max(target, right(o));
            for (TGGraphicControl* o : sel) o->SetLeft(target - o->Width());
            break;
        }
        case Align::Tops:
            target = (*std::min_element(sel.begin(), sel.end(), [](auto a, auto b) { return a->Top() < b->Top(); }))->Top();
            for (TGGraphicControl* o : sel) o->SetTop(target);
            break;
        case Align::Bottoms: {
            auto bottom = [](const TGGraphicControl* o) { return o->Top() + o->Height(); };
            target = bottom(sel[0]);
            for (const TGGraphicControl* o : sel) target = std::max(target, bottom(o));
            for (TGGraphicControl* o : sel) o->SetTop(target - o->Height());
            break;
        }
    }
    NotifyChanged(tr("Align"));
}

void TGPanelView::CenterSelection(bool vertically) {
    if (handle_.Count() == 0) return;
    for (TGGraphicControl* o : handle_.Selection()) {
        if (vertically)
            o->SetTop(panel_.Height() / 2 - o->Height() / 2);
        else
            o->SetLeft(panel_.Width() / 2 - o->Width() / 2);
    }
    NotifyChanged(tr("Center"));
}

void TGPanelView::CenterObject(TGGraphicControl* object, bool vertically) {
    if (vertically)
        object->SetTop(panel_.Height() / 2 - object->Height() / 2);
    else
        object->SetLeft(panel_.Width() / 2 - object->Width() / 2);
    NotifyChanged(tr("Center"));
}

void TGPanelView::MakeSameSize() {
    if (handle_.Count() < 2) return;
    const TGGraphicControl* first = handle_.Selection()[0];
    for (TGGraphicControl* o : handle_.Selection())
        if (!o->Locked) o->SetBounds(o->Left(), o->Top(), first->Width(), first->Height());
    NotifyChanged(tr("Same Size"));
}

// ---- locking and selectability ----

void TGPanelView::LockAll(bool locked) {
    for (int i = 0; i < panel_.ObjectCount(); ++i) panel_.Object(i)->Locked = locked;
    NotifyChanged(locked ? tr("Lock All") : tr("Unlock All"));
}

void TGPanelView::MarkAllSelectable(bool selectable) {
    for (int i = 0; i < panel_.ObjectCount(); ++i) {
        TGGraphicControl* o = panel_.Object(i);
        o->Unselectable = !selectable;
        if (!selectable) handle_.Remove(o);
    }
    update();
    NotifyChanged(selectable ? tr("Mark All Selectable") : tr("Mark All Unselectable"));
}

// ---- fonts and dialogs ----

void TGPanelView::ChooseFontForSelection() {
    if (handle_.Count() == 0 || !dialogs_) return;
    LayoutFont font = panel_.Font;
    if (!dialogs_->chooseFont(font, this)) return;
    for (TGGraphicControl* o : handle_.Selection()) o->ApplyFont(font);
    NotifyChanged(tr("Font"));
}

bool TGPanelView::EditObject(TGGraphicControl* object, ObjectDialog dialog) {
    if (!dialogs_ || !dialogs_->edit(dialog, *object, this)) {
        // The field choosers refresh the panel whatever the answer.
        if (dialog == ObjectDialog::Field || dialog == ObjectDialog::MemoField) {
            panel_.RefreshData();
            Invalidate();
        }
        return false;
    }
    switch (dialog) {
        case ObjectDialog::Text:
        case ObjectDialog::MultiLineText:
        case ObjectDialog::Symbol: FitObject(*object); break;
        case ObjectDialog::Field:
        case ObjectDialog::MemoField:
        case ObjectDialog::AddressLayout: panel_.RefreshData(); break;
        default: break;
    }
    NotifyChanged(tr("Edit"));
    return true;
}
