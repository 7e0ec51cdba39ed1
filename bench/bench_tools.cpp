// Times the maintenance tools on a synthetic address file of a million records with
// its 26 tags: the duplicate scan and the state/ZIP check (and how soon their result
// grids open), then the bulk edits (case conversion, search and replace, delete),
// each against a plain read of every record in the same run. Afterwards the indexes
// are checked against the records, and every tag is rebuilt from scratch to show that
// its key order is unchanged.
//
//   bench_tools [--records 1000000] [--dir /tmp/quillory-bench-tools] [--keep]
//
// The file is generated from a fixed pattern: every tenth record repeats the name of
// the one before (100,000 duplicate pairs in a million), and every tenth record has a
// state the state table does not know (100,000 questionable records).

#include <QCoreApplication>
#include <QDir>
#include <chrono>
#include <cinttypes>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <functional>
#include <memory>
#include <string>
#include <tuple>
#include <vector>

#include "AddressFile.h"
#include "AppHome.h"
#include "BrowseColumns.h"
#include "CaseConversion.h"
#include "DeleteRecords.h"
#include "DuplicateCheck.h"
#include "EditableGridModel.h"
#include "SavedCursor.h"
#include "SearchReplace.h"
#include "StateZipCheck.h"
#include "SystemTables.h"
#include "Table.h"

using xbase::Status;
using xbase::Table;

namespace {

double seconds(const std::function<void()>& work) {
    const auto start = std::chrono::steady_clock::now();
    work();
    return std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count();
}

[[noreturn]] void fail(const std::string& what, const QString& message) {
    std::fprintf(stderr, "bench_tools: %s: %s\n", what.c_str(), message.toStdString().c_str());
    std::exit(1);
}
void check(const Status& s, const std::string& what) {
    if (!s.ok()) fail(what, QString::fromStdString(s.toString()));
}
void check(JobResult r, const QString& error, const std::string& what) {
    if (r != JobResult::Done) fail(what, error);
}

double baselineRate = 0;

// Prints a step: its time, its rate over the `records` it went through, and that rate
// against the plain read.
void report(const char* what, double secs, uint64_t records, const std::string& note = std::string()) {
    const double rate = secs > 0 ? double(records) / secs : 0.0;
    std::printf("  %-34s %8.3f s %12.0f rec/s  %5.2fx read   %s\n", what, secs, rate,
                baselineRate > 0 ? rate / baselineRate : 1.0, note.c_str());
    std::fflush(stdout);
}

// "n written, r/s": the records changed and how many a second.
std::string written(uint64_t n, double secs) {
    char buf[80];
    std::snprintf(buf, sizeof buf, "%" PRIu64 " written, %.0f/s", n, secs > 0 ? double(n) / secs : 0.0);
    return buf;
}

const char* const kLast[] = {"smith", "johnson",  "o'neil", "mcdonald", "van der berg", "garcia", "miller",
                             "davis", "martinez", "wilson", "anderson", "taylor",       "thomas", "moore"};
const char* const kFirst[] = {"john",     "mary",     "ann-marie", "robert",
                              "patricia", "jean luc", "linda",     "david"};
const char* const kStreets[] = {"main street", "elm st", "oak avenue", "maple rd", "park lane", "river road"};
struct Place {
    const char* city;
    const char* state;
    const char* zip3;
};
const Place kPlaces[] = {{"springfield", "IL", "627"}, {"albany", "NY", "122"}, {"boston", "MA", "021"},
                         {"austin", "TX", "787"},      {"salem", "OR", "973"},  {"denver", "CO", "802"}};

std::string base26(uint32_t n) {
    std::string s;
    do {
        s.insert(s.begin(), char('a' + n % 26));
        n /= 26;
    } while (n);
    return s;
}

void generate(const std::string& path, uint32_t records) {
    xbase::TableSpec design;
    for (const AddressFile::Field& f : AddressFile::fields())
        design.fields.push_back({f.name, f.type, uint16_t(f.width)});
    check(Table::create(path, design), "create");
    std::unique_ptr<Table> t;
    check(Table::open(path, xbase::OpenMode::Exclusive, &t), "open");
    const int lname = t->fieldIndex("LNAME"), fname = t->fieldIndex("FNAME"),
              street = t->fieldIndex("STREET");
    const int city = t->fieldIndex("CITY"), state = t->fieldIndex("STATE"), zip = t->fieldIndex("ZIP");
    const int phone = t->fieldIndex("PHONE"), isdel = t->fieldIndex("ISDEL");
    std::string last, first;
    for (uint32_t i = 0; i < records; ++i) {
        check(t->appendBlank(), "append");
        if (i % 10 != 9) {  // every tenth repeats the name before it
            last = std::string(kLast[i % 14]) + " " + base26(i / 14);
            first = kFirst[(i / 3) % 8];
        }
        const Place& p = kPlaces[(i / 7) % 6];
        check(t->replace(lname, last), "LNAME");
        check(t->replace(fname, first), "FNAME");
        check(t->replace(street, std::to_string(1 + i % 9973) + " " + kStreets[i % 6]), "STREET");
        check(t->replace(city, p.city), "CITY");
        check(t->replace(state, i % 10 == 3 ? "ZZ" : p.state), "STATE");
        check(t->replace(zip, std::string(p.zip3) + std::to_string(10 + i % 90)), "ZIP");
        check(t->replace(phone, "555-" + std::to_string(1000 + i % 9000)), "PHONE");
        check(t->replace(isdel, "F"), "ISDEL");
    }
    check(t->commit(), "commit");
    QString message;
    if (!AddressFile::CreateAddressTags(*t, &message)) fail("tags", message);
    check(t->close(), "close");
}

// A fingerprint of every tag's order (all records, deleted ones too).
std::vector<uint64_t> keyOrders(Table& t) {
    SavedCursor keep(t);
    t.setDeleted(false);
    check(t.query({}), "query");
    std::vector<uint64_t> prints;
    for (const AddressFile::TagDef& tag : AddressFile::tags()) {
        check(t.setOrder(t.tagArea(tag.name)), tag.name);
        uint64_t h = 1469598103934665603ull;
        for (Status s = t.goTop(); s.ok() && !t.eof(); s = t.skip(1)) h = (h ^ t.recNo()) * 1099511628211ull;
        prints.push_back(h);
    }
    return prints;
}

// How soon a result grid over the table's current order can show its first and last rows.
void openGrid(Table& t, const char* what) {
    int rows = 0;
    QString first, last;
    const double secs = seconds([&] {
        EditableGridModel model(t, BrowseColumns::defaultOrder(), "ID1");
        rows = model.rowCount();
        first = model.data(model.index(0, 1)).toString();
        last = model.data(model.index(rows - 1, 1)).toString();
    });
    std::printf("  %-34s %8.3f s   %d rows; first \"%s\", last \"%s\"\n", what, secs, rows,
                first.toStdString().c_str(), last.toStdString().c_str());
}

}  // namespace

int main(int argc, char** argv) {
    QCoreApplication app(argc, argv);
    uint32_t records = 1000000;
    std::string dir = "/tmp/quillory-bench-tools";
    bool keep = false;
    for (int i = 1; i < argc; ++i) {
        const std::string a = argv[i];
        if (a == "--records" && i + 1 < argc) {
            records = uint32_t(std::strtoul(argv[++i], nullptr, 10));
        } else if (a == "--dir" && i + 1 < argc) {
            dir = argv[++i];
        } else if (a == "--keep") {
            keep = true;
        } else {
            std::fprintf(stderr, "usage: bench_tools [--records N] [--dir DIR] [--keep]\n");
            return 2;
        }
    }
    std::filesystem::create_directories(dir);
    const std::string path = dir + "/tools_" + std::to_string(records) + ".dbf";
    const AppHome home(QString::fromStdString(dir + "/home"));
    QString error;
    if (!home.ensureExists(&error)) fail("home", error);

    std::printf("bench_tools: %" PRIu32 " records with 26 tags: %s\n", records, path.c_str());
    std::printf("  %-34s %8.3f s\n", "generate and build the tags",
                seconds([&] { generate(path, records); }));
    std::unique_ptr<Table> table;
    if (!AddressFile::OpenTableFile(QString::fromStdString(path), &table, &error)) fail("open", error);
    Table& t = *table;
    t.setDeleted(true);
    check(t.query("!ISDEL"), "query");
    check(t.setOrder(t.tagArea("LNAME")), "order");

    // The yardstick: every record read once in record order, three fields of it.
    check(t.setOrder(0), "natural order");
    uint64_t bytes = 0;
    const double readSecs = seconds([&] {
        for (Status s = t.goTop(); s.ok() && !t.eof(); s = t.skip(1))
            bytes += t.getString(1).size() + t.getString(2).size() + t.getString(9).size();
    });
    baselineRate = records / readSecs;
    report("read every record (baseline)", readSecs, records);
    check(t.setOrder(t.tagArea("LNAME")), "order");

    JobProgress silent;
    {
        const QString idx = home.file(DuplicateCheck::kIndexFileName);
        DuplicateCheck::Result found;
        const double secs = seconds([&] {
            check(DuplicateCheck::RunDuplicateScan(t, {DuplicateCheck::Kind::LastFirst, 30}, idx, silent,
                                                   &found, &error),
                  error, "duplicates");
        });
        report(
            "duplicate scan (last + first)", secs, records,
            std::to_string(found.matches) + " matches, " + std::to_string(found.candidates) + " candidates");
        check(t.setOrder(found.order), "candidates");
        openGrid(t, "open the duplicates grid");
        check(t.setOrder(t.tagArea("LNAME")), "order");
        DuplicateCheck::RemoveIndex(t, found.order, idx);
    }
    {
        std::unique_ptr<Table> csz;
        if (!SystemTables::OpenCszTable(home, &csz, &error)) fail("CSZ.DBF", error);
        csz->setDeleted(true);
        StateZipCheck::StateTable states(*csz);
        const QString idx = StateZipCheck::IndexPath(QString::fromStdString(path));
        StateZipCheck::Result found;
        const double secs = seconds([&] {
            check(StateZipCheck::RunStateZipCheck(t, states, {false}, idx, silent, &found, &error), error,
                  "state/zip");
        });
        report("state/ZIP check", secs, records, std::to_string(found.found) + " questionable");
        check(t.setOrder(found.order), "questionable");
        openGrid(t, "open the state/ZIP grid");
        check(t.setOrder(t.tagArea("LNAME")), "order");
        DuplicateCheck::RemoveIndex(t, found.order, idx);
    }

    const std::vector<uint64_t> ordersBefore = keyOrders(t);
    {
        CaseConversion::Options o;
        o.records = CaseConversion::Records::All;
        o.fields = {"LNAME", "FNAME", "STREET", "CITY"};
        QStringList all;
        for (const CaseConversion::Field& f : CaseConversion::fields()) all << f.name;
        for (const auto& [rule, name, fields] :
             {std::tuple{CaseConversion::Rule::Upper, "convert case: upper, 4 fields", o.fields},
              {CaseConversion::Rule::Proper, "convert case: proper, 4 fields", o.fields},
              {CaseConversion::Rule::Upper, "convert case: upper, all 15 fields", all}}) {
            o.rule = rule;
            o.fields = fields;
            CaseConversion::Result done;
            const double secs = seconds(
                [&] { check(CaseConversion::RunCaseConversion(t, o, silent, &done, &error), error, name); });
            report(name, secs, done.converted, written(done.converted, secs));
        }
    }
    // Case conversion touches no key: every tag's order is as it was.
    const bool caseKeptOrders = keyOrders(t) == ordersBefore;
    std::printf("  %-34s %s\n", "tag orders after conversion", caseKeptOrders ? "unchanged" : "CHANGED");
    {
        SearchReplace::Options o;
        o.field = "STREET";
        o.find = "street";
        o.replacement = "St";
        o.match = SearchReplace::Match::Contains;
        o.caseSensitive = false;
        o.action = SearchReplace::Action::MatchingText;
        SearchReplace::Result done;
        const double secs = seconds(
            [&] { check(SearchReplace::RunSearchReplace(t, o, silent, &done, &error), error, "replace"); });
        report("replace matching text (STREET)", secs, done.visited, written(done.replaced, secs));
        o.field = "CITY";
        o.find = "Boston";
        o.replacement = "Cambridge";
        o.match = SearchReplace::Match::Equal;
        o.action = SearchReplace::Action::WholeField;
        const double secs2 = seconds(
            [&] { check(SearchReplace::RunSearchReplace(t, o, silent, &done, &error), error, "replace"); });
        report("replace whole field (CITY)", secs2, done.visited, written(done.replaced, secs2));
    }
    {
        DeleteRecords::Result done;
        const double secs = seconds([&] {
            check(DeleteRecords::RunDeleteRecords(t, DeleteRecords::Choice::Matching, "UPPER(LNAME)<\"M\"",
                                                  silent, &done, &error),
                  error, "delete");
        });
        report("delete matching filter", secs, records, written(done.deleted, secs));
    }

    // The indexes against the records, then every tag built from scratch.
    const double verifySecs = seconds([&] { check(t.verifyIndexes(), "verify"); });
    report("verify 26 tags against records", verifySecs, records, "sound");
    const std::vector<uint64_t> ordersEdited = keyOrders(t);
    const double rebuildSecs = seconds([&] {
        if (!AddressFile::CreateAddressTags(t, &error)) fail("rebuild", error);
    });
    report("rebuild the 26 tags", rebuildSecs, records);
    const bool same = keyOrders(t) == ordersEdited;
    std::printf("  %-34s %s\n", "key orders after the rebuild",
                same ? "unchanged in all 26 tags" : "CHANGED");
    check(t.close(), "close");
    if (!keep) {
        const std::string base = path.substr(0, path.size() - 4);
        for (const char* ext : {".dbf", ".cdx", ".CDX", ".fpt", ".FPT"}) std::filesystem::remove(base + ext);
        std::filesystem::remove_all(dir + "/home");
    }
    return same && caseKeptOrders ? 0 : 1;
}
