#include "ParagraphFormat.h"

#include <QTextBlock>
#include <QTextCursor>
#include <QTextDocument>

#include "LetterPage.h"

namespace {

Qt::Alignment horizontal(Qt::Alignment a) {
    a &= Qt::AlignHorizontal_Mask;
    if (a & Qt::AlignRight) return Qt::AlignRight;
    if (a & Qt::AlignHCenter) return Qt::AlignHCenter;
    if (a & Qt::AlignJustify) return Qt::AlignJustify;
    return Qt::AlignLeft;
}

}  // namespace

ParagraphFormat ParagraphFormat::Of(const QTextBlockFormat& f) {
    ParagraphFormat p;
    p.alignment = horizontal(f.alignment());
    p.leftIndent = DocumentToTwips(f.leftMargin());
    p.firstIndent = p.leftIndent + DocumentToTwips(f.textIndent());
    p.rightIndent = DocumentToTwips(f.rightMargin());
    p.spaceBefore = DocumentToTwips(f.topMargin());
    p.spaceAfter = DocumentToTwips(f.bottomMargin());
    switch (f.lineHeightType()) {
        case QTextBlockFormat::ProportionalHeight:
            p.lineHeight = qRound(f.lineHeight() * 240 / 100);
            break;
        case QTextBlockFormat::MinimumHeight:
        case QTextBlockFormat::FixedHeight:
        case QTextBlockFormat::LineDistanceHeight:
            p.lineHeight = DocumentToTwips(f.lineHeight());
            break;
        default:
            p.lineHeight = 0;
    }
    return p;
}

ParagraphFormat ParagraphFormat::At(const QTextCursor& cursor) {
    if (!cursor.hasSelection()) return Of(cursor.blockFormat());
    QTextCursor first(cursor);
    first.setPosition(cursor.selectionStart());
    return Of(first.blockFormat());
}

void ParagraphFormat::applyTo(QTextCursor cursor, const ParagraphFormat& shown) const {
    if (*this == shown || cursor.isNull()) return;
    QTextDocument* doc = cursor.document();
    QTextBlock block = doc->findBlock(cursor.selectionStart());
    const QTextBlock last = doc->findBlock(cursor.selectionEnd());
    cursor.beginEditBlock();
    for (;;) {
        const ParagraphFormat was = Of(block.blockFormat());
        QTextBlockFormat f;
        if (alignment != shown.alignment) f.setAlignment(alignment);
        if (spaceBefore != shown.spaceBefore) f.setTopMargin(TwipsToDocument(spaceBefore));
        if (spaceAfter != shown.spaceAfter) f.setBottomMargin(TwipsToDocument(spaceAfter));
        if (lineHeight != shown.lineHeight) {
            if (lineHeight > 0)
                f.setLineHeight(TwipsToDocument(lineHeight), QTextBlockFormat::MinimumHeight);
            else
                f.setLineHeight(0, QTextBlockFormat::SingleHeight);
        }
        // The first-line indent is stored relative to the left one, so it follows a
        // changed left indent unless it was changed too.
        const int left = leftIndent != shown.leftIndent ? leftIndent : was.leftIndent;
        const int first = firstIndent != shown.firstIndent ? firstIndent : was.firstIndent - was.leftIndent + left;
        if (left != was.leftIndent) f.setLeftMargin(TwipsToDocument(left));
        if (first - left != was.firstIndent - was.leftIndent || left != was.leftIndent)
            f.setTextIndent(TwipsToDocument(first - left));
        if (rightIndent != shown.rightIndent) f.setRightMargin(TwipsToDocument(rightIndent));
        QTextCursor at(block);
        at.mergeBlockFormat(f);
        if (block == last || !block.isValid()) break;
        block = block.next();
    }
    cursor.endEditBlock();
}
