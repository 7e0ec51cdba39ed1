// The letters manager and the letter editor, driven through their widgets.

#include <gtest/gtest.h>

#include <QAction>
#include <QComboBox>
#include <QLabel>
#include <QApplication>
#include <QCheckBox>
#include <QDialogButtonBox>
#include <QMouseEvent>
#include <QLineEdit>
#include <QListWidget>
#include <QPushButton>
#include <QRadioButton>
#include <QSpinBox>
#include <QTest>
#include <QTextBlock>
#include <QTextLayout>
#include <QTextDocument>
#include <QTextEdit>
#include <QTreeWidget>

#include "AddressFile.h"
#include "LetterRuler.h"
#include "LetterStore.h"
#include "NextDialog.h"
#include "ParagraphFormat.h"
#include "SettingKeys.h"
#include "TFindDialog.h"
#include "TParagraphPropDlg.h"
#include "PrinterDevice.h"
#include "ScriptedMessages.h"
#include "Settings.h"
#include "SpellChecker.h"
#include "LetterZoom.h"
#include "RtfReader.h"
#include "TLetterDesign.h"
#include "TRTFPreviewForm.h"
#include "TSpellCheckDialog.h"
#include "TempDir.h"
#include "TqYLetters.h"
#include "Table.h"

namespace {

class LettersWindowTest : public ::testing::Test {
  protected:
    void SetUp() override {
        PrinterDevice::setPrinterListForTesting(QStringList{"PDF File"});
        home_ = std::make_unique<AppHome>(QString::fromStdString(dir_.path()));
        QString error;
        ASSERT_TRUE(home_->ensureExists(&error));
        ASSERT_TRUE(LetterStore::Open(*home_, &store_, &error)) << error.toStdString();
        const QString path = home_->file("ADDR.DBF");
        ASSERT_TRUE(AddressFile::CreateAddressFile(path, FieldLengths(), &error)) << error.toStdString();
        ASSERT_TRUE(AddressFile::OpenTableFile(path, &table_, &error)) << error.toStdString();
    }
    void TearDown() override { PrinterDevice::setPrinterListForTesting(std::nullopt); }

    TempDir dir_;
    std::unique_ptr<AppHome> home_;
    std::unique_ptr<LetterStore> store_;
    std::unique_ptr<xbase::Table> table_;
};

TEST_F(LettersWindowTest, DeletingTheLastLetterDisablesTheButtonsAndCloneCopiesIt) {
    QString error;
    ASSERT_TRUE(store_->SaveRichText(0, "Welcome", QByteArray("{\\rtf1 Dear [First]}"), &error));
    ScriptedMessages messages;
    TqYLetters dialog(*store_, *table_, nullptr, false);
    EXPECT_EQ(dialog.windowTitle(), "Print Letters");
    EXPECT_EQ(dialog.LetterList->headerItem()->text(0), "Letter Description");
    EXPECT_TRUE(dialog.CurrentRecord->isChecked());
    EXPECT_FALSE(dialog.FilterRecords->isEnabled());
    EXPECT_EQ(dialog.Copies->value(), 1);
    EXPECT_EQ(dialog.Copies->maximum(), 999);
    EXPECT_TRUE(dialog.ModifyButton->isEnabled());

    messages.answers = {true};
    QTest::mouseClick(dialog.CloneButton, Qt::LeftButton);
    EXPECT_TRUE(messages.wasAsked("Clone \"Welcome\"?"));
    ASSERT_EQ(dialog.LetterList->topLevelItemCount(), 2);
    EXPECT_EQ(dialog.LetterList->topLevelItem(1)->text(0), "Clone of Welcome");

    for (int i = 0; i < 2; ++i) {
        messages.answers = {true};
        dialog.LetterList->setCurrentItem(dialog.LetterList->topLevelItem(0));
        QTest::mouseClick(dialog.DeleteButton, Qt::LeftButton);
    }
    EXPECT_TRUE(messages.wasAsked("Delete \"Welcome\"?"));
    EXPECT_EQ(dialog.LetterList->topLevelItemCount(), 0);
    for (QWidget* w : std::initializer_list<QWidget*>{dialog.ModifyButton, dialog.CloneButton, dialog.PrintButton,
                                                      dialog.PreviewButton, dialog.DeleteButton, dialog.LetterList})
        EXPECT_FALSE(w->isEnabled()) << w->objectName().toStdString();
    EXPECT_TRUE(dialog.NewButton->isEnabled());
    if (qEnvironmentVariableIsSet("QUILLORY_SHOTS")) dialog.grab().save("TqYLetters.png");
}

TEST_F(LettersWindowTest, EditorInsertsFieldsAndPageBreaks) {
    ScriptedMessages messages;
    TLetterDesign design(nullptr, table_.get());
    EXPECT_EQ(design.windowTitle(), "Letter Designer");
    EXPECT_EQ(design.WordWrapItem->text(), "&Word Wrap is OFF");
    EXPECT_EQ(design.Editor->lineWrapMode(), QTextEdit::NoWrap);
    EXPECT_EQ(design.InsertField->count(), 25);
    EXPECT_EQ(design.InsertField->itemText(1), "Name and Address");

    design.InsertField->setCurrentText("Long Date");
    emit design.InsertField->activated(design.InsertField->currentIndex());
    EXPECT_EQ(design.document()->toPlainText(), "[Long Date]");

    design.WordWrapItem->trigger();
    EXPECT_EQ(design.WordWrapItem->text(), "&Word Wrap is ON");

    messages.answers = {true};
    for (QAction* a : design.findChildren<QAction*>())
        if (a->text() == "&Insert Page Break") a->trigger();
    EXPECT_TRUE(messages.wasAsked("Insert a page break?"));
    ASSERT_EQ(design.document()->blockCount(), 2);
    EXPECT_TRUE(design.document()->lastBlock().blockFormat().pageBreakPolicy() & QTextFormat::PageBreak_AlwaysBefore);
    if (qEnvironmentVariableIsSet("QUILLORY_SHOTS")) {
        design.setHome(*home_);
        QTextCursor(design.document()).insertText("Misspelt wrods are underlined. ");
        design.show();
        design.grab().save("TLetterDesign.png");
    }
}

TEST_F(LettersWindowTest, SpellCheckReplacesSkipsAndLearnsWords) {
    if (!SpellChecker::Available()) GTEST_SKIP() << "the en_US dictionary is not installed";
    ScriptedMessages messages;
    QTextEdit editor;
    QTextCharFormat bold;
    bold.setFontWeight(QFont::Bold);
    QTextCursor(editor.document()).insertText("We recieve 12 letters from Zorblax and Qwyzzt.", bold);
    SpellChecker checker(*home_);
    TSpellCheckDialog dialog(&editor, checker);
    EXPECT_EQ(dialog.windowTitle(), "Spell Check");
    ASSERT_TRUE(dialog.start());
    EXPECT_EQ(dialog.Word->text(), "recieve");
    EXPECT_EQ(dialog.ReplaceWith->text(), "receive");
    EXPECT_LE(dialog.Suggestions->count(), 10);
    QTest::mouseClick(dialog.ReplaceButton, Qt::LeftButton);
    EXPECT_EQ(dialog.Word->text(), "Zorblax");
    QTest::mouseClick(dialog.SkipButton, Qt::LeftButton);
    EXPECT_EQ(dialog.Word->text(), "Qwyzzt");
    QTest::mouseClick(dialog.AddButton, Qt::LeftButton);
    EXPECT_TRUE(checker.isKnown("Qwyzzt"));
    EXPECT_EQ(editor.toPlainText(), "We receive 12 letters from Zorblax and Qwyzzt.");
    QTextCursor at(editor.document());
    at.setPosition(5);
    EXPECT_EQ(at.charFormat().fontWeight(), QFont::Bold);  // the replaced word keeps its format
    EXPECT_TRUE(messages.texts().join("\n").contains("Spell check complete")) << messages.texts().join("\n").toStdString();
}

TEST_F(LettersWindowTest, UnknownWordsAreUnderlinedAsOneTypes) {
    if (!SpellChecker::Available()) GTEST_SKIP() << "the en_US dictionary is not installed";
    TLetterDesign design(nullptr, nullptr);
    design.setHome(*home_);
    QTest::keyClicks(design.Editor, "Dear [First], good wrods");
    const QTextBlock block = design.document()->firstBlock();
    std::vector<QString> underlined;
    for (const QTextLayout::FormatRange& r : block.layout()->formats())
        if (r.format.underlineStyle() == QTextCharFormat::SpellCheckUnderline)
            underlined.push_back(block.text().mid(r.start, r.length));
    EXPECT_EQ(underlined, std::vector<QString>{"wrods"});  // neither "First" in its brackets nor known words
}

TEST(LetterZoom, StepsStopAtTheirLimits) {
    std::vector<int> in{100}, out{100};
    for (int i = 0; i < 3; ++i) in.push_back(LetterZoom::In(in.back()));
    for (int i = 0; i < 4; ++i) out.push_back(LetterZoom::Out(out.back()));
    EXPECT_EQ(in, (std::vector<int>{100, 125, 156, 156}));
    EXPECT_EQ(out, (std::vector<int>{100, 75, 56, 42, 42}));
    EXPECT_EQ(LetterZoom::Fit(408, 816), 50);
}

TEST_F(LettersWindowTest, PreviewPagesThroughTheLetterAndTheRecords) {
    for (const char* name : {"Adams", "Baker"}) {
        ASSERT_TRUE(table_->appendBlank().ok());
        ASSERT_TRUE(table_->replace(table_->fieldIndex("LNAME"), name).ok());
        ASSERT_TRUE(table_->commit().ok());
    }
    ASSERT_TRUE(table_->goTop().ok());
    QTextDocument letter;
    RtfReader::Read("{\\rtf1 Dear [Last],\\page Page two}", &letter);
    TRTFPreviewForm preview(letter, *table_, nullptr);
    preview.show();
    EXPECT_EQ(preview.windowTitle(), "Preview Letters Page 1");
    EXPECT_EQ(preview.pageCount(), 2);
    QTest::mouseClick(preview.PrevPageButton, Qt::LeftButton);  // nothing before the first page
    EXPECT_EQ(preview.pageNumber(), 1);
    QTest::mouseClick(preview.NextPageButton, Qt::LeftButton);
    EXPECT_EQ(preview.windowTitle(), "Preview Letters Page 2");
    QTest::mouseClick(preview.NextPageButton, Qt::LeftButton);  // nothing after the last
    EXPECT_EQ(preview.pageNumber(), 2);

    preview.setZoom(100);
    QTest::mouseClick(preview.PagePanel, Qt::LeftButton);
    EXPECT_EQ(preview.zoom(), 125);
    QTest::mouseClick(preview.PagePanel, Qt::RightButton);
    EXPECT_EQ(preview.zoom(), 93);

    QTest::mouseClick(preview.NextButton, Qt::LeftButton);
    EXPECT_EQ(table_->recNo(), 2u);  // the preview moves the table and leaves it there
    EXPECT_EQ(preview.pageNumber(), 1);
    EXPECT_EQ(preview.windowTitle(), "Preview Letters Page 1");
    if (qEnvironmentVariableIsSet("QUILLORY_SHOTS")) preview.grab().save("TRTFPreviewForm.png");
}

TEST_F(LettersWindowTest, ParagraphDialogShowsUnitsAndAppliesToTheSelectedParagraphs) {
    ScriptedMessages messages;
    TLetterDesign design(nullptr, nullptr);
    RtfReader::Read("{\\rtf1\\pard\\li720 One\\par Two\\par\\pard Three\\par}", design.document());
    QTextCursor both(design.document());
    both.setPosition(design.document()->findBlockByNumber(1).position(), QTextCursor::KeepAnchor);
    design.Editor->setTextCursor(both);

    onNextDialog<TParagraphPropDlg>([](TParagraphPropDlg* d) {
        EXPECT_EQ(d->windowTitle(), "Paragraph Properties");
        EXPECT_EQ(d->LeftIndent->text(), "0.50");
        EXPECT_EQ(d->FirstLine->currentText(), "Same as Left Indent");
        EXPECT_FALSE(d->FirstIndent->isEnabled());
        d->Cm->setChecked(true);
        EXPECT_EQ(d->LeftIndent->text(), "1.27");
        EXPECT_EQ(d->LeftIndent->toolTip(), "Specify left indent for the paragraph in centimeters");
        // Typed in centimetres; the first line follows the left indent.
        d->LeftIndent->clear();
        QTest::keyClicks(d->LeftIndent, "2.54");
        EXPECT_EQ(d->FirstIndent->text(), "2.54");
        QTest::keyClicks(d->LineHeight, "x");  // not a number: refused on OK
        QTest::mouseClick(d->findChild<QDialogButtonBox*>()->button(QDialogButtonBox::Ok), Qt::LeftButton);
        EXPECT_TRUE(d->isVisible());
        d->LineHeight->setText("");
        QTest::keyClicks(d->LineHeight, "12");
        d->Alignment->setCurrentText("Center");
        if (qEnvironmentVariableIsSet("QUILLORY_SHOTS")) d->grab().save("TParagraphPropDlg.png");
        d->accept();
    });
    design.ParagraphItem->trigger();
    EXPECT_TRUE(messages.texts().join("\n").contains("is not a valid floating point value"));
    for (int n : {0, 1}) {
        const ParagraphFormat p = ParagraphFormat::Of(design.document()->findBlockByNumber(n).blockFormat());
        EXPECT_EQ(p.leftIndent, 1440) << n;
        EXPECT_EQ(p.firstIndent, 1440) << n;
        EXPECT_EQ(p.lineHeight, 240) << n;
        EXPECT_EQ(p.alignment, Qt::AlignHCenter) << n;
    }
    EXPECT_EQ(ParagraphFormat::Of(design.document()->findBlockByNumber(2).blockFormat()), ParagraphFormat());

    // Cancel applies nothing.
    onNextDialog<TParagraphPropDlg>([](TParagraphPropDlg* d) {
        d->RightIndent->setText("1");
        emit d->RightIndent->textEdited("1");
        d->reject();
    });
    design.ParagraphItem->trigger();
    EXPECT_EQ(ParagraphFormat::At(design.Editor->textCursor()).rightIndent, 0);
}

TEST_F(LettersWindowTest, RulerFollowsTheCursorAndDraggingAMarkerIndentsInOneUndoStep) {
    TLetterDesign design(nullptr, nullptr);
    RtfReader::Read("{\\rtf1\\margl1800\\pard\\li720\\fi360 One\\par\\pard Two\\par}", design.document());
    design.show();
    ASSERT_TRUE(QTest::qWaitForWindowExposed(&design));
    LetterRuler* ruler = design.Ruler;
    design.Editor->moveCursor(QTextCursor::Start);
    EXPECT_EQ(ruler->leftIndent(), 720);
    EXPECT_EQ(ruler->firstIndent(), 1080);
    design.Editor->moveCursor(QTextCursor::End);
    EXPECT_EQ(ruler->leftIndent(), 0);
    EXPECT_EQ(ruler->firstIndent(), 0);

    // Drag the left marker of the first paragraph one inch to the right: the first
    // line moves with it.
    design.Editor->moveCursor(QTextCursor::Start);
    const int y = ruler->height() - 5;
    const QPoint from(ruler->xOf(720), y), to(ruler->xOf(720 + 1440), y);
    ASSERT_EQ(ruler->markerAt(from), LetterRuler::Marker::Left);
    QTest::mousePress(ruler, Qt::LeftButton, {}, from);
    QMouseEvent move(QEvent::MouseMove, to, ruler->mapToGlobal(to), Qt::NoButton, Qt::LeftButton, {});
    QApplication::sendEvent(ruler, &move);
    QTest::mouseRelease(ruler, Qt::LeftButton, {}, to);
    ParagraphFormat p = ParagraphFormat::Of(design.document()->firstBlock().blockFormat());
    EXPECT_EQ(p.leftIndent, 2160);
    EXPECT_EQ(p.firstIndent, 2520);
    EXPECT_EQ(ruler->leftIndent(), 2160);

    design.document()->undo();
    p = ParagraphFormat::Of(design.document()->firstBlock().blockFormat());
    EXPECT_EQ(p.leftIndent, 720);
    EXPECT_EQ(p.firstIndent, 1080);

    if (qEnvironmentVariableIsSet("QUILLORY_SHOTS")) design.grab().save("TLetterDesignRuler.png");
}

TEST_F(LettersWindowTest, FindAndReplaceDialogsWorkFromTheKeyboard) {
    ScriptedMessages messages;
    TLetterDesign design(nullptr, nullptr);
    design.document()->setPlainText("Dear friend, a Friend indeed, friends.");
    design.show();
    ASSERT_TRUE(QTest::qWaitForWindowExposed(&design));
    // Shortcuts reach the editor's window while it is the active one.
    auto activate = [&] {
        design.activateWindow();
        QApplication::setActiveWindow(&design);
        design.Editor->setFocus();
    };
    activate();
    design.Editor->moveCursor(QTextCursor::Start);
    QTest::keyClick(design.Editor, Qt::Key_F, Qt::ControlModifier);
    auto* find = design.findChild<TFindDialog*>();
    ASSERT_NE(find, nullptr);
    EXPECT_TRUE(find->isVisible());
    EXPECT_EQ(find->windowTitle(), "Find");
    EXPECT_FALSE(find->ReplaceWith->isVisible());
    QTest::keyClicks(find->FindWhat, "friend");
    find->WholeWord->setChecked(true);
    QTest::keyClick(find->FindWhat, Qt::Key_Return);  // "Find Next" is the default button
    EXPECT_EQ(design.Editor->textCursor().selectionStart(), 5);
    activate();
    QTest::keyClick(design.Editor, Qt::Key_F3);
    EXPECT_EQ(design.Editor->textCursor().selectionStart(), 15);
    QTest::keyClick(design.Editor, Qt::Key_F3);  // "friends" is not the whole word
    EXPECT_TRUE(messages.texts().join("\n").contains("Cannot find \"friend\""));
    EXPECT_EQ(design.Editor->textCursor().selectionStart(), 15);

    activate();
    QTest::keyClick(design.Editor, Qt::Key_H, Qt::ControlModifier);
    EXPECT_EQ(find->windowTitle(), "Replace");
    EXPECT_TRUE(find->ReplaceWith->isVisible());
    EXPECT_EQ(find->FindWhat->text(), "Friend");  // the selection
    find->WholeWord->setChecked(false);
    find->MatchCase->setChecked(true);
    QTest::keyClicks(find->ReplaceWith, "Pal");
    QTest::mouseClick(find->ReplaceButton, Qt::LeftButton);
    EXPECT_EQ(design.document()->toPlainText(), "Dear friend, a Pal indeed, friends.");
    find->FindWhat->setText("friend");
    QTest::mouseClick(find->ReplaceAllButton, Qt::LeftButton);
    EXPECT_EQ(design.document()->toPlainText(), "Dear Pal, a Pal indeed, Pals.");
    EXPECT_TRUE(messages.texts().join("\n").contains("2 occurrences replaced"));
    design.document()->undo();
    EXPECT_EQ(design.document()->toPlainText(), "Dear friend, a Pal indeed, friends.");
    if (qEnvironmentVariableIsSet("QUILLORY_SHOTS")) find->grab().save("TFindDialog.png");
}

TEST_F(LettersWindowTest, DefaultFontComesFromTheSettingsAndIsWrittenBack) {
    Settings settings(Settings::GetIniFileName(*home_));
    ASSERT_TRUE(settings.write({{setting::kLetterFontName, QString("DejaVu Serif")},
                                {setting::kLetterFontSize, 12},
                                {setting::kLetterFontBold, true}}));
    TLetterDesign design(&settings, nullptr);
    EXPECT_EQ(design.DefaultFontItem->text(), "&Default Font: DejaVu Serif, 12 pt , bold");
    design.setNewLetter(true);
    QTest::keyClicks(design.Editor, "Hello");
    QTextCursor at(design.document());
    at.setPosition(2);
    EXPECT_EQ(at.charFormat().fontFamilies().toStringList().value(0), "DejaVu Serif");
    EXPECT_EQ(at.charFormat().fontPointSize(), 12);
    EXPECT_EQ(at.charFormat().fontWeight(), QFont::Bold);

    QFont chosen("DejaVu Sans", 14);
    chosen.setItalic(true);
    design.DefaultFontChosen(chosen);
    EXPECT_EQ(design.DefaultFontItem->text(), "&Default Font: DejaVu Sans, 14 pt , italic");
    EXPECT_EQ(settings.value(setting::kLetterFontName), "DejaVu Sans");
    EXPECT_EQ(settings.value(setting::kLetterFontSize), 14);
    EXPECT_FALSE(settings.value(setting::kLetterFontBold));
    EXPECT_TRUE(settings.value(setting::kLetterFontItalic));
    EXPECT_TRUE(design.Editor->currentCharFormat().fontItalic());

    // A font dialog that was cancelled changes nothing but still writes the values.
    ASSERT_TRUE(settings.setValue(setting::kLetterFontSize, 8));
    design.DefaultFontChosen(std::nullopt);
    EXPECT_EQ(settings.value(setting::kLetterFontSize), 14);
}

TEST_F(LettersWindowTest, PrinterChosenInTheDialogHoldsOnlyWhileItIsOpen) {
    PrinterDevice::setPrinterListForTesting(QStringList{"PDF File", "Office Laser"});
    PrinterDevice::discard();
    PrinterDevice& device = PrinterDevice::instance();
    const int before = device.printerIndex();
    ASSERT_GE(before, 0);
    const int other = before == 0 ? 1 : 0;
    {
        TqYLetters dialog(*store_, *table_, nullptr, false);
        dialog.show();
        ASSERT_TRUE(device.setPrinterIndex(other));
        dialog.PrinterName->setText(device.printerName());
        QTest::mouseClick(dialog.OkButton, Qt::LeftButton);
        EXPECT_FALSE(dialog.isVisible());
        EXPECT_EQ(device.printerIndex(), before);  // on closing, not only when destroyed
        dialog.show();
        ASSERT_TRUE(device.setPrinterIndex(other));
        QTest::keyClick(&dialog, Qt::Key_Escape);
        EXPECT_EQ(device.printerIndex(), before);
    }
    EXPECT_EQ(device.printerIndex(), before);
}

}  // namespace
