#include "TFieldLengths.h"

#include <QCheckBox>
#include <QGridLayout>
#include <QHBoxLayout>
#include <QIntValidator>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QVBoxLayout>

#include "NewDatabase.h"
#include "Settings.h"
#include "WindowMessages.h"

namespace {

// Captions in the order the dialog shows them, with their fields.
struct Entry {
    const char* caption;
    const char* field;
};
const Entry kEntries[] = {
    {"First Name", "FNAME"},  {"Last Name", "LNAME"},   {"Prefix", "PREFIX"},      {"Title", "TITLE"},
    {"Organization", "ORG"},  {"Address #1", "STREET"}, {"Address #2", "STREET2"}, {"City", "CITY"},
    {"State", "STATE"},       {"Zip/Postal", "ZIP"},    {"Country", "COUNTRY"},    {"Phone #1", "PHONE"},
    {"Phone #2", "PHONE2"},   {"Fax", "FAX"},           {"E-Mail", "EMAIL"},       {"Codes", "CODES"},
    {"Comments #1", "USER1"}, {"Comments #2", "USER2"},
};

}  // namespace

TFieldLengths::TFieldLengths(const FieldLengths& widths, Settings& settings, QWidget* parent)
    : QDialog(parent), settings_(settings), widths_(widths), baseline_(widths), edits_(FieldLengths::kCount) {
    setObjectName("TFieldLengths");
    setWindowTitle("Specify Field Lengths");

    auto* grid = new QGridLayout;
    int i = 0;
    for (const Entry& e : kEntries) {
        const int index = FieldLengths::indexOf(e.field);
        auto* edit = new QLineEdit(QString::number(widths.width(index)));
        edit->setObjectName(QString("Edit") + e.field);
        edit->setMaxLength(3);
        edit->setMaximumWidth(60);
        edit->setWhatsThis("How many characters this field holds: 10 to 80.");
        connect(edit, &QLineEdit::editingFinished, this, [this, index] { checkEdit(index); });
        edits_[index] = edit;
        auto* label = new QLabel(e.caption);
        label->setBuddy(edit);
        grid->addWidget(label, i % 9, (i / 9) * 2);
        grid->addWidget(edit, i % 9, (i / 9) * 2 + 1);
        ++i;
    }
    grid->setColumnMinimumWidth(2, 120);

    auto* note =
        new QLabel("NOTE: Minimum size = 10 characters                  Maximum size = 80 characters");
    DefaultsButton = new QPushButton("Defaults");
    DefaultsButton->setObjectName("DefaultsButton");
    DefaultsButton->setAutoDefault(false);
    UseForAllCheckBox = new QCheckBox("Use these settings for all new databases");
    UseForAllCheckBox->setObjectName("UseForAllCheckBox");
    OkButton = new QPushButton("Ok");
    OkButton->setObjectName("OkButton");
    OkButton->setDefault(true);
    CancelButton = new QPushButton("Cancel");
    CancelButton->setObjectName("CancelButton");
    CancelButton->setAutoDefault(false);
    connect(DefaultsButton, &QPushButton::clicked, this, [this] {
        baseline_ = FieldLengths::buttonDefaults();
        for (int k = 0; k < FieldLengths::kCount; ++k)
            edits_[k]->setText(QString::number(baseline_.width(k)));
    });
    connect(OkButton, &QPushButton::clicked, this, &TFieldLengths::OkButtonClick);
    connect(CancelButton, &QPushButton::clicked, this, &QDialog::reject);

    auto* buttons = new QHBoxLayout;
    buttons->addWidget(DefaultsButton);
    buttons->addStretch(1);
    buttons->addWidget(OkButton);
    buttons->addWidget(CancelButton);
    auto* layout = new QVBoxLayout(this);
    layout->addLayout(grid);
    layout->addWidget(note);
    layout->addWidget(UseForAllCheckBox);
    layout->addLayout(buttons);
}

QLineEdit* TFieldLengths::edit(const QString& field) const {
    const int index = FieldLengths::indexOf(field);
    return index < 0 ? nullptr : edits_[index];
}

void TFieldLengths::checkEdit(int index) {
    QLineEdit* e = edits_[index];
    const int accepted = NewDatabase::AcceptWidth(e->text(), baseline_.width(index));
    if (e->text() != QString::number(accepted)) e->setText(QString::number(accepted));
}

void TFieldLengths::OkButtonClick() {
    for (int k = 0; k < FieldLengths::kCount; ++k) {
        checkEdit(k);
        widths_.setWidth(k, edits_[k]->text().toInt());
    }
    if (UseForAllCheckBox->isChecked() && !widths_.SaveFieldLengths(settings_)) {
        WindowMessages().error("The field lengths could not be saved in " + settings_.path(),
                               "Specify Field Lengths");
    }
    accept();
}
