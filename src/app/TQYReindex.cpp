#include "TQYReindex.h"

#include <QApplication>
#include <QHBoxLayout>
#include <QLabel>
#include <QProgressBar>
#include <QPushButton>
#include <QVBoxLayout>

#include "AddressFile.h"
#include "HelpSystem.h"

TQYReindex::TQYReindex(xbase::Table& table, const QString& fileName, QWidget* parent)
    : QDialog(parent), table_(table) {
    setObjectName("TQYReindex");
    setWindowTitle("Rebuild indexes for " + fileName);
    HelpSystem::setTopic(this, HelpTopic::RebuildIndexes);

    auto* text = new QLabel(
        "Deleted records are removed for good, then the sort orders of the file are built "
        "anew.");
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
    connect(ReindexButton, &QPushButton::clicked, this, &TQYReindex::ReindexButtonClick);
    connect(CancelButton, &QPushButton::clicked, this, &QDialog::reject);
    connect(HelpButton, &QPushButton::clicked, this,
            [] { HelpSystem::showTopic(HelpTopic::RebuildIndexes); });

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

void TQYReindex::ReindexButtonClick() {
    QApplication::setOverrideCursor(Qt::WaitCursor);
    Gauge->setValue(0);
    Gauge->show();
    ReindexButton->setEnabled(false);
    CancelButton->hide();
    HelpButton->hide();
    AddressFile::ReindexGauge gauge;
    const bool ok = AddressFile::Reindex(
        table_, gauge, &error_,
        [this](const QString& status) {
            StatusLabel->setText(status);
            QApplication::processEvents(QEventLoop::ExcludeUserInputEvents);
        },
        [this](int value) {
            if (value != Gauge->value()) {
                Gauge->setValue(value);
                QApplication::processEvents(QEventLoop::ExcludeUserInputEvents);
            }
        });
    if (ok) error_.clear();
    Gauge->hide();
    QApplication::restoreOverrideCursor();
    if (ok) {
        accept();
    } else {
        reject();
    }
}
