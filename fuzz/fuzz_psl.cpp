// PRESORT.PSL as the label job reads it: a list another run of the program wrote, or a
// file edited by hand or damaged. The list drives the presort walk over a small address
// file (seeks by each line, header labels for "**" lines) into a page stream, so that
// odd lines (too long for the ZIP tag, empty, binary, headers only, repeats) are tried
// against the walk, not just the line splitter.

#include <QByteArray>
#include <QGuiApplication>
#include <memory>
#include <string>

#include "AddressFile.h"
#include "FieldLengths.h"
#include "FuzzFiles.h"
#include "JobProgress.h"
#include "LabelPrint.h"
#include "LayoutFile.h"
#include "Messages.h"
#include "PageStream.h"
#include "TAddressDataSet.h"
#include "TReportFiler.h"
#include "Table.h"

namespace {

class QuietMessages : public Messages {
  public:
    void inform(const QString&, const QString&) override {}
    void warn(const QString&, const QString&) override {}
    void error(const QString&, const QString&) override {}
    bool ask(const QString&, const QString&, Preset) override { return true; }
};

// The address file every input walks: ZIPs of every group kind, blanks and letters.
struct Fixture {
    std::unique_ptr<xbase::Table> table;
    std::unique_ptr<TAddressDataSet> data;
    layout::LayoutFile layout;

    Fixture() {
        const QString path = QString::fromStdString(fuzz::PathOf("ADDR.DBF"));
        QString message;
        if (!AddressFile::CreateAddressFile(path, FieldLengths(), &message) ||
            !AddressFile::OpenTableFile(path, &table, &message))
            abort();
        const char* zips[] = {"60601", "60601", "60612", "606", "99999", "", "ABCDE", "60601-1234",
                              "00000", "12345", "1234",  "60699", "6",   "60601", "** 5", "00501"};
        for (const char* zip : zips) {
            if (!table->appendBlank().ok() || !table->replace(table->fieldIndex("LNAME"), "N").ok() ||
                !table->replace(table->fieldIndex("ZIP"), zip).ok() || !table->commit().ok())
                abort();
        }
        table->setDeleted(true);
        (void)table->query("!ISDEL");
        data = std::make_unique<TAddressDataSet>(table.get());
        layout.BindForPrinting(data.get());
        (void)layout.Read(QByteArray("\x01\x00", 2), layout::LayoutKind::Label);
    }
};

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    static int argc = 1;
    static char name[] = "fuzz_psl";
    static char* argv[] = {name, nullptr};
    static QGuiApplication* app = [] {
        qputenv("QT_QPA_PLATFORM", "offscreen");
        return new QGuiApplication(argc, argv);
    }();
    (void)app;
    static Fixture fixture;

    const std::string path = fuzz::WriteFile("PRESORT.PSL", data, size);
    LabelPrint::Choice choice;
    choice.records = LabelPrint::Records::All;
    choice.presort = true;
    choice.presortDone = true;  // read the list as it stands
    PageStream stream;
    TReportFiler filer;
    filer.setStream(&stream);
    DeviceMetrics metrics;
    metrics.dpiX = metrics.dpiY = 300;
    filer.setDeviceMetrics(metrics);
    JobProgress progress;
    QuietMessages messages;
    QString error;
    (void)LabelPrint::PrintLabels(*fixture.table, fixture.layout, LabelPrint::Geometry(), choice,
                                  QString::fromStdString(path), filer, progress, messages, &error);
    return 0;
}
