#include "CsvReader.h"

#include "AsciiLine.h"

AsciiFile::Result CsvReader::next(std::vector<std::string>* fields, AsciiFile::Problem* problem) {
    recordTooLong_ = false;
    AsciiFile::Result r = file_.next(&line_, problem);
    recordLine_ = problemLine_ = file_.lineNumber();
    if (r != AsciiFile::Result::Line) return r;
    if (dialect_ == CsvDialect::Dialect::Own) {
        *fields = AsciiLine::Split(line_);
        return r;
    }
    splitter_.begin();
    size_t bytes = 0;
    while (*problem == AsciiFile::Problem::None && !splitter_.feed(line_)) {
        bytes += line_.size();
        if (bytes > kMaxRecordBytes) {
            *problem = AsciiFile::Problem::TooLong;
            recordTooLong_ = true;
            return r;
        }
        splitter_.lineBreak(file_.lineEnding());
        r = file_.next(&line_, problem);
        problemLine_ = file_.lineNumber();
        if (r == AsciiFile::Result::Failed) return r;
        if (r == AsciiFile::Result::End) {
            // A quote left open at the end of the file closes there.
            splitter_.finish();
            r = AsciiFile::Result::Line;
            break;
        }
    }
    if (*problem != AsciiFile::Problem::None) return r;
    fields->swap(splitter_.fields());
    for (std::string& f : *fields) CsvDialect::Unguard(&f);
    return r;
}

QString CsvReader::problemText(AsciiFile::Problem problem) const {
    if (recordTooLong_) {
        return QStringLiteral("The quoted field opened on line %1 does not close within %2 megabytes")
            .arg(recordLine_)
            .arg(kMaxRecordBytes >> 20);
    }
    return AsciiFile::problemText(problem, problemLine_, encoding_);
}
