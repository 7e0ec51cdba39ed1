#include "TConvertToUpper.h"

#include <QCheckBox>
#include <QGridLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QPushButton>
#include <QRadioButton>
#include <QVBoxLayout>

#include "WindowMessages.h"

TConvertToUpper::TConvertToUpper(xbase::Table& table, bool filterSet, DialogServices services,
                                 QWidget* parent)
    : JobWindow(parent), table_(table), services_(std::move(services)) {
    setObjectName(QStringLiteral("TConvertToUpper"));
    setWindowTitle(QStringLiteral("Convert Case"));
    setStartsOnShow(false);
    setCancelQuestion(CaseConversion::kCancelQuestion, QStringLiteral("Information"));
    setJob([this](JobProgress& progress) {
        return CaseConversion::RunCaseConversion(table_, chosen_, progress, &result_, &error_);
    });

    OptionsPanel = new QWidget;
    auto* fieldsGroup = new QGroupBox(QStringLiteral("Fields to convert"));
    auto* grid = new QGridLayout(fieldsGroup);
    const auto& fields = CaseConversion::fields();
    const int perColumn = (int(fields.size()) + 2) / 3;
    for (int i = 0; i < int(fields.size()); ++i) {
        auto* box = new QCheckBox(QString::fromLatin1(fields[size_t(i)].caption));
        box->setObjectName(QStringLiteral("Field") + QLatin1String(fields[size_t(i)].name));
        box->setChecked(true);
        FieldBoxes << box;
        grid->addWidget(box, i % perColumn, i / perColumn);
    }
    AllBox = new QCheckBox(QStringLiteral("All"));
    AllBox->setObjectName(QStringLiteral("AllBox"));
    AllBox->setChecked(true);
    grid->addWidget(AllBox, perColumn, 0);
    connect(AllBox, &QCheckBox::clicked, this, [this](bool on) {
        for (QCheckBox* box : FieldBoxes) box->setChecked(on);
    });

    auto* ruleGroup = new QGroupBox(QStringLiteral("Convert to"));
    UppercaseRadio = new QRadioButton(QStringLiteral("Uppercase"));
    UppercaseRadio->setObjectName(QStringLiteral("UppercaseRadio"));
    LowercaseRadio = new QRadioButton(QStringLiteral("Lowercase"));
    LowercaseRadio->setObjectName(QStringLiteral("LowercaseRadio"));
    ProperRadio = new QRadioButton(QStringLiteral("First letter capitalized"));
    ProperRadio->setObjectName(QStringLiteral("ProperRadio"));
    UppercaseRadio->setChecked(true);
    auto* ruleLayout = new QVBoxLayout(ruleGroup);
    for (QRadioButton* r : {UppercaseRadio, LowercaseRadio, ProperRadio}) ruleLayout->addWidget(r);

    auto* recordsGroup = new QGroupBox(QStringLiteral("Records"));
    CurrentRecordRadio = new QRadioButton(QStringLiteral("Current Record Only"));
    CurrentRecordRadio->setObjectName(QStringLiteral("CurrentRecordRadio"));
    AllRecordsRadio = new QRadioButton(QStringLiteral("All Records"));
    AllRecordsRadio->setObjectName(QStringLiteral("AllRecordsRadio"));
    FilterRecordsRadio = new QRadioButton(QStringLiteral("All Records Matching Filter"));
    FilterRecordsRadio->setObjectName(QStringLiteral("FilterRecordsRadio"));
    FilterRecordsRadio->setEnabled(filterSet);
    CurrentRecordRadio->setChecked(true);
    auto* recordsLayout = new QVBoxLayout(recordsGroup);
    for (QRadioButton* r : {CurrentRecordRadio, AllRecordsRadio, FilterRecordsRadio})
        recordsLayout->addWidget(r);

    auto* choices = new QHBoxLayout;
    choices->addWidget(ruleGroup);
    choices->addWidget(recordsGroup);
    auto* optionsLayout = new QVBoxLayout(OptionsPanel);
    optionsLayout->setContentsMargins(0, 0, 0, 0);
    optionsLayout->addWidget(fieldsGroup);
    optionsLayout->addLayout(choices);

    ConvertButton = new QPushButton(QStringLiteral("Convert"), this);
    ConvertButton->setObjectName(QStringLiteral("ConvertButton"));
    ConvertButton->setDefault(true);
    connect(ConvertButton, &QPushButton::clicked, this, &TConvertToUpper::ConvertButtonClick);
    HelpButton = new QPushButton(QStringLiteral("Help"), this);
    HelpButton->setObjectName(QStringLiteral("HelpButton"));
    HelpButton->setAutoDefault(false);
    connect(HelpButton, &QPushButton::clicked, this, services_.helpFor(this));
    // Convert, Cancel, Help, at the right.
    buttonRow()->insertWidget(1, ConvertButton);
    buttonRow()->insertWidget(3, HelpButton);
    delete buttonRow()->takeAt(buttonRow()->count() - 1);
    StatusLabel->setMinimumSize(0, 0);
    body()->addWidget(OptionsPanel);
}

CaseConversion::Options TConvertToUpper::options() const {
    CaseConversion::Options o;
    o.rule = LowercaseRadio->isChecked() ? CaseConversion::Rule::Lower
             : ProperRadio->isChecked()  ? CaseConversion::Rule::Proper
                                         : CaseConversion::Rule::Upper;
    o.records = AllRecordsRadio->isChecked()      ? CaseConversion::Records::All
                : FilterRecordsRadio->isChecked() ? CaseConversion::Records::Filter
                                                  : CaseConversion::Records::Current;
    const auto& fields = CaseConversion::fields();
    for (int i = 0; i < FieldBoxes.size(); ++i) {
        if (FieldBoxes[i]->isChecked()) o.fields << QString::fromLatin1(fields[size_t(i)].name);
    }
    return o;
}

void TConvertToUpper::ConvertButtonClick() {
    if (started()) return;
    chosen_ = options();
    if (!CaseConversion::Confirm(chosen_, WindowMessages())) return;
    OptionsPanel->hide();
    ConvertButton->setEnabled(false);
    HelpButton->hide();
    setGaugeShown(chosen_.records == CaseConversion::Records::All);
    start();
}

void TConvertToUpper::jobEnded(JobResult result) {
    setGaugeShown(false);
    if (result == JobResult::Failed) WindowMessages().error(error_);
    closeLater(true);
}
