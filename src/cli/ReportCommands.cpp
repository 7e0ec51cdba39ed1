// report and report-defs: the built-in address listings and the user-defined reports
// from the command line, through the same jobs as the report dialog.

#include <QGuiApplication>
#include <memory>
#include <ostream>

#include "AppHome.h"
#include "BuiltInReports.h"
#include "Cli.h"
#include "Commands.h"
#include "LayoutFile.h"
#include "PrinterDevice.h"
#include "ReportDefinition.h"
#include "SystemTables.h"
#include "TAddressDataSet.h"
#include "TGOwner.h"
#include "TReportPrinter.h"
#include "Table.h"
#include "TerminalProgress.h"
#include "UserReport.h"

namespace cli {

namespace {

// The stored report `description` with its layout read; an exit code, its message written.
int loadReport(const Invocation& in, const QString& description, ReportDefinition::Definition* def,
               layout::LayoutFile* layout) {
    const AppHome home(QString::fromStdString(in.home));
    std::unique_ptr<xbase::Table> reports;
    QString message;
    if (!SystemTables::OpenReportTable(home, &reports, &message)) return fail(in, message);
    reports->setDeleted(true);
    if (SystemTables::FindDescription(*reports, description) == 0)
        return fail(in, "There is no report \"" + description + "\"");
    *def = ReportDefinition::Read(*reports);
    const QString path = def->binary.isEmpty() ? QString() : home.existingFile("sysdata/" + def->binary);
    QByteArray data;
    if (const LayoutStatus read = layout::ReadLayoutFile(path, &data); !read.ok())
        return fail(in, "The layout file of \"" + def->description + "\" (" + def->binary +
                            ") is missing: " + read.message());
    if (const LayoutStatus read = layout->Read(data, layout::LayoutKind::Report); !read.ok())
        return fail(in, def->binary + ": " + read.message());
    return kOk;
}

}  // namespace

int reportCommand(const Invocation& in) {
    const bool builtIn = in.args.has("--builtin");
    BuiltInReports::Choice choice;
    bool ok = false;
    if (builtIn) {
        choice.report = QString::fromStdString(in.args.value("--builtin")).toInt(&ok);
        if (!ok || choice.report < 1 || choice.report > 4) return fail(in, "--builtin takes 1, 2, 3 or 4");
        choice.title = in.args.has("--title") ? QString::fromStdString(in.args.value("--title"))
                                              : QString("Report %1").arg(choice.report);
    }
    choice.memo = in.args.has("--memo");
    choice.codes = in.args.has("--codes");
    choice.records = in.args.has("--recno")    ? BuiltInReports::Records::Current
                     : in.args.has("--filter") ? BuiltInReports::Records::Filter
                                               : BuiltInReports::Records::All;
    const QString pdf = QString::fromStdString(in.args.value("--pdf"));
    const QString printerName = QString::fromStdString(in.args.value("--printer"));
    const std::unique_ptr<QGuiApplication> app = GuiApplication();

    ReportDefinition::Definition def;
    TGOwner owner;
    layout::LayoutFile layout(&owner);
    if (!builtIn) {
        if (const int code = loadReport(in, QString::fromStdString(in.args.value("--report")), &def, &layout);
            code != kOk)
            return code;
    }

    std::unique_ptr<xbase::Table> table;
    if (const int code = openSelection(in, &table); code != kOk) return code;
    if (const int code = positionSelection(in, *table, &choice.startFromCurrent); code != kOk) return code;

    PrinterDevice* chosen = nullptr;
    if (const int code = SelectPrinter(in, pdf, printerName, &chosen); code != kOk) return code;
    TReportPrinter report(chosen);
    TAddressDataSet record(table.get());
    std::unique_ptr<PrintJob> job;
    if (builtIn) {
        // The command's paper for a listing: Letter, portrait.
        (void)chosen->setPaperSize(1);
        (void)chosen->setOrientation(QPageLayout::Portrait);
        job = std::make_unique<BuiltInReports::ListingJob>(*table, choice);
    } else {
        record.AddCalculatedFields();
        layout.BindForPrinting(&record);
        UserReport::Choice user;
        user.records = choice.records;
        user.startFromCurrent = choice.startFromCurrent;
        user.onePerPage = in.args.has("--one-per-page");
        job = std::make_unique<UserReport::UserReportJob>(*table, layout, user);
    }
    (void)chosen->setPage(job->pageRequest());
    if (const int code = runPrintJob(in, *job, report, QStringLiteral("Report Print Canceled!")); code != kOk)
        return code;
    in.out << "Report Print Completed! " << job->counts().toStdString() << ", " << report.pagesPrinted() << (report.pagesPrinted() == 1 ? " page" : " pages") << " to "
           << (pdf.isEmpty() ? printerName : pdf).toStdString() << "\n";
    return kOk;
}

int reportDefsCommand(const Invocation& in) {
    std::unique_ptr<xbase::Table> reports;
    QString message;
    if (!SystemTables::OpenReportTable(AppHome(QString::fromStdString(in.home)), &reports, &message))
        return fail(in, message);
    SystemTables::ForEachDefinition(*reports, [&] {
        const ReportDefinition::Definition def = ReportDefinition::Read(*reports);
        in.out << def.description.toStdString() << "\t" << def.layout.toStdString() << "\t"
               << def.binary.toStdString() << "\n";
    });
    return kOk;
}

}  // namespace cli
