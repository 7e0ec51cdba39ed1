#pragma once

#include <QString>
#include <memory>

class QTextDocument;

// Whole-document helpers of the letters.
namespace LetterText {

// A copy of `letter` with its text, formats and page, independent of the original.
std::unique_ptr<QTextDocument> Copy(const QTextDocument& letter);

// The letter as plain text: one line per paragraph (a line break inside a paragraph
// also ends a line), and a form feed where a page break starts a paragraph.
QString PlainText(const QTextDocument& letter);

}  // namespace LetterText
