#pragma once

#include <QStringList>

#include "JobProgress.h"

// A job's runner for tests: records every status line and gauge value, and says stop
// from the `stopAt`th keepGoing() on (0: never).
class RecordingProgress : public JobProgress {
  public:
    explicit RecordingProgress(int stopAt = 0) : stopAt_(stopAt) {}

    void status(const QString& text) override { statuses << text; }
    void gauge(int percent) override { gauges.push_back(percent); }
    bool keepGoing() override { return stopAt_ == 0 || ++asked_ < stopAt_; }

    int asked() const { return asked_; }

    QStringList statuses;
    std::vector<int> gauges;

  private:
    int stopAt_;
    int asked_ = 0;
};
