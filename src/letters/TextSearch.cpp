#include "TextSearch.h"

#include <QTextDocument>

namespace TextSearch {

namespace {

QTextDocument::FindFlags flags(const Options& o) {
    QTextDocument::FindFlags f;
    if (o.matchCase) f |= QTextDocument::FindCaseSensitively;
    if (o.wholeWord) f |= QTextDocument::FindWholeWords;
    if (o.up) f |= QTextDocument::FindBackward;
    return f;
}

}  // namespace

QTextCursor FindNext(const QTextDocument& document, const QString& text, const QTextCursor& from,
                     const Options& options) {
    if (text.isEmpty()) return {};
    // Searching down starts after the current match, up before it, so that the same
    // occurrence is never found twice in a row.
    QTextCursor start(from);
    if (from.isNull()) {
        start = QTextCursor(const_cast<QTextDocument*>(&document));
        if (options.up) start.movePosition(QTextCursor::End);
    } else {
        start.setPosition(options.up ? from.selectionStart() : from.selectionEnd());
    }
    return document.find(text, start, flags(options));
}

bool IsMatch(const QTextCursor& cursor, const QString& text, const Options& options) {
    if (!cursor.hasSelection() || text.isEmpty()) return false;
    QTextCursor before(cursor);
    before.setPosition(cursor.selectionStart());
    Options down = options;
    down.up = false;
    const QTextCursor found = cursor.document()->find(text, before, flags(down));
    return !found.isNull() && found.selectionStart() == cursor.selectionStart() &&
           found.selectionEnd() == cursor.selectionEnd();
}

void ReplaceSelection(QTextCursor& cursor, const QString& with) {
    QTextCursor first(cursor);
    first.setPosition(cursor.selectionStart() + 1);  // the format of the character after the position
    const QTextCharFormat format = first.charFormat();
    cursor.insertText(with, format);
}

int ReplaceAll(QTextDocument* document, const QString& text, const QString& with, const Options& options) {
    if (text.isEmpty()) return 0;
    Options down = options;
    down.up = false;
    int count = 0;
    QTextCursor edit(document);
    edit.beginEditBlock();
    QTextCursor found = document->find(text, 0, flags(down));
    while (!found.isNull()) {
        ReplaceSelection(found, with);
        ++count;
        found = document->find(text, found, flags(down));
    }
    edit.endEditBlock();
    return count;
}

}  // namespace TextSearch
