#pragma once

#include "JobWindow.h"

class QPushButton;

// What the two rebuild windows share: a text, a status line, a gauge and the buttons
// "Reindex", "Cancel" and "Help". "Reindex" hides Cancel and Help, shows the gauge and
// runs the rebuild in this job window; the rebuild is not cancelled half way, and the
// window closes when it ends (accepted when it succeeded).
class TReindexDialog : public JobWindow {
    Q_OBJECT

  public:
    QPushButton* ReindexButton;
    QPushButton* HelpButton;

  protected:
    TReindexDialog(const QString& objectName, const QString& caption, const QString& text,
                   QWidget* parent);
    // The rebuild itself, telling `progress` its status and gauge; true when it
    // succeeded.
    virtual bool run(JobProgress& progress) = 0;
    void jobEnded(JobResult result) override;

  private:
    void ReindexButtonClick();
};
