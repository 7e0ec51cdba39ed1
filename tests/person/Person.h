#pragma once

// Window tests that go the way a person goes. The real main window is started on a
// home with an address file, on a real X server (Xvfb), and every window is reached
// through the menus and keys a person uses. Keys and clicks go through QTest to the
// widget that would get them from the keyboard (the open popup menu, else the focused
// widget), so that each event passes through the application, that widget and its
// parents, as a person's does. Message boxes go through the scripted message route,
// which records them and answers questions from a queue.

#include <gtest/gtest.h>

#include <QApplication>
#include <QElapsedTimer>
#include <QKeySequence>
#include <QPointer>
#include <QString>
#include <QTimer>
#include <QWidget>
#include <deque>
#include <functional>
#include <memory>
#include <vector>

#include "AppHome.h"
#include "Mnemonics.h"
#include "RecordEditor.h"
#include "ScriptedMessages.h"
#include "TAddressMain.h"
#include "TempDir.h"

namespace person {

// The widget a key goes to now: the open popup menu, else the focused widget, else the
// active window. Fails the test when there is none (typing would go nowhere).
QWidget* keyTarget();
// One key with its modifiers ("Alt+F", "Ctrl+Z", "Shift+Tab", "Return").
void press(const QKeySequence& key);
void press(Qt::Key key, Qt::KeyboardModifiers modifiers = Qt::NoModifier);
// Typed text, a key a character.
void type(const QString& text);
// A left click in the middle of `widget`.
void click(QWidget* widget);
// Lets the application process what is pending (paints, posted events, timers).
void settle(int ms = 20);

// Chooses an item of the menu bar's menu the way a person does with the keyboard: Alt
// and the menu's letter, then the item's letter when it is unique in that menu, else
// the arrow keys down to it and Enter. `path` is the captions without "&", separated
// by "/" ("File/Import/Import from DBF File"). Fails the test when a step is missing.
void chooseMenu(QWidget* window, const QString& path);

// Runs `act` on the next top-level window of class W once it is up, active and has
// the keyboard focus inside it (`act` is expected to close it, with keys or clicks).
// A window that does not come within 20 s fails the test, and so does one still
// open 60 s after `act` ran: it is then closed, so that the test ends.
template <typename W>
void whenActive(std::function<void(W*)> act);

// Same, without a type: any new active modal window.
void whenModal(std::function<void(QWidget*)> act);

// What whenActive uses: waits for a window `match` accepts.
void whenWindow(std::function<QWidget*()> match, std::function<void(QWidget*)> act, const char* what);

template <typename W>
void whenActive(std::function<void(W*)> act) {
    whenWindow(
        [] {
            QWidget* active = QApplication::activeModalWidget();
            if (!active) active = QApplication::activeWindow();
            return static_cast<QWidget*>(qobject_cast<W*>(active));
        },
        [act](QWidget* w) { act(static_cast<W*>(w)); }, W::staticMetaObject.className());
}

// A home with a settings file, an address file DATA/add0001.DBF with `records`, the
// main window started on it and shown as the program shows it; message boxes through
// the scripted route.
class PersonTest : public ::testing::Test {
  protected:
    void SetUp() override;
    void TearDown() override;

    // Records put in the address file before the window starts (by field name).
    virtual std::vector<RecordValues> records() const;
    // The settings file the program starts with.
    virtual QByteArray settings() const { return "[Misc]\nGettingStarted=1\n"; }

    TAddressMain& main() { return *main_; }
    QString addressFile() const { return home_.dataDir() + "/add0001.DBF"; }
    // The questions and notices so far, as "caption: text".
    QStringList asked() const { return messages_.texts(); }

    TempDir dir_;
    AppHome home_{QString::fromStdString(dir_.path())};
    ScriptedMessages messages_;
    std::unique_ptr<TAddressMain> main_;
};

}  // namespace person
