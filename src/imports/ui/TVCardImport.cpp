#include "TVCardImport.h"

#include <QCheckBox>
#include <QComboBox>
#include <QGridLayout>
#include <QLabel>
#include <QPushButton>

#include "VCard.h"
#include "WindowMessages.h"

TVCardImport::TVCardImport(xbase::Table& table, QWidget* parent)
    : TImportDialog(table, QStringLiteral("Select vCard File"), QStringLiteral("vCard File Name"),
                    QStringLiteral("vCard files (*.vcf *.VCF);;All files (*)"), parent) {
    setObjectName("TVCardImport");
    setWindowTitle(QStringLiteral("vCard File Import"));
    MatchButton->hide();
    AddressLabel = new QLabel(QStringLiteral("&Address to keep:"), this);
    AddressBox = new QComboBox(this);
    AddressBox->setObjectName("AddressBox");
    AddressBox->addItems({QStringLiteral("The preferred one (else the first)"), QStringLiteral("Home"),
                          QStringLiteral("Work")});
    AddressLabel->setBuddy(AddressBox);
    BirthdayLabel = new QLabel(QStringLiteral("&Birthday into:"), this);
    BirthdayBox = new QComboBox(this);
    BirthdayBox->setObjectName("BirthdayBox");
    BirthdayBox->addItems({QStringLiteral("The memo"), QStringLiteral("Comment 1"), QStringLiteral("Comment 2")});
    BirthdayLabel->setBuddy(BirthdayBox);
    StopCheckBox = new QCheckBox(QStringLiteral("S&top at a bad card"), this);
    StopCheckBox->setObjectName("StopCheckBox");
    auto* grid = new QGridLayout;
    grid->addWidget(AddressLabel, 0, 0);
    grid->addWidget(AddressBox, 0, 1);
    grid->addWidget(BirthdayLabel, 1, 0);
    grid->addWidget(BirthdayBox, 1, 1);
    grid->addWidget(StopCheckBox, 2, 0, 1, 2);
    grid->setColumnStretch(1, 1);
    body()->addLayout(grid);
    for (QWidget* w : std::initializer_list<QWidget*>{AddressLabel, AddressBox, BirthdayLabel, BirthdayBox,
                                                      StopCheckBox}) {
        addChoice(w);
    }
    updateButtons();
}

bool TVCardImport::useFile(const QString& path) {
    VCard::Reader reader;
    QString message;
    if (!reader.open(path, &message)) {
        WindowMessages().inform(message);
        return false;
    }
    return true;
}

VCardImportSetup TVCardImport::setup() const {
    VCardImportSetup s;
    s.path = path_;
    s.choices.address = VCardRecord::AddressChoice(AddressBox->currentIndex());
    s.choices.birthdayField = BirthdayBox->currentIndex() == 1   ? QStringLiteral("USER1")
                              : BirthdayBox->currentIndex() == 2 ? QStringLiteral("USER2")
                                                                 : QString();
    s.stopAtBadCard = StopCheckBox->isChecked();
    return s;
}

ImportReport TVCardImport::runImport(JobProgress& progress, const ImportHooks& hooks) {
    return RunVCardImport(table_, setup(), progress, hooks);
}
