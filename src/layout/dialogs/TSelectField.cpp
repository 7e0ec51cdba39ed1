#include "TSelectField.h"

#include <QLabel>
#include <QListWidget>
#include <QPushButton>
#include <QVBoxLayout>

#include "ButtonRow.h"

TSelectField::TSelectField(std::vector<layout::OfferedField> fields, const QString& current, QWidget* parent)
    : QDialog(parent), fields_(std::move(fields)) {
    setObjectName("TSelectField");
    setWindowTitle("Select Field");
    ListOfFields = new QListWidget;
    ListOfFields->setObjectName("ListOfFields");
    for (const layout::OfferedField& f : fields_) ListOfFields->addItem(f.label);
    const int preselected = layout::PreselectedField(fields_, current);
    if (preselected >= 0) ListOfFields->setCurrentRow(preselected);
    connect(ListOfFields, &QListWidget::itemActivated, this, &QDialog::accept);

    ButtonRow buttons(this, nullptr, nullptr);
    buttons.HelpButton->hide();
    OkButton = buttons.OkButton;
    CancelButton = buttons.CancelButton;
    OkButton->setEnabled(!fields_.empty());
    buttons.setMnemonics();
    auto* label = new QLabel("&Fields");
    label->setBuddy(ListOfFields);
    auto* layout = new QVBoxLayout(this);
    layout->addWidget(label);
    layout->addWidget(ListOfFields);
    layout->addLayout(buttons.layout);
    resize(280, 360);
}

const layout::OfferedField* TSelectField::chosen() const {
    const int row = ListOfFields->currentRow();
    return row >= 0 && row < int(fields_.size()) ? &fields_[size_t(row)] : nullptr;
}
