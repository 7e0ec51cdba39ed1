#pragma once

#include <QSyntaxHighlighter>

class SpellChecker;

// Underlines in red, as the user types, the words of a document that the spell
// checker does not know.
class SpellHighlighter : public QSyntaxHighlighter {
    Q_OBJECT

  public:
    // `checker` is borrowed for the highlighter's life.
    SpellHighlighter(QTextDocument* document, const SpellChecker& checker);

  protected:
    void highlightBlock(const QString& text) override;

  private:
    const SpellChecker& checker_;
};
