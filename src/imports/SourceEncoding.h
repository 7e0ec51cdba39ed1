#pragma once

#include <QString>
#include <memory>
#include <string>
#include <string_view>

// The character encoding of an import file, and its bytes as UTF-8. A file is read
// as UTF-8 when it starts with the UTF-8 byte-order mark or is valid UTF-8 throughout,
// else as Windows-1252, the encoding of spreadsheets and of the program's own era; the
// user may name another. Only encodings that keep ASCII as it is are taken, since the
// import finds line ends, commas and quotes as ASCII bytes.
class SourceEncoding {
  public:
    enum class Kind { Utf8, Windows1252, Other };

    SourceEncoding();  // UTF-8
    static SourceEncoding utf8();
    static SourceEncoding windows1252();
    // The encoding called `name` in any letter case ("UTF-8", "windows-1252", "cp1252",
    // "ISO-8859-15", "cp850", ...). False with `message` for a name no converter knows
    // or an encoding that does not keep ASCII as it is (UTF-16, EBCDIC).
    static bool byName(const QString& name, SourceEncoding* out, QString* message);
    // Reads the whole file once, in pieces, to tell UTF-8 from Windows-1252. False with
    // the file's error in `message` when it cannot be read.
    static bool detect(const QString& path, SourceEncoding* out, QString* message);

    Kind kind() const { return kind_; }
    const QString& name() const { return name_; }

    // The bytes as UTF-8; false when they are not valid in this encoding.
    bool toUtf8(std::string_view bytes, std::string* out) const;

  private:
    class Converter;
    Kind kind_;
    QString name_;
    std::shared_ptr<Converter> converter_;  // for Other
};

// The UTF-8 byte-order mark.
inline constexpr std::string_view kUtf8Bom = "\xEF\xBB\xBF";

// Checks UTF-8 that arrives in pieces: no overlong forms, no surrogates, nothing past
// U+10FFFF, no sequence cut short at the end.
class Utf8Check {
  public:
    // False once a byte breaks the rules; the check stays failed.
    bool feed(std::string_view bytes);
    // Whether everything fed so far is valid and no sequence is left open.
    bool complete() const { return ok_ && need_ == 0; }

  private:
    bool ok_ = true;
    int need_ = 0;                            // continuation bytes still to come
    unsigned char low_ = 0x80, high_ = 0xBF;  // the range of the next continuation byte
};

// Whether every byte is below 0x80.
bool IsAscii(std::string_view bytes);
