#pragma once

#include <cstdint>
#include <memory>
#include <string>
#include <string_view>

#include "Field.h"
#include "Status.h"

namespace xbase {

enum class ValueType { Character, Numeric, Logical, Date };

// Reads the text of a memo field of a record. The table supplies one so that
// expressions may name memo fields; without one a memo reads as empty.
class MemoSource {
public:
    virtual ~MemoSource() = default;
    virtual std::string memoText(const FieldDef& field, const char* record) const = 0;
};

// What an expression is evaluated against: one record's raw bytes, borrowed for
// the duration of the call.
struct EvalContext {
    const char* record = nullptr;  // byte 0 is the deletion mark ('*' = deleted)
    uint32_t recNo = 0;            // RECNO()
    bool exact = false;            // SET EXACT: with it off, "a" = "b" holds when a begins with b
    const MemoSource* memo = nullptr;
};

// A compiled xBase expression: parsed once against a record layout, then
// evaluated on raw record bytes any number of times. Evaluation never fails:
// every type error is found by compile().
//
// Evaluation reuses scratch space inside the compiled expression so that it does
// not allocate per record: one Expression must not be evaluated from two threads
// at once (compile one per thread instead). Compiling is thread-safe.
class Expression {
public:
    // Parses `text` against `layout`. A bad expression gives InvalidArgument
    // naming the problem and its 1-based column. `codePageMark` (header byte 29)
    // decides which bytes UPPER() and LOWER() change besides ASCII letters.
    static Status compile(std::string_view text, const RecordLayout& layout, uint8_t codePageMark,
                          std::unique_ptr<Expression>* out);

    virtual ~Expression() = default;

    virtual const std::string& text() const = 0;
    virtual ValueType type() const = 0;
    // Width of a Character result evaluated on a blank record (the key length of
    // an index over this expression); 8 for Numeric and Date, 1 for Logical.
    virtual int resultWidth() const = 0;

    // REQUIRES: type() == Logical.
    virtual bool evalLogical(const EvalContext& ctx) const = 0;
    // REQUIRES: type() == Numeric.
    virtual double evalNumeric(const EvalContext& ctx) const = 0;
    // Any type as text: Character as is, Numeric as STR() gives it, Logical "T" or
    // "F", Date as YYYYMMDD (8 blanks when empty).
    virtual std::string evalString(const EvalContext& ctx) const = 0;
    // A Character result without a copy, for loops over many records: valid until the
    // expression is evaluated again. REQUIRES: type() == Character.
    virtual std::string_view evalText(const EvalContext& ctx) const = 0;
    // Whether every byte the expression reads is the same in the records `a` and `b`,
    // so that it has the same value on both. False when it reads anything besides the
    // record's bytes (a memo's text, today's date).
    virtual bool readsSameBytes(const char* a, const char* b) const = 0;
};

}  // namespace xbase
