#pragma once

#include <QDialog>
#include <memory>

#include "AppHome.h"
#include "Envelope.h"
#include "EnvelopePrint.h"

class EnvelopeSample;
class PrinterDevice;
class QCheckBox;
class QLineEdit;
class QPushButton;
class QRadioButton;
class QTreeWidget;
namespace xbase {
class Table;
}

// "Print Envelope": the envelope definitions of ENVELOPE.DBF with a small drawing of the
// chosen one over the current record, what to print, and Print or Preview through the
// pre-print dialog and the print-status window. The job itself is EnvelopePrint's. The
// envelope printer (printer, source, paper, orientation) is remembered in the settings.
class TQYEnvelopes : public QDialog {
    Q_OBJECT

  public:
    // `envelopes` is ENVELOPE.DBF, opened by the caller; `addresses` the main window's
    // table, whose query, order and record are put back after every job.
    TQYEnvelopes(xbase::Table& envelopes, xbase::Table& addresses, const AppHome& home, bool filterSet,
                 QWidget* parent = nullptr, PrinterDevice* device = nullptr);
    ~TQYEnvelopes() override;

    // The definition the list shows selected; "Envelope #10" (code 20) when the table is empty.
    Envelope::Definition current() const;

    QTreeWidget* EnvelopeList;
    QPushButton* ModifyButton;
    QPushButton* NewButton;
    QPushButton* DeleteButton;
    QPushButton* CloneButton;
    EnvelopeSample* Sample;
    QRadioButton* AllRecords;
    QRadioButton* FilterRecords;
    QRadioButton* CurrentRecord;
    QCheckBox* StartFromCurrent;
    QLineEdit* FirstEdit;
    QLineEdit* LastEdit;
    QLineEdit* OrgEdit;
    QLineEdit* CityEdit;
    QPushButton* PrintButton;
    QPushButton* PreviewButton;

  private:
    void fillList(uint32_t select = 0);
    uint32_t currentRecNo() const;
    void showDefinition();
    void showRecord();
    void moveRecord(int how);
    void ModifyButtonClick();
    void NewButtonClick();
    // Runs the designer over `def` and, on Save, stores its layout and the record
    // (appended for a new definition, recNo 0, else record `recNo`).
    void design(const Envelope::Definition& def, const QString& layoutFile, uint32_t recNo);
    void DeleteButtonClick();
    void CloneButtonClick();
    void runJob(bool preview);
    void loadPrinterChoice();
    void savePrinterChoice(const Envelope::Feed& feed);
    PrinterDevice& device() const;

    xbase::Table& envelopes_;
    xbase::Table& addresses_;
    AppHome home_;
    PrinterDevice* device_;
    int printerBefore_ = -1;
};
