#pragma once

#include <QDialog>
#include <cstdint>
#include <memory>

#include "AppHome.h"
#include "LabelPrint.h"

class PrinterDevice;
class QCheckBox;
class QComboBox;
class QGroupBox;
class QLineEdit;
class QPushButton;
class QRadioButton;
class QTreeWidget;
namespace xbase {
class Table;
}

// "Print Labels": the label definitions of LABEL.DBF with their stock, what to print
// and on which printer, and Print or Preview. The job itself is LabelPrint's; this
// window gathers the choices, asks for the positions (TSelectSpecificLabels) and runs
// the loop in the print-status window. The print request (copies, positions, whether
// the presort has run) lasts while the window is open.
class TLabelSetupScreen : public QDialog {
    Q_OBJECT

  public:
    // `labels` is LABEL.DBF, opened by the caller; `addresses` the main window's table,
    // whose query, order and record are put back after every job.
    TLabelSetupScreen(xbase::Table& labels, xbase::Table& addresses, const AppHome& home, bool filterSet,
                      QWidget* parent = nullptr, PrinterDevice* device = nullptr);
    ~TLabelSetupScreen() override;

    // The definition the list shows selected; the stand-by values when the table is empty.
    LabelDefinition current() const;
    const LabelPrint::Choice& request() const { return choice_; }

    QTreeWidget* LabelList;
    QLineEdit* HeightEdit;
    QLineEdit* WidthEdit;
    QLineEdit* AcrossEdit;
    QLineEdit* DownEdit;
    QLineEdit* PaperEdit;
    QLineEdit* PaperWidthEdit;
    QLineEdit* PaperHeightEdit;
    QPushButton* ModifyButton;
    QPushButton* NewButton;
    QPushButton* DeleteButton;
    QPushButton* CloneButton;
    QGroupBox* WhatToPrint;
    QRadioButton* AllRecords;
    QRadioButton* FilterRecords;
    QRadioButton* CurrentRecord;
    QCheckBox* StartFromCurrent;
    QCheckBox* Presort;
    QGroupBox* PrinterBox;
    QComboBox* PrinterList;
    QPushButton* PreviewButton;
    QPushButton* PrintButton;
    QPushButton* OkButton;
    QPushButton* HelpButton;

  public slots:
    void PrintButtonClick();
    void PreviewButtonClick();
    void ModifyButtonClick();
    void NewButtonClick();
    // Runs the designer over `def` and, on Save, stores its layout and the record
    // (appended for a new definition, else record `recNo`).
    void design(const LabelDefinition& def, bool isNew, const QString& layoutFile, uint32_t recNo);
    void DeleteButtonClick();
    void CloneButtonClick();

  private:
    void fillList(uint32_t select = 0);
    void showDefinition();
    void setButtons();
    void selectionChanged();
    void runJob(bool preview);
    uint32_t currentRecNo() const;
    PrinterDevice& device() const;

    xbase::Table& labels_;
    xbase::Table& addresses_;
    AppHome home_;
    PrinterDevice* device_;
    int printerBefore_;
    LabelPrint::Choice choice_;
};
