#include "TCopyToClipboard.h"

#include <QCheckBox>
#include <QHBoxLayout>
#include <QPushButton>
#include <QVBoxLayout>

#include "ButtonRow.h"

TCopyToClipboard::TCopyToClipboard(QWidget* parent) : QDialog(parent) {
    setObjectName("TCopyToClipboard");
    setWindowTitle("Copy Record To Clipboard");

    auto* boxes = new QVBoxLayout;
    auto make = [boxes](const QString& caption, const char* name) {
        auto* b = new QCheckBox(caption);
        b->setObjectName(name);
        b->setChecked(true);
        boxes->addWidget(b);
        return b;
    };
    NameBox = make("Name, Organization, Title", "NameBox");
    AddressBox = make("Address", "AddressBox");
    PhoneBox = make("Phone Numbers", "PhoneBox");
    CodesBox = make("Codes", "CodesBox");
    CommentsBox = make("Comments 1 && 2", "CommentsBox");

    ButtonRow buttons(
        this, nullptr, nullptr, Qt::Vertical);
    OkButton = buttons.OkButton;
    CancelButton = buttons.CancelButton;
    HelpButton = buttons.HelpButton;

    auto* layout = new QHBoxLayout(this);
    layout->addLayout(boxes, 1);
    layout->addSpacing(16);
    layout->addLayout(buttons.layout);
}

RecordEditing::ClipboardGroups TCopyToClipboard::groups() const {
    RecordEditing::ClipboardGroups g;
    g.name = NameBox->isChecked();
    g.address = AddressBox->isChecked();
    g.phones = PhoneBox->isChecked();
    g.codes = CodesBox->isChecked();
    g.comments = CommentsBox->isChecked();
    return g;
}
