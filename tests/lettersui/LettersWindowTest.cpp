// The letters manager and the letter editor, driven through their widgets.

#include <gtest/gtest.h>

#include <QAction>
#include <QAbstractTextDocumentLayout>
#include <QColorDialog>
#include <QGroupBox>
#include <QMenuBar>
#include <QRegularExpression>
#include <QToolButton>
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
#include "LetterPage.h"
#include "Mnemonics.h"
#include "LetterPrint.h"
#include "RecordingProgress.h"
#include "RunQuillory.h"
#include "Screenshot.h"
#include "TReportPdfWriter.h"
#include "TWPPageProp.h"
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

// The Alt+letter keys of a window: its menus, the titles of its groups, its buttons and
// field labels (Mnemonics::controls) and the tool buttons outside a tool bar (those of
// a tool bar go by their tips and shortcuts). Fails for a button or a field label
// without one, and for a letter taken twice.
void expectMnemonics(QWidget* window) {
    std::map<QChar, QString> used;
    auto take = [&](const QString& caption, bool required) {
        const QChar key = Mnemonics::of(caption);
        if (key.isNull()) {
            if (required)
                ADD_FAILURE() << window->objectName().toStdString() << ": no mnemonic in \"" << caption.toStdString()
                              << "\"";
            return;
        }
        const auto [at, fresh] = used.emplace(key, caption);
        if (!fresh)
            ADD_FAILURE() << window->objectName().toStdString() << ": Alt+" << QString(key).toStdString()
                          << " in both \"" << at->second.toStdString() << "\" and \"" << caption.toStdString()
                          << "\"";
    };
    for (const QMenuBar* bar : window->findChildren<QMenuBar*>())
        for (const QAction* a : bar->actions()) take(a->text(), true);
    for (const QGroupBox* g : window->findChildren<QGroupBox*>()) take(g->title(), false);
    for (const QWidget* w : Mnemonics::controls(window))
        if (w->isVisibleTo(window)) take(Mnemonics::captionOf(w), true);
    for (const QToolButton* b : window->findChildren<QToolButton*>())
        if (!b->parentWidget()->inherits("QToolBar") && b->isVisibleTo(window)) take(b->text(), true);
}

// The words of a PDF with their boxes, in points, as poppler reads them.
struct PdfWord {
    QString text;
    double xMin, xMax;
};
std::vector<PdfWord> pdfWords(const std::string& pdf) {
    const QString html = QString::fromStdString(runCommand("pdftotext -bbox " + shellQuote(pdf) + " -"));
    std::vector<PdfWord> words;
    const QRegularExpression word(R"re(<word xMin="([\d.]+)" yMin="[\d.]+" xMax="([\d.]+)" yMax="[\d.]+">([^<]*)</word>)re");
    for (auto it = word.globalMatch(html); it.hasNext();) {
        const auto m = it.next();
        words.push_back({m.captured(3), m.captured(1).toDouble(), m.captured(2).toDouble()});
    }
    return words;
}

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

// The text a person types into the focused widget, one key at a time.
void type(const QString& text) { QTest::keyClicks(QApplication::focusWidget(), text); }

QAction* menuItem(QWidget* window, const QString& text) {
    for (QAction* a : window->findChildren<QAction*>())
        if (a->text() == text) return a;
    ADD_FAILURE() << "no item " << text.toStdString();
    return nullptr;
}

bool told(const ScriptedMessages& messages, const QString& text) {
    for (const ScriptedMessages::Request& r : messages.requests)
        if (r.text == text) return true;
    return false;
}

TEST_F(LettersWindowTest, LongParagraphPrintsWithinTheMarginsWhateverWordWrapShows) {
    ASSERT_TRUE(table_->appendBlank().ok());
    ASSERT_TRUE(table_->replace(table_->fieldIndex("LNAME"), "Lee").ok());
    ASSERT_TRUE(table_->commit().ok());
    TLetterDesign design(nullptr, table_.get());
    design.resize(1000, 600);
    design.show();
    QApplication::setActiveWindow(&design);
    // The editor opens on the text: typing goes into the letter.
    ASSERT_EQ(QApplication::focusWidget(), design.Editor);
    QStringList words;
    for (int i = 1; i <= 60; ++i) words << QString("word%1").arg(i, 2, 10, QLatin1Char('0'));
    type(words.join(' '));
    ASSERT_EQ(design.document()->toPlainText(), words.join(' '));
    auto lines = [&] {
        design.document()->documentLayout()->documentSize();  // lays the text out
        return design.document()->begin().layout()->lineCount();
    };
    EXPECT_EQ(lines(), 1);  // Word Wrap off: one long line on the screen
    screenshot(&design, "TLetterDesign");

    // On paper the paragraph wraps at the page's margins, every word on the sheet.
    const std::string pdf = dir_.file("letter.pdf");
    TReportPdfWriter report;
    report.setFileName(QString::fromStdString(pdf));
    RecordingProgress progress;
    ScriptedMessages messages;
    QString error;
    ASSERT_EQ(LetterPrint::PrintLetters(*table_, *design.document(), LetterPrint::Choice(), report, progress,
                                        messages, &error),
              JobResult::Done)
        << error.toStdString();
    QStringList printed;
    for (const PdfWord& w : pdfWords(pdf)) {
        printed << w.text;
        EXPECT_GE(w.xMin, 72 - 1) << w.text.toStdString();  // one-inch margins on a Letter sheet
        EXPECT_LE(w.xMax, 612 - 72 + 1) << w.text.toStdString();
    }
    EXPECT_EQ(printed, words);

    // Word Wrap on breaks the lines at the ruler's right margin, not at the window's
    // edge: the lines keep within the page's text width, in a wide window and a narrow one.
    design.WordWrapItem->trigger();
    const int wrapped = lines();
    EXPECT_GT(wrapped, 1);
    const QTextLayout* layout = design.document()->begin().layout();
    for (int i = 0; i < layout->lineCount(); ++i)
        EXPECT_LE(layout->lineAt(i).naturalTextWidth(), TwipsToDocument(LetterPage().textWidth()) + 0.5);
    design.resize(450, 600);
    QApplication::processEvents();
    EXPECT_EQ(lines(), wrapped);
    design.WordWrapItem->trigger();
    EXPECT_EQ(lines(), 1);
}

TEST_F(LettersWindowTest, TextAndBackgroundColoursComeFromTheToolbarAndAreStored) {
    TLetterDesign design(nullptr, nullptr);
    design.show();
    QApplication::setActiveWindow(&design);
    type("Plain ");
    auto choose = [&](QAction* item, const QColor& color) {
        onNextDialog<QColorDialog>([color](QColorDialog* d) {
            d->setCurrentColor(color);
            d->accept();
        });
        item->trigger();
        EXPECT_EQ(design.focusWidget(), design.Editor);  // back to the text
        QApplication::setActiveWindow(&design);  // as the window manager does once the dialog is gone
    };
    choose(design.TextColorItem, QColor(200, 0, 0));
    choose(design.BackColorItem, QColor(255, 255, 0));
    type("Loud");

    QString error;
    uint32_t stored = 0;
    ASSERT_TRUE(store_->SaveRichText(0, "Colours", *design.document(), &error, &stored)) << error.toStdString();
    QTextDocument back;
    ASSERT_TRUE(store_->LoadRichText(stored, &back, &error)) << error.toStdString();
    QTextCursor at(&back);
    at.setPosition(back.find("Loud").selectionStart() + 1);
    EXPECT_EQ(at.charFormat().foreground().color(), QColor(200, 0, 0));
    EXPECT_EQ(at.charFormat().background().color(), QColor(255, 255, 0));
    at.setPosition(2);
    EXPECT_FALSE(at.charFormat().hasProperty(QTextFormat::ForegroundBrush));
    EXPECT_FALSE(at.charFormat().hasProperty(QTextFormat::BackgroundBrush));
}

TEST_F(LettersWindowTest, PagePropertiesKeepTheOtherEditsThroughABadValueAndRememberTheUnit) {
    ScriptedMessages messages;
    TLetterDesign design(nullptr, nullptr);
    design.show();
    QApplication::setActiveWindow(&design);
    QAction* pageSettings = menuItem(&design, "Pa&ge Settings");
    ASSERT_TRUE(pageSettings);
    onNextDialog<TWPPageProp>([&](TWPPageProp* d) {
        EXPECT_EQ(d->windowTitle(), "Page Properties");
        QStringList groups;
        for (const QGroupBox* g : d->findChildren<QGroupBox*>()) groups << g->title();
        EXPECT_EQ(groups, (QStringList{" Paper Size ", " Margins "}));
        EXPECT_EQ(d->Unit->currentText(), "Inch");
        EXPECT_EQ(d->PaperWidth->text(), "8.50");
        EXPECT_EQ(d->PaperHeight->text(), "11.00");
        EXPECT_EQ(d->MarginLeft->text(), "1.00");
        screenshot(d, "TWPPageProp");

        d->MarginLeft->setFocus();
        d->MarginLeft->selectAll();
        type("1.5");
        QTest::keyClick(QApplication::focusWidget(), Qt::Key_Tab);  // on to "Right"
        d->MarginTop->setFocus();
        d->MarginTop->selectAll();
        type("abc");
        QTest::keyClick(QApplication::focusWidget(), Qt::Key_Return);
        EXPECT_TRUE(told(messages, "'abc' is not a valid floating point value"));
        EXPECT_TRUE(d->isVisible());  // still open, on the bad box, the other edit kept
        EXPECT_EQ(QApplication::focusWidget(), d->MarginTop);
        EXPECT_EQ(d->MarginLeft->text(), "1.5");
        type("0.5");
        d->Unit->setCurrentText("Cm");
        EXPECT_EQ(d->MarginLeft->text(), "3.81");
        EXPECT_EQ(d->MarginTop->text(), "1.27");
        EXPECT_EQ(d->PaperWidth->text(), "21.59");
        QTest::keyClick(QApplication::focusWidget(), Qt::Key_Return);
    });
    pageSettings->trigger();
    const LetterPage page = LetterPage::Of(*design.document());
    EXPECT_EQ(page.marginLeft, 2160);
    EXPECT_EQ(page.marginTop, 720);
    EXPECT_EQ(page.marginRight, 1440);
    EXPECT_EQ(page.paperWidth, 12240);

    // The unit confirmed last comes first the next time; a cancelled dialog does not
    // change it.
    onNextDialog<TWPPageProp>([](TWPPageProp* d) {
        EXPECT_EQ(d->Unit->currentText(), "Cm");
        d->Unit->setCurrentText("Twips");
        EXPECT_EQ(d->MarginLeft->text(), "2160");
        d->reject();
    });
    pageSettings->trigger();
    onNextDialog<TWPPageProp>([](TWPPageProp* d) {
        EXPECT_EQ(d->Unit->currentText(), "Cm");
        d->Unit->setCurrentText("Inch");
        d->accept();
    });
    pageSettings->trigger();
}

TEST_F(LettersWindowTest, EditorAndPreviewKeepTheirPlacement) {
    Settings settings(Settings::GetIniFileName(*home_));
    const QRect where(40, 30, 700, 500);
    {
        TLetterDesign design(&settings, table_.get());
        design.show();
        design.setGeometry(where);
        QTest::keyClick(&design, Qt::Key_Escape);
    }
    {
        TLetterDesign design(&settings, table_.get());
        design.show();
        EXPECT_EQ(design.geometry(), where);
        design.reject();
    }
    QTextDocument letter;
    RtfReader::Read("{\\rtf1 Dear [Last],}", &letter);
    const QRect there(20, 40, 600, 480);
    {
        TRTFPreviewForm preview(letter, *table_, &settings);
        preview.show();
        // The page shows the magnifier, not one of the system's cursors.
        EXPECT_EQ(preview.PagePanel->cursor().shape(), Qt::BitmapCursor);
        screenshot(&preview, "TRTFPreviewForm");
        preview.setGeometry(there);
        QTest::mouseClick(preview.OkButton, Qt::LeftButton);
    }
    TRTFPreviewForm preview(letter, *table_, &settings);
    preview.show();
    EXPECT_EQ(preview.geometry(), there);
}

TEST_F(LettersWindowTest, EveryButtonAndFieldOfTheLetterWindowsHasItsOwnMnemonic) {
    QString error;
    ASSERT_TRUE(store_->SaveRichText(0, "Welcome", QByteArray("{\\rtf1 Dear [First]}"), &error));
    TqYLetters letters(*store_, *table_, nullptr, true);
    expectMnemonics(&letters);
    letters.show();
    screenshot(&letters, "TqYLetters");
    TLetterDesign design(nullptr, table_.get());
    expectMnemonics(&design);
    TWPPageProp page{LetterPage()};
    expectMnemonics(&page);
    TParagraphPropDlg paragraph{ParagraphFormat()};
    expectMnemonics(&paragraph);
    paragraph.show();
    screenshot(&paragraph, "TParagraphPropDlg");
    paragraph.reject();
    TFindDialog find(design.Editor);
    find.open(true);
    expectMnemonics(&find);
    find.reject();
    QTextDocument letter;
    TRTFPreviewForm preview(letter, *table_, nullptr);
    expectMnemonics(&preview);
    if (SpellChecker::Available()) {
        SpellChecker checker(*home_);
        TSpellCheckDialog spell(design.Editor, checker);
        expectMnemonics(&spell);
        spell.show();
        screenshot(&spell, "TSpellCheckDialog");
    }
    // The merge field list is reached by its label.
    design.show();
    QApplication::setActiveWindow(&design);
    QTest::keyClick(QApplication::focusWidget(), Qt::Key_I, Qt::AltModifier);
    EXPECT_EQ(QApplication::focusWidget(), design.InsertField);
}

}  // namespace
