#include "TPreferences.h"

#include <QCheckBox>
#include <QFormLayout>
#include <QGridLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLineEdit>
#include <QPushButton>
#include <QVBoxLayout>

#include "ButtonRow.h"
#include "Settings.h"
#include "WindowMessages.h"

namespace {

struct Choice {
    const char* caption;
    bool Preferences::*member;
};

using P = Preferences;

const Choice kAdding[] = {
    {"Enter today's date in the date field", &P::plugDate},
    {"Automatically insert city and state/province", &P::plugCityState},
    {"Automatically check for duplicate names", &P::autoDupCheck},
};

const Choice kCarry[] = {
    {"Organization", &P::carryOrg}, {"Address 1", &P::carryStreet},     {"Address 2", &P::carryStreet2},
    {"City", &P::carryCity},        {"State/Province", &P::carryState}, {"Zip/Postal Code", &P::carryZip},
    {"Country", &P::carryCountry},
};

const Choice kSkip[] = {
    {"Organization", &P::skipOrganization},
    {"Phone #1", &P::skipPhone1},
    {"E-Mail", &P::skipEmail},
    {"State/Province", &P::skipState},
    {"Zip/Postal Code", &P::skipZip},
    {"Country", &P::skipCountry},
    {"Address 2", &P::skipAddress2},
    {"Last Name", &P::skipLastName},
    {"Middle Initial", &P::skipMiddleInitial},
    {"First Name", &P::skipFirstName},
    {"Title", &P::skipTitle},
    {"Phone #2", &P::skipPhone2},
    {"Fax", &P::skipFax},
    {"Codes", &P::skipCodes},
    {"Prefix", &P::skipPrefix},
    {"Comments #1", &P::skipComments1},
    {"Date", &P::skipDate},
    {"Comments #2", &P::skipComments2},
};

}  // namespace

TPreferences::TPreferences(Settings& settings, QWidget* parent)
    : QDialog(parent), settings_(settings), loaded_(Preferences::read(settings)) {
    setObjectName("TPreferences");
    setWindowTitle("Preferences");

    auto addBoxes = [this](const QString& group, const Choice* begin, const Choice* end, QGridLayout* grid,
                           int columns) {
        int i = 0;
        for (const Choice* c = begin; c != end; ++c, ++i) {
            auto* box = new QCheckBox(c->caption);
            box->setChecked(loaded_.*(c->member));
            boxes_.insert(group + "/" + c->caption, box);
            members_.insert(box, c->member);
            grid->addWidget(box, i / columns, i % columns);
        }
    };

    auto* adding = new QGroupBox(" When adding new records");
    auto* addingGrid = new QGridLayout;
    addBoxes("Adding", std::begin(kAdding), std::end(kAdding), addingGrid, 1);
    DefaultCountryEdit = new QLineEdit(loaded_.defaultCountry);
    DefaultCountryEdit->setObjectName("DefaultCountryEdit");
    DefaultCountryEdit->setMaxLength(30);
    DefaultCountryEdit->setWhatsThis(
        "Put into the country of each new record that carries no country forward.");
    auto* country = new QFormLayout;
    country->addRow("Default Country Name", DefaultCountryEdit);
    auto* addingLayout = new QVBoxLayout(adding);
    addingLayout->addLayout(addingGrid);
    addingLayout->addLayout(country);

    auto* carry = new QGroupBox("Carry forward the following fields:");
    carry->setWhatsThis("The ticked fields are copied from the record shown when you add a record.");
    auto* carryGrid = new QGridLayout(carry);
    addBoxes("Carry", std::begin(kCarry), std::end(kCarry), carryGrid, 3);

    auto* skip = new QGroupBox("Skip through the following fields:");
    skip->setWhatsThis("Tab and Enter pass over the ticked fields while a record is added.");
    auto* skipGrid = new QGridLayout(skip);
    addBoxes("Skip", std::begin(kSkip), std::end(kSkip), skipGrid, 3);

    ButtonRow buttons(
        this, [this] { OkButtonClick(); }, nullptr);
    OkButton = buttons.OkButton;
    CancelButton = buttons.CancelButton;
    HelpButton = buttons.HelpButton;

    auto* layout = new QVBoxLayout(this);
    layout->addWidget(adding);
    layout->addWidget(carry);
    layout->addWidget(skip);
    layout->addLayout(buttons.layout);
}

QCheckBox* TPreferences::box(const QString& group, const QString& caption) const {
    return boxes_.value(group + "/" + caption);
}

Preferences TPreferences::values() const {
    Preferences p = loaded_;
    for (auto it = members_.begin(); it != members_.end(); ++it) p.*(it.value()) = it.key()->isChecked();
    p.defaultCountry = DefaultCountryEdit->text();
    return p;
}

void TPreferences::OkButtonClick() {
    if (!values().saveAdding(settings_)) {
        WindowMessages().error("The preferences could not be saved in " + settings_.path(), "Preferences");
        return;
    }
    accept();
}
