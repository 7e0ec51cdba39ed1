// Times the one-record sheet with a long memo, printed to a PDF file: memos of 1 and 4
// megabytes, once of words and once without a blank (broken between characters). The
// 1-megabyte memo of words is the baseline; the others print their ratio to it, which
// stays near 4 for the 4-megabyte ones as long as breaking the memo into lines is
// linear in its length.
//
//   bench_sheet [--dir /tmp/quillory-bench-sheet]

#include <QDir>
#include <QGuiApplication>
#include <chrono>
#include <cstdio>
#include <cstring>
#include <memory>
#include <string>

#include "AddressFile.h"
#include "JobProgress.h"
#include "RecordSheet.h"
#include "TReportPdfWriter.h"
#include "Table.h"

namespace {

using Clock = std::chrono::steady_clock;

// A table of one record whose memo is `memo`.
bool makeTable(const std::string& path, const std::string& memo) {
    xbase::TableSpec design;
    for (const AddressFile::Field& f : AddressFile::fields())
        design.fields.push_back(xbase::FieldDef{f.name, f.type, uint16_t(f.width), 0});
    std::remove(path.c_str());
    std::remove((path.substr(0, path.size() - 3) + "FPT").c_str());
    if (!xbase::Table::create(path, design).ok()) return false;
    std::unique_ptr<xbase::Table> t;
    if (!xbase::Table::open(path, xbase::OpenMode::Exclusive, &t).ok()) return false;
    return t->appendBlank().ok() && t->replace(t->fieldIndex("LNAME"), "Doe").ok() &&
           t->replace(t->fieldIndex("MEMO"), memo).ok() && t->commit().ok() && t->close().ok();
}

// Seconds to print the sheet of the table's record; its pages in `pages`.
double printSheet(const std::string& path, const std::string& pdf, int* pages) {
    std::unique_ptr<xbase::Table> t;
    if (!xbase::Table::open(path, xbase::OpenMode::Exclusive, &t).ok() || !t->goTop().ok()) return -1;
    TReportPdfWriter report;
    report.setFileName(QString::fromStdString(pdf));
    JobProgress progress;
    QString error;
    const auto start = Clock::now();
    const JobResult result = RecordSheet::PrintSheet(*t, RecordSheet::Choice(), report, progress, &error);
    const double seconds = std::chrono::duration<double>(Clock::now() - start).count();
    *pages = report.pagesPrinted();
    return result == JobResult::Done ? seconds : -1;
}

std::string memoOf(size_t bytes, bool words) {
    std::string memo;
    memo.reserve(bytes);
    if (!words) return std::string(bytes, 'x');
    static const char* const vocabulary[] = {"call", "after",   "noon", "about",
                                             "the",  "renewal", "of",   "invoice"};
    for (size_t i = 0; memo.size() < bytes; ++i) {
        memo += vocabulary[(i * 7 + i / 13) % 8];
        memo += i % 40 == 39 ? "\r\n" : " ";
    }
    return memo;
}

}  // namespace

int main(int argc, char** argv) {
    QGuiApplication app(argc, argv);
    std::string dir = "/tmp/quillory-bench-sheet";
    for (int i = 1; i + 1 < argc; ++i)
        if (std::strcmp(argv[i], "--dir") == 0) dir = argv[i + 1];
    QDir().mkpath(QString::fromStdString(dir));
    const std::string table = dir + "/SHEET.DBF", pdf = dir + "/sheet.pdf";

    double baseline = 0;
    for (const bool words : {true, false}) {
        for (const size_t megabytes : {1u, 4u}) {
            if (!makeTable(table, memoOf(megabytes * 1'000'000, words))) {
                std::fprintf(stderr, "cannot make %s\n", table.c_str());
                return 1;
            }
            int pages = 0;
            const double seconds = printSheet(table, pdf, &pages);
            if (seconds < 0) {
                std::fprintf(stderr, "the sheet did not print\n");
                return 1;
            }
            if (baseline == 0) baseline = seconds;
            std::printf("%zu MB memo %-14s %5d pages  %7.2f s  ratio %5.2f\n", megabytes,
                        words ? "of words" : "without blanks", pages, seconds, seconds / baseline);
        }
    }
    return 0;
}
