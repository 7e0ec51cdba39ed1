#include "TAboutBox.h"

#include <QApplication>
#include <QHBoxLayout>
#include <QLabel>
#include <QPushButton>
#include <QVBoxLayout>

TAboutBox::TAboutBox(QWidget* parent) : QDialog(parent) {
    setObjectName("TAboutBox");
    setWindowTitle("About Quillory");

    auto* name = new QLabel("Quillory");
    QFont big = name->font();
    big.setPointSize(big.pointSize() + 8);
    big.setBold(true);
    name->setFont(big);
    auto* version = new QLabel("Version " + QApplication::applicationVersion());
    version->setObjectName("VersionLabel");
    auto* text = new QLabel(
        "A mailing-list manager: address files, labels, envelopes, form letters and reports, with bulk-mail "
        "presort and ZIP code tools.");
    text->setWordWrap(true);
    auto* built = new QLabel("Built with Qt " + QString(qVersion()) + ".");

    OkButton = new QPushButton("Ok");
    OkButton->setObjectName("OkButton");
    OkButton->setDefault(true);
    connect(OkButton, &QPushButton::clicked, this, &QDialog::accept);
    auto* buttons = new QHBoxLayout;
    buttons->addStretch(1);
    buttons->addWidget(OkButton);

    auto* layout = new QVBoxLayout(this);
    layout->addWidget(name);
    layout->addWidget(version);
    layout->addSpacing(8);
    layout->addWidget(text);
    layout->addWidget(built);
    layout->addLayout(buttons);
    setFixedWidth(380);
}
