#pragma once

#include <QDialog>

#include "TextSearch.h"

class QCheckBox;
class QLineEdit;
class QPushButton;
class QRadioButton;
class QTextEdit;

// The letter editor's "Find" and "Replace" dialogs: one small modeless window that
// searches the editor's text from the cursor, selecting what it finds. The replace
// form adds "Replace with", "Replace" and "Replace All".
class TFindDialog : public QDialog {
    Q_OBJECT

  public:
    TFindDialog(QTextEdit* editor, QWidget* parent = nullptr);

    // Shows the dialog as Find or as Replace, with the editor's selected text (when it
    // is on one line) as the text to find.
    void open(bool replace);
    // "Find Next": selects the next occurrence; tells the user when there is none.
    bool FindNext();
    // "Replace": replaces the selected occurrence, then finds the next one.
    void Replace();
    // "Replace All": replaces every occurrence and tells how many.
    int ReplaceAll();

    TextSearch::Options options() const;

    QLineEdit *FindWhat, *ReplaceWith;
    QCheckBox *MatchCase, *WholeWord;
    QRadioButton *Up, *Down;
    QPushButton *FindNextButton, *ReplaceButton, *ReplaceAllButton, *CancelButton;

  private:
    void setReplaceShown(bool shown);

    QTextEdit* editor_;
    QWidget* replaceLabel_;
};
