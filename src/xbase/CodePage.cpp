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

// Upper-case letters of Windows-1252 beside ASCII, with their lower-case partners.
// Above 0xC0 a capital lies 0x20 below its small letter; × (0xD7) and ÷ (0xF7) are no
// letters, and ß (0xDF) has no capital.
void windows1252Pairs(unsigned char* upper, unsigned char* lower) {
    const auto pair = [&](int small, int capital) {
        upper[small] = static_cast<unsigned char>(capital);
        lower[capital] = static_cast<unsigned char>(small);
    };
    for (int c = 0xE0; c <= 0xFE; ++c) {
        if (c != 0xF7) pair(c, c - 0x20);
    }
    pair(0x9A, 0x8A);  // š Š
    pair(0x9C, 0x8C);  // œ Œ
    pair(0x9E, 0x8E);  // ž Ž
    pair(0xFF, 0x9F);  // ÿ Ÿ
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
    for (int c = 0; c < 256; ++c) upper_[c] = lower_[c] = static_cast<unsigned char>(c);
    for (int c = 'a'; c <= 'z'; ++c) {
        upper_[c] = static_cast<unsigned char>(c - 32);
        lower_[c - 32] = static_cast<unsigned char>(c);
    }
    if (number == 1252) {
        windows1252Pairs(upper_, lower_);
        lowerOnly_ = 0xDF;  // ß
    }
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

const CodePage& CodePage::windows1252() {
    const CodePage* cp = nullptr;
    (void)forMark(kWindows1252, &cp);
    return *cp;
}

const CodePage& CodePage::forMarkOrDos(uint8_t mark) {
    const CodePage* cp = nullptr;
    if (!forMark(mark, &cp).ok()) (void)forMark(0, &cp);
    return *cp;
}

std::string CodePage::upper(std::string_view bytes) const {
    std::string out(bytes);
    for (char& c : out) c = static_cast<char>(upper_[static_cast<unsigned char>(c)]);
    return out;
}

std::string CodePage::lower(std::string_view bytes) const {
    std::string out(bytes);
    for (char& c : out) c = static_cast<char>(lower_[static_cast<unsigned char>(c)]);
    return out;
}

int CodePage::byteOf(std::string_view utf8Char) const {
    for (int b = 0x80; b < 256; ++b) {
        if (toUtf8_[b] == utf8Char) return b;
    }
    return -1;
}

std::string CodePage::upperUtf8(std::string_view utf8) const {
    std::string out;
    out.reserve(utf8.size());
    size_t i = 0;
    while (i < utf8.size()) {
        const unsigned char lead = static_cast<unsigned char>(utf8[i]);
        const size_t n = utf8Length(lead);
        if (lead < 0x80 || n == 0 || i + n > utf8.size()) {  // ASCII, or not UTF-8: byte by byte
            out.push_back(static_cast<char>(lead < 0x80 ? upper_[lead] : lead));
            ++i;
            continue;
        }
        const std::string_view seq = utf8.substr(i, n);
        const int b = byteOf(seq);
        if (b < 0) {
            out.append(seq);
        } else {
            out.append(toUtf8_[upper_[b]]);
        }
        i += n;
    }
    return out;
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
        const int found = byteOf(seq);
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
