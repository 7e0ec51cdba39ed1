#pragma once

#include <memory>

#include "FieldMatch.h"
#include "TImportDialog.h"

// "DBF File Import": appends the records of another xBase table to the address file.
// "Select DBF File" opens it (with the messages of DbfImport::OpenSource), "Match
// Fields" opens TDBFMatch, the first time for a file with the automatic match made,
// and "Import" (once a field is matched) runs DbfImport::Run. `table` is the address
// file, opened exclusively for the import, and `addressPath` its path.
class TDBFImport : public TImportDialog {
    Q_OBJECT

  public:
    TDBFImport(xbase::Table& table, const QString& addressPath, QWidget* parent = nullptr);
    ~TDBFImport() override;

    const FieldMatch& match() const { return match_; }

  protected:
    bool useFile(const QString& path) override;
    void matchFields() override;
    bool canImport() const override { return match_.any(); }
    ImportReport runImport(JobProgress& progress, const ImportHooks& hooks) override;

  private:
    QString addressPath_;
    std::unique_ptr<xbase::Table> source_;
    FieldMatch match_;
    bool matched_ = false;  // the automatic match has been made for this file
};
