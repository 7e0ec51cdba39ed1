#pragma once

#include <QtGlobal>

class QTextDocument;

// The page a letter is set on: sheet size and the four margins, in twips (1440 to the
// inch), as RTF stores them. The document keeps them in its root frame's format, so
// that they travel with the text through copies of the document.
struct LetterPage {
    static constexpr int kTwipsPerInch = 1440;
    static constexpr double kTwipsPerCm = 566.929;
    static constexpr int kTwipsPerPoint = 20;
    // Lengths inside a QTextDocument (indents, spacing, line heights) are pixels at
    // this resolution; the print layout scales them to its own device.
    static constexpr int kDocumentDpi = 96;
    static constexpr int kDefaultTab = 720;  // twips between tab stops a paragraph does not set

    int paperWidth = 12240;  // 8.5 x 11 inches, one-inch margins: a new letter
    int paperHeight = 15840;
    int marginLeft = 1440;
    int marginRight = 1440;
    int marginTop = 1440;
    int marginBottom = 1440;

    // The width and height left for text; never below one inch, whatever the margins.
    int textWidth() const;
    int textHeight() const;

    bool operator==(const LetterPage& o) const {
        return paperWidth == o.paperWidth && paperHeight == o.paperHeight && marginLeft == o.marginLeft &&
               marginRight == o.marginRight && marginTop == o.marginTop && marginBottom == o.marginBottom;
    }
    bool operator!=(const LetterPage& o) const { return !(*this == o); }

    // The page of `document` (a new letter's page when it has none).
    static LetterPage Of(const QTextDocument& document);
    // Gives `document` this page (and the default tab stops that go with it).
    void applyTo(QTextDocument* document) const;
};

// Twips and the document's own length unit.
inline qreal TwipsToDocument(double twips) { return twips * LetterPage::kDocumentDpi / LetterPage::kTwipsPerInch; }
inline int DocumentToTwips(qreal length) {
    return qRound(length * LetterPage::kTwipsPerInch / LetterPage::kDocumentDpi);
}
