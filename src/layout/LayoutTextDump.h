#pragma once

#include <QByteArray>
#include <QString>

// The readable text form of layout streams, for people and scripts: one "object Name:
// Class ... end" block per object with a line per stored property, in the text form of
// the class library's streams (strings in single quotes, non-ASCII and control
// characters as #code, binary data in hex, 32 bytes a line).
namespace layout {

// A layout file: its object lists (one for labels and envelopes; header, detail and
// footer bands and the report settings for reports), each under a "#" heading. False
// with `error` set (and the text up to the damage in `text`) for a damaged file.
bool DumpLayoutFile(const QByteArray& data, QString* text, QString* error);

// One component stream that starts with "TPF0" (an object that may hold children).
bool DumpComponentStream(const QByteArray& data, QString* text, QString* error);

}  // namespace layout
