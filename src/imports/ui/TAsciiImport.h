#pragma once

#include "AsciiSample.h"
#include "FieldMatch.h"
#include "TImportDialog.h"

class QCheckBox;
class QComboBox;
class QLabel;

// "ASCII File Import": appends records to the address file from a comma-separated text
// file. "Select ASCII File" reads the file's first lines ("Unable to import from this
// file" when fewer than two can be read), telling its quoting: the program's own text
// or RFC 4180 as spreadsheets write it, shown in "Quoting rules" for the user to change.
// "First line holds column names" is ticked when the first line looks like column names
// (the user may change it): its names then head the sample's columns, the fields are
// matched by them (ColumnNames::Match) and the line is left out of the import. "Match
// Fields" opens TAsciiMatch; "Import" (once a field is matched) runs RunAsciiImport.
// `table` is the address file, opened exclusively for the import.
class TAsciiImport : public TImportDialog {
    Q_OBJECT

  public:
    explicit TAsciiImport(xbase::Table& table, QWidget* parent = nullptr);

    QCheckBox* FirstLineCheckBox;
    QLabel* DialectLabel;
    QComboBox* DialectBox;  // the dialects in the order of CsvDialect::Dialect

    const FieldMatch& match() const { return match_; }
    const AsciiSample& sample() const { return sample_; }

  protected:
    bool useFile(const QString& path) override;
    void matchFields() override;
    bool canImport() const override { return match_.any(); }
    ImportReport runImport(JobProgress& progress, const ImportHooks& hooks) override;

  private:
    void FirstLineCheckBoxClick();
    void DialectBoxActivated();
    // Reads the sample in `dialect` (detected when none); false after telling the user.
    bool readSample(std::optional<CsvDialect::Dialect> dialect);
    // A new match over the sources the check box gives, by the names when it is ticked.
    void newMatch();

    AsciiSample sample_;
    FieldMatch match_;
};
