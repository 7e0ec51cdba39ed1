#include "TCountZipCodes.h"

#include <QApplication>
#include <QHBoxLayout>
#include <QLabel>
#include <QMessageBox>
#include <QPushButton>
#include <QVBoxLayout>

#include "CheckPrinters.h"
#include "PrinterDevice.h"
#include "PrinterDialogs.h"
#include "TPreviewWindow.h"
#include "TZipReport.h"
#include "Table.h"
#include "ZipCount.h"

TCountZipCodes::TCountZipCodes(xbase::Table& table, Settings* settings, QWidget* parent,
                               PrinterDevice* device)
    : QDialog(parent), table_(table), settings_(settings), device_(device) {
    setObjectName(QStringLiteral("TCountZipCodes"));
    setWindowTitle(QStringLiteral("Count Zip Codes"));
    CaptionLabel = new QLabel(QStringLiteral("Counting the number of occurrences of each zip code:"), this);
    StatusLabel = new QLabel(this);
    StatusLabel->setObjectName(QStringLiteral("StatusLabel"));
    StatusLabel->setMinimumSize(360, 40);
    auto make = [this](const char* name, const char* text) {
        auto* b = new QPushButton(QString::fromLatin1(text), this);
        b->setObjectName(QString::fromLatin1(name));
        b->setAutoDefault(false);
        return b;
    };
    CancelButton = make("CancelButton", "Cancel");
    PrintButton = make("PrintButton", "Print");
    PreviewButton = make("PreviewButton", "Preview");
    PrinterSetupButton = make("PrinterSetupButton", "Printer Setup");
    OkButton = make("OkButton", "Ok");
    HelpButton = make("HelpButton", "Help");
    auto* buttons = new QHBoxLayout;
    for (QPushButton* b :
         {CancelButton, PrintButton, PreviewButton, PrinterSetupButton, OkButton, HelpButton})
        buttons->addWidget(b);
    for (QPushButton* b : {PrintButton, PreviewButton, PrinterSetupButton, OkButton, HelpButton}) b->hide();
    auto* layout = new QVBoxLayout(this);
    layout->addWidget(CaptionLabel);
    layout->addWidget(StatusLabel);
    layout->addLayout(buttons);
    connect(CancelButton, &QPushButton::clicked, this, &TCountZipCodes::CancelButtonClick);
    connect(PrintButton, &QPushButton::clicked, this, &TCountZipCodes::PrintButtonClick);
    connect(PreviewButton, &QPushButton::clicked, this, &TCountZipCodes::PreviewButtonClick);
    connect(PrinterSetupButton, &QPushButton::clicked, this, &TCountZipCodes::PrinterSetupButtonClick);
    connect(OkButton, &QPushButton::clicked, this, &QDialog::accept);
    setModal(true);
}

void TCountZipCodes::showEvent(QShowEvent* event) {
    QDialog::showEvent(event);
    if (!started_) {
        started_ = true;
        QMetaObject::invokeMethod(this, &TCountZipCodes::count, Qt::QueuedConnection);
    }
}

void TCountZipCodes::information(const QString& text) {
    QMessageBox::information(this, QStringLiteral("Information"), text);
}

void TCountZipCodes::count() {
    counting_ = true;
    cancelled_ = false;
    ScanProgress progress;
    progress.status = [this](const QString& text) { StatusLabel->setText(text); };
    progress.keepGoing = [this] {
        QCoreApplication::processEvents();
        return !cancelled_;
    };
    ZipCount tally;
    QString error;
    const ScanResult result = CountZipCodes(table_, &tally, progress, &error);
    counting_ = false;
    if (result == ScanResult::Cancelled) {
        QMetaObject::invokeMethod(
            this, [this] { QDialog::reject(); }, Qt::QueuedConnection);
        return;
    }
    if (result == ScanResult::Failed) {
        information(error);
        QMetaObject::invokeMethod(
            this, [this] { QDialog::reject(); }, Qt::QueuedConnection);
        return;
    }
    lines_ = tally.reportLines(table_.codePage());
    counted_ = true;
    QApplication::beep();
    StatusLabel->setText(QStringLiteral("Finished counting. Press Print or Preview for the report"));
    CancelButton->hide();
    for (QPushButton* b : {PrintButton, PreviewButton, PrinterSetupButton, OkButton, HelpButton}) b->show();
}

void TCountZipCodes::CancelButtonClick() {
    if (!counting_) return;
    if (TPrintStatus::askYesNo(this, QStringLiteral("Cancel Count?"), QStringLiteral("CANCEL")))
        cancelled_ = true;
}

void TCountZipCodes::reject() {
    if (counting_) {
        CancelButtonClick();
        return;
    }
    QDialog::reject();
}

bool TCountZipCodes::report(bool preview) {
    PrinterDevice& device = device_ ? *device_ : PrinterDevice::instance();
    QString message;
    if (!CheckPrinters(device, &message)) {
        information(message);
        return false;
    }
    if (!counted_) {
        count();
        if (!counted_) return false;
    }
    TZipReport status(lines_, preview, this, &device);
    status.exec();
    if (preview && !status.aborted()) {
        TPreviewWindow window(status.stream(), printKindTexts(PrintKind::ZipCount).previewCaption,
                              PreviewZoom::Percent100, settings_, this);
        window.exec();
    }
    return !status.aborted();
}

void TCountZipCodes::PrintButtonClick() { report(false); }

void TCountZipCodes::PreviewButtonClick() { report(true); }

void TCountZipCodes::PrinterSetupButtonClick() {
    PrinterDevice& device = device_ ? *device_ : PrinterDevice::instance();
    if (device.printers().isEmpty()) {
        information(QStringLiteral("There are no printers installed"));
        return;
    }
    PrinterDialogs::PrinterSetup(this, device);
}
