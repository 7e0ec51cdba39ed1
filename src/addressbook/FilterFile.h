#pragma once

#include <QString>

#include "FilterCriteria.h"

// .FLT files: a saved filter form.
//
// A text file of 20 lines, each ended by CR LF:
//   lines 1-18  the eighteen entries exactly as typed, in FilterCriteria's entry order
//               (Last, First, Title, Org, Address 1, Address 2, Zip, City, State,
//               Country, Phone 1, Phone 2, Fax, E-mail, Date, Codes, Comment 1, Comment 2)
//   line 19     "T" when Tagged is set, else "F"
//   line 20     "T" when Reverse is set, else "F"
// Reading is lenient: missing lines count as empty, lines past the 20th are ignored,
// LF alone also ends a line, and a flag is set only by a line that is exactly "T".
// Text is written in Windows-1252, the code page of the address files, or in UTF-8
// when an entry holds a character that code page lacks; a file that is not valid UTF-8
// is read as Windows-1252.
namespace FilterFile {

inline constexpr int kLineCount = 20;

// The file's text for `criteria`. Line breaks inside an entry (which a one-line entry
// cannot hold) become blanks, so that they cannot shift the lines after them.
QByteArray toBytes(const FilterCriteria& criteria);
FilterCriteria fromBytes(const QByteArray& bytes);

// Writes the file in one piece (never half a file). False with `message` set when it
// cannot be written.
bool SaveFilterTo(const QString& path, const FilterCriteria& criteria, QString* message);
// False with `message` set when the file cannot be read; `criteria` is then unchanged.
bool RestoreFilterFrom(const QString& path, FilterCriteria* criteria, QString* message);

// The name a Save Filter dialog's choice is saved under. A name whose extension is
// not .FLT (in any letter case) gets ".FLT" appended when its file name has no "."
// at all; otherwise it is refused with "Must have a .FLT extension" in `message`.
// Only the file name counts, not the folders above it.
bool SaveName(const QString& chosen, QString* path, QString* message);
// The question before a file is overwritten (caption kOverwriteCaption).
QString OverwriteQuestion(const QString& path);
inline const QString kOverwriteCaption = QStringLiteral("Warning!");

// Whether a Restore Filter choice may be read: false with "Must be a Filter (.FLT)
// file" when its extension is not .FLT in any letter case.
bool CheckRestoreName(const QString& chosen, QString* message);

}  // namespace FilterFile
