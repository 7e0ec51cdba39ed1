#include "Person.h"

#include <QAction>
#include <QDialog>
#include <QFile>
#include <QMenu>
#include <QMenuBar>
#include <QTest>

#include "Desktop.h"
#include "HelpSystem.h"
#include "WindowTestSupport.h"

namespace person {

namespace {

// A caption as shown: "&" marks the Alt letter, "&&" is an ampersand.
QString plain(const QString& caption) {
    QString shown;
    for (int i = 0; i < caption.size(); ++i) {
        if (caption[i] == '&' && i + 1 < caption.size()) ++i;
        shown += caption[i];
    }
    return shown.trimmed();
}

// Every window that came up through whenWindow, with the time its `act` ran: one still
// open a minute later is closed, so that a test whose step failed does not hang.
void watch(QWidget* window) {
    QPointer<QWidget> guarded(window);
    QTimer::singleShot(60000, [guarded] {
        if (!guarded || !guarded->isVisible()) return;
        ADD_FAILURE() << guarded->metaObject()->className() << " is still open a minute after its step";
        if (auto* d = qobject_cast<QDialog*>(guarded.data()))
            d->reject();
        else
            guarded->close();
    });
}

// What the desktop's window manager does and Xvfb alone does not: when a window closes,
// the window it belonged to becomes active again.
class WindowManager : public QObject {
  public:
    bool eventFilter(QObject* watched, QEvent* event) override {
        if (event->type() != QEvent::Hide || !watched->isWidgetType()) return false;
        auto* w = static_cast<QWidget*>(watched);
        if (!w->isWindow() || w->windowType() == Qt::Popup || w->windowType() == Qt::ToolTip) return false;
        QPointer<QWidget> owner = w->parentWidget() ? w->parentWidget()->window() : nullptr;
        // Asked again a moment later: on a busy machine the server may not have taken
        // the first request yet.
        for (int ms : {0, 300, 1000}) {
            QTimer::singleShot(ms, [owner] {
                if (owner && owner->isVisible() && !QApplication::activeWindow() && !QApplication::activePopupWidget())
                    owner->activateWindow();
            });
        }
        return false;
    }
};

}  // namespace

QWidget* keyTarget() {
    if (QWidget* popup = QApplication::activePopupWidget()) return popup;
    if (QWidget* focus = QApplication::focusWidget()) return focus;
    if (QWidget* active = QApplication::activeWindow()) return active;
    ADD_FAILURE() << "no window is active: a key would go nowhere";
    return nullptr;
}

void press(const QKeySequence& key) {
    for (int i = 0; i < key.count(); ++i) {
        QWidget* target = keyTarget();
        if (!target) return;
        const QKeyCombination combination = key[i];
        press(combination.key(), combination.keyboardModifiers());
    }
}

void press(Qt::Key key, Qt::KeyboardModifiers modifiers) {
    if (QWidget* target = keyTarget()) QTest::keyClick(target, key, modifiers);
    // A button's Alt key presses it the way a click looks: a moment later.
    if (modifiers & Qt::AltModifier) settle(150);
}

void type(const QString& text) {
    for (const QChar c : text) {
        QWidget* target = keyTarget();
        if (!target) return;
        QTest::keyClicks(target, QString(c));
    }
}

void click(QWidget* widget) {
    ASSERT_NE(widget, nullptr);
    ASSERT_TRUE(widget->isVisible()) << widget->objectName().toStdString() << " is not on screen";
    QTest::mouseClick(widget, Qt::LeftButton, Qt::NoModifier, widget->rect().center());
}

void settle(int ms) { QTest::qWait(ms); }

namespace {

// Chooses `caption` among the actions of the open popup `menu`.
void chooseInMenu(QMenu* menu, const QString& caption) {
    QAction* target = nullptr;
    for (QAction* a : menu->actions())
        if (a->isVisible() && !a->isSeparator() && plain(a->text()) == caption) target = a;
    ASSERT_NE(target, nullptr) << "no item \"" << caption.toStdString() << "\" in the menu";
    ASSERT_TRUE(target->isEnabled()) << "\"" << caption.toStdString() << "\" is disabled";
    const QChar letter = Mnemonics::of(target->text());
    int sharing = 0;
    // A letter two items share only moves between them, disabled ones included.
    for (QAction* a : menu->actions())
        if (!letter.isNull() && Mnemonics::of(a->text()) == letter) ++sharing;
    if (sharing == 1) {
        type(QString(letter));
        return;
    }
    // No letter of its own: down the menu to it, as a person does with the arrows.
    for (int i = 0; i < menu->actions().size() && menu->activeAction() != target; ++i) press(Qt::Key_Down);
    ASSERT_EQ(menu->activeAction(), target) << "the arrows do not reach \"" << caption.toStdString() << "\"";
    press(Qt::Key_Return);
}

}  // namespace

void chooseMenu(QWidget* window, const QString& path) {
    const QStringList parts = path.split('/');
    QMenuBar* bar = window->findChild<QMenuBar*>();
    ASSERT_NE(bar, nullptr);
    QAction* top = nullptr;
    for (QAction* a : bar->actions())
        if (plain(a->text()) == parts.front()) top = a;
    ASSERT_NE(top, nullptr) << "no menu \"" << parts.front().toStdString() << "\"";
    const QChar letter = Mnemonics::of(top->text());
    ASSERT_FALSE(letter.isNull()) << "the menu \"" << parts.front().toStdString() << "\" has no Alt key";
    press(Qt::Key(letter.toUpper().unicode()), Qt::AltModifier);
    for (int i = 1; i < parts.size(); ++i) {
        auto* menu = qobject_cast<QMenu*>(QApplication::activePopupWidget());
        ASSERT_NE(menu, nullptr) << "no menu opened on the way to \"" << parts[i].toStdString() << "\"";
        chooseInMenu(menu, parts[i]);
    }
}

void whenWindow(std::function<QWidget*()> match, std::function<void(QWidget*)> act, const char* what) {
    auto* timer = new QTimer;
    auto* waited = new QElapsedTimer;
    waited->start();
    timer->setInterval(10);
    const std::string name = what;
    QObject::connect(timer, &QTimer::timeout, [timer, waited, match, act, name] {
        QWidget* w = match();
        // Up, active and with the keyboard focus inside: a person can type into it.
        QWidget* focus = QApplication::focusWidget();
        const bool ready = w && w->isVisible() && w->isActiveWindow() && focus && (focus == w || w->isAncestorOf(focus));
        if (ready) {
            timer->stop();
            timer->deleteLater();
            delete waited;
            watch(w);
            act(w);
        } else if (waited->elapsed() > 20000) {
            timer->stop();
            timer->deleteLater();
            delete waited;
            if (w)
                ADD_FAILURE() << name << " came up but nothing in it has the keyboard focus";
            else
                ADD_FAILURE() << "no " << name << " came up";
            if (QWidget* modal = QApplication::activeModalWidget()) modal->close();
        }
    });
    timer->start();
}

void whenModal(std::function<void(QWidget*)> act) {
    whenWindow([] { return QApplication::activeModalWidget(); }, std::move(act), "modal window");
}

std::vector<RecordValues> PersonTest::records() const {
    RecordValues ann;
    ann["LNAME"] = "Archer";
    ann["FNAME"] = "Ann";
    ann["STREET"] = "12 Main St";
    ann["CITY"] = "Springfield";
    ann["STATE"] = "IL";
    ann["ZIP"] = "62704";
    ann["PHONE"] = "555-0101";
    RecordValues bob;
    bob["LNAME"] = "Baker";
    bob["FNAME"] = "Bob";
    bob["TITLE"] = "Director";
    bob["ORG"] = "Acme Supply";
    bob["STREET"] = "400 Oak Ave";
    bob["STREET2"] = "Suite 9";
    bob["CITY"] = "Portland";
    bob["STATE"] = "OR";
    bob["ZIP"] = "97201-1234";
    return {ann, bob};
}

void PersonTest::SetUp() {
    ASSERT_EQ(QApplication::platformName(), QLatin1String("xcb")) << "these tests need a real X server (Xvfb)";
    QString error;
    ASSERT_TRUE(home_.ensureExists(&error)) << error.toStdString();
    QFile ini(home_.file("QUILLO.ini"));
    ASSERT_TRUE(ini.open(QIODevice::WriteOnly));
    ini.write(settings());
    ini.close();
    makeAddressFile(addressFile(), records());
    static WindowManager* manager = [] {
        auto* m = new WindowManager;
        m->setParent(qApp);  // goes with the application
        qApp->installEventFilter(m);
        return m;
    }();
    (void)manager;
    SetUpDesktop(home_);
    main_ = std::make_unique<TAddressMain>(home_);
    main_->FormActivate();
    main_->activateWindow();
    ASSERT_TRUE(QTest::qWaitForWindowActive(main_.get(), 20000)) << "the main window did not become active";
    settle();
}

void PersonTest::TearDown() {
    if (QWidget* modal = QApplication::activeModalWidget()) {
        ADD_FAILURE() << modal->metaObject()->className() << " is still open at the end of the test";
        modal->close();
    }
    if (main_) {
        main_->CancelRecord();
        main_->close();
        main_.reset();
    }
    for (QWidget* w : QApplication::topLevelWidgets())
        if (w->isVisible()) w->close();
    settle();
    HelpSystem::shutDown();
}

}  // namespace person
