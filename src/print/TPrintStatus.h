#pragma once

#include <functional>
#include <memory>

#include "JobWindow.h"
#include "PageStream.h"
#include "PrintJob.h"
#include "PrintKind.h"
#include "TReportFiler.h"
#include "TReportPrinter.h"

// The print-status window that runs a print or preview job of any kind: the windows'
// runner of a PrintJob, as RunPrintJob is the command line's. The caller makes it for
// printing or for preview, gives it the job (or an OnPrint and, if the job needs more
// than the standard status lines, an OnBeforePrint), and shows it modally:
// the job runs as soon as the window is shown, and the status label follows it. A
// print has "Cancel", which asks the kind's question first; a preview has "Stop",
// which keeps the pages made so far. When the job ends the button becomes "Ok" and the
// label shows the kind's closing text; some kinds close the window by themselves then.
// Afterwards the caller reads aborted() and, for a preview that was not aborted, opens
// the preview window on stream().
class TPrintStatus : public JobWindow {
    Q_OBJECT

  public:
    TPrintStatus(PrintKind kind, bool preview, QWidget* parent = nullptr, PrinterDevice* device = nullptr);
    ~TPrintStatus() override;

    // The job's own handlers. The window's OnBeforePrint sets the standard status line
    // and two empty status lines first, then calls `onBeforePrint`.
    void setJob(std::function<void(TBaseReport&)> onPrint,
                std::function<void(TBaseReport&)> onBeforePrint = nullptr);
    // Runs `job`, which has selected its records already: its setUp() now, its pages
    // as the OnPrint, and its notice() after the ending. The job outlives the window's run.
    void setJob(PrintJob& job);

    // What the job has to tell once it has ended (addresses cut, for example); asked
    // after every ending. A non-empty text stands under the closing text, and the window
    // then stays until the user presses "Ok", even where the kind closes by itself.
    void setNotice(std::function<QString()> notice) { notice_ = std::move(notice); }

    bool previewing() const { return preview_; }
    // The output this window picked: ReportFiler for a preview, else ReportPrinter.
    TBaseReport& report();
    bool aborted() const { return report_->aborted(); }
    bool stopped() const { return report_->stopped(); }
    // The pages of a preview; the caller keeps the stream for the preview window.
    std::shared_ptr<PageStream> stream() const { return stream_; }

    TReportPrinter ReportPrinter;
    TReportFiler ReportFiler;

  protected:
    void jobEnded(JobResult result) override;

  private:
    JobResult print(JobProgress& progress);

    PrintKind kind_;
    bool preview_;
    TBaseReport* report_;
    std::shared_ptr<PageStream> stream_;
    std::function<void(TBaseReport&)> onPrint_;
    std::function<void(TBaseReport&)> onBeforePrint_;
    std::function<QString()> notice_;
    bool ok_ = false;
};
