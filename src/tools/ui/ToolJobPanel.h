#pragma once

#include "JobWindow.h"

// The progress panel of a tool window: a JobWindow that lives inside the tool's own
// window instead of over it, so that the status line and the gauge appear in place of
// the tool's choices while its job runs. The tool makes one for each run, adds it to
// its layout and shows it; the job starts then, and ended() tells the outcome (the
// panel does not close itself). The tool's own Cancel button, and Escape, call
// requestCancel(): with a cancel question it is asked and Yes stops the job; without
// one the job cannot be stopped.
class ToolJobPanel : public JobWindow {
    Q_OBJECT

  public:
    explicit ToolJobPanel(QWidget* parent = nullptr);

    // Cancel asks `text` (caption `caption`) and stops the job on Yes.
    void setCancellable(const QString& text, const QString& caption);
    bool cancellable() const { return cancellable_; }
    void requestCancel();

  signals:
    void ended(JobResult result);

  protected:
    void jobEnded(JobResult result) override;
    void reject() override;

  private:
    bool cancellable_ = false;
};
