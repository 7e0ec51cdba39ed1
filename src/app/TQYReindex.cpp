#include "TQYReindex.h"

#include "AddressFile.h"

TQYReindex::TQYReindex(xbase::Table& table, const QString& fileName, QWidget* parent)
    : TReindexDialog("TQYReindex", "Rebuild indexes for " + fileName,
                     "Deleted records are removed for good, then the sort orders of the file are built anew.",
                     parent),
      table_(table) {}

bool TQYReindex::run(JobProgress& progress) {
    AddressFile::ReindexGauge gauge;
    const bool ok = AddressFile::Reindex(table_, gauge, &error_, progress);
    if (ok) error_.clear();
    return ok;
}
