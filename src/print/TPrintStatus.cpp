#include "TPrintStatus.h"

#include <QFileDialog>
#include <QLabel>
#include <QPushButton>

#include "PrinterDevice.h"

TPrintStatus::TPrintStatus(PrintKind kind, bool preview, QWidget* parent, PrinterDevice* device)
    : JobWindow(parent),
      ReportPrinter(device),
      ReportFiler(PrinterDevice::forReport(device)),
      kind_(kind),
      preview_(preview) {
    const PrintKindTexts& texts = printKindTexts(kind);
    setObjectName(QStringLiteral("TPrintStatus"));
    StatusLabel->setMinimumSize(300, 80);
    if (preview) {
        stream_ = std::make_shared<PageStream>();
        ReportFiler.setStream(stream_.get());
        report_ = &ReportFiler;
        setWindowTitle(QStringLiteral("Preview Status"));
        setStopButton(StopButton::Stop);
    } else {
        report_ = &ReportPrinter;
        setWindowTitle(texts.printCaption);
        setStopButton(StopButton::Cancel);
        setCancelQuestion(texts.cancelQuestion, QStringLiteral("Warning"));
    }
    JobWindow::setJob([this](JobProgress& progress) { return print(progress); });
}

TPrintStatus::~TPrintStatus() = default;

TBaseReport& TPrintStatus::report() { return *report_; }

void TPrintStatus::setJob(std::function<void(TBaseReport&)> onPrint,
                          std::function<void(TBaseReport&)> onBeforePrint) {
    onPrint_ = std::move(onPrint);
    onBeforePrint_ = std::move(onBeforePrint);
}

void TPrintStatus::setJob(PrintJob& job) {
    job.setUp(*report_);
    setJob([&job](TBaseReport& r) { job.printPages(r); });
    setNotice([&job] { return job.notice(); });
}

JobResult TPrintStatus::print(JobProgress& progress) {
    TBaseReport& r = *report_;
    r.setProgress(&progress, preview_ ? TBaseReport::OnHalt::Stop : TBaseReport::OnHalt::Abort);
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
    ok_ = true;
    if (!preview_ && device.isPdf() && device.pdfFileName().isEmpty()) {
        const QString path = QFileDialog::getSaveFileName(this, QStringLiteral("Print to PDF File"),
                                                          QString(), QStringLiteral("PDF files (*.pdf)"));
        if (path.isEmpty()) {
            r.abort();
            ok_ = false;
        } else {
            device.setPdfFileName(path);
        }
    }
    if (ok_) ok_ = r.execute();
    r.setProgress(nullptr);
    if (r.aborted()) return JobResult::Cancelled;
    return ok_ ? JobResult::Done : JobResult::Failed;
}

void TPrintStatus::jobEnded(JobResult) {
    TBaseReport& r = *report_;
    const PrintKindTexts& texts = printKindTexts(kind_);
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
    QString status = r.statusLine();
    if (!ok_ && !r.lastError().isEmpty()) status = r.lastError() + QStringLiteral("\r") + status;
    const QString notice = notice_ ? notice_() : QString();
    if (!notice.isEmpty()) {
        status += QStringLiteral("\r") + notice;
        closeNow = false;
        // A notice may be longer than the window is wide: it wraps, and the window grows.
        StatusLabel->setWordWrap(true);
    }
    showStatus(status);
    if (!notice.isEmpty()) adjustSize();
    if (closeNow) closeLater(true);
}
