#include "Expression.h"

#include <algorithm>
#include <cmath>
#include <cstdio>
#include <cstring>
#include <ctime>

#include "ExpressionNodes.h"

namespace xbase {
namespace expr {

namespace {

// Day numbers of 0001-01-01 and 9999-12-31.
constexpr double kMinDay = 1721426;
constexpr double kMaxDay = 5373484;

// Positions and lengths that cut existing text (SUBSTR, LEFT) are clamped to this,
// far beyond any text, so that huge arguments cannot overflow size arithmetic.
constexpr int64_t kHuge = int64_t(1) << 50;

const double kPow10[] = {1e0,  1e1,  1e2,  1e3,  1e4,  1e5,  1e6,  1e7,  1e8,  1e9,  1e10, 1e11,
                         1e12, 1e13, 1e14, 1e15, 1e16, 1e17, 1e18, 1e19, 1e20, 1e21, 1e22};

double pow10(int64_t n) { return n >= 0 && n <= 22 ? kPow10[n] : std::pow(10.0, double(n)); }

bool isLeap(int y) { return (y % 4 == 0 && y % 100 != 0) || y % 400 == 0; }

int daysInMonth(int y, int m) {
    static const int kDays[] = {31, 28, 31, 30, 31, 30, 31, 31, 30, 31, 30, 31};
    return m == 2 && isLeap(y) ? 29 : kDays[m - 1];
}

// Rounds a non-negative magnitude half up. The slack of a few units in the last
// place makes 1.005 * 100 (stored as 100.49999999999999) round as the 1.005 the
// user wrote.
double roundHalfUp(double a) {
    if (a >= 4503599627370496.0) return a;  // 2^52: already whole
    return std::floor(a + 0.5 + a * 0x1p-49);
}

double roundHalfAway(double y) { return y < 0 ? -roundHalfUp(-y) : roundHalfUp(y); }

// `value` with `dec` (at most 18) decimals into buf, which holds 512 bytes, without
// padding; -1 when too large to print.
int formatFixed(double value, int64_t dec, char* buf) {
    const double scaled = std::fabs(value) * pow10(dec);
    if (!std::isfinite(scaled) || scaled > 1e300) return -1;
    const double r = roundHalfUp(scaled);
    char digits[400];
    int n = std::snprintf(digits, sizeof digits, "%.0f", r);
    if (n <= 0 || size_t(n) >= sizeof digits) return -1;
    size_t len = 0;
    if (value < 0 && r != 0) buf[len++] = '-';
    const int intDigits = n > dec ? n - int(dec) : 0;
    if (intDigits == 0) {
        buf[len++] = '0';
    } else {
        std::memcpy(buf + len, digits, size_t(intDigits));
        len += size_t(intDigits);
    }
    if (dec > 0) {
        buf[len++] = '.';
        for (int64_t i = n; i < dec; ++i) buf[len++] = '0';  // leading zeros of the fraction
        std::memcpy(buf + len, digits + intDigits, size_t(n - intDigits));
        len += size_t(n - intDigits);
    }
    return int(len);
}

struct IdentityMap {
    unsigned char map[256];
    IdentityMap() {
        for (int c = 0; c < 256; ++c) map[c] = static_cast<unsigned char>(c);
    }
};

}  // namespace

// ---- dates ---------------------------------------------------------------------

double dayNumber(int y, int m, int d) {
    if (y < 1 || y > 9999 || m < 1 || m > 12 || d < 1 || d > daysInMonth(y, m)) return 0;
    const int64_t a = (14 - m) / 12;
    const int64_t yy = y + 4800 - a;
    const int64_t mm = m + 12 * a - 3;
    return double(d + (153 * mm + 2) / 5 + 365 * yy + yy / 4 - yy / 100 + yy / 400 - 32045);
}

bool calendarDate(double dayNum, int* year, int* month, int* day) {
    if (!(dayNum >= kMinDay && dayNum <= kMaxDay)) return false;
    const int64_t a = int64_t(dayNum) + 32044;
    const int64_t b = (4 * a + 3) / 146097;
    const int64_t c = a - 146097 * b / 4;
    const int64_t d = (4 * c + 3) / 1461;
    const int64_t e = c - 1461 * d / 4;
    const int64_t m = (5 * e + 2) / 153;
    *day = int(e - (153 * m + 2) / 5 + 1);
    *month = int(m + 3 - 12 * (m / 10));
    *year = int(100 * b + d - 4800 + m / 10);
    return true;
}

double clampDay(double dayNum) {
    if (std::isnan(dayNum) || dayNum == 0) return 0;
    return std::trunc(std::min(std::max(dayNum, kMinDay), kMaxDay));
}

double parseDateBytes(const char* p) {
    int v[8];
    for (int i = 0; i < 8; ++i) {
        if (p[i] < '0' || p[i] > '9') return 0;
        v[i] = p[i] - '0';
    }
    return dayNumber(v[0] * 1000 + v[1] * 100 + v[2] * 10 + v[3], v[4] * 10 + v[5], v[6] * 10 + v[7]);
}

double parseMdy(std::string_view s) {
    while (!s.empty() && s.front() == ' ') s.remove_prefix(1);
    while (!s.empty() && s.back() == ' ') s.remove_suffix(1);
    int parts[3] = {0, 0, 0};
    int digits[3] = {0, 0, 0};
    int part = 0;
    char sep = 0;
    for (char c : s) {
        if (c >= '0' && c <= '9') {
            if (++digits[part] > 4) return 0;
            parts[part] = parts[part] * 10 + (c - '0');
        } else if ((c == '/' || c == '-' || c == '.') && part < 2 && (sep == 0 || c == sep)) {
            sep = c;
            ++part;
        } else if (c != ' ') {  // blanks only in an empty date such as "  /  /    "
            return 0;
        } else if (digits[0] + digits[1] + digits[2] > 0) {
            return 0;
        }
    }
    if (part != 2 || digits[0] < 1 || digits[0] > 2 || digits[1] < 1 || digits[1] > 2) return 0;
    int year = parts[2];
    if (digits[2] == 2) {
        year += year < 69 ? 2000 : 1900;
    } else if (digits[2] != 4) {
        return 0;
    }
    return dayNumber(year, parts[0], parts[1]);
}

void formatDtos(double dayNum, char* out) {
    int y, m, d;
    if (!calendarDate(dayNum, &y, &m, &d)) {
        std::memset(out, ' ', 8);
        return;
    }
    const int v[8] = {y / 1000, y / 100 % 10, y / 10 % 10, y % 10, m / 10, m % 10, d / 10, d % 10};
    for (int i = 0; i < 8; ++i) out[i] = char('0' + v[i]);
}

void formatDtoc(double dayNum, char* out) {
    char s[8];
    formatDtos(dayNum, s);
    const char r[10] = {s[4], s[5], '/', s[6], s[7], '/', s[0], s[1], s[2], s[3]};
    std::memcpy(out, r, 10);
}

double todayDayNumber() {
    const std::time_t now = std::time(nullptr);
    std::tm local{};
    if (!localtime_r(&now, &local)) return 0;
    return dayNumber(local.tm_year + 1900, local.tm_mon + 1, local.tm_mday);
}

// ---- numbers -------------------------------------------------------------------

double parseNumber(std::string_view s) {
    size_t i = 0;
    const size_t n = s.size();
    while (i < n && (s[i] == ' ' || s[i] == '\t')) ++i;
    bool negative = false;
    if (i < n && (s[i] == '-' || s[i] == '+')) negative = s[i++] == '-';
    // Up to 18 significant digits are gathered exactly in an integer; later integer
    // digits only scale, later fraction digits are dropped.
    uint64_t mantissa = 0;
    int significant = 0;
    int64_t fractionDigits = 0;
    int64_t extraScale = 0;
    bool point = false;
    for (; i < n; ++i) {
        const char c = s[i];
        if (c >= '0' && c <= '9') {
            if (significant < 18) {
                mantissa = mantissa * 10 + uint64_t(c - '0');
                significant += mantissa != 0;
                fractionDigits += point;
            } else if (!point) {
                ++extraScale;
            }
        } else if (c == '.' && !point) {
            point = true;
        } else {
            break;
        }
    }
    double v = double(mantissa);
    if (extraScale > 0) v *= pow10(extraScale);
    if (fractionDigits > 0) v /= pow10(fractionDigits);
    return negative ? -v : v;
}

void formatStr(double value, int64_t len, int64_t dec, std::string* out) {
    out->clear();
    if (len <= 0) return;
    len = std::min<int64_t>(len, int64_t(kMaxText));
    dec = std::min<int64_t>(std::max<int64_t>(dec, 0), 18);
    if (std::isfinite(value)) {
        char buf[512];
        for (int64_t d = dec; d >= 0; --d) {
            const int n = formatFixed(value, d, buf);
            if (n >= 0 && n <= len) {
                out->assign(size_t(len - n), ' ');
                out->append(buf, size_t(n));
                return;
            }
        }
    }
    out->assign(size_t(len), '*');
}

double roundTo(double value, int64_t decimals) {
    if (!std::isfinite(value)) return value;
    decimals = std::min<int64_t>(std::max<int64_t>(decimals, -18), 18);
    if (decimals >= 0) {
        const double p = pow10(decimals);
        const double scaled = value * p;
        if (!std::isfinite(scaled)) return value;
        return roundHalfAway(scaled) / p;
    }
    const double p = pow10(-decimals);
    return roundHalfAway(value / p) * p;
}

int compareNumbers(double a, double b) {
    if (a == b) return 0;
    const double scale = std::max(std::fabs(a), std::fabs(b));
    if (std::fabs(a - b) <= scale * 1e-12) return 0;
    if (a < b) return -1;
    if (a > b) return 1;
    // A NaN sorts below every number and equals another NaN.
    if (std::isnan(a)) return std::isnan(b) ? 0 : -1;
    return 1;
}

int64_t toInt(double value, int64_t lo, int64_t hi) {
    if (std::isnan(value)) value = 0;
    value = std::trunc(value);
    if (value <= double(lo)) return lo;
    if (value >= double(hi)) return hi;
    return int64_t(value);
}

// ---- text ----------------------------------------------------------------------

int compareTextPrefix(std::string_view a, std::string_view b) {
    const size_t m = std::min(a.size(), b.size());
    if (m > 0) {
        const int c = std::memcmp(a.data(), b.data(), m);
        if (c != 0) return c < 0 ? -1 : 1;
    }
    for (size_t i = m; i < b.size(); ++i) {
        const unsigned char ch = static_cast<unsigned char>(b[i]);
        if (ch != ' ') return ch > ' ' ? -1 : 1;
    }
    return 0;
}

int compareTextPadded(std::string_view a, std::string_view b) {
    const size_t m = std::min(a.size(), b.size());
    if (m > 0) {
        const int c = std::memcmp(a.data(), b.data(), m);
        if (c != 0) return c < 0 ? -1 : 1;
    }
    for (size_t i = m; i < a.size(); ++i) {
        const unsigned char ch = static_cast<unsigned char>(a[i]);
        if (ch != ' ') return ch > ' ' ? 1 : -1;
    }
    for (size_t i = m; i < b.size(); ++i) {
        const unsigned char ch = static_cast<unsigned char>(b[i]);
        if (ch != ' ') return ch > ' ' ? -1 : 1;
    }
    return 0;
}

int compareMapped(const unsigned char* a, size_t size, const unsigned char* map, std::string_view b,
                  bool padded) {
    if (!map) {
        const std::string_view text(reinterpret_cast<const char*>(a), size);
        return padded ? compareTextPadded(text, b) : compareTextPrefix(text, b);
    }
    const auto* bb = reinterpret_cast<const unsigned char*>(b.data());
    const size_t m = std::min(size, b.size());
    for (size_t i = 0; i < m; ++i) {
        const unsigned char x = map[a[i]];
        if (x != bb[i]) return x < bb[i] ? -1 : 1;
    }
    if (padded) {
        for (size_t i = m; i < size; ++i) {
            const unsigned char x = map[a[i]];
            if (x != ' ') return x > ' ' ? 1 : -1;
        }
    }
    for (size_t i = m; i < b.size(); ++i) {
        if (bb[i] != ' ') return bb[i] > ' ' ? -1 : 1;
    }
    return 0;
}

const unsigned char* identityMap() {
    static const IdentityMap identity;
    return identity.map;
}

// ---- node evaluation -----------------------------------------------------------

double TodayNode::number(const EvalContext&) const {
    const int64_t now = int64_t(std::time(nullptr));
    if (now != second_) {
        second_ = now;
        day_ = todayDayNumber();
    }
    return day_;
}

double ArithNode::number(const EvalContext& ctx) const {
    const double a = k0().number(ctx);
    const double b = k1().number(ctx);
    switch (op_) {
        case ArithOp::Add:
            return a + b;
        case ArithOp::Sub:
            return a - b;
        case ArithOp::Mul:
            return a * b;
        case ArithOp::Div:
            return b == 0 ? 0 : a / b;
        case ArithOp::Mod: {
            if (b == 0) return 0;
            double r = std::fmod(a, b);
            if (r != 0 && (r < 0) != (b < 0)) r += b;  // the sign of the divisor, as MOD() gives it
            return r;
        }
        case ArithOp::Pow:
            return std::pow(a, b);
    }
    return 0;
}

double DateAddNode::number(const EvalContext& ctx) const {
    const double date = k0().number(ctx);
    if (date == 0) return 0;
    const double days = k1().number(ctx);
    if (std::isnan(days)) return date;
    return clampDay(date + sign_ * std::trunc(days));
}

std::string_view TextFnNode::evalText(const EvalContext& ctx, size_t limit) const {
    switch (fn_) {
        case TextFn::Left: {
            const size_t n = size_t(toInt(k1().number(ctx), 0, kHuge));
            const std::string_view s = k0().text(ctx, std::min(n, limit));
            return s.substr(0, std::min(n, s.size()));
        }
        case TextFn::Right: {
            const size_t n = size_t(toInt(k1().number(ctx), 0, kHuge));
            const std::string_view s = k0().text(ctx);
            return s.substr(s.size() - std::min(n, s.size()));
        }
        case TextFn::Substr: {
            const size_t start = size_t(toInt(k1().number(ctx), 1, kHuge)) - 1;
            const size_t len = kidCount() > 2 ? size_t(toInt(k2().number(ctx), 0, kHuge)) : kNoLimit;
            const size_t want = std::min(len, limit);
            const std::string_view s = k0().text(ctx, want >= kNoLimit - start ? kNoLimit : start + want);
            if (start >= s.size()) return {};
            return s.substr(start, len);
        }
        case TextFn::RTrim:
        case TextFn::LTrim:
        case TextFn::AllTrim: {
            std::string_view s = k0().text(ctx);
            if (fn_ != TextFn::LTrim) {
                while (!s.empty() && s.back() == ' ') s.remove_suffix(1);
            }
            if (fn_ != TextFn::RTrim) {
                while (!s.empty() && s.front() == ' ') s.remove_prefix(1);
            }
            return s;
        }
        case TextFn::Space:
            buf_.assign(size_t(toInt(k0().number(ctx), 0, kMaxText)), ' ');
            return buf_;
        case TextFn::Replicate: {
            const std::string_view s = k0().text(ctx);
            buf_.clear();
            if (s.empty()) return buf_;
            const int64_t n = std::min<int64_t>(toInt(k1().number(ctx), 0, kMaxText), kMaxText / s.size());
            buf_.reserve(size_t(n) * s.size());
            for (int64_t i = 0; i < n; ++i) buf_.append(s);
            return buf_;
        }
        case TextFn::PadL:
        case TextFn::PadR:
        case TextFn::PadC: {
            const std::string_view s = k0().text(ctx);
            const size_t n = size_t(toInt(k1().number(ctx), 0, kMaxText));
            if (s.size() >= n) return s.substr(0, n);
            char fill = ' ';
            if (kidCount() > 2) {
                const std::string_view f = k2().text(ctx, 1);
                if (!f.empty()) fill = f[0];
            }
            const size_t pad = n - s.size();
            const size_t before = fn_ == TextFn::PadL ? pad : fn_ == TextFn::PadC ? pad / 2 : 0;
            buf_.assign(before, fill);
            buf_.append(s);
            buf_.append(pad - before, fill);
            return buf_;
        }
        case TextFn::Str: {
            const int64_t len = kidCount() > 1 ? toInt(k1().number(ctx), 0, kMaxText) : 10;
            const int64_t dec = kidCount() > 2 ? toInt(k2().number(ctx), 0, 18) : 0;
            formatStr(k0().number(ctx), len, dec, &buf_);
            return buf_;
        }
        case TextFn::Dtos:
            buf_.resize(8);
            formatDtos(k0().number(ctx), buf_.data());
            return buf_;
        case TextFn::Dtoc:
            buf_.resize(10);
            formatDtoc(k0().number(ctx), buf_.data());
            return buf_;
    }
    return {};
}

double NumFnNode::number(const EvalContext& ctx) const {
    switch (fn_) {
        case NumFn::Len:
            return double(k0().text(ctx).size());
        case NumFn::At: {
            const std::string_view needle = k0().text(ctx);
            if (needle.empty()) return 0;
            const size_t pos = k1().text(ctx).find(needle);
            return pos == std::string_view::npos ? 0 : double(pos + 1);
        }
        case NumFn::Val:
            return parseNumber(k0().text(ctx));
        case NumFn::Abs:
            return std::fabs(k0().number(ctx));
        case NumFn::Int:
            return std::trunc(k0().number(ctx));
        case NumFn::Round:
            return roundTo(k0().number(ctx), toInt(k1().number(ctx), -18, 18));
        case NumFn::Year:
        case NumFn::Month:
        case NumFn::Day: {
            int y, m, d;
            if (!calendarDate(k0().number(ctx), &y, &m, &d)) return 0;
            return fn_ == NumFn::Year ? y : fn_ == NumFn::Month ? m : d;
        }
    }
    return 0;
}

}  // namespace expr

// ---- the compiled expression ---------------------------------------------------

namespace {

class CompiledExpression final : public Expression {
  public:
    CompiledExpression(std::string text, expr::NodePtr root, expr::RecordReads reads)
        : text_(std::move(text)), root_(std::move(root)), reads_(std::move(reads)) {}

    const std::string& text() const override { return text_; }
    ValueType type() const override { return root_->type(); }
    int resultWidth() const override {
        switch (root_->type()) {
            case ValueType::Character:
                return root_->width();
            case ValueType::Logical:
                return 1;
            case ValueType::Numeric:
            case ValueType::Date:
                return 8;
        }
        return 0;
    }
    bool evalLogical(const EvalContext& ctx) const override {
        return root_->type() == ValueType::Logical && root_->logical(ctx);
    }
    double evalNumeric(const EvalContext& ctx) const override {
        return root_->type() == ValueType::Numeric ? root_->number(ctx) : 0;
    }
    std::string_view evalText(const EvalContext& ctx) const override {
        return root_->type() == ValueType::Character ? root_->text(ctx) : std::string_view();
    }
    std::string evalString(const EvalContext& ctx) const override {
        std::string out;
        switch (root_->type()) {
            case ValueType::Character:
                out.assign(root_->text(ctx));
                break;
            case ValueType::Numeric:
                expr::formatStr(root_->number(ctx), 10, 0, &out);
                break;
            case ValueType::Logical:
                out = root_->logical(ctx) ? "T" : "F";
                break;
            case ValueType::Date:
                out.resize(8);
                expr::formatDtos(root_->number(ctx), out.data());
                break;
        }
        return out;
    }

    bool readsSameBytes(const char* a, const char* b) const override {
        if (reads_.outside) return false;
        for (const auto& [offset, length] : reads_.ranges)
            if (std::memcmp(a + offset, b + offset, length) != 0) return false;
        return true;
    }

  private:
    std::string text_;
    expr::NodePtr root_;
    expr::RecordReads reads_;
};

}  // namespace

Status Expression::compile(std::string_view text, const RecordLayout& layout, uint8_t codePageMark,
                           std::unique_ptr<Expression>* out) {
    if (!out) return Status::InvalidArgument("No place given for the compiled expression");
    expr::NodePtr root;
    expr::RecordReads reads;
    Status s = expr::parseExpression(text, layout, codePageMark, &root, &reads);
    if (!s.ok()) return s;
    *out = std::make_unique<CompiledExpression>(std::string(text), std::move(root), std::move(reads));
    return Status::OK();
}

}  // namespace xbase
