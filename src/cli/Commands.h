#pragma once

#include <QString>
#include <iosfwd>
#include <string>
#include <vector>

namespace xbase {
class Table;
}

namespace cli {

struct Invocation {
    std::vector<std::string> args;  // after the command name
    std::string home;
    std::ostream& out;
    std::ostream& err;
};

// Writes "quillory: " + message (CR LF line breaks as LF) to err; returns kFailed.
int fail(const Invocation& in, const QString& message);
// Writes "quillory: " + text to err; returns kUsage.
int usage(const Invocation& in, const std::string& text);

int infoCommand(const Invocation& in);
int dumpCommand(const Invocation& in);
int countCommand(const Invocation& in);
int seekCommand(const Invocation& in);
int newCommand(const Invocation& in);
int reindexCommand(const Invocation& in);
int filterCommand(const Invocation& in);
int presortCommand(const Invocation& in);
int zipcountCommand(const Invocation& in);
int layoutDumpCommand(const Invocation& in);
int layoutPrintCommand(const Invocation& in);

// The options --filter FILE.FLT and --tag-id ID.
struct FilterOptions {
    std::string file;  // empty: no filter
    std::string tagId;
    bool tagIdGiven = false;  // else the home's Misc/GlobalTagId
};
// Takes --filter or --tag-id and its value at args[*i], moving *i onto the value;
// false when args[*i] is neither (or lacks its value).
bool TakeFilterOption(const std::vector<std::string>& args, size_t* i, FilterOptions* options);
// The FilterExpression that the .FLT file gives (empty when it sets nothing). Any
// other result is an exit code, its message written to err.
int FilterExpressionFromFile(const Invocation& in, const FilterOptions& options, QString* expression);
// The table query the main window makes of that filter: "!ISDEL", or the expression
// followed by ".and. !ISDEL"; a filter too long for it gives the program's message.
int FilterQueryFromFile(const Invocation& in, const FilterOptions& options, QString* query);
// Sets the table's query: `expr` (UTF-8, as typed) within the saved filter when one is
// named, both turned into the table's code page. An exit code, its message written.
int applyQuery(const Invocation& in, xbase::Table& table, const std::string& expr, const FilterOptions& filter);

}  // namespace cli
