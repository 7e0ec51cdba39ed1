#pragma once

#include <QDialog>
#include <array>

#include "RecordSheet.h"

class PrinterDevice;
class QCheckBox;
class QPushButton;
namespace xbase {
class Table;
}

// "Print Current Record": which fields of the address table's current record go on the
// one-record sheet, and Print or Preview of it through the print-status window, with no
// print dialog. The sheet itself is RecordSheet's; the table's cursor is not moved.
class TPrintCurrentRecord : public QDialog {
    Q_OBJECT

  public:
    // `addresses` is the main window's table, standing on the record to print. `device`
    // is the printer to use; null: the program's own.
    TPrintCurrentRecord(xbase::Table& addresses, QWidget* parent = nullptr, PrinterDevice* device = nullptr);

    // The ticked boxes as the sheet's choice.
    RecordSheet::Choice choice() const;

    // One box per item of RecordSheet::Items(), in that order.
    std::array<QCheckBox*, RecordSheet::kItemCount> FieldBoxes{};
    QCheckBox* AllBox;
    QPushButton* PrintButton;
    QPushButton* PreviewButton;
    QPushButton* PrinterSetupButton;
    QPushButton* CancelButton;

  public slots:
    void AllBoxClick(bool checked);
    void PrintButtonClick() { runJob(false); }
    void PreviewButtonClick() { runJob(true); }
    void PrinterSetupButtonClick();

  private:
    void runJob(bool preview);
    PrinterDevice& device() const;

    xbase::Table& addresses_;
    PrinterDevice* device_;
};
