#include "JobWindow.h"

#include <QApplication>
#include <QCloseEvent>
#include <QElapsedTimer>
#include <QHBoxLayout>
#include <QLabel>
#include <QProgressBar>
#include <QPushButton>
#include <QVBoxLayout>
#include <algorithm>

#include "WindowMessages.h"

// The window's side of a running job. Letting the events run costs far more than a
// record of a scan, so it happens every few milliseconds or every so many calls,
// whichever comes first: often enough for a click to be seen at once.
class JobWindow::Progress : public JobProgress {
  public:
    explicit Progress(JobWindow& window) : window_(window) {}

    void status(const QString& text) override {
        window_.showStatus(text);
        letEventsRun(false);
    }
    void gauge(int percent) override {
        percent = std::clamp(percent, 0, 100);
        if (percent == window_.Gauge->value()) return;
        window_.Gauge->setValue(percent);
        letEventsRun(false);
    }
    bool keepGoing() override {
        letEventsRun(true);
        return !window_.stopRequested_;
    }

  private:
    // A job that never asks keepGoing() (a rebuild) still gets its window repainted
    // through its status and gauge.
    void letEventsRun(bool counted) {
        if ((counted && ++calls_ >= kCallsBetweenEvents) || !clock_.isValid() ||
            clock_.elapsed() >= kMillisecondsBetweenEvents) {
            calls_ = 0;
            clock_.start();
            QCoreApplication::processEvents();
        }
    }

    static constexpr int kCallsBetweenEvents = 64;
    static constexpr int kMillisecondsBetweenEvents = 10;
    JobWindow& window_;
    QElapsedTimer clock_;
    int calls_ = 0;
};

JobWindow::JobWindow(QWidget* parent) : QDialog(parent) {
    StatusLabel = new QLabel(this);
    StatusLabel->setObjectName(QStringLiteral("StatusLabel"));
    StatusLabel->setAlignment(Qt::AlignCenter);
    StatusLabel->setMinimumSize(300, 50);
    Gauge = new QProgressBar(this);
    Gauge->setObjectName(QStringLiteral("Gauge"));
    Gauge->setRange(0, 100);
    Gauge->setValue(0);
    Gauge->hide();
    CancelButton = new QPushButton(QStringLiteral("Cancel"), this);
    CancelButton->setObjectName(QStringLiteral("CancelButton"));
    CancelButton->setAutoDefault(false);
    body_ = new QVBoxLayout;
    buttonRow_ = new QHBoxLayout;
    buttonRow_->addStretch(1);
    buttonRow_->addWidget(CancelButton);
    buttonRow_->addStretch(1);
    auto* layout = new QVBoxLayout(this);
    layout->addLayout(body_);
    layout->addWidget(StatusLabel);
    layout->addWidget(Gauge);
    layout->addLayout(buttonRow_);
    connect(CancelButton, &QPushButton::clicked, this, &JobWindow::CancelButtonClick);
    setModal(true);
}

JobWindow::~JobWindow() = default;

void JobWindow::setJob(Job job) { job_ = std::move(job); }

void JobWindow::setCancelQuestion(const QString& text, const QString& caption, Messages::Preset preset) {
    question_ = text;
    questionCaption_ = caption;
    questionPreset_ = preset;
}

void JobWindow::setStopButton(StopButton kind) {
    stopKind_ = kind;
    CancelButton->setText(kind == StopButton::Stop ? QStringLiteral("Stop") : QStringLiteral("Cancel"));
}

void JobWindow::setGaugeShown(bool shown) { Gauge->setVisible(shown); }

void JobWindow::showStatus(const QString& text) {
    QString shown = text;
    shown.replace(QLatin1String("\r\n"), QLatin1String("\n"));
    shown.replace(QLatin1Char('\r'), QLatin1Char('\n'));
    StatusLabel->setText(shown);
}

void JobWindow::setStartsOnShow(bool onShow) { startsOnShow_ = onShow; }

void JobWindow::showEvent(QShowEvent* event) {
    QDialog::showEvent(event);
    if (startsOnShow_) start();
}

void JobWindow::start() {
    if (started_) return;
    started_ = true;
    // The job runs from the window's own message loop, once it is on screen.
    QMetaObject::invokeMethod(this, &JobWindow::run, Qt::QueuedConnection);
}

void JobWindow::run() {
    if (running_ || finished_) return;
    running_ = true;
    Progress progress(*this);
    // A Cancel pressed between showing the window and starting the job counts too.
    if (stopRequested_) {
        result_ = JobResult::Cancelled;
    } else {
        result_ = job_ ? job_(progress) : JobResult::Done;
    }
    running_ = false;
    finished_ = true;
    jobEnded(result_);
}

void JobWindow::jobEnded(JobResult result) { closeLater(result == JobResult::Done); }

void JobWindow::closeLater(bool accepted) {
    // Through the message loop, so that the modal loop ends cleanly.
    if (accepted) {
        QMetaObject::invokeMethod(this, &QDialog::accept, Qt::QueuedConnection);
    } else {
        QMetaObject::invokeMethod(
            this, [this] { QDialog::reject(); }, Qt::QueuedConnection);
    }
}

void JobWindow::CancelButtonClick() {
    if (finished_) {
        accept();
        return;
    }
    if (!started_) {
        reject();  // a window that asks first: Cancel before the job closes it
        return;
    }
    if (stopRequested_ || asking_) return;
    if (stopKind_ == StopButton::Stop || question_.isEmpty()) {
        stopRequested_ = true;
        return;
    }
    asking_ = true;
    const bool yes = WindowMessages().ask(question_, questionCaption_, questionPreset_);
    asking_ = false;
    // The job may have ended while the question was up; then there is nothing to stop.
    if (yes && !finished_) stopRequested_ = true;
}

void JobWindow::closeEvent(QCloseEvent* event) {
    if (!started_ || finished_) {
        QDialog::closeEvent(event);
        return;
    }
    // Closing the window while the job runs is the same as its button.
    event->ignore();
    CancelButtonClick();
}

void JobWindow::reject() {
    if (started_ && !finished_) {
        CancelButtonClick();
        return;
    }
    QDialog::reject();
}
