// layout-dump and layout-print: layout files from the command line; imb: the bars of an
// Intelligent Mail barcode, for checking.

#include <QFileInfo>
#include <QGuiApplication>
#include <memory>
#include <ostream>

#include "AddressFile.h"
#include "CheckPrinters.h"
#include "Cli.h"
#include "Commands.h"
#include "IntelligentMail.h"
#include "LayoutFile.h"
#include "LayoutTextDump.h"
#include "PrinterDevice.h"
#include "TAddressDataSet.h"
#include "TGDataPanel.h"
#include "TGIMBarCode.h"
#include "TGOwner.h"
#include "TReportPrinter.h"
#include "Table.h"

namespace cli {

int layoutDumpCommand(const Invocation& in) {
    const QString path = QString::fromStdString(in.args.operand(0));
    const bool all = in.args.has("--all");
    QByteArray data;
    const LayoutStatus read = layout::ReadLayoutFile(path, &data);
    if (!read.ok()) return fail(in, read.message());
    // Objects read back may measure their text, which needs fonts.
    const std::unique_ptr<QGuiApplication> app = all ? GuiApplication() : nullptr;
    if (all) {
        // Read into panels, keeping the stored names, and written again with every
        // property, so that the dump shows the defaults as well.
        layout::LayoutFile file;
        const LayoutStatus loaded = file.Read(data, layout::LayoutKindOf(path));
        if (!loaded.ok()) return fail(in, path + ": " + loaded.message());
        data = file.Write(true);
    }
    QString text, error;
    const bool ok = layout::DumpLayoutFile(data, &text, &error);
    in.out << text.toStdString();
    if (!ok) return fail(in, path + ": " + error);
    return kOk;
}

int layoutPrintCommand(const Invocation& in) {
    const QString path = QString::fromStdString(in.args.operand(0));
    const QString tablePath = QString::fromStdString(in.args.value("--table"));
    const QString pdf = QString::fromStdString(in.args.value("--pdf"));
    long recno = 0;
    if (in.args.has("--recno")) {
        bool number = false;
        recno = QString::fromStdString(in.args.value("--recno")).toLong(&number);
        if (!number || recno < 1) return usage(in);
    }
    QByteArray bytes;
    const LayoutStatus read = layout::ReadLayoutFile(path, &bytes);
    if (!read.ok()) return fail(in, read.message());
    const std::unique_ptr<QGuiApplication> app = GuiApplication();

    std::unique_ptr<xbase::Table> table;
    QString message;
    if (!AddressFile::OpenTableFile(tablePath, &table, &message)) return fail(in, message);
    const xbase::Status moved = recno > 0 ? table->go(uint32_t(recno)) : table->goTop();
    if (!moved.ok() || table->eof())
        return fail(in, QString("Record %1 not found in %2").arg(recno).arg(tablePath));
    TAddressDataSet data(table.get());
    data.AddCalculatedFields();

    // The panels a print window would hold, kept invisible.
    TGOwner owner;
    layout::LayoutFile proof(&owner);
    proof.BindForPrinting(&data);
    const LayoutStatus loaded = proof.Read(bytes, layout::LayoutKindOf(path));
    if (!loaded.ok()) return fail(in, path + ": " + loaded.message());

    PrinterDevice& device = PrinterDevice::instance();
    const int index = device.printers().indexOf(PrinterDevice::kPdfPrinter);
    if (index < 0 || !device.setPrinterIndex(index) || !CheckPrinters(device, &message))
        return fail(in, message.isEmpty() ? device.lastError() : message);
    device.setPdfFileName(QFileInfo(pdf).absoluteFilePath());

    // A barcode that cannot be made prints nothing, as on a label; the proof says why.
    QString problems;
    for (int p = 0; p < proof.PanelCount(); ++p) {
        TGDataPanel& panel = proof.Panel(p);
        panel.RefreshData();
        for (int i = 0; i < panel.ObjectCount(); ++i) {
            const auto* code = dynamic_cast<const TGIMBarCode*>(panel.Object(i));
            if (!code) continue;
            const layout::imb::Encoding e = code->CurrentEncoding();
            if (!e.ok()) problems += code->Name() + ": no barcode printed: " + e.error + "\n";
        }
    }

    TReportPrinter report(&device);
    report.Title = "Quillory";
    // The layout's top-left corner at the sheet's.
    report.OnPrint = [&](TBaseReport& r) { proof.PrintRecord(r, 0, 0); };
    if (!report.execute()) return fail(in, report.lastError());
    in.out << "Printed " << path.toStdString() << " for record " << table->recNo() << " to "
           << pdf.toStdString() << "\n";
    in.out << problems.toStdString();
    return kOk;
}

int imbCommand(const Invocation& in) {
    const layout::imb::Encoding e = layout::imb::Encode(QString::fromStdString(in.args.operand(0)),
                                                        QString::fromStdString(in.args.operand(1)));
    if (!e.ok()) return fail(in, e.error);
    in.out << e.states.toStdString() << "\n";
    return kOk;
}

}  // namespace cli
