#include "TerminalProgress.h"

#include <unistd.h>

#include <QDateTime>
#include <ostream>

namespace cli {

namespace {
constexpr long long kMillisecondsBetweenDraws = 200;
constexpr int kWidth = 78;
}  // namespace

TerminalProgress::TerminalProgress(std::ostream& err, bool terminal) : err_(err), terminal_(terminal) {}

TerminalProgress::~TerminalProgress() {
    if (drawn_) err_ << "\r" << std::string(kWidth, ' ') << "\r" << std::flush;
}

bool TerminalProgress::stderrIsTerminal() { return isatty(STDERR_FILENO) == 1; }

void TerminalProgress::status(const QString& text) {
    status_ = text;
    status_.replace(QLatin1Char('\r'), QLatin1Char(' '));
    status_.replace(QLatin1Char('\n'), QLatin1Char(' '));
    draw(false);
}

void TerminalProgress::gauge(int percent) {
    if (percent == percent_) return;
    percent_ = percent;
    draw(false);
}

void TerminalProgress::draw(bool force) {
    if (!terminal_) return;
    const long long now = QDateTime::currentMSecsSinceEpoch();
    if (!force && drawn_ && now - lastDrawn_ < kMillisecondsBetweenDraws) return;
    lastDrawn_ = now;
    drawn_ = true;
    QString line = percent_ >= 0 ? QStringLiteral("%1% %2").arg(percent_, 3).arg(status_) : status_;
    line = line.left(kWidth);
    err_ << "\r" << line.toStdString() << std::string(size_t(kWidth - line.size()), ' ') << std::flush;
}

JobResult RunOnTerminal(const Job& job, std::ostream& err) {
    TerminalProgress progress(err, TerminalProgress::stderrIsTerminal());
    return job(progress);
}

}  // namespace cli
