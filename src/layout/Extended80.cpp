#include "Extended80.h"

#include <cstring>

namespace layout {

namespace {

constexpr uint64_t kIntegerBit = uint64_t(1) << 63;
constexpr int kBias = 16383;

uint64_t doubleBits(double d) {
    uint64_t bits;
    std::memcpy(&bits, &d, sizeof bits);
    return bits;
}

double bitsDouble(uint64_t bits) {
    double d;
    std::memcpy(&d, &bits, sizeof d);
    return d;
}

Extended80 pack(bool negative, int exponent, uint64_t significand) {
    Extended80 out{};
    for (int i = 0; i < 8; ++i) out[i] = uint8_t(significand >> (8 * i));
    const uint16_t top = uint16_t((negative ? 0x8000 : 0) | (exponent & 0x7FFF));
    out[8] = uint8_t(top);
    out[9] = uint8_t(top >> 8);
    return out;
}

}  // namespace

Extended80 DoubleToExtended(double value) {
    const uint64_t bits = doubleBits(value);
    const bool negative = bits >> 63;
    const int d = int((bits >> 52) & 0x7FF);
    const uint64_t f = bits & ((uint64_t(1) << 52) - 1);
    if (d == 0x7FF) return pack(negative, 0x7FFF, kIntegerBit | (f << 11));
    if (d == 0) {
        if (f == 0) return pack(negative, 0, 0);
        // Subnormal double: normalise, since every double is normal in 80 bits.
        uint64_t m = f << 11;
        int e = 15361;
        while (!(m & kIntegerBit)) {
            m <<= 1;
            --e;
        }
        return pack(negative, e, m);
    }
    return pack(negative, d - 1023 + kBias, kIntegerBit | (f << 11));
}

double ExtendedToDouble(const Extended80& b) {
    uint64_t m = 0;
    for (int i = 7; i >= 0; --i) m = (m << 8) | b[i];
    const uint16_t top = uint16_t(b[8] | (b[9] << 8));
    const bool negative = top & 0x8000;
    const int e = top & 0x7FFF;
    const uint64_t sign = negative ? uint64_t(1) << 63 : 0;
    if (e == 0x7FFF) {
        if ((m & ~kIntegerBit) == 0) return bitsDouble(sign | (uint64_t(0x7FF) << 52));
        return bitsDouble(sign | (uint64_t(0x7FF) << 52) | (uint64_t(1) << 51));  // quiet NaN
    }
    if (m == 0) return bitsDouble(sign);

    int exponent = (e == 0 ? 1 : e) - kBias;
    while (!(m & kIntegerBit)) {
        m <<= 1;
        --exponent;
    }
    int d = exponent + 1023;
    int shift = 11;
    if (d <= 0) {
        shift = 11 + (1 - d);
        d = 0;
    }
    uint64_t q = 0, r = 0, half = 0;
    if (shift >= 64) {
        // Everything is shifted out; only the rounding of the whole value remains.
        q = 0;
        if (shift == 64) {
            r = m;
            half = kIntegerBit;
        } else {
            r = 1;  // strictly below half of the smallest subnormal
            half = 2;
        }
    } else {
        q = m >> shift;
        r = m & ((uint64_t(1) << shift) - 1);
        half = uint64_t(1) << (shift - 1);
    }
    if (r > half || (r == half && (q & 1))) ++q;
    if (d > 0 && q == (uint64_t(1) << 53)) {
        q >>= 1;
        ++d;
    }
    if (d >= 2047) return bitsDouble(sign | (uint64_t(0x7FF) << 52));
    // For d = 0 a carry into bit 52 yields the smallest normal number, as it should.
    const uint64_t bits = d > 0 ? sign | (uint64_t(d) << 52) | (q & ((uint64_t(1) << 52) - 1)) : sign | q;
    return bitsDouble(bits);
}

}  // namespace layout
