#pragma once

#include <QDialog>
#include <QList>

#include "CaseConversion.h"
#include "DialogServices.h"

class QCheckBox;
class QPushButton;
class QRadioButton;
class QVBoxLayout;
class QWidget;
class ToolJobPanel;

namespace xbase {
class Table;
}

// "Convert Case": the fields to convert (all ticked at first; "All" sets every box to
// its own state), the rule and the records; "Convert" asks for confirmation and runs
// the conversion (CaseConversion) in the window, with Cancel asking "Cancel case
// conversion?", then closes. Before converting, Cancel closes the window.
//
// The window borrows the address table, whose query is the one in force (the user's
// filter and the not-deleted condition); `filterSet` tells whether the user has a
// filter, without which "All Records Matching Filter" is disabled.
class TConvertToUpper : public QDialog {
    Q_OBJECT

  public:
    TConvertToUpper(xbase::Table& table, bool filterSet, DialogServices services = {},
                    QWidget* parent = nullptr);

    bool converting() const { return converting_; }
    const CaseConversion::Result& result() const { return result_; }
    JobResult jobResult() const { return jobResult_; }
    // The choices as they stand.
    CaseConversion::Options options() const;

    QWidget* OptionsPanel;
    QList<QCheckBox*> FieldBoxes;  // in CaseConversion::fields() order
    QCheckBox* AllBox;
    QRadioButton* UppercaseRadio;
    QRadioButton* LowercaseRadio;
    QRadioButton* ProperRadio;
    QRadioButton* CurrentRecordRadio;
    QRadioButton* AllRecordsRadio;
    QRadioButton* FilterRecordsRadio;
    QPushButton* ConvertButton;
    QPushButton* CancelButton;
    QPushButton* HelpButton;

  public slots:
    void ConvertButtonClick();
    void done(int result) override;

  protected:
    void closeEvent(class QCloseEvent* event) override;

  private:
    void converted(JobResult result);

    xbase::Table& table_;
    DialogServices services_;
    QVBoxLayout* body_ = nullptr;
    ToolJobPanel* panel_ = nullptr;
    CaseConversion::Result result_;
    JobResult jobResult_ = JobResult::Cancelled;
    QString error_;
    bool converting_ = false;
};
