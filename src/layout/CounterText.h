#pragma once

#include <QString>

namespace layout {

// A counter's text: before + the value + after; with `leadingZeros` n above 0 the value
// has at least n digits, padded with zeros (as printf's "%n.nd").
QString CounterText(const QString& before, int value, int leadingZeros, const QString& after);

}  // namespace layout
