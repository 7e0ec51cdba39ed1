#pragma once

#include <QByteArray>
#include <QString>

// Text of the Windows and DOS code pages that RTF files name (\ansicpg, \fcharset),
// through the C library's iconv: single-byte and the East Asian double-byte pages.
namespace CodePageText {

// `bytes` in code page `codePage` (1252, 1250, 932, ...); an unknown code page is
// read as 1252, and bytes it leaves undefined become U+FFFD.
QString decode(int codePage, const QByteArray& bytes);

// The Windows-1252 byte of `c`, or -1 when that code page cannot hold it.
int windows1252Byte(QChar c);

// The code page of an RTF \fcharset number; 0 when the charset names none.
int codePageOfCharset(int charset);

}  // namespace CodePageText
