// The xBase expression parser: a lexer and a recursive-descent parser that type
// checks as it builds the evaluation tree, folding constant parts as it goes.
//
// Precedence, lowest first:
//   .OR.   .AND.   .NOT. (!)   = == <> # != < <= > >= $   + -   * / %   unary - +   ** ^
// Word operators may be written bare (and, or, not) in any letter case.

#include <algorithm>
#include <cstdio>
#include <cstring>
#include <string>
#include <vector>

#include "ExpressionNodes.h"

namespace xbase::expr {
namespace {

// Parentheses, argument lists and prefix operators nested deeper than this are
// refused, so that a hostile expression cannot exhaust the stack while parsing.
constexpr int kMaxNesting = 64;
// Levels of the finished tree (long chains of operators build deep trees);
// evaluation recurses once per level.
constexpr int kMaxDepth = 1000;

enum class Tok {
    End,
    Error,  // a lexing error, already reported
    Number,
    String,
    Date,
    Ident,
    True,
    False,
    And,
    Or,
    Not,
    LParen,
    RParen,
    Comma,
    Plus,
    Minus,
    Star,
    Slash,
    Percent,
    Power,
    Eq,
    EqEq,
    Ne,
    Lt,
    Le,
    Gt,
    Ge,
    Dollar,
    Arrow,
};

struct Token {
    Tok kind = Tok::End;
    size_t pos = 0;         // 0-based byte offset in the expression
    std::string_view text;  // as written
    std::string str;        // the contents of a string literal
    double num = 0;         // a number, or a date literal's day number
};

// An operator token, kept for messages after the parser has moved on.
struct Op {
    Tok kind;
    size_t pos;
    std::string_view text;
};

enum class Fn {
    Upper,
    Lower,
    Left,
    Right,
    Substr,
    Trim,
    RTrim,
    LTrim,
    AllTrim,
    Len,
    At,
    Empty,
    Deleted,
    RecNo,
    Str,
    Val,
    Dtos,
    Dtoc,
    Ctod,
    Iif,
    Space,
    Replicate,
    PadL,
    PadR,
    PadC,
    Abs,
    Int,
    Round,
    Max,
    Min,
    IsDigit,
    IsAlpha,
    IsUpper,
    IsLower,
    Date,
    Year,
    Month,
    Day,
};

// Argument types: C N L D, or A for any type.
struct FnInfo {
    const char* name;
    Fn fn;
    int minArgs;
    int maxArgs;
    const char* argTypes;
};

const FnInfo kFunctions[] = {
    {"UPPER", Fn::Upper, 1, 1, "C"},     {"LOWER", Fn::Lower, 1, 1, "C"},
    {"LEFT", Fn::Left, 2, 2, "CN"},      {"RIGHT", Fn::Right, 2, 2, "CN"},
    {"SUBSTR", Fn::Substr, 2, 3, "CNN"}, {"TRIM", Fn::Trim, 1, 1, "C"},
    {"RTRIM", Fn::RTrim, 1, 1, "C"},     {"LTRIM", Fn::LTrim, 1, 1, "C"},
    {"ALLTRIM", Fn::AllTrim, 1, 1, "C"}, {"LEN", Fn::Len, 1, 1, "C"},
    {"AT", Fn::At, 2, 2, "CC"},          {"EMPTY", Fn::Empty, 1, 1, "A"},
    {"DELETED", Fn::Deleted, 0, 0, ""},  {"RECNO", Fn::RecNo, 0, 0, ""},
    {"STR", Fn::Str, 1, 3, "NNN"},       {"VAL", Fn::Val, 1, 1, "C"},
    {"DTOS", Fn::Dtos, 1, 1, "D"},       {"DTOC", Fn::Dtoc, 1, 1, "D"},
    {"CTOD", Fn::Ctod, 1, 1, "C"},       {"IIF", Fn::Iif, 3, 3, "LAA"},
    {"SPACE", Fn::Space, 1, 1, "N"},     {"REPLICATE", Fn::Replicate, 2, 2, "CN"},
    {"PADL", Fn::PadL, 2, 3, "CNC"},     {"PADR", Fn::PadR, 2, 3, "CNC"},
    {"PADC", Fn::PadC, 2, 3, "CNC"},     {"ABS", Fn::Abs, 1, 1, "N"},
    {"INT", Fn::Int, 1, 1, "N"},         {"ROUND", Fn::Round, 2, 2, "NN"},
    {"MAX", Fn::Max, 2, 2, "AA"},        {"MIN", Fn::Min, 2, 2, "AA"},
    {"ISDIGIT", Fn::IsDigit, 1, 1, "C"}, {"ISALPHA", Fn::IsAlpha, 1, 1, "C"},
    {"ISUPPER", Fn::IsUpper, 1, 1, "C"}, {"ISLOWER", Fn::IsLower, 1, 1, "C"},
    {"DATE", Fn::Date, 0, 0, ""},        {"YEAR", Fn::Year, 1, 1, "D"},
    {"MONTH", Fn::Month, 1, 1, "D"},     {"DAY", Fn::Day, 1, 1, "D"},
};

// A function by name in any letter case. As in other xBase dialects a name may be
// cut to its first four letters or more (SUBS, ALLT) when that leaves no doubt.
const FnInfo* findFunction(std::string_view name) {
    const std::string upper = asciiUpper(name);
    const FnInfo* prefixMatch = nullptr;
    int prefixMatches = 0;
    for (const FnInfo& f : kFunctions) {
        const std::string_view full(f.name);
        if (full == upper) return &f;
        if (upper.size() >= 4 && full.size() > upper.size() && full.compare(0, upper.size(), upper) == 0) {
            prefixMatch = &f;
            ++prefixMatches;
        }
    }
    return prefixMatches == 1 ? prefixMatch : nullptr;
}

const char* typeName(ValueType t) {
    switch (t) {
        case ValueType::Character:
            return "character";
        case ValueType::Numeric:
            return "numeric";
        case ValueType::Logical:
            return "logical";
        case ValueType::Date:
            return "date";
    }
    return "?";
}

bool typeMatches(char code, ValueType t) {
    switch (code) {
        case 'C':
            return t == ValueType::Character;
        case 'N':
            return t == ValueType::Numeric;
        case 'L':
            return t == ValueType::Logical;
        case 'D':
            return t == ValueType::Date;
        default:
            return true;
    }
}

const char* typeCodeName(char code) {
    switch (code) {
        case 'C':
            return "character";
        case 'N':
            return "numeric";
        case 'L':
            return "logical";
        case 'D':
            return "date";
        default:
            return "any type";
    }
}

bool isDigit(char c) { return c >= '0' && c <= '9'; }
bool isIdentStart(char c) { return (c >= 'A' && c <= 'Z') || (c >= 'a' && c <= 'z') || c == '_'; }
bool isIdentChar(char c) { return isIdentStart(c) || isDigit(c); }

bool equalsNoCase(std::string_view a, std::string_view b) {
    if (a.size() != b.size()) return false;
    for (size_t i = 0; i < a.size(); ++i) {
        char x = a[i];
        char y = b[i];
        if (x >= 'a' && x <= 'z') x = char(x - 32);
        if (y >= 'a' && y <= 'z') y = char(y - 32);
        if (x != y) return false;
    }
    return true;
}

template <class... P>
std::vector<NodePtr> kids(P&&... p) {
    std::vector<NodePtr> v;
    v.reserve(sizeof...(p));
    (v.push_back(std::move(p)), ...);
    return v;
}

// {^2024-03-01}, {03/01/2024} or {} (the empty date); false when invalid.
bool parseDateLiteral(std::string_view s, double* out) {
    while (!s.empty() && s.front() == ' ') s.remove_prefix(1);
    while (!s.empty() && s.back() == ' ') s.remove_suffix(1);
    if (s.empty()) {
        *out = 0;
        return true;
    }
    if (s.front() != '^') {
        *out = parseMdy(s);
        return *out != 0;
    }
    s.remove_prefix(1);
    int parts[3] = {0, 0, 0};
    int digits[3] = {0, 0, 0};
    int part = 0;
    for (char c : s) {
        if (isDigit(c)) {
            if (++digits[part] > 4) return false;
            parts[part] = parts[part] * 10 + (c - '0');
        } else if ((c == '-' || c == '/' || c == '.') && part < 2) {
            ++part;
        } else {
            return false;
        }
    }
    if (part != 2 || digits[0] != 4 || digits[1] == 0 || digits[1] > 2 || digits[2] == 0 || digits[2] > 2) {
        return false;
    }
    *out = dayNumber(parts[0], parts[1], parts[2]);
    return *out != 0;
}

class Parser {
  public:
    Parser(std::string_view text, const RecordLayout& layout, uint8_t codePageMark)
        : src_(text), layout_(layout), codePage_(CodePage::forMarkOrDos(codePageMark)) {}

    // What the expression read, once run() succeeded.
    const RecordReads& reads() const { return reads_; }

    Status run(NodePtr* out) {
        advance();
        if (tok_.kind == Tok::End) return Status::InvalidArgument("Empty expression");
        NodePtr root = parseOr();
        if (root && tok_.kind != Tok::End) unexpected();
        if (!error_.empty()) return Status::InvalidArgument(error_);
        // Not reached: every failure records why. Kept so a slip can never pass as success.
        if (!root) return Status::InvalidArgument("Invalid expression");
        *out = std::move(root);
        return Status::OK();
    }

  private:
    // Counts one level of nesting for as long as it lives.
    class Nest {
      public:
        explicit Nest(Parser* p) : p_(p) { ++p_->nesting_; }
        ~Nest() { --p_->nesting_; }
        bool tooDeep() const { return p_->nesting_ > kMaxNesting; }

      private:
        Parser* p_;
    };

    // Records the first error; returns null so that callers can `return fail(...)`.
    NodePtr fail(const std::string& message, size_t pos) {
        if (error_.empty()) error_ = message + " at column " + std::to_string(pos + 1);
        return nullptr;
    }

    NodePtr unexpected() {
        if (tok_.kind == Tok::Error) return nullptr;
        if (tok_.kind == Tok::End) return fail("Unexpected end of expression", tok_.pos);
        return fail("Unexpected \"" + std::string(tok_.text) + "\"", tok_.pos);
    }

    NodePtr tooDeep() { return fail("Expression is nested too deeply", tok_.pos); }

    // ---- lexer ----

    void advance() {
        while (pos_ < src_.size() &&
               (src_[pos_] == ' ' || src_[pos_] == '\t' || src_[pos_] == '\r' || src_[pos_] == '\n')) {
            ++pos_;
        }
        tok_ = Token();
        tok_.pos = pos_;
        if (pos_ >= src_.size()) return;
        const size_t start = pos_;
        const char c = src_[pos_];
        const char next = pos_ + 1 < src_.size() ? src_[pos_ + 1] : '\0';
        auto emit = [&](Tok kind, size_t len) {
            tok_.kind = kind;
            pos_ = start + len;
            tok_.text = src_.substr(start, len);
        };

        if (isDigit(c) || (c == '.' && isDigit(next))) {
            size_t i = start;
            while (i < src_.size() && isDigit(src_[i])) ++i;
            if (i + 1 < src_.size() && src_[i] == '.' && isDigit(src_[i + 1])) {
                ++i;
                while (i < src_.size() && isDigit(src_[i])) ++i;
            }
            emit(Tok::Number, i - start);
            tok_.num = parseNumber(tok_.text);
            return;
        }
        if (isIdentStart(c)) {
            size_t i = start;
            while (i < src_.size() && isIdentChar(src_[i])) ++i;
            emit(Tok::Ident, i - start);
            return;
        }
        if (c == '"' || c == '\'' || c == '[') {
            const char close = c == '[' ? ']' : c;
            const size_t end = src_.find(close, start + 1);
            if (end == std::string_view::npos) return lexError("Unterminated string", start);
            emit(Tok::String, end + 1 - start);
            tok_.str.assign(src_.substr(start + 1, end - start - 1));
            return;
        }
        if (c == '{') {
            const size_t end = src_.find('}', start + 1);
            if (end == std::string_view::npos) return lexError("Unterminated date", start);
            emit(Tok::Date, end + 1 - start);
            if (!parseDateLiteral(src_.substr(start + 1, end - start - 1), &tok_.num)) {
                return lexError("Invalid date " + std::string(tok_.text), start);
            }
            return;
        }
        if (c == '.') {  // .T. .F. .AND. .OR. .NOT.
            size_t i = start + 1;
            while (i < src_.size() && isIdentStart(src_[i])) ++i;
            if (i < src_.size() && src_[i] == '.' && i > start + 1) {
                const std::string_view word = src_.substr(start + 1, i - start - 1);
                static const struct {
                    const char* word;
                    Tok kind;
                } kDotted[] = {{"T", Tok::True},  {"Y", Tok::True}, {"F", Tok::False}, {"N", Tok::False},
                               {"AND", Tok::And}, {"OR", Tok::Or},  {"NOT", Tok::Not}};
                for (const auto& d : kDotted) {
                    if (equalsNoCase(word, d.word)) return emit(d.kind, i + 1 - start);
                }
                return lexError("Unexpected \"" + std::string(src_.substr(start, i + 1 - start)) + "\"",
                                start);
            }
            return lexError("Unexpected \".\"", start);
        }
        switch (c) {
            case '(':
                return emit(Tok::LParen, 1);
            case ')':
                return emit(Tok::RParen, 1);
            case ',':
                return emit(Tok::Comma, 1);
            case '+':
                return emit(Tok::Plus, 1);
            case '-':
                return next == '>' ? emit(Tok::Arrow, 2) : emit(Tok::Minus, 1);
            case '*':
                return next == '*' ? emit(Tok::Power, 2) : emit(Tok::Star, 1);
            case '^':
                return emit(Tok::Power, 1);
            case '/':
                return emit(Tok::Slash, 1);
            case '%':
                return emit(Tok::Percent, 1);
            case '$':
                return emit(Tok::Dollar, 1);
            case '#':
                return emit(Tok::Ne, 1);
            case '!':
                return next == '=' ? emit(Tok::Ne, 2) : emit(Tok::Not, 1);
            case '=':
                return next == '=' ? emit(Tok::EqEq, 2) : emit(Tok::Eq, 1);
            case '<':
                if (next == '=') return emit(Tok::Le, 2);
                if (next == '>') return emit(Tok::Ne, 2);
                return emit(Tok::Lt, 1);
            case '>':
                return next == '=' ? emit(Tok::Ge, 2) : emit(Tok::Gt, 1);
            default:
                break;
        }
        const unsigned char byte = static_cast<unsigned char>(c);
        if (byte >= 0x21 && byte < 0x7F) return lexError(std::string("Unexpected \"") + c + "\"", start);
        char hex[8];
        std::snprintf(hex, sizeof hex, "0x%02X", byte);
        lexError(std::string("Unexpected byte ") + hex, start);
    }

    void lexError(const std::string& message, size_t pos) {
        fail(message, pos);
        tok_.kind = Tok::Error;
        tok_.text = src_.substr(pos, 1);
        pos_ = src_.size();
    }

    bool isWord(Tok kind, std::string_view word) const {
        return tok_.kind == kind || (tok_.kind == Tok::Ident && equalsNoCase(tok_.text, word));
    }

    Op takeOp() {
        Op op{tok_.kind, tok_.pos, tok_.text};
        advance();
        return op;
    }

    // ---- tree building ----

    // Checks the depth of a new node and folds it when its operands are constants.
    NodePtr finish(NodePtr node, size_t pos) {
        if (!node) return nullptr;
        if (node->depth() > kMaxDepth) return fail("Expression is nested too deeply", pos);
        if (!node->foldable() || node->kidCount() == 0) return node;
        for (size_t i = 0; i < node->kidCount(); ++i) {
            if (!node->kid(i).isConstant()) return node;
        }
        const EvalContext none{};
        switch (node->type()) {
            case ValueType::Character:
                return ConstNode::makeText(std::string(node->text(none)), node->width());
            case ValueType::Logical:
                return ConstNode::makeLogical(node->logical(none));
            case ValueType::Numeric:
            case ValueType::Date:
                return ConstNode::makeNumber(node->type(), node->number(none));
        }
        return node;
    }

    // The length of a text node on a blank record: the width of texts whose length
    // comes from a computed argument, such as PADR(LNAME, LEN(CITY)).
    int64_t blankLength(const Node& node) {
        if (blank_.empty()) {
            blank_.assign(layout_.recordLength(), ' ');
            for (const FieldDef& f : layout_.fields()) {
                if (std::string_view("IBYT0").find(f.type) != std::string_view::npos || f.binaryMemoRef) {
                    std::memset(&blank_[f.offset], 0, std::min<size_t>(f.width, blank_.size() - f.offset));
                }
            }
        }
        EvalContext ctx;
        ctx.record = blank_.data();
        return int64_t(node.text(ctx).size());
    }

    static bool constInt(const Node& node, int64_t* out) {
        if (!node.isConstant()) return false;
        *out = toInt(node.number(EvalContext{}), -int64_t(kMaxText), int64_t(kMaxText));
        return true;
    }

    // ---- grammar ----

    // Entered once per level of parentheses and per argument.
    NodePtr parseOr() {
        Nest nest(this);
        if (nest.tooDeep()) return tooDeep();
        return parseAndOr(false);
    }

    // A chain of .OR. (isAnd false) or .AND. operands.
    NodePtr parseAndOr(bool isAnd) {
        NodePtr first = isAnd ? parseNot() : parseAndOr(true);
        if (!first) return nullptr;
        const Tok kind = isAnd ? Tok::And : Tok::Or;
        const char* word = isAnd ? "AND" : "OR";
        if (!isWord(kind, word)) return first;
        const size_t firstPos = tok_.pos;
        std::vector<NodePtr> operands;
        operands.push_back(std::move(first));
        while (isWord(kind, word)) {
            const Op op = takeOp();
            NodePtr next = isAnd ? parseNot() : parseAndOr(true);
            if (!next) return nullptr;
            if (operands[0]->type() != ValueType::Logical || next->type() != ValueType::Logical) {
                return fail(std::string("Type mismatch: .") + word + ". needs logical operands", op.pos);
            }
            operands.push_back(std::move(next));
        }
        return finish(std::make_unique<AndOrNode>(isAnd, std::move(operands)), firstPos);
    }

    NodePtr parseNot() {
        if (!isWord(Tok::Not, "NOT")) return parseComparison();
        Nest nest(this);
        if (nest.tooDeep()) return tooDeep();
        const Op op = takeOp();
        NodePtr operand = parseNot();
        if (!operand) return nullptr;
        if (operand->type() != ValueType::Logical) {
            return fail("Type mismatch: .NOT. needs a logical operand", op.pos);
        }
        return finish(std::make_unique<NotNode>(kids(operand)), op.pos);
    }

    static bool isComparison(Tok t) {
        return t == Tok::Eq || t == Tok::EqEq || t == Tok::Ne || t == Tok::Lt || t == Tok::Le ||
               t == Tok::Gt || t == Tok::Ge || t == Tok::Dollar;
    }

    NodePtr parseComparison() {
        NodePtr left = parseAdditive();
        while (left && isComparison(tok_.kind)) {
            const Op op = takeOp();
            NodePtr right = parseAdditive();
            if (!right) return nullptr;
            left = makeComparison(op, std::move(left), std::move(right));
        }
        return left;
    }

    NodePtr makeComparison(const Op& op, NodePtr a, NodePtr b) {
        const std::string name = "\"" + std::string(op.text) + "\"";
        const ValueType ta = a->type();
        const ValueType tb = b->type();
        if (op.kind == Tok::Dollar) {
            if (ta != ValueType::Character || tb != ValueType::Character) {
                return fail("Type mismatch: \"$\" needs character operands", op.pos);
            }
            return finish(std::make_unique<ContainsNode>(kids(a, b)), op.pos);
        }
        if (ta != tb) {
            return fail("Type mismatch: " + name + " compares " + typeName(ta) + " with " + typeName(tb),
                        op.pos);
        }
        CmpOp cmp = CmpOp::Eq;
        switch (op.kind) {
            case Tok::EqEq:
                cmp = CmpOp::ExactEq;
                break;
            case Tok::Ne:
                cmp = CmpOp::Ne;
                break;
            case Tok::Lt:
                cmp = CmpOp::Lt;
                break;
            case Tok::Le:
                cmp = CmpOp::Le;
                break;
            case Tok::Gt:
                cmp = CmpOp::Gt;
                break;
            case Tok::Ge:
                cmp = CmpOp::Ge;
                break;
            default:
                break;
        }
        switch (ta) {
            case ValueType::Character:
                return finish(std::make_unique<CompareText>(cmp, kids(a, b)), op.pos);
            case ValueType::Numeric:
            case ValueType::Date:
                return finish(std::make_unique<CompareNum>(cmp, kids(a, b)), op.pos);
            case ValueType::Logical:
                if (cmp != CmpOp::Eq && cmp != CmpOp::ExactEq && cmp != CmpOp::Ne) {
                    return fail("Type mismatch: " + name + " cannot order logical values", op.pos);
                }
                return finish(std::make_unique<CompareLogical>(cmp != CmpOp::Ne, kids(a, b)), op.pos);
        }
        return nullptr;
    }

    NodePtr parseAdditive() {
        NodePtr left = parseMultiplicative();
        while (left && (tok_.kind == Tok::Plus || tok_.kind == Tok::Minus)) {
            const Op op = takeOp();
            NodePtr right = parseMultiplicative();
            if (!right) return nullptr;
            left = makeAdditive(op, std::move(left), std::move(right));
        }
        return left;
    }

    NodePtr makeAdditive(const Op& op, NodePtr a, NodePtr b) {
        using VT = ValueType;
        const VT ta = a->type();
        const VT tb = b->type();
        const bool plus = op.kind == Tok::Plus;
        NodePtr node;
        if (ta == VT::Character && tb == VT::Character) {
            node = plus ? NodePtr(std::make_unique<JoinNode>(kids(a, b)))
                        : NodePtr(std::make_unique<JoinTrimNode>(kids(a, b)));
        } else if (ta == VT::Numeric && tb == VT::Numeric) {
            node = std::make_unique<ArithNode>(plus ? ArithOp::Add : ArithOp::Sub, kids(a, b));
        } else if (ta == VT::Date && tb == VT::Numeric) {
            node = std::make_unique<DateAddNode>(plus ? 1 : -1, kids(a, b));
        } else if (plus && ta == VT::Numeric && tb == VT::Date) {
            node = std::make_unique<DateAddNode>(1, kids(b, a));
        } else if (!plus && ta == VT::Date && tb == VT::Date) {
            node = std::make_unique<DateDiffNode>(kids(a, b));
        } else {
            return fail("Type mismatch: cannot apply \"" + std::string(op.text) + "\" to " + typeName(ta) +
                            " and " + typeName(tb),
                        op.pos);
        }
        return finish(std::move(node), op.pos);
    }

    NodePtr parseMultiplicative() {
        NodePtr left = parseUnary();
        while (left && (tok_.kind == Tok::Star || tok_.kind == Tok::Slash || tok_.kind == Tok::Percent)) {
            const Op op = takeOp();
            NodePtr right = parseUnary();
            if (!right) return nullptr;
            const ArithOp arith = op.kind == Tok::Star    ? ArithOp::Mul
                                  : op.kind == Tok::Slash ? ArithOp::Div
                                                          : ArithOp::Mod;
            left = makeArith(op, arith, std::move(left), std::move(right));
        }
        return left;
    }

    NodePtr makeArith(const Op& op, ArithOp arith, NodePtr a, NodePtr b) {
        if (a->type() != ValueType::Numeric || b->type() != ValueType::Numeric) {
            return fail("Type mismatch: \"" + std::string(op.text) + "\" needs numeric operands", op.pos);
        }
        return finish(std::make_unique<ArithNode>(arith, kids(a, b)), op.pos);
    }

    NodePtr parseUnary() {
        if (tok_.kind != Tok::Minus && tok_.kind != Tok::Plus) return parsePower();
        Nest nest(this);
        if (nest.tooDeep()) return tooDeep();
        const Op op = takeOp();
        return makeSign(op, parseUnary());
    }

    NodePtr makeSign(const Op& op, NodePtr operand) {
        if (!operand) return nullptr;
        if (operand->type() != ValueType::Numeric) {
            return fail("Type mismatch: unary \"" + std::string(op.text) + "\" needs a numeric operand",
                        op.pos);
        }
        if (op.kind == Tok::Plus) return operand;
        return finish(std::make_unique<NegateNode>(kids(operand)), op.pos);
    }

    NodePtr parsePower() {
        NodePtr base = parsePrimary();
        while (base && tok_.kind == Tok::Power) {
            const Op op = takeOp();
            NodePtr exponent = parsePowerOperand();
            if (!exponent) return nullptr;
            base = makeArith(op, ArithOp::Pow, std::move(base), std::move(exponent));
        }
        return base;
    }

    // The right side of ** may carry its own sign: 2 ** -1.
    NodePtr parsePowerOperand() {
        if (tok_.kind != Tok::Minus && tok_.kind != Tok::Plus) return parsePrimary();
        Nest nest(this);
        if (nest.tooDeep()) return tooDeep();
        const Op op = takeOp();
        return makeSign(op, parsePowerOperand());
    }

    NodePtr parsePrimary() {
        NodePtr node;
        switch (tok_.kind) {
            case Tok::Number:
                node = ConstNode::makeNumber(ValueType::Numeric, tok_.num);
                break;
            case Tok::Date:
                node = ConstNode::makeNumber(ValueType::Date, tok_.num);
                break;
            case Tok::String:
                node = ConstNode::makeText(tok_.str, int64_t(tok_.str.size()));
                break;
            case Tok::True:
                node = ConstNode::makeLogical(true);
                break;
            case Tok::False:
                node = ConstNode::makeLogical(false);
                break;
            case Tok::Not:
                return parseNot();  // a negated operand: X = !Y
            case Tok::LParen: {
                advance();
                node = parseOr();
                if (!node) return nullptr;
                if (tok_.kind != Tok::RParen) return fail("Expected \")\"", tok_.pos);
                break;
            }
            case Tok::Ident:
                if (isWord(Tok::Not, "NOT")) return parseNot();
                return parseName();
            default:
                return unexpected();
        }
        advance();
        return node;
    }

    // A field (with or without an alias) or a function call.
    NodePtr parseName() {
        Op name = takeOp();
        if (tok_.kind == Tok::LParen) return parseCall(name);
        if (tok_.kind == Tok::Arrow) {  // ALIAS->FIELD: the alias is ignored
            advance();
            if (tok_.kind != Tok::Ident) return fail("Expected a field name after \"->\"", tok_.pos);
            name = takeOp();
        }
        const int index = layout_.fieldIndex(name.text);
        if (index < 0) return fail("Unknown field \"" + std::string(name.text) + "\"", name.pos);
        const FieldDef& f = layout_.field(index);
        if (f.isMemo())
            reads_.outside = true;
        else
            reads_.ranges.emplace_back(f.offset, f.width);
        switch (f.type) {
            case 'C':
                return std::make_unique<CharField>(f);
            case 'N':
            case 'F':
                return std::make_unique<NumField>(f);
            case 'I':
            case 'Y':
            case 'B':
                return std::make_unique<BinaryNumField>(f);
            case 'L':
                return std::make_unique<LogicalField>(f);
            case 'D':
                return std::make_unique<DateField>(f);
            case 'T':
                return std::make_unique<DateTimeField>(f);
            default:
                if (f.isMemo()) return std::make_unique<MemoField>(f);
                return fail(
                    "Field \"" + f.name + "\" is of type " + f.type + ", which expressions cannot read",
                    name.pos);
        }
    }

    NodePtr parseCall(const Op& name) {
        const FnInfo* fn = findFunction(name.text);
        if (!fn) return fail("Unknown function \"" + std::string(name.text) + "\"", name.pos);
        advance();  // past "("
        std::vector<NodePtr> args;
        std::vector<size_t> argPos;
        if (tok_.kind != Tok::RParen) {
            for (;;) {
                argPos.push_back(tok_.pos);
                NodePtr arg = parseOr();
                if (!arg) return nullptr;
                args.push_back(std::move(arg));
                if (tok_.kind != Tok::Comma) break;
                advance();
            }
        }
        if (tok_.kind != Tok::RParen) return fail("Expected \")\"", tok_.pos);
        advance();

        const int count = int(args.size());
        if (count < fn->minArgs || count > fn->maxArgs) {
            std::string takes;
            if (fn->maxArgs == 0) {
                takes = "no arguments";
            } else if (fn->minArgs == fn->maxArgs) {
                takes = std::to_string(fn->minArgs) + (fn->minArgs == 1 ? " argument" : " arguments");
            } else {
                takes = std::to_string(fn->minArgs) + (fn->maxArgs == fn->minArgs + 1 ? " or " : " to ") +
                        std::to_string(fn->maxArgs) + " arguments";
            }
            return fail(std::string(fn->name) + "() takes " + takes, name.pos);
        }
        for (int i = 0; i < count; ++i) {
            const char code = fn->argTypes[i];
            if (!typeMatches(code, args[size_t(i)]->type())) {
                return fail("Type mismatch: argument " + std::to_string(i + 1) + " of " + fn->name +
                                "() must be " + typeCodeName(code),
                            argPos[size_t(i)]);
            }
        }
        return finish(buildCall(*fn, std::move(args), argPos), name.pos);
    }

    NodePtr textFn(TextFn f, std::vector<NodePtr> args) {
        return std::make_unique<TextFnNode>(f, std::move(args));
    }

    NodePtr numFn(NumFn f, std::vector<NodePtr> args) {
        return std::make_unique<NumFnNode>(f, std::move(args));
    }

    // Builds a call whose argument count and types have been checked, and gives
    // text results their static width.
    NodePtr buildCall(const FnInfo& fn, std::vector<NodePtr> args, const std::vector<size_t>& argPos) {
        const int argWidth = args.empty() ? 0 : args[0]->width();
        int64_t n = 0;
        NodePtr node;
        switch (fn.fn) {
            case Fn::Upper:
                return std::make_unique<CaseMapNode>(codePage_.upperMap(), std::move(args));
            case Fn::Lower:
                return std::make_unique<CaseMapNode>(codePage_.lowerMap(), std::move(args));
            case Fn::Left:
            case Fn::Right: {
                const bool fixed = constInt(*args[1], &n);
                node = textFn(fn.fn == Fn::Left ? TextFn::Left : TextFn::Right, std::move(args));
                node->setWidth(fixed ? n : argWidth);
                return node;
            }
            case Fn::Substr: {
                int64_t start = 0;
                int64_t width = argWidth;
                if (args.size() > 2) {
                    if (constInt(*args[2], &n)) width = n;
                } else if (constInt(*args[1], &start)) {
                    width = argWidth - std::max<int64_t>(start, 1) + 1;
                }
                node = textFn(TextFn::Substr, std::move(args));
                node->setWidth(width);
                return node;
            }
            case Fn::Trim:
            case Fn::RTrim:
            case Fn::LTrim:
            case Fn::AllTrim: {
                const TextFn f = fn.fn == Fn::LTrim     ? TextFn::LTrim
                                 : fn.fn == Fn::AllTrim ? TextFn::AllTrim
                                                        : TextFn::RTrim;
                node = textFn(f, std::move(args));
                node->setWidth(argWidth);  // an index key over ALLTRIM() still gets the field's width
                return node;
            }
            case Fn::Str: {
                const bool fixed = args.size() < 2 || constInt(*args[1], &n);
                if (args.size() < 2) n = 10;
                node = textFn(TextFn::Str, std::move(args));
                node->setWidth(fixed ? n : blankLength(*node));
                return node;
            }
            case Fn::Dtos:
                if (const auto* field = dynamic_cast<const DateField*>(args[0].get());
                    field && field->size() >= 8) {
                    const uint32_t offset = field->offset();
                    return std::make_unique<DtosFieldNode>(offset, std::move(args));
                }
                [[fallthrough]];
            case Fn::Dtoc:
                node = textFn(fn.fn == Fn::Dtos ? TextFn::Dtos : TextFn::Dtoc, std::move(args));
                node->setWidth(fn.fn == Fn::Dtos ? 8 : 10);
                return node;
            case Fn::Space:
            case Fn::Replicate:
            case Fn::PadL:
            case Fn::PadR:
            case Fn::PadC: {
                const Node& count = fn.fn == Fn::Space ? *args[0] : *args[1];
                const bool fixed = constInt(count, &n);
                if (fn.fn == Fn::Replicate)
                    n = std::min<int64_t>(std::max<int64_t>(n, 0) * argWidth, kMaxText);
                const TextFn f = fn.fn == Fn::Space       ? TextFn::Space
                                 : fn.fn == Fn::Replicate ? TextFn::Replicate
                                 : fn.fn == Fn::PadL      ? TextFn::PadL
                                 : fn.fn == Fn::PadR      ? TextFn::PadR
                                                          : TextFn::PadC;
                node = textFn(f, std::move(args));
                node->setWidth(fixed ? n : blankLength(*node));
                return node;
            }
            case Fn::Len:
                return numFn(NumFn::Len, std::move(args));
            case Fn::At:
                return numFn(NumFn::At, std::move(args));
            case Fn::Val:
                return numFn(NumFn::Val, std::move(args));
            case Fn::Abs:
                return numFn(NumFn::Abs, std::move(args));
            case Fn::Int:
                return numFn(NumFn::Int, std::move(args));
            case Fn::Round:
                return numFn(NumFn::Round, std::move(args));
            case Fn::Year:
                return numFn(NumFn::Year, std::move(args));
            case Fn::Month:
                return numFn(NumFn::Month, std::move(args));
            case Fn::Day:
                return numFn(NumFn::Day, std::move(args));
            case Fn::Empty:
                return std::make_unique<EmptyNode>(std::move(args));
            case Fn::Deleted:
                reads_.ranges.emplace_back(0, 1);  // the deletion byte
                return std::make_unique<DeletedNode>();
            case Fn::RecNo:
                return std::make_unique<RecNoNode>();
            case Fn::Date:
                reads_.outside = true;
                return std::make_unique<TodayNode>();
            case Fn::Ctod:
                return std::make_unique<CtodNode>(std::move(args));
            case Fn::Iif: {
                const ValueType t = args[1]->type();
                if (args[2]->type() != t) {
                    return fail("Type mismatch: IIF() needs two values of the same type", argPos[2]);
                }
                return std::make_unique<IifNode>(t, std::move(args));
            }
            case Fn::Max:
            case Fn::Min: {
                const ValueType t = args[0]->type();
                if (args[1]->type() != t || t == ValueType::Logical) {
                    return fail(std::string("Type mismatch: ") + fn.name +
                                    "() needs two numbers, two dates or two texts",
                                argPos[1]);
                }
                return std::make_unique<MinMaxNode>(t, fn.fn == Fn::Max, std::move(args));
            }
            case Fn::IsDigit:
            case Fn::IsAlpha:
            case Fn::IsUpper:
            case Fn::IsLower: {
                const CharClass cls = fn.fn == Fn::IsDigit   ? CharClass::Digit
                                      : fn.fn == Fn::IsAlpha ? CharClass::Alpha
                                      : fn.fn == Fn::IsUpper ? CharClass::Upper
                                                             : CharClass::Lower;
                return std::make_unique<CharClassNode>(cls, codePage_, std::move(args));
            }
        }
        return nullptr;
    }

    std::string_view src_;
    const RecordLayout& layout_;
    const CodePage& codePage_;
    size_t pos_ = 0;
    Token tok_;
    int nesting_ = 0;
    std::string error_;
    std::string blank_;  // a blank record, made when first needed
    RecordReads reads_;
};

}  // namespace

Status parseExpression(std::string_view text, const RecordLayout& layout, uint8_t codePageMark,
                       NodePtr* out, RecordReads* reads) {
    Parser parser(text, layout, codePageMark);
    Status s = parser.run(out);
    if (s.ok() && reads) *reads = parser.reads();
    return s;
}

}  // namespace xbase::expr
