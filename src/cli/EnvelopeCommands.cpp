// envelopes and envelope-defs: the envelope definitions and envelope printing from the
// command line, through the same job as the print-envelope screen.

#include <QFileInfo>
#include <QGuiApplication>
#include <QPageSize>
#include <memory>
#include <ostream>

#include "AppHome.h"
#include "Cli.h"
#include "Commands.h"
#include "Envelope.h"
#include "EnvelopePrint.h"
#include "LayoutFile.h"
#include "PrinterDevice.h"
#include "Settings.h"
#include "SystemTables.h"
#include "TAddressDataSet.h"
#include "TGOwner.h"
#include "TReportPrinter.h"
#include "Table.h"
#include "TerminalProgress.h"

namespace cli {

namespace {

// "left|right|center,portrait|landscape,up|down[,cw]"; false when it is not one.
bool parseFeed(const QString& text, Envelope::Feed* feed) {
    const QStringList parts = text.toLower().split(',');
    if (parts.size() < 3 || parts.size() > 4) return false;
    static const QStringList positions{"left", "right", "center"};
    const int position = positions.indexOf(parts[0].trimmed());
    const QString orientation = parts[1].trimmed(), facing = parts[2].trimmed();
    if (position < 0 || (orientation != "portrait" && orientation != "landscape") ||
        (facing != "up" && facing != "down") || (parts.size() == 4 && parts[3].trimmed() != "cw"))
        return false;
    feed->position = Envelope::Feed::Position(position);
    feed->orientation = orientation == "portrait" ? 0 : 1;
    feed->faceDown = facing == "down";
    feed->clockwise = parts.size() == 4;
    return true;
}

// The Windows paper number of a paper name such as Letter or A4; 0 when none.
int paperCode(const QString& name) {
    for (int id = 0; id < int(QPageSize::LastPageSize); ++id) {
        const QPageSize size{QPageSize::PageSizeId(id)};
        if (size.isValid() && size.windowsId() > 0 &&
            (size.name().compare(name, Qt::CaseInsensitive) == 0 ||
             QPageSize::key(QPageSize::PageSizeId(id)).compare(name, Qt::CaseInsensitive) == 0))
            return size.windowsId();
    }
    return 0;
}

}  // namespace

int envelopeDefsCommand(const Invocation& in) {
    std::unique_ptr<xbase::Table> table;
    QString message;
    if (!SystemTables::OpenEnvelopeTable(AppHome(QString::fromStdString(in.home)), &table, &message))
        return fail(in, message);
    SystemTables::ForEachDefinition(*table, [&] {
        const Envelope::Definition def = Envelope::ReadDefinition(*table);
        const Envelope::Size size = Envelope::SizeOf(def.code);
        in.out << def.description.trimmed().toStdString() << "\t" << def.code << "\t"
               << (size.width > 0 ? size.entry : "(unknown size)") << "\t" << def.binary.toStdString() << "\n";
    });
    return kOk;
}

int envelopesCommand(const Invocation& in) {
    const QString description = QString::fromStdString(in.args.value("--envelope"));
    const QString pdf = QString::fromStdString(in.args.value("--pdf"));
    const QString printerName = QString::fromStdString(in.args.value("--printer"));
    const QString paperName = QString::fromStdString(in.args.value("--paper"));
    const bool filtered = in.args.has("--filter"), one = in.args.has("--recno");
    const AppHome home(QString::fromStdString(in.home));

    Envelope::Feed feed = Envelope::Feed::Load(Settings(Settings::GetIniFileName(home)));
    if (in.args.has("--feed") && !parseFeed(QString::fromStdString(in.args.value("--feed")), &feed))
        return fail(in, "--feed takes left|right|center,portrait|landscape,up|down and an optional cw");
    EnvelopePrint::Choice choice;
    if (in.args.has("--offset") &&
        !Envelope::ParseCalibration(QString::fromStdString(in.args.value("--offset")), &choice.calibration))
        return fail(in, "--offset takes X,Y in inches, each between -1 and 1");
    const QString orientationName = QString::fromStdString(in.args.value("--orientation")).toLower();
    if (in.args.has("--orientation") && orientationName != "portrait" && orientationName != "landscape")
        return fail(in, "--orientation takes portrait or landscape");
    const int paper = paperName.isEmpty() ? 0 : paperCode(paperName);
    if (!paperName.isEmpty() && paper == 0) return fail(in, "Unknown paper \"" + paperName + "\"");
    const std::unique_ptr<QGuiApplication> app = GuiApplication();

    // The definition, read and let go: ENVELOPE.DBF is opened exclusively.
    Envelope::Definition def;
    {
        std::unique_ptr<xbase::Table> envelopes;
        QString message;
        if (!SystemTables::OpenEnvelopeTable(home, &envelopes, &message)) return fail(in, message);
        if (Envelope::FindDefinition(*envelopes, description) == 0)
            return fail(in, "There is no envelope definition \"" + description + "\"");
        def = Envelope::ReadDefinition(*envelopes);
    }
    const Envelope::Size size = Envelope::SizeOf(def.code);
    if (size.width <= 0 || size.height <= 0)
        return fail(in, QString("The envelope \"%1\" has the size code %2, which is not an envelope size")
                            .arg(def.description.trimmed())
                            .arg(def.code));
    const QString layoutPath = def.binary.isEmpty() ? QString() : home.existingFile("sysdata/" + def.binary);
    if (layoutPath.isEmpty() || !QFileInfo(layoutPath).isFile()) return fail(in, Envelope::kFileRemoved);

    std::unique_ptr<xbase::Table> table;
    if (const int code = openSelection(in, &table); code != kOk) return code;
    choice.records = one ? EnvelopePrint::Records::Current
                         : (filtered ? EnvelopePrint::Records::Filter : EnvelopePrint::Records::All);
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
    // Without --offset, the correction stored for the printer.
    if (!in.args.has("--offset"))
        choice.calibration =
            Envelope::LoadCalibration(Settings(Settings::GetIniFileName(home)), device.printerName());
    // On its own paper the page is the envelope; on a sheet, as a tray feeds it.
    QPageLayout::Orientation orientation = QPageLayout::Portrait;
    if (paper == 0) {
        (void)device.setPaperSize(0, size.width, size.height);
    } else {
        (void)device.setPaperSize(paper);
        orientation = feed.orientation == 0 ? QPageLayout::Portrait : QPageLayout::Landscape;
    }
    if (in.args.has("--orientation"))
        orientation = orientationName == "portrait" ? QPageLayout::Portrait : QPageLayout::Landscape;
    (void)device.setOrientation(orientation);

    TReportPrinter report(&device);
    report.Title = def.description.trimmed();
    EnvelopePrint::EnvelopeJob job(*table, layout, size, feed, choice);
    if (const int code = runPrintJob(in, job, report, EnvelopePrint::kCanceled); code != kOk) return code;
    in.out << EnvelopePrint::kCompleted.toStdString() << " " << job.counts().toStdString() << " to "
           << (pdf.isEmpty() ? printerName : pdf).toStdString() << "\n";
    return kOk;
}

}  // namespace cli
