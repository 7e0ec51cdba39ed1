#include "PostNet.h"

namespace layout::postnet {

namespace {

// 1 = full bar, left to right.
const char* const kDigitBars[10] = {"11000", "00011", "00101", "00110", "01001",
                                    "01010", "01100", "10001", "10010", "10100"};

}  // namespace

bool IsPrintableZip(const QString& zip) {
    return zip.size() >= 5 && zip.compare(QLatin1String("00000")) >= 0 &&
           zip.compare(QLatin1String("99999-9999")) <= 0;
}

QString DeliveryPoint(const QString& address) {
    const QString a = address.toUpper();
    if (a.isEmpty() || a.contains("APO") || a.contains("FPO")) return "99";
    QChar tens = ' ', units = ' ';
    bool haveUnits = false, haveTens = false, afterSlash = false, ordinal = false;
    for (qsizetype i = a.size() - 1; i >= 0; --i) {
        const QChar c = a[i];
        const QString w = a.mid(i, 2);
        if (c >= '0' && c <= '9') {
            if (!afterSlash && !ordinal && !(haveUnits && haveTens)) {
                if (!haveUnits) {
                    units = c;
                    haveUnits = true;
                } else {
                    tens = c;
                    haveTens = true;
                }
            }
        } else if (c == ' ') {
            if (haveUnits || haveTens) break;
            afterSlash = false;
            ordinal = false;
        } else if (c == '/' && (haveUnits || haveTens)) {
            // The digits after a fraction bar are dropped.
            afterSlash = true;
            haveUnits = haveTens = false;
            tens = units = ' ';
        } else if (haveUnits && !haveTens) {
            tens = '0';
            haveTens = true;
        } else if (w == "ST" || w == "ND" || w == "RD" || w == "TH") {
            ordinal = true;
        }
    }
    if (!haveUnits && !haveTens) return "99";
    if (!haveTens) tens = '0';
    return QString(tens) + units;
}

QString Digits(const QString& zip, const QString& address, TPostNetBarCodeType type) {
    QString text = zip;
    if (type == pnbc11Digit) text += DeliveryPoint(address);
    QString digits;
    for (QChar c : text)
        if (c >= '0' && c <= '9') digits += c;
    if (type == pnbc5Digit) digits = digits.left(5);
    return digits;
}

int CheckDigit(const QString& digits) {
    int sum = 0;
    for (QChar c : digits) sum += c.digitValue();
    return (10 - sum % 10) % 10;
}

std::vector<bool> Bars(const QString& digitsWithCheck) {
    std::vector<bool> bars{true};
    for (QChar c : digitsWithCheck) {
        const int d = c.digitValue();
        if (d < 0 || d > 9) continue;
        for (const char* b = kDigitBars[d]; *b; ++b) bars.push_back(*b == '1');
    }
    bars.push_back(true);
    return bars;
}

}  // namespace layout::postnet
