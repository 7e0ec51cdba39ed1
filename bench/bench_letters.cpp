// Times the letters: merging one letter that uses all 25 field names, against copying
// the letter alone (the part of every merge that is not the merge), and printing 1,000
// one-page merged letters to a PDF file, against the same job drawing nothing.
//
//   bench_letters [--letters 1000] [--dir /tmp/quillory-bench-letters]

#include <QDir>
#include <QGuiApplication>
#include <QPageLayout>
#include <QPageSize>
#include <QTextCursor>
#include <QTextDocument>
#include <chrono>
#include <cstdio>
#include <cstring>
#include <memory>
#include <string>

#include "LetterMerge.h"
#include "LetterPrint.h"
#include "LetterText.h"
#include "BenchSupport.h"
#include "PrintMemory.h"
#include "TReportPdfWriter.h"
#include "Table.h"

namespace {

using Clock = std::chrono::steady_clock;

double secondsSince(Clock::time_point start) {
    return std::chrono::duration<double>(Clock::now() - start).count();
}

// A one-page letter with every field name once, a few in bold.
void writeLetter(QTextDocument* doc) {
    QTextCursor c(doc);
    QTextCharFormat plain, bold;
    plain.setFontFamilies(QStringList{"Liberation Serif"});
    plain.setFontPointSize(11);
    bold = plain;
    bold.setFontWeight(QFont::Bold);
    c.insertText("[Today's Date]\n[Long Date]\n\n[Name and Address]\nDear ", plain);
    c.insertText("[Prefix] [First] [Middle] [Last]", bold);
    c.insertText(",\n", plain);
    for (int i = 0; i < 6; ++i)
        c.insertText("We write to [Full Name] of [Organization], [Title], at [Street] [Street 2], [City+State+Zip] "
                     "([City], [State], [Province], [Zip], [Postal Code], [Country]) about the account that "
                     "we keep for you. Call [Phone] or [Phone 2], fax [Fax], or mail [E-Mail].\n",
                     plain);
    c.insertText("Notes: [Comment 1] [Comment 2]\nYours sincerely,\n\nThe Club", plain);
}

LetterMerge::Address sample(int i) {
    LetterMerge::Address a;
    a.prefix = "Ms.", a.first = QString("Jo%1").arg(i), a.middle = "K", a.last = "Doe", a.title = "Director";
    a.organization = "Acme Widgets", a.street = QString("%1 Main Street").arg(i), a.street2 = "Suite 500";
    a.city = "Springfield", a.state = "IL", a.zip = "62701", a.country = "USA";
    a.phone = "555-0100", a.phone2 = "555-0101", a.fax = "555-0102", a.email = "jo@example.org";
    a.comment1 = "Gold member", a.comment2 = "Since 1999";
    return a;
}

bool makeTable(const std::string& path, int records) {
    xbase::TableSpec design;
    for (const char* name : {"PREFIX", "FNAME", "MIDDLE", "LNAME", "TITLE", "ORG", "STREET", "STREET2", "CITY",
                             "STATE", "ZIP", "COUNTRY", "PHONE", "PHONE2", "FAX", "EMAIL", "USER1", "USER2"})
        design.fields.push_back(xbase::FieldDef{name, 'C', 30, 0});
    design.fields.push_back(xbase::FieldDef{"ISDEL", 'L', 1, 0});
    std::remove(path.c_str());
    if (!xbase::Table::create(path, design).ok()) return false;
    std::unique_ptr<xbase::Table> t;
    if (!xbase::Table::open(path, xbase::OpenMode::Exclusive, &t).ok()) return false;
    for (int i = 0; i < records; ++i) {
        const LetterMerge::Address a = sample(i);
        const QString values[] = {a.prefix, a.first, a.middle, a.last, a.title, a.organization,
                                  a.street, a.street2, a.city, a.state, a.zip, a.country,
                                  a.phone, a.phone2, a.fax, a.email, a.comment1, a.comment2};
        if (!t->appendBlank().ok()) return false;
        for (int f = 0; f < 18; ++f)
            if (!t->replace(f, values[f].toStdString()).ok()) return false;
        if (!t->replaceLogical(18, false).ok()) return false;
    }
    return t->commit().ok() && t->close().ok();
}

}  // namespace

int main(int argc, char** argv) {
    int letters = 1000;
    std::string dir = "/tmp/quillory-bench-letters";
    for (int i = 1; i + 1 < argc; i += 2) {
        if (!std::strcmp(argv[i], "--letters")) letters = std::atoi(argv[i + 1]);
        if (!std::strcmp(argv[i], "--dir")) dir = argv[i + 1];
    }
    KeepPageBuffersInHeap();  // as the program does
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM")) qputenv("QT_QPA_PLATFORM", "offscreen");
    QGuiApplication app(argc, argv);
    QDir().mkpath(QString::fromStdString(dir));

    QTextDocument letter;
    writeLetter(&letter);
    const LetterMerge::Address address = sample(7);
    const QDate today(2024, 3, 5);
    const QLocale locale = QLocale::system();

    constexpr int kMerges = 2000;
    auto start = Clock::now();
    for (int i = 0; i < kMerges; ++i) (void)LetterText::Copy(letter);
    const double copyOnly = secondsSince(start) / kMerges;
    start = Clock::now();
    for (int i = 0; i < kMerges; ++i) {
        auto copy = LetterText::Copy(letter);
        LetterMerge::ReplaceTokens(copy.get(), address, today, locale);
    }
    const double merge = secondsSince(start) / kMerges;
    std::printf("merge, 25 fields:        %8.3f ms per letter (copy alone %.3f ms; merge %.2fx the copy)\n",
                merge * 1e3, copyOnly * 1e3, merge / copyOnly);

    const std::string table = dir + "/BENCH.DBF";
    if (!makeTable(table, letters)) {
        std::fprintf(stderr, "cannot make %s\n", table.c_str());
        return 1;
    }
    std::unique_ptr<xbase::Table> t;
    if (!xbase::Table::open(table, xbase::OpenMode::Exclusive, &t).ok()) return 1;
    bench::SilentMessages messages;
    auto printTo = [&](const QTextDocument& doc, const QString& pdf, int* pages) {
        TReportPdfWriter report;
        report.setFileName(pdf);
        report.setPageLayout(QPageLayout(QPageSize(QPageSize::Letter), QPageLayout::Portrait, QMarginsF()));
        JobProgress progress;
        QString error;
        LetterPrint::Choice choice;
        choice.records = LetterPrint::Records::All;
        (void)t->goTop();
        const auto s = Clock::now();
        const JobResult r = LetterPrint::PrintLetters(*t, doc, choice, report, progress, messages, &error, pages);
        if (r != JobResult::Done) std::fprintf(stderr, "print failed: %s\n", qPrintable(error));
        return secondsSince(s);
    };
    int pages = 0, blankPages = 0;
    QTextDocument blank;
    const double empty = printTo(blank, QString::fromStdString(dir + "/blank.pdf"), &blankPages);
    const double full = printTo(letter, QString::fromStdString(dir + "/letters.pdf"), &pages);
    std::printf("%d letters to PDF:      %8.2f s, %d pages (%d blank pages %.2f s; %.1fx)\n", letters, full, pages,
                blankPages, empty, full / empty);
    QDir(QString::fromStdString(dir)).removeRecursively();
    return 0;
}
