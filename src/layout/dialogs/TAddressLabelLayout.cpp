#include "TAddressLabelLayout.h"

#include <QButtonGroup>
#include <QCheckBox>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QPushButton>
#include <QRadioButton>
#include <QVBoxLayout>

#include "ButtonRow.h"

TAddressLabelLayout::TAddressLabelLayout(const layout::AddressOptions& o, QWidget* parent)
    : QDialog(parent), original_(o) {
    setObjectName("TAddressLabelLayout");
    setWindowTitle("Address Label Layout");
    auto box = [](const char* name, const char* text, bool checked) {
        auto* b = new QCheckBox(text);
        b->setObjectName(name);
        b->setChecked(checked);
        return b;
    };
    UseName = box("UseName", "&Name", o.useName);
    UseTitle = box("UseTitle", "&Title", o.useTitle);
    UseCompany = box("UseCompany", "&Organization", o.useCompany);
    UseStreet = box("UseStreet", "Address &1", o.useStreet);
    UseStreet2 = box("UseStreet2", "Address &2", o.useStreet2);
    UseCityState = box("UseCityState", "City + &State", o.useCityState);
    UseZip = box("UseZip", "&Zip/Postal code", o.useZip);
    UsePhone = box("UsePhone", "&Phone #1", o.usePhone);
    UseCountry = box("UseCountry", "&Country", o.useCountry);
    UpperCase = box("UpperCase", "&Uppercase", o.upperCase);

    auto radio = [](const char* name, const char* text, bool checked) {
        auto* r = new QRadioButton(text);
        r->setObjectName(name);
        r->setChecked(checked);
        return r;
    };
    AfterState = radio("AfterState", "&After state", o.zipOptions == zoAfterState);
    BeforeCity = radio("BeforeCity", "&Before city", o.zipOptions == zoBeforeCity);
    AfterCountry = radio("AfterCountry", "A&fter country", o.zipOptions == zoAfterCountry);
    BeforeCountry = radio("BeforeCountry", "B&efore country", o.zipOptions == zoBeforeCountry);

    auto* lines = new QGroupBox("Lines");
    auto* linesLayout = new QVBoxLayout(lines);
    for (QCheckBox* b :
         {UseName, UseTitle, UseCompany, UseStreet, UseStreet2, UseCityState, UseZip, UsePhone, UseCountry})
        linesLayout->addWidget(b);
    auto* zip = new QGroupBox("Zip/Postal code");
    auto* zipLayout = new QVBoxLayout(zip);
    for (QRadioButton* r : {AfterState, BeforeCity, AfterCountry, BeforeCountry}) zipLayout->addWidget(r);
    zipLayout->addStretch(1);
    auto* right = new QVBoxLayout;
    right->addWidget(zip);
    right->addWidget(UpperCase);
    right->addStretch(1);
    auto* columns = new QHBoxLayout;
    columns->addWidget(lines);
    columns->addLayout(right);

    connect(UseZip, &QCheckBox::toggled, this, &TAddressLabelLayout::UseZipClick);
    UseZipClick();

    ButtonRow buttons(this, nullptr, nullptr);
    buttons.HelpButton->hide();
    buttons.setMnemonics("O&k", "Cance&l");
    OkButton = buttons.OkButton;
    CancelButton = buttons.CancelButton;
    auto* layout = new QVBoxLayout(this);
    layout->addLayout(columns);
    layout->addSpacing(6);
    layout->addLayout(buttons.layout);
    layout->setSizeConstraint(QLayout::SetFixedSize);
}

void TAddressLabelLayout::UseZipClick() {
    for (QRadioButton* r : {AfterState, BeforeCity, AfterCountry, BeforeCountry})
        r->setEnabled(UseZip->isChecked());
}

layout::AddressOptions TAddressLabelLayout::options() const {
    layout::AddressOptions o = original_;
    o.useName = UseName->isChecked();
    o.useTitle = UseTitle->isChecked();
    o.useCompany = UseCompany->isChecked();
    o.useStreet = UseStreet->isChecked();
    o.useStreet2 = UseStreet2->isChecked();
    o.useCityState = UseCityState->isChecked();
    o.useZip = UseZip->isChecked();
    o.usePhone = UsePhone->isChecked();
    o.useCountry = UseCountry->isChecked();
    o.upperCase = UpperCase->isChecked();
    // The first button checked, in the order shown; radio buttons in one group leave at
    // most one checked, so this is the one the user chose.
    if (AfterState->isChecked()) {
        o.zipOptions = zoAfterState;
    } else if (BeforeCity->isChecked()) {
        o.zipOptions = zoBeforeCity;
    } else if (AfterCountry->isChecked()) {
        o.zipOptions = zoAfterCountry;
    } else if (BeforeCountry->isChecked()) {
        o.zipOptions = zoBeforeCountry;
    }
    return o;
}
