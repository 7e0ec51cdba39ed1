#pragma once

#include <QDialog>
#include <QString>

#include "DeleteRecords.h"
#include "DialogServices.h"

class QPushButton;
class QRadioButton;
class QVBoxLayout;
class QWidget;
class ToolJobPanel;

namespace xbase {
class Table;
}

// "Delete Records": all records, those matching the user's filter, or those not
// matching it. "Delete Now" asks "Are you sure?" and deletes (DeleteRecords) in the
// window, which cannot be stopped, then tells "Deleted n records" and suggests
// rebuilding the indexes, and closes. Cancel closes the window before deleting.
//
// The window borrows the address table; `filterExpression` is the user's filter
// (empty: none, and only "Delete &All Records" can be chosen).
class TDeleteRecords : public QDialog {
    Q_OBJECT

  public:
    TDeleteRecords(xbase::Table& table, QString filterExpression, DialogServices services = {},
                   QWidget* parent = nullptr);

    bool deleting() const { return deleting_; }
    const DeleteRecords::Result& result() const { return result_; }
    DeleteRecords::Choice choice() const;

    QWidget* ChoicePanel;
    QRadioButton* AllRadio;
    QRadioButton* MatchingRadio;
    QRadioButton* NotMatchingRadio;
    QPushButton* DeleteNowButton;
    QPushButton* CancelButton;
    QPushButton* HelpButton;

  public slots:
    void DeleteNowButtonClick();
    void done(int result) override;

  protected:
    void closeEvent(class QCloseEvent* event) override;

  private:
    void deleted(JobResult result);

    xbase::Table& table_;
    QString filterExpression_;
    DialogServices services_;
    QVBoxLayout* body_ = nullptr;
    ToolJobPanel* panel_ = nullptr;
    DeleteRecords::Result result_;
    QString error_;
    bool deleting_ = false;
};
