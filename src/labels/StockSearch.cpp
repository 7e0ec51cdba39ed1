#include "StockSearch.h"

#include <QRegularExpression>
#include <cmath>

namespace {

// A length as typed: "2", "2.625", "63,5", "5/8" or "2-5/8".
const QString kNumber = QStringLiteral(R"((\d+-\d+/\d+|\d+/\d+|\d+(?:[.,]\d+)?|[.,]\d+))");
const QString kUnit = QStringLiteral(R"((mm|cm|inch(?:es)?|in|"|'')?)");

double lengthOf(QString typed) {
    typed.replace(',', '.');
    double whole = 0;
    if (const int dash = typed.indexOf('-'); dash > 0) {
        whole = typed.left(dash).toDouble();
        typed = typed.mid(dash + 1);
    }
    if (const int slash = typed.indexOf('/'); slash > 0) {
        const double below = typed.mid(slash + 1).toDouble();
        return below > 0 ? whole + typed.left(slash).toDouble() / below : -1;
    }
    return whole + typed.toDouble();
}

}  // namespace

StockSearch::StockSearch(const QString& text) {
    static const QRegularExpression size(
        QStringLiteral(R"((?<![\w.,/-])%1\s*%2\s*[x×]\s*%1\s*%2(?!\w))").arg(kNumber, kUnit),
        QRegularExpression::CaseInsensitiveOption);
    QString rest = text;
    if (const QRegularExpressionMatch m = size.match(text); m.hasMatch()) {
        double a = lengthOf(m.captured(1)), b = lengthOf(m.captured(3));
        const QString unit = (m.captured(2) + m.captured(4)).toLower();
        bool millimetres;
        if (unit.startsWith("mm") || unit.startsWith("cm")) {
            millimetres = true;
            if (unit.startsWith("cm")) a *= 10, b *= 10;
        } else if (!unit.isEmpty()) {
            millimetres = false;
        } else {
            // Without a unit: what would not fit a letter or A4 sheet in inches is millimetres.
            millimetres = std::max(a, b) > 11.7 || std::min(a, b) > 8.5;
        }
        if (a > 0 && b > 0) {
            hasSize_ = true;
            first_ = millimetres ? a / 25.4 : a;
            second_ = millimetres ? b / 25.4 : b;
            tolerance_ = (millimetres ? 1.0 / 25.4 : 1.0 / 16) + 1e-6;
            rest.remove(m.capturedStart(), m.capturedLength());
        }
    }
    words_ = rest.split(QRegularExpression(R"(\s+)"), Qt::SkipEmptyParts);
}

bool StockSearch::matches(const QString& text, double width, double height) const {
    for (const QString& word : words_)
        if (!text.contains(word, Qt::CaseInsensitive)) return false;
    if (!hasSize_) return true;
    const auto near = [this](double a, double b) { return std::abs(a - b) <= tolerance_; };
    return (near(width, first_) && near(height, second_)) || (near(width, second_) && near(height, first_));
}
