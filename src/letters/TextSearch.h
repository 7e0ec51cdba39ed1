#pragma once

#include <QString>
#include <QTextCursor>

class QTextDocument;

// Find and replace over a letter's text, as the editor's Find and Replace dialogs
// use them.
namespace TextSearch {

struct Options {
    bool matchCase = false;
    bool wholeWord = false;
    bool up = false;  // towards the start of the text
};

// The next occurrence of `text` after `from`'s selection (before it when searching
// up). The search does not wrap around; a null cursor when there is none.
QTextCursor FindNext(const QTextDocument& document, const QString& text, const QTextCursor& from,
                     const Options& options);

// Whether `cursor` selects exactly an occurrence of `text` (what Replace replaces).
bool IsMatch(const QTextCursor& cursor, const QString& text, const Options& options);

// Replaces the text `cursor` selects by `with`, which takes the character format of
// the first replaced character. The cursor then selects nothing and stands after the
// inserted text.
void ReplaceSelection(QTextCursor& cursor, const QString& with);

// Replaces every occurrence of `text` in the document by `with`, from the start to
// the end whatever the direction, as one undo step; text inserted is not searched
// again. Returns how many were replaced.
int ReplaceAll(QTextDocument* document, const QString& text, const QString& with, const Options& options);

}  // namespace TextSearch
