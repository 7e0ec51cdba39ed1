#include "LayoutMetrics.h"

#include <cstdint>

namespace layout {

int MulDiv(int a, int b, int c) {
    if (c == 0) return -1;
    const int64_t product = int64_t(a) * b;
    const bool negative = (product < 0) != (c < 0);
    const int64_t n = product < 0 ? -product : product;
    const int64_t d = c < 0 ? -int64_t(c) : c;
    const int64_t q = (n + d / 2) / d;
    return int(negative ? -q : q);
}

}  // namespace layout
