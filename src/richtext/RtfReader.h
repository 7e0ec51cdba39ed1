#pragma once

#include <QByteArray>
#include <QString>

class QTextDocument;

// Reads a letter's RTF into a QTextDocument: the RTF 1.x a letter needs (font and
// colour tables, the ANSI code page with \'hh escapes and \uN with its fallback,
// character formats, paragraph formats, tabs, page size and margins, page breaks) and
// what common word processors write around it. Destinations it does not know, and
// every {\* ...} group, are skipped whole.
//
// The reader never fails on damaged input: it reads what it can (a truncated file
// gives the text up to the cut, a stray brace is ignored), groups nested deeper than
// kMaxDepth are skipped, and every number and name it keeps is bounded. Time is
// linear in the input.
class RtfReader {
  public:
    static constexpr int kMaxDepth = 200;

    // Clears `document` and loads `rtf` into it, with its page (LetterPage) set. Bytes
    // that are not RTF at all are loaded as plain text (UTF-8 when they are valid
    // UTF-8, else Windows-1252) and false is returned; empty input gives an empty
    // document and true.
    static bool Read(const QByteArray& rtf, QTextDocument* document);
};
