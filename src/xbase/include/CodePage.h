#pragma once

#include <cstdint>
#include <string>
#include <string_view>

#include "Status.h"

namespace xbase {

// Text in a table is stored in the code page its header names (byte 29); the
// program works in UTF-8. New tables use mark 0x03, Windows-1252.
class CodePage {
public:
    static constexpr uint8_t kWindows1252 = 0x03;

    // The code page for a header mark. An unmarked table (0) is read as DOS 437.
    // Unknown marks give NotSupported.
    static Status forMark(uint8_t mark, const CodePage** out);

    uint8_t mark() const { return mark_; }
    int number() const { return number_; }  // 1252, 437, ...

    std::string toUtf8(std::string_view bytes) const;
    // Fails with InvalidArgument naming the first character the code page cannot hold.
    Status fromUtf8(std::string_view utf8, std::string* out) const;

    CodePage(uint8_t mark, int number);

private:
    uint8_t mark_;
    int number_;
    std::string toUtf8_[256];
};

}  // namespace xbase
