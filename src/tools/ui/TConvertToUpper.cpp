#include "TConvertToUpper.h"

#include <QCheckBox>
#include <QCloseEvent>
#include <QGridLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QPushButton>
#include <QRadioButton>
#include <QVBoxLayout>

#include "ButtonRow.h"
#include "ToolJobPanel.h"
#include "WindowMessages.h"

TConvertToUpper::TConvertToUpper(xbase::Table& table, bool filterSet, DialogServices services,
                                 QWidget* parent)
    : QDialog(parent), table_(table), services_(std::move(services)) {
    setObjectName(QStringLiteral("TConvertToUpper"));
    setWindowTitle(QStringLiteral("Convert Case"));

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

    ButtonRow buttons(
        this, [this] { ConvertButtonClick(); }, services_.helpFor(this), Qt::Horizontal,
        QStringLiteral("Convert"));
    ConvertButton = buttons.OkButton;
    ConvertButton->setObjectName(QStringLiteral("ConvertButton"));
    CancelButton = buttons.CancelButton;
    HelpButton = buttons.HelpButton;
    disconnect(CancelButton, nullptr, this, nullptr);
    connect(CancelButton, &QPushButton::clicked, this, [this] {
        if (panel_) {
            panel_->requestCancel();
        } else {
            reject();
        }
    });

    body_ = new QVBoxLayout(this);
    body_->addWidget(OptionsPanel);
    body_->addLayout(buttons.layout);
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
    if (converting_) return;
    const CaseConversion::Options chosen = options();
    if (!CaseConversion::Confirm(chosen, WindowMessages())) return;
    converting_ = true;
    OptionsPanel->hide();
    ConvertButton->setEnabled(false);
    HelpButton->hide();
    panel_ = new ToolJobPanel(this);
    panel_->setCancellable(CaseConversion::kCancelQuestion, QStringLiteral("Information"));
    panel_->setGaugeShown(chosen.records == CaseConversion::Records::All);
    panel_->setJob([this, chosen](JobProgress& progress) {
        return CaseConversion::RunCaseConversion(table_, chosen, progress, &result_, &error_);
    });
    connect(panel_, &ToolJobPanel::ended, this, &TConvertToUpper::converted);
    body_->insertWidget(1, panel_);
    panel_->show();
}

void TConvertToUpper::converted(JobResult result) {
    converting_ = false;
    jobResult_ = result;
    panel_->hide();
    if (result == JobResult::Failed) WindowMessages().error(error_);
    accept();
}

void TConvertToUpper::done(int result) {
    if (converting_) {
        if (panel_) panel_->requestCancel();
        return;
    }
    QDialog::done(result);
}

void TConvertToUpper::closeEvent(QCloseEvent* event) {
    if (converting_) {
        event->ignore();
        if (panel_) panel_->requestCancel();
        return;
    }
    QDialog::closeEvent(event);
}
