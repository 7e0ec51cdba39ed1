#pragma once

// Private to the expression engine: the evaluation tree that Expression::compile
// builds, and the value helpers the nodes share (implemented in Expression.cpp).
//
// Every node has a fixed result type, checked by the parser, so a parent always
// knows which of logical(), number() or text() to call on a child. Dates travel
// as day numbers (Julian day, 0 = the empty date) through number().
//
// Evaluation allocates nothing in the common paths: a field's text is a view into
// the record, and a node that builds text (UPPER, a join) writes into a scratch
// string it owns and returns a view of it. That view stays valid until the node
// is evaluated again, which is why one tree must not be evaluated by two threads
// at once.

#include <algorithm>
#include <cstddef>
#include <cstdint>
#include <cstring>
#include <memory>
#include <string>
#include <string_view>
#include <utility>
#include <vector>

#include "CodePage.h"
#include "Expression.h"
#include "Field.h"

namespace xbase::expr {

// Longest text a function builds (SPACE, REPLICATE, PADR, STR). Keeps a runaway
// argument such as REPLICATE("x", 1e12) from exhausting memory.
constexpr size_t kMaxText = size_t(1) << 20;

constexpr size_t kNoLimit = std::string_view::npos;

// ---- value helpers -------------------------------------------------------------

// Day number of a calendar date in years 1..9999, or 0 when it is no valid date.
double dayNumber(int year, int month, int day);
// The calendar date of a day number; false for the empty date (and out of range).
bool calendarDate(double dayNum, int* year, int* month, int* day);
// Keeps date arithmetic inside years 1..9999; the empty date and NaN stay empty.
double clampDay(double dayNum);
// A D field: 8 bytes YYYYMMDD; blanks or anything invalid give the empty date.
double parseDateBytes(const char* p);
// MM/DD/YYYY or MM/DD/YY (00-68 = 20xx, 69-99 = 19xx); invalid gives the empty date.
double parseMdy(std::string_view text);
// YYYYMMDD, or 8 blanks for the empty date, into out (which gets 8 bytes).
void formatDtos(double dayNum, char* out);
// MM/DD/YYYY, or "  /  /    " for the empty date, into out (which gets 10 bytes).
void formatDtoc(double dayNum, char* out);
// Today in local time.
double todayDayNumber();

// The number at the start of `text` as VAL() reads it: leading blanks, a sign,
// digits with at most one decimal point; 0 when there is none. Independent of the
// process locale, so a German desktop still reads "1.5" as one and a half.
double parseNumber(std::string_view text);
// STR(value, len, dec): right-aligned in len, fewer decimals when they do not fit,
// len asterisks when even the integer part does not.
void formatStr(double value, int64_t len, int64_t dec, std::string* out);
// ROUND(value, decimals), halves away from zero.
double roundTo(double value, int64_t decimals);
// -1, 0 or 1; numbers differing only in the last few bits (0.1 + 0.2 and 0.3) are equal.
int compareNumbers(double a, double b);
// Text comparison with SET EXACT off: `a` cut to the length of `b`, or padded with
// blanks when shorter. An empty `b` matches everything.
int compareTextPrefix(std::string_view a, std::string_view b);
// Text comparison with both sides padded with blanks to the longer length.
int compareTextPadded(std::string_view a, std::string_view b);
// compareTextPrefix (padded false) or compareTextPadded (true) of `size` record bytes
// at `a`, each first put through `map` (UPPER/LOWER) unless it is null.
int compareMapped(const unsigned char* a, size_t size, const unsigned char* map, std::string_view b,
                  bool padded);

// Every byte to itself. (UPPER() and LOWER() use the maps of the table's CodePage.)
const unsigned char* identityMap();

// A number as a count or position: truncated, NaN as 0, clamped to [lo, hi].
int64_t toInt(double value, int64_t lo, int64_t hi);

// ---- the tree ------------------------------------------------------------------

class Node;
using NodePtr = std::unique_ptr<Node>;

class Node {
  public:
    explicit Node(ValueType type, std::vector<NodePtr> kids = {}) : type_(type), kids_(std::move(kids)) {
        for (const NodePtr& k : kids_) depth_ = std::max(depth_, k->depth_ + 1);
    }
    virtual ~Node() = default;
    Node(const Node&) = delete;
    Node& operator=(const Node&) = delete;

    ValueType type() const { return type_; }
    // Static width of a Character result (see Expression::resultWidth()).
    int width() const { return width_; }
    void setWidth(int64_t width) {
        width_ = static_cast<int>(std::min<int64_t>(std::max<int64_t>(width, 0), kMaxText));
    }
    int depth() const { return depth_; }
    size_t kidCount() const { return kids_.size(); }
    const Node& kid(size_t i) const { return *kids_[i]; }

    virtual bool isConstant() const { return false; }
    // A logical node that evaluates in a few instructions without branching on the
    // record's data; an .AND. over such nodes evaluates all of them rather than
    // stopping early, which costs less than a mispredicted branch.
    virtual bool cheap() const { return false; }
    // For the comparison fast path: a text field, or UPPER()/LOWER() of one, tells
    // where its bytes lie in the record and the byte map to read them through.
    virtual bool recordSpan(uint32_t* /*offset*/, uint32_t* /*size*/, const unsigned char** /*map*/) const {
        return false;
    }
    // True when the value depends on nothing but the children, so that the node is
    // replaced by a constant at compile time when they all are constants.
    virtual bool foldable() const { return true; }

    virtual bool logical(const EvalContext&) const { return false; }
    // Numeric results, and Date results as day numbers.
    virtual double number(const EvalContext&) const { return 0; }
    // The text, or a prefix of it that is at least `limit` bytes long (or the whole
    // text when that is shorter): a caller that reads only `limit` bytes lets UPPER
    // and joins skip the rest.
    std::string_view text(const EvalContext& ctx, size_t limit = kNoLimit) const {
        return evalText(ctx, limit);
    }

  protected:
    virtual std::string_view evalText(const EvalContext&, size_t) const { return {}; }

    const Node& k0() const { return *kids_[0]; }
    const Node& k1() const { return *kids_[1]; }
    const Node& k2() const { return *kids_[2]; }

    ValueType type_;
    int width_ = 0;
    int depth_ = 1;
    std::vector<NodePtr> kids_;
    mutable std::string buf_;  // scratch for nodes that build text
};

// ---- leaves --------------------------------------------------------------------

class ConstNode final : public Node {
  public:
    static NodePtr makeText(std::string value, int64_t width) {
        auto n = std::make_unique<ConstNode>(ValueType::Character);
        n->str_ = std::move(value);
        n->setWidth(width);
        return n;
    }
    static NodePtr makeNumber(ValueType type, double value) {
        auto n = std::make_unique<ConstNode>(type);
        n->num_ = value;
        return n;
    }
    static NodePtr makeLogical(bool value) {
        auto n = std::make_unique<ConstNode>(ValueType::Logical);
        n->bool_ = value;
        return n;
    }
    explicit ConstNode(ValueType type) : Node(type) {}

    const std::string& str() const { return str_; }
    bool isConstant() const override { return true; }
    bool cheap() const override { return true; }
    bool logical(const EvalContext&) const override { return bool_; }
    double number(const EvalContext&) const override { return num_; }

  protected:
    std::string_view evalText(const EvalContext&, size_t) const override { return str_; }

  private:
    std::string str_;
    double num_ = 0;
    bool bool_ = false;
};

// Base of the nodes that read a field of the record. With no record they read a
// blank one.
class FieldNode : public Node {
  public:
    FieldNode(ValueType type, const FieldDef& field)
        : Node(type), offset_(field.offset), size_(field.width) {}
    bool foldable() const override { return false; }
    uint32_t offset() const { return offset_; }
    uint32_t size() const { return size_; }

  protected:
    uint32_t offset_;
    uint32_t size_;
};

class CharField final : public FieldNode {
  public:
    explicit CharField(const FieldDef& f) : FieldNode(ValueType::Character, f), blank_(f.width, ' ') {
        setWidth(f.width);
    }
    bool recordSpan(uint32_t* offset, uint32_t* size, const unsigned char** map) const override {
        *offset = offset_;
        *size = size_;
        *map = nullptr;
        return true;
    }

  protected:
    std::string_view evalText(const EvalContext& ctx, size_t) const override {
        if (!ctx.record) return blank_;
        return std::string_view(ctx.record + offset_, size_);
    }

  private:
    std::string blank_;
};

// N and F: right-aligned ASCII.
class NumField final : public FieldNode {
  public:
    explicit NumField(const FieldDef& f) : FieldNode(ValueType::Numeric, f) {}
    double number(const EvalContext& ctx) const override {
        return ctx.record ? parseNumber(std::string_view(ctx.record + offset_, size_)) : 0;
    }
};

// Visual FoxPro's binary numbers: I (int32), Y (currency, int64 / 10000), B (double).
class BinaryNumField final : public FieldNode {
  public:
    explicit BinaryNumField(const FieldDef& f) : FieldNode(ValueType::Numeric, f), kind_(f.type) {}
    double number(const EvalContext& ctx) const override {
        if (!ctx.record) return 0;
        const char* p = ctx.record + offset_;
        if (kind_ == 'I' && size_ >= 4) return double(int32_t(loadLe(p, 4)));
        if (kind_ == 'Y' && size_ >= 8) return double(int64_t(loadLe(p, 8))) / 10000.0;
        if (kind_ == 'B' && size_ >= 8) {
            const uint64_t bits = loadLe(p, 8);
            double d;
            std::memcpy(&d, &bits, sizeof d);
            return d;
        }
        return 0;
    }

  private:
    static uint64_t loadLe(const char* p, int n) {
        uint64_t v = 0;
        for (int i = n - 1; i >= 0; --i) v = (v << 8) | static_cast<unsigned char>(p[i]);
        return v;
    }
    char kind_;
};

class LogicalField final : public FieldNode {
  public:
    explicit LogicalField(const FieldDef& f) : FieldNode(ValueType::Logical, f) {}
    bool cheap() const override { return true; }
    bool logical(const EvalContext& ctx) const override {
        if (!ctx.record || size_ == 0) return false;
        const char c = static_cast<char>(ctx.record[offset_] | 0x20);  // lower case
        return (c == 't') | (c == 'y');
    }
};

class DateField final : public FieldNode {
  public:
    explicit DateField(const FieldDef& f) : FieldNode(ValueType::Date, f) {}
    double number(const EvalContext& ctx) const override {
        return ctx.record && size_ >= 8 ? parseDateBytes(ctx.record + offset_) : 0;
    }
};

// Visual FoxPro's T: a 4-byte little-endian Julian day, then milliseconds; read as
// its date.
class DateTimeField final : public FieldNode {
  public:
    explicit DateTimeField(const FieldDef& f) : FieldNode(ValueType::Date, f) {}
    double number(const EvalContext& ctx) const override {
        if (!ctx.record || size_ < 4) return 0;
        const unsigned char* p = reinterpret_cast<const unsigned char*>(ctx.record + offset_);
        const int32_t day =
            int32_t(uint32_t(p[0]) | uint32_t(p[1]) << 8 | uint32_t(p[2]) << 16 | uint32_t(p[3]) << 24);
        return day <= 0 ? 0 : clampDay(day);
    }
};

class MemoField final : public FieldNode {
  public:
    explicit MemoField(const FieldDef& f) : FieldNode(ValueType::Character, f), field_(f) {
        setWidth(f.width);
    }

  protected:
    std::string_view evalText(const EvalContext& ctx, size_t) const override {
        if (!ctx.record || !ctx.memo) return {};
        buf_ = ctx.memo->memoText(field_, ctx.record);
        return buf_;
    }

  private:
    FieldDef field_;
};

class DeletedNode final : public Node {
  public:
    DeletedNode() : Node(ValueType::Logical) {}
    bool foldable() const override { return false; }
    bool cheap() const override { return true; }
    bool logical(const EvalContext& ctx) const override { return ctx.record && ctx.record[0] == '*'; }
};

class RecNoNode final : public Node {
  public:
    RecNoNode() : Node(ValueType::Numeric) {}
    bool foldable() const override { return false; }
    double number(const EvalContext& ctx) const override { return ctx.recNo; }
};

// DATE(): asks the clock again only when the second has changed.
class TodayNode final : public Node {
  public:
    TodayNode() : Node(ValueType::Date) {}
    bool foldable() const override { return false; }
    double number(const EvalContext&) const override;

  private:
    mutable int64_t second_ = -1;
    mutable double day_ = 0;
};

// ---- logic and comparison ------------------------------------------------------

// A chain of .AND. or .OR. operands, evaluated left to right with short cut. Kept
// flat so that a filter of a thousand alternatives is not a thousand levels deep.
class AndOrNode final : public Node {
  public:
    AndOrNode(bool isAnd, std::vector<NodePtr> kids)
        : Node(ValueType::Logical, std::move(kids)), and_(isAnd) {
        eager_ = kids_.size() <= 4 &&
                 std::all_of(kids_.begin(), kids_.end(), [](const NodePtr& k) { return k->cheap(); });
    }
    bool cheap() const override { return eager_; }
    bool logical(const EvalContext& ctx) const override {
        if (eager_) {
            bool all = true;
            bool any = false;
            for (const NodePtr& k : kids_) {
                const bool v = k->logical(ctx);
                all &= v;
                any |= v;
            }
            return and_ ? all : any;
        }
        for (const NodePtr& k : kids_) {
            if (k->logical(ctx) != and_) return !and_;
        }
        return and_;
    }

  private:
    bool and_;
    bool eager_ = false;  // all operands cheap: evaluate them all, no early exit
};

class NotNode final : public Node {
  public:
    explicit NotNode(std::vector<NodePtr> kids) : Node(ValueType::Logical, std::move(kids)) {}
    bool cheap() const override { return k0().cheap(); }
    bool logical(const EvalContext& ctx) const override { return !k0().logical(ctx); }
};

enum class CmpOp { Eq, ExactEq, Ne, Lt, Le, Gt, Ge };

inline bool cmpHolds(CmpOp op, int c) {
    switch (op) {
        case CmpOp::Eq:
        case CmpOp::ExactEq:
            return c == 0;
        case CmpOp::Ne:
            return c != 0;
        case CmpOp::Lt:
            return c < 0;
        case CmpOp::Le:
            return c <= 0;
        case CmpOp::Gt:
            return c > 0;
        case CmpOp::Ge:
            return c >= 0;
    }
    return false;
}

// A filter's usual test, UPPER(LNAME) = "SM", reads the record bytes directly:
// no scratch text and no calls into the operand nodes.
class CompareText final : public Node {
  public:
    CompareText(CmpOp op, std::vector<NodePtr> kids) : Node(ValueType::Logical, std::move(kids)), op_(op) {
        if (k1().isConstant()) {
            constRight_ = true;
            right_ = static_cast<const ConstNode&>(k1()).str();
        }
        span_ = k0().recordSpan(&spanOffset_, &spanSize_, &spanMap_);
        // Up to 8 bytes of constant against at least as many of a field: compared as
        // one big-endian integer, without a branch on the data.
        if (span_ && constRight_ && op_ != CmpOp::ExactEq && right_.size() <= 8 &&
            right_.size() <= spanSize_) {
            packed_ = true;
            for (char c : right_) rightKey_ = rightKey_ << 8 | static_cast<unsigned char>(c);
            if (!spanMap_) spanMap_ = identityMap();
        }
    }
    // The outcome of = < > and the like depends on SET EXACT, known only when evaluating.
    bool foldable() const override { return op_ == CmpOp::ExactEq; }
    bool cheap() const override { return packed_; }
    bool logical(const EvalContext& ctx) const override {
        if (packed_ && !ctx.exact && ctx.record) {
            const auto* a = reinterpret_cast<const unsigned char*>(ctx.record) + spanOffset_;
            uint64_t key = 0;
            for (size_t i = 0; i < right_.size(); ++i) key = key << 8 | spanMap_[a[i]];
            return cmpHolds(op_, int(key > rightKey_) - int(key < rightKey_));
        }
        const std::string_view r = constRight_ ? right_ : k1().text(ctx);
        if (span_ && ctx.record) {
            const auto* a = reinterpret_cast<const unsigned char*>(ctx.record) + spanOffset_;
            if (op_ == CmpOp::ExactEq) {
                return spanSize_ == r.size() && compareMapped(a, spanSize_, spanMap_, r, true) == 0;
            }
            return cmpHolds(op_, compareMapped(a, spanSize_, spanMap_, r, ctx.exact));
        }
        if (op_ == CmpOp::ExactEq) return k0().text(ctx) == r;
        if (ctx.exact) return cmpHolds(op_, compareTextPadded(k0().text(ctx), r));
        return cmpHolds(op_, compareTextPrefix(k0().text(ctx, r.size()), r));
    }

  private:
    CmpOp op_;
    bool constRight_ = false;
    std::string_view right_;  // the constant right operand, owned by k1()
    bool span_ = false;       // k0 is a text field, or UPPER/LOWER of one
    uint32_t spanOffset_ = 0;
    uint32_t spanSize_ = 0;
    const unsigned char* spanMap_ = nullptr;
    bool packed_ = false;
    uint64_t rightKey_ = 0;
};

// Numbers and dates.
class CompareNum final : public Node {
  public:
    CompareNum(CmpOp op, std::vector<NodePtr> kids) : Node(ValueType::Logical, std::move(kids)), op_(op) {}
    bool logical(const EvalContext& ctx) const override {
        return cmpHolds(op_, compareNumbers(k0().number(ctx), k1().number(ctx)));
    }

  private:
    CmpOp op_;
};

class CompareLogical final : public Node {
  public:
    CompareLogical(bool equal, std::vector<NodePtr> kids)
        : Node(ValueType::Logical, std::move(kids)), equal_(equal) {}
    bool logical(const EvalContext& ctx) const override {
        return (k0().logical(ctx) == k1().logical(ctx)) == equal_;
    }

  private:
    bool equal_;
};

// a $ b: a occurs in b. An empty a occurs nowhere.
class ContainsNode final : public Node {
  public:
    explicit ContainsNode(std::vector<NodePtr> kids) : Node(ValueType::Logical, std::move(kids)) {}
    bool logical(const EvalContext& ctx) const override {
        const std::string_view needle = k0().text(ctx);
        return !needle.empty() && k1().text(ctx).find(needle) != std::string_view::npos;
    }
};

// ---- text operators ------------------------------------------------------------

class JoinNode final : public Node {
  public:
    explicit JoinNode(std::vector<NodePtr> kids) : Node(ValueType::Character, std::move(kids)) {
        setWidth(int64_t(k0().width()) + k1().width());
    }

  protected:
    std::string_view evalText(const EvalContext& ctx, size_t limit) const override {
        const std::string_view a = k0().text(ctx, limit);
        if (a.size() >= limit) return a;
        const std::string_view b = k1().text(ctx, limit - a.size());
        buf_.assign(a);
        buf_.append(b);
        return buf_;
    }
};

// a - b: a's trailing blanks moved to the end of the result.
class JoinTrimNode final : public Node {
  public:
    explicit JoinTrimNode(std::vector<NodePtr> kids) : Node(ValueType::Character, std::move(kids)) {
        setWidth(int64_t(k0().width()) + k1().width());
    }

  protected:
    std::string_view evalText(const EvalContext& ctx, size_t) const override {
        const std::string_view a = k0().text(ctx);
        size_t kept = a.size();
        while (kept > 0 && a[kept - 1] == ' ') --kept;
        const std::string_view b = k1().text(ctx);
        buf_.assign(a.substr(0, kept));
        buf_.append(b);
        buf_.append(a.size() - kept, ' ');
        return buf_;
    }
};

// ---- arithmetic ----------------------------------------------------------------

enum class ArithOp { Add, Sub, Mul, Div, Mod, Pow };

// Division and modulo by zero give 0 rather than an infinity or NaN.
class ArithNode final : public Node {
  public:
    ArithNode(ArithOp op, std::vector<NodePtr> kids) : Node(ValueType::Numeric, std::move(kids)), op_(op) {}
    double number(const EvalContext& ctx) const override;

  private:
    ArithOp op_;
};

class NegateNode final : public Node {
  public:
    explicit NegateNode(std::vector<NodePtr> kids) : Node(ValueType::Numeric, std::move(kids)) {}
    double number(const EvalContext& ctx) const override { return -k0().number(ctx); }
};

// date + days, date - days (sign -1). k0 is the date. The empty date stays empty.
class DateAddNode final : public Node {
  public:
    DateAddNode(int sign, std::vector<NodePtr> kids) : Node(ValueType::Date, std::move(kids)), sign_(sign) {}
    double number(const EvalContext& ctx) const override;

  private:
    int sign_;
};

// date - date in days; 0 when either is empty.
class DateDiffNode final : public Node {
  public:
    explicit DateDiffNode(std::vector<NodePtr> kids) : Node(ValueType::Numeric, std::move(kids)) {}
    double number(const EvalContext& ctx) const override {
        const double a = k0().number(ctx);
        const double b = k1().number(ctx);
        return a == 0 || b == 0 ? 0 : a - b;
    }
};

// ---- functions -----------------------------------------------------------------

// UPPER() and LOWER(): a byte map over the text.
class CaseMapNode final : public Node {
  public:
    CaseMapNode(const unsigned char* map, std::vector<NodePtr> kids)
        : Node(ValueType::Character, std::move(kids)), map_(map) {
        setWidth(k0().width());
    }
    bool recordSpan(uint32_t* offset, uint32_t* size, const unsigned char** map) const override {
        if (!k0().recordSpan(offset, size, map) || *map) return false;
        *map = map_;
        return true;
    }

  protected:
    std::string_view evalText(const EvalContext& ctx, size_t limit) const override {
        const std::string_view s = k0().text(ctx, limit);
        const size_t n = std::min(s.size(), limit);
        buf_.resize(n);
        char* out = buf_.data();
        for (size_t i = 0; i < n; ++i) out[i] = static_cast<char>(map_[static_cast<unsigned char>(s[i])]);
        return std::string_view(out, n);
    }

  private:
    const unsigned char* map_;
};

// Text functions of up to three arguments that only cut their argument or build
// a new text: LEFT RIGHT SUBSTR TRIM LTRIM ALLTRIM SPACE REPLICATE PADL PADR
// PADC STR DTOS DTOC.
enum class TextFn {
    Left,
    Right,
    Substr,
    RTrim,
    LTrim,
    AllTrim,
    Space,
    Replicate,
    PadL,
    PadR,
    PadC,
    Str,
    Dtos,
    Dtoc
};

class TextFnNode final : public Node {
  public:
    TextFnNode(TextFn fn, std::vector<NodePtr> kids) : Node(ValueType::Character, std::move(kids)), fn_(fn) {}

  protected:
    std::string_view evalText(const EvalContext& ctx, size_t limit) const override;

  private:
    TextFn fn_;
};

// Numeric results of one or two arguments: LEN AT VAL ABS INT ROUND YEAR MONTH DAY.
enum class NumFn { Len, At, Val, Abs, Int, Round, Year, Month, Day };

class NumFnNode final : public Node {
  public:
    NumFnNode(NumFn fn, std::vector<NodePtr> kids) : Node(ValueType::Numeric, std::move(kids)), fn_(fn) {}
    double number(const EvalContext& ctx) const override;

  private:
    NumFn fn_;
};

// DTOS() of a D field: the field's own bytes when they hold a valid date, which
// spares index builds a conversion to day numbers and back.
class DtosFieldNode final : public Node {
  public:
    DtosFieldNode(uint32_t offset, std::vector<NodePtr> kids)
        : Node(ValueType::Character, std::move(kids)), offset_(offset) {
        setWidth(8);
    }

  protected:
    std::string_view evalText(const EvalContext& ctx, size_t) const override {
        const bool valid = ctx.record && parseDateBytes(ctx.record + offset_) != 0;
        return valid ? std::string_view(ctx.record + offset_, 8) : std::string_view("        ");
    }

  private:
    uint32_t offset_;
};

class CtodNode final : public Node {
  public:
    explicit CtodNode(std::vector<NodePtr> kids) : Node(ValueType::Date, std::move(kids)) {}
    double number(const EvalContext& ctx) const override { return parseMdy(k0().text(ctx)); }
};

// EMPTY(): blank text (blanks, tabs, line ends), 0, .F. or the empty date.
class EmptyNode final : public Node {
  public:
    explicit EmptyNode(std::vector<NodePtr> kids) : Node(ValueType::Logical, std::move(kids)) {}
    bool logical(const EvalContext& ctx) const override {
        switch (k0().type()) {
            case ValueType::Logical:
                return !k0().logical(ctx);
            case ValueType::Numeric:
            case ValueType::Date:
                return k0().number(ctx) == 0;
            case ValueType::Character:
                for (char c : k0().text(ctx)) {
                    if (c != ' ' && c != '\t' && c != '\r' && c != '\n') return false;
                }
                return true;
        }
        return true;
    }
};

// ISDIGIT ISALPHA ISUPPER ISLOWER: a test of the first byte; false for empty text.
enum class CharClass { Digit, Alpha, Upper, Lower };

class CharClassNode final : public Node {
  public:
    CharClassNode(CharClass cls, const CodePage& codePage, std::vector<NodePtr> kids)
        : Node(ValueType::Logical, std::move(kids)), cls_(cls), codePage_(codePage) {}
    bool logical(const EvalContext& ctx) const override {
        const std::string_view s = k0().text(ctx, 1);
        if (s.empty()) return false;
        const unsigned char c = static_cast<unsigned char>(s[0]);
        const bool isUpper = codePage_.isUpper(c);
        const bool isLower = codePage_.isLower(c);
        switch (cls_) {
            case CharClass::Digit:
                return c >= '0' && c <= '9';
            case CharClass::Alpha:
                return isUpper || isLower;
            case CharClass::Upper:
                return isUpper;
            case CharClass::Lower:
                return isLower;
        }
        return false;
    }

  private:
    CharClass cls_;
    const CodePage& codePage_;
};

// IIF(cond, a, b).
class IifNode final : public Node {
  public:
    IifNode(ValueType type, std::vector<NodePtr> kids) : Node(type, std::move(kids)) {
        setWidth(std::max(k1().width(), k2().width()));
    }
    bool logical(const EvalContext& ctx) const override {
        return k0().logical(ctx) ? k1().logical(ctx) : k2().logical(ctx);
    }
    double number(const EvalContext& ctx) const override {
        return k0().logical(ctx) ? k1().number(ctx) : k2().number(ctx);
    }

  protected:
    std::string_view evalText(const EvalContext& ctx, size_t limit) const override {
        return k0().logical(ctx) ? k1().text(ctx, limit) : k2().text(ctx, limit);
    }
};

// MAX(a, b) and MIN(a, b) over numbers, dates or texts (texts compared padded).
class MinMaxNode final : public Node {
  public:
    MinMaxNode(ValueType type, bool isMax, std::vector<NodePtr> kids)
        : Node(type, std::move(kids)), max_(isMax) {
        setWidth(std::max(k0().width(), k1().width()));
    }
    double number(const EvalContext& ctx) const override {
        const double a = k0().number(ctx);
        const double b = k1().number(ctx);
        return (compareNumbers(a, b) >= 0) == max_ ? a : b;
    }

  protected:
    std::string_view evalText(const EvalContext& ctx, size_t) const override {
        const std::string_view a = k0().text(ctx);
        const std::string_view b = k1().text(ctx);
        return (compareTextPadded(a, b) >= 0) == max_ ? a : b;
    }

  private:
    bool max_;
};

// ---- entry ---------------------------------------------------------------------

// Parses and type-checks `text` into a tree (ExpressionParser.cpp).
// The bytes of a record an expression reads: a change elsewhere in the record cannot
// change its value. `outside` when it also reads what the record's bytes do not hold
// (a memo's text, today's date).
struct RecordReads {
    std::vector<std::pair<uint32_t, uint32_t>> ranges;  // offset, length
    bool outside = false;
};

Status parseExpression(std::string_view text, const RecordLayout& layout, uint8_t codePageMark, NodePtr* out,
                       RecordReads* reads = nullptr);

}  // namespace xbase::expr
