#pragma once

#include <QString>
#include <memory>

#include "AppHome.h"
#include "DialogServices.h"
#include "JobWindow.h"
#include "StateZipCheck.h"

class EditableGridModel;
class QCheckBox;
class QLabel;
class QPushButton;
class QWidget;
class RecordGrid;

namespace xbase {
class Table;
}

// "Check State and Zip  Codes": "Perform Check Now" runs the check (StateZipCheck)
// against the state table CSZ.DBF as this window's job, with Cancel asking "Cancel
// operation?" and the status line telling what it found, then shows the questionable records in an editable
// grid in name order, with "&Edit", "&Save", "&Cancel", "&Tag" and "Tag &All". "Edit State/Province File"
// shows the state table itself in an editable grid ("Add", "Delete", "Save", "Undo")
// in place of the other panel, and becomes "Stop Editing", which closes the state
// table and brings back the panel shown before. The temporary index is closed and its
// file deleted when the window closes. "Close" closes it except while the check runs.
//
// The window borrows the address table (the main window has set its query to "!ISDEL");
// while it is open only it changes the table.
class TStateZipCheck : public JobWindow {
    Q_OBJECT

  public:
    TStateZipCheck(xbase::Table& table, const AppHome& home, QString globalTagId,
                   DialogServices services = {}, QWidget* parent = nullptr);
    ~TStateZipCheck() override;

    bool checking() const { return running(); }
    bool checked() const { return finished(); }
    const StateZipCheck::Result& result() const { return result_; }
    RecordGrid* resultGrid() const { return resultGrid_; }
    RecordGrid* stateGrid() const { return stateGrid_; }
    xbase::Table* stateTable() const { return csz_.get(); }

    // Setup panel.
    QWidget* SetupPanel;
    QCheckBox* BlanksBox;
    QPushButton* PerformButton;
    // Result panel.
    QWidget* ResultPanel;
    QLabel* FoundLabel;  // the status line
    QPushButton* EditButton;
    QPushButton* SaveButton;
    QPushButton* UndoButton;  // "&Cancel": drops the edit
    QPushButton* TagButton;
    QPushButton* TagAllButton;
    // State table panel.
    QWidget* StatePanel;
    QPushButton* AddStateButton;
    QPushButton* DeleteStateButton;
    QPushButton* SaveStateButton;
    QPushButton* UndoStateButton;
    // Bottom row.
    QPushButton* EditStatesButton;
    QPushButton* CloseButton;
    QPushButton* HelpButton;

  public slots:
    void PerformButtonClick();
    void EditStatesButtonClick();
    void EditButtonClick();
    void SaveButtonClick();
    void UndoButtonClick();
    void TagButtonClick();
    void TagAllButtonClick();
    void AddStateButtonClick();
    void DeleteStateButtonClick();
    void done(int result) override;

  protected:
    void jobEnded(JobResult result) override;

  private:
    void openStates();
    void closeStates();
    void removeIndex();

    xbase::Table& table_;
    AppHome home_;
    QString globalTagId_;
    DialogServices services_;
    QString indexPath_;
    StateZipCheck::Options options_;
    std::unique_ptr<xbase::Table> csz_;
    std::unique_ptr<StateZipCheck::StateTable> states_;
    EditableGridModel* resultModel_ = nullptr;
    RecordGrid* resultGrid_ = nullptr;
    EditableGridModel* stateModel_ = nullptr;
    RecordGrid* stateGrid_ = nullptr;
    QWidget* shownBefore_ = nullptr;  // the panel the state table replaced
    StateZipCheck::Result result_;
    QString error_;
    bool closed_ = false;
};
