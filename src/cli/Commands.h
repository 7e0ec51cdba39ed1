#pragma once

#include <iosfwd>
#include <string>
#include <vector>

namespace cli {

struct Invocation {
    std::vector<std::string> args;  // after the command name
    std::string home;
    std::ostream& out;
    std::ostream& err;
};

int infoCommand(const Invocation& in);
int dumpCommand(const Invocation& in);
int countCommand(const Invocation& in);
int seekCommand(const Invocation& in);
int newCommand(const Invocation& in);
int reindexCommand(const Invocation& in);

}  // namespace cli
