#include "SpellHighlighter.h"

#include <QRegularExpression>

#include "SpellChecker.h"

SpellHighlighter::SpellHighlighter(QTextDocument* document, const SpellChecker& checker)
    : QSyntaxHighlighter(document), checker_(checker) {}

void SpellHighlighter::highlightBlock(const QString& text) {
    static const QRegularExpression word(QStringLiteral("[\\p{L}']+"));
    QTextCharFormat misspelt;
    misspelt.setUnderlineStyle(QTextCharFormat::SpellCheckUnderline);
    misspelt.setUnderlineColor(Qt::red);
    for (auto it = word.globalMatch(text); it.hasNext();) {
        const QRegularExpressionMatch m = it.next();
        // Merge-field names are not words of the letter.
        const bool inToken = m.capturedStart() > 0 && text.lastIndexOf('[', m.capturedStart()) >
                                                          text.lastIndexOf(']', m.capturedStart());
        QString w = m.captured();
        while (w.startsWith('\'')) w.remove(0, 1);
        while (w.endsWith('\'')) w.chop(1);
        if (!inToken && !w.isEmpty() && !checker_.isKnown(w))
            setFormat(int(m.capturedStart()), int(m.capturedLength()), misspelt);
    }
}
