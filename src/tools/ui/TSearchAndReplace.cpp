#include "TSearchAndReplace.h"

#include <QCheckBox>
#include <QCloseEvent>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QPushButton>
#include <QRadioButton>
#include <QVBoxLayout>

#include "ButtonRow.h"
#include "Table.h"
#include "ToolJobPanel.h"
#include "WindowMessages.h"

TSearchAndReplace::TSearchAndReplace(xbase::Table& table, QString filterExpression, DialogServices services,
                                     QWidget* parent)
    : QDialog(parent),
      table_(table),
      filterExpression_(std::move(filterExpression)),
      services_(std::move(services)) {
    setObjectName(QStringLiteral("TSearchAndReplace"));
    setWindowTitle(QStringLiteral("Search and Replace"));

    OptionsPanel = new QWidget;
    auto* fieldLabel = new QLabel(QStringLiteral("Search for field:"));
    FieldList = new QListWidget;
    FieldList->setObjectName(QStringLiteral("FieldList"));
    for (const SearchReplace::Field& f : SearchReplace::fields())
        FieldList->addItem(QString::fromLatin1(f.display));
    FieldList->setCurrentRow(0);
    fieldLabel->setBuddy(FieldList);
    auto* fieldColumn = new QVBoxLayout;
    fieldColumn->addWidget(fieldLabel);
    fieldColumn->addWidget(FieldList);

    auto radio = [](const QString& text, const char* name) {
        auto* r = new QRadioButton(text);
        r->setObjectName(QString::fromLatin1(name));
        return r;
    };
    auto* whereGroup = new QGroupBox(QStringLiteral("Where the field value:"));
    EqualRadio = radio(QStringLiteral("Is exactly equal to  (leave empty for blank)"), "EqualRadio");
    ContainsRadio = radio(QStringLiteral("Contains"), "ContainsRadio");
    EqualRadio->setChecked(true);
    FindEdit = new QLineEdit;
    FindEdit->setObjectName(QStringLiteral("FindEdit"));
    CaseSensitiveBox = new QCheckBox(QStringLiteral("Case sensitive"));
    CaseSensitiveBox->setObjectName(QStringLiteral("CaseSensitiveBox"));
    CaseSensitiveBox->setChecked(true);
    auto* whereLayout = new QVBoxLayout(whereGroup);
    for (QWidget* w : std::initializer_list<QWidget*>{EqualRadio, ContainsRadio, FindEdit, CaseSensitiveBox})
        whereLayout->addWidget(w);

    auto* actionGroup = new QGroupBox(QStringLiteral("And do this action:"));
    WholeFieldRadio = radio(QStringLiteral("Replace the whole field with"), "WholeFieldRadio");
    MatchingTextRadio = radio(QStringLiteral("Replace only the matching text with"), "MatchingTextRadio");
    WholeFieldRadio->setChecked(true);
    ReplaceEdit = new QLineEdit;
    ReplaceEdit->setObjectName(QStringLiteral("ReplaceEdit"));
    auto* actionLayout = new QVBoxLayout(actionGroup);
    for (QWidget* w : std::initializer_list<QWidget*>{WholeFieldRadio, MatchingTextRadio, ReplaceEdit})
        actionLayout->addWidget(w);

    auto* usingGroup = new QGroupBox(QStringLiteral("Using:"));
    AllRecordsRadio = radio(QStringLiteral("All Records"), "AllRecordsRadio");
    FilterRecordsRadio = radio(QStringLiteral("Records matching current Filter"), "FilterRecordsRadio");
    AllRecordsRadio->setChecked(true);
    FilterRecordsRadio->setEnabled(!filterExpression_.isEmpty());
    auto* usingLayout = new QVBoxLayout(usingGroup);
    usingLayout->addWidget(AllRecordsRadio);
    usingLayout->addWidget(FilterRecordsRadio);

    auto* choices = new QVBoxLayout;
    choices->addWidget(whereGroup);
    choices->addWidget(actionGroup);
    choices->addWidget(usingGroup);
    auto* optionsLayout = new QHBoxLayout(OptionsPanel);
    optionsLayout->setContentsMargins(0, 0, 0, 0);
    optionsLayout->addLayout(fieldColumn);
    optionsLayout->addLayout(choices, 1);

    ButtonRow buttons(
        this, [this] { ReplaceButtonClick(); }, services_.helpFor(this), Qt::Horizontal,
        QStringLiteral("Replace "));
    ReplaceButton = buttons.OkButton;
    ReplaceButton->setObjectName(QStringLiteral("ReplaceButton"));
    CancelButton = buttons.CancelButton;
    HelpButton = buttons.HelpButton;

    body_ = new QVBoxLayout(this);
    body_->addWidget(OptionsPanel);
    body_->addLayout(buttons.layout);
    connect(FieldList, &QListWidget::currentRowChanged, this, &TSearchAndReplace::FieldListChange);
    FieldListChange();
}

void TSearchAndReplace::FieldListChange() {
    const int row = std::max(FieldList->currentRow(), 0);
    const int field = table_.fieldIndex(SearchReplace::fields()[size_t(row)].name);
    const int width = field >= 0 ? table_.field(field).width : 0;
    for (QLineEdit* edit : {FindEdit, ReplaceEdit}) {
        edit->setMaxLength(std::max(width, 1));  // cuts the text to the new width
    }
}

SearchReplace::Options TSearchAndReplace::options() const {
    SearchReplace::Options o;
    o.field = QString::fromLatin1(SearchReplace::fields()[size_t(std::max(FieldList->currentRow(), 0))].name);
    o.find = FindEdit->text();
    o.replacement = ReplaceEdit->text();
    o.match = ContainsRadio->isChecked() ? SearchReplace::Match::Contains : SearchReplace::Match::Equal;
    o.caseSensitive = CaseSensitiveBox->isChecked();
    o.action = MatchingTextRadio->isChecked() ? SearchReplace::Action::MatchingText
                                              : SearchReplace::Action::WholeField;
    if (FilterRecordsRadio->isChecked()) o.filterExpression = filterExpression_;
    return o;
}

void TSearchAndReplace::ReplaceButtonClick() {
    if (replacing_) return;
    const SearchReplace::Options chosen = options();
    if (!WindowMessages().ask(SearchReplace::ConfirmationText(chosen), SearchReplace::kQuestionCaption))
        return;
    replacing_ = true;
    OptionsPanel->hide();
    ReplaceButton->setEnabled(false);
    CancelButton->hide();
    HelpButton->hide();
    panel_ = new ToolJobPanel(this);
    panel_->setGaugeShown(true);
    panel_->setJob([this, chosen](JobProgress& progress) {
        return SearchReplace::RunSearchReplace(table_, chosen, progress, &result_, &error_);
    });
    connect(panel_, &ToolJobPanel::ended, this, &TSearchAndReplace::replaced);
    body_->insertWidget(1, panel_);
    panel_->show();
}

void TSearchAndReplace::replaced(JobResult result) {
    replacing_ = false;
    if (result == JobResult::Failed) WindowMessages().error(error_);
    WindowMessages().inform(SearchReplace::ReplacedText(result_.replaced));
    WindowMessages().inform(SearchReplace::kDoneMessage);
    if (result_.tooLong > 0)
        WindowMessages().inform(SearchReplace::TooLongText(result_.tooLong, result_.width));
    accept();
}

void TSearchAndReplace::done(int result) {
    if (replacing_) return;
    QDialog::done(result);
}

void TSearchAndReplace::closeEvent(QCloseEvent* event) {
    if (replacing_) {
        event->ignore();
        return;
    }
    QDialog::closeEvent(event);
}
