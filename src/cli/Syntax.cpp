#include "Syntax.h"

#include <algorithm>

namespace cli {

namespace {

const std::string kEmpty;

bool inGroup(const Syntax& s, const std::string& name) {
    for (const auto* groups : {&s.oneOf, &s.atMostOneOf})
        for (const auto& group : *groups)
            if (std::find(group.begin(), group.end(), name) != group.end()) return true;
    return false;
}

std::string optionText(const Option& o) { return o.value.empty() ? o.name : o.name + " " + o.value; }

std::string bracketed(const Syntax& s, const Option& o);

// "--filter FILE.FLT [--tag-id ID]": the option and the bracketed ones that go with it.
std::string withFollowers(const Syntax& s, const Option& o) {
    std::string text = optionText(o);
    for (const Option& other : s.options)
        if (other.goesWith == o.name) text += " " + bracketed(s, other);
    return text;
}

// "[--filter FILE.FLT [--tag-id ID]]".
std::string bracketed(const Syntax& s, const Option& o) {
    const std::string text = withFollowers(s, o);
    return o.required ? text : "[" + text + "]";
}

const Option* find(const Syntax& s, const std::string& name) {
    for (const Option& o : s.options)
        if (o.name == name) return &o;
    return nullptr;
}

}  // namespace

std::string Syntax::synopsis() const {
    std::string text = command;
    for (size_t i = 0; i < operands.size(); ++i) {
        const bool optional = i >= operands.size() - optionalOperands;
        text += optional ? " [" + operands[i] + "]" : " " + operands[i];
    }
    const auto alternatives = [&](const std::vector<std::string>& group) {
        std::string list;
        for (const std::string& name : group) {
            if (!list.empty()) list += " | ";
            const Option* o = find(*this, name);
            list += o ? withFollowers(*this, *o) : name;
        }
        return list;
    };
    // A group stands where its first option is declared.
    for (const Option& o : options) {
        if (!o.goesWith.empty()) continue;
        if (!inGroup(*this, o.name)) {
            text += " " + bracketed(*this, o);
            continue;
        }
        for (const auto& group : oneOf)
            if (group.front() == o.name) text += " (" + alternatives(group) + ")";
        for (const auto& group : atMostOneOf)
            if (group.front() == o.name) text += " [" + alternatives(group) + "]";
    }
    return text;
}

const std::string& Arguments::operand(size_t i) const { return i < operands_.size() ? operands_[i] : kEmpty; }

const std::string& Arguments::value(const std::string& option) const {
    const auto it = values_.find(option);
    return it == values_.end() ? kEmpty : it->second;
}

bool Parse(const Syntax& syntax, const std::vector<std::string>& args, Arguments* out) {
    Arguments a;
    for (size_t i = 0; i < args.size(); ++i) {
        const std::string& arg = args[i];
        if (arg.rfind("--", 0) != 0) {
            a.operands_.push_back(arg);
            continue;
        }
        const Option* o = find(syntax, arg);
        if (!o || a.has(arg)) return false;
        if (o->value.empty()) {
            a.values_[arg] = std::string();
        } else {
            if (i + 1 >= args.size()) return false;
            a.values_[arg] = args[++i];
        }
    }
    const size_t required = syntax.operands.size() - syntax.optionalOperands;
    if (a.operands_.size() < required || a.operands_.size() > syntax.operands.size()) return false;
    for (const Option& o : syntax.options) {
        if (o.required && !a.has(o.name)) return false;
        if (!o.goesWith.empty() && a.has(o.name) && !a.has(o.goesWith)) return false;
    }
    const auto given = [&](const std::vector<std::string>& group) {
        return std::count_if(group.begin(), group.end(), [&](const std::string& n) { return a.has(n); });
    };
    for (const auto& group : syntax.oneOf)
        if (given(group) != 1) return false;
    for (const auto& group : syntax.atMostOneOf)
        if (given(group) > 1) return false;
    *out = std::move(a);
    return true;
}

}  // namespace cli
