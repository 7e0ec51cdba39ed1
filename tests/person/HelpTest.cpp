// The manual as a person meets it: F1 in windows reached through the menus opens the
// page about that window, and the pictures of the main windows in the manual are taken
// here, of the program as built, so that they always show the windows as they are.

#include <QDir>
#include <QImage>
#include <QPushButton>
#include <QTabWidget>
#include <QTest>
#include <cstdlib>

#include "HelpLink.h"
#include "HelpSystem.h"
#include "Person.h"
#include "TDupCheck.h"
#include "THelpWindow.h"
#include "TLabelDesignScreen.h"
#include "TLabelSetupScreen.h"
#include "TLetterDesign.h"
#include "TQYEnvelopes.h"
#include "TReportDesigner.h"
#include "TReportSetup.h"
#include "TqYLetters.h"

namespace person {
namespace {

// The page the help window shows, as a file name of the manual ("print-labels.html").
QString shownPage() {
    auto* help = qobject_cast<THelpWindow*>(HelpSystem::window());
    if (!help || !help->isVisible()) return {};
    return help->browser()->source().fileName();
}

// Closes the help window and gives the keyboard back to `window`.
void closeHelp(QWidget* window) {
    if (QWidget* help = HelpSystem::window()) help->close();
    settle();
    window->activateWindow();
    EXPECT_TRUE(QTest::qWaitForWindowActive(window, 20000));
}

TEST_F(PersonTest, F1OpensThePageOfTheWindowItIsPressedIn) {
    press(Qt::Key_F1);
    settle(200);
    EXPECT_EQ(shownPage(), "main-window.html");
    // Beside the main window: on one side of its middle, not over it nor in a corner.
    ASSERT_NE(HelpSystem::window(), nullptr);
    const QRect help = HelpSystem::window()->frameGeometry();
    const int middle = main().frameGeometry().center().x();
    EXPECT_TRUE(help.left() >= middle || help.right() <= middle)
        << help.left() << ".." << help.right() << " covers the main window's middle " << middle;
    closeHelp(&main());

    whenActive<TLabelSetupScreen>([](TLabelSetupScreen* w) {
        press(Qt::Key_F1);
        settle(200);
        EXPECT_EQ(shownPage(), "print-labels.html");
        closeHelp(w);
        press(Qt::Key_Escape);
    });
    press(Qt::Key_L, Qt::ControlModifier);
    settle();

    whenActive<TDupCheck>([](TDupCheck* w) {
        press(Qt::Key_F1);
        settle(200);
        EXPECT_EQ(shownPage(), "duplicates.html");
        closeHelp(w);
        press(Qt::Key_Escape);
    });
    chooseMenu(&main(), "Utilities/Check & Repair Duplicates");
    settle();
}

// The pictures of the manual live in data/help/images of the source tree, and the build
// compiles them into the program's help. `make help-pictures` takes them anew (with
// QUILLORY_HELP_PICTURES set); otherwise each window is compared with its picture, and
// one whose size no longer matches fails as stale, so that the manual shows the
// program as built without every test run rewriting the pictures.
void picture(QWidget* w, const QString& name) {
    settle(100);
    QImage image = w->grab().toImage();
    if (image.width() > 720) image = image.scaledToWidth(720, Qt::SmoothTransformation);
    const QString file = QStringLiteral(QUILLORY_HELP_IMAGES) + "/" + name + ".png";
    if (qEnvironmentVariableIsSet("QUILLORY_HELP_PICTURES")) {
        ASSERT_TRUE(QDir().mkpath(QStringLiteral(QUILLORY_HELP_IMAGES)));
        EXPECT_TRUE(image.save(file)) << name.toStdString();
        return;
    }
    const QImage shown(file);
    ASSERT_FALSE(shown.isNull()) << file.toStdString() << " is missing: run make help-pictures";
    EXPECT_LE(std::abs(shown.width() - image.width()) + std::abs(shown.height() - image.height()), 4)
        << "the manual's picture " << name.toStdString() << " is stale: run make help-pictures";
}

class HelpPictures : public PersonTest {
  protected:
    std::vector<RecordValues> records() const override {
        return {{{"FNAME", "Ada"}, {"LNAME", "Carver"}, {"STREET", "12 Orchard Lane"}, {"CITY", "Springfield"},
                 {"STATE", "IL"}, {"ZIP", "62704"}, {"PHONE", "217-555-0142"}},
                {{"FNAME", "Ben"}, {"LNAME", "Okafor"}, {"ORG", "Riverside Garden Club"}, {"STREET", "400 Main Street"},
                 {"CITY", "Portland"}, {"STATE", "OR"}, {"ZIP", "97205"}}};
    }
};

TEST_F(HelpPictures, TheMainWindowsAsTheManualShowsThem) {
    picture(&main(), "main-window");

    // A label made and saved in the designer, so that the labels screen lists one.
    whenActive<TLabelSetupScreen>([](TLabelSetupScreen* w) {
        whenActive<TLabelDesignScreen>([](TLabelDesignScreen* d) {
            picture(d, "label-designer");
            click(d->findChild<QPushButton*>("SaveButton"));
        });
        click(w->NewButton);
        settle();
        picture(w, "print-labels");
        press(Qt::Key_Escape);
    });
    press(Qt::Key_L, Qt::ControlModifier);
    settle();

    whenActive<TQYEnvelopes>([](TQYEnvelopes* w) {
        picture(w, "print-envelopes");
        press(Qt::Key_Escape);
    });
    press(Qt::Key_E, Qt::ControlModifier);
    settle();

    whenActive<TqYLetters>([](TqYLetters* w) {
        whenActive<TLetterDesign>([](TLetterDesign* d) {
            type("Dear friend, the garden club meets on Monday.");
            picture(d, "letter-editor");
            press(Qt::Key_Escape);
        });
        press(Qt::Key_N, Qt::AltModifier);
        settle();
        press(Qt::Key_Escape);
    });
    press(Qt::Key_T, Qt::ControlModifier);
    settle();

    whenActive<TReportSetup>([](TReportSetup* w) {
        w->Pages->setCurrentIndex(1);
        whenActive<TReportDesigner>([](TReportDesigner* d) {
            picture(d, "report-designer");
            press(Qt::Key_Escape);
        });
        click(w->NewButton);
        settle();
        press(Qt::Key_Escape);
    });
    press(Qt::Key_R, Qt::ControlModifier);
    settle();
    EXPECT_EQ(QApplication::activeModalWidget(), nullptr);
}

}  // namespace
}  // namespace person
