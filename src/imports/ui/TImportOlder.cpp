#include "TImportOlder.h"

#include <QLabel>
#include <QPushButton>

#include "Table.h"
#include "WindowMessages.h"

TImportOlder::TImportOlder(xbase::Table& table, const QString& addressPath, OlderImport::Version version,
                           QWidget* parent)
    : TImportDialog(table, QStringLiteral("Select DBF File"), QStringLiteral("DBF File Name"),
                    QStringLiteral("DBF Files (*.dbf *.DBF)"), parent),
      addressPath_(addressPath),
      version_(version) {
    setObjectName("TImportOlder");
    setWindowTitle(OlderImport::Caption(version));
    MatchButton->setVisible(false);
    updateButtons();
}

TImportOlder::~TImportOlder() = default;

bool TImportOlder::useFile(const QString& path) {
    source_.reset();
    QString message;
    if (!OlderImport::OpenSource(path, addressPath_, version_, &source_, &message)) {
        WindowMessages().inform(message);
        return false;
    }
    return true;
}

ImportReport TImportOlder::runImport(JobProgress& progress, const ImportHooks& hooks) {
    return OlderImport::Run(table_, *source_, version_, progress, hooks);
}
