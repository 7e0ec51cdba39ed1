#include "TReindexDialog.h"

#include <QApplication>
#include <QHBoxLayout>
#include <QLabel>
#include <QProgressBar>
#include <QPushButton>
#include <QVBoxLayout>

#include "HelpLink.h"

TReindexDialog::TReindexDialog(const QString& objectName, const QString& caption, const QString& text,
                               QWidget* parent)
    : JobWindow(parent) {
    setObjectName(objectName);
    setWindowTitle(caption);
    setStartsOnShow(false);

    auto* textLabel = new QLabel(text);
    textLabel->setWordWrap(true);
    body()->addWidget(textLabel);
    StatusLabel->setAlignment(Qt::AlignLeft | Qt::AlignVCenter);
    StatusLabel->setMinimumSize(0, 0);
    ReindexButton = new QPushButton("Reindex", this);
    ReindexButton->setObjectName("ReindexButton");
    ReindexButton->setDefault(true);
    HelpButton = new QPushButton("Help", this);
    HelpButton->setObjectName("HelpButton");
    HelpButton->setAutoDefault(false);
    // Reindex, Cancel, Help, at the right.
    buttonRow()->insertWidget(1, ReindexButton);
    buttonRow()->insertWidget(3, HelpButton);
    delete buttonRow()->takeAt(buttonRow()->count() - 1);  // the trailing stretch
    connect(ReindexButton, &QPushButton::clicked, this, &TReindexDialog::ReindexButtonClick);
    connect(HelpButton, &QPushButton::clicked, this, [this] { HelpLink::showFor(this); });
    setJob([this](JobProgress& progress) { return run(progress) ? JobResult::Done : JobResult::Failed; });
    setMinimumWidth(420);
}

void TReindexDialog::ReindexButtonClick() {
    if (started()) return;
    QApplication::setOverrideCursor(Qt::WaitCursor);
    setGaugeShown(true);
    ReindexButton->setEnabled(false);
    CancelButton->hide();
    HelpButton->hide();
    start();
}

void TReindexDialog::jobEnded(JobResult result) {
    setGaugeShown(false);
    QApplication::restoreOverrideCursor();
    JobWindow::jobEnded(result);
}
