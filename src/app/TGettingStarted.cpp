#include "TGettingStarted.h"

#include <QCheckBox>
#include <QHBoxLayout>
#include <QPushButton>
#include <QTextBrowser>
#include <QVBoxLayout>

#include "HelpSystem.h"
#include "SettingKeys.h"
#include "Settings.h"

TGettingStarted::TGettingStarted(Settings& settings, QWidget* parent) : QDialog(parent), settings_(settings) {
    setObjectName("TGettingStarted");
    setWindowTitle("Getting Started");

    Page = new QTextBrowser;
    Page->setObjectName("Page");
    Page->setOpenLinks(false);
    // The page comes from the manual; its links open the help window there.
    const QUrl page = HelpSystem::pageUrl(QStringLiteral("getting-started.html"));
    Page->setHtml(QString::fromUtf8(HelpSystem::pageData(QStringLiteral("getting-started.html"))));
    connect(Page, &QTextBrowser::anchorClicked, this,
            [this, page](const QUrl& url) { HelpSystem::showUrl(page.resolved(url), this); });
    DontShowCheckBox = new QCheckBox("Do not show this screen at start up");
    DontShowCheckBox->setObjectName("DontShowCheckBox");
    DontShowCheckBox->setChecked(settings.value(setting::kGettingStarted));
    OkButton = new QPushButton("Ok");
    OkButton->setObjectName("OkButton");
    OkButton->setDefault(true);
    connect(OkButton, &QPushButton::clicked, this, &QDialog::accept);

    auto* bottom = new QHBoxLayout;
    bottom->addWidget(DontShowCheckBox);
    bottom->addStretch(1);
    bottom->addWidget(OkButton);
    auto* layout = new QVBoxLayout(this);
    layout->addWidget(Page, 1);
    layout->addLayout(bottom);
    resize(560, 520);
}

void TGettingStarted::done(int result) {
    if (DontShowCheckBox->isChecked() != settings_.value(setting::kGettingStarted)) {
        // Not being able to remember the choice only means the screen shows again.
        (void)settings_.setValue(setting::kGettingStarted, DontShowCheckBox->isChecked());
    }
    QDialog::done(result);
}
