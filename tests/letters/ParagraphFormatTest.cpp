// Paragraph settings given to a letter's paragraphs, kept through RTF, and the
// default font kept in the settings file.

#include <gtest/gtest.h>

#include <QFile>
#include <QTextBlock>
#include <QTextCursor>
#include <QTextDocument>

#include "LetterFont.h"
#include "ParagraphFormat.h"
#include "RtfReader.h"
#include "RtfWriter.h"
#include "SettingKeys.h"
#include "Settings.h"
#include "TempDir.h"

namespace {

QTextCursor selectBlocks(QTextDocument& doc, int first, int last) {
    QTextCursor c(doc.findBlockByNumber(first));
    c.setPosition(doc.findBlockByNumber(last).position(), QTextCursor::KeepAnchor);
    return c;
}

ParagraphFormat blockAt(const QTextDocument& doc, int n) {
    return ParagraphFormat::Of(doc.findBlockByNumber(n).blockFormat());
}

TEST(ParagraphFormat, AppliedToOneParagraphSurvivesRtf) {
    QTextDocument doc;
    QTextCursor(&doc).insertText("First paragraph\nSecond paragraph");
    ParagraphFormat p;
    p.alignment = Qt::AlignJustify;
    p.firstIndent = 1080;  // half an inch past the left indent
    p.leftIndent = 720;
    p.rightIndent = 360;
    p.spaceBefore = 240;
    p.spaceAfter = 120;
    p.lineHeight = 360;
    p.applyTo(QTextCursor(doc.firstBlock()), ParagraphFormat::Of(doc.firstBlock().blockFormat()));
    EXPECT_EQ(blockAt(doc, 0), p);
    EXPECT_EQ(blockAt(doc, 1), ParagraphFormat());

    const QByteArray rtf = RtfWriter::Write(doc);
    EXPECT_TRUE(rtf.contains("\\fi360\\li720\\ri360\\sb240\\sa120")) << rtf.constData();
    QTextDocument back;
    RtfReader::Read(rtf, &back);
    ASSERT_EQ(back.blockCount(), 2);
    EXPECT_EQ(blockAt(back, 0), p);
    EXPECT_EQ(blockAt(back, 1), ParagraphFormat());
}

TEST(ParagraphFormat, ChangesOnlyWhatWasEditedAcrossASelectionInOneUndoStep) {
    QTextDocument doc;
    RtfReader::Read("{\\rtf1\\pard\\li720\\fi360\\sl360\\slmult1 One\\par\\pard\\li1440 Two\\par\\pard Three\\par}", &doc);
    ASSERT_GE(doc.blockCount(), 3);
    const ParagraphFormat one = blockAt(doc, 0), two = blockAt(doc, 1), three = blockAt(doc, 2);
    EXPECT_EQ(one.firstIndent, 1080);
    EXPECT_EQ(one.lineHeight, 360);  // one and a half lines, as twips of a 12-point line

    // More space before: every paragraph of the selection keeps its indents and the
    // first its proportional spacing.
    QTextCursor both = selectBlocks(doc, 0, 1);
    const ParagraphFormat shown = ParagraphFormat::At(both);
    ParagraphFormat edited = shown;
    edited.spaceBefore = 200;
    edited.applyTo(both, shown);
    EXPECT_EQ(blockAt(doc, 0).leftIndent, 720);
    EXPECT_EQ(blockAt(doc, 1).leftIndent, 1440);
    EXPECT_EQ(blockAt(doc, 1).spaceBefore, 200);
    EXPECT_EQ(doc.firstBlock().blockFormat().lineHeightType(), int(QTextBlockFormat::ProportionalHeight));
    EXPECT_EQ(blockAt(doc, 2), three);

    // A new left indent: the first line keeps its distance from it.
    edited = ParagraphFormat::At(both);
    const ParagraphFormat before = edited;
    edited.leftIndent = 360;
    edited.applyTo(both, before);
    EXPECT_EQ(blockAt(doc, 0).firstIndent, 720);
    EXPECT_EQ(blockAt(doc, 1).firstIndent, 360);

    // Each change is one undo step.
    doc.undo();
    doc.undo();
    EXPECT_EQ(blockAt(doc, 0), one);
    EXPECT_EQ(blockAt(doc, 1), two);
}

TEST(LetterFont, KeptInTheSettingsAndShownInTheCaption) {
    struct Case {
        LetterFont font;
        const char* caption;
    };
    const Case cases[] = {
        {{"Arial", 10, true, false}, "&Default Font: Arial, 10 pt , bold"},
        {{"Times New Roman", 12, false, false}, "&Default Font: Times New Roman, 12 pt "},
        {{"Courier", 9, true, true}, "&Default Font: Courier, 9 pt , bold, italic"},
    };
    TempDir dir;
    Settings settings(QString::fromStdString(dir.file("QUILLO.ini")));
    const LetterFont missing = LetterFont::Load(&settings);
    EXPECT_EQ(missing.caption(), "&Default Font: Arial, 10 pt ");
    for (const Case& c : cases) {
        EXPECT_EQ(c.font.caption(), c.caption);
        ASSERT_TRUE(c.font.Save(&settings));
        const LetterFont back = LetterFont::Load(&settings);
        EXPECT_EQ(back.caption(), c.caption);
    }
    EXPECT_EQ(settings.value(setting::kLetterFontName), "Courier");
    EXPECT_TRUE(settings.value(setting::kLetterFontItalic));

    // A size no font has falls back to the default rather than giving unreadable text.
    ASSERT_TRUE(settings.setValue(setting::kLetterFontSize, 0));
    EXPECT_EQ(LetterFont::Load(&settings).size, 10);
}

}  // namespace
