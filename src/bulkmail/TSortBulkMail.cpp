#include "TSortBulkMail.h"

#include "Presort.h"
#include "WindowMessages.h"

TSortBulkMail::TSortBulkMail(xbase::Table& table, QString path, QWidget* parent) : JobWindow(parent) {
    setObjectName(QStringLiteral("TSortBulkMail"));
    setWindowTitle(QStringLiteral("Bulk Mail Presorting"));
    setCancelQuestion(QStringLiteral("Cancel PRESORT?"), QStringLiteral("CANCEL"));
    setJob([this, &table, path = std::move(path)](JobProgress& progress) {
        return Presort::RunPresort(table, path, progress, &error_);
    });
}

void TSortBulkMail::jobEnded(JobResult result) {
    if (result == JobResult::Failed) WindowMessages().inform(error_);
    JobWindow::jobEnded(result);
}
