#pragma once

#include <QByteArray>
#include <QElapsedTimer>
#include <QUndoCommand>

class TGPanelView;

// One change made on a design panel, kept as the panel's layout stream before and after
// it (a few hundred bytes an object; consecutive steps share the stream between them).
// Undo and redo read the kept stream back onto the panel.
class PanelUndoStep : public QUndoCommand {
  public:
    // The change has been made when the step is pushed.
    PanelUndoStep(TGPanelView& view, const QString& text, const QByteArray& before, const QByteArray& after,
                  int mergeId);

    void undo() override;
    void redo() override;
    int id() const override { return mergeId_; }
    // Steps of the same id a second apart or less become one (a burst of arrow keys).
    bool mergeWith(const QUndoCommand* other) override;

  private:
    TGPanelView& view_;
    QByteArray before_;
    QByteArray after_;
    int mergeId_;
    bool done_ = true;  // the first redo() is the change itself
    QElapsedTimer lastChange_;
};
