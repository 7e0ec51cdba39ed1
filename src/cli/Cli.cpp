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
             "       [--filter FILE.FLT [--tag-id ID]]\n"
             "                                 the visible records as CSV (UTF-8, header line), within the\n"
             "                                 saved filter when one is given",
     dumpCommand},
    {"count", "count TABLE [EXPR] [--filter FILE.FLT [--tag-id ID]]\n"
              "                                 the number of visible records for which EXPR holds,\n"
              "                                 within the saved filter when one is given (then EXPR\n"
              "                                 may be left out)",
     countCommand},
    {"seek", "seek TABLE TAG KEY [--exact]     the record number found in the tag's order", seekCommand},
    {"new", "new FILE.DBF                     create an address file with its 26 tags", newCommand},
    {"reindex", "reindex FILE.DBF                 remove deleted records and rebuild the tags", reindexCommand},
    {"filter", "filter FILE.FLT [--tag-id ID]    the filter expression a saved filter gives (tagged\n"
               "                                 records: ID, else the home's Misc/GlobalTagId)",
     filterCommand},
    {"presort", "presort FILE.DBF [--filter FILE.FLT [--tag-id ID]] [--out PATH]\n"
                "                                 group the records by ZIP for bulk mail into PRESORT.PSL\n"
                "                                 (default: in the home)",
     presortCommand},
    {"zipcount", "zipcount FILE.DBF [--filter FILE.FLT [--tag-id ID]] (--pdf OUT.pdf | --printer NAME)\n"
                 "                                 print the number of records per ZIP code",
     zipcountCommand},
    {"layout-dump", "layout-dump FILE [--all]         the objects of a layout file and their properties (--all:\n"
                    "                                 defaults as well)",
     layoutDumpCommand},
    {"layout-print", "layout-print FILE --table ADDRESS.DBF [--recno N] --pdf OUT.pdf\n"
                     "                                 proof-print a layout for one record at the page's corner",
     layoutPrintCommand},
};

int helpCommand(const Invocation& in) {
    in.out << "Usage: quillory [--home DIR]                 start the desktop program\n"
              "       quillory [--home DIR] COMMAND ARGS    run a command without windows\n\n"
              "Commands:\n";
    for (const Command& c : kCommands) in.out << "  " << c.synopsis << "\n";
    return kOk;
}

}  // namespace

int fail(const Invocation& in, const QString& message) {
    QString text = message;
    text.replace("\r\n", "\n");
    in.err << "quillory: " << text.toStdString() << "\n";
    return kFailed;
}

int usage(const Invocation& in, const std::string& text) {
    in.err << "quillory: " << text << "\n";
    return kUsage;
}

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
