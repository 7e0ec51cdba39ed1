#include "TSystemReindex.h"

#include <QApplication>
#include <QHBoxLayout>
#include <QLabel>
#include <QProgressBar>
#include <QPushButton>
#include <QVBoxLayout>

#include "HelpSystem.h"
#include "SystemTables.h"

TSystemReindex::TSystemReindex(const AppHome& home, QWidget* parent) : QDialog(parent), home_(home) {
    setObjectName("TSystemReindex");
    setWindowTitle("Rebuild System Indexes");
    HelpSystem::setTopic(this, HelpTopic::RebuildSystem);

    auto* text = new QLabel(
        "Rebuilds the indexes of the label, envelope, letter and report files, the label "
        "stock list and the state/province list.");
    text->setWordWrap(true);
    StatusLabel = new QLabel;
    StatusLabel->setObjectName("StatusLabel");
    Gauge = new QProgressBar;
    Gauge->setObjectName("Gauge");
    Gauge->setRange(0, 100);
    Gauge->hide();
    ReindexButton = new QPushButton("Reindex");
    ReindexButton->setObjectName("ReindexButton");
    ReindexButton->setDefault(true);
    CancelButton = new QPushButton("Cancel");
    CancelButton->setObjectName("CancelButton");
    HelpButton = new QPushButton("Help");
    HelpButton->setObjectName("HelpButton");
    connect(ReindexButton, &QPushButton::clicked, this, &TSystemReindex::ReindexButtonClick);
    connect(CancelButton, &QPushButton::clicked, this, &QDialog::reject);
    connect(HelpButton, &QPushButton::clicked, this, [] { HelpSystem::showTopic(HelpTopic::RebuildSystem); });

    auto* buttons = new QHBoxLayout;
    buttons->addStretch(1);
    buttons->addWidget(ReindexButton);
    buttons->addWidget(CancelButton);
    buttons->addWidget(HelpButton);
    auto* layout = new QVBoxLayout(this);
    layout->addWidget(text);
    layout->addWidget(StatusLabel);
    layout->addWidget(Gauge);
    layout->addLayout(buttons);
    setMinimumWidth(420);
}

void TSystemReindex::ReindexButtonClick() {
    Gauge->setValue(0);
    Gauge->show();
    ReindexButton->setEnabled(false);
    CancelButton->hide();
    HelpButton->hide();
    QApplication::setOverrideCursor(Qt::WaitCursor);
    SystemTables::RebuildSystemIndexes(
        home_,
        [this](const QString& status) {
            StatusLabel->setText(status);
            QApplication::processEvents(QEventLoop::ExcludeUserInputEvents);
        },
        [this](int percent) {
            if (percent != Gauge->value()) {
                Gauge->setValue(std::clamp(percent, 0, 100));
                QApplication::processEvents(QEventLoop::ExcludeUserInputEvents);
            }
        });
    QApplication::restoreOverrideCursor();
    Gauge->setValue(0);
    Gauge->hide();
    ReindexButton->setEnabled(true);
    CancelButton->show();
    HelpButton->show();
    accept();
}
