#include "TCountZipCodes.h"

#include <QHBoxLayout>
#include <QLabel>
#include <QPushButton>
#include <QVBoxLayout>

#include "CheckPrinters.h"
#include "HelpLink.h"
#include "PrinterDevice.h"
#include "PrinterDialogs.h"
#include "TPreviewWindow.h"
#include "TZipReport.h"
#include "Table.h"
#include "WindowMessages.h"
#include "ZipCount.h"

TCountZipCodes::TCountZipCodes(xbase::Table& table, Settings* settings, QWidget* parent,
                               PrinterDevice* device)
    : JobWindow(parent), table_(table), settings_(settings), device_(device) {
    setObjectName(QStringLiteral("TCountZipCodes"));
    setWindowTitle(QStringLiteral("Count Zip Codes"));
    setCancelQuestion(QStringLiteral("Cancel Count?"), QStringLiteral("CANCEL"));
    CaptionLabel = new QLabel(QStringLiteral("Counting the number of occurrences of each zip code:"), this);
    body()->addWidget(CaptionLabel);
    StatusLabel->setAlignment(Qt::AlignLeft | Qt::AlignVCenter);
    StatusLabel->setMinimumSize(360, 40);
    auto make = [this](const char* name, const char* text) {
        auto* b = new QPushButton(QString::fromLatin1(text), this);
        b->setObjectName(QString::fromLatin1(name));
        b->setAutoDefault(false);
        b->hide();
        buttonRow()->insertWidget(buttonRow()->count() - 1, b);
        return b;
    };
    PrintButton = make("PrintButton", "Print");
    PreviewButton = make("PreviewButton", "Preview");
    PrinterSetupButton = make("PrinterSetupButton", "Printer Setup");
    OkButton = make("OkButton", "Ok");
    HelpButton = make("HelpButton", "Help");
    connect(PrintButton, &QPushButton::clicked, this, &TCountZipCodes::PrintButtonClick);
    connect(PreviewButton, &QPushButton::clicked, this, &TCountZipCodes::PreviewButtonClick);
    connect(PrinterSetupButton, &QPushButton::clicked, this, &TCountZipCodes::PrinterSetupButtonClick);
    connect(OkButton, &QPushButton::clicked, this, &QDialog::accept);
    connect(HelpButton, &QPushButton::clicked, this, [this] { HelpLink::showFor(this); });
    setJob([this](JobProgress& progress) {
        ZipCount tally;
        const JobResult result = CountZipCodes(table_, &tally, progress, &error_);
        if (result == JobResult::Done) lines_ = tally.reportLines(table_.codePage());
        return result;
    });
}

void TCountZipCodes::jobEnded(JobResult result) {
    if (result != JobResult::Done) {
        if (result == JobResult::Failed) WindowMessages().inform(error_);
        closeLater(false);
        return;
    }
    counted_ = true;
    WindowMessages().beep();
    showStatus(QStringLiteral("Finished counting. Press Print or Preview for the report"));
    CancelButton->hide();
    for (QPushButton* b : {PrintButton, PreviewButton, PrinterSetupButton, OkButton, HelpButton}) b->show();
}

bool TCountZipCodes::report(bool preview) {
    PrinterDevice& device = device_ ? *device_ : PrinterDevice::instance();
    QString message;
    if (!CheckPrinters(device, &message)) {
        WindowMessages().inform(message);
        return false;
    }
    if (!counted_) return false;
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
        WindowMessages().inform(QStringLiteral("There are no printers installed"));
        return;
    }
    PrinterDialogs::PrinterSetup(this, device);
}
