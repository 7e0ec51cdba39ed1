// presort and zipcount: the bulk-mail jobs from the command line.

#include <QDir>
#include <QFileInfo>
#include <QGuiApplication>
#include <memory>
#include <ostream>

#include "AddressFile.h"
#include "AppHome.h"
#include "CheckPrinters.h"
#include "Cli.h"
#include "CodePage.h"
#include "Commands.h"
#include "Filter.h"
#include "FilterFile.h"
#include "Presort.h"
#include "PrinterDevice.h"
#include "SettingKeys.h"
#include "Settings.h"
#include "TReportPrinter.h"
#include "ZipCount.h"
#include "ZipReport.h"

namespace cli {

namespace {

struct JobArgs {
    QString table;
    FilterOptions filter;
    QString out;
    QString pdf;
    QString printer;
};

// Reads FILE.DBF and the options in `allowed`; false after writing the usage to err.
bool parse(const Invocation& in, const std::vector<std::string>& allowed, const char* usage, JobArgs* a) {
    auto allows = [&](const std::string& o) {
        return std::find(allowed.begin(), allowed.end(), o) != allowed.end();
    };
    for (size_t i = 0; i < in.args.size(); ++i) {
        const std::string& arg = in.args[i];
        if (allows("--filter") && TakeFilterOption(in.args, &i, &a->filter)) continue;
        if (arg.rfind("--", 0) == 0) {
            if (!allows(arg) || i + 1 >= in.args.size()) {
                in.err << "quillory: usage: " << usage << "\n";
                return false;
            }
            const QString value = QString::fromStdString(in.args[++i]);
            if (arg == "--out") a->out = value;
            if (arg == "--pdf") a->pdf = value;
            if (arg == "--printer") a->printer = value;
        } else if (a->table.isEmpty()) {
            a->table = QString::fromStdString(arg);
        } else {
            in.err << "quillory: usage: " << usage << "\n";
            return false;
        }
    }
    if (a->table.isEmpty()) {
        in.err << "quillory: usage: " << usage << "\n";
        return false;
    }
    return true;
}

// Opens the address file with the selection the main window would use: records not
// deleted, narrowed by the saved filter when one is named. An exit code, its message
// written.
int openSelection(const Invocation& in, const JobArgs& a, std::unique_ptr<xbase::Table>* table) {
    QString message;
    if (!AddressFile::OpenTableFile(a.table, table, &message)) return fail(in, message);
    (*table)->setDeleted(true);
    return applyQuery(in, **table, a.filter.file.empty() ? Filter::kNotDeleted : "", a.filter);
}

}  // namespace

int presortCommand(const Invocation& in) {
    const char* usage = "quillory presort FILE.DBF [--filter FILE.FLT [--tag-id ID]] [--out PATH]";
    JobArgs a;
    if (!parse(in, {"--filter", "--out"}, usage, &a)) return kUsage;
    const AppHome home(QString::fromStdString(in.home));
    if (a.out.isEmpty()) {
        if (!QDir().mkpath(home.root())) return fail(in, "Cannot create " + home.root());
        a.out = home.existingFile(Presort::kFileName);
    }
    std::unique_ptr<xbase::Table> table;
    if (const int code = openSelection(in, a, &table); code != kOk) return code;
    QString message;

    Presort::Tally tally;
    int records = 0;
    const ScanResult read = ScanZipKeys(
        *table, ScanProgress(),
        [&](const std::string& key) {
            ++records;
            tally.add(key);
        },
        &message);
    if (read != ScanResult::Done) return fail(in, message);
    const std::vector<std::string> lines = Presort::BuildList(tally);
    if (!Presort::WriteFile(a.out, lines, &message)) return fail(in, message);
    int groups = 0;
    for (const std::string& line : lines) groups += line.find("**") != std::string::npos;
    in.out << records << " records, " << tally.pieces() << " presorted in " << groups
           << " groups: " << QDir::toNativeSeparators(a.out).toStdString() << "\n";
    return kOk;
}

int zipcountCommand(const Invocation& in) {
    const char* usage =
        "quillory zipcount FILE.DBF [--filter FILE.FLT [--tag-id ID]] (--pdf OUT.pdf | --printer NAME)";
    JobArgs a;
    if (!parse(in, {"--filter", "--pdf", "--printer"}, usage, &a)) return kUsage;
    if (a.pdf.isEmpty() == a.printer.isEmpty()) {
        in.err << "quillory: usage: " << usage << "\n";
        return kUsage;
    }
    // Fonts and printers need the GUI side of Qt, though nothing is shown.
    std::unique_ptr<QGuiApplication> app;
    if (!QGuiApplication::instance()) {
        if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM")) qputenv("QT_QPA_PLATFORM", "offscreen");
        static int argc = 1;
        static char name[] = "quillory";
        static char* argv[] = {name, nullptr};
        app = std::make_unique<QGuiApplication>(argc, argv);
    }

    std::unique_ptr<xbase::Table> table;
    if (const int code = openSelection(in, a, &table); code != kOk) return code;
    QString message;
    ZipCount count;
    if (CountZipCodes(*table, &count, ScanProgress(), &message) != ScanResult::Done) return fail(in, message);
    const QStringList lines = count.reportLines(table->codePage());

    PrinterDevice& device = PrinterDevice::instance();
    const QString printer = a.pdf.isEmpty() ? a.printer : PrinterDevice::kPdfPrinter;
    const int index = device.printers().indexOf(printer);
    if (index < 0) return fail(in, "Printer \"" + printer + "\" not found");
    if (!device.setPrinterIndex(index) || !CheckPrinters(device, &message))
        return fail(in, message.isEmpty() ? device.lastError() : message);
    if (!a.pdf.isEmpty()) device.setPdfFileName(QFileInfo(a.pdf).absoluteFilePath());

    TReportPrinter report(&device);
    ZipReport::SetUp(report);
    report.OnPrint = [&](TBaseReport& r) { ZipReport::Print(r, lines); };
    if (!report.execute()) return fail(in, report.lastError());
    in.out << count.records() << " records, " << lines.size() << " report lines, " << report.pagesPrinted()
           << (report.pagesPrinted() == 1 ? " page" : " pages") << " to "
           << (a.pdf.isEmpty() ? printer : a.pdf).toStdString() << "\n";
    return kOk;
}

}  // namespace cli
