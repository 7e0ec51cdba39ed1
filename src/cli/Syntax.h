#pragma once

#include <map>
#include <string>
#include <vector>

namespace cli {

// One option of a command: a flag ("--exact") or an option with a value ("--order TAG").
struct Option {
    std::string name;       // "--order"
    std::string value;      // what the value is called in the usage ("TAG"); empty: a flag
    std::string goesWith;   // an option this one needs ("--tag-id" goes with "--filter")
    bool required = false;  // must be given (shown without brackets)
};

// A command's arguments as declared: the operands in order (the last
// `optionalOperands` of them may be left out), its options, and groups of options of
// which exactly one must be given. The usage text and the parsing both come from it.
struct Syntax {
    std::string command;  // "dump"
    std::vector<std::string> operands;
    size_t optionalOperands = 0;
    std::vector<Option> options;
    std::vector<std::vector<std::string>> oneOf;  // e.g. {"--pdf", "--printer"}
    // Groups of which at most one may be given: "[--all | --filter FILE.FLT | --recno N]".
    std::vector<std::vector<std::string>> atMostOneOf;

    // "dump TABLE [--order TAG] ... [--filter FILE.FLT [--tag-id ID]]", option names
    // in declaration order, an option that goes with another inside the other's
    // brackets, a one-of group as "(--pdf OUT.pdf | --printer NAME)", an at-most-one
    // group as "[--all | --recno N]".
    std::string synopsis() const;
};

// A command's arguments once parsed.
class Arguments {
  public:
    const std::vector<std::string>& operands() const { return operands_; }
    // The operand at `i`; empty when it was left out.
    const std::string& operand(size_t i) const;
    bool has(const std::string& option) const { return values_.count(option) != 0; }
    // The option's value; empty when it was not given.
    const std::string& value(const std::string& option) const;

  private:
    friend bool Parse(const Syntax&, const std::vector<std::string>&, Arguments*);
    std::vector<std::string> operands_;
    std::map<std::string, std::string> values_;
};

// Reads `args` (after the command name) by the syntax. False when they do not fit it:
// an unknown option, an option without its value or given twice, too few or too many
// operands, a required option missing, an option given without the one it goes with,
// or not exactly one of a one-of group. An argument that starts with "--" is always taken for an option.
bool Parse(const Syntax& syntax, const std::vector<std::string>& args, Arguments* out);

}  // namespace cli
