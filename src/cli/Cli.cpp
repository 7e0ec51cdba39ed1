#include "Cli.h"

#include <ostream>

#include "Commands.h"

namespace cli {

namespace {

struct Command {
    const char* name;
    const char* synopsis;
    int (*run)(const Invocation&);
};

int helpCommand(const Invocation& in);

const Command kCommands[] = {
    {"help", "help                             list the commands", helpCommand},
    {"info", "info TABLE                       fields, record count, code page and tags of a table", infoCommand},
    {"dump", "dump TABLE [--order TAG] [--query EXPR] [--fields F,...]\n"
             "                                 the visible records as CSV (UTF-8, header line)",
     dumpCommand},
    {"count", "count TABLE EXPR                 the number of visible records for which EXPR holds", countCommand},
    {"seek", "seek TABLE TAG KEY [--exact]      the record number found in the tag's order", seekCommand},
    {"new", "new FILE.DBF                     create an address file with its 26 tags", newCommand},
    {"reindex", "reindex FILE.DBF                 remove deleted records and rebuild the tags", reindexCommand},
};

int helpCommand(const Invocation& in) {
    in.out << "Usage: quillory [--home DIR]                 start the desktop program\n"
              "       quillory [--home DIR] COMMAND ARGS    run a command without windows\n\n"
              "Commands:\n";
    for (const Command& c : kCommands) in.out << "  " << c.synopsis << "\n";
    return kOk;
}

}  // namespace

bool isCommand(const std::string& name) {
    for (const Command& c : kCommands)
        if (name == c.name) return true;
    return false;
}

int run(const std::vector<std::string>& args, const std::string& home, std::ostream& out, std::ostream& err) {
    if (args.empty()) {
        return helpCommand(Invocation{{}, home, out, err});
    }
    for (const Command& c : kCommands) {
        if (args[0] == c.name) {
            return c.run(Invocation{std::vector<std::string>(args.begin() + 1, args.end()), home, out, err});
        }
    }
    err << "quillory: unknown command \"" << args[0] << "\" (try quillory help)\n";
    return kUsage;
}

}  // namespace cli
