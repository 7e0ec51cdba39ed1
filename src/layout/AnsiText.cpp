#include "AnsiText.h"

namespace layout {

namespace {

// Bytes 0x80-0x9F of Windows-1252. The five bytes the code page leaves undefined map
// to the C1 control characters of the same value, as Windows itself maps them, so
// that every byte string survives a read and a write unchanged.
const char16_t kHigh[32] = {
    0x20AC, 0x0081, 0x201A, 0x0192, 0x201E, 0x2026, 0x2020, 0x2021, 0x02C6, 0x2030, 0x0160,
    0x2039, 0x0152, 0x008D, 0x017D, 0x008F, 0x0090, 0x2018, 0x2019, 0x201C, 0x201D, 0x2022,
    0x2013, 0x2014, 0x02DC, 0x2122, 0x0161, 0x203A, 0x0153, 0x009D, 0x017E, 0x0178,
};

}  // namespace

QString FromAnsi(const QByteArray& bytes) {
    QString out;
    out.reserve(bytes.size());
    for (char c : bytes) {
        const unsigned char b = static_cast<unsigned char>(c);
        out += (b >= 0x80 && b < 0xA0) ? QChar(kHigh[b - 0x80]) : QChar(b);
    }
    return out;
}

bool ToAnsi(const QString& text, QByteArray* out) {
    QByteArray bytes;
    bytes.reserve(text.size());
    for (QChar ch : text) {
        const char16_t u = ch.unicode();
        int b = -1;
        if (u < 0x80 || (u >= 0xA0 && u <= 0xFF)) {
            b = u;
        } else {
            for (int i = 0; i < 32; ++i) {
                if (kHigh[i] == u) {
                    b = 0x80 + i;
                    break;
                }
            }
        }
        if (b < 0) return false;
        bytes += static_cast<char>(b);
    }
    *out = bytes;
    return true;
}

}  // namespace layout
