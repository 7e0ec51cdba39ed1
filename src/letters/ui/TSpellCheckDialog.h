#pragma once

#include <QDialog>
#include <QTextCursor>

class QLabel;
class QLineEdit;
class QListWidget;
class QPushButton;
class QTextEdit;
class SpellChecker;

// "Spell Check": walks the words of an editor's text from the start; for each word
// that neither word list knows it shows up to 10 suggestions and offers Replace, Skip
// Word and Add Word. When no word is left it closes and says "Spell check complete".
class TSpellCheckDialog : public QDialog {
    Q_OBJECT

  public:
    // `editor` and `checker` are borrowed for the dialog's life.
    TSpellCheckDialog(QTextEdit* editor, SpellChecker& checker, QWidget* parent = nullptr);

    // Finds the first unknown word; false (and the closing message) when there is none.
    bool start();

    QLabel* Word;
    QListWidget* Suggestions;
    QLineEdit* ReplaceWith;
    QPushButton *ReplaceButton, *SkipButton, *AddButton, *CancelButton;

  private:
    bool next();
    void ReplaceClick();
    void SkipClick();
    void AddClick();

    QTextEdit* editor_;
    SpellChecker& checker_;
    QTextCursor word_;
};
