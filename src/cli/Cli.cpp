#include "Cli.h"

#include <ostream>
#include <sstream>

#include "AppHome.h"
#include "Commands.h"
#include "Reference.h"

namespace cli {

namespace {

struct Command {
    Syntax syntax;
    const char* description;  // lines separated by '\n'
    int (*run)(const Invocation&);
};

int helpCommand(const Invocation& in);

const Option kTable{"--table", "ADDRESS.DBF", "", true};

const std::vector<Command>& commands() {
    static const std::vector<Command> list = {
        {{"help", {"COMMAND"}, 1, {{"--man"}, {"--bash-completion"}}, {}, {{"--man", "--bash-completion"}}},
         "list the commands, or show one command's usage; --man\nwrites the manual page, --bash-completion the shell\ncompletion",
         helpCommand},
        {{"info", {"TABLE"}, 0, {}, {}}, "fields, record count, code page and tags of a table", infoCommand},
        {{"dump",
          {"TABLE"},
          0,
          {{"--order", "TAG"}, {"--query", "EXPR"}, {"--fields", "F,..."}, kFilterOption, kTagIdOption},
          {}},
         "the visible records as CSV (UTF-8, header line), within the\nsaved filter when one is given",
         dumpCommand},
        {{"count", {"TABLE", "EXPR"}, 1, {kFilterOption, kTagIdOption}, {}},
         "the number of visible records for which EXPR holds,\nwithin the saved filter when one is given "
         "(then EXPR\n"
         "may be left out)",
         countCommand},
        {{"seek", {"TABLE", "TAG", "KEY"}, 0, {{"--exact"}}, {}},
         "the record number found in the tag's order",
         seekCommand},
        {{"new", {"FILE.DBF"}, 0, {}, {}}, "create an address file with its 26 tags", newCommand},
        {{"reindex", {"FILE.DBF"}, 0, {}, {}}, "remove deleted records and rebuild the tags", reindexCommand},
        {{"import-csv",
          {"TABLE", "FILE"},
          0,
          {{"--match", "LABEL=N,..."}, {"--header"}, {"--encoding", "NAME"}, {"--dialect", "own|rfc4180"}},
          {}},
         "append a record per line of a CSV file: source field N\n"
         "(from 1) into the field with display label or name\n"
         "LABEL; --header matches by the first line's names and\n"
         "skips it (without --match a first line of known column\n"
         "names is found and used); the encoding and the quoting\n"
         "(the program's own text or RFC 4180) are found unless\n"
         "given",
         importCsvCommand},
        {{"import-dbf", {"TABLE", "SOURCE.DBF"}, 0, {{"--match", "LABEL=SOURCEFIELD,..."}}, {}},
         "append the records of another table (by default its\nfields go to the fields of the same name)",
         importDbfCommand},
        {{"import-old", {"TABLE", "SOURCE.DBF"}, 0, {{"--version", "1|2", "", true}}, {}},
         "append the records of an address file of release 1.x\nor 2.x",
         importOldCommand},
        {{"import-vcard",
          {"TABLE", "FILE.vcf"},
          0,
          {{"--address", "home|work|pref"}, {"--birthday", "USER1|USER2"}, {"--stop-at-bad-card"}},
          {}},
         "append a record per card of a vCard file (2.1, 3.0,\n"
         "4.0): the address of the type given (default: the\n"
         "preferred one), what has no field into the memo; a bad\n"
         "card is named and skipped unless --stop-at-bad-card",
         importVCardCommand},
        {{"export",
          {"TABLE", "OUT"},
          0,
          {{"--dbf"},
           {"--text"},
           {"--csv"},
           {"--vcard"},
           {"--raw", "", "--csv"},
           {"--order", "TAG"},
           {"--all"},
           kFilterOption,
           kTagIdOption,
           {"--yes"}},
          {{"--dbf", "--text", "--csv", "--vcard"}}},
         "copy the records out, in the tag's order, all or those\n"
         "of the saved filter: a DBF with the same fields, the\n"
         "twenty-field text, CSV for spreadsheets (UTF-8; values\n"
         "that would run as formulas marked as text unless --raw)\n"
         "or vCard 3.0; --yes overwrites an existing OUT",
         exportCommand},
        {{"filter", {"FILE.FLT"}, 0, {{"--tag-id", "ID"}}, {}},
         "the filter expression a saved filter gives (tagged\nrecords: ID, else the home's Misc/GlobalTagId)",
         filterCommand},
        {{"presort", {"FILE.DBF"}, 0, {kFilterOption, kTagIdOption, {"--out", "PATH"}}, {}},
         "group the records by ZIP for bulk mail into PRESORT.PSL\n(default: in the home)",
         presortCommand},
        {{"zipcount",
          {"FILE.DBF"},
          0,
          {kFilterOption, kTagIdOption, {"--pdf", "OUT.pdf"}, {"--printer", "NAME"}},
          {{"--pdf", "--printer"}}},
         "print the number of records per ZIP code",
         zipcountCommand},
        {{"layout-dump", {"FILE"}, 0, {{"--all"}}, {}},
         "the objects of a layout file and their properties (--all:\ndefaults as well)",
         layoutDumpCommand},
        {{"layout-print", {"FILE"}, 0, {kTable, {"--recno", "N"}, {"--pdf", "OUT.pdf", "", true}}, {}},
         "proof-print a layout for one record at the page's corner",
         layoutPrintCommand},
        {{"imb", {"TRACKING", "ROUTING"}, 1, {}, {}},
         "the 65 bar states (A ascender, D descender, F full, T\ntracker) of an Intelligent Mail barcode",
         imbCommand},
        {{"letters",
          {"TABLE"},
          0,
          {{"--letter", "DESCRIPTION", "", true},
           {"--order", "TAG"},
           {"--all"},
           kFilterOption,
           kTagIdOption,
           {"--recno", "N"},
           {"--start-recno", "N"},
           {"--copies", "N"},
           {"--pdf", "OUT.pdf"},
           {"--printer", "NAME"}},
          {{"--pdf", "--printer"}}},
         "print a stored letter merged with each record: --all (the\n"
         "default), the saved filter's records, or --recno N only;\n"
         "--copies N of each letter",
         lettersCommand},
        {{"labels",
          {"TABLE"},
          0,
          {{"--label", "DESCRIPTION", "", true},
           {"--order", "TAG"},
           {"--all"},
           kFilterOption,
           kTagIdOption,
           {"--recno", "N"},
           {"--start-recno", "N"},
           {"--presort"},
           {"--copies", "N"},
           {"--positions", "LIST"},
           {"--force"},
           {"--pdf", "OUT.pdf"},
           {"--printer", "NAME"}},
          {{"--pdf", "--printer"}},
          {{"--all", "--filter", "--recno"}}},
         "print labels of the stored definition DESCRIPTION: every\n"
         "record not deleted (the default), the saved filter's\n"
         "records or --recno N only; --presort in PRESORT.PSL order;\n"
         "--positions 1-3,10 fills only those sheet positions",
         labelsCommand},
        {{"label-defs", {}, 0, {}, {}},
         "the label definitions: description, stock, size, across x\ndown, paper and layout file",
         labelDefsCommand},
        {{"stock", {}, 0, {{"--search", "WORDS"}, {"--maker", "NAME"}}, {}},
         "the label stocks the program knows, shipped and from the\n"
         "desktop's label catalogue, as CSV (lengths in inches);\n"
         "--search finds maker, product number and description\n"
         "words and a size (\"2x4\", \"63.5 x 38.1\"), --maker one maker",
         stockCommand},
        {{"report",
          {"TABLE"},
          0,
          {{"--builtin", "1|2|3|4"},
           {"--title", "TEXT", "--builtin"},
           {"--memo", "", "--builtin"},
           {"--codes", "", "--builtin"},
           {"--report", "DESCRIPTION"},
           {"--one-per-page", "", "--report"},
           {"--all"},
           kFilterOption,
           kTagIdOption,
           {"--recno", "N"},
           {"--start-recno", "N"},
           {"--pdf", "OUT.pdf"},
           {"--printer", "NAME"}},
          {{"--builtin", "--report"}, {"--pdf", "--printer"}},
          {{"--all", "--filter", "--recno"}}},
         "print built-in listing 1 (name, address, city/state/ZIP,\n"
         "phone), 2 (name, organization, phone, fax), 3 (by\n"
         "organization) or 4 (all major fields), or the stored report\n"
         "DESCRIPTION, of every record not deleted (the default), the\n"
         "saved filter's records or --recno N only; --memo and\n"
         "--codes add those lines to a listing",
         reportCommand},
        {{"report-defs", {}, 0, {}, {}},
         "the user-defined reports: description, paper and layout file",
         reportDefsCommand},
        {{"record-sheet",
          {"TABLE"},
          0,
          {{"--recno", "N", "", true}, {"--fields", "LIST"}, {"--pdf", "OUT.pdf"}, {"--printer", "NAME"}},
          {{"--pdf", "--printer"}}},
         "print one record as a sheet, a field a line and the memo\n"
         "after them; --fields names the fields as stored (LNAME,\n"
         "FNAME,...,DATE,MEMO; default: all of them)",
         recordSheetCommand},
        {{"envelopes",
          {"TABLE"},
          0,
          {{"--envelope", "DESCRIPTION", "", true},
           {"--order", "TAG"},
           {"--all"},
           kFilterOption,
           kTagIdOption,
           {"--recno", "N"},
           {"--start-recno", "N"},
           {"--paper", "NAME"},
           {"--orientation", "portrait|landscape"},
           {"--feed", "POSITION,ORIENTATION,FACING[,cw]"},
           {"--offset", "X,Y"},
           {"--pdf", "OUT.pdf"},
           {"--printer", "NAME"}},
          {{"--pdf", "--printer"}},
          {{"--all", "--filter", "--recno"}}},
         "print the stored envelope DESCRIPTION for every record not\n"
         "deleted (the default), the saved filter's records or\n"
         "--recno N only, one a page: on a page of the envelope's own\n"
         "size, or on --paper NAME (Letter, A4) placed as the feed\n"
         "(default: the \"Envelope Feed\" settings) puts it;\n"
         "--offset X,Y inches corrects a printer's own shift",
         envelopesCommand},
        {{"envelope-defs", {}, 0, {}, {}},
         "the envelope definitions: description, size code and name,\nlayout file",
         envelopeDefsCommand},
        {{"letter-merge", {"TABLE"}, 0, {{"--letter", "DESCRIPTION", "", true}, {"--recno", "N", "", true}, {"--rtf"}}, {}},
         "a stored letter merged with record N, as plain text\n(a form feed at each page break) or as RTF",
         letterMergeCommand},
        {{"letter-defs", {}, 0, {}, {}}, "the descriptions of the stored letters", letterDefsCommand},
        {{"letter-import", {"DESCRIPTION", "FILE.RTF"}, 0, {}, {}},
         "store an RTF file as the letter DESCRIPTION (replacing\nthe text of a letter of that name)",
         letterImportCommand},
        {{"letter-export", {"DESCRIPTION", "FILE.RTF"}, 0, {}, {}},
         "write the letter DESCRIPTION to an RTF file",
         letterExportCommand},
        {{"duplicates", {"TABLE"}, 0, {{"--by", "name|initial|street", "", true}, {"--chars", "N"}, {"--tag"}}, {}},
         "the records that may be duplicates of their neighbour in\nname or street order (--chars: street characters\ncompared; --tag: tag them)",
         duplicatesCommand},
        {{"convert-case",
          {"TABLE"},
          0,
          {{"--case", "upper|lower|capitalize", "", true},
           {"--fields", "F,..."},
           {"--all"},
           kFilterOption,
           kTagIdOption,
           {"--recno", "N"}},
          {},
          {{"--all", "--filter", "--recno"}}},
         "convert the case of the fields (default: all of them) of\nevery record (the default), of the saved filter's records\nor of one record",
         convertCaseCommand},
        {{"replace",
          {"TABLE"},
          0,
          {{"--field", "NAME", "", true},
           {"--empty"},
           {"--equals", "TEXT"},
           {"--contains", "TEXT"},
           {"--ignore-case"},
           {"--whole"},
           {"--matching"},
           {"--with", "TEXT", "", true},
           kFilterOption,
           kTagIdOption},
          {{"--empty", "--equals", "--contains"}, {"--whole", "--matching"}}},
         "where the field is empty, equals or contains TEXT, replace\nthe whole field or only the matching text",
         replaceCommand},
        {{"delete-records",
          {"TABLE"},
          0,
          {{"--all"}, kFilterOption, {"--not-filter", "FILE.FLT"}, {"--tag-id", "ID"}, {"--yes", "", "", true}},
          {{"--all", "--filter", "--not-filter"}}},
         "delete every record, or those the saved filter matches or\ndoes not match",
         deleteRecordsCommand},
        {{"statezip", {"TABLE"}, 0, {{"--blanks"}, {"--tag"}}, {}},
         "the records whose state or ZIP the state table does not\naccept, in name order (--blanks: also blank ones; --tag:\ntag them)",
         statezipCommand},
        {{"dial", {"NUMBER"}, 0, {{"--port", "DEVICE"}, {"--pulse"}, {"--init", "TEXT"}}, {}},
         "dial NUMBER through the modem (--port: COM1 to COM4 or a\ndevice path; default: the Dialing settings)",
         dialCommand},
    };
    return list;
}

// The synopsis, then the description in a column of its own.
void writeHelpEntry(std::ostream& out, const Command& c) {
    constexpr size_t kColumn = 33;
    const std::string synopsis = c.syntax.synopsis();
    std::istringstream lines(c.description);
    std::string line;
    bool first = true;
    if (synopsis.size() + 2 > kColumn) out << "  " << synopsis << "\n";
    while (std::getline(lines, line)) {
        if (first && synopsis.size() + 2 <= kColumn) {
            out << "  " << synopsis << std::string(kColumn - 2 - synopsis.size(), ' ') << line << "\n";
        } else {
            out << std::string(kColumn, ' ') << line << "\n";
        }
        first = false;
    }
}

std::vector<CommandReference> references() {
    std::vector<CommandReference> list;
    for (const Command& c : commands()) list.push_back({&c.syntax, c.description});
    return list;
}

int helpCommand(const Invocation& in) {
    if (in.args.has("--man")) {
        WriteManPage(in.out, references());
        return kOk;
    }
    if (in.args.has("--bash-completion")) {
        WriteBashCompletion(in.out, references());
        return kOk;
    }
    if (!in.args.operand(0).empty()) {
        for (const Command& c : commands()) {
            if (c.syntax.command != in.args.operand(0)) continue;
            in.out << "Usage: quillory " << c.syntax.synopsis() << "\n\n" << c.description << "\n";
            return kOk;
        }
        in.err << "quillory: unknown command \"" << in.args.operand(0) << "\" (try quillory help)\n";
        return kUsage;
    }
    in.out << "Usage: quillory [--home DIR]                 start the desktop program\n"
              "       quillory [--home DIR] COMMAND ARGS    run a command without windows\n\n"
              "Commands:\n";
    for (const Command& c : commands()) writeHelpEntry(in.out, c);
    return kOk;
}

}  // namespace

int fail(const Invocation& in, const QString& message) {
    in.messages.error(message);
    return kFailed;
}

std::unique_ptr<QGuiApplication> GuiApplication() {
    if (QGuiApplication::instance()) return nullptr;
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM")) qputenv("QT_QPA_PLATFORM", "offscreen");
    static int argc = 1;
    static char name[] = "quillory";
    static char* argv[] = {name, nullptr};
    return std::make_unique<QGuiApplication>(argc, argv);
}

int usage(const Invocation& in) {
    in.err << "quillory: usage: quillory " << in.syntax.synopsis() << "\n";
    return kUsage;
}

bool isCommand(const std::string& name) {
    for (const Command& c : commands())
        if (name == c.syntax.command) return true;
    return false;
}

int run(const std::vector<std::string>& args, const std::string& home, std::ostream& out, std::ostream& err) {
    const std::string name = args.empty() ? std::string("help") : args[0];
    for (const Command& c : commands()) {
        if (name != c.syntax.command) continue;
        Arguments parsed;
        const bool fits = Parse(c.syntax,
                                args.empty() ? std::vector<std::string>()
                                             : std::vector<std::string>(args.begin() + 1, args.end()),
                                &parsed);
        ConsoleMessages messages(err, parsed.has("--yes") || parsed.has("--force"));
        const Invocation in{c.syntax, std::move(parsed), home, out, err, messages};
        if (!fits) return usage(in);
        // Every command works in a whole home, as the desktop program does: a missing
        // one is made with its folders and shipped tables.
        QString error;
        if (c.run != helpCommand && !AppHome(QString::fromStdString(home)).ensureExists(&error))
            return fail(in, error);
        const int code = c.run(in);
        return code == kOk && messages.refused() ? kFailed : code;
    }
    err << "quillory: unknown command \"" << name << "\" (try quillory help)\n";
    return kUsage;
}

}  // namespace cli
