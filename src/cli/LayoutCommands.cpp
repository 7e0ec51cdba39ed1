// layout-dump and layout-print: layout files from the command line.

#include <QFileInfo>
#include <QGuiApplication>
#include <memory>
#include <ostream>

#include "AddressFile.h"
#include "CheckPrinters.h"
#include "Cli.h"
#include "Commands.h"
#include "LayoutFile.h"
#include "LayoutTextDump.h"
#include "PrinterDevice.h"
#include "TAddressDataSet.h"
#include "TGOwner.h"
#include "TReportPrinter.h"
#include "Table.h"

namespace cli {

namespace {

// Makes the GUI side of Qt that fonts and printers need, though nothing is shown.
std::unique_ptr<QGuiApplication> guiApplication() {
    if (QGuiApplication::instance()) return nullptr;
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM")) qputenv("QT_QPA_PLATFORM", "offscreen");
    static int argc = 1;
    static char name[] = "quillory";
    static char* argv[] = {name, nullptr};
    return std::make_unique<QGuiApplication>(argc, argv);
}

}  // namespace

int layoutDumpCommand(const Invocation& in) {
    const char* usage = "quillory layout-dump FILE [--all]";
    QString path;
    bool all = false;
    for (const std::string& arg : in.args) {
        if (arg == "--all") {
            all = true;
        } else if (arg.rfind("--", 0) != 0 && path.isEmpty()) {
            path = QString::fromStdString(arg);
        } else {
            in.err << "quillory: usage: " << usage << "\n";
            return kUsage;
        }
    }
    if (path.isEmpty()) {
        in.err << "quillory: usage: " << usage << "\n";
        return kUsage;
    }
    QByteArray data;
    const LayoutStatus read = layout::ReadLayoutFile(path, &data);
    if (!read.ok()) return fail(in, read.message());
    // Objects read back may measure their text, which needs fonts.
    const std::unique_ptr<QGuiApplication> app = all ? guiApplication() : nullptr;
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
    const char* usage = "quillory layout-print FILE --table ADDRESS.DBF [--recno N] --pdf OUT.pdf";
    QString path, tablePath, pdf;
    long recno = 0;
    for (size_t i = 0; i < in.args.size(); ++i) {
        const std::string& arg = in.args[i];
        if (arg == "--table" || arg == "--recno" || arg == "--pdf") {
            if (i + 1 >= in.args.size()) {
                in.err << "quillory: usage: " << usage << "\n";
                return kUsage;
            }
            const QString value = QString::fromStdString(in.args[++i]);
            if (arg == "--table") tablePath = value;
            if (arg == "--pdf") pdf = value;
            if (arg == "--recno") {
                bool number = false;
                recno = value.toLong(&number);
                if (!number || recno < 1) {
                    in.err << "quillory: usage: " << usage << "\n";
                    return kUsage;
                }
            }
        } else if (arg.rfind("--", 0) != 0 && path.isEmpty()) {
            path = QString::fromStdString(arg);
        } else {
            in.err << "quillory: usage: " << usage << "\n";
            return kUsage;
        }
    }
    if (path.isEmpty() || tablePath.isEmpty() || pdf.isEmpty()) {
        in.err << "quillory: usage: " << usage << "\n";
        return kUsage;
    }
    QByteArray bytes;
    const LayoutStatus read = layout::ReadLayoutFile(path, &bytes);
    if (!read.ok()) return fail(in, read.message());
    const std::unique_ptr<QGuiApplication> app = guiApplication();

    std::unique_ptr<xbase::Table> table;
    QString message;
    if (!AddressFile::OpenTableFile(tablePath, &table, &message)) return fail(in, message);
    const xbase::Status moved = recno > 0 ? table->go(uint32_t(recno)) : table->goTop();
    if (!moved.ok() || table->eof())
        return fail(in, QString("Record %1 not found in %2").arg(recno).arg(tablePath));
    TAddressDataSet data(table.get());

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

    TReportPrinter report(&device);
    report.Title = "Quillory";
    // The layout's top-left corner at the sheet's.
    report.OnPrint = [&](TBaseReport& r) { proof.PrintRecord(r, 0, 0); };
    if (!report.execute()) return fail(in, report.lastError());
    in.out << "Printed " << path.toStdString() << " for record " << table->recNo() << " to "
           << pdf.toStdString() << "\n";
    return kOk;
}

}  // namespace cli
