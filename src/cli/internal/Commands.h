#pragma once

#include <QGuiApplication>
#include <QString>
#include <iosfwd>
#include <memory>
#include <string>
#include <vector>

#include "ConsoleMessages.h"
#include "Syntax.h"

namespace xbase {
class Table;
}

class PrintJob;
class PrinterDevice;
class TBaseReport;

namespace layout {
class LayoutFile;
}

namespace cli {

// One run of a command: its declared syntax, the arguments parsed by it, the home,
// where results and messages go, and the message route of the command line (which
// answers questions Yes when the command was given --yes or --force).
struct Invocation {
    const Syntax& syntax;
    Arguments args;
    std::string home;
    std::ostream& out;
    std::ostream& err;
    Messages& messages;
};

// Writes "quillory: " + message (CR LF line breaks as LF) to err; returns kFailed.
int fail(const Invocation& in, const QString& message);
// Writes "quillory: usage: quillory " + the command's synopsis to err; returns kUsage.
// Commands call it for the rules their syntax cannot say.
int usage(const Invocation& in);

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
int imbCommand(const Invocation& in);
int importCsvCommand(const Invocation& in);
int importDbfCommand(const Invocation& in);
int importOldCommand(const Invocation& in);
int importVCardCommand(const Invocation& in);
int exportCommand(const Invocation& in);
int lettersCommand(const Invocation& in);
int letterMergeCommand(const Invocation& in);
int letterDefsCommand(const Invocation& in);
int letterImportCommand(const Invocation& in);
int letterExportCommand(const Invocation& in);
int labelsCommand(const Invocation& in);
int labelDefsCommand(const Invocation& in);
int stockCommand(const Invocation& in);
int envelopesCommand(const Invocation& in);
int reportCommand(const Invocation& in);
int reportDefsCommand(const Invocation& in);
int recordSheetCommand(const Invocation& in);
int envelopeDefsCommand(const Invocation& in);
int duplicatesCommand(const Invocation& in);
int convertCaseCommand(const Invocation& in);
int replaceCommand(const Invocation& in);
int deleteRecordsCommand(const Invocation& in);
int statezipCommand(const Invocation& in);
int dialCommand(const Invocation& in);

// One value of a CSV line (UTF-8), quoted when it holds a comma, a quote, a line break
// or starts with a blank.
void writeCsvValue(std::ostream& out, const std::string& value);

// Makes the GUI side of Qt that fonts and printers need, though nothing is shown;
// null when an application object exists already.
std::unique_ptr<QGuiApplication> GuiApplication();

// Selects the printer a print command names: "PDF File" writing to `pdf` when that is
// given, else the printer `printerName`. An exit code, its message written.
int SelectPrinter(const Invocation& in, const QString& pdf, const QString& printerName,
                  PrinterDevice** device);

// Runs a print job on the terminal into `report` (RunPrintJob), the printer given the
// job's paper before. kOk when it finished, its notice (addresses cut) then written to
// err; otherwise the job's error, or `canceled` when it has none, written as the
// command's failure. The caller writes what was printed.
int runPrintJob(const Invocation& in, PrintJob& job, TBaseReport& report, const QString& canceled);

// The options --filter FILE.FLT and --tag-id ID, as a command declares them.
extern const Option kFilterOption;
extern const Option kTagIdOption;
struct FilterOptions {
    std::string file;  // empty: no filter
    std::string tagId;
    bool tagIdGiven = false;  // else the home's Misc/GlobalTagId
};
// The --filter and --tag-id given to a command.
FilterOptions FilterOptionsOf(const Arguments& args);
// The FilterExpression that the .FLT file gives (empty when it sets nothing). Any
// other result is an exit code, its message written to err.
int FilterExpressionFromFile(const Invocation& in, const FilterOptions& options, QString* expression);
// The table query the main window makes of that filter: "!ISDEL", or the expression
// followed by ".and. !ISDEL"; a filter too long for it gives the program's message.
int FilterQueryFromFile(const Invocation& in, const FilterOptions& options, QString* query);
// Sets the table's query: `expr` (UTF-8, as typed) within the saved filter when one is
// named, both turned into the table's code page. An exit code, its message written.
int applyQuery(const Invocation& in, xbase::Table& table, const std::string& expr,
               const FilterOptions& filter);
// The print jobs' selection, as the main window would have it: the address file of
// operand 0 opened exclusively with deleted records hidden, in the --order tag when
// one is given, holding the saved filter's records (--filter), else every record not
// deleted. An exit code, its message written.
int openSelection(const Invocation& in, std::unique_ptr<xbase::Table>* table);
// Where a print job of the selection starts: record N of --recno N (that record only)
// or --start-recno N (from it on; `startFromCurrent` set), else the selection's first
// record. An exit code, its message written, when the record is not there or the
// selection is empty.
int positionSelection(const Invocation& in, xbase::Table& table, bool* startFromCurrent);
// Reads the layout file `path` (the definition's `binary`) for printing, bound to the
// table's current record. An exit code, its message written, when it cannot be read.
int loadPrintLayout(const Invocation& in, const QString& path, const QString& binary, layout::LayoutFile* layout);

}  // namespace cli
