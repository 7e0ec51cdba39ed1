#pragma once

#include <cstdint>
#include <string>
#include <string_view>

#include "Status.h"

namespace xbase {

// The text rules of a code page: text in a table is stored in the code page its
// header names (byte 29) while the program works in UTF-8, and letter case is what
// the engine's UPPER() and LOWER() make of the stored bytes. New tables use mark
// 0x03, Windows-1252. Code pages live as long as the program; share them freely.
class CodePage {
public:
    static constexpr uint8_t kWindows1252 = 0x03;

    // The code page for a header mark. An unmarked table (0) is read as DOS 437.
    // Unknown marks give NotSupported.
    static Status forMark(uint8_t mark, const CodePage** out);
    // Windows-1252: new tables, and the program's own files of that era (filters, INI).
    static const CodePage& windows1252();
    // The code page whose case rules apply to a table marked `mark`: an unknown mark
    // is read as DOS 437, as Table reads its text.
    static const CodePage& forMarkOrDos(uint8_t mark);

    uint8_t mark() const { return mark_; }
    int number() const { return number_; }  // 1252, 437, ...

    std::string toUtf8(std::string_view bytes) const;
    // Fails with InvalidArgument naming the first character the code page cannot hold.
    Status fromUtf8(std::string_view utf8, std::string* out) const;

    // Letter case, one byte for one byte, as UPPER() and LOWER() and so every index
    // key built with them see it: the ASCII letters in every code page, and in
    // Windows-1252 its accented letters too (à-þ, š œ ž ÿ and their capitals; ß has
    // no capital and stays).
    const unsigned char* upperMap() const { return upper_; }  // 256 entries
    const unsigned char* lowerMap() const { return lower_; }
    std::string upper(std::string_view bytes) const;
    std::string lower(std::string_view bytes) const;
    bool isUpper(unsigned char c) const { return lower_[c] != c; }
    bool isLower(unsigned char c) const { return upper_[c] != c || int(c) == lowerOnly_; }
    // UTF-8 text upper-cased as upper() would do it once stored in this code page;
    // characters the code page cannot hold stay as they are.
    std::string upperUtf8(std::string_view utf8) const;

    CodePage(uint8_t mark, int number);

private:
    // The byte of a UTF-8 character in this code page, or -1.
    int byteOf(std::string_view utf8Char) const;

    uint8_t mark_;
    int number_;
    std::string toUtf8_[256];
    unsigned char upper_[256];
    unsigned char lower_[256];
    int lowerOnly_ = -1;  // a lower-case letter without a capital (ß), or -1
};

}  // namespace xbase
