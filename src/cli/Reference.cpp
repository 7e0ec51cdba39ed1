#include "Reference.h"

#include <ostream>
#include <sstream>

namespace cli {

namespace {

// Text for roff: backslashes and minus signs escaped, and a line that would start with
// a control character kept as text.
std::string roff(const std::string& text) {
    std::string escaped;
    for (char c : text) {
        if (c == '\\')
            escaped += "\\e";
        else if (c == '-')
            escaped += "\\-";
        else
            escaped += c;
    }
    if (!escaped.empty() && (escaped[0] == '.' || escaped[0] == '\'')) escaped = "\\&" + escaped;
    return escaped;
}

// The description's lines joined into one paragraph.
std::string paragraph(const std::string& description) {
    std::istringstream lines(description);
    std::string line, joined;
    while (std::getline(lines, line)) joined += (joined.empty() ? "" : " ") + line;
    return joined;
}

}  // namespace

void WriteManPage(std::ostream& out, const std::vector<CommandReference>& commands) {
    out << ".TH QUILLORY 1 \"\" \"Quillory\" \"User Commands\"\n"
           ".SH NAME\n"
           "quillory \\- mailing\\-list manager: address files, labels, envelopes, letters and reports\n"
           ".SH SYNOPSIS\n"
           ".B quillory\n"
           "[\\fB\\-\\-home\\fR \\fIDIR\\fR]\n"
           ".br\n"
           ".B quillory\n"
           "[\\fB\\-\\-home\\fR \\fIDIR\\fR] \\fICOMMAND\\fR [\\fIARGS\\fR]\n"
           ".SH DESCRIPTION\n"
           "Without a command, \\fBquillory\\fR starts the desktop program: you keep address files\n"
           "(xBase tables with a compound index beside each), edit and find their records in one\n"
           "window, and print mailing labels, envelopes, merged letters and reports from them.\n"
           ".PP\n"
           "With a command it runs without windows. Results go to standard output, messages to\n"
           "standard error. A question a window would ask is answered Yes only when the command is\n"
           "given \\fB\\-\\-yes\\fR (or \\fB\\-\\-force\\fR); without it the command says what it would\n"
           "have asked and exits 1.\n"
           ".SH OPTIONS\n"
           ".TP\n"
           ".BI \\-\\-home \" DIR\"\n"
           "The application home: settings (QUILLO.ini), address files (DATA/) and system tables\n"
           "(sysdata/). A home that does not exist is created.\n"
           ".SH COMMANDS\n";
    for (const CommandReference& c : commands) {
        out << ".TP\n.B quillory " << roff(c.syntax->synopsis()) << "\n" << roff(paragraph(c.description)) << "\n";
    }
    out << ".SH EXIT STATUS\n"
           "0 on success, 1 on a user or data error, 2 on wrong usage.\n"
           ".SH ENVIRONMENT\n"
           ".TP\n"
           ".B QUILLORY_HOME\n"
           "The application home when \\fB\\-\\-home\\fR is not given.\n"
           ".SH FILES\n"
           ".TP\n"
           ".I ~/.local/share/quillory\n"
           "The application home when neither \\fB\\-\\-home\\fR nor \\fBQUILLORY_HOME\\fR names one.\n";
}

void WriteBashCompletion(std::ostream& out, const std::vector<CommandReference>& commands) {
    out << "# bash completion for quillory\n"
           "_quillory() {\n"
           "    local cur=${COMP_WORDS[COMP_CWORD]} prev=${COMP_WORDS[COMP_CWORD-1]}\n"
           "    local i command=\n"
           "    for ((i = 1; i < COMP_CWORD; i++)); do\n"
           "        case ${COMP_WORDS[i]} in\n"
           "            --home) ((i++)) ;;\n"
           "            -*) ;;\n"
           "            *) command=${COMP_WORDS[i]}; break ;;\n"
           "        esac\n"
           "    done\n"
           "    if [[ $prev == --home ]]; then\n"
           "        COMPREPLY=($(compgen -d -- \"$cur\"))\n"
           "        return\n"
           "    fi\n"
           "    if [[ -z $command ]]; then\n"
           "        COMPREPLY=($(compgen -W \"--home";
    for (const CommandReference& c : commands) out << " " << c.syntax->command;
    out << "\" -- \"$cur\"))\n"
           "        return\n"
           "    fi\n"
           "    local options= valued=\n"
           "    case $command in\n";
    for (const CommandReference& c : commands) {
        std::string options, valued;
        for (const Option& o : c.syntax->options) {
            options += (options.empty() ? "" : " ") + o.name;
            if (!o.value.empty()) valued += (valued.empty() ? "" : "|") + o.name;
        }
        out << "        " << c.syntax->command << ") options=\"" << options << "\"";
        if (!valued.empty()) out << " valued=\"" << valued << "\"";
        out << " ;;\n";
    }
    out << "    esac\n"
           "    # After an option that takes a value: files, the most common kind of value.\n"
           "    if [[ -n $valued && $prev == -* && \"|$valued|\" == *\"|$prev|\"* ]]; then\n"
           "        COMPREPLY=($(compgen -f -- \"$cur\"))\n"
           "        return\n"
           "    fi\n"
           "    if [[ $cur == -* ]]; then\n"
           "        COMPREPLY=($(compgen -W \"$options\" -- \"$cur\"))\n"
           "    else\n"
           "        COMPREPLY=($(compgen -f -- \"$cur\"))\n"
           "    fi\n"
           "}\n"
           "complete -o filenames -F _quillory quillory\n";
}

}  // namespace cli
