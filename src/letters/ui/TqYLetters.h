#pragma once

#include <QDialog>

class LetterStore;
class PrinterDevice;
class QCheckBox;
class QLabel;
class QPushButton;
class QRadioButton;
class QSpinBox;
class QTreeWidget;
class Settings;
namespace xbase {
class Table;
}

// The letters manager, "Print Letters": lists the stored letters, creates, edits,
// clones and deletes them, and prints or previews the chosen one for the chosen
// address records. The printer chosen inside the dialog holds while it is open: the
// one selected before is selected again when it closes.
class TqYLetters : public QDialog {
    Q_OBJECT

  public:
    // `store` and `addresses` are borrowed for the dialog's life; `filterSet` says
    // whether the main window has a user filter ("Records matching filter" is
    // disabled without one).
    TqYLetters(LetterStore& store, xbase::Table& addresses, Settings* settings, bool filterSet,
               QWidget* parent = nullptr, PrinterDevice* device = nullptr);
    ~TqYLetters() override;

    // Enables the letter buttons and list when there is at least one letter.
    void SetLetterButtons();
    // The record of the letter chosen in the list; 0 when none.
    uint32_t currentLetter() const;

    QTreeWidget* LetterList;
    QPushButton *ModifyButton, *NewButton, *DeleteButton, *CloneButton;
    QRadioButton *AllRecords, *FilterRecords, *CurrentRecord;
    QCheckBox* StartFromCurrent;
    QLabel* PrinterName;
    QSpinBox* Copies;
    QPushButton *OkButton, *PrintButton, *PreviewButton, *PrinterSetupButton, *HelpButton;

    // Closing puts back the printer selected before the dialog opened.
    void done(int result) override;

  private:
    void restorePrinter();
    void fillList(uint32_t select = 0);
    void ModifyButtonClick();
    void NewButtonClick();
    void DeleteButtonClick();
    void CloneButtonClick();
    void PrintButtonClick();
    void PreviewButtonClick();
    void PrinterSetupButtonClick();
    void edit(uint32_t recNo);
    PrinterDevice& device() const;

    LetterStore& store_;
    xbase::Table& addresses_;
    Settings* settings_;
    PrinterDevice* device_;
    int printerBefore_;
};
