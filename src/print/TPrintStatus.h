#pragma once

#include <QDialog>
#include <functional>
#include <memory>

#include "PageStream.h"
#include "PrintKind.h"
#include "TReportFiler.h"
#include "TReportPrinter.h"

class QLabel;
class QPushButton;

// The print-status window that runs a print or preview job of any kind. The caller
// makes it for printing or for preview, gives it the job's OnPrint (and, if the job
// needs more than the standard status lines, an OnBeforePrint), and shows it modally:
// the job runs as soon as the window is shown, and the status label follows it. When
// the job ends the button becomes "Ok" and the label shows the kind's closing text;
// some kinds close the window by themselves then. Afterwards the caller reads
// aborted() and, for a preview that was not aborted, opens the preview window on
// stream().
class TPrintStatus : public QDialog {
    Q_OBJECT

  public:
    TPrintStatus(PrintKind kind, bool preview, QWidget* parent = nullptr, PrinterDevice* device = nullptr);
    ~TPrintStatus() override;

    // The job's own handlers. The window's OnBeforePrint sets the standard status line
    // and two empty status lines first, then calls `onBeforePrint`.
    void setJob(std::function<void(TBaseReport&)> onPrint,
                std::function<void(TBaseReport&)> onBeforePrint = nullptr);

    bool previewing() const { return preview_; }
    // The output this window picked: ReportFiler for a preview, else ReportPrinter.
    TBaseReport& report();
    bool aborted() const { return report_->aborted(); }
    bool stopped() const { return report_->stopped(); }
    bool finished() const { return finished_; }
    // The pages of a preview; the caller keeps the stream for the preview window.
    std::shared_ptr<PageStream> stream() const { return stream_; }

    // Asks a Yes/No question; the window's own message box unless a test replaces it.
    static bool askYesNo(QWidget* parent, const QString& text, const QString& caption);

    TReportPrinter ReportPrinter;
    TReportFiler ReportFiler;
    QLabel* StatusLabel;
    QPushButton* CancelButton;

  protected:
    void showEvent(QShowEvent* event) override;
    void closeEvent(QCloseEvent* event) override;
    void reject() override;

  private slots:
    void CancelButtonClick();
    void run();

  private:
    void showStatus(const QString& text);

    PrintKind kind_;
    bool preview_;
    TBaseReport* report_;
    std::shared_ptr<PageStream> stream_;
    std::function<void(TBaseReport&)> onPrint_;
    std::function<void(TBaseReport&)> onBeforePrint_;
    bool started_ = false;
    bool finished_ = false;
};
