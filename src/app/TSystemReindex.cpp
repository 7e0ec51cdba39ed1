#include "TSystemReindex.h"

#include "SystemTables.h"

TSystemReindex::TSystemReindex(const AppHome& home, QWidget* parent)
    : TReindexDialog("TSystemReindex", "Rebuild System Indexes",
                     "Rebuilds the indexes of the label, envelope, letter and report files, the label "
                     "stock list and the state/province list.",
                     parent),
      home_(home) {}

bool TSystemReindex::run(JobProgress& progress) {
    SystemTables::RebuildSystemIndexes(home_, progress);
    return true;  // tables that cannot be opened are passed over
}
