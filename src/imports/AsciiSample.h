#pragma once

#include <QString>
#include <QStringList>
#include <vector>

#include "SourceEncoding.h"

// The first lines of an ASCII import file, read for the matching: how many fields the
// file has (the first line's count), the lines split into fields, and the widest value
// of each field, which sets the sample grid's column widths.
struct AsciiSample {
    static constexpr int kLines = 10;

    QString path;
    SourceEncoding encoding;
    int fieldCount = 0;              // of the first line, at most AsciiLine::kMaxFields
    std::vector<QStringList> lines;  // up to kLines, each split into fields
    std::vector<int> widths;         // per field, the longest value in characters

    // "Field 1", "Field 2", ... one per field.
    QStringList fieldNames() const;
    // The first line's values: column names, when the file starts with them.
    QStringList firstLineNames() const;
};

// Reads up to the first ten lines of `path`. The encoding is the one called
// `encodingName`, or the one found in the file when that is empty. False with the
// message for the user: the file's error, the encoding's, or "Unable to import from
// this file" when fewer than two lines could be read (a line holding a NUL byte or
// bytes the encoding does not have cannot be read).
bool ReadAsciiSample(const QString& path, const QString& encodingName, AsciiSample* out, QString* message);
