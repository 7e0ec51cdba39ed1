#pragma once

#include <QDialog>
#include <QString>

#include "JobProgress.h"
#include "Messages.h"

class QHBoxLayout;
class QLabel;
class QProgressBar;
class QPushButton;
class QVBoxLayout;

// The window that runs one long job: a status line, a gauge for a job that has one,
// and a button that cancels (after the job's own question) or stops it. Every job of
// the windows runs in one of these: the presort, the ZIP count, the print jobs and
// the ones to come. A window class that needs more (its own caption, buttons that
// appear when the job is done) derives from it and adds to body() and buttonRow().
//
// The job starts once the window is on screen (or on start()) and runs on the
// window's thread. Its keepGoing(), status() and gauge() let the window's events run
// (every few milliseconds, not every call), so that the button and the close box work
// and the window repaints while it runs; none of them can start the job a second time. Cancel, the close box
// and Escape all ask the question; Yes makes keepGoing() answer false from then on. Stop asks nothing. When
// the job has ended, jobEnded() runs; by default the window then closes, accepted when the job was done.
class JobWindow : public QDialog {
    Q_OBJECT

  public:
    enum class StopButton {
        Cancel,  // "Cancel": asks the question (if any) and cancels on Yes
        Stop,    // "Stop": ends the job at once, keeping what it made
    };

    explicit JobWindow(QWidget* parent = nullptr);
    ~JobWindow() override;

    // The job to run when the window is shown. REQUIRES: not yet shown.
    void setJob(Job job);
    // The question Cancel asks first ("Cancel PRESORT?", caption "CANCEL") and the
    // answer Enter gives; without one, Cancel stops the job at once.
    void setCancelQuestion(const QString& text, const QString& caption,
                           Messages::Preset preset = Messages::Preset::Yes);
    void setStopButton(StopButton kind);
    // Shows the gauge (0 %) under the status line.
    void setGaugeShown(bool shown);
    // By default the job starts when the window is shown; a window that asks first
    // (a rebuild with its own button) turns that off and calls start().
    void setStartsOnShow(bool onShow);
    void start();

    bool started() const { return started_; }
    bool running() const { return running_; }
    bool finished() const { return finished_; }
    // Whether the user has confirmed Cancel or pressed Stop.
    bool stopRequested() const { return stopRequested_; }
    // How the job ended; Cancelled before it has run.
    JobResult jobResult() const { return result_; }

    QLabel* StatusLabel;
    QProgressBar* Gauge;
    QPushButton* CancelButton;

  protected:
    // What the window does once the job has ended. The default closes it: accepted
    // when the job was done, rejected otherwise.
    virtual void jobEnded(JobResult result);
    // Shows a status line; CR and CR LF become line breaks.
    void showStatus(const QString& text);
    // Closes the window from the message loop (safe while a click is being handled).
    void closeLater(bool accepted);

    // Where a derived window adds its own widgets: above the status line, and beside
    // the cancel button.
    QVBoxLayout* body() const { return body_; }
    QHBoxLayout* buttonRow() const { return buttonRow_; }

    void showEvent(QShowEvent* event) override;
    void closeEvent(QCloseEvent* event) override;
    void reject() override;

  private slots:
    void CancelButtonClick();

  private:
    class Progress;
    void run();

    Job job_;
    QString question_;
    QString questionCaption_;
    Messages::Preset questionPreset_ = Messages::Preset::Yes;
    StopButton stopKind_ = StopButton::Cancel;
    bool startsOnShow_ = true;
    QVBoxLayout* body_;
    QHBoxLayout* buttonRow_;
    bool started_ = false;
    bool running_ = false;
    bool finished_ = false;
    bool stopRequested_ = false;
    bool asking_ = false;
    JobResult result_ = JobResult::Cancelled;
};
