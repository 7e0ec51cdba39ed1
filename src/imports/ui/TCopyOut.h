#pragma once

#include <QString>
#include <functional>

#include "CopyOut.h"
#include "JobWindow.h"

class QGroupBox;
class QPushButton;
class QRadioButton;

namespace xbase {
class Table;
}

// "Copy Records Out": writes the records of the open address file, in its current
// order and selection, to a new file. The user picks the kind ("Copy to a &DBF file",
// the default, "Copy to an &ASCII file (comma delimited)", "Copy to a &CSV file for
// spreadsheets (UTF-8)" or "Copy to a &vCard file for address books") and presses "Save As"; once a name passes the checks of
// CopyOut::CheckTarget (an existing file after "Warning!": "... already exists. Do
// you want to overwrite it?", No preset) the copy starts at once, showing "Copying to "
// + the file name and the gauge; Cancel then asks "Cancel copy?" (No preset). The
// window closes when the copy ends; a failed copy is reported first.
class TCopyOut : public JobWindow {
    Q_OBJECT

  public:
    // `table` is the main window's open address file at `addressPath`; the save
    // dialog starts in `startFolder` the first time.
    TCopyOut(xbase::Table& table, const QString& addressPath, const QString& startFolder,
             QWidget* parent = nullptr);

    QGroupBox* KindBox;
    QRadioButton* DbfRadio;
    QRadioButton* TextRadio;
    QRadioButton* CsvRadio;
    QRadioButton* VCardRadio;
    QPushButton* SaveAsButton;

    // How the window asks for the file name, given the kind's filter, default
    // extension and the start name; tests put their own answer in. Empty: cancelled.
    std::function<QString(const QString& filter, const QString& extension, const QString& start)> fileChooser;

    CopyOut::Kind kind() const;
    // The file chosen; empty until a name passes the checks, and again after the kind
    // changes.
    const QString& chosenPath() const { return path_; }
    uint32_t copied() const { return copied_; }

  private slots:
    void SaveAsButtonClick();

  protected:
    void jobEnded(JobResult result) override;

  private:
    xbase::Table& table_;
    QString addressPath_;
    QString path_;
    QString error_;
    uint32_t copied_ = 0;
};
