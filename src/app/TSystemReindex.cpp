#include "TSystemReindex.h"

#include "HelpSystem.h"
#include "SystemTables.h"

TSystemReindex::TSystemReindex(const AppHome& home, QWidget* parent)
    : TReindexDialog("TSystemReindex", "Rebuild System Indexes",
                     "Rebuilds the indexes of the label, envelope, letter and report files, the label "
                     "stock list and the state/province list.",
                     HelpTopic::RebuildSystem, parent),
      home_(home) {}

bool TSystemReindex::run() {
    SystemTables::RebuildSystemIndexes(
        home_, [this](const QString& status) { showStatus(status); }, [this](int percent) { showGauge(percent); });
    return true;  // tables that cannot be opened are passed over
}
