#include "CsvDialect.h"

#include "AsciiLine.h"

namespace CsvDialect {

const char* Name(Dialect dialect) { return dialect == Dialect::Own ? "own" : "rfc4180"; }

bool FromName(std::string_view name, Dialect* out) {
    if (name == "own") {
        *out = Dialect::Own;
    } else if (name == "rfc4180") {
        *out = Dialect::Rfc4180;
    } else {
        return false;
    }
    return true;
}

void Splitter::begin() {
    fields_.clear();
    field_.clear();
    state_ = State::Start;
}

bool Splitter::feed(std::string_view line) {
    for (size_t i = 0; i < line.size(); ++i) {
        const char c = line[i];
        switch (state_) {
            case State::Start:
                if (c == '"') {
                    state_ = State::Quoted;
                } else if (c == ',') {
                    fields_.push_back(std::move(field_));
                    field_.clear();
                } else {
                    field_.push_back(c);
                    state_ = State::Unquoted;
                }
                break;
            case State::Unquoted:
                if (c == ',') {
                    fields_.push_back(std::move(field_));
                    field_.clear();
                    state_ = State::Start;
                } else {
                    field_.push_back(c);
                }
                break;
            case State::Quoted: {
                // The run up to the next quote goes in at once.
                size_t stop = line.find('"', i);
                if (stop == std::string_view::npos) stop = line.size();
                field_.append(line.substr(i, stop - i));
                i = stop;
                if (stop < line.size()) state_ = State::QuoteInQuoted;
                break;
            }
            case State::QuoteInQuoted:
                if (c == '"') {
                    field_.push_back('"');
                    state_ = State::Quoted;
                } else if (c == ',') {
                    fields_.push_back(std::move(field_));
                    field_.clear();
                    state_ = State::Start;
                } else {
                    field_.push_back(c);
                    state_ = State::Unquoted;
                }
                break;
        }
    }
    if (state_ == State::Quoted) return false;
    finish();
    return true;
}

void Splitter::lineBreak(std::string_view ending) { field_.append(ending); }

void Splitter::finish() {
    fields_.push_back(std::move(field_));
    field_.clear();
    state_ = State::Start;
}

std::vector<std::string> SplitRfc4180(std::string_view record) {
    Splitter s;
    s.begin();
    if (!s.feed(record)) s.finish();
    return std::move(s.fields());
}

namespace {

// A line the program's twenty-field text export writes.
bool ownTextLine(std::string_view line) {
    return line.size() >= 2 && line.front() == '"' && line.back() == '"' && AsciiLine::Split(line).size() == 20;
}

// Whether a line holds a doubled quote inside a quoted field that is followed by
// something other than a comma or the line's end. `open` carries a quoted field that
// goes on from the line before and is left as the line leaves it.
bool innerDoubledQuote(std::string_view line, bool* open) {
    bool quoted = *open, atStart = !*open;
    for (size_t i = 0; i < line.size(); ++i) {
        const char c = line[i];
        if (!quoted) {
            if (c == '"' && atStart) quoted = true;
            atStart = c == ',';
            continue;
        }
        if (c != '"') continue;
        if (i + 1 < line.size() && line[i + 1] == '"') {
            const size_t after = i + 2;
            if (after < line.size() && line[after] != ',') return true;
            ++i;
            continue;
        }
        quoted = false;
        atStart = false;
    }
    *open = quoted;
    return false;
}

}  // namespace

Dialect Detect(const std::vector<std::string>& lines) {
    bool allOwn = !lines.empty();
    for (const std::string& line : lines) allOwn &= ownTextLine(line);
    if (allOwn) return Dialect::Own;
    bool open = false;
    size_t openedAt = 0;
    for (size_t i = 0; i < lines.size(); ++i) {
        const bool wasOpen = open;
        if (innerDoubledQuote(lines[i], &open)) return Dialect::Rfc4180;
        if (!wasOpen && open) openedAt = i;
        // A quoted field that closes on a later line: a quoted line break.
        if (wasOpen && !open && i > openedAt) return Dialect::Rfc4180;
    }
    return Dialect::Own;
}

namespace {
bool guarded(char c) { return c == '=' || c == '+' || c == '-' || c == '@' || c == '\t' || c == '\r'; }
}  // namespace

bool NeedsGuard(std::string_view value) {
    size_t i = 0;
    while (i < value.size() && value[i] == '\'') ++i;
    return i < value.size() && guarded(value[i]);
}

bool Unguard(std::string* value) {
    if (value->empty() || (*value)[0] != '\'' || !NeedsGuard(std::string_view(*value).substr(1))) return false;
    value->erase(0, 1);
    return true;
}

}  // namespace CsvDialect
