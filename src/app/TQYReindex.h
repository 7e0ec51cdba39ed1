#pragma once

#include "TReindexDialog.h"

namespace xbase {
class Table;
}

// "Rebuild indexes for <file>": packs the open address file (deleted records go for
// good) and builds its tags anew, with a gauge over both phases.
class TQYReindex : public TReindexDialog {
    Q_OBJECT

  public:
    TQYReindex(xbase::Table& table, const QString& fileName, QWidget* parent = nullptr);

    // The message of a failed rebuild; empty after success or when not run.
    const QString& error() const { return error_; }

  private:
    bool run(JobProgress& progress) override;

    xbase::Table& table_;
    QString error_;
};
