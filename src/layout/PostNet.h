#pragma once

#include <QString>
#include <vector>

#include "LayoutEnums.h"

// The POSTNET barcode: which ZIP codes print, the delivery point taken from the street
// address, the digits with their check digit, and the bars.
namespace layout::postnet {

// Paper geometry, inches.
constexpr double kBarWidth = 0.015;
constexpr double kBarPitch = 0.046;  // left edge to left edge
constexpr double kFullBarHeight = 0.125;
constexpr double kHalfBarHeight = 0.055;  // standing on the full bars' baseline
constexpr double kHalfBarTop = kFullBarHeight - kHalfBarHeight;

// At least 5 characters, and between "00000" and "99999-9999" as plain strings.
bool IsPrintableZip(const QString& zip);
// Two digits from the street address ("99" for none and for APO/FPO addresses).
QString DeliveryPoint(const QString& address);
// The digits the barcode encodes, without the check digit: the ZIP's digits (the first
// 5 for the 5-digit type), followed by the delivery point for the 11-digit type.
QString Digits(const QString& zip, const QString& address, TPostNetBarCodeType type);
// The digit that makes the sum of all digits a multiple of 10.
int CheckDigit(const QString& digits);
// The bars left to right, true for a full bar: a frame bar, five per digit of
// `digitsWithCheck`, a frame bar.
std::vector<bool> Bars(const QString& digitsWithCheck);

}  // namespace layout::postnet
