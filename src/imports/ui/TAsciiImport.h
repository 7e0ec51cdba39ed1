#pragma once

#include "AsciiSample.h"
#include "FieldMatch.h"
#include "TImportDialog.h"

class QCheckBox;

// "ASCII File Import": appends records to the address file from a comma-separated text
// file. "Select ASCII File" reads the file's first lines ("Unable to import from this
// file" when fewer than two can be read), "Match Fields" opens TAsciiMatch, "Import"
// (once a field is matched) runs RunAsciiImport. "First line holds field names"
// matches the fields by the names in the file's first line and leaves that line out
// of the import. `table` is the address file, opened exclusively for the import.
class TAsciiImport : public TImportDialog {
    Q_OBJECT

  public:
    explicit TAsciiImport(xbase::Table& table, QWidget* parent = nullptr);

    QCheckBox* FirstLineCheckBox;

    const FieldMatch& match() const { return match_; }

  protected:
    bool useFile(const QString& path) override;
    void matchFields() override;
    bool canImport() const override { return match_.any(); }
    ImportReport runImport(JobProgress& progress, const ImportHooks& hooks) override;

  private:
    void FirstLineCheckBoxClick();

    AsciiSample sample_;
    FieldMatch match_;
};
