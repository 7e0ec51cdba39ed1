#include "ToolJobPanel.h"

#include <QLabel>
#include <QPushButton>

ToolJobPanel::ToolJobPanel(QWidget* parent) : JobWindow(parent) {
    setWindowFlags(Qt::Widget);
    setModal(false);
    // The tool window's own buttons act for the panel's.
    CancelButton->hide();
    StatusLabel->setMinimumSize(0, 0);
}

void ToolJobPanel::setCancellable(const QString& text, const QString& caption) {
    setCancelQuestion(text, caption);
    cancellable_ = true;
}

void ToolJobPanel::requestCancel() {
    if (cancellable_) JobWindow::reject();
}

void ToolJobPanel::jobEnded(JobResult result) { emit ended(result); }

void ToolJobPanel::reject() { requestCancel(); }
