// Times report printing to a PDF file over an address file of 100,000 records in
// last-name order: built-in listing 1 (one row a record), listing 4 (three lines and a
// rule a record, with codes), and a user-defined report with a header band, a detail
// band of two fields and a memo band. Prints records a second, pages, and the peak
// resident memory after each job (pages are written and dropped as they finish, so the
// peak must not grow with the number of records).
//
//   bench_reports [--records 100000] [--dir /tmp/quillory-bench-reports]

#include <QDir>
#include <QGuiApplication>
#include <QPageLayout>
#include <QPageSize>

#include <chrono>
#include <cstdio>
#include <cstring>
#include <functional>
#include <memory>
#include <string>

#include "BenchSupport.h"
#include "PrintMemory.h"
#include "BuiltInReports.h"
#include "LayoutFile.h"
#include "TAddressDataSet.h"
#include "TGOwner.h"
#include "TReportPdfWriter.h"
#include "Table.h"
#include "UserReport.h"

namespace {

using Clock = std::chrono::steady_clock;

// The address file's fields and its last-name tag, records in no particular order.
bool makeTable(const std::string& path, int records) {
    const std::unique_ptr<xbase::Table> t = bench::createAddressTable(path);
    if (!t) return false;
    const auto put = [&](const char* field, const std::string& value) {
        const int i = t->fieldIndex(field);
        return i < 0 || t->replace(i, value).ok();
    };
    for (int i = 0; i < records; ++i) {
        const std::string n = std::to_string((i * 7919) % records);
        if (!t->appendBlank().ok() || !put("LNAME", "Doe" + n) || !put("FNAME", "Jo") || !put("MIDDLE", "Q") ||
            !put("ORG", "Acme Widgets") || !put("TITLE", "Manager") || !put("STREET", n + " Main Street") ||
            !put("CITY", "Springfield") || !put("STATE", "IL") || !put("ZIP", "62701") ||
            !put("PHONE", "555-0100") || !put("FAX", "555-0199") || !put("CODES", "VIP") ||
            (i % 10 == 0 && !put("MEMO", "Met at the fair; wants the spring catalogue and a call in May.")))
            return false;
    }
    return t->commit().ok() && t->indexTag("LNAME", "UPPER(LNAME)+UPPER(FNAME)").ok() && t->close().ok();
}

QByteArray shortString(const QByteArray& s) { return char(s.size()) + s; }
QByteArray int16(int v) { return QByteArray("\x03", 1) + char(v & 0xFF) + char((v >> 8) & 0xFF); }
QByteArray list(const QByteArray& objects) { return QByteArray("\x01", 1) + objects + QByteArray(1, '\0'); }
QByteArray field(const char* label, int left) {
    return "TPF0" + shortString("TGPDLabel") + shortString("F") + shortString("Left") + int16(left) +
           shortString("Top") + int16(2) + shortString("Width") + int16(200) + shortString("Height") + int16(16) +
           shortString("DataFieldDescript") + QByteArray("\x06", 1) + shortString(label) + QByteArray(2, '\0');
}

// A header with a title, a detail band 0.25 in high with two fields, the memo band.
QByteArray userReport() {
    const QByteArray title = "TPF0" + shortString("TGPLabel") + shortString("T") + shortString("Caption") +
                             QByteArray("\x06", 1) + shortString("Customers") + QByteArray(2, '\0');
    QByteArray settings("\x01", 1);
    for (int length : {8500, 11000, 500, 500, 500, 500, 500, 250, 500}) settings += int16(length);
    settings += QByteArray("\x09\x09\x09\x08", 4);  // header, detail, memo; no footer
    settings += QByteArray("\x06", 1) + shortString("Arial") + int16(10) + QByteArray("\x08\x08", 2) + int16(0);
    settings += QByteArray("\x06", 1) + shortString("Arial") + int16(10) + QByteArray("\x08\x08", 2);
    for (int band = 0; band < 4; ++band)
        settings += QByteArray("\x08\x08\x08\x08", 4) + int16(1) + int16(band == 2 ? 10 : 0) + int16(0);
    settings += QByteArray(1, '\0');
    return list(title) + list(field("Last Name", 0) + field("City, State & Zip", 250)) + list({}) + settings;
}

}  // namespace

int main(int argc, char** argv) {
    int records = 100000;
    std::string dir = "/tmp/quillory-bench-reports";
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
    if (!t->setOrder(t->tagArea("LNAME")).ok()) return 1;
    bench::SilentMessages messages;

    // One job to a PDF: its seconds, records and pages printed.
    auto run = [&](const char* name, const std::function<JobResult(TBaseReport&, JobProgress&, QString*, int*)>& job) {
        TReportPdfWriter report;
        report.setFileName(QString::fromStdString(dir + "/" + name + ".pdf"));
        report.setPageLayout(QPageLayout(QPageSize(QPageSize::Letter), QPageLayout::Portrait, QMarginsF()));
        JobProgress progress;
        QString error;
        int printed = 0;
        const auto s = Clock::now();
        const JobResult r = job(report, progress, &error, &printed);
        const double seconds = std::chrono::duration<double>(Clock::now() - s).count();
        if (r != JobResult::Done) std::fprintf(stderr, "%s failed: %s\n", name, qPrintable(error));
        std::printf("%-22s %7d records, %6d pages: %6.2f s, %8.0f records/s, peak memory %6.1f MB\n", name,
                    printed, report.pagesPrinted(), seconds, printed / seconds, bench::peakMegabytes());
    };
    for (int listing : {1, 4}) {
        BuiltInReports::Choice choice;
        choice.report = listing;
        choice.codes = listing == 4;
        run(listing == 1 ? "built-in 1" : "built-in 4 with codes",
            [&](TBaseReport& r, JobProgress& p, QString* error, int* printed) {
                return BuiltInReports::PrintBuiltIn(*t, choice, r, p, messages, error, printed);
            });
    }
    TGOwner owner;
    layout::LayoutFile layout(&owner);
    TAddressDataSet data(t.get());
    data.AddCalculatedFields();
    layout.BindForPrinting(&data);
    if (!layout.Read(userReport(), layout::LayoutKind::Report).ok()) std::fprintf(stderr, "bad report layout\n");
    UserReport::Choice user;
    user.records = UserReport::Records::All;
    run("user report with memo", [&](TBaseReport& r, JobProgress& p, QString* error, int* printed) {
        return UserReport::PrintUserReport(*t, layout, user, r, p, messages, error, printed);
    });
    QDir(QString::fromStdString(dir)).removeRecursively();
    return 0;
}
