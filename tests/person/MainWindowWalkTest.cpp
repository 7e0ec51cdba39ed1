// Every window of the main window's menus, opened the way a person opens it (Alt, the
// menu's letter, the item's letter) and closed once with Esc and once with its own
// Close, Ok or Cancel button; the program must be alive and back in the main window
// after each.

#include <QAbstractButton>
#include <QDialogButtonBox>
#include <QLabel>
#include <QMap>
#include <QSet>
#include <algorithm>
#include <QPushButton>
#include <QTest>

#include "HelpLink.h"
#include "HelpSystem.h"
#include "Mnemonics.h"
#include "Person.h"
#include "THelpWindow.h"
#include "Screenshot.h"

namespace person {
namespace {

struct Walk {
    const char* path;
    const char* window;  // the class of the window that comes up
};

// The menu items that open a window of their own (Exit, the sort orders, Clear Filter
// and the help pages are tried elsewhere).
const Walk kWalks[] = {
    {"File/New Address Database", "TCreateNewDatabase"},
    {"File/Open Address DataBase", "QFileDialog"},
    {"File/Browse", "TAddressBrowse"},
    {"File/Search", "TAddressSearch"},
    {"File/Import/Import from DBF File", "TDBFImport"},
    {"File/Import/Import from ASCII File", "TAsciiImport"},
    {"File/Import/Import from vCard File", "TVCardImport"},
    {"File/Export", "TCopyOut"},
    {"File/Set Filter", "TAddressFilter"},
    {"File/Restore Filter", "QFileDialog"},
    {"File/Rebuild Indexes for this file", "TQYReindex"},
    {"File/Rebuild System File indexes", "TSystemReindex"},
    {"File/Preferences", "TPreferences"},
    {"Record/Copy To Clipboard", "TCopyToClipboard"},
    {"Utilities/Count Zip Codes", "TCountZipCodes"},
    {"Utilities/Check & Repair State and Zip Codes", "TStateZipCheck"},
    {"Utilities/Check & Repair Duplicates", "TDupCheck"},
    {"Utilities/Convert Case", "TConvertToUpper"},
    {"Utilities/Delete Records", "TDeleteRecords"},
    {"Utilities/Search & Replace Field Values", "TSearchAndReplace"},
    {"Print/Print Labels", "TLabelSetupScreen"},
    {"Print/Print Letters", "TqYLetters"},
    {"Print/Print Envelopes", "TQYEnvelopes"},
    {"Print/Print Reports", "TReportSetup"},
    {"Print/Print Current Record", "TPrintCurrentRecord"},
    {"Help/About...", "TAboutBox"},
};

enum class CloseWith { Escape, Button };

// The button that closes a window without doing its work, else the one that confirms.
QAbstractButton* closingButton(QWidget* window) {
    for (const char* caption : {"Close", "Cancel", "Ok", "OK", "Done", "Exit"})
        for (QAbstractButton* b : window->findChildren<QAbstractButton*>())
            if (b->isVisible() && b->isEnabled() && QString(b->text()).remove('&') == caption) return b;
    return nullptr;
}

// Every button, check box and field label that `window` shows has an Alt+letter, and no
// two share one (controls on another page of a tab set may). In windows with more controls than letters (the main window, the filter
// form, Preferences) a control goes without when every letter of its caption is taken.
void expectLetters(QWidget* window) {
    const QSet<QChar> taken = Mnemonics::taken(window);
    std::vector<QWidget*> shown;
    for (QWidget* control : Mnemonics::controls(window))
        if (control->isVisible()) shown.push_back(control);
    QMap<QChar, QString> owners;
    for (QWidget* control : shown) {
        const QString caption = Mnemonics::captionOf(control);
        const QChar letter = Mnemonics::of(caption);
        if (letter.isNull()) {
            if (std::all_of(caption.begin(), caption.end(),
                            [&](QChar c) { return !c.isLetterOrNumber() || taken.contains(c.toLower()); }))
                continue;
            ADD_FAILURE() << window->metaObject()->className() << ": \"" << caption.toStdString() << "\" has no Alt key";
            continue;
        }
        EXPECT_FALSE(owners.contains(letter)) << window->metaObject()->className() << ": Alt+" << QString(letter).toStdString()
                                              << " is both \"" << owners.value(letter).toStdString() << "\" and \""
                                              << caption.toStdString() << "\"";
        owners.insert(letter, caption);
    }
}

// Every Help button `window` shows is enabled and opens the window's own page of the
// manual beside it; the help window is closed again and `window` gets the keys back.
void expectHelpButtons(QWidget* window) {
    const char* name = window->metaObject()->className();
    const QString page = HelpLink::pageFor(window);
    EXPECT_NE(page, HelpLink::kContents) << name << " has no page of its own in the manual";
    for (QAbstractButton* b : window->findChildren<QAbstractButton*>()) {
        if (!b->isVisible() || QString(b->text()).remove('&') != "Help") continue;
        EXPECT_TRUE(b->isEnabled()) << name << ": its Help button is disabled";
        if (!b->isEnabled()) continue;
        click(b);
        settle(200);
        auto* help = qobject_cast<THelpWindow*>(HelpSystem::window());
        ASSERT_NE(help, nullptr) << name << ": Help opened no help window";
        EXPECT_TRUE(help->isVisible()) << name;
        EXPECT_EQ(help->browser()->source(), HelpSystem::pageUrl(page)) << name;
        EXPECT_FALSE(help->browser()->documentTitle().isEmpty()) << name << ": " << page.toStdString();
        help->close();
        settle();
        window->activateWindow();
        EXPECT_TRUE(QTest::qWaitForWindowActive(window, 20000)) << name;
    }
}

class MainWindowWalk : public PersonTest, public ::testing::WithParamInterface<CloseWith> {};

TEST_P(MainWindowWalk, EveryMenuWindowOpensAndCloses) {
    for (const Walk& walk : kWalks) {
        SCOPED_TRACE(walk.path);
        QString came;
        bool closed = false;
        whenModal([&](QWidget* w) {
            came = w->metaObject()->className();
            if (GetParam() == CloseWith::Escape) {
                expectLetters(w);
                screenshot(w, came);
                expectHelpButtons(w);
            }
            if (GetParam() == CloseWith::Escape) {
                press(Qt::Key_Escape);
            } else {
                QAbstractButton* b = closingButton(w);
                ASSERT_NE(b, nullptr) << came.toStdString() << " has no Close, Cancel or Ok button";
                click(b);
            }
            // A window whose job runs stops the job first and closes when it has stopped.
            for (int i = 0; i < 500 && w->isVisible(); ++i) settle(20);
            closed = !w->isVisible();
            if (!closed) w->close();
        });
        chooseMenu(&main(), walk.path);
        settle();
        EXPECT_EQ(came.toStdString(), walk.window);
        EXPECT_TRUE(closed) << came.toStdString() << " stayed open";
        // Back in the main window, alive and usable.
        EXPECT_EQ(QApplication::activeModalWidget(), nullptr);
        EXPECT_TRUE(QTest::qWaitForWindowActive(&main(), 20000));
    }
}

TEST_F(PersonTest, MainWindowControlsHaveTheirOwnAltKeys) {
    expectLetters(&main());
    screenshot(&main(), "TAddressMain");
}

INSTANTIATE_TEST_SUITE_P(Closing, MainWindowWalk, ::testing::Values(CloseWith::Escape, CloseWith::Button),
                         [](const auto& info) { return info.param == CloseWith::Escape ? "Esc" : "Button"; });

}  // namespace
}  // namespace person
