// The label and envelope designers worked from the keyboard, reached as a person
// reaches them: Ctrl+L or Ctrl+E, then New in the list window. Every key of the design
// area leaves the program alive; undo, redo, copy, cut, paste, select all and delete
// work from the keys; a changed design asks before Cancel, Esc or the title bar's close
// button throws it away; Alt and its letters do no harm.

#include <QDir>
#include <QLineEdit>
#include <QPushButton>
#include <QSpinBox>
#include <QTest>
#include <QToolBar>

#include "AltLetters.h"
#include "EnvelopeDialogs.h"
#include "Person.h"
#include "Screenshot.h"
#include "TEnvelopeDesignScreen.h"
#include "TGDataPanel.h"
#include "TGPanelView.h"
#include "TLabelDesignScreen.h"
#include "TLabelSetupScreen.h"
#include "TQYEnvelopes.h"
#include "TTextDialog.h"

namespace person {
namespace {

enum class Designer { Label, Envelope };
using Answer = Messages::Answer;

// A button pressed with its Alt letter when it has one.
void pressButton(QAbstractButton* b) {
    const QChar letter = Mnemonics::of(b->text());
    if (letter.isNull())
        click(b);
    else
        press(QKeySequence(QStringLiteral("Alt+") + letter.toUpper()));
}

class DesignerKeys : public PersonTest, public ::testing::WithParamInterface<Designer> {
  protected:
    // Opens the designer of a new label or envelope from the main window and runs `act`
    // in it. A designer still open afterwards is closed without saving; the list window
    // is closed with Esc.
    void inDesigner(const std::function<void(TDesignScreen*)>& act) {
        auto inside = [this, act](TDesignScreen* d) {
            act(d);
            if (d->isVisible()) {
                messages_.threeWayAnswers = {Answer::No};
                d->reject();
            }
        };
        if (GetParam() == Designer::Label) {
            whenActive<TLabelSetupScreen>([inside](TLabelSetupScreen* s) {
                whenActive<TLabelDesignScreen>([inside](TLabelDesignScreen* d) { inside(d); });
                pressButton(s->NewButton);
                settle();
                press(Qt::Key_Escape);
            });
            press(QKeySequence("Ctrl+L"));
        } else {
            whenActive<TQYEnvelopes>([inside](TQYEnvelopes* s) {
                whenActive<TChooseEnvelopeLayout>([](TChooseEnvelopeLayout*) { press(Qt::Key_Return); });
                whenActive<TEnvelopeDesignScreen>([inside](TEnvelopeDesignScreen* d) { inside(d); });
                pressButton(s->NewButton);
                settle();
                press(Qt::Key_Escape);
            });
            press(QKeySequence("Ctrl+E"));
        }
        settle();
        EXPECT_EQ(QApplication::activeModalWidget(), nullptr);
    }

    // The layout files stored so far.
    int storedLayouts() const {
        const QString pattern = GetParam() == Designer::Label ? "BIN*.L" : "BIN*.E";
        return int(QDir(home_.sysDataDir()).entryList({pattern}, QDir::Files).size());
    }

    // Draws a text object with the text tool and types its text into "Enter Text".
    static void drawText(TDesignScreen* d, const QString& text) {
        QWidget* tool = d->Tools->widgetForAction(d->Tools->findChild<QAction*>("Texttool"));
        ASSERT_NE(tool, nullptr);
        click(tool);
        bool typed = false;
        whenActive<TTextDialog>([&typed, text](TTextDialog* t) {
            // The dialog opens on its text, selected: typing replaces it.
            EXPECT_EQ(QApplication::focusWidget(), t->EnterText);
            EXPECT_EQ(t->EnterText->selectedText(), t->EnterText->text());
            type(text);
            press(Qt::Key_Return);
            typed = true;
        });
        QWidget* view = d->View();
        QTest::mousePress(view, Qt::LeftButton, {}, QPoint(20, 20));
        QTest::mouseMove(view, QPoint(120, 40));
        QTest::mouseRelease(view, Qt::LeftButton, {}, QPoint(120, 40));
        settle();
        EXPECT_TRUE(typed);
    }

    // The design area with the keyboard focus, as a click on an empty corner gives it.
    static void focusView(TDesignScreen* d) {
        QTest::mouseClick(d->View(), Qt::LeftButton, {}, QPoint(d->View()->width() - 3, d->View()->height() - 3));
        settle();
        ASSERT_EQ(QApplication::focusWidget(), d->View());
    }
};

TEST_P(DesignerKeys, EveryKeyOfTheDesignAreaLeavesTheProgramAlive) {
    inDesigner([](TDesignScreen* d) {
        screenshot(d, d->metaObject()->className());
        const QKeySequence keys[] = {QKeySequence("Ctrl+Z"), QKeySequence("Ctrl+Y"),    QKeySequence("Ctrl+C"),
                                     QKeySequence("Ctrl+V"), QKeySequence("Shift+Tab"), QKeySequence("A"),
                                     QKeySequence("Return"), QKeySequence("F5")};
        for (const QKeySequence& key : keys) {
            focusView(d);
            press(key);
            settle();
            EXPECT_TRUE(d->isVisible()) << key.toString().toStdString();
        }
        // Enter in the zoom box.
        click(d->ZoomSpin);
        ASSERT_EQ(QApplication::focusWidget(), d->ZoomSpin);
        press(Qt::Key_Return);
        settle();
        EXPECT_TRUE(d->isVisible());
        // Tab from the description comes round to the design area.
        click(d->DescriptionEdit);
        press(Qt::Key_Tab, Qt::ShiftModifier);
        EXPECT_EQ(QApplication::focusWidget(), d->View());
    });
}

TEST_P(DesignerKeys, UndoRedoCopyCutPasteSelectAllAndDeleteFromTheKeys) {
    inDesigner([](TDesignScreen* d) {
        TGDataPanel& panel = d->Panel();
        const int before = panel.ObjectCount();  // the new label's address block
        drawText(d, "Hello");
        const int n = before + 1;
        ASSERT_EQ(panel.ObjectCount(), n);
        focusView(d);
        const struct {
            const char* key;
            int count;
        } steps[] = {
            {"Ctrl+A", n},     {"Ctrl+C", n},     {"Ctrl+V", 2 * n},      {"Ctrl+Z", n},
            {"Ctrl+Y", 2 * n}, {"Ctrl+Z", n},     {"Ctrl+Z", before},     {"Ctrl+Shift+Z", n},
            {"Ctrl+A", n},     {"Del", 0},        {"Ctrl+Z", n},          {"Ctrl+A", n},
            {"Ctrl+X", 0},
        };
        for (const auto& s : steps) {
            press(QKeySequence(s.key));
            settle();
            EXPECT_EQ(panel.ObjectCount(), s.count) << s.key;
            EXPECT_EQ(QApplication::focusWidget(), d->View()) << s.key;
        }
        // A paste within a second of the last one is taken for the same key press.
        QTest::qWait(1100);
        press(QKeySequence("Ctrl+V"));
        settle();
        EXPECT_EQ(panel.ObjectCount(), n);
    });
}

TEST_P(DesignerKeys, CancellingAChangedDesignAsksFirst) {
    const QString question = GetParam() == Designer::Label ? "The label has been changed. Save the changes?"
                                                           : "The envelope has been changed. Save the changes?";
    auto asked = [this, &question] {
        int n = 0;
        for (const auto& r : messages_.requests) n += r.text == question;
        return n;
    };
    const int stored = storedLayouts();

    // Unchanged: Esc closes without a question.
    inDesigner([](TDesignScreen* d) {
        focusView(d);
        press(Qt::Key_Escape);
        settle();
        EXPECT_FALSE(d->isVisible());
    });
    EXPECT_EQ(asked(), 0);

    // Changed: Cancel in the question stays, whichever way the designer was left; No
    // throws the design away.
    inDesigner([this, &asked](TDesignScreen* d) {
        drawText(d, "Kept");
        const std::function<void()> ways[] = {[] { press(Qt::Key_Escape); },
                                              [d] { pressButton(d->CancelButton); }, [d] { d->close(); }};
        for (const auto& leave : ways) {
            focusView(d);
            messages_.threeWayAnswers = {Answer::Cancel};
            const int before = asked();
            leave();
            settle();
            EXPECT_EQ(asked(), before + 1);
            EXPECT_TRUE(d->isVisible());
        }
        messages_.threeWayAnswers = {Answer::No};
        press(Qt::Key_Escape);
        settle();
        EXPECT_FALSE(d->isVisible());
    });
    EXPECT_EQ(storedLayouts(), stored);

    // The title bar's close button and No.
    inDesigner([this](TDesignScreen* d) {
        drawText(d, "Gone");
        messages_.threeWayAnswers = {Answer::No};
        d->close();
        settle();
        EXPECT_FALSE(d->isVisible());
    });
    EXPECT_EQ(storedLayouts(), stored);

    // Yes saves.
    inDesigner([this](TDesignScreen* d) {
        drawText(d, "Saved");
        messages_.threeWayAnswers = {Answer::Yes};
        pressButton(d->CancelButton);
        settle();
        EXPECT_FALSE(d->isVisible());
    });
    EXPECT_EQ(storedLayouts(), stored + 1);
    EXPECT_EQ(asked(), 6);
}

TEST_P(DesignerKeys, AltAndItsLettersDoNoHarm) {
    inDesigner([](TDesignScreen* d) {
        EXPECT_EQ(AltLetterProblems(*d).join('\n').toStdString(), "");
        const QSet<QChar> taken = Mnemonics::taken(d);
        // Alt alone, and every letter that names nothing, with the design area focused.
        focusView(d);
        press(Qt::Key_Alt);
        for (char c = 'a'; c <= 'z'; ++c) {
            if (taken.contains(QChar(c))) continue;
            press(QKeySequence(QStringLiteral("Alt+") + QChar(c).toUpper()));
            settle(5);
            ASSERT_TRUE(d->isVisible()) << c;
        }
        // Nothing is stuck: the design area still takes its keys, and a letter that
        // names a field goes there.
        EXPECT_EQ(QApplication::focusWidget(), d->View());
        press(QKeySequence("Ctrl+A"));
        EXPECT_EQ(d->View()->Handle().Count(), d->Panel().ObjectCount());
        press(QKeySequence(QStringLiteral("Alt+") + Mnemonics::of("&Description:").toUpper()));
        settle();
        EXPECT_EQ(QApplication::focusWidget(), d->DescriptionEdit);
    });
}

INSTANTIATE_TEST_SUITE_P(Designers, DesignerKeys, ::testing::Values(Designer::Label, Designer::Envelope),
                         [](const auto& info) { return info.param == Designer::Label ? "Label" : "Envelope"; });

}  // namespace
}  // namespace person
