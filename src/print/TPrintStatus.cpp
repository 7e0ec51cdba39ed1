#include "TPrintStatus.h"

#include <QCloseEvent>
#include <QFileDialog>
#include <QLabel>
#include <QMessageBox>
#include <QPushButton>
#include <QVBoxLayout>

#include "PrinterDevice.h"

TPrintStatus::TPrintStatus(PrintKind kind, bool preview, QWidget* parent, PrinterDevice* device)
    : QDialog(parent),
      ReportPrinter(device),
      ReportFiler(PrinterDevice::forReport(device)),
      kind_(kind),
      preview_(preview) {
    const PrintKindTexts& texts = printKindTexts(kind);
    setObjectName(QStringLiteral("TPrintStatus"));
    StatusLabel = new QLabel(this);
    StatusLabel->setObjectName(QStringLiteral("StatusLabel"));
    StatusLabel->setAlignment(Qt::AlignCenter);
    StatusLabel->setMinimumSize(300, 80);
    CancelButton = new QPushButton(this);
    CancelButton->setObjectName(QStringLiteral("CancelButton"));
    auto* layout = new QVBoxLayout(this);
    layout->addWidget(StatusLabel);
    layout->addWidget(CancelButton, 0, Qt::AlignHCenter);
    connect(CancelButton, &QPushButton::clicked, this, &TPrintStatus::CancelButtonClick);
    if (preview) {
        stream_ = std::make_shared<PageStream>();
        ReportFiler.setStream(stream_.get());
        report_ = &ReportFiler;
        setWindowTitle(QStringLiteral("Preview Status"));
        CancelButton->setText(QStringLiteral("Stop"));
    } else {
        report_ = &ReportPrinter;
        setWindowTitle(texts.printCaption);
        CancelButton->setText(QStringLiteral("Cancel"));
    }
    setModal(true);
}

TPrintStatus::~TPrintStatus() = default;

TBaseReport& TPrintStatus::report() { return *report_; }

void TPrintStatus::setJob(std::function<void(TBaseReport&)> onPrint,
                          std::function<void(TBaseReport&)> onBeforePrint) {
    onPrint_ = std::move(onPrint);
    onBeforePrint_ = std::move(onBeforePrint);
}

bool TPrintStatus::askYesNo(QWidget* parent, const QString& text, const QString& caption) {
    QMessageBox box(QMessageBox::Question, caption, text, QMessageBox::Yes | QMessageBox::No, parent);
    box.setDefaultButton(QMessageBox::Yes);
    return box.exec() == QMessageBox::Yes;
}

void TPrintStatus::showStatus(const QString& text) {
    QString shown = text;
    shown.replace('\r', '\n');
    StatusLabel->setText(shown);
}

void TPrintStatus::showEvent(QShowEvent* event) {
    QDialog::showEvent(event);
    if (!started_) {
        started_ = true;
        // The job runs from the window's own message loop, once it is on screen.
        QMetaObject::invokeMethod(this, &TPrintStatus::run, Qt::QueuedConnection);
    }
}

void TPrintStatus::run() {
    TBaseReport& r = *report_;
    const PrintKindTexts& texts = printKindTexts(kind_);
    r.StatusLabel = [this](const QString& text) { showStatus(text); };
    r.OnBeforePrint = [this](TBaseReport& rep) {
        rep.StatusFormat = preview_ ? QStringLiteral("Preparing Preview Page %p\r%0\r%1")
                                    : QStringLiteral("Printing Page %p\r%0\r%1");
        rep.StatusText << QString() << QString();
        if (onBeforePrint_) onBeforePrint_(rep);
    };
    r.OnPrint = onPrint_;
    r.OnAfterPrint = nullptr;
    r.OnPrintPage = nullptr;
    r.OnNewPage = nullptr;
    r.OnPrintHeader = nullptr;
    r.OnPrintFooter = nullptr;

    PrinterDevice& device = ReportPrinter.device();
    bool ok = true;
    if (!preview_ && device.isPdf() && device.pdfFileName().isEmpty()) {
        const QString path = QFileDialog::getSaveFileName(this, QStringLiteral("Print to PDF File"),
                                                          QString(), QStringLiteral("PDF files (*.pdf)"));
        if (path.isEmpty()) {
            r.abort();
            ok = false;
        } else {
            device.setPdfFileName(path);
        }
    }
    if (ok) ok = r.execute();
    finished_ = true;
    CancelButton->setText(QStringLiteral("Ok"));

    bool closeNow = texts.closesAlways;
    if (r.aborted()) {
        r.StatusFormat = preview_ ? texts.previewAborted : texts.printAborted;
    } else if (r.stopped()) {
        r.StatusFormat = texts.previewStopped;
    } else if (preview_) {
        r.StatusFormat = texts.previewDone;
        closeNow = closeNow || texts.closesAfterPreview;
    } else {
        r.StatusFormat = texts.printDone;
    }
    r.updateStatus();
    if (!ok && !r.lastError().isEmpty()) showStatus(r.lastError() + QStringLiteral("\r") + r.statusLine());
    if (closeNow) QMetaObject::invokeMethod(this, &QDialog::accept, Qt::QueuedConnection);
}

void TPrintStatus::CancelButtonClick() {
    const QString caption = CancelButton->text().toUpper();
    if (caption == QLatin1String("CANCEL")) {
        const QString question = printKindTexts(kind_).cancelQuestion;
        if (question.isEmpty() || askYesNo(this, question, QStringLiteral("Warning"))) report_->abort();
    } else if (caption == QLatin1String("STOP")) {
        report_->stop();
    } else {
        accept();
    }
}

void TPrintStatus::closeEvent(QCloseEvent* event) {
    if (finished_ || !started_) {
        QDialog::closeEvent(event);
        return;
    }
    // Closing the window while the job runs is the same as its button.
    event->ignore();
    CancelButtonClick();
}

void TPrintStatus::reject() {
    if (finished_ || !started_) {
        QDialog::reject();
        return;
    }
    CancelButtonClick();
}
