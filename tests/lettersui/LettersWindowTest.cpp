// The letters manager and the letter editor, driven through their widgets.

#include <gtest/gtest.h>

#include <QAction>
#include <QComboBox>
#include <QLabel>
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
#include "LetterStore.h"
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

}  // namespace
