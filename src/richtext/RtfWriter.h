#pragma once

#include <QByteArray>

class QTextDocument;

// Writes a letter as RTF 1.x that word processors open with the same text, fonts,
// character and paragraph formats, tabs, page size, margins and page breaks. The
// output is 7-bit ASCII: characters of Windows-1252 as \'hh, all others as \uN with
// "?" as the fallback.
class RtfWriter {
  public:
    static QByteArray Write(const QTextDocument& document);
};
