#pragma once

#include "AppHome.h"
#include "TReindexDialog.h"

// "Rebuild System Indexes": packs the six system tables and builds their tags anew.
// A table that cannot be opened is passed over without a word.
class TSystemReindex : public TReindexDialog {
    Q_OBJECT

  public:
    explicit TSystemReindex(const AppHome& home, QWidget* parent = nullptr);

  private:
    bool run(JobProgress& progress) override;

    AppHome home_;
};
