#pragma once

#include <QString>

#include "LayoutEnums.h"

// The Intelligent Mail barcode: the 20-digit tracking code and the 0-, 5-, 9- or 11-digit
// routing code of a mail piece, encoded as 65 bars of four states. The encoding itself
// is libzint's; this file checks the codes with reasons a person can act on, builds the
// routing code from a record's ZIP and street, and fixes the paper geometry.
namespace layout::imb {

// The four bar states, as letters: A ascender (top half), D descender (bottom half),
// F full, T tracker (the short middle part only).
constexpr int kBarCount = 65;

// Paper geometry, inches. The tracker is centred on the full bar's height; an ascender
// runs from the full bar's top to the tracker's bottom, a descender from the tracker's
// top to the full bar's bottom.
constexpr double kBarWidth = 0.020;
constexpr double kBarPitch = 1.0 / 22;  // left edge to left edge: 22 bars an inch
constexpr double kFullBarHeight = 0.145;
constexpr double kTrackerHeight = 0.048;
constexpr double kTrackerTop = (kFullBarHeight - kTrackerHeight) / 2;
constexpr double kAscenderHeight = kTrackerTop + kTrackerHeight;  // 0.0965
constexpr double kDescenderHeight = kAscenderHeight;
// The clear zone kept free left and right of the bars, and above and below them.
constexpr double kSideClearZone = 0.125;
constexpr double kTopClearZone = 0.028;
// From the first bar's left edge to the last bar's right edge: about 2.93 inches.
constexpr double kBarsWidth = (kBarCount - 1) * kBarPitch + kBarWidth;
// What an object needs to hold the bars with their clear zones: about 3.18 inches.
constexpr double kNeededWidth = kBarsWidth + 2 * kSideClearZone;
constexpr double kNeededHeight = kFullBarHeight + 2 * kTopClearZone;

// The top and height, inches below the bars' top, of a bar of `state` ('A', 'D', 'F' or
// 'T').
double BarTop(QChar state);
double BarHeight(QChar state);

// The result of checking or encoding: the 65 state letters, or why there are none.
struct Encoding {
    QString states;
    QString error;  // empty when `states` holds the barcode
    bool ok() const { return error.isEmpty(); }
};

// Encodes a 20-digit tracking code and a routing code of 0, 5, 9 or 11 digits.
Encoding Encode(const QString& tracking, const QString& routing);

// The tracking code from its fields: the barcode identifier (2 digits, the second 0 to
// 4), the service type (3 digits), the mailer identifier (6 digits not starting with 9,
// or 9 digits starting with 9) and the serial number (up to 9 or 6 digits, the rest of
// the 20, padded on the left with zeros). Empty with `error` set when a field is wrong.
QString TrackingCode(const QString& barcodeId, const QString& serviceType, const QString& mailerId,
                     const QString& serial, QString* error);
// How many serial digits a mailer identifier leaves: 9 for 6 digits, 6 for 9 digits, 0
// for anything else.
int SerialLength(const QString& mailerId);

// The routing code of a record: nothing for imbrNone; else the ZIP (5 digits, or
// 5 + 4 written "12345-6789" or "123456789") cut to what `type` asks for, and for
// imbr11Digit the delivery point found in the street address as the POSTNET barcode
// finds it. A ZIP without its +4 gives the 5-digit routing code whatever the type: a
// delivery point means nothing without the +4. Empty with `error` set for a ZIP that
// is not a US ZIP.
QString RoutingCode(const QString& zip, const QString& address, TIMBarCodeRouting type, QString* error);

}  // namespace layout::imb
