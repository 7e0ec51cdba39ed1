#pragma once

#include <iosfwd>
#include <string>
#include <vector>

namespace cli {

// Exit codes of every command.
enum ExitCode { kOk = 0, kFailed = 1, kUsage = 2 };

// Runs one headless command. `args` starts with the command name; `home` is the
// application home. Results go to `out`, messages to `err`.
int run(const std::vector<std::string>& args, const std::string& home, std::ostream& out, std::ostream& err);

// True when `name` is a command of the command line.
bool isCommand(const std::string& name);

}  // namespace cli
