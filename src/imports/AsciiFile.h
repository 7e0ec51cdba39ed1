#pragma once

#include <QString>
#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

#include "SourceEncoding.h"

// The lines of an ASCII import file as UTF-8, read in pieces, so that a file of any
// size (a single line of a hundred megabytes too) takes the same memory. A line ends
// at CR LF, LF or a lone CR; the last line needs no end. The UTF-8 byte-order mark at
// the start of a UTF-8 file is not part of the first line.
class AsciiFile {
  public:
    // What is wrong with a line that was read.
    enum class Problem {
        None,
        TooLong,      // over AsciiLine::kMaxLength characters: its first ones are given
        Nul,          // holds a NUL byte: not a text file
        BadEncoding,  // bytes the file's encoding does not have
    };
    enum class Result { Line, End, Failed };

    AsciiFile();
    ~AsciiFile();
    AsciiFile(const AsciiFile&) = delete;
    AsciiFile& operator=(const AsciiFile&) = delete;

    // False with the file's error ("Cannot read <path>: <reason>").
    bool open(const QString& path, const SourceEncoding& encoding, QString* message);
    // The next line into *text (without its end) and what is wrong with it. Failed: the
    // file could not be read; errorText() says why.
    Result next(std::string* text, Problem* problem);
    // The number of the line last read, from 1.
    uint64_t lineNumber() const { return line_; }
    // How the line last read ended: "\r\n", "\n", "\r", or "" at the end of the file.
    std::string_view lineEnding() const { return ending_; }
    const QString& errorText() const { return error_; }

    // What a problem line is called in a message: "Line 12 is longer than 2048
    // characters", "Line 3 holds a NUL character; this is not a text file", "Line 7 is
    // not valid Windows-1252 text".
    static QString problemText(Problem problem, uint64_t line, const SourceEncoding& encoding);

    // Counts the lines as next() reads them. False with the file's error.
    static bool countLines(const QString& path, uint64_t* lines, QString* message);

  private:
    // The next line's bytes, at most `cap` of them kept (*cut when there were more).
    // False at the end of the file or on a read error (error_ set).
    bool readRaw(std::string* raw, size_t cap, bool* cut);
    bool fill();

    int fd_ = -1;
    QString path_;
    SourceEncoding encoding_;
    std::vector<char> buf_;
    size_t pos_ = 0;
    size_t end_ = 0;
    bool eof_ = false;
    bool pendingCr_ = false;  // the line being read ended with CR at the end of the buffer
    const char* ending_ = "";
    uint64_t line_ = 0;
    QString error_;
    std::string raw_;
};
