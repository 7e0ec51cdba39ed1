// record-sheet: the one-record sheet from the command line, through the same job as the
// "Print Current Record" window.

#include <QGuiApplication>
#include <memory>
#include <ostream>

#include "Cli.h"
#include "Commands.h"
#include "PrinterDevice.h"
#include "RecordSheet.h"
#include "TReportPrinter.h"
#include "Table.h"
#include "TerminalProgress.h"

namespace cli {

int recordSheetCommand(const Invocation& in) {
    RecordSheet::Choice choice;
    if (in.args.has("--fields")) {
        QString unknown;
        const QStringList names =
            QString::fromStdString(in.args.value("--fields")).split(',', Qt::SkipEmptyParts);
        if (names.isEmpty() || !RecordSheet::ChooseFields(names, &choice, &unknown)) {
            in.err << "quillory: "
                   << (names.isEmpty() ? std::string("--fields needs at least one field name")
                                       : "--fields: there is no field " + unknown.trimmed().toStdString() +
                                             " on the sheet")
                   << "\n";
            return usage(in);
        }
    }
    const QString pdf = QString::fromStdString(in.args.value("--pdf"));
    const QString printerName = QString::fromStdString(in.args.value("--printer"));
    const std::unique_ptr<QGuiApplication> app = GuiApplication();

    std::unique_ptr<xbase::Table> table;
    if (const int code = openSelection(in, &table); code != kOk) return code;
    bool startFromCurrent = false;
    if (const int code = positionSelection(in, *table, &startFromCurrent); code != kOk) return code;
    // The window only ever stands on a record that is not deleted; neither does this.
    bool visible = false;
    if (table->deleted() || !table->evalLogical(table->queryText(), &visible).ok() || !visible)
        return fail(in, QString("Record %1 not found in %2")
                            .arg(QString::fromStdString(in.args.value("--recno")))
                            .arg(QString::fromStdString(in.args.operand(0))));

    PrinterDevice* chosen = nullptr;
    if (const int code = SelectPrinter(in, pdf, printerName, &chosen); code != kOk) return code;
    (void)chosen->setPaperSize(1);  // Letter
    (void)chosen->setOrientation(QPageLayout::Portrait);
    TReportPrinter report(chosen);
    report.Title = QStringLiteral("Print Current Record");
    RecordSheet::SheetJob job(*table, choice);
    if (const int code = runPrintJob(in, job, report, QStringLiteral("Report Print Canceled!")); code != kOk)
        return code;
    in.out << "Report Print Completed! " << job.counts().toStdString() << ", " << report.pagesPrinted()
           << (report.pagesPrinted() == 1 ? " page" : " pages") << " to "
           << (pdf.isEmpty() ? printerName : pdf).toStdString() << "\n";
    return kOk;
}

}  // namespace cli
