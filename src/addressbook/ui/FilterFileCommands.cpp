#include "FilterFileCommands.h"

#include <QFileDialog>
#include <QFileInfo>

#include "FilterFile.h"
#include "WindowMessages.h"

namespace {

// Linux file names keep their letter case, and .FLT files come from systems that
// ignore it: the dialogs list both spellings.
QString saveDialog(QWidget* parent, const QString& startFolder) {
    QFileDialog dialog(parent, QStringLiteral("Save Filter"), startFolder,
                       QStringLiteral("Filter files (*.FLT *.flt)"));
    dialog.setAcceptMode(QFileDialog::AcceptSave);
    dialog.setDefaultSuffix(QStringLiteral("FLT"));
    // The overwrite question is the program's own.
    dialog.setOption(QFileDialog::DontConfirmOverwrite);
    return dialog.exec() == QDialog::Accepted && !dialog.selectedFiles().isEmpty()
               ? dialog.selectedFiles().first()
               : QString();
}

QString openDialog(QWidget* parent, const QString& startFolder) {
    QFileDialog dialog(parent, QStringLiteral("Restore Filter"), startFolder,
                       QStringLiteral("Filter Files (*.flt *.FLT)"));
    dialog.setAcceptMode(QFileDialog::AcceptOpen);
    dialog.setFileMode(QFileDialog::ExistingFile);
    return dialog.exec() == QDialog::Accepted && !dialog.selectedFiles().isEmpty()
               ? dialog.selectedFiles().first()
               : QString();
}

}  // namespace

FilterFileCommands::FilterFileCommands(const AppHome& home, DialogServices services)
    : chooseSaveFile(saveDialog),
      chooseOpenFile(openDialog),
      services_(std::move(services)),
      folder_(home.root()) {}

bool FilterFileCommands::SaveFilter(const FilterCriteria& criteria, QWidget* parent) {
    const QString chosen = chooseSaveFile(parent, folder_);
    if (chosen.isEmpty()) return false;
    folder_ = QFileInfo(chosen).absolutePath();
    QString path;
    QString message;
    if (!FilterFile::SaveName(chosen, &path, &message)) {
        WindowMessages().inform(message);
        return false;
    }
    if (QFileInfo::exists(path) &&
        !WindowMessages().ask(FilterFile::OverwriteQuestion(path), FilterFile::kOverwriteCaption,
                              Messages::Preset::No)) {
        return false;
    }
    if (!FilterFile::SaveFilterTo(path, criteria, &message)) {
        WindowMessages().inform(message);
        return false;
    }
    return true;
}

bool FilterFileCommands::RestoreFilter(FilterCriteria* criteria, QWidget* parent) {
    const QString chosen = chooseOpenFile(parent, folder_);
    if (chosen.isEmpty()) return false;
    folder_ = QFileInfo(chosen).absolutePath();
    QString message;
    if (!FilterFile::CheckRestoreName(chosen, &message) ||
        !FilterFile::RestoreFilterFrom(chosen, criteria, &message)) {
        WindowMessages().inform(message);
        return false;
    }
    return true;
}
