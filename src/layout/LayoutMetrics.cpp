#include "ScreenMetrics.h"

#include <QGuiApplication>
#include <QScreen>
#include <cmath>
#include <cstdint>

namespace layout {

namespace {
int g_fixedPpi = 0;
}

int ScreenPixelsPerInch() {
    if (g_fixedPpi > 0) return g_fixedPpi;
    if (qobject_cast<QGuiApplication*>(QCoreApplication::instance())) {
        if (const QScreen* screen = QGuiApplication::primaryScreen()) {
            const int dpi = int(std::lround(screen->logicalDotsPerInchY()));
            if (dpi > 0) return dpi;
        }
    }
    return 96;
}

void SetScreenPixelsPerInch(int ppi) { g_fixedPpi = ppi > 0 ? ppi : 0; }

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
