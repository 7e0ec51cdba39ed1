#pragma once

#include <memory>

#include "OlderImport.h"
#include "TImportDialog.h"

// "Import Quillory 1.x DBF" or "Import Quillory 2.x DBF": appends the records of an
// address file of an earlier release, field by field, without matching. "Select DBF
// File" checks the file (OlderImport::OpenSource), "Import" runs OlderImport::Run on
// `table`, the main window's open address file at `addressPath`.
class TImportOlder : public TImportDialog {
    Q_OBJECT

  public:
    TImportOlder(xbase::Table& table, const QString& addressPath, OlderImport::Version version,
                 QWidget* parent = nullptr);
    ~TImportOlder() override;

  protected:
    bool useFile(const QString& path) override;
    bool canImport() const override { return source_ != nullptr; }
    ImportReport runImport(JobProgress& progress, const ImportHooks& hooks) override;

  private:
    QString addressPath_;
    OlderImport::Version version_;
    std::unique_ptr<xbase::Table> source_;
};
