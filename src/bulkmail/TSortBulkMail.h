#pragma once

#include "JobWindow.h"

namespace xbase {
class Table;
}

// The presort window, "Bulk Mail Presorting": as soon as it is shown it runs the
// presort over the table's current selection and writes the list to `path`, showing
// its progress; Cancel asks "Cancel PRESORT?". It closes by itself when done;
// presortResult() then tells whether the list was written.
class TSortBulkMail : public JobWindow {
    Q_OBJECT

  public:
    TSortBulkMail(xbase::Table& table, QString path, QWidget* parent = nullptr);

    JobResult presortResult() const { return jobResult(); }
    const QString& errorText() const { return error_; }

  protected:
    void jobEnded(JobResult result) override;

  private:
    QString error_;
};
