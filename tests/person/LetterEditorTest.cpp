// Letters as a person writes them: the letters screen from the main window's menu,
// New, the text typed into the letter, and what Ok, Esc and the window's close keep.

#include <QFile>
#include <QLineEdit>
#include <QTest>
#include <QTextDocument>
#include <QTextEdit>
#include <QTreeWidget>

#include "LetterStore.h"
#include "Person.h"
#include "Screenshot.h"
#include "Settings.h"
#include "TLetterDesign.h"
#include "TRTFPreviewForm.h"
#include "TWPPageProp.h"
#include "TqYLetters.h"

namespace person {
namespace {

class LetterEditorTest : public PersonTest {
  protected:
    // The letters stored in LETTER.DBF, as description and plain text.
    std::vector<std::pair<std::string, std::string>> storedLetters() {
        std::unique_ptr<LetterStore> store;
        QString error;
        EXPECT_TRUE(LetterStore::Open(home_, &store, &error)) << error.toStdString();
        std::vector<std::pair<std::string, std::string>> out;
        if (!store) return out;
        for (const LetterStore::Entry& e : store->letters()) {
            QTextDocument text;
            EXPECT_TRUE(store->LoadRichText(e.recNo, &text, &error)) << error.toStdString();
            out.emplace_back(e.description.toStdString(), text.toPlainText().toStdString());
        }
        return out;
    }

    // Opens the letters screen from the menu, runs `inLetters` in it and closes it
    // with Esc.
    void withLetters(std::function<void(TqYLetters*)> inLetters) {
        whenActive<TqYLetters>([inLetters](TqYLetters* letters) {
            inLetters(letters);
            press(Qt::Key_Escape);
        });
        chooseMenu(&main(), "Print/Print Letters");
        settle();
    }
};

TEST_F(LetterEditorTest, NewLetterTypedIntoTheEditorIsStored) {
    const QString text = "Dear friend, the garden club meets on Monday.";
    withLetters([&](TqYLetters* letters) {
        whenActive<TLetterDesign>([&](TLetterDesign* design) {
            // The editor opens on the letter's text: what is typed goes into the letter.
            EXPECT_EQ(QApplication::focusWidget(), design->Editor);
            type(text);
            EXPECT_EQ(design->document()->toPlainText(), text);
            // The preview from the editor shows the text as it is now, merged.
            whenActive<TRTFPreviewForm>([](TRTFPreviewForm* preview) {
                EXPECT_EQ(preview->pageCount(), 1);
                screenshot(preview, "person-TRTFPreviewForm");
                press(Qt::Key_O, Qt::AltModifier);
            });
            press(Qt::Key_P, Qt::AltModifier);
            settle();
            // Page Properties from the Settings menu, closed with Esc.
            whenActive<TWPPageProp>([](TWPPageProp* page) {
                screenshot(page, "person-TWPPageProp");
                press(Qt::Key_Escape);
            });
            chooseMenu(design, "Settings/Page Settings");
            settle();
            screenshot(design, "person-TLetterDesign");
            press(Qt::Key_D, Qt::AltModifier);  // the description, "{untitled}" selected
            EXPECT_EQ(QApplication::focusWidget(), design->Description);
            type("Club news");
            press(Qt::Key_O, Qt::AltModifier);
        });
        press(Qt::Key_N, Qt::AltModifier);
        settle();
        ASSERT_EQ(letters->LetterList->topLevelItemCount(), 1);
        EXPECT_EQ(letters->LetterList->topLevelItem(0)->text(0), "Club news");
    });
    EXPECT_EQ(storedLetters(), (std::vector<std::pair<std::string, std::string>>{{"Club news", text.toStdString()}}));
    // The editor and the preview keep their placement, as the other windows do.
    QFile ini(Settings::GetIniFileName(home_));
    ASSERT_TRUE(ini.open(QIODevice::ReadOnly));
    const QByteArray settings = ini.readAll();
    EXPECT_TRUE(settings.contains("[TLetterDesign_Placement")) << settings.toStdString();
    EXPECT_TRUE(settings.contains("[TRTFPreviewForm_Placement")) << settings.toStdString();
}

TEST_F(LetterEditorTest, EscAndTheWindowsCloseLeaveTheLetterAsItWas) {
    withLetters([&](TqYLetters*) {
        whenActive<TLetterDesign>([](TLetterDesign*) {
            type("First words");
            press(Qt::Key_O, Qt::AltModifier);
        });
        press(Qt::Key_N, Qt::AltModifier);
        settle();
    });
    ASSERT_EQ(storedLetters().size(), 1u);

    // Changes are dropped by Esc, which is the editor's Cancel, and by closing the
    // window: the stored letter keeps its text.
    for (const bool escape : {true, false}) {
        withLetters([&](TqYLetters*) {
            whenActive<TLetterDesign>([escape](TLetterDesign* design) {
                EXPECT_EQ(design->document()->toPlainText(), "First words");
                press(Qt::Key_End, Qt::ControlModifier);
                type(" and more");
                if (escape) {
                    press(Qt::Key_Escape);
                } else {
                    design->close();
                }
            });
            press(Qt::Key_M, Qt::AltModifier);  // Modify
            settle();
        });
        EXPECT_EQ(storedLetters(), (std::vector<std::pair<std::string, std::string>>{{"{untitled}", "First words"}}))
            << (escape ? "after Esc" : "after closing the window");
    }
}

}  // namespace
}  // namespace person
