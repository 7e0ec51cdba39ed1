#include "TAsciiImport.h"

#include <QCheckBox>
#include <QGridLayout>
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
    FirstLineCheckBox = new QCheckBox(QStringLiteral("&First line holds field names"), this);
    FirstLineCheckBox->setObjectName("FirstLineCheckBox");
    body()->addWidget(FirstLineCheckBox);
    addChoice(FirstLineCheckBox);
    connect(FirstLineCheckBox, &QCheckBox::clicked, this, &TAsciiImport::FirstLineCheckBoxClick);
    updateButtons();
    FirstLineCheckBox->setEnabled(false);
}

bool TAsciiImport::useFile(const QString& path) {
    QString message;
    if (!ReadAsciiSample(path, QString(), &sample_, &message)) {
        WindowMessages().inform(message);
        FirstLineCheckBox->setEnabled(false);
        return false;
    }
    std::vector<SourceField> sources;
    for (const QString& name : sample_.fieldNames()) sources.push_back({name, 'C'});
    match_ = FieldMatch(ImportDestinations::Ascii(table_), sources, FieldMatch::Rules::Any);
    FirstLineCheckBox->setEnabled(true);
    if (FirstLineCheckBox->isChecked()) match_.matchByNames(sample_.firstLineNames());
    return true;
}

void TAsciiImport::FirstLineCheckBoxClick() {
    if (!FirstLineCheckBox->isChecked() || path_.isEmpty()) return;
    match_.clearAll();
    match_.matchByNames(sample_.firstLineNames());
    updateButtons();
}

void TAsciiImport::matchFields() {
    TAsciiMatch dialog(sample_, match_, this);
    if (dialog.exec() == QDialog::Accepted) match_ = dialog.match();
}

ImportReport TAsciiImport::runImport(JobProgress& progress, const ImportHooks& hooks) {
    AsciiImportSetup setup;
    setup.path = path_;
    setup.encoding = sample_.encoding;
    setup.fieldCount = sample_.fieldCount;
    setup.match = match_;
    setup.firstLineNames = FirstLineCheckBox->isChecked();
    return RunAsciiImport(table_, setup, progress, hooks);
}
