#pragma once

#include <QDialog>

#include "AppHome.h"
#include "ReportDefinition.h"

class PrinterDevice;
class QCheckBox;
class QGroupBox;
class QLineEdit;
class QListWidget;
class QPushButton;
class QRadioButton;
class QTabWidget;
class QTreeWidget;
namespace xbase {
class Table;
}

// "Print Report": the four built-in listings on one page and the user-defined reports of
// REPORT.DBF on the other, with what to print, Print (through the print dialog) and
// Preview, and the reports' Modify/New/Delete/Clone. The jobs are BuiltInReports' and
// UserReport's. The address table's query, order and record are put back after every
// job, and the printer chosen in here when the window closes.
class TReportSetup : public QDialog {
    Q_OBJECT

  public:
    // `reports` is REPORT.DBF, opened by the caller; `addresses` the main window's table.
    TReportSetup(xbase::Table& reports, xbase::Table& addresses, const AppHome& home, bool filterSet,
                 QWidget* parent = nullptr, PrinterDevice* device = nullptr);
    ~TReportSetup() override;

    // The report the list shows selected; a new report's when there is none.
    ReportDefinition::Definition current() const;

    QTabWidget* Pages;  // 0 "Built In Reports", 1 "Report Designer"
    QListWidget* BuiltInList;
    QLineEdit* TitleEdit;
    QCheckBox* PrintMemo;
    QCheckBox* PrintCodes;
    QTreeWidget* ReportList;
    QPushButton* ModifyButton;
    QPushButton* NewButton;
    QPushButton* DeleteButton;
    QPushButton* CloneButton;
    QCheckBox* OnePerPage;
    QGroupBox* WhatToPrint;
    QRadioButton* AllRecords;
    QRadioButton* FilterRecords;
    QRadioButton* CurrentRecord;
    QCheckBox* StartFromCurrent;
    QPushButton* PrintButton;
    QPushButton* PreviewButton;

  private:
    void fillList(uint32_t select = 0);
    uint32_t currentRecNo() const;
    void SetButtons();
    void ModifyButtonClick();
    void NewButtonClick();
    // Runs the designer over `def` and, on Save, stores the report (a new record when
    // `recNo` is 0).
    void design(const ReportDefinition::Definition& def, const QString& layoutFile, uint32_t recNo);
    void DeleteButtonClick();
    void CloneButtonClick();
    void runJob(bool preview);
    PrinterDevice& device() const;

    xbase::Table& reports_;
    xbase::Table& addresses_;
    AppHome home_;
    PrinterDevice* device_;
    int printerBefore_ = -1;
};
