#include "LetterUnits.h"

#include <QLocale>
#include <cmath>

#include "LetterPage.h"

namespace LetterUnits {

namespace {

double perUnit(Unit unit) {
    switch (unit) {
        case Unit::Inch: return LetterPage::kTwipsPerInch;
        case Unit::Cm: return LetterPage::kTwipsPerCm;
        case Unit::Twips: return 1;
    }
    return 1;
}

bool number(const QString& text, double* value) {
    const QString t = text.trimmed();
    if (t.isEmpty()) {
        *value = 0;
        return true;
    }
    bool ok = false;
    *value = QLocale().toDouble(t, &ok);
    if (!ok) *value = QLocale::c().toDouble(t, &ok);
    return ok && std::isfinite(*value) && std::fabs(*value) < 1e6;
}

}  // namespace

QString Show(int twips, Unit unit) {
    if (unit == Unit::Twips) return QString::number(twips);
    return QString::number(twips / perUnit(unit), 'f', 2);
}

bool Parse(const QString& text, Unit unit, int* twips) {
    double v = 0;
    if (!number(text, &v)) return false;
    *twips = int(std::lround(v * perUnit(unit)));
    return true;
}

QString ShowPoints(int twips) {
    return QString::number(std::lround(double(twips) / LetterPage::kTwipsPerInch * 72));
}

bool ParsePoints(const QString& text, int* twips) {
    double v = 0;
    if (!number(text, &v)) return false;
    *twips = int(std::lround(v / 72 * LetterPage::kTwipsPerInch));
    return true;
}

}  // namespace LetterUnits
