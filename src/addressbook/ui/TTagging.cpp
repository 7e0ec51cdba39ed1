#include "TTagging.h"

#include <QApplication>
#include <QCloseEvent>
#include <QHBoxLayout>
#include <QKeyEvent>
#include <QLabel>
#include <QPushButton>
#include <QVBoxLayout>

#include "WindowMessages.h"

TTagging::TTagging(DialogServices services, QWidget* parent)
    : QDialog(parent), services_(std::move(services)) {
    setObjectName("TTagging");
    setWindowTitle("Tagging");
    setModal(true);

    TaggingLabel = new QLabel(TagAll::kRunningText);
    TaggingLabel->setObjectName("TaggingLabel");
    ProgressLabel = new QLabel;
    ProgressLabel->setObjectName("ProgressLabel");
    CancelButton = new QPushButton("Cancel");
    CancelButton->setObjectName("CancelButton");
    OkButton = new QPushButton("Ok");
    OkButton->setObjectName("OkButton");
    OkButton->hide();
    connect(CancelButton, &QPushButton::clicked, this, &TTagging::CancelButtonClick);
    connect(OkButton, &QPushButton::clicked, this, &QDialog::accept);

    auto* buttons = new QHBoxLayout;
    buttons->addStretch(1);
    buttons->addWidget(CancelButton);
    buttons->addWidget(OkButton);
    buttons->addStretch(1);
    auto* layout = new QVBoxLayout(this);
    layout->addWidget(TaggingLabel);
    layout->addWidget(ProgressLabel);
    layout->addLayout(buttons);
    setMinimumWidth(280);
}

TagAll::Result TTagging::runLoop(const Loop& loop) {
    cancelled_ = false;
    running_ = true;
    TaggingLabel->setText(TagAll::kRunningText);
    ProgressLabel->clear();
    OkButton->hide();
    CancelButton->show();
    show();
    QApplication::processEvents();

    const TagAll::Result result = loop([this](uint32_t tagged) {
        ProgressLabel->setText(TagAll::ProgressText(tagged));
        emit progressed(tagged);
        QApplication::processEvents();
        return !cancelled_;
    });

    running_ = false;
    TaggingLabel->setText(result.labelText());
    ProgressLabel->clear();
    CancelButton->hide();
    OkButton->show();
    OkButton->setDefault(true);
    OkButton->setFocus();
    if (result.outcome == TagAll::Outcome::Failed) WindowMessages().inform(result.message);
    return result;
}

std::optional<TagAll::Result> TTagging::TagAllFilterMatches(xbase::Table& table, const QString& globalTagId,
                                                            const DialogServices& services, QWidget* parent) {
    if (!WindowMessages().ask(TagAll::kQuestion, TagAll::kQuestionCaption)) return std::nullopt;
    TTagging dialog(services, parent);
    const TagAll::Result result = dialog.runLoop([&](const std::function<bool(uint32_t)>& progress) {
        return TagAll::TagAll(table, globalTagId, progress);
    });
    dialog.exec();
    return result;
}

void TTagging::CancelButtonClick() {
    if (!running_ || cancelled_) return;
    if (WindowMessages().ask(TagAll::kCancelQuestion, TagAll::kCancelCaption)) cancelled_ = true;
}

void TTagging::closeEvent(QCloseEvent* event) {
    // While the loop runs the window stays; the close box asks like Cancel.
    if (running_) {
        event->ignore();
        CancelButtonClick();
        return;
    }
    QDialog::closeEvent(event);
}

void TTagging::keyPressEvent(QKeyEvent* event) {
    if (running_ && event->key() == Qt::Key_Escape) {
        CancelButtonClick();
        return;
    }
    QDialog::keyPressEvent(event);
}
