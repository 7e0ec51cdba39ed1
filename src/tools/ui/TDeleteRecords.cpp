#include "TDeleteRecords.h"

#include <QCloseEvent>
#include <QPushButton>
#include <QRadioButton>
#include <QVBoxLayout>

#include "ButtonRow.h"
#include "ToolJobPanel.h"
#include "WindowMessages.h"

TDeleteRecords::TDeleteRecords(xbase::Table& table, QString filterExpression, DialogServices services,
                               QWidget* parent)
    : QDialog(parent),
      table_(table),
      filterExpression_(std::move(filterExpression)),
      services_(std::move(services)) {
    setObjectName(QStringLiteral("TDeleteRecords"));
    setWindowTitle(QStringLiteral("Delete Records"));

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

    ButtonRow buttons(
        this, [this] { DeleteNowButtonClick(); }, services_.helpFor(this), Qt::Horizontal,
        QStringLiteral("Delete Now"));
    DeleteNowButton = buttons.OkButton;
    DeleteNowButton->setObjectName(QStringLiteral("DeleteNowButton"));
    CancelButton = buttons.CancelButton;
    HelpButton = buttons.HelpButton;

    body_ = new QVBoxLayout(this);
    body_->addWidget(ChoicePanel);
    body_->addLayout(buttons.layout);
    setMinimumWidth(380);
}

DeleteRecords::Choice TDeleteRecords::choice() const {
    if (MatchingRadio->isChecked()) return DeleteRecords::Choice::Matching;
    if (NotMatchingRadio->isChecked()) return DeleteRecords::Choice::NotMatching;
    return DeleteRecords::Choice::All;
}

void TDeleteRecords::DeleteNowButtonClick() {
    if (deleting_) return;
    if (!WindowMessages().ask(DeleteRecords::kQuestion, DeleteRecords::kQuestionCaption)) return;
    deleting_ = true;
    ChoicePanel->hide();
    DeleteNowButton->setEnabled(false);
    CancelButton->hide();
    HelpButton->hide();
    panel_ = new ToolJobPanel(this);
    panel_->setGaugeShown(true);
    const DeleteRecords::Choice chosen = choice();
    panel_->setJob([this, chosen](JobProgress& progress) {
        return DeleteRecords::RunDeleteRecords(table_, chosen, filterExpression_, progress, &result_,
                                               &error_);
    });
    connect(panel_, &ToolJobPanel::ended, this, &TDeleteRecords::deleted);
    body_->insertWidget(1, panel_);
    panel_->show();
}

void TDeleteRecords::deleted(JobResult result) {
    deleting_ = false;
    if (result == JobResult::Failed) WindowMessages().error(error_);
    WindowMessages().inform(DeleteRecords::DeletedText(result_.deleted));
    WindowMessages().inform(DeleteRecords::kRebuildAdvice);
    accept();
}

void TDeleteRecords::done(int result) {
    if (deleting_) return;
    QDialog::done(result);
}

void TDeleteRecords::closeEvent(QCloseEvent* event) {
    if (deleting_) {
        event->ignore();
        return;
    }
    QDialog::closeEvent(event);
}
