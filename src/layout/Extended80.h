#pragma once

#include <array>
#include <cstdint>

// The 80-bit x87 extended real of layout streams (tag 05), 10 bytes little-endian:
//   bytes 0-7  significand m, with its integer bit (bit 63) explicit
//   bytes 8-9  bit 15 sign, bits 0-14 biased exponent e (bias 16383)
// value = ±m · 2^(e − 16383 − 63); e = 0x7FFF is infinity (m = 2^63) or NaN.
// Both conversions use integer arithmetic only, so they do not depend on the host
// having an 80-bit type.
namespace layout {

using Extended80 = std::array<uint8_t, 10>;

// Exact: every double has an extended value.
Extended80 DoubleToExtended(double value);
// Rounds to nearest, ties to even; out-of-range values become ±infinity, tiny ones
// subnormal or zero.
double ExtendedToDouble(const Extended80& bytes);

}  // namespace layout
