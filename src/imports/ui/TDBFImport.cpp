#include "TDBFImport.h"

#include <QFileInfo>

#include "DbfImport.h"
#include "TDBFMatch.h"
#include "Table.h"
#include "WindowMessages.h"

TDBFImport::TDBFImport(xbase::Table& table, const QString& addressPath, QWidget* parent)
    : TImportDialog(table, QStringLiteral("Select DBF File"), QStringLiteral("DBF File Name"),
                    QStringLiteral("DBF Files (*.DBF *.dbf)"), parent),
      addressPath_(addressPath) {
    setObjectName("TDBFImport");
    setWindowTitle(QStringLiteral("DBF File Import"));
    updateButtons();
}

TDBFImport::~TDBFImport() = default;

bool TDBFImport::useFile(const QString& path) {
    source_.reset();
    match_ = FieldMatch();
    matched_ = false;
    QString message;
    if (!DbfImport::OpenSource(path, addressPath_, &source_, &message)) {
        WindowMessages().inform(message);
        return false;
    }
    match_ = DbfImport::NewMatch(table_, *source_);
    return true;
}

void TDBFImport::matchFields() {
    if (!source_) return;
    if (!matched_) {
        match_.autoMatch();
        matched_ = true;
    }
    TDBFMatch dialog(*source_, match_, QFileInfo(path_).fileName(), this);
    dialog.keepPlacement(settingsPath);
    if (dialog.exec() == QDialog::Accepted) match_ = dialog.match();
}

ImportReport TDBFImport::runImport(JobProgress& progress, const ImportHooks& hooks) {
    return DbfImport::Run(table_, *source_, match_, progress, hooks);
}
