// layout-dump and layout-print: layout files from the command line.

#include <QFile>
#include <QFileInfo>
#include <QGuiApplication>
#include <memory>
#include <ostream>

#include "AddressFile.h"
#include "CheckPrinters.h"
#include "Cli.h"
#include "Commands.h"
#include "LayoutStreamReader.h"
#include "LayoutStreamWriter.h"
#include "LayoutTextDump.h"
#include "PrinterDevice.h"
#include "LayoutMetrics.h"
#include "TAddressDataSet.h"
#include "TEnvelopePanel.h"
#include "TGBasePanel.h"
#include "TGGraphicControl.h"
#include "TGLabelObjectFiler.h"
#include "TGLabelPanel.h"
#include "TGOwner.h"
#include "TReportPanel.h"
#include "TReportPrinter.h"
#include "TReportSettings.h"
#include "Table.h"

namespace cli {

namespace {

bool readLayoutFile(const QString& path, QByteArray* data, QString* message) {
    QFile f(path);
    if (!QFileInfo(path).isFile()) {
        *message = "File " + path + " not found";
        return false;
    }
    if (!f.open(QIODevice::ReadOnly)) {
        *message = "Cannot open " + path + ": " + f.errorString();
        return false;
    }
    *data = f.readAll();
    return true;
}

std::vector<const TGGraphicControl*> objectsOf(const TGBasePanel& panel) {
    std::vector<const TGGraphicControl*> objects;
    for (int i = 0; i < panel.ObjectCount(); ++i) objects.push_back(panel.Object(i));
    return objects;
}

// Reads the file's lists into panels (keeping the stored names) and writes them again
// with every property, so that the dump shows defaults as well.
bool withEveryProperty(const QByteArray& data, QByteArray* full, QString* message) {
    layout::LayoutStreamReader r(data);
    TGBasePanel bands[3];
    int lists = 0;
    TReportSettings settings;
    while (!r.atEnd() && lists < 3) {
        const LayoutStatus s = TGLabelObjectFiler::ReadObjectList(r, nullptr, bands[lists], 0);
        ++lists;
        if (!s.ok()) {
            *message = s.message();
            return false;
        }
    }
    const bool report = lists == 3 && !r.atEnd();
    if (report) {
        if (r.readByte() != 0x01) r.fail("Invalid stream format");
        const LayoutStatus s = r.ok() ? settings.Read(r) : LayoutStatus::Error(r.error());
        if (!s.ok()) {
            *message = s.message();
            return false;
        }
    }
    layout::LayoutStreamWriter w;
    for (int i = 0; i < lists; ++i) TGLabelObjectFiler::WriteObjectList(w, objectsOf(bands[i]), true);
    if (report) {
        w.writeListBegin();
        settings.Write(w);
        w.writeListEnd();
    }
    *full = w.data();
    return true;
}

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
    QString message;
    if (!readLayoutFile(path, &data, &message)) return fail(in, message);
    // Objects read back may measure their text, which needs fonts.
    const std::unique_ptr<QGuiApplication> app = all ? guiApplication() : nullptr;
    if (all && !withEveryProperty(data, &data, &message)) return fail(in, path + ": " + message);
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
    if (!QFileInfo(path).isFile()) return fail(in, "File " + path + " not found");
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
    const QString suffix = QFileInfo(path).suffix().toUpper();
    std::vector<std::unique_ptr<TGDataPanel>> panels;
    TReportSettings settings;
    LayoutStatus loaded;
    if (suffix == "R") {
        for (int band = 0; band < 3; ++band) {
            auto panel = std::make_unique<TReportPanel>(&owner);
            panel->PAnelKind = band == 0 ? rpkHeader : band == 1 ? rpkDetail : rpkFooter;
            panels.push_back(std::move(panel));
        }
        for (auto& p : panels) {
            p->SetDataSet(&data);
            p->Printing = true;
        }
        loaded = TGLabelObjectFiler().LoadBands(
            &owner, *panels[0], *panels[1], *panels[2],
            [&](layout::LayoutStreamReader& r) { return settings.Read(r); }, path);
    } else {
        if (suffix == "E") {
            panels.push_back(std::make_unique<TEnvelopePanel>(&owner));
        } else {
            panels.push_back(std::make_unique<TGLabelPanel>(&owner));
        }
        panels[0]->SetDataSet(&data);
        panels[0]->Printing = true;
        loaded = panels[0]->LoadFromFile(path);
    }
    if (!loaded.ok()) return fail(in, path + ": " + loaded.message());
    for (auto& p : panels) p->RefreshData();

    PrinterDevice& device = PrinterDevice::instance();
    const int index = device.printers().indexOf(PrinterDevice::kPdfPrinter);
    if (index < 0 || !device.setPrinterIndex(index) || !CheckPrinters(device, &message))
        return fail(in, message.isEmpty() ? device.lastError() : message);
    device.setPdfFileName(QFileInfo(pdf).absoluteFilePath());

    TReportPrinter report(&device);
    report.Title = "Quillory";
    report.OnPrint = [&](TBaseReport& r) {
        // The layout's top-left corner at the sheet's; report bands one below the other.
        const double ppi = layout::kPixelsPerInch;
        const int heights[3] = {settings.HeaderHeight, settings.DetailHeight, settings.FooterHeight};
        double y = 0;
        for (size_t i = 0; i < panels.size(); ++i) {
            panels[i]->PrintObjects(r, 0, y);
            if (panels.size() == 3) y += heights[i] / ppi;
        }
        for (auto& p : panels) p->AdvanceCounters();
    };
    if (!report.execute()) return fail(in, report.lastError());
    in.out << "Printed " << path.toStdString() << " for record " << table->recNo() << " to "
           << pdf.toStdString() << "\n";
    return kOk;
}

}  // namespace cli
