#include "CodePage.h"

#include <iconv.h>

#include <map>
#include <memory>
#include <mutex>

namespace xbase {

namespace {

// Header byte 29 -> code page number. On disk, never renumber.
const std::map<uint8_t, int>& markTable() {
    static const std::map<uint8_t, int> table = {
        {0x00, 437},   {0x01, 437},   {0x02, 850},   {0x03, 1252},  {0x04, 10000}, {0x64, 852},
        {0x65, 866},   {0x66, 865},   {0x67, 861},   {0x6A, 737},   {0x6B, 857},   {0x6C, 863},
        {0x96, 10007}, {0x97, 10029}, {0x98, 10006}, {0xC8, 1250},  {0xC9, 1251},  {0xCA, 1254},
        {0xCB, 1253},  {0xCC, 1257},  {0x7D, 1255},  {0x7E, 1256},  {0x7C, 874},
    };
    return table;
}

std::string iconvName(int number) {
    switch (number) {
        case 10000: return "MACINTOSH";
        case 10007: return "MAC-CYRILLIC";
        case 10029: return "MAC-CENTRALEUROPE";
        case 10006: return "MACGREEK";
        default: return "CP" + std::to_string(number);
    }
}

size_t utf8Length(unsigned char lead) {
    if (lead < 0x80) return 1;
    if ((lead & 0xE0) == 0xC0) return 2;
    if ((lead & 0xF0) == 0xE0) return 3;
    if ((lead & 0xF8) == 0xF0) return 4;
    return 0;
}

}  // namespace

CodePage::CodePage(uint8_t mark, int number) : mark_(mark), number_(number) {
    iconv_t cd = iconv_open("UTF-8", iconvName(number).c_str());
    for (int b = 0; b < 256; ++b) {
        char in = static_cast<char>(b);
        if (b < 0x80 || cd == reinterpret_cast<iconv_t>(-1)) {
            toUtf8_[b] = std::string(1, in);
            continue;
        }
        char outBuf[8];
        char* inPtr = &in;
        size_t inLeft = 1;
        char* outPtr = outBuf;
        size_t outLeft = sizeof outBuf;
        iconv(cd, nullptr, nullptr, nullptr, nullptr);
        if (iconv(cd, &inPtr, &inLeft, &outPtr, &outLeft) == static_cast<size_t>(-1)) {
            toUtf8_[b] = "\xEF\xBF\xBD";  // a byte the code page leaves undefined
        } else {
            toUtf8_[b].assign(outBuf, sizeof outBuf - outLeft);
        }
    }
    if (cd != reinterpret_cast<iconv_t>(-1)) iconv_close(cd);
}

Status CodePage::forMark(uint8_t mark, const CodePage** out) {
    static std::mutex mutex;
    static std::map<uint8_t, std::unique_ptr<CodePage>> cache;
    auto it = markTable().find(mark);
    if (it == markTable().end()) {
        return Status::NotSupported("Unknown code page mark " + std::to_string(mark));
    }
    std::lock_guard<std::mutex> lock(mutex);
    auto& slot = cache[mark];
    if (!slot) slot = std::make_unique<CodePage>(mark, it->second);
    *out = slot.get();
    return Status::OK();
}

std::string CodePage::toUtf8(std::string_view bytes) const {
    std::string out;
    out.reserve(bytes.size());
    for (unsigned char c : bytes) out += toUtf8_[c];
    return out;
}

Status CodePage::fromUtf8(std::string_view utf8, std::string* out) const {
    out->clear();
    out->reserve(utf8.size());
    size_t i = 0;
    size_t character = 0;
    while (i < utf8.size()) {
        ++character;
        const unsigned char lead = static_cast<unsigned char>(utf8[i]);
        if (lead < 0x80) {
            out->push_back(static_cast<char>(lead));
            ++i;
            continue;
        }
        const size_t n = utf8Length(lead);
        if (n == 0 || i + n > utf8.size()) {
            return Status::InvalidArgument("The text is not valid UTF-8 at character " + std::to_string(character));
        }
        const std::string_view seq = utf8.substr(i, n);
        int found = -1;
        for (int b = 0x80; b < 256; ++b) {
            if (toUtf8_[b] == seq) {
                found = b;
                break;
            }
        }
        if (found < 0) {
            return Status::InvalidArgument("The character \"" + std::string(seq) +
                                           "\" cannot be stored in code page " + std::to_string(number_));
        }
        out->push_back(static_cast<char>(found));
        i += n;
    }
    return Status::OK();
}

}  // namespace xbase
