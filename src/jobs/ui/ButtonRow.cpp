#include "ButtonRow.h"

#include "HelpLink.h"

#include <QBoxLayout>
#include <QDialog>
#include <QPushButton>

ButtonRow::ButtonRow(QDialog* dialog, std::function<void()> onOk, std::function<void()> onHelp,
                     Qt::Orientation orientation, const QString& okText) {
    auto make = [dialog](const QString& text, const char* name) {
        auto* b = new QPushButton(text, dialog);
        b->setObjectName(QString::fromLatin1(name));
        return b;
    };
    OkButton = make(okText, "OkButton");
    OkButton->setDefault(true);
    CancelButton = make(QStringLiteral("Cancel"), "CancelButton");
    HelpButton = make(QStringLiteral("Help"), "HelpButton");
    if (onOk) {
        QObject::connect(OkButton, &QPushButton::clicked, dialog, std::move(onOk));
    } else {
        QObject::connect(OkButton, &QPushButton::clicked, dialog, &QDialog::accept);
    }
    QObject::connect(CancelButton, &QPushButton::clicked, dialog, &QDialog::reject);
    if (onHelp) {
        QObject::connect(HelpButton, &QPushButton::clicked, dialog, std::move(onHelp));
    } else {
        QObject::connect(HelpButton, &QPushButton::clicked, dialog, [dialog] { HelpLink::showFor(dialog); });
    }

    if (orientation == Qt::Horizontal) {
        layout = new QHBoxLayout;
        layout->addStretch(1);
    } else {
        layout = new QVBoxLayout;
    }
    for (QPushButton* b : {OkButton, CancelButton, HelpButton}) layout->addWidget(b);
    if (orientation == Qt::Vertical) layout->addStretch(1);
}

void ButtonRow::addOwn(QPushButton* button) { layout->insertWidget(own_++, button); }

void ButtonRow::setMnemonics(const QString& ok, const QString& cancel, const QString& help) {
    OkButton->setText(ok);
    CancelButton->setText(cancel);
    HelpButton->setText(help);
}
