// Times the imports and Copy Records Out on generated files, against a baseline
// measured in the same run: reading the source file and writing as many bytes again,
// the speed of the disk.
//
//   bench_imports [--records 1000000] [--dir /tmp/quillory-bench-imports] [--keep]
//
// The CSV file and the source table are generated from a fixed seed, so every run
// reads the same bytes. Peak memory (the process's maximum resident size) is shown
// after each step: the imports and copies read and write in pieces, so it stays put
// while the files grow; the index rebuild holds one tag's keys at a time.

#include <sys/resource.h>

#include <QCoreApplication>
#include <QFile>
#include <chrono>
#include <cinttypes>
#include <cstdio>
#include <cstring>
#include <filesystem>
#include <functional>
#include <string>

#include "AddressFile.h"
#include "AsciiImport.h"
#include "AsciiSample.h"
#include "BatchAppender.h"
#include "CodePage.h"
#include "CopyOut.h"
#include "DbfImport.h"
#include "FieldLengths.h"
#include "Table.h"
#include "VCard.h"
#include "VCardImport.h"

namespace {

class Random {
  public:
    explicit Random(uint64_t seed) : state_(seed) {}
    uint32_t below(uint32_t bound) {
        state_ ^= state_ >> 12;
        state_ ^= state_ << 25;
        state_ ^= state_ >> 27;
        return uint32_t(((state_ * 0x2545F4914F6CDD1DULL) >> 32) % bound);
    }
    template <size_t N>
    const char* pick(const char* const (&list)[N]) {
        return list[below(N)];
    }

  private:
    uint64_t state_;
};

const char* const kLast[] = {"Smith",  "Johnson",  "Müller", "Brown",  "García", "Miller", "Davis",   "Núñez",
                             "Wilson", "Anderson", "O'Hara", "Thomas", "Taylor", "Moore",  "Jackson", "Lee"};
const char* const kFirst[] = {"James", "Mary",   "Zoë",       "Robert", "Patricia", "José",
                              "Linda", "Jürgen", "Elizabeth", "David",  "Barbara",  "Seán",
                              "Susan", "Joseph", "Jessica",   "Renée"};
const char* const kStreets[] = {"Main St", "Oak Ave", "Maple Rd", "Cedar Ln",
                                "Elm St",  "Pine Dr", "Lake Blvd"};
const char* const kCities[] = {"Boston", "Austin", "Köln", "Denver", "Portland", "Springfield", "Albany"};
const char* const kStates[] = {"MA", "TX", "NRW", "CO", "OR", "IL", "NY"};

struct Person {
    std::string last, first, org, street, city, state, zip, phone, email, notes;
};

Person person(Random& rng, uint32_t i) {
    Person p;
    p.last = rng.pick(kLast);
    p.first = rng.pick(kFirst);
    if (rng.below(5) == 0) p.org = std::string(rng.pick(kLast)) + ", Inc.";
    if (rng.below(50) == 0) p.org = "The \"Best\" Shop";
    p.street = std::to_string(1 + rng.below(9999)) + " " + rng.pick(kStreets);
    const uint32_t c = rng.below(7);
    p.city = kCities[c];
    p.state = kStates[c];
    p.zip = std::to_string(10000 + rng.below(89999));
    p.phone = "(555) " + std::to_string(100 + rng.below(900)) + "-" + std::to_string(1000 + rng.below(9000));
    p.email = "user" + std::to_string(i) + "@example.org";
    if (rng.below(10) == 0)
        p.notes = "Met at the fair; call before " + std::to_string(1 + rng.below(12)) + " pm.";
    return p;
}

// A CSV value as a spreadsheet writes it.
std::string csvValue(const std::string& v) {
    if (v.find_first_of(",\"") == std::string::npos) return v;
    std::string q = "\"";
    for (char c : v) q += c == '"' ? std::string("\"\"") : std::string(1, c);
    return q + "\"";
}

double seconds(const std::function<void()>& work) {
    const auto start = std::chrono::steady_clock::now();
    work();
    return std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count();
}

long peakMegabytes() {
    rusage usage{};
    getrusage(RUSAGE_SELF, &usage);
    return usage.ru_maxrss / 1024;
}

void line(const char* what, double secs, uint64_t records, double baseline, const std::string& note = {}) {
    std::printf("  %-34s %8.2f s %11.0f rec/s %7.1fx disk  peak %4ld MB  %s\n", what, secs,
                secs > 0 ? double(records) / secs : 0.0, baseline > 0 ? secs / baseline : 0.0,
                peakMegabytes(), note.c_str());
    std::fflush(stdout);
}

[[noreturn]] void fail(const std::string& what) {
    std::fprintf(stderr, "bench_imports: %s\n", what.c_str());
    std::exit(1);
}

// Reading `path` and writing as many bytes to another file, in megabyte pieces.
double diskBaseline(const std::string& path, const std::string& scratch) {
    return seconds([&] {
        FILE* in = std::fopen(path.c_str(), "rb");
        FILE* out = std::fopen(scratch.c_str(), "wb");
        if (!in || !out) fail("baseline: cannot open files");
        std::vector<char> buf(1 << 20);
        size_t n;
        while ((n = std::fread(buf.data(), 1, buf.size(), in)) > 0) std::fwrite(buf.data(), 1, n, out);
        std::fclose(in);
        std::fclose(out);
        std::remove(scratch.c_str());
    });
}

std::unique_ptr<xbase::Table> newAddressFile(const std::string& path) {
    QString message;
    const QString p = QString::fromStdString(path);
    if (!AddressFile::CreateAddressFile(p, FieldLengths(), &message)) fail(message.toStdString());
    std::unique_ptr<xbase::Table> table;
    if (!AddressFile::OpenTableFile(p, &table, &message)) fail(message.toStdString());
    return table;
}

// Times the phases of an import: the records, then the rebuild.
struct Phases {
    std::chrono::steady_clock::time_point start, rebuild;
    long peakBeforeRebuild = 0;
    ImportHooks hooks() {
        ImportHooks h;
        h.rebuilding = [this] {
            rebuild = std::chrono::steady_clock::now();
            peakBeforeRebuild = peakMegabytes();
        };
        return h;
    }
    double records() const { return std::chrono::duration<double>(rebuild - start).count(); }
};

}  // namespace

int main(int argc, char** argv) {
    QCoreApplication app(argc, argv);
    uint32_t records = 1000000;
    std::string dir = "/tmp/quillory-bench-imports";
    bool keep = false;
    for (int i = 1; i < argc; ++i) {
        const std::string a = argv[i];
        if (a == "--records" && i + 1 < argc) {
            records = uint32_t(std::stoul(argv[++i]));
        } else if (a == "--dir" && i + 1 < argc) {
            dir = argv[++i];
        } else if (a == "--keep") {
            keep = true;
        } else {
            fail("usage: bench_imports [--records N] [--dir DIR] [--keep]");
        }
    }
    std::filesystem::remove_all(dir);
    std::filesystem::create_directories(dir);
    std::printf("%" PRIu32 " records in %s\n", records, dir.c_str());

    // The source files.
    const std::string csv = dir + "/people.csv";
    {
        FILE* out = std::fopen(csv.c_str(), "wb");
        Random rng(42);
        std::string line;
        for (uint32_t i = 0; i < records; ++i) {
            const Person p = person(rng, i);
            line = csvValue(p.last) + "," + csvValue(p.first) + "," + csvValue(p.org) + "," + p.street + "," +
                   csvValue(p.city) + "," + p.state + "," + p.zip + "," + p.phone + "," + p.email + "\r\n";
            std::fwrite(line.data(), 1, line.size(), out);
        }
        std::fclose(out);
    }
    const std::string source = dir + "/source.dbf";
    {
        xbase::TableSpec design;
        design.fields = {{"LNAME", 'C', 30}, {"FNAME", 'C', 30}, {"ORG", 'C', 30}, {"STREET", 'C', 40},
                       {"CITY", 'C', 30},  {"STATE", 'C', 20}, {"ZIP", 'C', 10}, {"PHONE", 'C', 30},
                       {"EMAIL", 'C', 40}, {"NOTES", 'M', 10}};
        if (!xbase::Table::create(source, design).ok()) fail("cannot create " + source);
        std::unique_ptr<xbase::Table> t;
        if (!xbase::Table::open(source, xbase::OpenMode::Exclusive, &t).ok()) fail("cannot open " + source);
        BatchAppender out(*t);
        Random rng(43);
        const xbase::CodePage& cp = t->codePage();
        std::string raw;
        for (uint32_t i = 0; i < records; ++i) {
            const Person p = person(rng, i);
            out.begin();
            const std::string* values[] = {&p.last,  &p.first, &p.org,   &p.street, &p.city,
                                           &p.state, &p.zip,   &p.phone, &p.email,  &p.notes};
            for (int f = 0; f < 10; ++f) {
                if (values[f]->empty()) continue;
                if (!cp.fromUtf8(*values[f], &raw).ok() || !out.put(f, raw).ok())
                    fail("cannot fill " + source);
            }
            if (!out.end().ok()) fail("cannot write " + source);
        }
        if (!out.flush().ok() || !t->close().ok()) fail("cannot write " + source);
    }
    const double csvDisk = diskBaseline(csv, dir + "/scratch");
    std::printf("  %-34s %8.2f s  (%.0f MB)\n", "disk baseline (CSV size)", csvDisk,
                double(std::filesystem::file_size(csv)) / 1e6);

    // CSV import with the 26-tag rebuild.
    const std::string imported = dir + "/csv.DBF";
    {
        std::unique_ptr<xbase::Table> table = newAddressFile(imported);
        AsciiSample sample;
        QString message;
        if (!ReadAsciiSample(QString::fromStdString(csv), {}, &sample, &message)) fail(message.toStdString());
        AsciiImportSetup setup;
        setup.path = QString::fromStdString(csv);
        setup.encoding = sample.encoding;
        setup.fieldCount = sample.fieldCount;
        std::vector<SourceField> sources;
        for (const QString& n : sample.fieldNames()) sources.push_back({n, 'C'});
        setup.match = FieldMatch(ImportDestinations::Ascii(*table), sources, FieldMatch::Rules::Any);
        const char* labels[] = {"LNAME", "FNAME", "ORG", "STREET", "CITY", "STATE", "ZIP", "PHONE", "EMAIL"};
        for (int i = 0; i < 9; ++i) setup.match.assign(setup.match.rowNamed(labels[i]), i);
        JobProgress quiet;
        Phases phases;
        ImportReport report;
        phases.start = std::chrono::steady_clock::now();
        const double total = seconds([&] { report = RunAsciiImport(*table, setup, quiet, phases.hooks()); });
        if (!report.succeeded() || report.imported != records) fail(report.messages.join(" ").toStdString());
        line("CSV import, records", phases.records(), records, csvDisk,
             "peak before the rebuild " + std::to_string(phases.peakBeforeRebuild) + " MB");
        line("CSV import, 26-tag rebuild", total - phases.records(), records, 0);
        line("CSV import, total", total, records, csvDisk);
        if (!table->close().ok()) fail("close");
    }

    // RFC 4180 import: a line of column names, quoted line breaks and doubled quotes in
    // the notes, the dialect and the names found from the file.
    {
        const std::string rfc = dir + "/sheet.csv";
        {
            FILE* out = std::fopen(rfc.c_str(), "wb");
            Random rng(42);
            std::string line = "Last Name,First Name,Company,Street,City,State,Zip,Phone,E-mail Address,Notes\r\n";
            std::fwrite(line.data(), 1, line.size(), out);
            for (uint32_t i = 0; i < records; ++i) {
                const Person p = person(rng, i);
                const std::string notes = p.notes.empty() ? std::string() : "\"" + p.notes + "\r\n\"\"second\"\" line\"";
                line = csvValue(p.last) + "," + csvValue(p.first) + "," + csvValue(p.org) + "," + p.street + "," +
                       csvValue(p.city) + "," + p.state + "," + p.zip + "," + p.phone + "," + p.email + "," + notes +
                       "\r\n";
                std::fwrite(line.data(), 1, line.size(), out);
            }
            std::fclose(out);
        }
        std::unique_ptr<xbase::Table> table = newAddressFile(dir + "/rfc.DBF");
        AsciiSample sample;
        QString message;
        if (!ReadAsciiSample(QString::fromStdString(rfc), {}, &sample, &message, std::nullopt,
                             ImportDestinations::Ascii(*table))) {
            fail(message.toStdString());
        }
        if (sample.dialect != CsvDialect::Dialect::Rfc4180 || !sample.headerDetected) fail("dialect or header");
        AsciiImportSetup setup;
        setup.path = QString::fromStdString(rfc);
        setup.encoding = sample.encoding;
        setup.dialect = sample.dialect;
        setup.fieldCount = sample.fieldCount;
        setup.firstLineNames = true;
        setup.match = FieldMatch(ImportDestinations::Ascii(*table), sample.sources(true), FieldMatch::Rules::Any);
        setup.match.matchByNames(sample.firstLineNames());
        JobProgress quiet;
        Phases phases;
        ImportReport report;
        phases.start = std::chrono::steady_clock::now();
        const double total = seconds([&] { report = RunAsciiImport(*table, setup, quiet, phases.hooks()); });
        if (!report.succeeded() || report.imported != records) fail(report.messages.join(" ").toStdString());
        line("RFC 4180 import, records", phases.records(), records, csvDisk);
        line("RFC 4180 import, total", total, records, csvDisk);
        if (!table->close().ok()) fail("close");
    }

    // vCard import of up to 100,000 cards with the rebuild.
    {
        const uint32_t cards = std::min<uint32_t>(records, 100000);
        const std::string vcf = dir + "/cards.vcf";
        {
            FILE* out = std::fopen(vcf.c_str(), "wb");
            Random rng(44);
            std::string text;
            for (uint32_t i = 0; i < cards; ++i) {
                const Person p = person(rng, i);
                VCardContact c;
                c.family = QString::fromStdString(p.last);
                c.given = QString::fromStdString(p.first);
                c.formatted = c.given + " " + c.family;
                c.org = QString::fromStdString(p.org);
                c.addresses.push_back({{"home"}, {}, {}, QString::fromStdString(p.street), QString::fromStdString(p.city),
                                       QString::fromStdString(p.state), QString::fromStdString(p.zip), {}});
                c.phones.push_back({{"voice"}, QString::fromStdString(p.phone)});
                c.emails.push_back({{"internet"}, QString::fromStdString(p.email)});
                c.note = QString::fromStdString(p.notes);
                text.clear();
                VCard::Write(c, &text);
                std::fwrite(text.data(), 1, text.size(), out);
            }
            std::fclose(out);
        }
        std::unique_ptr<xbase::Table> table = newAddressFile(dir + "/vcard.DBF");
        VCardImportSetup setup;
        setup.path = QString::fromStdString(vcf);
        JobProgress quiet;
        Phases phases;
        ImportReport report;
        phases.start = std::chrono::steady_clock::now();
        const double total = seconds([&] { report = RunVCardImport(*table, setup, quiet, phases.hooks()); });
        if (!report.succeeded() || report.imported != cards) fail(report.messages.join(" ").toStdString());
        line("vCard import, records", phases.records(), cards, 0,
             std::to_string(std::filesystem::file_size(vcf) / 1000000) + " MB");
        line("vCard import, total", total, cards, 0);
        if (!table->close().ok()) fail("close");
    }

    // DBF import with the automatic match and the rebuild.
    {
        const double dbfDisk = diskBaseline(source, dir + "/scratch");
        std::unique_ptr<xbase::Table> table = newAddressFile(dir + "/dbf.DBF");
        std::unique_ptr<xbase::Table> src;
        QString message;
        if (!DbfImport::OpenSource(QString::fromStdString(source), {}, &src, &message))
            fail(message.toStdString());
        FieldMatch match = DbfImport::NewMatch(*table, *src);
        match.autoMatch();
        JobProgress quiet;
        Phases phases;
        ImportReport report;
        phases.start = std::chrono::steady_clock::now();
        const double total =
            seconds([&] { report = DbfImport::Run(*table, *src, match, quiet, phases.hooks()); });
        if (!report.succeeded() || report.imported != records) fail(report.messages.join(" ").toStdString());
        line("DBF import, records", phases.records(), records, dbfDisk,
             "peak before the rebuild " + std::to_string(phases.peakBeforeRebuild) + " MB");
        line("DBF import, 26-tag rebuild", total - phases.records(), records, 0);
        line("DBF import, total", total, records, dbfDisk);
        if (!table->close().ok()) fail("close");
    }

    // Copy Records Out of the imported file, every record not deleted.
    {
        std::unique_ptr<xbase::Table> table;
        QString message;
        if (!AddressFile::OpenTableFile(QString::fromStdString(imported), &table, &message))
            fail(message.toStdString());
        table->setDeleted(true);
        if (!table->query("!ISDEL").ok()) fail("query");
        const double tableDisk = diskBaseline(imported, dir + "/scratch");
        const struct {
            CopyOut::Kind kind;
            const char* name;
            const char* file;
            int order;  // 0 natural, else the LNAME tag
        } copies[] = {
            {CopyOut::Kind::Text, "export text", "out.txt", 0},
            {CopyOut::Kind::Csv, "export CSV", "out.csv", 0},
            {CopyOut::Kind::Dbf, "export DBF", "out.dbf", 0},
            {CopyOut::Kind::VCard, "export vCard", "out.vcf", 0},
            {CopyOut::Kind::Csv, "export CSV, last-name order", "out2.csv", 1},
        };
        for (const auto& c : copies) {
            if (!table->setOrder(c.order ? table->tagArea("LNAME") : 0).ok()) fail("order");
            uint32_t copied = 0;
            QString error;
            JobProgress quiet;
            const std::string out = dir + "/" + c.file;
            const double secs = seconds([&] {
                if (CopyOut::Run(*table, c.kind, QString::fromStdString(out), quiet, &copied, &error) !=
                    JobResult::Done) {
                    fail(error.toStdString());
                }
            });
            if (copied != records) fail("copied " + std::to_string(copied));
            line(c.name, secs, copied, tableDisk,
                 std::to_string(std::filesystem::file_size(out) / 1000000) + " MB");
        }
    }
    if (!keep) std::filesystem::remove_all(dir);
    return 0;
}
