#pragma once

#include <string>
#include <string_view>
#include <vector>

// The two ways a comma-separated file quotes its values, how to tell them apart, and
// the guard that keeps spreadsheets from running exported values as formulas.
namespace CsvDialect {

enum class Dialect {
    Own,      // the program's own text: AsciiLine::Split, one line per record, quotes kept as stored
    Rfc4180,  // what spreadsheets write: "" inside quotes is one quote; quoted commas and line breaks
};

// "own" / "rfc4180": the names of --dialect.
const char* Name(Dialect dialect);
bool FromName(std::string_view name, Dialect* out);

// Splits records by RFC 4180, read the way spreadsheets read it: a field that starts
// with a quote runs to the matching quote, "" inside it being one quote, and may hold
// commas and line breaks; text after the closing quote joins the field; a quote inside
// an unquoted field is an ordinary character. Fed one physical line at a time (without
// its end): feed() is true once the record is whole, false while a quoted field is still
// open at the end of the line, in which case the next line continues it after
// lineBreak() has put the line's end into the field.
class Splitter {
  public:
    // Starts a new record.
    void begin();
    bool feed(std::string_view line);
    void lineBreak(std::string_view ending);
    // The record's fields once feed() was true. A record still open at the end of the
    // file: finish() closes it as it stands.
    void finish();
    std::vector<std::string>& fields() { return fields_; }
    // Whether a quoted field is open.
    bool open() const { return state_ == State::Quoted; }

  private:
    enum class State { Start, Unquoted, Quoted, QuoteInQuoted };
    std::vector<std::string> fields_;
    std::string field_;
    State state_ = State::Start;
};

// Splits one whole record (which may hold line breaks inside quotes).
std::vector<std::string> SplitRfc4180(std::string_view record);

// Tells the dialect from a file's first physical lines:
//  - every line is one the program's twenty-field text writes (twenty fields by its
//    own rules, the line beginning and ending with a quote): Own;
//  - a doubled quote inside a quoted field that is followed by anything but a comma or
//    the line's end, or a quoted field that closes on a later line: Rfc4180;
//  - otherwise Own (the two read such lines alike).
Dialect Detect(const std::vector<std::string>& lines);

// The formula guard of CSV for spreadsheets: a value that begins with =, +, -, @, tab
// or carriage return, after any apostrophes, is written with one more apostrophe in
// front, so that a spreadsheet shows it as text instead of running it. Apostrophes are
// counted in so that Unguard() gives back exactly the value that was guarded.
bool NeedsGuard(std::string_view value);
// Takes the guard's apostrophe off again: a value that is an apostrophe followed by a
// value NeedsGuard() would guard. True when it took one off.
bool Unguard(std::string* value);

}  // namespace CsvDialect
