// report: the built-in address listings from the command line, through the same job as
// the report dialog's "Built In Reports" page.

#include <QGuiApplication>
#include <memory>
#include <ostream>

#include "BuiltInReports.h"
#include "Cli.h"
#include "Commands.h"
#include "PrinterDevice.h"
#include "TReportPrinter.h"
#include "Table.h"
#include "TerminalProgress.h"

namespace cli {

int reportCommand(const Invocation& in) {
    BuiltInReports::Choice choice;
    bool ok = false;
    choice.report = QString::fromStdString(in.args.value("--builtin")).toInt(&ok);
    if (!ok || choice.report < 1 || choice.report > 4) return fail(in, "--builtin takes 1, 2, 3 or 4");
    choice.title = in.args.has("--title") ? QString::fromStdString(in.args.value("--title"))
                                          : QString("Report %1").arg(choice.report);
    choice.memo = in.args.has("--memo");
    choice.codes = in.args.has("--codes");
    choice.records = in.args.has("--recno")    ? BuiltInReports::Records::Current
                     : in.args.has("--filter") ? BuiltInReports::Records::Filter
                                               : BuiltInReports::Records::All;
    const QString pdf = QString::fromStdString(in.args.value("--pdf"));
    const QString printerName = QString::fromStdString(in.args.value("--printer"));
    const std::unique_ptr<QGuiApplication> app = GuiApplication();

    std::unique_ptr<xbase::Table> table;
    if (const int code = openSelection(in, &table); code != kOk) return code;
    if (const int code = positionSelection(in, *table, &choice.startFromCurrent); code != kOk) return code;

    PrinterDevice* chosen = nullptr;
    if (const int code = SelectPrinter(in, pdf, printerName, &chosen); code != kOk) return code;
    (void)chosen->setPaperSize(1);  // Letter
    (void)chosen->setOrientation(QPageLayout::Portrait);
    TReportPrinter report(chosen);
    report.Title = choice.title;
    QString error;
    int rows = 0;
    const JobResult result = RunOnTerminal(
        [&](JobProgress& progress) {
            return BuiltInReports::PrintBuiltIn(*table, choice, report, progress, in.messages, &error, &rows);
        },
        in.err);
    if (result != JobResult::Done) return fail(in, error.isEmpty() ? QString("Report Print Canceled!") : error);
    in.out << "Report Print Completed! " << rows << (rows == 1 ? " record, " : " records, ") << report.pagesPrinted()
           << (report.pagesPrinted() == 1 ? " page" : " pages") << " to "
           << (pdf.isEmpty() ? printerName : pdf).toStdString() << "\n";
    return kOk;
}

}  // namespace cli
