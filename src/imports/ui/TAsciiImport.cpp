#include "TAsciiImport.h"

#include <QCheckBox>
#include <QComboBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QVBoxLayout>

#include "AsciiImport.h"
#include "TAsciiMatch.h"
#include "WindowMessages.h"

TAsciiImport::TAsciiImport(xbase::Table& table, QWidget* parent)
    : TImportDialog(table, QStringLiteral("Select ASCII File"), QStringLiteral("ASCII File Name"),
                    QStringLiteral("Text files, CSV Files (*.TXT *.CSV *.txt *.csv);;All files (*)"),
                    parent) {
    setObjectName("TAsciiImport");
    setWindowTitle(QStringLiteral("ASCII File Import"));
    DialectLabel = new QLabel(QStringLiteral("&Quoting rules:"), this);
    DialectBox = new QComboBox(this);
    DialectBox->setObjectName("DialectBox");
    DialectBox->addItem(QStringLiteral("The program's own text (quotes kept as they are)"));
    DialectBox->addItem(QStringLiteral("RFC 4180, as spreadsheets write it"));
    DialectLabel->setBuddy(DialectBox);
    auto* dialectRow = new QHBoxLayout;
    dialectRow->addWidget(DialectLabel);
    dialectRow->addWidget(DialectBox, 1);
    body()->addLayout(dialectRow);
    FirstLineCheckBox = new QCheckBox(QStringLiteral("&First line holds column names"), this);
    FirstLineCheckBox->setObjectName("FirstLineCheckBox");
    body()->addWidget(FirstLineCheckBox);
    for (QWidget* w : {static_cast<QWidget*>(DialectLabel), static_cast<QWidget*>(DialectBox),
                       static_cast<QWidget*>(FirstLineCheckBox)}) {
        addChoice(w);
    }
    connect(FirstLineCheckBox, &QCheckBox::clicked, this, &TAsciiImport::FirstLineCheckBoxClick);
    connect(DialectBox, qOverload<int>(&QComboBox::activated), this, &TAsciiImport::DialectBoxActivated);
    updateButtons();
    FirstLineCheckBox->setEnabled(false);
    DialectBox->setEnabled(false);
}

bool TAsciiImport::readSample(std::optional<CsvDialect::Dialect> dialect) {
    QString message;
    if (!ReadAsciiSample(path_, QString(), &sample_, &message, dialect, ImportDestinations::Ascii(table_))) {
        WindowMessages().inform(message);
        FirstLineCheckBox->setEnabled(false);
        DialectBox->setEnabled(false);
        return false;
    }
    DialectBox->setCurrentIndex(int(sample_.dialect));
    FirstLineCheckBox->setEnabled(true);
    DialectBox->setEnabled(true);
    return true;
}

void TAsciiImport::newMatch() {
    const bool header = FirstLineCheckBox->isChecked();
    match_ = FieldMatch(ImportDestinations::Ascii(table_), sample_.sources(header), FieldMatch::Rules::Any);
    if (header) match_.matchByNames(sample_.firstLineNames());
}

bool TAsciiImport::useFile(const QString& path) {
    path_ = path;
    if (!readSample(std::nullopt)) return false;
    FirstLineCheckBox->setChecked(sample_.headerDetected);
    newMatch();
    return true;
}

void TAsciiImport::FirstLineCheckBoxClick() {
    if (path_.isEmpty()) return;
    newMatch();
    updateButtons();
}

void TAsciiImport::DialectBoxActivated() {
    if (path_.isEmpty() || DialectBox->currentIndex() == int(sample_.dialect)) return;
    if (!readSample(CsvDialect::Dialect(DialectBox->currentIndex()))) {
        path_.clear();
        FileNameLabel->setText(QStringLiteral("(none)"));
    } else {
        newMatch();
    }
    updateButtons();
}

void TAsciiImport::matchFields() {
    TAsciiMatch dialog(sample_, FirstLineCheckBox->isChecked(), match_, this);
    dialog.keepPlacement(settingsPath);
    if (dialog.exec() == QDialog::Accepted) match_ = dialog.match();
}

ImportReport TAsciiImport::runImport(JobProgress& progress, const ImportHooks& hooks) {
    AsciiImportSetup setup;
    setup.path = path_;
    setup.encoding = sample_.encoding;
    setup.dialect = sample_.dialect;
    setup.fieldCount = sample_.fieldCount;
    setup.match = match_;
    setup.firstLineNames = FirstLineCheckBox->isChecked();
    return RunAsciiImport(table_, setup, progress, hooks);
}
