#pragma once

#include <QDialog>
#include <QString>

#include "DialogServices.h"
#include "SearchReplace.h"

class QCheckBox;
class QLineEdit;
class QListWidget;
class QPushButton;
class QRadioButton;
class QVBoxLayout;
class QWidget;
class ToolJobPanel;

namespace xbase {
class Table;
}

// "Search and Replace": the field, the test on its value, the action and the records;
// "Replace " asks the confirmation sentence and runs the replacement (SearchReplace)
// in the window, which cannot be stopped, then tells "Replaced n records" and
// "Replacement done" and closes. The find and replacement boxes take at most as many
// characters as the chosen field holds; choosing another field cuts their texts.
//
// The window borrows the address table; `filterExpression` is the user's filter
// (empty: none, and "Records matching current Filter" is disabled).
class TSearchAndReplace : public QDialog {
    Q_OBJECT

  public:
    TSearchAndReplace(xbase::Table& table, QString filterExpression, DialogServices services = {},
                      QWidget* parent = nullptr);

    bool replacing() const { return replacing_; }
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
    QPushButton* CancelButton;
    QPushButton* HelpButton;

  public slots:
    void ReplaceButtonClick();
    void done(int result) override;

  protected:
    void closeEvent(class QCloseEvent* event) override;

  private:
    void FieldListChange();
    void replaced(JobResult result);

    xbase::Table& table_;
    QString filterExpression_;
    DialogServices services_;
    QVBoxLayout* body_ = nullptr;
    ToolJobPanel* panel_ = nullptr;
    SearchReplace::Result result_;
    QString error_;
    bool replacing_ = false;
};
