#pragma once

#include <Qt>

class QTextBlockFormat;
class QTextCursor;

// The paragraph settings the letter editor's Paragraph dialog and ruler show and
// change, in twips. The first-line indent is where the first line starts, measured
// like the left indent from the text's left edge (a paragraph whose first line is
// not indented has both equal); the document keeps it relative to the left indent,
// as RTF does. A line height of 0 is single spacing.
struct ParagraphFormat {
    Qt::Alignment alignment = Qt::AlignLeft;
    int firstIndent = 0;
    int leftIndent = 0;
    int rightIndent = 0;
    int spaceBefore = 0;
    int spaceAfter = 0;
    int lineHeight = 0;

    bool operator==(const ParagraphFormat& o) const {
        return alignment == o.alignment && firstIndent == o.firstIndent && leftIndent == o.leftIndent &&
               rightIndent == o.rightIndent && spaceBefore == o.spaceBefore && spaceAfter == o.spaceAfter &&
               lineHeight == o.lineHeight;
    }
    bool operator!=(const ParagraphFormat& o) const { return !(*this == o); }

    // The settings of a paragraph. A proportional line spacing shows as the twips it
    // gives a 12-point line (single spacing is 240).
    static ParagraphFormat Of(const QTextBlockFormat& format);
    // The paragraph at the cursor (the first of a selection).
    static ParagraphFormat At(const QTextCursor& cursor);

    // Gives every paragraph the cursor touches the settings that differ between
    // `shown` (what the dialog showed) and this, as one undo step. Settings left as
    // shown stay as each paragraph had them, so a selection of paragraphs with
    // different indents keeps them when only the spacing is changed, and a
    // proportional line spacing stays proportional unless its value is edited.
    void applyTo(QTextCursor cursor, const ParagraphFormat& shown) const;
};
