#include "CounterText.h"

namespace layout {

QString CounterText(const QString& before, int value, int leadingZeros, const QString& after) {
    // The settings dialog offers 0 to 9; a damaged file must not ask for a gigabyte of zeros.
    constexpr int kMostZeros = 32;
    if (leadingZeros > kMostZeros) leadingZeros = kMostZeros;
    const QString number = leadingZeros > 0 ? QString::asprintf("%*.*d", leadingZeros, leadingZeros, value)
                                            : QString::number(value);
    return before + number + after;
}

}  // namespace layout
