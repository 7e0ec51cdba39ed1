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
#include "PrintJob.h"
#include "PrinterDevice.h"
#include "TReportPrinter.h"
#include "TerminalProgress.h"
#include "ZipCount.h"
#include "ZipReport.h"

namespace cli {

int presortCommand(const Invocation& in) {
    const AppHome home(QString::fromStdString(in.home));
    QString out = QString::fromStdString(in.args.value("--out"));
    if (out.isEmpty()) out = home.existingFile(Presort::kFileName);
    std::unique_ptr<xbase::Table> table;
    if (const int code = openSelection(in, &table); code != kOk) return code;
    QString message;
    Presort::Summary summary;
    const JobResult result = RunOnTerminal(
        [&](JobProgress& progress) { return Presort::RunPresort(*table, out, progress, &message, &summary); },
        in.err);
    if (result != JobResult::Done) return fail(in, message);
    in.out << summary.records << " records, " << summary.pieces << " presorted in " << summary.groups
           << " groups: " << QDir::toNativeSeparators(out).toStdString() << "\n";
    return kOk;
}

int runPrintJob(const Invocation& in, PrintJob& job, TBaseReport& report, const QString& canceled) {
    QString error;
    const JobResult result = RunOnTerminal(
        [&](JobProgress& progress) { return RunPrintJob(job, report, progress, in.messages, &error); }, in.err);
    if (result != JobResult::Done) return fail(in, error.isEmpty() ? canceled : error);
    // The job is done; a notice is told, not an error.
    if (const QString notice = job.notice(); !notice.isEmpty())
        in.err << "quillory: " << notice.toStdString() << "\n";
    return kOk;
}

int SelectPrinter(const Invocation& in, const QString& pdf, const QString& printerName,
                  PrinterDevice** device) {
    PrinterDevice& d = PrinterDevice::instance();
    const QString printer = pdf.isEmpty() ? printerName : PrinterDevice::kPdfPrinter;
    const int index = d.printers().indexOf(printer);
    if (index < 0) return fail(in, "Printer \"" + printer + "\" not found");
    QString message;
    if (!d.setPrinterIndex(index) || !CheckPrinters(d, &message))
        return fail(in, message.isEmpty() ? d.lastError() : message);
    if (!pdf.isEmpty()) d.setPdfFileName(QFileInfo(pdf).absoluteFilePath());
    *device = &d;
    return kOk;
}

int zipcountCommand(const Invocation& in) {
    const QString pdf = QString::fromStdString(in.args.value("--pdf"));
    const QString printerName = QString::fromStdString(in.args.value("--printer"));
    // Fonts and printers need the GUI side of Qt, though nothing is shown.
    const std::unique_ptr<QGuiApplication> app = GuiApplication();

    std::unique_ptr<xbase::Table> table;
    if (const int code = openSelection(in, &table); code != kOk) return code;
    QString message;
    ZipCount count;
    const JobResult counted = RunOnTerminal(
        [&](JobProgress& progress) { return CountZipCodes(*table, &count, progress, &message); }, in.err);
    if (counted != JobResult::Done) return fail(in, message);
    const QStringList lines = count.reportLines(table->codePage());

    PrinterDevice* chosen = nullptr;
    if (const int code = SelectPrinter(in, pdf, printerName, &chosen); code != kOk) return code;
    PrinterDevice& device = *chosen;
    const QString printer = pdf.isEmpty() ? printerName : PrinterDevice::kPdfPrinter;

    TReportPrinter report(&device);
    ZipReport::ZipCountJob job(lines);
    if (const int code = runPrintJob(in, job, report, QStringLiteral("Print Canceled!")); code != kOk)
        return code;
    in.out << count.records() << " records, " << job.counts().toStdString() << ", " << report.pagesPrinted()
           << (report.pagesPrinted() == 1 ? " page" : " pages") << " to "
           << (pdf.isEmpty() ? printer : pdf).toStdString() << "\n";
    return kOk;
}

}  // namespace cli
