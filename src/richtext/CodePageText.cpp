#include "CodePageText.h"

#include <iconv.h>

#include <map>
#include <mutex>
#include <string>

namespace CodePageText {

namespace {

// Windows-1252 0x80..0x9F; 0 marks the five bytes it leaves undefined.
constexpr char16_t kHigh1252[32] = {
    0x20AC, 0,      0x201A, 0x0192, 0x201E, 0x2026, 0x2020, 0x2021, 0x02C6, 0x2030, 0x0160,
    0x2039, 0x0152, 0,      0x017D, 0,      0,      0x2018, 0x2019, 0x201C, 0x201D, 0x2022,
    0x2013, 0x2014, 0x02DC, 0x2122, 0x0161, 0x203A, 0x0153, 0,      0x017E, 0x0178,
};

QString decode1252(const QByteArray& bytes) {
    QString text;
    text.reserve(bytes.size());
    for (const char ch : bytes) {
        const unsigned char b = static_cast<unsigned char>(ch);
        if (b >= 0x80 && b < 0xA0) {
            text += kHigh1252[b - 0x80] ? QChar(kHigh1252[b - 0x80]) : QChar(0xFFFD);
        } else {
            text += QChar(b);
        }
    }
    return text;
}

std::string iconvName(int codePage) {
    if (codePage == 932) return "CP932";
    if (codePage == 936) return "GBK";
    if (codePage == 949) return "CP949";
    if (codePage == 950) return "BIG5";
    if (codePage == 10000) return "MACINTOSH";
    if (codePage == 65001) return "UTF-8";
    return "CP" + std::to_string(codePage);
}

}  // namespace

QString decode(int codePage, const QByteArray& bytes) {
    if (bytes.isEmpty()) return QString();
    if (codePage == 1252 || codePage <= 0) return decode1252(bytes);
    static std::mutex mutex;
    std::lock_guard<std::mutex> lock(mutex);
    // One converter per code page for the run, closed when the program ends.
    struct Converters {
        std::map<int, iconv_t> byPage;
        ~Converters() {
            for (const auto& entry : byPage)
                if (entry.second != reinterpret_cast<iconv_t>(-1)) iconv_close(entry.second);
        }
    };
    static Converters converters;
    auto it = converters.byPage.find(codePage);
    if (it == converters.byPage.end()) {
        it = converters.byPage.emplace(codePage, iconv_open("UTF-16LE", iconvName(codePage).c_str())).first;
    }
    const iconv_t cd = it->second;
    if (cd == reinterpret_cast<iconv_t>(-1)) return decode1252(bytes);

    iconv(cd, nullptr, nullptr, nullptr, nullptr);
    QString text;
    QByteArray in = bytes;
    char* inPtr = in.data();
    size_t inLeft = size_t(in.size());
    std::string out(in.size() * 4 + 8, '\0');
    while (inLeft > 0) {
        char* outPtr = out.data();
        size_t outLeft = out.size();
        const size_t done = iconv(cd, &inPtr, &inLeft, &outPtr, &outLeft);
        text += QString::fromUtf16(reinterpret_cast<const char16_t*>(out.data()),
                                   qsizetype((out.size() - outLeft) / 2));
        if (done == static_cast<size_t>(-1)) {
            // An undefined or cut-off sequence: one replacement character for its
            // first byte, and on with the rest.
            text += QChar(0xFFFD);
            ++inPtr;
            --inLeft;
            iconv(cd, nullptr, nullptr, nullptr, nullptr);
        }
    }
    return text;
}

int windows1252Byte(QChar c) {
    const char16_t u = c.unicode();
    if (u < 0x80 || (u >= 0xA0 && u <= 0xFF)) return u;
    for (int i = 0; i < 32; ++i)
        if (kHigh1252[i] && kHigh1252[i] == u) return 0x80 + i;
    return -1;
}

int codePageOfCharset(int charset) {
    switch (charset) {
        case 0: return 1252;
        case 77: return 10000;
        case 128: return 932;
        case 129: return 949;
        case 134: return 936;
        case 136: return 950;
        case 161: return 1253;
        case 162: return 1254;
        case 163: return 1258;
        case 177: return 1255;
        case 178: return 1256;
        case 186: return 1257;
        case 204: return 1251;
        case 222: return 874;
        case 238: return 1250;
        default: return 0;  // default (1), symbol (2), OEM (255) and the rest
    }
}

}  // namespace CodePageText
