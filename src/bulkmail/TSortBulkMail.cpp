#include "TSortBulkMail.h"

#include <QCoreApplication>
#include <QLabel>
#include <QMessageBox>
#include <QPushButton>
#include <QVBoxLayout>

#include "Presort.h"
#include "TPrintStatus.h"

TSortBulkMail::TSortBulkMail(xbase::Table& table, QString path, QWidget* parent)
    : QDialog(parent), table_(table), path_(std::move(path)) {
    setObjectName(QStringLiteral("TSortBulkMail"));
    setWindowTitle(QStringLiteral("Bulk Mail Presorting"));
    StatusLabel = new QLabel(this);
    StatusLabel->setObjectName(QStringLiteral("StatusLabel"));
    StatusLabel->setAlignment(Qt::AlignCenter);
    StatusLabel->setMinimumSize(280, 50);
    CancelButton = new QPushButton(QStringLiteral("Cancel"), this);
    CancelButton->setObjectName(QStringLiteral("CancelButton"));
    auto* layout = new QVBoxLayout(this);
    layout->addWidget(StatusLabel);
    layout->addWidget(CancelButton, 0, Qt::AlignHCenter);
    connect(CancelButton, &QPushButton::clicked, this, &TSortBulkMail::CancelButtonClick);
    setModal(true);
}

void TSortBulkMail::showEvent(QShowEvent* event) {
    QDialog::showEvent(event);
    if (!started_) {
        started_ = true;
        QMetaObject::invokeMethod(this, &TSortBulkMail::run, Qt::QueuedConnection);
    }
}

void TSortBulkMail::run() {
    running_ = true;
    ScanProgress progress;
    progress.status = [this](const QString& text) { StatusLabel->setText(text); };
    progress.keepGoing = [this] {
        QCoreApplication::processEvents();
        return !cancelled_;
    };
    result_ = Presort::RunPresort(table_, path_, progress, &error_);
    running_ = false;
    if (result_ == ScanResult::Failed) QMessageBox::information(this, QStringLiteral("Information"), error_);
    // Closed through the message loop, so that the modal loop ends cleanly.
    if (result_ == ScanResult::Done) {
        QMetaObject::invokeMethod(this, &QDialog::accept, Qt::QueuedConnection);
    } else {
        QMetaObject::invokeMethod(
            this, [this] { QDialog::reject(); }, Qt::QueuedConnection);
    }
}

void TSortBulkMail::CancelButtonClick() {
    if (!running_) return;
    if (TPrintStatus::askYesNo(this, QStringLiteral("Cancel PRESORT?"), QStringLiteral("CANCEL")))
        cancelled_ = true;
}

void TSortBulkMail::reject() {
    if (running_) {
        CancelButtonClick();
        return;
    }
    QDialog::reject();
}
