#pragma once

#include <QString>

#include "DialogServices.h"
#include "JobWindow.h"
#include "SearchReplace.h"

class QCheckBox;
class QLineEdit;
class QListWidget;
class QPushButton;
class QRadioButton;
class QWidget;

namespace xbase {
class Table;
}

// "Search and Replace": the field, the test on its value, the action and the records;
// "Replace " asks the confirmation sentence and runs the replacement (SearchReplace)
// as this window's job, which cannot be stopped, then tells "Replaced n records" and
// "Replacement done" and closes. The find and replacement boxes take at most as many
// characters as the chosen field holds; choosing another field cuts their texts.
//
// The window borrows the address table; `filterExpression` is the user's filter
// (empty: none, and "Records matching current Filter" is disabled).
class TSearchAndReplace : public JobWindow {
    Q_OBJECT

  public:
    TSearchAndReplace(xbase::Table& table, QString filterExpression, DialogServices services = {},
                      QWidget* parent = nullptr);

    bool replacing() const { return running(); }
    const SearchReplace::Result& result() const { return result_; }
    SearchReplace::Options options() const;

    QWidget* OptionsPanel;
    QListWidget* FieldList;
    QRadioButton* EqualRadio;
    QRadioButton* ContainsRadio;
    QLineEdit* FindEdit;
    QCheckBox* CaseSensitiveBox;
    QRadioButton* WholeFieldRadio;
    QRadioButton* MatchingTextRadio;
    QLineEdit* ReplaceEdit;
    QRadioButton* AllRecordsRadio;
    QRadioButton* FilterRecordsRadio;
    QPushButton* ReplaceButton;
    QPushButton* HelpButton;

  public slots:
    void ReplaceButtonClick();

  protected:
    void jobEnded(JobResult result) override;
    void reject() override;
    void closeEvent(class QCloseEvent* event) override;

  private:
    void FieldListChange();

    xbase::Table& table_;
    QString filterExpression_;
    DialogServices services_;
    SearchReplace::Options chosen_;
    SearchReplace::Result result_;
    QString error_;
};
