// Damaged files on the command line: the real binary reports each one (exit code 1
// and a message naming the damage), never waits for ever, and loses no record; a
// rebuild recovers what can be recovered.

#include <gtest/gtest.h>
#include <sys/stat.h>

#include <algorithm>
#include <filesystem>
#include <fstream>
#include <functional>
#include <map>

#include "IndexPages.h"
#include "RunQuillory.h"
#include "Table.h"
#include "TempDir.h"

namespace {

using indexpages::put16;
using indexpages::put32;
using indexpages::u16;

std::string readBytes(const std::string& path) {
    std::ifstream in(path, std::ios::binary);
    return std::string(std::istreambuf_iterator<char>(in), {});
}

void writeBytes(const std::string& path, const std::string& bytes) {
    std::ofstream out(path, std::ios::binary | std::ios::trunc);
    out << bytes;
}

// Every file of a folder with its bytes (the command's captured messages left out).
std::map<std::string, std::string> snapshot(const std::string& dir) {
    std::map<std::string, std::string> files;
    for (const auto& e : std::filesystem::directory_iterator(dir)) {
        const std::string name = e.path().filename().string();
        if (e.is_regular_file() && name != "stderr.txt") files[name] = readBytes(e.path().string());
    }
    return files;
}

// The names of the files that are new, gone or changed.
std::vector<std::string> changed(const std::map<std::string, std::string>& before,
                                 const std::map<std::string, std::string>& after) {
    std::vector<std::string> names;
    for (const auto& [name, bytes] : before) {
        auto it = after.find(name);
        if (it == after.end() || it->second != bytes) names.push_back(name);
    }
    for (const auto& [name, bytes] : after) {
        if (!before.count(name)) names.push_back(name);
    }
    return names;
}

// runQuillory with a time limit: a command that would wait for ever ends with 124.
QuilloryResult runLimited(const std::vector<std::string>& args, const TempDir& dir) {
    return runQuillory(args, dir, 60);
}

// An address file made by `new`, with `records` records: LNAME "Name 1", ... and a
// memo on every third record.
void makeAddressFile(const TempDir& home, const std::string& path, uint32_t records) {
    QuilloryResult r = runQuillory({"new", path}, home);
    ASSERT_EQ(r.exitCode, 0) << r.err;
    std::unique_ptr<xbase::Table> t;
    ASSERT_TRUE(xbase::Table::open(path, xbase::OpenMode::Exclusive, &t).ok());
    for (uint32_t n = 1; n <= records; ++n) {
        ASSERT_TRUE(t->appendBlank().ok());
        ASSERT_TRUE(t->replace(t->fieldIndex("LNAME"), "Name " + std::to_string(n)).ok());
        ASSERT_TRUE(t->replace(t->fieldIndex("FNAME"), "First " + std::to_string(n * 7919 % 1000)).ok());
        if (n % 3 == 0) {
            ASSERT_TRUE(t->replace(t->fieldIndex("MEMO"), "memo " + std::to_string(n)).ok());
        }
    }
    ASSERT_TRUE(t->close().ok());
}

std::string names(uint32_t from, uint32_t to) {
    std::string csv = "LNAME\n";
    for (uint32_t n = from; n <= to; ++n) csv += "Name " + std::to_string(n) + "\n";
    return csv;
}

TEST(DamagedFileCliTest, ARecordCountThatDisagreesWithTheFileIsReportedAndReindexRecoversIt) {
    TempDir dir;
    const std::string file = dir.file("add.DBF");
    makeAddressFile(dir, file, 31);
    const std::string good = readBytes(file), goodIndex = readBytes(dir.file("add.CDX"));
    const uint32_t headerLength = u16(good, 8), recordLength = u16(good, 10);
    const struct Case {
        const char* what;
        uint32_t count, records, partial;
        const char* damage;
        const char* recovered;
        uint32_t kept;
    } cases[] = {
        {"count 0", 0, 31, 0, "the header counts 0 records, but the file holds 31", "it holds 31 records",
         31},
        {"count 5", 5, 31, 0, "the header counts 5 records, but the file holds 31", "it holds 31 records",
         31},
        {"cut short", 31, 26, 0, "the header counts 31 records, but the file holds only 26",
         "it holds 26 records", 26},
        {"cut in a record", 31, 26, 40,
         "the header counts 31 records, but the file holds only 26 and part of another",
         "it holds 27 records\nRecord 27 was cut short; what is missing of it is left blank", 27},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        std::string bytes = good.substr(0, headerLength + c.records * recordLength + c.partial);
        put32(bytes, 4, c.count);
        writeBytes(file, bytes);
        writeBytes(dir.file("add.CDX"), goodIndex);
        const auto before = snapshot(dir.path());

        for (const std::vector<std::string>& command :
             std::vector<std::vector<std::string>>{{"info", file},
                                                   {"dump", file},
                                                   {"count", file, "!ISDEL"},
                                                   {"seek", file, "LNAME", "NAME"}}) {
            QuilloryResult r = runLimited(command, dir);
            EXPECT_EQ(r.exitCode, 1) << command[0] << ": " << r.err;
            EXPECT_EQ(r.err, "quillory: Table record count is damaged (" + std::string(c.damage) +
                                 "): " + file + "\n")
                << command[0];
            EXPECT_TRUE(r.out.empty()) << command[0] << ": " << r.out;
        }
        EXPECT_EQ(changed(before, snapshot(dir.path())),
                  std::vector<std::string>{});  // reading changes nothing

        QuilloryResult r = runLimited({"reindex", file}, dir);
        ASSERT_EQ(r.exitCode, 0) << r.err;
        EXPECT_EQ(r.out, "Recovered " + file + ": " + c.recovered +
                             "\nCleaning out old deleted records\nRebuilding indexes\n" +
                             std::to_string(c.kept) + " records, 26 tags\n");
        r = runLimited({"dump", file, "--fields", "LNAME"}, dir);
        ASSERT_EQ(r.exitCode, 0) << r.err;
        EXPECT_EQ(r.out, names(1, c.kept));  // the last one of them as far as the file held it
    }
}

TEST(DamagedFileCliTest, NoCommandTouchesAFileOfAnotherTable) {
    const struct Case {
        const char* what;
        std::function<void(const TempDir& home, const std::string& work)> prepare;
        std::vector<std::string> args;  // "W/" stands for the work folder
        int exitCode;
        std::vector<std::string> owned;  // files in the work folder the command may make or change
    } cases[] = {
        {"new beside a table in another case",
         [](const TempDir& h, const std::string& w) { makeAddressFile(h, w + "/t1.DBF", 3); },
         {"new", "W/T1.dbf"},
         1,
         {}},
        {"new beside files left in another case",
         [](const TempDir& h, const std::string& w) {
             makeAddressFile(h, w + "/t1.DBF", 3);
             std::filesystem::remove(w + "/t1.DBF");
         },
         {"new", "W/T1.dbf"},
         0,
         {"T1.dbf", "T1.fpt", "T1.cdx"}},
        {"reindex beside a table in another case",
         [](const TempDir& h, const std::string& w) {
             makeAddressFile(h, w + "/t1.DBF", 3);
             std::filesystem::create_directory(w + "/other");
             makeAddressFile(h, w + "/other/T1.dbf", 4);
             for (const char* f : {"T1.dbf", "T1.fpt", "T1.cdx"})
                 std::filesystem::rename(w + "/other/" + f, w + "/" + f);
         },
         {"reindex", "W/T1.dbf"},
         0,
         {"T1.dbf", "T1.fpt", "T1.cdx"}},
        {"reindex of the other one",
         [](const TempDir& h, const std::string& w) {
             makeAddressFile(h, w + "/t1.DBF", 3);
             std::filesystem::create_directory(w + "/other");
             makeAddressFile(h, w + "/other/T1.dbf", 4);
             for (const char* f : {"T1.dbf", "T1.fpt", "T1.cdx"})
                 std::filesystem::rename(w + "/other/" + f, w + "/" + f);
         },
         {"reindex", "W/t1.DBF"},
         0,
         {"t1.DBF", "t1.FPT", "t1.CDX"}},
        {"reindex where the name of the pack's file is taken",
         [](const TempDir& h, const std::string& w) {
             makeAddressFile(h, w + "/T1.dbf", 3);
             writeBytes(w + "/T1.dbf.pack", "somebody's file");
         },
         {"reindex", "W/T1.dbf"},
         0,
         {"T1.dbf", "T1.fpt", "T1.cdx"}},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        TempDir home;
        const std::string work = home.file("work");
        std::filesystem::create_directory(work);
        c.prepare(home, work);
        std::filesystem::remove_all(work + "/other");
        std::vector<std::string> args = c.args;
        for (std::string& a : args) {
            if (a.rfind("W/", 0) == 0) a = work + a.substr(1);
        }
        std::map<std::string, std::string> before = snapshot(work);
        QuilloryResult r = runLimited(args, home);
        EXPECT_EQ(r.exitCode, c.exitCode) << r.err;
        std::map<std::string, std::string> after = snapshot(work);
        for (const std::string& f : c.owned) {
            before.erase(f);
            after.erase(f);
        }
        EXPECT_EQ(changed(before, after), std::vector<std::string>{});
        if (c.exitCode == 0) {
            // The table the command worked on has its own 26 tags and its records.
            r = runLimited({"info", work + "/" + c.owned[0]}, home);
            EXPECT_NE(r.out.find("Tags: 26\n"), std::string::npos) << r.out;
            EXPECT_EQ(r.out.find("Index:"), std::string::npos) << r.out;
            r = runLimited({"dump", work + "/" + c.owned[0], "--fields", "LNAME", "--order", "LNAME"}, home);
            EXPECT_EQ(r.exitCode, 0) << r.err;
        }
    }
}

TEST(DamagedFileCliTest, DamagedIndexPagesAreReportedAtOnceAndReindexRebuildsThem) {
    TempDir dir;
    const std::string file = dir.file("add.DBF");
    const std::string cdx = dir.file("add.CDX");
    makeAddressFile(dir, file, 300);
    const std::string good = readBytes(cdx);
    const indexpages::TagPages lname = indexpages::tagPages(good, "LNAME");
    ASSERT_GE(lname.leaves.size(), 5u);
    const auto& l = lname.leaves;
    const struct Case {
        const char* what;
        std::function<void(std::string&)> damage;
        const char* message;
    } cases[] = {
        {"next page is the page itself", [&](std::string& b) { put32(b, l[2] + 8, l[2]); },
         "leaf chain is broken"},
        {"next page is an earlier page", [&](std::string& b) { put32(b, l[3] + 8, l[0]); },
         "leaf chain is broken"},
        {"next page past the end", [&](std::string& b) { put32(b, l[2] + 8, 0x7FFFFE00); }, "lies outside"},
        {"a bad key count", [&](std::string& b) { put16(b, l[1] + 2, u16(b, l[1] + 2) - 2); },
         "free space does not match"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        std::string bytes = good;
        c.damage(bytes);
        writeBytes(cdx, bytes);
        QuilloryResult r = runLimited({"dump", file, "--order", "LNAME", "--fields", "LNAME"}, dir);
        EXPECT_EQ(r.exitCode, 1) << r.err;
        EXPECT_NE(r.err.find(c.message), std::string::npos) << r.err;
        EXPECT_NE(r.err.find(cdx), std::string::npos) << r.err;
        EXPECT_LT(std::count(r.out.begin(), r.out.end(), '\n'), 301);  // it stopped at the damage

        r = runLimited({"reindex", file}, dir);
        ASSERT_EQ(r.exitCode, 0) << r.err;
        r = runLimited({"dump", file, "--order", "LNAME", "--fields", "LNAME"}, dir);
        ASSERT_EQ(r.exitCode, 0) << r.err;
        EXPECT_EQ(std::count(r.out.begin(), r.out.end(), '\n'), 301);
    }
}

TEST(DamagedFileCliTest, APipeNamedLikeATableIsRefusedAtOnce) {
    TempDir dir;
    const std::string pipe = dir.file("x.DBF");
    ASSERT_EQ(::mkfifo(pipe.c_str(), 0644), 0);
    for (const std::vector<std::string>& command : std::vector<std::vector<std::string>>{
             {"info", pipe}, {"dump", pipe}, {"count", pipe, ".T."}, {"reindex", pipe}}) {
        QuilloryResult r = runLimited(command, dir);
        EXPECT_EQ(r.exitCode, 1) << command[0] << ": " << r.err;
        EXPECT_NE(r.err.find(pipe), std::string::npos) << command[0] << ": " << r.err;
    }
    QuilloryResult r = runLimited({"info", pipe}, dir);
    EXPECT_EQ(r.err, "quillory: Not a regular file: " + pipe + "\n");
}

TEST(DamagedFileCliTest, AMemoThatCannotBeReadStopsTheDumpNamingItsRecord) {
    TempDir dir;
    const std::string file = dir.file("add.DBF");
    const std::string memo = dir.file("add.FPT");
    makeAddressFile(dir, file, 9);
    const std::string good = readBytes(memo);
    const struct Case {
        const char* what;
        std::string bytes;
        const char* message;
    } cases[] = {
        {"block size 0", std::string(good).replace(6, 2, 2, '\0'),
         "Record 3: Memo file header is damaged (block size 0)"},
        {"length past the end", std::string(good).replace(8 * 64 + 4, 4, "\x7F\x00\x00\x00", 4),
         "Record 3: Memo at block 8 runs past the end"},
        {"memo file cut short", good.substr(0, 9 * 64 + 4), "Record 6: Memo block header cut short"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        writeBytes(memo, c.bytes);
        QuilloryResult r = runLimited({"dump", file, "--fields", "LNAME,MEMO"}, dir);
        EXPECT_EQ(r.exitCode, 1);
        EXPECT_EQ(r.err.rfind("quillory: " + std::string(c.message), 0), 0u) << r.err;
        EXPECT_EQ(readBytes(memo), c.bytes);
        // Without the memo column the records are all there.
        r = runLimited({"dump", file, "--fields", "LNAME"}, dir);
        EXPECT_EQ(r.exitCode, 0) << r.err;
        EXPECT_EQ(r.out, names(1, 9));
    }
}

}  // namespace
