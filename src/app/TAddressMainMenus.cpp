// The frame of the main window: menus, toolbar, the button row and the status line.

#include <QAction>
#include <QApplication>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QMenu>
#include <QMenuBar>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QStatusBar>
#include <QStyle>
#include <QToolBar>
#include <QToolButton>
#include <QWhatsThis>

#include "HelpSystem.h"
#include "Icons.h"
#include "RecordView.h"
#include "SortOrders.h"
#include "TAboutBox.h"
#include "TAddressMain.h"
#include "WindowMessages.h"

namespace {

enum class EditCommand { Undo, Cut, Copy, Paste };

// Sends an editing command to the focused edit control.
void toFocusedEdit(EditCommand command) {
    QWidget* w = QApplication::focusWidget();
    if (auto* e = qobject_cast<QLineEdit*>(w)) {
        switch (command) {
            case EditCommand::Undo:
                e->undo();
                break;
            case EditCommand::Cut:
                e->cut();
                break;
            case EditCommand::Copy:
                e->copy();
                break;
            case EditCommand::Paste:
                e->paste();
                break;
        }
    } else if (auto* p = qobject_cast<QPlainTextEdit*>(w)) {
        switch (command) {
            case EditCommand::Undo:
                p->undo();
                break;
            case EditCommand::Cut:
                p->cut();
                break;
            case EditCommand::Copy:
                p->copy();
                break;
            case EditCommand::Paste:
                p->paste();
                break;
        }
    }
}

}  // namespace

QAction* TAddressMain::addAction(QMenu* menu, const QString& name, const QString& caption,
                                 const QKeySequence& key, const std::function<void()>& handler) {
    auto* a = new QAction(caption, this);
    a->setObjectName(name);
    if (!key.isEmpty()) a->setShortcut(key);
    // The window handles these keys itself, before its controls (windowKey).
    a->setShortcutContext(Qt::WidgetShortcut);
    if (handler) connect(a, &QAction::triggered, this, handler);
    if (menu) menu->addAction(a);
    actions_.insert(name, a);
    return a;
}

void TAddressMain::buildMenus() {
    QMenuBar* bar = menuBar();

    QMenu* file = bar->addMenu("&File");
    file->setObjectName("menuFile");
    menus_.insert("menuFile", file);
    addAction(file, "mnuNew", "&New Address Database", {}, [this] { NewDatabase(); });
    addAction(file, "mnuOpen", "&Open Address DataBase", {}, [this] {
        const QString path = fileChooser(home_.dataDir() + "/");
        if (!path.isEmpty()) OpenFile(path);
        SetButtons();
    });
    file->addSeparator();
    addAction(file, "mnuBrowse", "&Browse", QKeySequence("Ctrl+B"), [this] { BrowseRecords(); });
    addAction(file, "mnuSearch", "&Search", QKeySequence("Ctrl+S"), [this] { SearchRecords(); });
    file->addSeparator();
    QMenu* import = file->addMenu("&Import");
    import->setObjectName("menuImport");
    menus_.insert("menuImport", import);
    addAction(import, "mnuImportDBF", "Import from &DBF File", {}, [this] { ImportDbf(); });
    addAction(import, "mnuImportASCII", "Import from &ASCII File", {}, [this] { ImportAscii(); });
    addAction(import, "mnuImportVCard", "Import from &vCard File", {}, [this] { ImportVCard(); });
    addAction(import, "mnuImportOld1", "Import from Quillory 1.x DBF", {}, [this] { ImportOlder(1); });
    addAction(import, "mnuImportOld2", "Import from Quillory 2.x DBF", {}, [this] { ImportOlder(2); });
    addAction(file, "mnuExport", "&Export ", {}, [this] { CopyRecordsOut(); });
    file->addSeparator();
    addAction(file, "mnuSetFilter", "Set &Filter", QKeySequence("Ctrl+F"), [this] { SetFilter(); });
    addAction(file, "mnuClearFilter", "&Clear Filter", {}, [this] { ClearFilter(); });
    addAction(file, "mnuSaveFilter", "&Save Filter", {}, [this] { SaveFilter(); });
    addAction(file, "mnuRestoreFilter", "&Restore Filter", {}, [this] { RestoreFilter(); });
    file->addSeparator();
    addAction(file, "mnuClearTags", "Clear &Tags", {}, [this] { ClearTags(); });
    addAction(file, "mnuTagAll", "&Tag All Filter Matches", {}, [this] { TagAllFilterMatches(); });
    file->addSeparator();
    addAction(file, "mnuReindex", "&Rebuild Indexes for this file", {}, [this] { RebuildIndexes(); });
    addAction(file, "mnuSysReindex", "Rebuild S&ystem File indexes", {}, [this] { RebuildSystemIndexes(); });
    addAction(file, "mnuPreferences", "Pre&ferences", {}, [this] { EditPreferences(); });
    file->addSeparator();
    addAction(file, "mnuExit", "E&xit ", {}, [this] { close(); });
    // The most recently used files follow this separator.
    mruSeparator_ = file->addSeparator();
    mruSeparatorMenu_ = file;

    // The Edit menu is never shown: its keys act on the focused edit.
    auto* edit = new QMenu("Ed&it", this);
    edit->setObjectName("menuEdit");
    menus_.insert("menuEdit", edit);
    auto editAction = [this, edit](const QString& name, const QString& caption, QKeySequence::StandardKey key,
                                   EditCommand command) {
        QAction* a = addAction(edit, name, caption, QKeySequence(key), [command] { toFocusedEdit(command); });
        a->setShortcutContext(Qt::WindowShortcut);
        QMainWindow::addAction(a);
    };
    editAction("mnuUndo", "&Undo typing", QKeySequence::Undo, EditCommand::Undo);
    editAction("mnuCut", "Cu&t", QKeySequence::Cut, EditCommand::Cut);
    editAction("mnuCopy", "&Copy", QKeySequence::Copy, EditCommand::Copy);
    editAction("mnuPaste", "&Paste", QKeySequence::Paste, EditCommand::Paste);

    using RecordEditing::Move;
    QMenu* record = bar->addMenu("&Record");
    record->setObjectName("menuRecord");
    menus_.insert("menuRecord", record);
    addAction(record, "mnuFirst", "&First", QKeySequence("Ctrl+Up"), [this] { Navigate(Move::First); });
    addAction(record, "mnuPrevious", "&Previous", QKeySequence("Ctrl+Left"),
              [this] { Navigate(Move::Prior); });
    addAction(record, "mnuNext", "&Next", QKeySequence("Ctrl+Right"), [this] { Navigate(Move::Next); });
    addAction(record, "mnuLast", "&Last", QKeySequence("Ctrl+Down"), [this] { Navigate(Move::Last); });
    record->addSeparator();
    addAction(record, "mnuAdd", "&Add", {}, [this] { AddRecord(); });
    addAction(record, "mnuEdit", "&Edit", {}, [this] { EditRecord(); });
    addAction(record, "mnuDelete", "&Delete", {}, [this] { DeleteRecord(); });
    record->addSeparator();
    addAction(record, "mnuCopyToClipboard", "Copy To &Clipboard", {}, [this] { CopyToClipboard(); });
    addAction(record, "mnuClone", "Create a Duplicate &Record (Clone)", {}, [this] { CloneRecord(); });

    QMenu* sort = bar->addMenu("&Sort");
    sort->setObjectName("menuSort");
    menus_.insert("menuSort", sort);
    for (const SortOrders::SortOrder& order : SortOrders::orders()) {
        const QString name = SortOrders::name(order);
        QAction* a = addAction(sort, QString("mnuSort") + order.tag, order.caption, {}, [this, name] {
            SetOrderTo(name);
            (void)table_->goTop();
            RefreshRecord();
            SetButtons();
        });
        a->setCheckable(true);
        sortActions_.append(a);
    }
    sortActions_.value(0)->setChecked(true);

    QMenu* utilities = bar->addMenu("&Utilities");
    utilities->setObjectName("menuUtilities");
    menus_.insert("menuUtilities", utilities);
    addAction(utilities, "mnuCountZip", "Count &Zip Codes", {}, [this] { CountZipCodes(); });
    utilities->addSeparator();
    addAction(utilities, "mnuCheckStateZip", "Check && Repair &State and Zip Codes", {},
              [this] { CheckStateAndZip(); });
    addAction(utilities, "mnuCheckDuplicates", "Check && Repair &Duplicates", {}, [this] { CheckDuplicates(); });
    utilities->addSeparator();
    addAction(utilities, "mnuConvertCase", "Con&vert Case", {}, [this] { ConvertCase(); });
    addAction(utilities, "mnuDeleteRecords", "Delete &Records", {}, [this] { DeleteManyRecords(); });
    utilities->addSeparator();
    addAction(utilities, "mnuSearchReplace", "&Search && Replace Field Values", {}, [this] { SearchAndReplace(); });

    QMenu* print = bar->addMenu("&Print");
    print->setObjectName("menuPrint");
    menus_.insert("menuPrint", print);
    addAction(print, "mnuPrintLabels", "Print &Labels", QKeySequence("Ctrl+L"), [this] { PrintLabels(); });
    addAction(print, "mnuPrintLetters", "Print Le&tters", QKeySequence("Ctrl+T"), [this] { PrintLetters(); });
    addAction(print, "mnuPrintEnvelopes", "Print &Envelopes", QKeySequence("Ctrl+E"), [this] { PrintEnvelopes(); });
    addAction(print, "mnuPrintReports", "Print &Reports", QKeySequence("Ctrl+R"), [this] { PrintReports(); });
    addAction(print, "mnuPrintCurrent", "Print C&urrent Record", QKeySequence("Ctrl+P"), [this] { PrintCurrentRecord(); });

    QMenu* help = bar->addMenu("&Help");
    help->setObjectName("menuHelp");
    menus_.insert("menuHelp", help);
    addAction(help, "mnuContents", "&Contents", {}, [this] { HelpSystem::showPage("index.html", this); });
    addAction(help, "mnuGettingStarted", "&Getting Started", {}, [this] { ShowGettingStarted(); });
    help->addSeparator();
    addAction(help, "mnuAbout", "&About...", {}, [this] {
        TAboutBox about(this);
        about.exec();
    });
    addAction(help, "mnuSearchHelp", "Search for Help On", {}, [this] { HelpSystem::showSearch(this); });
    addAction(help, "mnuHowToUseHelp", "How to Use Help", {},
              [this] { HelpSystem::showPage("using-help.html", this); });
}

void TAddressMain::buildToolBar() {
    QToolBar* bar = addToolBar("Tools");
    bar->setObjectName("ToolBar");
    bar->setMovable(false);
    bar->setFloatable(false);
    bar->setToolButtonStyle(Qt::ToolButtonTextBesideIcon);
    bar->setIconSize(QSize(20, 20));
    struct Tool {
        const char* name;
        const char* caption;
        const char* hint;
        Icons::Icon icon;
        const char* linked;  // the menu item doing the same
    };
    const Tool tools[] = {
        {"tbLabels", "Labels", "Click here or press CTRL+L to print/design labels",
         Icons::Icon::Labels, "mnuPrintLabels"},
        {"tbLetters", "Letters", "Click here or press CTRL+T to print/design letters", Icons::Icon::Letters,
         "mnuPrintLetters"},
        {"tbEnvelopes", "Envelopes", "Click here or press CTRL+E to print/design envelopes",
         Icons::Icon::Envelopes, "mnuPrintEnvelopes"},
        {"tbReports", "Reports", "Click here or press CTRL+R to print/design reports",
         Icons::Icon::Reports, "mnuPrintReports"},
        {"tbBrowse", "Browse", "Click here or press CTRL+B for a table view of the database",
         Icons::Icon::Browse, "mnuBrowse"},
        {"tbSearch", "Search", "Click here or press CTRL+S to search for a specific value",
         Icons::Icon::Search, "mnuSearch"},
        {"tbFilter", "Filter", "Click here or press CTRL+F to set or change a filter",
         Icons::Icon::Filter, "mnuSetFilter"},
    };
    int i = 0;
    for (const Tool& t : tools) {
        QAction* a = addAction(nullptr, t.name, t.caption, {}, nullptr);
        a->setIcon(Icons::get(t.icon));
        a->setToolTip(t.hint);
        a->setStatusTip(t.hint);
        a->setWhatsThis(t.hint);
        // Each tool does what its menu item does.
        QAction* menuItem = actions_.value(t.linked);
        connect(a, &QAction::triggered, menuItem, &QAction::trigger);
        bar->addAction(a);
        if (++i == 4) bar->addSeparator();
    }
    bar->addSeparator();
    QAction* whatsThis = QWhatsThis::createAction(this);
    whatsThis->setObjectName("tbMouseHelp");
    whatsThis->setToolTip("Click here, then on any part of the window, for help on it");
    whatsThis->setStatusTip(whatsThis->toolTip());
    actions_.insert("tbMouseHelp", whatsThis);
    bar->addAction(whatsThis);
}

QWidget* TAddressMain::buildButtonRow() {
    auto* row = new QWidget;
    row->setObjectName("ButtonRow");
    auto* layout = new QHBoxLayout(row);
    layout->setContentsMargins(0, 6, 0, 0);
    auto make = [this](const QString& name, const QString& caption, const QString& whatsThis) {
        auto* b = new QPushButton(caption);
        b->setObjectName(name);
        b->setWhatsThis(whatsThis);
        // Enter on a focused button presses it, as Space does.
        b->setAutoDefault(true);
        buttons_.insert(name, b);
        return b;
    };
    using RecordEditing::Move;
    struct Nav {
        const char* name;
        Icons::Icon icon;
        const char* tip;
        Move move;
    };
    const Nav navs[] = {
        {"FirstButton", Icons::Icon::FirstRecord, "First record (Ctrl+Up)", Move::First},
        {"PriorButton", Icons::Icon::PreviousRecord, "Previous record (Page Up)", Move::Prior},
        {"NextButton", Icons::Icon::NextRecord, "Next record (Page Down)", Move::Next},
        {"LastButton", Icons::Icon::LastRecord, "Last record (Ctrl+Down)", Move::Last},
    };
    for (const Nav& n : navs) {
        QPushButton* b = make(n.name, QString(), QString("Moves to the ") + n.tip + ".");
        b->setIcon(Icons::get(n.icon));
        b->setToolTip(n.tip);
        b->setFixedWidth(40);
        const Move move = n.move;
        connect(b, &QPushButton::clicked, this, [this, move] { Navigate(move); });
        layout->addWidget(b);
    }
    layout->addSpacing(16);
    QPushButton* save = make("SaveButton", "&Save", "Saves the record (Ctrl+Enter).");
    QPushButton* cancel = make("CancelButton", "&Cancel", "Throws away the changes to the record (Esc).");
    QPushButton* add = make("AddButton", "&Add", "Starts a new record.");
    QPushButton* edit = make("EditButton", "&Edit", "Starts changing the record shown.");
    QPushButton* del = make("DeleteButton", "&Delete", "Deletes the record shown, after asking.");
    connect(save, &QPushButton::clicked, this, [this] { SaveRecord(); });
    connect(cancel, &QPushButton::clicked, this, [this] { CancelRecord(); });
    connect(add, &QPushButton::clicked, this, [this] { AddRecord(); });
    connect(edit, &QPushButton::clicked, this, [this] { EditRecord(); });
    connect(del, &QPushButton::clicked, this, [this] { DeleteRecord(); });
    for (QPushButton* b : {save, cancel, add, edit, del}) layout->addWidget(b);
    layout->addStretch(1);
    QPushButton* clear = make("ClearFilterButton", "C&lear Filter", "Shows all records again.");
    connect(clear, &QPushButton::clicked, this, [this] { ClearFilter(); });
    layout->addWidget(clear);
    QPushButton* exit = make("ExitButton", "E&xit", "Closes Quillory.");
    connect(exit, &QPushButton::clicked, this, &QWidget::close);
    layout->addWidget(exit);
    return row;
}

void TAddressMain::buildStatusBar() {
    sortPanel_ = new QLabel;
    sortPanel_->setObjectName("SortPanel");
    filterPanel_ = new QLabel;
    filterPanel_->setObjectName("FilterPanel");
    filterPanel_->setMinimumWidth(180);
    filterPanel_->setAlignment(Qt::AlignRight | Qt::AlignVCenter);
    statusBar()->addWidget(sortPanel_, 1);
    statusBar()->addPermanentWidget(filterPanel_);
}

void TAddressMain::connectRecordView() {
    connect(view_, &RecordView::fieldEdited, this,
            [this](const QString& field, const QString& text) { editor_.setValue(field, text); });
    connect(view_, &RecordView::editRequested, this, [this] {
        QPushButton* edit = buttons_.value("EditButton");
        if (!editor_.editing() && edit->isEnabled()) EditRecord();
    });
    // Enter past the last field goes to Save, and Enter there saves.
    connect(view_, &RecordView::lastFieldPassed, this, [this] {
        QPushButton* save = buttons_.value("SaveButton");
        if (save->isVisible() && save->isEnabled()) save->setFocus(Qt::TabFocusReason);
    });
    connect(view_, &RecordView::taggedClicked, this, [this] { ToggleTag(); });
    connect(view_, &RecordView::dateClicked, this, [this] { SelectDate(); });
    connect(view_, &RecordView::dialPhone1Clicked, this, [this] { DialPhone(1); });
    connect(view_, &RecordView::dialPhone2Clicked, this, [this] { DialPhone(2); });
    connect(view_, &RecordView::searchMemoClicked, this, [this] { SearchMemo(); });
    connect(view_, &RecordView::findNextClicked, this, [this] { FindNext(); });
}

void TAddressMain::rebuildMruMenu(const QStringList& entries) {
    for (QAction* a : mruActions_) {
        mruSeparatorMenu_->removeAction(a);
        a->deleteLater();
    }
    mruActions_.clear();
    for (const QString& path : entries) {
        auto* a = new QAction(path, this);
        a->setObjectName("mnuMru");
        // The path as it is, without taking "&" for a mnemonic.
        a->setText(QString(path).replace("&", "&&"));
        a->setData(path);
        connect(a, &QAction::triggered, this, [this, path] { openMruEntry(path); });
        mruSeparatorMenu_->addAction(a);
        mruActions_.append(a);
    }
    mruSeparator_->setVisible(!entries.isEmpty());
}

void TAddressMain::SetOrderTo(const QString& name) {
    if (!table_) return;
    const SortOrders::OrderChoice choice = SortOrders::SetOrderTo(*table_, &CurrentOrderName, name);
    sortPanel_->setText(choice.panelText);
    for (int i = 0; i < sortActions_.size(); ++i) sortActions_[i]->setChecked(i == choice.checkedItem);
}

void TAddressMain::SetCurrentOrder(const QString& tag) {
    if (table_) {
        SortOrders::SetCurrentOrder(*table_, &CurrentOrderName, tag);
    } else {
        CurrentOrderName = tag;
    }
}
