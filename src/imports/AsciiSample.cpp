#include "AsciiSample.h"

#include <algorithm>

#include "AsciiLine.h"
#include "ColumnNames.h"
#include "CsvReader.h"

QStringList AsciiSample::fieldNames() const {
    QStringList names;
    for (int i = 1; i <= fieldCount; ++i) names << QStringLiteral("Field %1").arg(i);
    return names;
}

QStringList AsciiSample::firstLineNames() const {
    QStringList names;
    if (lines.empty()) return names;
    for (int i = 0; i < fieldCount; ++i) names << lines[0].value(i).trimmed();
    return names;
}

std::vector<SourceField> AsciiSample::sources(bool header) const {
    const QStringList numbered = fieldNames();
    const QStringList named = firstLineNames();
    std::vector<SourceField> list;
    for (int i = 0; i < fieldCount; ++i) {
        const QString name = header && !named.value(i).isEmpty() ? named.value(i) : numbered.value(i);
        list.push_back({name, 'C'});
    }
    return list;
}

std::vector<QStringList> AsciiSample::rows(bool header) const {
    const size_t first = header && !lines.empty() ? 1 : 0;
    const size_t last = std::min(lines.size(), first + size_t(kLines));
    return std::vector<QStringList>(lines.begin() + long(first), lines.begin() + long(last));
}

namespace {

// The first physical lines of the file, for telling its dialect; stops at a line it
// cannot read (the sample reports that line).
bool firstLines(const QString& path, const SourceEncoding& encoding, std::vector<std::string>* lines,
                QString* message) {
    AsciiFile file;
    if (!file.open(path, encoding, message)) return false;
    std::string text;
    AsciiFile::Problem problem;
    while (int(lines->size()) < AsciiSample::kDetectLines) {
        const AsciiFile::Result r = file.next(&text, &problem);
        if (r == AsciiFile::Result::Failed) {
            *message = file.errorText();
            return false;
        }
        if (r == AsciiFile::Result::End || problem != AsciiFile::Problem::None) break;
        lines->push_back(text);
    }
    return true;
}

}  // namespace

bool ReadAsciiSample(const QString& path, const QString& encodingName, AsciiSample* out, QString* message,
                     std::optional<CsvDialect::Dialect> dialect, const std::vector<Destination>& destinations) {
    *out = AsciiSample();
    out->path = path;
    const bool found = encodingName.isEmpty() ? SourceEncoding::detect(path, &out->encoding, message)
                                              : SourceEncoding::byName(encodingName, &out->encoding, message);
    if (!found) return false;
    if (dialect) {
        out->dialect = *dialect;
        out->dialectDetected = false;
    } else {
        std::vector<std::string> lines;
        if (!firstLines(path, out->encoding, &lines, message)) return false;
        out->dialect = CsvDialect::Detect(lines);
    }
    CsvReader reader;
    if (!reader.open(path, out->encoding, out->dialect, message)) return false;
    std::vector<std::string> record;
    AsciiFile::Problem problem;
    while (int(out->lines.size()) < AsciiSample::kLines + 1) {
        const AsciiFile::Result r = reader.next(&record, &problem);
        if (r == AsciiFile::Result::Failed) {
            *message = reader.errorText();
            return false;
        }
        // A record that cannot be read ends the sample; a long line shows its beginning.
        if (r == AsciiFile::Result::End || problem == AsciiFile::Problem::Nul ||
            problem == AsciiFile::Problem::BadEncoding) {
            break;
        }
        if (problem == AsciiFile::Problem::TooLong && out->dialect == CsvDialect::Dialect::Rfc4180) break;
        QStringList fields;
        for (const std::string& f : record) fields << QString::fromStdString(f);
        if (out->lines.empty()) {
            out->fieldCount = std::min<int>(int(fields.size()), AsciiLine::kMaxFields);
            out->widths.assign(size_t(out->fieldCount), 0);
        }
        for (int i = 0; i < out->fieldCount && i < fields.size(); ++i) {
            out->widths[size_t(i)] = std::max(out->widths[size_t(i)], int(fields[i].size()));
        }
        out->lines.push_back(fields);
    }
    if (out->lines.size() < 2) {
        *message = QStringLiteral("Unable to import from this file");
        return false;
    }
    out->headerDetected = ColumnNames::LooksLikeHeader(out->firstLineNames(), destinations);
    return true;
}
