#pragma once

#include "TImportDialog.h"
#include "VCardImport.h"

class QCheckBox;
class QComboBox;
class QLabel;

// "vCard File Import": appends one record per card of a vCard file (RunVCardImport).
// "Select vCard File" picks the file; "Address to keep" says which of a card's
// addresses fills the address fields (the preferred one, else the first; or the home
// or the work address), "Birthday into" whether BDAY goes into a comment field, and
// "Stop at a bad card" whether a card that cannot be read stops the import instead
// of being named and skipped. There is nothing to match: "Match Fields" is not shown.
class TVCardImport : public TImportDialog {
    Q_OBJECT

  public:
    explicit TVCardImport(xbase::Table& table, QWidget* parent = nullptr);

    QLabel* AddressLabel;
    QComboBox* AddressBox;  // preferred, home, work
    QLabel* BirthdayLabel;
    QComboBox* BirthdayBox;  // not kept, USER1, USER2
    QCheckBox* StopCheckBox;

    VCardImportSetup setup() const;

  protected:
    bool useFile(const QString& path) override;
    bool canImport() const override { return true; }
    ImportReport runImport(JobProgress& progress, const ImportHooks& hooks) override;
};
