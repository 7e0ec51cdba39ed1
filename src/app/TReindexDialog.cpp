#include "TReindexDialog.h"

#include <QApplication>
#include <QHBoxLayout>
#include <QLabel>
#include <QProgressBar>
#include <QPushButton>
#include <QVBoxLayout>
#include <algorithm>

#include "ButtonRow.h"
#include "HelpSystem.h"

TReindexDialog::TReindexDialog(const QString& objectName, const QString& caption, const QString& text,
                               int helpTopic, QWidget* parent)
    : QDialog(parent) {
    setObjectName(objectName);
    setWindowTitle(caption);
    HelpSystem::setTopic(this, helpTopic);

    auto* textLabel = new QLabel(text);
    textLabel->setWordWrap(true);
    StatusLabel = new QLabel;
    StatusLabel->setObjectName("StatusLabel");
    Gauge = new QProgressBar;
    Gauge->setObjectName("Gauge");
    Gauge->setRange(0, 100);
    Gauge->hide();
    // The row's Ok is this window's Reindex.
    ButtonRow buttons(
        this, [this] { ReindexButtonClick(); }, [helpTopic] { HelpSystem::showTopic(helpTopic); },
        Qt::Horizontal, "Reindex");
    ReindexButton = buttons.OkButton;
    ReindexButton->setObjectName("ReindexButton");
    CancelButton = buttons.CancelButton;
    HelpButton = buttons.HelpButton;
    auto* layout = new QVBoxLayout(this);
    layout->addWidget(textLabel);
    layout->addWidget(StatusLabel);
    layout->addWidget(Gauge);
    layout->addLayout(buttons.layout);
    setMinimumWidth(420);
}

void TReindexDialog::showStatus(const QString& status) {
    StatusLabel->setText(status);
    QApplication::processEvents(QEventLoop::ExcludeUserInputEvents);
}

void TReindexDialog::showGauge(int percent) {
    percent = std::clamp(percent, 0, 100);
    if (percent == Gauge->value()) return;
    Gauge->setValue(percent);
    QApplication::processEvents(QEventLoop::ExcludeUserInputEvents);
}

void TReindexDialog::ReindexButtonClick() {
    QApplication::setOverrideCursor(Qt::WaitCursor);
    Gauge->setValue(0);
    Gauge->show();
    ReindexButton->setEnabled(false);
    CancelButton->hide();
    HelpButton->hide();
    const bool ok = run();
    Gauge->hide();
    QApplication::restoreOverrideCursor();
    if (ok) {
        accept();
    } else {
        reject();
    }
}
