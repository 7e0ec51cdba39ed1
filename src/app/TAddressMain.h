#pragma once

#include <QHash>
#include <QMainWindow>
#include <QString>
#include <functional>
#include <memory>
#include <optional>

#include "AppHome.h"
#include "DialogServices.h"
#include "Filter.h"
#include "FilterFileCommands.h"
#include "Preferences.h"
#include "RecordEditing.h"
#include "RecordEditor.h"
#include "Settings.h"
#include "SystemTables.h"

class QAction;
class QLabel;
class QMenu;
class QPushButton;
class QStackedWidget;
class RecordView;

namespace xbase {
class Table;
}

// The main window. It owns the open address file for the whole run and shows one
// record of it at a time; every other window opens over it.
//
// State other windows rely on: CurrentFileName (empty when the last open failed),
// CurrentOrderName (the tag of the sort order), FilterState (the filter's criteria and
// its expression, FilterState.expression; empty: no filter), GlobalTagId (records
// whose TAG equals it are tagged), and DataEventTracking (while off, record changes do
// not refresh the buttons; bulk tools switch it off).
class TAddressMain : public QMainWindow {
    Q_OBJECT

  public:
    explicit TAddressMain(const AppHome& home, QWidget* parent = nullptr);
    ~TAddressMain() override;

    // The first activation: placement, caption, preferences, the first file (the newest
    // MRU entry, else DATA/add0001.DBF, created when missing), the printer check and
    // the Getting Started screen. Shows the window. Later calls do nothing.
    void FormActivate();
    // A second start of the program asked for this window.
    void bringToFront();

    // Shared state.
    QString CurrentFileName;
    QString CurrentOrderName;
    Filter::State FilterState;
    // The text of the last memo search.
    QString MemoSearchText;
    QString GlobalTagId;
    bool DataEventTracking = true;

    xbase::Table* table() const { return table_.get(); }
    RecordEditor& editor() { return editor_; }
    const Preferences& preferences() const { return prefs_; }
    const AppHome& home() const { return home_; }
    Settings& settings() { return settings_; }
    RecordView* recordView() const { return view_; }
    // A menu item or toolbar action by its object name ("mnuOpen", "tbLabels", ...).
    QAction* action(const QString& name) const { return actions_.value(name); }
    QMenu* menu(const QString& name) const { return menus_.value(name); }

    // Opening and checking files.
    bool OpenQYZDBF(const QString& path);
    bool CheckValidIndex();
    QString GetDatabasePath() const;

    // Refreshing.
    void SetButtons();
    void UpdateFilterStatus();
    // Makes the table's query from FilterState (shows the message of a filter it had to
    // drop); the number of matching records, 0 without a filter.
    int ApplyFilter();
    void SetCurrentOrder(const QString& tag);
    void SetOrderTo(const QString& name);
    void SetExtraFields(bool on) { extraFields_ = on; }
    bool extraFields() const { return extraFields_; }
    void LoadPreferences();
    // Shows the current record (or the record being edited).
    void RefreshRecord();

    // Record commands.
    void AddRecord();
    void EditRecord();
    bool SaveRecord();
    void CancelRecord();
    void DeleteRecord();
    void CloneRecord();
    void ToggleTag();
    void ClearTags();
    void CopyToClipboard();
    void SelectDate();
    void EditPreferences();
    void Navigate(RecordEditing::Move move);

    // File commands. OpenFile checks the extension, opens and refreshes; the Open menu
    // asks for the file first (through fileChooser, which tests replace).
    void OpenFile(const QString& path);
    void NewDatabase();
    void RebuildIndexes();
    // When a command found the open file's index damaged while reading it (and it was
    // sound when the file opened): the rebuild question of the open, with its answers.
    // SetButtons() arranges it once the command is over.
    void OfferIndexRebuild();
    void RebuildSystemIndexes();
    void ShowGettingStarted();
    std::function<QString(const QString& startFolder)> fileChooser;

    // Search, browse and the filter commands.
    void SearchRecords();
    void SearchMemo();
    void FindNext();
    void BrowseRecords();
    void SetFilter();
    void ClearFilter();
    void SaveFilter();
    void RestoreFilter();
    void TagAllFilterMatches();
    void CountZipCodes();
    void PrintLetters();
    void PrintLabels();
    void PrintEnvelopes();
    void PrintReports();
    void PrintCurrentRecord();
    // Opens a print screen over the system table `kind`: the printer checks first.
    void runPrintScreen(SystemTables::Kind kind, const std::function<void(xbase::Table&)>& screen);

    // The maintenance tools of the Utilities menu, and the dialer of the address page
    // (which = 1 or 2: PHONE or PHONE2 of the current record).
    void CheckStateAndZip();
    void CheckDuplicates();
    void ConvertCase();
    void DeleteManyRecords();
    void SearchAndReplace();
    void DialPhone(int which);
    // The device the dialer opens instead of the chosen port's own (tests point it at
    // a pseudo-terminal); empty: the port's.
    QString dialerDevice;
    // The imports and Copy Records Out (TAddressMainImports.cpp).
    void ImportAscii();
    void ImportDbf();
    void ImportVCard();
    void ImportOlder(int version);
    void CopyRecordsOut();
    // The memo search's input box, which tests replace: given the last text, the text to
    // search for, or nothing when the user cancelled.
    std::function<std::optional<QString>(const QString& lastText)> memoSearchPrompt;
    // The .FLT file dialogs of Save and Restore Filter.
    FilterFileCommands& filterFiles() { return filterFiles_; }
    // The message boxes, beep and help as the address book's windows get them.
    DialogServices dialogServices() const;
    bool findNextOffered() const { return memoSearchOffered_; }

  protected:
    bool eventFilter(QObject* watched, QEvent* event) override;
    void closeEvent(QCloseEvent* event) override;
    void resizeEvent(QResizeEvent* event) override;

  private:
    // Building the frame (TAddressMainMenus.cpp).
    void buildMenus();
    void buildToolBar();
    QWidget* buildButtonRow();
    void buildStatusBar();
    QAction* addAction(QMenu* menu, const QString& name, const QString& caption, const QKeySequence& key,
                       const std::function<void()>& handler);
    void connectRecordView();
    void rebuildMruMenu(const QStringList& entries);
    void openMruEntry(const QString& path);

    // The ASCII (dbf false) or DBF import on an exclusive table of its own.
    enum class ImportKind { Ascii, Dbf, VCard };
    void importOnOwnTable(ImportKind kind);
    void OnOpenQYZFile();
    void closeTable();
    void freeze(bool on);
    void runMemoSearch(bool fromFirst);
    // After a tool that changed records: the filter again, the first record, the order.
    void afterRecordsChanged();
    // The keys the window handles before its controls; true when `key` is one of them.
    bool windowKey(class QKeyEvent* key, bool perform);
    bool actionEnabled(const QAction* action) const;
    void restorePlacement();
    void savePlacement();

    AppHome home_;
    Settings settings_;
    Preferences prefs_;
    std::unique_ptr<xbase::Table> table_;
    RecordEditor editor_;
    bool firstActivation_ = true;
    bool extraFields_ = false;
    bool memoSearchOffered_ = false;
    bool indexValid_ = false;
    bool rebuildOfferPending_ = false;
    uint32_t memoReported_ = 0;  // the record whose unreadable memo was last reported
    FilterFileCommands filterFiles_;

    RecordView* view_ = nullptr;
    QStackedWidget* clientStack_ = nullptr;
    QLabel* noFileLabel_ = nullptr;
    QLabel* sortPanel_ = nullptr;
    QLabel* filterPanel_ = nullptr;
    QMenu* mruSeparatorMenu_ = nullptr;
    QAction* mruSeparator_ = nullptr;
    QList<QAction*> mruActions_;
    QList<QAction*> sortActions_;  // in Sort menu order
    QHash<QString, QAction*> actions_;
    QHash<QString, QMenu*> menus_;
    QHash<QString, QPushButton*> buttons_;
};
