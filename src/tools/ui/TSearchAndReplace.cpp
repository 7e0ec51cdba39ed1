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

#include "Table.h"
#include "WindowMessages.h"

TSearchAndReplace::TSearchAndReplace(xbase::Table& table, QString filterExpression, DialogServices services,
                                     QWidget* parent)
    : JobWindow(parent),
      table_(table),
      filterExpression_(std::move(filterExpression)),
      services_(std::move(services)) {
    setObjectName(QStringLiteral("TSearchAndReplace"));
    setWindowTitle(QStringLiteral("Search and Replace"));
    setStartsOnShow(false);
    setJob([this](JobProgress& progress) {
        return SearchReplace::RunSearchReplace(table_, chosen_, progress, &result_, &error_);
    });

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

    ReplaceButton = new QPushButton(QStringLiteral("Replace "), this);
    ReplaceButton->setObjectName(QStringLiteral("ReplaceButton"));
    ReplaceButton->setDefault(true);
    connect(ReplaceButton, &QPushButton::clicked, this, &TSearchAndReplace::ReplaceButtonClick);
    HelpButton = new QPushButton(QStringLiteral("Help"), this);
    HelpButton->setObjectName(QStringLiteral("HelpButton"));
    HelpButton->setAutoDefault(false);
    connect(HelpButton, &QPushButton::clicked, this, services_.helpFor(this));
    // Replace , Cancel, Help, at the right.
    buttonRow()->insertWidget(1, ReplaceButton);
    buttonRow()->insertWidget(3, HelpButton);
    delete buttonRow()->takeAt(buttonRow()->count() - 1);
    StatusLabel->setMinimumSize(0, 0);
    body()->addWidget(OptionsPanel);
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
    if (started()) return;
    chosen_ = options();
    if (!WindowMessages().ask(SearchReplace::ConfirmationText(chosen_), SearchReplace::kQuestionCaption))
        return;
    OptionsPanel->hide();
    ReplaceButton->setEnabled(false);
    CancelButton->hide();
    HelpButton->hide();
    setGaugeShown(true);
    start();
}

void TSearchAndReplace::jobEnded(JobResult result) {
    setGaugeShown(false);
    if (result == JobResult::Failed) WindowMessages().error(error_);
    WindowMessages().inform(SearchReplace::ReplacedText(result_.replaced));
    WindowMessages().inform(SearchReplace::kDoneMessage);
    if (result_.tooLong > 0)
        WindowMessages().inform(SearchReplace::TooLongText(result_.tooLong, result_.width));
    closeLater(true);
}

void TSearchAndReplace::reject() {
    // The run cannot be stopped half way.
    if (!running()) JobWindow::reject();
}

void TSearchAndReplace::closeEvent(QCloseEvent* event) {
    if (running()) {
        event->ignore();
        return;
    }
    JobWindow::closeEvent(event);
}
