#include "TCreateNewDatabase.h"

#include <QApplication>
#include <QFileInfo>
#include <QHBoxLayout>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QVBoxLayout>

#include "AddressFile.h"
#include "ButtonRow.h"
#include "NewDatabase.h"
#include "TFieldLengths.h"
#include "WindowMessages.h"

TCreateNewDatabase::TCreateNewDatabase(const AppHome& home, Settings& settings, QWidget* parent)
    : QDialog(parent), home_(home), settings_(settings), widths_(FieldLengths::LoadFieldLengths(settings)) {
    setObjectName("TCreateNewDatabase");
    setWindowTitle("Create new database");

    auto* prompt = new QLabel("Enter the database name (no extension)");
    NameEdit = new QLineEdit(NewDatabase::ProposeName(home));
    NameEdit->setObjectName("NameEdit");
    NameEdit->setWhatsThis(
        "The name of the new file: a letter or underscore, then letters, digits or underscores.");
    prompt->setBuddy(NameEdit);
    InvalidLabel = new QLabel(NewDatabase::kInvalidNameText);
    InvalidLabel->setObjectName("InvalidLabel");
    InvalidLabel->setStyleSheet("color: #b00000");
    InvalidLabel->setWordWrap(true);

    ButtonRow buttons(
        this, [this] { OkButtonClick(); }, nullptr,
        Qt::Horizontal, "Ok [PgDn]");
    OkButton = buttons.OkButton;
    CancelButton = buttons.CancelButton;
    HelpButton = buttons.HelpButton;
    FieldLengthsButton = new QPushButton("Specify Field Lengths");
    FieldLengthsButton->setObjectName("FieldLengthsButton");
    FieldLengthsButton->setWhatsThis("Sets how many characters each field of the new file holds.");
    connect(NameEdit, &QLineEdit::textChanged, this, &TCreateNewDatabase::NameChange);
    connect(FieldLengthsButton, &QPushButton::clicked, this, &TCreateNewDatabase::FieldLengthsButtonClick);

    buttons.addOwn(FieldLengthsButton);
    auto* layout = new QVBoxLayout(this);
    layout->addWidget(prompt);
    layout->addWidget(NameEdit);
    layout->addWidget(InvalidLabel);
    layout->addLayout(buttons.layout);
    setMinimumWidth(460);
    NameEdit->selectAll();
    NameChange();
}

void TCreateNewDatabase::NameChange() {
    const bool valid = NewDatabase::IsValidName(NameEdit->text());
    OkButton->setEnabled(valid);
    InvalidLabel->setVisible(!valid);
}

void TCreateNewDatabase::keyPressEvent(QKeyEvent* event) {
    if (event->key() == Qt::Key_PageDown) {
        if (OkButton->isEnabled()) OkButtonClick();
        return;
    }
    QDialog::keyPressEvent(event);
}

void TCreateNewDatabase::FieldLengthsButtonClick() {
    TFieldLengths dialog(widths_, settings_, this);
    if (dialog.exec() == QDialog::Accepted) widths_ = dialog.widths();
}

void TCreateNewDatabase::OkButtonClick() {
    const QString path = NewDatabase::PathFor(home_, NameEdit->text());
    QString message;
    if (!NewDatabase::CheckNewPath(path, &message)) {
        WindowMessages().inform(message);
        return;
    }
    QApplication::setOverrideCursor(Qt::WaitCursor);
    const bool created = AddressFile::CreateAddressFile(path, widths_, &message);
    QApplication::restoreOverrideCursor();
    if (!created) {
        WindowMessages().inform(message);
        return;
    }
    path_ = path;
    accept();
}
