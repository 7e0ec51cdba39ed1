#include "PanelUndo.h"

#include "TGPanelView.h"

namespace {

// Steps further apart than this stay apart.
constexpr qint64 kMergeMs = 1000;

}  // namespace

PanelUndoStep::PanelUndoStep(TGPanelView& view, const QString& text, const QByteArray& before,
                             const QByteArray& after, int mergeId)
    : QUndoCommand(text), view_(view), before_(before), after_(after), mergeId_(mergeId) {
    lastChange_.start();
}

void PanelUndoStep::undo() { view_.Restore(before_); }

void PanelUndoStep::redo() {
    if (done_) {
        done_ = false;
        return;
    }
    view_.Restore(after_);
}

bool PanelUndoStep::mergeWith(const QUndoCommand* other) {
    const auto* step = static_cast<const PanelUndoStep*>(other);
    if (mergeId_ <= 0 || lastChange_.elapsed() > kMergeMs) return false;
    after_ = step->after_;
    lastChange_.restart();
    return true;
}
