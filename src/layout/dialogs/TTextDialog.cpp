#include "TTextDialog.h"

#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QVBoxLayout>

#include "ButtonRow.h"

TTextDialog::TTextDialog(const QString& caption, QWidget* parent) : QDialog(parent) {
    setObjectName("TTextDialog");
    setWindowTitle("Text");
    EnterText = new QLineEdit(caption);
    EnterText->setObjectName("EnterText");
    EnterText->selectAll();
    EnterText->setMinimumWidth(EnterText->fontMetrics().averageCharWidth() * 40);
    auto* label = new QLabel("&Enter Text");
    label->setBuddy(EnterText);
    ButtonRow buttons(this, nullptr, nullptr);
    buttons.HelpButton->hide();
    OkButton = buttons.OkButton;
    CancelButton = buttons.CancelButton;
    auto* layout = new QVBoxLayout(this);
    layout->addWidget(label);
    layout->addWidget(EnterText);
    layout->addSpacing(6);
    layout->addLayout(buttons.layout);
    layout->setSizeConstraint(QLayout::SetFixedSize);
    buttons.setMnemonics();
    // The dialog opens on the text, selected, so that typing replaces it.
    setTabOrder(EnterText, OkButton);
    EnterText->setFocus();
}

QString TTextDialog::text() const { return EnterText->text(); }
