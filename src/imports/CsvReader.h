#pragma once

#include <QString>
#include <cstdint>
#include <string>
#include <vector>

#include "AsciiFile.h"
#include "CsvDialect.h"

// The records of a comma-separated file, split by its dialect: in the program's own
// text one line is one record; in RFC 4180 a quoted field may go on over several lines
// (its line breaks kept as the file has them), and a value that the formula guard of
// CSV for spreadsheets marked has its apostrophe taken off again (CsvDialect::Unguard).
class CsvReader {
  public:
    // The most characters a record spanning several lines may gather before the
    // reader gives up on it (a quote that never closes would else take the whole file).
    static constexpr size_t kMaxRecordBytes = 4u << 20;

    bool open(const QString& path, const SourceEncoding& encoding, CsvDialect::Dialect dialect,
              QString* message) {
        dialect_ = dialect;
        encoding_ = encoding;
        return file_.open(path, encoding, message);
    }

    // The next record's fields. A problem with one of its lines (AsciiFile::Problem)
    // comes with the line's number in problemLine(); TooLong also for a record over
    // kMaxRecordBytes.
    AsciiFile::Result next(std::vector<std::string>* fields, AsciiFile::Problem* problem);

    // The first line of the record last read, from 1, and the last line read.
    uint64_t recordLine() const { return recordLine_; }
    uint64_t lineNumber() const { return file_.lineNumber(); }
    const QString& errorText() const { return file_.errorText(); }
    // The problem of the record last read, in words ("Line 7 is not valid ... text").
    QString problemText(AsciiFile::Problem problem) const;

  private:
    AsciiFile file_;
    SourceEncoding encoding_;
    CsvDialect::Dialect dialect_ = CsvDialect::Dialect::Own;
    CsvDialect::Splitter splitter_;
    std::string line_;
    uint64_t recordLine_ = 0;
    uint64_t problemLine_ = 0;
    bool recordTooLong_ = false;
};
