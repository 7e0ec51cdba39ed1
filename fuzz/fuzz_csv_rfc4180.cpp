// A comma-separated file as spreadsheets write it: its dialect told from its first
// lines, then its records read by the RFC 4180 splitter over lines of any length,
// quoted fields running over several lines. The first byte picks the dialect: told
// from the file, or RFC 4180 whatever the file says.

#include <QString>
#include <vector>

#include "CsvDialect.h"
#include "CsvReader.h"
#include "FuzzFiles.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    if (size < 1) return 0;
    const std::string_view text(reinterpret_cast<const char*>(data + 1), size - 1);
    // The splitter on the whole text at once, line breaks and all.
    for (std::string& field : CsvDialect::SplitRfc4180(text)) CsvDialect::Unguard(&field);

    const QString path = QString::fromStdString(fuzz::WriteFile("import.csv", data + 1, size - 1));
    std::vector<std::string> lines;
    {
        AsciiFile file;
        QString message;
        if (!file.open(path, SourceEncoding::windows1252(), &message)) return 0;
        std::string line;
        AsciiFile::Problem problem;
        while (lines.size() < 200 && file.next(&line, &problem) == AsciiFile::Result::Line) lines.push_back(line);
    }
    const CsvDialect::Dialect dialect = data[0] & 1 ? CsvDialect::Dialect::Rfc4180 : CsvDialect::Detect(lines);
    CsvReader reader;
    QString message;
    if (!reader.open(path, SourceEncoding::windows1252(), dialect, &message)) return 0;
    std::vector<std::string> fields;
    AsciiFile::Problem problem;
    while (reader.next(&fields, &problem) == AsciiFile::Result::Line) {
        if (problem != AsciiFile::Problem::None) (void)reader.problemText(problem);
    }
    return 0;
}
