#pragma once

#include <iosfwd>
#include <string>
#include <vector>

#include "Syntax.h"

namespace cli {

// One command as the reference pages show it: its syntax and its description (lines
// separated by '\n').
struct CommandReference {
    const Syntax* syntax;
    std::string description;
};

// The manual page quillory(1) in roff, every command with its synopsis and description.
void WriteManPage(std::ostream& out, const std::vector<CommandReference>& commands);
// A bash completion script: the commands, each command's options, files for operands.
void WriteBashCompletion(std::ostream& out, const std::vector<CommandReference>& commands);

}  // namespace cli
