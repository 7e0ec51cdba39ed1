#include "TDeleteRecords.h"

#include <QCloseEvent>
#include <QLabel>
#include <QPushButton>
#include <QRadioButton>
#include <QVBoxLayout>

#include "WindowMessages.h"

TDeleteRecords::TDeleteRecords(xbase::Table& table, QString filterExpression, DialogServices services,
                               QWidget* parent)
    : JobWindow(parent),
      table_(table),
      filterExpression_(std::move(filterExpression)),
      services_(std::move(services)) {
    setObjectName(QStringLiteral("TDeleteRecords"));
    setWindowTitle(QStringLiteral("Delete Records"));
    setStartsOnShow(false);
    setJob([this](JobProgress& progress) {
        return DeleteRecords::RunDeleteRecords(table_, chosen_, filterExpression_, progress, &result_,
                                               &error_);
    });

    ChoicePanel = new QWidget;
    auto radio = [](const QString& text, const char* name) {
        auto* r = new QRadioButton(text);
        r->setObjectName(QString::fromLatin1(name));
        return r;
    };
    AllRadio = radio(QStringLiteral("Delete &All Records"), "AllRadio");
    MatchingRadio = radio(QStringLiteral("Delete Records matching current &Filter"), "MatchingRadio");
    NotMatchingRadio =
        radio(QStringLiteral("Delete Records which do &NOT match current Filter"), "NotMatchingRadio");
    AllRadio->setChecked(true);
    const bool filtered = !filterExpression_.trimmed().isEmpty();
    MatchingRadio->setEnabled(filtered);
    NotMatchingRadio->setEnabled(filtered);
    auto* choices = new QVBoxLayout(ChoicePanel);
    choices->setContentsMargins(0, 0, 0, 0);
    for (QRadioButton* r : {AllRadio, MatchingRadio, NotMatchingRadio}) choices->addWidget(r);

    DeleteNowButton = new QPushButton(QStringLiteral("Delete Now"), this);
    DeleteNowButton->setObjectName(QStringLiteral("DeleteNowButton"));
    DeleteNowButton->setDefault(true);
    connect(DeleteNowButton, &QPushButton::clicked, this, &TDeleteRecords::DeleteNowButtonClick);
    HelpButton = new QPushButton(QStringLiteral("Help"), this);
    HelpButton->setObjectName(QStringLiteral("HelpButton"));
    HelpButton->setAutoDefault(false);
    connect(HelpButton, &QPushButton::clicked, this, services_.helpFor(this));
    // Delete Now, Cancel, Help, at the right.
    buttonRow()->insertWidget(1, DeleteNowButton);
    buttonRow()->insertWidget(3, HelpButton);
    delete buttonRow()->takeAt(buttonRow()->count() - 1);
    StatusLabel->setMinimumSize(0, 0);
    body()->addWidget(ChoicePanel);
    setMinimumWidth(380);
}

DeleteRecords::Choice TDeleteRecords::choice() const {
    if (MatchingRadio->isChecked()) return DeleteRecords::Choice::Matching;
    if (NotMatchingRadio->isChecked()) return DeleteRecords::Choice::NotMatching;
    return DeleteRecords::Choice::All;
}

void TDeleteRecords::DeleteNowButtonClick() {
    if (started()) return;
    // Two presses of Enter must not delete a whole file: the question's default is No.
    if (!WindowMessages().ask(DeleteRecords::kQuestion, DeleteRecords::kQuestionCaption, Messages::Preset::No))
        return;
    chosen_ = choice();
    ChoicePanel->hide();
    DeleteNowButton->setEnabled(false);
    CancelButton->hide();
    HelpButton->hide();
    setGaugeShown(true);
    start();
}

void TDeleteRecords::jobEnded(JobResult result) {
    setGaugeShown(false);
    if (result == JobResult::Failed) WindowMessages().error(error_);
    WindowMessages().inform(DeleteRecords::DeletedText(result_.deleted));
    WindowMessages().inform(DeleteRecords::kRebuildAdvice);
    closeLater(true);
}

void TDeleteRecords::reject() {
    // The run cannot be stopped half way.
    if (!running()) JobWindow::reject();
}

void TDeleteRecords::closeEvent(QCloseEvent* event) {
    if (running()) {
        event->ignore();
        return;
    }
    JobWindow::closeEvent(event);
}
