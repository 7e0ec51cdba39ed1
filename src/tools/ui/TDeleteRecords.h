#pragma once

#include <QString>

#include "DeleteRecords.h"
#include "DialogServices.h"
#include "JobWindow.h"

class QPushButton;
class QRadioButton;
class QWidget;

namespace xbase {
class Table;
}

// "Delete Records": all records, those matching the user's filter, or those not
// matching it. "Delete Now" asks "Are you sure?" and deletes (DeleteRecords) as this
// window's job, which cannot be stopped, then tells "Deleted n records" and suggests
// rebuilding the indexes, and closes. Cancel closes the window before deleting.
//
// The window borrows the address table; `filterExpression` is the user's filter
// (empty: none, and only "Delete &All Records" can be chosen).
class TDeleteRecords : public JobWindow {
    Q_OBJECT

  public:
    TDeleteRecords(xbase::Table& table, QString filterExpression, DialogServices services = {},
                   QWidget* parent = nullptr);

    bool deleting() const { return running(); }
    const DeleteRecords::Result& result() const { return result_; }
    DeleteRecords::Choice choice() const;

    QWidget* ChoicePanel;
    QRadioButton* AllRadio;
    QRadioButton* MatchingRadio;
    QRadioButton* NotMatchingRadio;
    QPushButton* DeleteNowButton;
    QPushButton* HelpButton;

  public slots:
    void DeleteNowButtonClick();

  protected:
    void jobEnded(JobResult result) override;
    void reject() override;
    void closeEvent(class QCloseEvent* event) override;

  private:
    xbase::Table& table_;
    QString filterExpression_;
    DialogServices services_;
    DeleteRecords::Choice chosen_ = DeleteRecords::Choice::All;
    DeleteRecords::Result result_;
    QString error_;
};
