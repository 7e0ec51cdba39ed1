#pragma once

#include <QString>

#include "DialogServices.h"
#include "DuplicateCheck.h"
#include "JobWindow.h"

class EditableGridModel;
class QButtonGroup;
class QLabel;
class QPushButton;
class QRadioButton;
class QSpinBox;
class QWidget;
class RecordGrid;

namespace xbase {
class Table;
}

// "Check and Repair Duplicates": the user picks the kind of check and presses
// "&Perform Duplicate Check Now"; the scan (DuplicateCheck) runs as this window's job,
// with Cancel asking "Cancel operation?", then the candidates are shown in an editable
// grid, in the temporary index's order, with "&Delete", "S&ave", "&Undo", "&Tag" and
// "Tag &All". The status line tells "Found n possible duplicates". The temporary index
// is closed and its file deleted when the window closes. "Ok" closes the window except
// while the scan runs. One scan per window.
//
// The window borrows the address table (the main window has set its query to "!ISDEL");
// while it is open only it changes the table.
class TDupCheck : public JobWindow {
    Q_OBJECT

  public:
    TDupCheck(xbase::Table& table, QString indexPath, QString globalTagId, DialogServices services = {},
              QWidget* parent = nullptr);
    ~TDupCheck() override;

    bool scanning() const { return running(); }
    bool scanned() const { return finished(); }
    const DuplicateCheck::Result& result() const { return result_; }
    RecordGrid* grid() const { return grid_; }

    QWidget* SetupPanel;
    QRadioButton* LastFirstRadio;
    QRadioButton* LastFirstInitialRadio;
    QRadioButton* StreetRadio;
    QLabel* StreetLengthLabel;
    QSpinBox* StreetLengthSpin;
    QPushButton* PerformButton;
    QWidget* GridPanel;
    QPushButton* DeleteButton;
    QPushButton* SaveButton;
    QPushButton* UndoButton;
    QPushButton* TagButton;
    QPushButton* TagAllButton;
    QLabel* FoundLabel;  // the status line
    QPushButton* OkButton;
    QPushButton* HelpButton;

  public slots:
    void PerformButtonClick();
    void OkButtonClick();
    void DeleteButtonClick();
    void SaveButtonClick();
    void UndoButtonClick();
    void TagButtonClick();
    void TagAllButtonClick();
    void done(int result) override;

  protected:
    void jobEnded(JobResult result) override;

  private:
    void showResults();
    void removeIndex();

    xbase::Table& table_;
    QString indexPath_;
    QString globalTagId_;
    DialogServices services_;
    DuplicateCheck::Options options_;
    EditableGridModel* model_ = nullptr;
    RecordGrid* grid_ = nullptr;
    QButtonGroup* kinds_;
    DuplicateCheck::Result result_;
    QString error_;
    bool closed_ = false;
};
