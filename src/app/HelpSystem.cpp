#include "HelpSystem.h"

#include <QApplication>
#include <QContextMenuEvent>
#include <QCryptographicHash>
#include <QDir>
#include <QFile>
#include <QHelpEngine>
#include <QTimer>
#include <QEventLoop>
#include <QHelpSearchEngine>
#include <QKeyEvent>
#include <QLineEdit>
#include <QMenu>
#include <QPlainTextEdit>
#include <QPointer>
#include <QSaveFile>
#include <QStandardPaths>
#include <QWhatsThis>

#include "HelpLink.h"
#include "THelpWindow.h"

namespace {

// The manual's namespace and folder, as its project file (data/help, made into a .qhp at
// build time) names them.
const QString kNamespace = QStringLiteral("org.quillory.help");
const QString kFolder = QStringLiteral("doc");

QString& settingsFile() {
    static QString file;
    return file;
}

bool& searchIndexed() {
    static bool indexed = false;
    return indexed;
}

// The help engine of the run and where its full-text index stands. The index is made in
// a thread of the search engine; it is begun only once help is looked at, and the engine
// is taken down only after that thread has stopped (shutDown), since the thread reads the
// engine's database.
struct EngineState {
    QHelpEngine* engine = nullptr;
    bool tried = false;
    bool indexingScheduled = false;
    bool indexing = false;
};
EngineState& state() {
    static EngineState s;
    return s;
}

void startIndexing() {
    EngineState& s = state();
    if (!s.engine || s.indexingScheduled) return;
    s.indexingScheduled = true;
    s.engine->searchEngine()->scheduleIndexDocumentation();
}

QPointer<THelpWindow>& helpWindow() {
    static QPointer<THelpWindow> window;
    return window;
}

// Copies a file of the manual from the program to `path` unless it is there already.
bool unpack(const QString& resource, const QString& path) {
    if (QFile::exists(path)) return true;
    QFile in(resource);
    QSaveFile out(path);
    if (!in.open(QIODevice::ReadOnly) || !out.open(QIODevice::WriteOnly)) return false;
    out.write(in.readAll());
    return out.commit();
}

// The folder the manual is unpacked to: one per build of it (named by its checksum), so
// that a newer program never reads an older manual, nor its search index.
QString unpackFolder() {
    QFile qch(QStringLiteral(":/help/quillory.qch"));
    if (!qch.open(QIODevice::ReadOnly)) return {};
    const QString sum =
        QString::fromLatin1(QCryptographicHash::hash(qch.readAll(), QCryptographicHash::Sha1).toHex().left(16));
    QStringList roots = {QStandardPaths::writableLocation(QStandardPaths::CacheLocation),
                         QDir::tempPath() + "/quillory-help-" + qEnvironmentVariable("USER")};
    for (const QString& root : roots) {
        if (root.isEmpty()) continue;
        const QString folder = root + "/help/" + sum;
        if (QDir().mkpath(folder) && unpack(":/help/quillory.qch", folder + "/quillory.qch") &&
            unpack(":/help/quillory.qhc", folder + "/quillory.qhc"))
            return folder;
    }
    return {};
}

THelpWindow* ensureWindow(QWidget* from) {
    if (!from) from = QApplication::activeWindow();
    if (from == helpWindow()) from = nullptr;
    if (!helpWindow()) {
        QHelpEngine* engine = HelpSystem::engine();
        if (!engine) return nullptr;
        // Made once and only hidden when closed: its contents, index and search
        // widgets belong to the help engine, which outlives it.
        helpWindow() = new THelpWindow(engine, settingsFile());
        QObject::connect(qApp, &QCoreApplication::aboutToQuit, helpWindow(), &QWidget::close);
        helpWindow()->place(from);
        startIndexing();
    }
    THelpWindow* w = helpWindow();
    w->show();
    w->raise();
    w->activateWindow();
    return w;
}

}  // namespace

void HelpSystem::install(const QString& settings) {
    static HelpSystem* filter = nullptr;
    settingsFile() = settings;
    if (filter) return;
    filter = new HelpSystem();
    filter->setParent(qApp);
    qApp->installEventFilter(filter);
    HelpLink::setViewer([](const QString& page, QWidget* from) { showPage(page, from); });
}

QHelpEngine* HelpSystem::engine() {
    EngineState& s = state();
    if (s.tried) return s.engine;
    s.tried = true;
    const QString folder = unpackFolder();
    if (folder.isEmpty()) return nullptr;
    auto* engine = new QHelpEngine(folder + "/quillory.qhc", qApp);
    if (!engine->setupData()) {
        delete engine;
        return nullptr;
    }
    if (!engine->registeredDocumentations().contains(kNamespace))
        engine->registerDocumentation(folder + "/quillory.qch");
    // The full-text index is made once per unpacked manual, in the background; a search
    // made while it is being made waits for it.
    QObject::connect(engine->searchEngine(), &QHelpSearchEngine::indexingStarted, engine, [] {
        searchIndexed() = false;
        state().indexing = true;
    });
    QObject::connect(engine->searchEngine(), &QHelpSearchEngine::indexingFinished, engine, [] {
        searchIndexed() = true;
        state().indexing = false;
    });
    s.engine = engine;
    return engine;
}

void HelpSystem::shutDown() {
    EngineState& s = state();
    if (s.engine && s.indexing) {
        s.engine->searchEngine()->cancelIndexing();
        QEventLoop loop;
        QObject::connect(s.engine->searchEngine(), &QHelpSearchEngine::indexingFinished, &loop, &QEventLoop::quit);
        QTimer::singleShot(10000, &loop, &QEventLoop::quit);
        if (s.indexing) loop.exec(QEventLoop::ExcludeUserInputEvents);
    }
    // The engine first: the contents, index and search widgets it made live in the help
    // window and go with the engine; the window then goes with what is its own.
    if (helpWindow()) helpWindow()->hide();
    delete s.engine;
    delete helpWindow().data();
    s = EngineState();
    searchIndexed() = false;
}

bool HelpSystem::searchReady() {
    if (!engine()) return false;
    startIndexing();
    return searchIndexed();
}

QUrl HelpSystem::pageUrl(const QString& page) {
    return QUrl(QStringLiteral("qthelp://%1/%2/%3").arg(kNamespace, kFolder, page));
}

QByteArray HelpSystem::pageData(const QString& page) {
    QHelpEngine* e = engine();
    return e ? e->fileData(pageUrl(page)) : QByteArray();
}

void HelpSystem::showPage(const QString& page, QWidget* from) { showUrl(pageUrl(page), from); }

void HelpSystem::showUrl(const QUrl& url, QWidget* from) {
    if (THelpWindow* w = ensureWindow(from)) w->showUrl(url);
}

void HelpSystem::showSearch(QWidget* from) {
    if (THelpWindow* w = ensureWindow(from)) w->startSearch();
}

QWidget* HelpSystem::window() { return helpWindow(); }

bool HelpSystem::eventFilter(QObject* watched, QEvent* event) {
    if (event->type() == QEvent::KeyPress && static_cast<QKeyEvent*>(event)->key() == Qt::Key_F1 &&
        static_cast<QKeyEvent*>(event)->modifiers() == Qt::NoModifier && watched->isWidgetType()) {
        auto* w = static_cast<QWidget*>(watched);
        if (QWidget* focus = QApplication::focusWidget()) w = focus;
        HelpLink::showFor(w->window());
        return true;
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
