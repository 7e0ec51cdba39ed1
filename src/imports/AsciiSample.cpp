#include "AsciiSample.h"

#include <algorithm>

#include "AsciiFile.h"
#include "AsciiLine.h"

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

bool ReadAsciiSample(const QString& path, const QString& encodingName, AsciiSample* out, QString* message) {
    *out = AsciiSample();
    out->path = path;
    const bool found = encodingName.isEmpty() ? SourceEncoding::detect(path, &out->encoding, message)
                                              : SourceEncoding::byName(encodingName, &out->encoding, message);
    if (!found) return false;
    AsciiFile file;
    if (!file.open(path, out->encoding, message)) return false;
    std::string text;
    AsciiFile::Problem problem;
    while (int(out->lines.size()) < AsciiSample::kLines) {
        const AsciiFile::Result r = file.next(&text, &problem);
        if (r == AsciiFile::Result::Failed) {
            *message = file.errorText();
            return false;
        }
        // A line that cannot be read ends the sample; a long one shows its beginning.
        if (r == AsciiFile::Result::End || problem == AsciiFile::Problem::Nul ||
            problem == AsciiFile::Problem::BadEncoding) {
            break;
        }
        QStringList fields;
        for (const std::string& f : AsciiLine::Split(text)) fields << QString::fromStdString(f);
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
    return true;
}
