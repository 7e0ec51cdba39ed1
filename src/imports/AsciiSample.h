#pragma once

#include <QString>
#include <QStringList>
#include <optional>
#include <vector>

#include "CsvDialect.h"
#include "FieldMatch.h"
#include "SourceEncoding.h"

// The first records of an ASCII import file, read for the matching: the file's
// dialect, how many fields it has (the first record's count), the records split into
// fields, the widest value of each field (the sample grid's column widths), and
// whether the first line looks like a line of column names.
struct AsciiSample {
    static constexpr int kLines = 10;
    // The physical lines the dialect is told from.
    static constexpr int kDetectLines = 200;

    QString path;
    SourceEncoding encoding;
    CsvDialect::Dialect dialect = CsvDialect::Dialect::Own;
    bool dialectDetected = true;     // false when the caller named the dialect
    int fieldCount = 0;              // of the first record, at most AsciiLine::kMaxFields
    std::vector<QStringList> lines;  // up to kLines + 1, each split into fields
    std::vector<int> widths;         // per field, the longest value in characters
    bool headerDetected = false;     // the first line is mostly known column names

    // "Field 1", "Field 2", ... one per field.
    QStringList fieldNames() const;
    // The first line's values: column names, when the file starts with them.
    QStringList firstLineNames() const;
    // The source fields of the match: named by the first line when `header`, a column
    // whose name is empty keeping "Field n"; else "Field 1", "Field 2", ...
    std::vector<SourceField> sources(bool header) const;
    // The records the sample grid shows: without the first when `header`, at most kLines.
    std::vector<QStringList> rows(bool header) const;
};

// Reads the first records of `path`. The encoding is the one called `encodingName`,
// or the one found in the file when that is empty; the dialect `dialect`, or the one
// CsvDialect::Detect() tells from the first kDetectLines lines. The header is looked
// for against `destinations` (ColumnNames::LooksLikeHeader). False with the message for
// the user: the file's error, the encoding's, or "Unable to import from this file" when
// fewer than two records could be read (a line holding a NUL byte or bytes the encoding
// does not have cannot be read).
bool ReadAsciiSample(const QString& path, const QString& encodingName, AsciiSample* out, QString* message,
                     std::optional<CsvDialect::Dialect> dialect = std::nullopt,
                     const std::vector<Destination>& destinations = {});
