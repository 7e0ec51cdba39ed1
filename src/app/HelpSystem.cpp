#include "HelpSystem.h"

#include <QApplication>
#include <QContextMenuEvent>
#include <QKeyEvent>
#include <QLineEdit>
#include <QMap>
#include <QMenu>
#include <QPlainTextEdit>
#include <QPointer>
#include <QWhatsThis>

#include "THelpWindow.h"

namespace {

const char* const kTopicProperty = "helpTopic";

QPointer<THelpWindow>& helpWindow() {
    static QPointer<THelpWindow> window;
    return window;
}

THelpWindow* ensureWindow() {
    if (!helpWindow()) {
        helpWindow() = new THelpWindow();
        helpWindow()->setAttribute(Qt::WA_DeleteOnClose);
        QObject::connect(qApp, &QCoreApplication::aboutToQuit, helpWindow(), &QObject::deleteLater);
    }
    THelpWindow* w = helpWindow();
    w->show();
    w->raise();
    w->activateWindow();
    return w;
}

}  // namespace

void HelpSystem::install() {
    static HelpSystem* filter = nullptr;
    if (filter) return;
    filter = new HelpSystem();
    filter->setParent(qApp);
    qApp->installEventFilter(filter);
}

QUrl HelpSystem::topicUrl(int topic) {
    static const QMap<int, QString> pages = {
        {HelpTopic::Contents, "index.html"},
        {HelpTopic::GettingStarted, "getting-started.html"},
        {HelpTopic::UsingHelp, "using-help.html"},
        {HelpTopic::Keyboard, "keyboard.html"},
        {HelpTopic::OpenFile, "open-file.html"},
        {HelpTopic::NewDatabase, "new-database.html"},
        {HelpTopic::FieldLengths, "field-lengths.html"},
        {HelpTopic::RebuildIndexes, "rebuild-indexes.html"},
        {HelpTopic::RebuildSystem, "rebuild-system.html"},
        {HelpTopic::AddingRecords, "adding-records.html"},
        {HelpTopic::NewRecord, "new-record.html"},
        {HelpTopic::Preferences, "preferences.html"},
        {HelpTopic::SelectDate, "select-date.html"},
        {HelpTopic::CopyToClipboard, "copy-clipboard.html"},
        {HelpTopic::Tags, "tags.html"},
        {HelpTopic::MainWindow, "main-window.html"},
    };
    return QUrl("qrc:/help/" + pages.value(topic, "index.html"));
}

void HelpSystem::setTopic(QWidget* window, int topic) { window->setProperty(kTopicProperty, topic); }

int HelpSystem::topicOf(const QWidget* widget) {
    for (const QWidget* w = widget; w; w = w->parentWidget()) {
        const QVariant v = w->property(kTopicProperty);
        if (v.isValid()) return v.toInt();
    }
    return HelpTopic::Contents;
}

void HelpSystem::showTopic(int topic) { ensureWindow()->showUrl(topicUrl(topic)); }

void HelpSystem::showUrl(const QUrl& url) { ensureWindow()->showUrl(url); }

void HelpSystem::showSearch() { ensureWindow()->startSearch(); }

QWidget* HelpSystem::window() { return helpWindow(); }

bool HelpSystem::eventFilter(QObject* watched, QEvent* event) {
    if (event->type() == QEvent::KeyPress && static_cast<QKeyEvent*>(event)->key() == Qt::Key_F1 &&
        static_cast<QKeyEvent*>(event)->modifiers() == Qt::NoModifier && watched->isWidgetType()) {
        auto* w = static_cast<QWidget*>(watched);
        if (QWidget* focus = QApplication::focusWidget()) w = focus;
        if (w->window() != helpWindow()) {
            showTopic(topicOf(w));
            return true;
        }
    }
    if (event->type() == QEvent::ContextMenu && watched->isWidgetType()) {
        auto* w = static_cast<QWidget*>(watched);
        // The control under the mouse, or the nearest parent that explains itself.
        while (w && w->whatsThis().isEmpty() && !w->isWindow()) w = w->parentWidget();
        if (!w || w->whatsThis().isEmpty()) return false;
        auto* e = static_cast<QContextMenuEvent*>(event);
        QMenu menu;
        QAction* whatsThis = menu.addAction("What's this?");
        // Edits keep their own commands below it.
        QMenu* standard = nullptr;
        if (auto* edit = qobject_cast<QLineEdit*>(watched)) {
            standard = edit->createStandardContextMenu();
        } else if (auto* text = qobject_cast<QPlainTextEdit*>(w)) {
            standard = text->createStandardContextMenu(text->viewport()->mapFromGlobal(e->globalPos()));
        }
        if (standard) {
            menu.addSeparator();
            menu.addActions(standard->actions());
        }
        const QPoint at = e->globalPos();
        if (menu.exec(at) == whatsThis) QWhatsThis::showText(at, w->whatsThis(), w);
        delete standard;
        return true;
    }
    return QObject::eventFilter(watched, event);
}
