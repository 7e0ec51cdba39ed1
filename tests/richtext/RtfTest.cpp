// The RTF reader and writer: formats and page settings survive a round trip, hand-made
// files in the published format read as their text says, and damaged input never
// crashes or hangs.

#include <gtest/gtest.h>

#include <QRandomGenerator>
#include <QTextBlock>
#include <QTextCursor>
#include <QTextDocument>
#include <QTextFragment>

#include "LetterPage.h"
#include "LetterText.h"
#include "RtfReader.h"
#include "RtfWriter.h"

namespace {

QTextDocument* read(const QByteArray& rtf, QTextDocument* doc) {
    RtfReader::Read(rtf, doc);
    return doc;
}

QString textOf(const QByteArray& rtf) {
    QTextDocument doc;
    RtfReader::Read(rtf, &doc);
    return doc.toPlainText();
}

// The character format at the first occurrence of `text`.
QTextCharFormat formatAt(const QTextDocument& doc, const QString& text) {
    const QTextCursor found = doc.find(text);
    EXPECT_FALSE(found.isNull()) << text.toStdString();
    QTextCursor c(const_cast<QTextDocument*>(&doc));
    c.setPosition(found.selectionStart() + 1);
    return c.charFormat();
}

QTextBlock blockWith(const QTextDocument& doc, const QString& text) {
    return doc.find(text).block();
}

TEST(RtfRoundTrip, KeepsCharacterParagraphAndPageFormats) {
    QTextDocument doc;
    QTextCursor c(&doc);
    QTextCharFormat plain;
    plain.setFontFamilies(QStringList{"Liberation Serif"});
    plain.setFontPointSize(12);
    QTextCharFormat loud = plain;
    loud.setFontFamilies(QStringList{"Liberation Sans"});
    loud.setFontPointSize(18);
    loud.setFontWeight(QFont::Bold);
    loud.setFontItalic(true);
    loud.setFontUnderline(true);
    loud.setForeground(QColor(200, 10, 30));
    loud.setBackground(QColor(250, 250, 0));

    QTextBlockFormat centred;
    centred.setAlignment(Qt::AlignHCenter);
    centred.setTopMargin(TwipsToDocument(240));
    centred.setBottomMargin(TwipsToDocument(120));
    c.setBlockFormat(centred);
    c.insertText("Dear ", plain);
    c.insertText("Friend", loud);

    QTextBlockFormat indented;
    indented.setAlignment(Qt::AlignJustify);
    indented.setLeftMargin(TwipsToDocument(720));
    indented.setRightMargin(TwipsToDocument(360));
    indented.setTextIndent(TwipsToDocument(-360));
    indented.setLineHeight(TwipsToDocument(480), QTextBlockFormat::FixedHeight);
    indented.setTabPositions({QTextOption::Tab(TwipsToDocument(2880), QTextOption::RightTab)});
    c.insertBlock(indented);
    c.insertText(QString("Caf\u00e9 \u20ac5\tpaid {in} \\full\u2028\u0141\u00f3d\u017a"), plain);

    QTextBlockFormat secondPage;
    secondPage.setAlignment(Qt::AlignRight);
    secondPage.setPageBreakPolicy(QTextFormat::PageBreak_AlwaysBefore);
    secondPage.setLineHeight(150, QTextBlockFormat::ProportionalHeight);
    c.insertBlock(secondPage);
    c.insertText("Page two", plain);

    LetterPage page;
    page.paperWidth = 11906;
    page.paperHeight = 16838;
    page.marginLeft = 1134;
    page.marginRight = 850;
    page.marginTop = 720;
    page.marginBottom = 1000;
    page.applyTo(&doc);

    const QByteArray rtf = RtfWriter::Write(doc);
    for (const char ch : rtf) ASSERT_LT(static_cast<unsigned char>(ch), 0x80) << "the RTF is 7-bit";

    QTextDocument back;
    read(rtf, &back);
    EXPECT_EQ(back.toPlainText(), doc.toPlainText());
    EXPECT_EQ(LetterPage::Of(back), page);
    ASSERT_EQ(back.blockCount(), 3);

    const QTextCharFormat f = formatAt(back, "Friend");
    EXPECT_EQ(f.fontFamilies().toStringList().value(0), "Liberation Sans");
    EXPECT_EQ(f.fontPointSize(), 18);
    EXPECT_EQ(f.fontWeight(), QFont::Bold);
    EXPECT_TRUE(f.fontItalic());
    EXPECT_TRUE(f.fontUnderline());
    EXPECT_EQ(f.foreground().color(), QColor(200, 10, 30));
    EXPECT_EQ(f.background().color(), QColor(250, 250, 0));
    const QTextCharFormat p = formatAt(back, "Dear");
    EXPECT_EQ(p.fontFamilies().toStringList().value(0), "Liberation Serif");
    EXPECT_EQ(p.fontPointSize(), 12);
    EXPECT_NE(p.fontWeight(), QFont::Bold);
    EXPECT_FALSE(p.fontUnderline());

    const QTextBlockFormat b1 = back.begin().blockFormat();
    EXPECT_EQ(b1.alignment() & Qt::AlignHorizontal_Mask, Qt::AlignHCenter);
    EXPECT_EQ(DocumentToTwips(b1.topMargin()), 240);
    EXPECT_EQ(DocumentToTwips(b1.bottomMargin()), 120);
    const QTextBlockFormat b2 = back.begin().next().blockFormat();
    EXPECT_EQ(b2.alignment() & Qt::AlignHorizontal_Mask, Qt::AlignJustify);
    EXPECT_EQ(DocumentToTwips(b2.leftMargin()), 720);
    EXPECT_EQ(DocumentToTwips(b2.rightMargin()), 360);
    EXPECT_EQ(DocumentToTwips(b2.textIndent()), -360);
    EXPECT_EQ(b2.lineHeightType(), QTextBlockFormat::FixedHeight);
    EXPECT_EQ(DocumentToTwips(b2.lineHeight()), 480);
    ASSERT_EQ(b2.tabPositions().size(), 1);
    EXPECT_EQ(DocumentToTwips(b2.tabPositions()[0].position), 2880);
    EXPECT_EQ(b2.tabPositions()[0].type, QTextOption::RightTab);
    EXPECT_FALSE(b2.pageBreakPolicy() & QTextFormat::PageBreak_AlwaysBefore);
    const QTextBlockFormat b3 = back.lastBlock().blockFormat();
    EXPECT_TRUE(b3.pageBreakPolicy() & QTextFormat::PageBreak_AlwaysBefore);
    EXPECT_EQ(b3.alignment() & Qt::AlignHorizontal_Mask, Qt::AlignRight);
    EXPECT_EQ(b3.lineHeightType(), QTextBlockFormat::ProportionalHeight);
    EXPECT_EQ(b3.lineHeight(), 150);

    // Written again, the text is the same bytes: nothing drifts from one save to the next.
    EXPECT_EQ(RtfWriter::Write(back), rtf);
}

TEST(RtfRoundTrip, KeepsTextAndBackgroundColoursRunByRun) {
    // Each run with the colours it is given; an invalid colour is none (automatic).
    struct Run {
        const char* text;
        QColor foreground, background;
    };
    const Run runs[] = {
        {"Red ", QColor(200, 0, 0), QColor()},
        {"Black ", QColor(0, 0, 0), QColor()},  // chosen black is not "automatic"
        {"Plain ", QColor(), QColor()},          // after coloured text: the colours end
        {"Marked ", QColor(), QColor(255, 255, 0)},
        {"Both ", QColor(255, 255, 255), QColor(0, 0, 128)},
        {"RedAgain", QColor(200, 0, 0), QColor(255, 255, 0)},
    };
    QTextDocument doc;
    QTextCursor c(&doc);
    for (const Run& r : runs) {
        QTextCharFormat f;
        if (r.foreground.isValid()) f.setForeground(r.foreground);
        if (r.background.isValid()) f.setBackground(r.background);
        c.insertText(r.text, f);
    }
    const QByteArray rtf = RtfWriter::Write(doc);
    // One table entry per colour, however often it is used.
    EXPECT_EQ(rtf.count("\\red200\\green0\\blue0;"), 1) << rtf.toStdString();

    QTextDocument back;
    read(rtf, &back);
    EXPECT_EQ(back.toPlainText(), doc.toPlainText());
    for (const Run& r : runs) {
        SCOPED_TRACE(r.text);
        const QTextCharFormat f = formatAt(back, QString(r.text).trimmed());
        EXPECT_EQ(f.hasProperty(QTextFormat::ForegroundBrush), r.foreground.isValid());
        if (r.foreground.isValid()) EXPECT_EQ(f.foreground().color(), r.foreground);
        EXPECT_EQ(f.hasProperty(QTextFormat::BackgroundBrush), r.background.isValid());
        if (r.background.isValid()) EXPECT_EQ(f.background().color(), r.background);
    }
    EXPECT_EQ(RtfWriter::Write(back), rtf);
}

TEST(RtfRoundTrip, NewLetterHasLetterPaperAndOneInchMargins) {
    QTextDocument doc;
    read("", &doc);
    const LetterPage page = LetterPage::Of(doc);
    EXPECT_EQ(page.paperWidth, 12240);
    EXPECT_EQ(page.paperHeight, 15840);
    EXPECT_EQ(page.marginLeft, 1440);
    EXPECT_EQ(page.marginBottom, 1440);
}

// Files written after the published description of the format: code pages, \u with
// its fallback, and the groups a reader must skip.
TEST(RtfReader, ReadsCodePagesAndUnicode) {
    struct Case {
        const char* what;
        QByteArray rtf;
        QString text;
    };
    const Case cases[] = {
        {"Windows-1252 escapes", R"({\rtf1\ansi\ansicpg1252 Caf\'e9 \'80 \'93q\'94})", QString("Caf\u00e9 \u20ac \u201cq\u201d")},
        {"\\ansicpg1250", R"({\rtf1\ansi\ansicpg1250 \'b9\'9c\'bf})", QString("\u0105\u015b\u017c")},
        {"font charset overrides the document code page",
         R"({\rtf1\ansi\ansicpg1252{\fonttbl{\f0 Arial;}{\f1\fcharset204 Arial Cyr;}}\f1 \'cf\'f0\'e8\'e2\'e5\'f2 \f0\'e9})",
         QString("\u041f\u0440\u0438\u0432\u0435\u0442 \u00e9")},
        {"double-byte Shift-JIS", R"({\rtf1\ansi{\fonttbl{\f0\fcharset128 MS Mincho;}}\f0 \'82\'a0\'82\'a2})",
         QString("\u3042\u3044")},
        {"\\u with one fallback character", R"({\rtf1\ansi\uc1 A\u8364?B})", QString("A\u20acB")},
        {"\\uc2 skips two escapes", R"({\rtf1\ansi\uc2\u8364\'80\'80B})", QString("\u20acB")},
        {"negative \\u and surrogate pairs", R"({\rtf1\ansi\u-10179?\u-8704?\u-4064?})", QString("\U0001F600\uF020")},
        {"\\uc0: no fallback", R"({\rtf1\ansi\uc0\u233 x})", QString("\u00e9x")},
        {"the fallback ends with its group", R"({\rtf1\ansi{\uc3\u233 a}bc})", QString("\u00e9bc")},
        {"escaped specials and symbols", R"({\rtf1\ansi a\\b\{c\}\~d\emdash\ldblquote e\rdblquote})",
         QString("a\\b{c} d\u2014\u201ce\u201d")},  // plain text shows the no-break blank as a blank
        {"unescaped high bytes in the code page", QByteArray("{\\rtf1\\ansi\\ansicpg1252 na\xefve}"),
         QString("na\u00efve")},
    };
    for (const Case& c : cases) EXPECT_EQ(textOf(c.rtf), c.text) << c.what;
}

TEST(RtfReader, SkipsDestinationsItDoesNotShow) {
    const QByteArray rtf =
        R"({\rtf1\ansi\deff0{\fonttbl{\f0\froman{\*\panose 02020603050405020304}Times New Roman;}})"
        R"({\colortbl;\red255\green0\blue0;}{\stylesheet{\s0 Normal;}}{\info{\title Hidden}{\author Me}})"
        R"({\*\generator Some Writer 1.0;}{\header Header text\par})"
        R"(\pard Visible {\*\unknowndest with {nested} text}and )"
        R"({\field{\*\fldinst HYPERLINK "http://x"}{\fldrslt linked}} )"
        R"({\pict\wmetafile8 0102030405ff}{\*\bkmkstart b}end\par})";
    EXPECT_EQ(textOf(rtf), "Visible and linked end\n");
}

TEST(RtfReader, ReadsWhatWordProcessorsWrite) {
    // The shape of a word processor's letter: tables of fonts and colours, a
    // stylesheet, list text, a \pard per paragraph and \page inside a paragraph.
    const QByteArray rtf =
        "{\\rtf1\\ansi\\ansicpg1252\\deff0\\deflang1033{\\fonttbl{\\f0\\fswiss\\fprq2\\fcharset0 Arial;}"
        "{\\f1\\froman\\fprq2\\fcharset0 Times New Roman;}}\r\n"
        "{\\colortbl ;\\red0\\green0\\blue255;}\r\n"
        "{\\*\\generator Riched20 10.0.19041}\\viewkind4\\uc1 \r\n"
        "\\paperw12240\\paperh15840\\margl1800\\margr1800\\margt1440\\margb1440 \r\n"
        "\\pard\\qc\\sa200\\sl276\\slmult1\\f0\\fs28\\b Heading\\b0\\par\r\n"
        "\\pard\\fi-360\\li720\\cf1\\f1\\fs24 {\\listtext\\'b7\\tab}Item one\\par\r\n"
        "\\pard\\cf0 Before break\\page After break\\par\r\n"
        "}\r\n";
    QTextDocument doc;
    read(rtf, &doc);
    EXPECT_EQ(doc.toPlainText(), QString("Heading\n\u00b7\tItem one\nBefore break\nAfter break\n"));
    EXPECT_EQ(LetterPage::Of(doc).marginLeft, 1800);
    const QTextBlock heading = doc.begin();
    EXPECT_EQ(heading.blockFormat().alignment() & Qt::AlignHorizontal_Mask, Qt::AlignHCenter);
    EXPECT_EQ(DocumentToTwips(heading.blockFormat().bottomMargin()), 200);
    EXPECT_EQ(formatAt(doc, "Heading").fontPointSize(), 14);
    EXPECT_EQ(formatAt(doc, "Heading").fontWeight(), QFont::Bold);
    EXPECT_EQ(formatAt(doc, "Item").foreground().color(), QColor(0, 0, 255));
    EXPECT_EQ(formatAt(doc, "Item").fontFamilies().toStringList().value(0), "Times New Roman");
    EXPECT_EQ(DocumentToTwips(blockWith(doc, "Item").blockFormat().leftMargin()), 720);
    EXPECT_TRUE(blockWith(doc, "After").blockFormat().pageBreakPolicy() & QTextFormat::PageBreak_AlwaysBefore);
    EXPECT_FALSE(blockWith(doc, "Before").blockFormat().pageBreakPolicy() & QTextFormat::PageBreak_AlwaysBefore);
    EXPECT_EQ(LetterText::PlainText(doc), QString("Heading\n\u00b7\tItem one\nBefore break\n\fAfter break\n\n"));
}

TEST(RtfReader, DamagedInputReadsWhatItCan) {
    struct Case {
        const char* what;
        QByteArray rtf;
        QString text;
    };
    const QByteArray deep = "{\\rtf1 a" + QByteArray(100000, '{') + "hidden" + QByteArray(100000, '}') + "b}";
    const Case cases[] = {
        {"truncated in the middle of a word", "{\\rtf1\\ansi Hello wor", "Hello wor"},
        {"truncated inside a control word", "{\\rtf1\\ansi Hello\\pa", "Hello"},
        {"truncated inside an escape", "{\\rtf1\\ansi x\\'e", "x"},
        {"truncated inside a skipped group", "{\\rtf1 a{\\*\\foo bar", "a"},
        {"stray closing braces", "{\\rtf1 a}}}b", "a"},
        {"broken hex escape", "{\\rtf1 a\\'zzb}", "azzb"},
        {"over-long control word and number", "{\\rtf1 a\\" + QByteArray(5000, 'x') + "99999999999999999999 b}", "ab"},
        {"\\bin past the end", "{\\rtf1 a\\bin999999999 xyz}", "a"},
        {"\\bin with braces in its data", "{\\rtf1 a\\bin3 {}\\b}", "ab"},
        {"nesting deeper than the reader goes", deep, "ab"},
        {"a font table that never ends", "{\\rtf1{\\fonttbl{\\f0 Arial", ""},
        {"\\u out of range", "{\\rtf1 \\u99999999 x}", QString("\ufffd")},
        {"NUL and control bytes", QByteArray("{\\rtf1 a\0\x01\x7f" "b}", 13), "ab"},
    };
    for (const Case& c : cases) EXPECT_EQ(textOf(c.rtf), c.text) << c.what;
}

TEST(RtfReader, TextThatIsNotRtfLoadsAsPlainText) {
    QTextDocument doc;
    EXPECT_FALSE(RtfReader::Read("Dear [First],\r\nhello", &doc));
    EXPECT_EQ(doc.toPlainText(), "Dear [First],\nhello");
    EXPECT_FALSE(RtfReader::Read("caf\xe9", &doc));  // not UTF-8: Windows-1252
    EXPECT_EQ(doc.toPlainText(), QString("caf\u00e9"));
    EXPECT_TRUE(RtfReader::Read("  \r\n", &doc));
    EXPECT_TRUE(doc.isEmpty());
}

TEST(RtfReader, HugeAndRandomInputNeverCrashes) {
    // 4 MB of paragraphs read in linear time.
    QByteArray huge = "{\\rtf1\\ansi ";
    for (int i = 0; i < 100000; ++i) huge += "{\\b word} text \\'e9\\u8364?\\par ";
    huge += "}";
    QTextDocument doc;
    read(huge, &doc);
    EXPECT_EQ(doc.blockCount(), 100001);

    // Bytes of a real letter, cut and shuffled at random: whatever comes out, the
    // reader returns.
    QTextDocument letter;
    QTextCursor c(&letter);
    c.insertText("Dear [Full Name],\nThank you for your order of \u20ac12.");
    const QByteArray base = RtfWriter::Write(letter);
    QRandomGenerator random(7);
    for (int i = 0; i < 2000; ++i) {
        QByteArray bytes = base;
        const int edits = 1 + int(random.bounded(8));
        for (int e = 0; e < edits && !bytes.isEmpty(); ++e) {
            const int at = int(random.bounded(bytes.size()));
            switch (random.bounded(3)) {
                case 0: bytes[at] = char(random.bounded(256)); break;
                case 1: bytes.remove(at, int(random.bounded(20))); break;
                default: bytes.insert(at, "{\\*{\\u-5\\'"[random.bounded(10)]); break;
            }
        }
        QTextDocument out;
        RtfReader::Read(bytes, &out);
    }
}

}  // namespace
