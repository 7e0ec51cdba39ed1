// Times label printing: an address file of 100,000 records printed on the Avery 5160
// sheet (3 × 10) with an address block and a POSTNET barcode on each label, to a PDF
// file, for the first 1,000 records and for all of them; against the same jobs with an
// empty layout (the loop, the table and the PDF alone). Prints labels a second and the
// peak resident memory after each job (pages are written and dropped as they finish,
// so the peak must not grow with the number of labels).
//
//   bench_labels [--records 100000] [--dir /tmp/quillory-bench-labels]

#include <QDir>
#include <QGuiApplication>
#include <QPageLayout>
#include <QPageSize>

#include <chrono>
#include <cstdio>
#include <cstring>
#include <memory>
#include <string>

#include "BenchSupport.h"
#include "PrintMemory.h"
#include "LabelPrint.h"
#include "LayoutFile.h"
#include "TAddressDataSet.h"
#include "TGOwner.h"
#include "TReportPdfWriter.h"
#include "Table.h"

namespace {

using Clock = std::chrono::steady_clock;

// The address file's fields, without its tags: the job reads it in natural order.
bool makeTable(const std::string& path, int records) {
    const std::unique_ptr<xbase::Table> t = bench::createAddressTable(path);
    if (!t) return false;
    const auto put = [&](const char* field, const std::string& value) {
        const int i = t->fieldIndex(field);
        return i < 0 || t->replace(i, value).ok();
    };
    for (int i = 0; i < records; ++i) {
        const std::string n = std::to_string(i);
        if (!t->appendBlank().ok() || !put("PREFIX", "Ms.") || !put("FNAME", "Jo" + n) || !put("LNAME", "Doe") ||
            !put("ORG", "Acme Widgets") || !put("STREET", n + " Main Street") || !put("CITY", "Springfield") ||
            !put("STATE", "IL") || !put("ZIP", "62701-" + std::to_string(1000 + i % 9000)) ||
            !put("COUNTRY", "USA"))
            return false;
    }
    return t->commit().ok() && t->close().ok();
}

QByteArray shortString(const QByteArray& s) { return char(s.size()) + s; }
QByteArray int16(int v) { return QByteArray("\x03", 1) + char(v & 0xFF) + char((v >> 8) & 0xFF); }

// An address block at the label's corner and a POSTNET barcode below it.
QByteArray labelLayout() {
    const QByteArray address = "TPF0" + shortString("TGDMultiLineAddressLabel") + shortString("A") +
                               shortString("Left") + int16(8) + shortString("Top") + int16(4) +
                               shortString("Width") + int16(240) + shortString("Height") + int16(64) +
                               QByteArray(2, '\0');
    const QByteArray postnet = "TPF0" + shortString("TGPostNetBarCode") + shortString("B") + shortString("Left") +
                               int16(8) + shortString("Top") + int16(72) + shortString("Width") + int16(240) +
                               shortString("Height") + int16(16) + shortString("ZipCodeField") +
                               QByteArray("\x06", 1) + shortString("ZIP") + shortString("AddressField") +
                               QByteArray("\x06", 1) + shortString("STREET") + QByteArray(2, '\0');
    return QByteArray("\x01", 1) + address + postnet + QByteArray(1, '\0');
}

}  // namespace

int main(int argc, char** argv) {
    int records = 100000;
    std::string dir = "/tmp/quillory-bench-labels";
    for (int i = 1; i + 1 < argc; i += 2) {
        if (!std::strcmp(argv[i], "--records")) records = std::atoi(argv[i + 1]);
        if (!std::strcmp(argv[i], "--dir")) dir = argv[i + 1];
    }
    KeepPageBuffersInHeap();  // as the program does
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM")) qputenv("QT_QPA_PLATFORM", "offscreen");
    QGuiApplication app(argc, argv);
    QDir().mkpath(QString::fromStdString(dir));

    const std::string table = dir + "/BENCH.DBF";
    auto start = Clock::now();
    if (!makeTable(table, records)) {
        std::fprintf(stderr, "cannot make %s\n", table.c_str());
        return 1;
    }
    std::printf("table of %d records made in %.1f s\n", records,
                std::chrono::duration<double>(Clock::now() - start).count());
    std::unique_ptr<xbase::Table> t;
    if (!xbase::Table::open(table, xbase::OpenMode::Exclusive, &t).ok()) return 1;
    TAddressDataSet data(t.get());
    bench::SilentMessages messages;

    auto printTo = [&](const QByteArray& layoutBytes, int labels, const char* name, int* printed) {
        TGOwner owner;
        layout::LayoutFile layout(&owner);
        layout.BindForPrinting(&data);
        if (!layout.Read(layoutBytes, layout::LayoutKind::Label).ok()) std::fprintf(stderr, "bad layout\n");
        (void)t->query(labels < records ? "RECNO()<=" + std::to_string(labels) : std::string());
        TReportPdfWriter report;
        report.setFileName(QString::fromStdString(dir + "/" + name));
        report.setPageLayout(QPageLayout(QPageSize(QPageSize::Letter), QPageLayout::Portrait, QMarginsF()));
        JobProgress progress;
        QString error;
        LabelPrint::Choice choice;
        LabelPrint::Counts counts;
        const auto s = Clock::now();
        const JobResult r = LabelPrint::PrintLabels(*t, layout, LabelPrint::Geometry(), choice, QString(), report,
                                                    progress, messages, &error, &counts);
        const double seconds = std::chrono::duration<double>(Clock::now() - s).count();
        if (r != JobResult::Done) std::fprintf(stderr, "print failed: %s\n", qPrintable(error));
        *printed = counts.labels;
        return seconds;
    };
    const QByteArray empty("\x01\x00", 2);
    for (int labels : {1000, records}) {
        int printed = 0, bare = 0;
        const double base = printTo(empty, labels, "empty.pdf", &bare);
        const double full = printTo(labelLayout(), labels, "labels.pdf", &printed);
        std::printf("%7d labels to PDF: %7.2f s, %8.0f labels/s, peak memory %6.1f MB "
                    "(empty layout %.2f s; %.1fx)\n",
                    printed, full, printed / full, bench::peakMegabytes(), base, full / base);
    }
    QDir(QString::fromStdString(dir)).removeRecursively();
    return 0;
}
