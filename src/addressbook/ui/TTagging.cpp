#include "TTagging.h"

#include <QHBoxLayout>
#include <QLabel>
#include <QPushButton>
#include <QVBoxLayout>

#include "WindowMessages.h"

TTagging::TTagging(QWidget* parent) : JobWindow(parent) {
    setObjectName("TTagging");
    setWindowTitle("Tagging");
    setCancelQuestion(TagAll::kCancelQuestion, TagAll::kCancelCaption);
    TaggingLabel = new QLabel(TagAll::kRunningText);
    TaggingLabel->setObjectName("TaggingLabel");
    body()->addWidget(TaggingLabel);
    ProgressLabel = StatusLabel;
    ProgressLabel->setObjectName("ProgressLabel");
    ProgressLabel->setAlignment(Qt::AlignLeft | Qt::AlignVCenter);
    ProgressLabel->setMinimumSize(0, 0);
    OkButton = new QPushButton("Ok", this);
    OkButton->setObjectName("OkButton");
    OkButton->hide();
    buttonRow()->insertWidget(buttonRow()->count() - 1, OkButton);
    connect(OkButton, &QPushButton::clicked, this, &QDialog::accept);
    setMinimumWidth(280);
}

TagAll::Result TTagging::runLoop(const Loop& loop) {
    setJob([this, &loop](JobProgress& progress) {
        result_ = loop([this, &progress](uint32_t tagged) {
            progress.status(TagAll::ProgressText(tagged));
            emit progressed(tagged);
            return progress.keepGoing();
        });
        switch (result_.outcome) {
            case TagAll::Outcome::Complete:
                return JobResult::Done;
            case TagAll::Outcome::Cancelled:
                return JobResult::Cancelled;
            case TagAll::Outcome::Failed:
                return JobResult::Failed;
        }
        return JobResult::Failed;
    });
    result_ = TagAll::Result{TagAll::Outcome::Cancelled};
    exec();
    return result_;
}

void TTagging::jobEnded(JobResult) {
    TaggingLabel->setText(result_.labelText());
    ProgressLabel->clear();
    CancelButton->hide();
    OkButton->show();
    OkButton->setDefault(true);
    OkButton->setFocus();
    if (result_.outcome == TagAll::Outcome::Failed) WindowMessages().inform(result_.message);
}

std::optional<TagAll::Result> TTagging::TagAllFilterMatches(xbase::Table& table, const QString& globalTagId,
                                                            QWidget* parent) {
    if (!WindowMessages().ask(TagAll::kQuestion, TagAll::kQuestionCaption)) return std::nullopt;
    TTagging dialog(parent);
    return dialog.runLoop([&](const std::function<bool(uint32_t)>& progress) {
        return TagAll::TagAll(table, globalTagId, progress);
    });
}
