#pragma once

#include <QDialog>
#include <QString>

#include "DialogServices.h"
#include "DuplicateCheck.h"
#include "JobProgress.h"

class EditableGridModel;
class QButtonGroup;
class QLabel;
class QPushButton;
class QRadioButton;
class QSpinBox;
class QVBoxLayout;
class QWidget;
class RecordGrid;
class ToolJobPanel;

namespace xbase {
class Table;
}

// "Check and Repair Duplicates": the user picks the kind of check and presses
// "&Perform Duplicate Check Now"; the scan (DuplicateCheck) runs in the window with
// Cancel, then the candidates are shown in an editable grid, in the temporary index's
// order, with "&Delete", "S&ave", "&Undo", "&Tag" and "Tag &All". The temporary index
// is closed and its file deleted when the window closes. "Ok" closes the window except
// while the scan runs.
//
// The window borrows the address table (the main window has set its query to "!ISDEL");
// while it is open only it changes the table.
class TDupCheck : public QDialog {
    Q_OBJECT

  public:
    TDupCheck(xbase::Table& table, QString indexPath, QString globalTagId, DialogServices services = {},
              QWidget* parent = nullptr);
    ~TDupCheck() override;

    bool scanning() const { return scanning_; }
    bool scanned() const { return scanned_; }
    const DuplicateCheck::Result& result() const { return result_; }
    RecordGrid* grid() const { return grid_; }

    QWidget* SetupPanel;
    QRadioButton* LastFirstRadio;
    QRadioButton* LastFirstInitialRadio;
    QRadioButton* StreetRadio;
    QLabel* StreetLengthLabel;
    QSpinBox* StreetLengthSpin;
    QPushButton* PerformButton;
    QLabel* FoundLabel;
    QWidget* GridPanel;
    QPushButton* DeleteButton;
    QPushButton* SaveButton;
    QPushButton* UndoButton;
    QPushButton* TagButton;
    QPushButton* TagAllButton;
    QPushButton* OkButton;
    QPushButton* CancelButton;
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
    void closeEvent(QCloseEvent* event) override;
    void reject() override;

  private:
    void scanEnded(JobResult result);
    void showResults();
    void removeIndex();

    xbase::Table& table_;
    QString indexPath_;
    QString globalTagId_;
    DialogServices services_;
    QVBoxLayout* body_ = nullptr;
    ToolJobPanel* panel_ = nullptr;
    EditableGridModel* model_ = nullptr;
    RecordGrid* grid_ = nullptr;
    QButtonGroup* kinds_;
    DuplicateCheck::Result result_;
    QString error_;
    bool scanning_ = false;
    bool scanned_ = false;
    bool closed_ = false;
};
