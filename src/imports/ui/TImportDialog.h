#pragma once

#include <QString>
#include <functional>

#include "ImportRun.h"
#include "JobWindow.h"

class QCheckBox;
class QLabel;
class QPushButton;

namespace xbase {
class Table;
}

// What the three import windows share: a button that picks the file, its name (or
// "(none)"), "Match Fields" where the import has matching, "Import", and the job
// window's status line, gauge and "Cancel". Before the import Cancel closes the
// window; during it Cancel stops the import after the current record, without a
// question; while the indexes are rebuilt it is hidden. The import's messages are shown
// as soon as the records are in, before the rebuild; the window closes itself after
// the rebuild. Every button and caption has an Alt key of its own: "&Select ...",
// "... File &Name", "&Match Fields", "&Import", "&Cancel".
class TImportDialog : public JobWindow {
    Q_OBJECT

  public:
    QPushButton* SelectButton;
    QLabel* FileNameCaption;
    QLabel* FileNameLabel;
    QPushButton* MatchButton;
    QPushButton* ImportButton;

    // How the window asks for the file: by default a file dialog with the window's
    // filter; tests put their own answer in. Empty: no file chosen.
    std::function<QString()> fileChooser;
    // The settings file in which the matching windows keep their placement; empty:
    // not kept.
    QString settingsPath;

    const ImportReport& report() const { return report_; }

  protected:
    // `selectText` names the select button ("Select ASCII File"), `nameCaption` the file
    // name's caption ("ASCII File Name"), `filter` the file dialog's filter.
    TImportDialog(xbase::Table& table, const QString& selectText, const QString& nameCaption,
                  const QString& filter, QWidget* parent);

    // A file was chosen: read it for the import. False when it cannot be used (after
    // telling the user); the name is then cleared.
    virtual bool useFile(const QString& path) = 0;
    // "Match Fields".
    virtual void matchFields() {}
    // Whether "Import" may be pressed.
    virtual bool canImport() const = 0;
    // The import itself, with the window's hooks.
    virtual ImportReport runImport(JobProgress& progress, const ImportHooks& hooks) = 0;

    // Enables Match and Import by the state of the choices.
    void updateButtons();
    // The widgets hidden while the import runs (the select, match and import buttons
    // are among them already).
    void addChoice(QWidget* widget);
    void jobEnded(JobResult result) override;

    xbase::Table& table_;
    QString path_;  // the chosen file; empty when none

  private slots:
    void SelectButtonClick();
    void MatchButtonClick();
    void ImportButtonClick();

  private:
    QList<QWidget*> choices_;
    ImportReport report_;
};
