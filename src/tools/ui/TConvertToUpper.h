#pragma once

#include <QList>

#include "CaseConversion.h"
#include "DialogServices.h"
#include "JobWindow.h"

class QCheckBox;
class QPushButton;
class QRadioButton;
class QWidget;

namespace xbase {
class Table;
}

// "Convert Case": the fields to convert (all ticked at first; "All" sets every box to
// its own state), the rule and the records; "Convert" asks for confirmation and runs
// the conversion (CaseConversion) as this window's job, with Cancel asking "Cancel
// case conversion?" (the gauge shows for all records), then closes. Before
// converting, Cancel closes the window.
//
// The window borrows the address table, whose query is the one in force (the user's
// filter and the not-deleted condition); `filterSet` tells whether the user has a
// filter, without which "All Records Matching Filter" is disabled.
class TConvertToUpper : public JobWindow {
    Q_OBJECT

  public:
    TConvertToUpper(xbase::Table& table, bool filterSet, DialogServices services = {},
                    QWidget* parent = nullptr);

    bool converting() const { return running(); }
    const CaseConversion::Result& result() const { return result_; }
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
    QPushButton* HelpButton;

  public slots:
    void ConvertButtonClick();

  protected:
    void jobEnded(JobResult result) override;

  private:
    xbase::Table& table_;
    DialogServices services_;
    CaseConversion::Options chosen_;
    CaseConversion::Result result_;
    QString error_;
};
