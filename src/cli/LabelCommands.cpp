// labels and label-defs: the label definitions and label printing from the command
// line, through the same job as the print-labels screen.

#include <QFileInfo>
#include <QGuiApplication>
#include <memory>
#include <ostream>

#include "AddressFile.h"
#include "AppHome.h"
#include "Cli.h"
#include "Commands.h"
#include "LabelDefinition.h"
#include "LabelPrint.h"
#include "LayoutFile.h"
#include "Presort.h"
#include "PrinterDevice.h"
#include "SystemTables.h"
#include "TAddressDataSet.h"
#include "TGOwner.h"
#include "TReportPrinter.h"
#include "Table.h"
#include "TerminalProgress.h"

namespace cli {

namespace {

// A whole number from an option's value, within [low, high]; false when it is not one.
bool numberOption(const Invocation& in, const char* option, long low, long high, long* value) {
    bool ok = false;
    *value = QString::fromStdString(in.args.value(option)).toLong(&ok);
    return ok && *value >= low && *value <= high;
}

QString inches(double value) { return QString::number(value, 'f', 3); }

}  // namespace

int labelDefsCommand(const Invocation& in) {
    std::unique_ptr<xbase::Table> table;
    QString message;
    if (!SystemTables::OpenLabelTable(AppHome(QString::fromStdString(in.home)), &table, &message))
        return fail(in, message);
    SystemTables::ForEachDefinition(*table, [&] {
        const LabelDefinition def = LabelDefs::ReadDefinition(*table);
        const LabelStock& st = def.stock;
        in.out << def.description.trimmed().toStdString() << "\t" << LabelDefs::SheetName(st).toStdString()
               << "\t" << inches(st.height).toStdString() << " x " << inches(st.width).toStdString() << "\t"
               << st.across << " x " << st.down << "\t" << st.paperSize.trimmed().toStdString() << "\t"
               << def.binary.toStdString() << "\n";
    });
    return kOk;
}

int labelsCommand(const Invocation& in) {
    const QString description = QString::fromStdString(in.args.value("--label"));
    const QString pdf = QString::fromStdString(in.args.value("--pdf"));
    const QString printerName = QString::fromStdString(in.args.value("--printer"));
    const bool filtered = in.args.has("--filter"), one = in.args.has("--recno");
    const bool presort = in.args.has("--presort");
    long copies = 1;
    if (in.args.has("--copies") && !numberOption(in, "--copies", 1, 99, &copies)) return usage(in);
    if (one && presort) return usage(in);  // only the current record is never presorted
    const std::unique_ptr<QGuiApplication> app = GuiApplication();
    const AppHome home(QString::fromStdString(in.home));

    // The definition, read and let go: LABEL.DBF is opened exclusively.
    LabelDefinition def;
    {
        std::unique_ptr<xbase::Table> labels;
        QString message;
        if (!SystemTables::OpenLabelTable(home, &labels, &message)) return fail(in, message);
        if (LabelDefs::FindDefinition(*labels, description) == 0)
            return fail(in, "There is no label definition \"" + description + "\"");
        def = LabelDefs::ReadDefinition(*labels);
    }
    const LabelStock& stock = def.stock;
    if (stock.across < 1 || stock.across > 10 || stock.down < 1 || stock.down > 30)
        return fail(in, QString("The label stock of \"%1\" has %2 across and %3 down; 1 to 10 across and 1 to 30 "
                                "down are possible")
                            .arg(def.description.trimmed())
                            .arg(stock.across)
                            .arg(stock.down));
    if (const QString problem = LabelDefs::CheckStock(stock); !problem.isEmpty()) return fail(in, problem);
    LabelPrint::Choice choice;
    if (in.args.has("--positions") &&
        !choice.positions.parse(QString::fromStdString(in.args.value("--positions")), stock.across * stock.down))
        return fail(in, QString("--positions takes positions 1 to %1, as in 1-3,10")
                            .arg(stock.across * stock.down));
    const QString layoutPath =
        def.binary.isEmpty() ? QString() : home.existingFile("sysdata/" + def.binary);
    if (layoutPath.isEmpty() || !QFileInfo(layoutPath).isFile()) return fail(in, LabelDefs::kFileRemoved);

    std::unique_ptr<xbase::Table> table;
    if (const int code = openSelection(in, &table); code != kOk) return code;
    choice.records = one ? LabelPrint::Records::Current
                         : (filtered ? LabelPrint::Records::Filter : LabelPrint::Records::All);
    choice.copies = int(copies);
    choice.presort = presort;
    if (const int code = positionSelection(in, *table, &choice.startFromCurrent); code != kOk) return code;

    TAddressDataSet data(table.get());
    data.AddCalculatedFields();
    TGOwner owner;
    layout::LayoutFile layout(&owner);
    layout.BindForPrinting(&data);
    if (const int code = loadPrintLayout(in, layoutPath, def.binary, &layout); code != kOk) return code;

    PrinterDevice* chosen = nullptr;
    if (const int code = SelectPrinter(in, pdf, printerName, &chosen); code != kOk) return code;
    PrinterDevice& device = *chosen;
    const LabelPrint::Paper paper = LabelPrint::Paper::Of(stock);
    LabelPrint::LabelJob job(*table, layout, LabelPrint::Geometry::Of(stock), paper, choice,
                             home.existingFile(Presort::kFileName));
    if (!device.setPage(job.pageRequest()) && !in.args.has("--force"))
        return fail(in, LabelPrint::PaperQuestion(paper) + "\n(not confirmed: give --force to print anyway)");

    TReportPrinter report(&device);
    report.Title = def.description.trimmed();
    if (const int code = runPrintJob(in, job, report, LabelPrint::kCanceled); code != kOk) return code;
    in.out << LabelPrint::kCompleted.toStdString() << " " << job.counts().toStdString() << ", "
           << report.pagesPrinted() << (report.pagesPrinted() == 1 ? " page" : " pages") << " to "
           << (pdf.isEmpty() ? printerName : pdf).toStdString() << "\n";
    return kOk;
}

}  // namespace cli
