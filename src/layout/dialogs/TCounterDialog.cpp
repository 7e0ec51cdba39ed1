#include "TCounterDialog.h"

#include <QFormLayout>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QSpinBox>
#include <QVBoxLayout>
#include <climits>

#include "ButtonRow.h"

TCounterDialog::TCounterDialog(const layout::CounterSettings& s, QWidget* parent) : QDialog(parent) {
    setObjectName("TCounterDialog");
    setWindowTitle("Counter");
    auto spin = [](const char* name, int low, int high, int value) {
        auto* b = new QSpinBox;
        b->setObjectName(name);
        b->setRange(low, high);
        b->setValue(value);
        b->setAccelerated(true);
        return b;
    };
    StartingNumber = spin("StartingNumber", INT_MIN, INT_MAX, s.startingNumber);
    RepeatEach = spin("RepeatEach", 1, 999, s.repeatEach);
    LeadingZeros = spin("LeadingZeros", 0, 9, s.leadingZeros);
    TextBefore = new QLineEdit(s.textBefore);
    TextBefore->setObjectName("TextBefore");
    TextAfter = new QLineEdit(s.textAfter);
    TextAfter->setObjectName("TextAfter");

    auto* form = new QFormLayout;
    form->addRow("Starting &Number", StartingNumber);
    form->addRow("&Repeat number for #of  labels?", RepeatEach);
    form->addRow("Text  &before", TextBefore);
    form->addRow("Text &after", TextAfter);
    auto* zeros = new QHBoxLayout;
    zeros->addWidget(LeadingZeros);
    zeros->addWidget(new QLabel("digits"));
    zeros->addStretch(1);
    form->addRow("&Leading zeros to ", zeros);
    static_cast<QLabel*>(form->labelForField(zeros))->setBuddy(LeadingZeros);

    ButtonRow buttons(this, nullptr, nullptr);
    buttons.HelpButton->hide();
    buttons.setMnemonics();
    OkButton = buttons.OkButton;
    CancelButton = buttons.CancelButton;
    auto* layout = new QVBoxLayout(this);
    layout->addLayout(form);
    layout->addSpacing(6);
    layout->addLayout(buttons.layout);
    layout->setSizeConstraint(QLayout::SetFixedSize);
}

layout::CounterSettings TCounterDialog::settings() const {
    layout::CounterSettings s;
    s.startingNumber = StartingNumber->value();
    s.repeatEach = RepeatEach->value();
    s.textBefore = TextBefore->text();
    s.textAfter = TextAfter->text();
    s.leadingZeros = LeadingZeros->value();
    return s;
}
