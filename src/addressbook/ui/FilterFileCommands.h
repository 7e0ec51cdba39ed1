#pragma once

#include <QString>
#include <functional>

#include "AppHome.h"
#include "DialogServices.h"
#include "FilterCriteria.h"

class QWidget;

// Save Filter and Restore Filter: the file dialogs, the checks of the chosen name and
// their messages around FilterFile's reading and writing. The main window keeps one of
// these; it remembers the folder last used, which is the application home at first.
class FilterFileCommands {
  public:
    FilterFileCommands(const AppHome& home, DialogServices services);

    // Asks for a .FLT file to save `criteria` in and writes it. A name without any
    // extension gets ".FLT"; another extension is refused with "Must have a .FLT
    // extension"; an existing file is overwritten only after the "Warning!" question
    // (No the default). True when the file was written.
    bool SaveFilter(const FilterCriteria& criteria, QWidget* parent = nullptr);

    // Asks for an existing .FLT file and reads it into `*criteria` (unchanged unless it
    // was read). A name without the .FLT extension is refused with "Must be a Filter
    // (.FLT) file". True when the criteria were read: the main window then applies them
    // (ApplyFilter, SetButtons).
    bool RestoreFilter(FilterCriteria* criteria, QWidget* parent = nullptr);

    // The file dialogs, which tests replace: given the folder to start in, the chosen
    // path, or an empty text when the user cancelled.
    std::function<QString(QWidget* parent, const QString& startFolder)> chooseSaveFile;
    std::function<QString(QWidget* parent, const QString& startFolder)> chooseOpenFile;

    const QString& folder() const { return folder_; }

  private:
    DialogServices services_;
    QString folder_;
};
