#include "TIMBarCodeDialog.h"

#include <QButtonGroup>
#include <QComboBox>
#include <QFontDatabase>
#include <QFormLayout>
#include <QGridLayout>
#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QRegularExpressionValidator>
#include <QSpinBox>
#include <QVBoxLayout>
#include <algorithm>

#include "ButtonRow.h"
#include "TGDataSet.h"

namespace imb = layout::imb;

namespace {

QLineEdit* digitsEdit(const char* name, int most, const QString& value) {
    auto* edit = new QLineEdit(value);
    edit->setObjectName(name);
    edit->setValidator(
        new QRegularExpressionValidator(QRegularExpression(QString("\\d{0,%1}").arg(most)), edit));
    edit->setMaxLength(most);
    // Wide enough for its digits and a little more, no wider.
    edit->setMaximumWidth(edit->fontMetrics().horizontalAdvance(QString(most + 3, '0')) + 12);
    return edit;
}

// An editable list of the record's text fields, showing `current` (which may be a name
// the record lacks: a layout made on another file).
QComboBox* fieldCombo(const char* name, const QStringList& fields, const QString& current) {
    auto* combo = new QComboBox;
    combo->setObjectName(name);
    combo->setEditable(true);
    combo->addItems(fields);
    combo->setCurrentText(current);
    return combo;
}

}  // namespace

TIMBarCodeDialog::TIMBarCodeDialog(TGIMBarCode& object, const TGDataSet* record, QWidget* parent)
    : QDialog(parent), object_(object), record_(record) {
    setObjectName("TIMBarCodeDialog");
    setWindowTitle("Intelligent Mail Barcode");

    QStringList fields;
    if (record_) {
        for (int i = 0; i < record_->FieldCount(); ++i)
            if (!record_->IsMemo(i)) fields << record_->FieldName(i);
    }

    // The tracking code.
    BarcodeIdEdit = digitsEdit("BarcodeIdEdit", 2, object.BarcodeIdentifier);
    ServiceTypeEdit = digitsEdit("ServiceTypeEdit", 3, object.ServiceType);
    MailerIdEdit = digitsEdit("MailerIdEdit", 9, object.MailerIdentifier);
    auto* tracking = new QGroupBox("Tracking code");
    auto* trackingForm = new QFormLayout;
    trackingForm->addRow("&Barcode identifier:", BarcodeIdEdit);
    trackingForm->addRow("&Service type:", ServiceTypeEdit);
    trackingForm->addRow("&Mailer identifier:", MailerIdEdit);

    SerialFixedRadio = new QRadioButton("&Fixed number");
    SerialFixedRadio->setObjectName("SerialFixedRadio");
    SerialNumberEdit = digitsEdit("SerialNumberEdit", 9, object.SerialNumber);
    SerialCounterRadio = new QRadioButton("&Counter, starting at");
    SerialCounterRadio->setObjectName("SerialCounterRadio");
    StartingNumberSpin = new QSpinBox;
    StartingNumberSpin->setObjectName("StartingNumberSpin");
    StartingNumberSpin->setRange(0, 999999999);
    StartingNumberSpin->setValue(std::max(0, object.Startingnumber()));
    RepeatEachSpin = new QSpinBox;
    RepeatEachSpin->setObjectName("RepeatEachSpin");
    RepeatEachSpin->setRange(1, 999);
    RepeatEachSpin->setValue(std::max(1, object.RepeatEach));
    SerialFieldRadio = new QRadioButton("From fiel&d");
    SerialFieldRadio->setObjectName("SerialFieldRadio");
    SerialFieldCombo = fieldCombo("SerialFieldCombo", fields, object.SerialField);
    serialGroup_ = new QButtonGroup(this);
    serialGroup_->addButton(SerialFixedRadio, imbsFixed);
    serialGroup_->addButton(SerialCounterRadio, imbsCounter);
    serialGroup_->addButton(SerialFieldRadio, imbsField);
    serialGroup_->button(object.SerialSource)->setChecked(true);

    auto* serial = new QGridLayout;
    serial->addWidget(SerialFixedRadio, 0, 0);
    serial->addWidget(SerialNumberEdit, 0, 1, 1, 3);
    serial->addWidget(SerialCounterRadio, 1, 0);
    serial->addWidget(StartingNumberSpin, 1, 1);
    auto* repeatLabel = new QLabel("r&epeat for");
    repeatLabel->setBuddy(RepeatEachSpin);
    serial->addWidget(repeatLabel, 1, 2);
    auto* repeatRow = new QHBoxLayout;
    repeatRow->addWidget(RepeatEachSpin);
    repeatRow->addWidget(new QLabel("labels"));
    serial->addLayout(repeatRow, 1, 3);
    serial->addWidget(SerialFieldRadio, 2, 0);
    serial->addWidget(SerialFieldCombo, 2, 1, 1, 3);
    serial->setColumnStretch(3, 1);
    trackingForm->addRow("Seria&l number:", serial);
    static_cast<QLabel*>(trackingForm->labelForField(serial))->setBuddy(SerialFixedRadio);
    tracking->setLayout(trackingForm);

    // The routing code.
    ZipFieldCombo = fieldCombo("ZipFieldCombo", fields, object.ZipCodeField);
    AddressFieldCombo = fieldCombo("AddressFieldCombo", fields, object.AddressField);
    RoutingCombo = new QComboBox;
    RoutingCombo->setObjectName("RoutingCombo");
    // In the enumeration's order.
    RoutingCombo->addItems(
        {"None", "ZIP code (5 digits)", "ZIP+4 (9 digits)", "ZIP+4 and delivery point (11 digits)"});
    RoutingCombo->setCurrentIndex(object.RoutingType);
    auto* routing = new QGroupBox("Routing code");
    auto* routingForm = new QFormLayout;
    routingForm->addRow("&Routing:", RoutingCombo);
    routingForm->addRow("&ZIP code field:", ZipFieldCombo);
    routingForm->addRow("S&treet field:", AddressFieldCombo);
    routing->setLayout(routingForm);

    PreviewLabel = new QLabel;
    PreviewLabel->setObjectName("PreviewLabel");
    PreviewLabel->setWordWrap(true);
    PreviewLabel->setTextInteractionFlags(Qt::TextSelectableByMouse);
    PreviewLabel->setMinimumHeight(PreviewLabel->fontMetrics().height() * 2 + 4);

    ButtonRow buttons(
        this, [this] { OkButtonClick(); }, nullptr);
    buttons.setMnemonics("&Ok", "Ca&ncel", "&Help");
    OkButton = buttons.OkButton;
    CancelButton = buttons.CancelButton;
    HelpButton = buttons.HelpButton;

    auto* layout = new QVBoxLayout(this);
    layout->addWidget(tracking);
    layout->addWidget(routing);
    layout->addWidget(PreviewLabel);
    layout->addLayout(buttons.layout);

    for (QLineEdit* e : {BarcodeIdEdit, ServiceTypeEdit, MailerIdEdit, SerialNumberEdit})
        connect(e, &QLineEdit::textChanged, this, &TIMBarCodeDialog::ChoicesChanged);
    for (QSpinBox* s : {StartingNumberSpin, RepeatEachSpin})
        connect(s, qOverload<int>(&QSpinBox::valueChanged), this, &TIMBarCodeDialog::ChoicesChanged);
    for (QComboBox* c : {SerialFieldCombo, ZipFieldCombo, AddressFieldCombo})
        connect(c, &QComboBox::currentTextChanged, this, &TIMBarCodeDialog::ChoicesChanged);
    connect(RoutingCombo, qOverload<int>(&QComboBox::currentIndexChanged), this,
            &TIMBarCodeDialog::ChoicesChanged);
    connect(serialGroup_, &QButtonGroup::idToggled, this, &TIMBarCodeDialog::ChoicesChanged);
    ChoicesChanged();
}

void TIMBarCodeDialog::CopyChoicesTo(TGIMBarCode& code) const {
    code.BarcodeIdentifier = BarcodeIdEdit->text();
    code.ServiceType = ServiceTypeEdit->text();
    code.MailerIdentifier = MailerIdEdit->text();
    code.SerialSource = TIMBarCodeSerial(serialGroup_->checkedId());
    code.SerialNumber = SerialNumberEdit->text();
    code.SerialField = SerialFieldCombo->currentText().trimmed();
    code.SetStartingnumber(StartingNumberSpin->value());
    code.RepeatEach = RepeatEachSpin->value();
    code.ZipCodeField = ZipFieldCombo->currentText().trimmed();
    code.AddressField = AddressFieldCombo->currentText().trimmed();
    code.RoutingType = TIMBarCodeRouting(RoutingCombo->currentIndex());
}

void TIMBarCodeDialog::ChoicesChanged() {
    const auto source = TIMBarCodeSerial(serialGroup_->checkedId());
    SerialNumberEdit->setEnabled(source == imbsFixed);
    StartingNumberSpin->setEnabled(source == imbsCounter);
    RepeatEachSpin->setEnabled(source == imbsCounter);
    SerialFieldCombo->setEnabled(source == imbsField);
    const bool routed = RoutingCombo->currentIndex() != imbrNone;
    ZipFieldCombo->setEnabled(routed);
    AddressFieldCombo->setEnabled(routed && RoutingCombo->currentIndex() == imbr11Digit);

    // The parts of the tracking code that do not change from record to record decide
    // whether Ok may be pressed; a field's serial number is checked as any digit would be.
    TGIMBarCode preview;
    CopyChoicesTo(preview);
    QString error;
    const QString serial = source == imbsField ? QString("0") : preview.SerialText();
    imb::TrackingCode(preview.BarcodeIdentifier, preview.ServiceType, preview.MailerIdentifier, serial,
                      &error);
    OkButton->setEnabled(error.isEmpty());

    auto field = [this](const QString& name) {
        const int i = record_ && !name.isEmpty() ? record_->FindField(name) : -1;
        return i < 0 ? QString() : record_->Text(i);
    };
    QString text;
    if (!error.isEmpty()) {
        text = error;
    } else if (!record_) {
        text = "The routing code and serial number come from each record.";
    } else {
        preview.SetRecordTexts(field(preview.ZipCodeField), field(preview.AddressField),
                               field(preview.SerialField));
        const imb::Encoding e = preview.CurrentEncoding();
        text = e.ok() ? QString("This record: %1").arg(e.states)
                      : QString("This record prints no barcode: %1").arg(e.error);
        error = e.error;
    }
    PreviewLabel->setText(text);
    PreviewLabel->setStyleSheet(error.isEmpty() ? QString() : QString("color: #b00000;"));
    if (error.isEmpty()) {
        PreviewLabel->setFont(QFontDatabase::systemFont(QFontDatabase::FixedFont));
    } else {
        PreviewLabel->setFont(font());
    }
}

void TIMBarCodeDialog::OkButtonClick() {
    if (!OkButton->isEnabled()) return;
    CopyChoicesTo(object_);
    accept();
}
