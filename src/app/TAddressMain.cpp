#include "TAddressMain.h"

#include <QAction>
#include <QApplication>
#include <QCloseEvent>
#include <QFileDialog>
#include <QFileInfo>
#include <QInputDialog>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QMenu>
#include <QPushButton>
#include <QScreen>
#include <QStackedWidget>
#include <QTimer>
#include <QVBoxLayout>

#include "AddressFile.h"
#include "CheckPrinters.h"
#include "CodePage.h"
#include "MruList.h"
#include "PlacedWindow.h"
#include "PrinterDevice.h"
#include "RecordView.h"
#include "SortOrders.h"
#include "TCreateNewDatabase.h"
#include "TGettingStarted.h"
#include "TQYReindex.h"
#include "TSystemReindex.h"
#include "Table.h"
#include "WindowMessages.h"
#include "WindowPlacement.h"

namespace {

const char* const kNoFileText = "Please Open or Create a Quillory Address file";

}  // namespace

TAddressMain::TAddressMain(const AppHome& home, QWidget* parent)
    : QMainWindow(parent),
      home_(home),
      settings_(Settings::GetIniFileName(home)),
      filterFiles_(home_, dialogServices()) {
    setObjectName("TAddressMain");
    setWindowTitle("Quillory");
    setFont(QFont("Arial", 10));

    buildMenus();
    buildToolBar();
    buildStatusBar();

    view_ = new RecordView;
    noFileLabel_ = new QLabel(kNoFileText);
    noFileLabel_->setObjectName("NoFilePanel");
    noFileLabel_->setAlignment(Qt::AlignCenter);
    noFileLabel_->setWordWrap(true);
    QFont noFileFont("Arial");
    noFileFont.setPixelSize(20);
    noFileFont.setBold(true);
    noFileFont.setItalic(true);
    noFileLabel_->setFont(noFileFont);
    noFileLabel_->setStyleSheet("color: #008000");
    clientStack_ = new QStackedWidget;
    clientStack_->addWidget(view_);
    clientStack_->addWidget(noFileLabel_);
    clientStack_->setCurrentWidget(noFileLabel_);

    auto* client = new QWidget;
    client->setObjectName("ClientArea");
    auto* layout = new QVBoxLayout(client);
    layout->setContentsMargins(10, 10, 10, 6);
    layout->addWidget(clientStack_, 1);
    layout->addWidget(buildButtonRow());
    setCentralWidget(client);
    connectRecordView();

    fileChooser = [this](const QString& start) {
        return QFileDialog::getOpenFileName(this, "Open Address DataBase", start, "DBF Files (*.dbf *.DBF)");
    };
    memoSearchPrompt = [this](const QString& last) -> std::optional<QString> {
        bool ok = false;
        const QString text =
            QInputDialog::getText(this, "Memo Search", "Search For", QLineEdit::Normal, last, &ok);
        if (!ok) return std::nullopt;
        return text;
    };

    sortPanel_->clear();
    filterPanel_->clear();
    view_->selectPage(0);
    qApp->installEventFilter(this);
    SetButtons();
}

TAddressMain::~TAddressMain() {
    qApp->removeEventFilter(this);
    editor_.setTable(nullptr);
}

// ---------------------------------------------------------------------------------------
// Start-up and closing

void TAddressMain::FormActivate() {
    if (!firstActivation_) return;
    restorePlacement();
    centralWidget()->hide();
    setWindowTitle("Quillory");
    noFileLabel_->setText(kNoFileText);
    show();
    Filter::ClearQueryVars(FilterState);
    LoadPreferences();

    QString first = MruList::GetMRUList(settings_).value(0);
    if (first.isEmpty()) {
        const QString add0001 = home_.existingFile("DATA/add0001.DBF");
        if (QFileInfo::exists(add0001)) {
            first = add0001;
        } else {
            QString message;
            if (AddressFile::CreateAddressFile(add0001, FieldLengths::LoadFieldLengths(settings_),
                                               &message)) {
                first = add0001;
            } else {
                WindowMessages().inform(message);
            }
        }
    }
    if (!first.isEmpty()) OpenQYZDBF(first);
    if (table_) ApplyFilter();
    rebuildMruMenu(MruList::GetMRUList(settings_));
    SetButtons();
    QApplication::restoreOverrideCursor();
    QString printerMessage;
    if (!CheckPrinters(PrinterDevice::instance(), &printerMessage)) WindowMessages().inform(printerMessage);
    firstActivation_ = false;
    if (!prefs_.hideGettingStarted) QTimer::singleShot(0, this, &TAddressMain::ShowGettingStarted);
    centralWidget()->show();
    RefreshRecord();
}

void TAddressMain::bringToFront() {
    if (isMinimized()) {
        setWindowState((windowState() & ~Qt::WindowMinimized) | Qt::WindowActive);
        showNormal();
    }
    show();
    raise();
    activateWindow();
}

void TAddressMain::closeEvent(QCloseEvent* event) {
    if (table_) {
        QApplication::processEvents();
        // Closing the window while a record is being edited would lose what was typed:
        // ask first, and stay open when the record cannot be saved.
        if (editor_.editing() && WindowMessages().ask("Save changes?", "Save") && !SaveRecord()) {
            event->ignore();
            return;
        }
        editor_.cancel();
        closeTable();
    }
    savePlacement();
    event->accept();
    // The other windows of the program (the help window has no parent) go with the main
    // window, so that the program ends with it.
    for (QWidget* w : QApplication::topLevelWidgets())
        if (w != this && w->isVisible()) w->close();
}

void TAddressMain::resizeEvent(QResizeEvent* event) {
    QMainWindow::resizeEvent(event);
    if (windowState() != Qt::WindowNoState || !isVisible() || !screen()) return;
    const QRect frame = frameGeometry();
    const QRect area = screen()->availableGeometry();
    if (frame.right() > area.right() && frame.left() > 0) move(0, y());
    if (frame.bottom() > area.bottom() && frame.top() > 0) move(x(), 0);
}

void TAddressMain::restorePlacement() {
    PlacedWindow::Restore(this, settings_, "TAddressMain", [](const QRect& area) {
        const QSize size(std::min(900, area.width()), std::min(620, area.height()));
        return WindowPlacement::CenterForm(size, area);
    });
    savePlacement();
}

void TAddressMain::savePlacement() { PlacedWindow::Save(this, settings_, "TAddressMain"); }

// ---------------------------------------------------------------------------------------
// Opening files

void TAddressMain::freeze(bool on) {
    // Paint the window as it is now (a menu just closed, say) before it stops painting:
    // a tool window over it would otherwise leave that stale picture on screen.
    if (on && updatesEnabled() && isVisible()) repaint();
    setUpdatesEnabled(!on);
}

void TAddressMain::closeTable() {
    memoReported_ = 0;
    editor_.setTable(nullptr);
    if (table_) {
        (void)table_->close();
        table_.reset();
    }
}

bool TAddressMain::CheckValidIndex() {
    indexValid_ = table_ && AddressFile::CheckValidIndex(*table_);
    return indexValid_;
}

QString TAddressMain::GetDatabasePath() const {
    if (CurrentFileName.isEmpty()) return {};
    return QFileInfo(CurrentFileName).absolutePath() + "/";
}

bool TAddressMain::OpenQYZDBF(const QString& path) {
    if (path.isEmpty()) return false;
    freeze(true);
    if (table_) (void)table_->query({});
    closeTable();

    // A header that counts other records than the file holds keeps the file from
    // opening: with the user's leave the records are recovered from its size first.
    bool refused = false;
    const QString damage = AddressFile::RecordCountDamage(path);
    if (!damage.isEmpty()) {
        freeze(false);
        QString message;
        if (!WindowMessages().ask(AddressFile::recoverQuestion(path, damage), "Warning")) {
            refused = true;
        } else if (AddressFile::RecoverRecordCount(path, &message)) {
            WindowMessages().inform(message);
        } else {
            WindowMessages().error(message, "Warning");
            refused = true;
        }
        freeze(true);
    }

    QStringList messages;
    const bool opened = !refused && AddressFile::OpenQYZFile(path, &table_, &messages);
    if (!opened && !refused) {
        freeze(false);
        for (const QString& message : messages) WindowMessages().inform(message);
        freeze(true);
    }
    if (opened) {
        table_->setDeleted(true);
        if (!CheckValidIndex()) {
            freeze(false);
            if (WindowMessages().ask(AddressFile::rebuildQuestion(path), "Warning")) {
                TQYReindex reindex(*table_, QFileInfo(path).fileName(), this);
                reindex.exec();
                if (!reindex.error().isEmpty()) WindowMessages().inform(reindex.error());
                if (!CheckValidIndex()) closeTable();
            } else {
                closeTable();
            }
            freeze(true);
        }
    }
    editor_.setTable(table_.get());
    OnOpenQYZFile();
    freeze(false);
    if (opened) {
        rebuildMruMenu(MruList::UpdateMRUList(settings_, path));
        CurrentFileName = path;
    } else {
        CurrentFileName.clear();
    }
    setWindowTitle("Quillory - " + path);
    memoSearchOffered_ = false;
    SetButtons();
    return table_ != nullptr;
}

void TAddressMain::OnOpenQYZFile() {
    if (table_) {
        view_->setFieldWidths(table_.get());
        clientStack_->setCurrentWidget(view_);
        SetOrderTo(SortOrders::kDefaultName);
        ApplyFilter();
        (void)table_->goTop();
    } else {
        clientStack_->setCurrentWidget(noFileLabel_);
        CurrentOrderName.clear();
        sortPanel_->clear();
    }
    RefreshRecord();
}

void TAddressMain::OpenFile(const QString& path) {
    if (QFileInfo(path).suffix().toUpper() != "DBF") {
        WindowMessages().inform("Must be a DBF file");
        return;
    }
    OpenQYZDBF(path);
    SetButtons();
}

void TAddressMain::openMruEntry(const QString& path) {
    const QString previous = table_ ? CurrentFileName : QString();
    OpenQYZDBF(path);
    if (!table_ && !previous.isEmpty()) OpenQYZDBF(previous);
    SetButtons();
}

void TAddressMain::NewDatabase() {
    TCreateNewDatabase dialog(home_, settings_, this);
    if (dialog.exec() == QDialog::Accepted && !dialog.path().isEmpty()) {
        closeTable();
        QApplication::processEvents();
        OpenQYZDBF(dialog.path());
    }
    SetButtons();
}

void TAddressMain::RebuildIndexes() {
    if (!table_) {
        WindowMessages().inform("You need to have a database file open first");
        return;
    }
    editor_.cancel();
    freeze(true);
    TQYReindex reindex(*table_, QFileInfo(CurrentFileName).fileName(), this);
    reindex.exec();
    freeze(false);
    if (!reindex.error().isEmpty()) WindowMessages().inform(reindex.error());
    CheckValidIndex();
    SetCurrentOrder(CurrentOrderName);
    ApplyFilter();
    (void)table_->goTop();
    RefreshRecord();
    SetButtons();
}

void TAddressMain::OfferIndexRebuild() {
    // Asked when the window is back to itself, not over the dialog that found the damage.
    if (QApplication::activeModalWidget()) {
        QTimer::singleShot(50, this, &TAddressMain::OfferIndexRebuild);
        return;
    }
    rebuildOfferPending_ = false;
    if (!table_ || editor_.editing() || !indexValid_ || table_->indexState() != xbase::IndexState::Damaged) return;
    indexValid_ = false;
    // As at open: Yes rebuilds, No (or a rebuild that fails) closes the file.
    if (WindowMessages().ask(AddressFile::rebuildQuestion(CurrentFileName), "Warning")) RebuildIndexes();
    if (!CheckValidIndex()) {
        closeTable();
        OnOpenQYZFile();
    }
    SetButtons();
}

void TAddressMain::RebuildSystemIndexes() {
    TSystemReindex reindex(home_, this);
    reindex.exec();
}

void TAddressMain::ShowGettingStarted() {
    auto* screen = new TGettingStarted(settings_, this);
    screen->setAttribute(Qt::WA_DeleteOnClose);
    screen->open();
}

// ---------------------------------------------------------------------------------------
// Refreshing

void TAddressMain::LoadPreferences() {
    prefs_ = Preferences::LoadPreferences(settings_);
    GlobalTagId = prefs_.globalTagId;
}

int TAddressMain::ApplyFilter() {
    if (!table_) return 0;
    QApplication::setOverrideCursor(Qt::WaitCursor);
    const Filter::ApplyResult result = Filter::ApplyFilter(*table_, FilterState, GlobalTagId);
    QApplication::restoreOverrideCursor();
    if (!result.message.isEmpty()) WindowMessages().inform(result.message);
    return int(result.matches);
}

void TAddressMain::RefreshRecord() {
    const bool editing = editor_.editing();
    const RecordValues values = editor_.values();
    view_->showValues(values, RecordEditing::FormatStoredDate(values.value("DATE")),
                      RecordEditing::Tagged(values, GlobalTagId), !editing);
    const QString memoProblem = editor_.memoProblem();
    view_->setMemoProblem(memoProblem);
    view_->setEditing(editing);
    view_->setRecordPresent(editing || editor_.hasCurrent());
    // A memo that cannot be read is said once each time its record is come to.
    const uint32_t record = editor_.hasCurrent() ? table_->recNo() : 0;
    if (memoProblem.isEmpty()) {
        memoReported_ = 0;
    } else if (record != memoReported_) {
        memoReported_ = record;
        WindowMessages().error("The memo of record " + QString::number(record) + " cannot be read.\n" + memoProblem,
                               "Memo");
    }
}

void TAddressMain::UpdateFilterStatus() {
    if (!table_) {
        filterPanel_->hide();
        return;
    }
    const uint32_t n = table_->queryRecCount();
    if (!FilterState.expression.isEmpty()) {
        filterPanel_->setText(QString::number(n) + " filter matches");
    } else if (n > 0) {
        filterPanel_->setText(QString::number(n) + " records (no filter)");
    } else {
        filterPanel_->setText("No records");
    }
    filterPanel_->show();
}

void TAddressMain::SetButtons() {
    const bool open = table_ != nullptr;
    const bool editing = editor_.editing();
    const bool current = open && !table_->eof();
    const bool browsing = open && !editing && current;
    const bool filtered = !FilterState.expression.isEmpty();
    auto enable = [this](const char* name, bool on) {
        if (QAction* a = actions_.value(name)) a->setEnabled(on);
        if (QPushButton* b = buttons_.value(name)) b->setEnabled(on);
    };
    auto enableMenu = [this](const char* name, bool on) { menus_.value(name)->menuAction()->setEnabled(on); };

    enableMenu("menuEdit", open);
    for (const char* name : {"mnuReindex", "mnuImportASCII", "mnuImportDBF", "mnuImportVCard"}) enable(name, open);

    for (const char* name :
         {"SearchButton", "BrowseButton", "EditButton", "DeleteButton", "FirstButton",       "PriorButton",
          "NextButton",   "LastButton",   "mnuExport",  "mnuClone",     "mnuSearch",         "mnuBrowse",
          "tbSearch",     "tbBrowse",     "tbLabels",   "tbLetters",    "tbEnvelopes",       "tbReports",
          "mnuFirst",     "mnuPrevious",  "mnuNext",    "mnuLast",      "mnuCopyToClipboard"}) {
        enable(name, browsing);
    }
    for (const char* name : {"menuSort", "menuPrint", "menuUtilities"}) enableMenu(name, browsing);
    enable("AddButton", open && !editing);

    for (const char* name : {"SaveButton", "CancelButton"}) {
        buttons_.value(name)->setVisible(editing);
        buttons_.value(name)->setEnabled(editing);
    }
    for (const char* name : {"AddButton", "EditButton", "DeleteButton", "ExitButton"}) {
        buttons_.value(name)->setVisible(!editing);
    }
    view_->dialPhone1()->setVisible(browsing);
    view_->dialPhone2()->setVisible(browsing);
    view_->searchMemoButton()->setVisible(browsing);
    view_->findNextButton()->setVisible(memoSearchOffered_ && !editing);

    QPushButton* clear = buttons_.value("ClearFilterButton");
    clear->setVisible(filtered);
    clear->setEnabled(filtered && !editing);
    for (const char* name : {"mnuSaveFilter", "mnuClearFilter", "mnuTagAll"}) enable(name, filtered);
    enable("tbFilter", filtered || browsing);
    enable("mnuSetFilter", filtered || browsing);

    enableMenu("menuFile", !editing);
    enable("mnuExit", !editing);
    enable("mnuClearTags", open && !editing);
    enableMenu("menuRecord", open && !editing);
    enable("mnuAdd", buttons_.value("AddButton")->isEnabled());
    enable("mnuEdit", buttons_.value("EditButton")->isEnabled());
    enable("mnuDelete", buttons_.value("DeleteButton")->isEnabled());

    if (editing && !view_->isDataControl(QApplication::focusWidget())) view_->edit("LNAME")->setFocus();
    UpdateFilterStatus();
    // An index that a command found damaged while it read it is offered for rebuild.
    if (open && !editing && indexValid_ && !rebuildOfferPending_ &&
        table_->indexState() == xbase::IndexState::Damaged) {
        rebuildOfferPending_ = true;
        QTimer::singleShot(0, this, &TAddressMain::OfferIndexRebuild);
    }
}

// ---------------------------------------------------------------------------------------
// Keys

bool TAddressMain::actionEnabled(const QAction* a) const {
    if (!a->isEnabled()) return false;
    for (QMenu* m : menus_) {
        if (m->actions().contains(const_cast<QAction*>(a)) && !m->menuAction()->isEnabled()) return false;
    }
    return true;
}

bool TAddressMain::windowKey(QKeyEvent* k, bool perform) {
    const Qt::KeyboardModifiers mods = k->modifiers() & ~Qt::KeypadModifier;
    const bool editing = editor_.editing();
    const int key = k->key();
    const bool enter = key == Qt::Key_Return || key == Qt::Key_Enter;
    using RecordEditing::Move;

    if (enter && mods == Qt::AltModifier) {
        if (!editing) return false;
        if (perform && SaveRecord() && WindowMessages().ask("Add another record?", "Add")) AddRecord();
        return true;
    }
    if (enter && mods == Qt::ControlModifier) {
        if (!editing) return false;
        if (perform) SaveRecord();
        return true;
    }
    if (key == Qt::Key_PageDown || key == Qt::Key_PageUp) {
        const bool down = key == Qt::Key_PageDown;
        if (editing) {
            if (perform && down && WindowMessages().ask("Save changes?", "Save")) SaveRecord();
            return true;
        }
        if (!buttons_.value("NextButton")->isEnabled()) return false;
        if (perform) {
            const bool ctrl = mods == Qt::ControlModifier;
            Navigate(down ? (ctrl ? Move::Last : Move::Next) : (ctrl ? Move::First : Move::Prior));
        }
        return true;
    }
    if (key == Qt::Key_Escape && mods == Qt::NoModifier) {
        if (!editing) return false;
        // In the memo too: answering No keeps the edit.
        if (perform && WindowMessages().ask("Cancel changes?", "Cancel")) CancelRecord();
        return true;
    }
    const QKeySequence pressed(k->keyCombination());
    for (QAction* a : actions_) {
        if (a->shortcut().isEmpty() || a->shortcutContext() != Qt::WidgetShortcut) continue;
        if (a->shortcut().matches(pressed) != QKeySequence::ExactMatch) continue;
        if (!actionEnabled(a)) return false;
        if (perform) a->trigger();
        return true;
    }
    return false;
}

bool TAddressMain::eventFilter(QObject* watched, QEvent* event) {
    if (event->type() == QEvent::KeyPress && watched->isWidgetType()) {
        auto* w = static_cast<QWidget*>(watched);
        // The window sees its keys before its controls; dialogs and menus keep theirs.
        if (w->window() == this && !QApplication::activeModalWidget() && !QApplication::activePopupWidget()) {
            if (windowKey(static_cast<QKeyEvent*>(event), true)) return true;
        }
    }
    return QMainWindow::eventFilter(watched, event);
}
