// Killing a program while it writes loses nothing it had finished writing. The crash
// writer (CrashWriter.cpp) appends records with the 26 tags open, replaces indexed
// fields, grows and shrinks memos, packs, rebuilds the indexes, saves a layout and
// saves the settings, logging each finished step; it is killed with SIGKILL at random
// moments. After each kill the files must open, every logged step must be found, the
// record count must match the file (or be recovered, never trusted blindly), and an
// index left half written must be found out, rebuilt and then hold the right keys.
//
// QUILLORY_KILLS sets the kills per kind (default 6: a short run for every build;
// `make kill-test` runs 40 per kind).

#include <gtest/gtest.h>
#include <signal.h>
#include <sys/wait.h>
#include <unistd.h>

#include <QFile>
#include <chrono>
#include <fstream>
#include <iostream>
#include <map>
#include <random>
#include <set>
#include <sstream>
#include <thread>

#include "AddressFile.h"
#include "CrashWriterText.h"
#include "FieldLengths.h"
#include "LayoutFile.h"
#include "Settings.h"
#include "SettingKeys.h"
#include "TGBaseLabel.h"
#include "TGDataPanel.h"
#include "Table.h"
#include "TempDir.h"

namespace {

using xbase::Table;

int killsPerKind() {
    const char* v = std::getenv("QUILLORY_KILLS");
    return v && std::atoi(v) > 0 ? std::atoi(v) : 6;
}

std::vector<std::string> readLog(const TempDir& dir) {
    std::ifstream in(dir.file("log"), std::ios::binary);
    std::string all((std::istreambuf_iterator<char>(in)), {});
    std::vector<std::string> lines;
    size_t start = 0;
    for (size_t end; (end = all.find('\n', start)) != std::string::npos; start = end + 1)
        lines.push_back(all.substr(start, end - start));
    return lines;  // a line cut short by the kill has no line end and is left out
}

// Starts the writer, lets it run until it has logged `steps` lines after "ready" and
// then a random while more, and kills it. False (with the writer's words) when it
// stopped by itself.
::testing::AssertionResult runAndKill(const std::string& kind, const TempDir& dir, std::mt19937& random,
                                      const std::string& first = {}) {
    const size_t logged = readLog(dir).size();
    const std::string err = dir.file("writer-err.txt");
    const pid_t pid = fork();
    if (pid == 0) {
        if (!freopen(err.c_str(), "w", stderr)) _exit(4);
        if (first.empty()) {
            execl(QUILLORY_CRASH_WRITER, "crash_writer", kind.c_str(), dir.path().c_str(), (char*)nullptr);
        } else {
            execl(QUILLORY_CRASH_WRITER, "crash_writer", kind.c_str(), dir.path().c_str(), first.c_str(),
                  (char*)nullptr);
        }
        _exit(5);
    }
    // Wait for the start (the writer logs "ready"), then kill at a random moment.
    const auto deadline = std::chrono::steady_clock::now() + std::chrono::seconds(20);
    while (readLog(dir).size() <= logged && std::chrono::steady_clock::now() < deadline) {
        int status;
        if (waitpid(pid, &status, WNOHANG) == pid) break;
        std::this_thread::sleep_for(std::chrono::milliseconds(1));
    }
    std::this_thread::sleep_for(std::chrono::microseconds(std::uniform_int_distribution<int>(500, 60000)(random)));
    kill(pid, SIGKILL);
    int status = 0;
    waitpid(pid, &status, 0);
    if (!WIFSIGNALED(status)) {
        std::ifstream in(err);
        return ::testing::AssertionFailure() << kind << " writer stopped by itself: "
                                             << std::string(std::istreambuf_iterator<char>(in), {});
    }
    return ::testing::AssertionSuccess();
}

struct Tally {
    int kills = 0;
    int countsRecovered = 0;
    int indexesRebuilt = 0;
    uint64_t stepsChecked = 0;
};
Tally tally;

// The address file after a kill, as the program would open it: a record count that
// does not match the file is recovered, an index found half written is rebuilt. The
// index then holds the right keys for every record.
std::unique_ptr<Table> openAfterKill(const TempDir& dir) {
    const QString path = QString::fromStdString(dir.file(crash::kTable));
    std::unique_ptr<Table> t;
    xbase::Status s = Table::open(path.toStdString(), xbase::OpenMode::Exclusive, &t);
    if (!s.ok()) {
        QString message;
        EXPECT_TRUE(AddressFile::RecoverRecordCount(path, &message)) << s.toString() << " / " << message.toStdString();
        ++tally.countsRecovered;
        s = Table::open(path.toStdString(), xbase::OpenMode::Exclusive, &t);
        EXPECT_TRUE(s.ok()) << s.toString();
        if (!s.ok()) return nullptr;
    }
    if (t->indexState() != xbase::IndexState::Ok || !AddressFile::CheckValidIndex(*t)) {
        QString message;
        EXPECT_TRUE(AddressFile::CreateAddressTags(*t, &message)) << message.toStdString();
        ++tally.indexesRebuilt;
    }
    s = t->verifyIndexes();
    EXPECT_TRUE(s.ok()) << s.toString();
    return t;
}

std::string field(const Table& t, const char* name) { return t.getTrimString(t.fieldIndex(name)); }

void makeTable(const TempDir& dir, uint32_t records, bool deleteSome = false) {
    const QString path = QString::fromStdString(dir.file(crash::kTable));
    QString message;
    ASSERT_TRUE(AddressFile::CreateAddressFile(path, FieldLengths(), &message)) << message.toStdString();
    std::unique_ptr<Table> t;
    ASSERT_TRUE(AddressFile::OpenTableFile(path, &t, &message)) << message.toStdString();
    for (uint32_t n = 1; n <= records; ++n) {
        ASSERT_TRUE(t->appendBlank().ok());
        ASSERT_TRUE(t->replace(t->fieldIndex("LNAME"), crash::lname(n)).ok());
        ASSERT_TRUE(t->replace(t->fieldIndex("CITY"), crash::city(n)).ok());
        if (deleteSome && n % 5 == 0) {
            ASSERT_TRUE(t->deleteRecord().ok());
        }
    }
    ASSERT_TRUE(t->close().ok());
}

class KillTest : public ::testing::Test {
  protected:
    static void TearDownTestSuite() {
        std::cout << "kills: " << tally.kills << ", logged steps checked: " << tally.stepsChecked
                  << ", record counts recovered: " << tally.countsRecovered
                  << ", indexes found half written and rebuilt: " << tally.indexesRebuilt
                  << ", records lost: 0 unless a failure is shown above\n";
    }
    TempDir dir_;
    std::mt19937 random_{std::random_device{}()};
};

TEST_F(KillTest, AppendsWithTheTagsOpen) {
    makeTable(dir_, 0);
    for (int k = 0; k < killsPerKind(); ++k) {
        ASSERT_TRUE(runAndKill("append", dir_, random_));
        ++tally.kills;
        auto t = openAfterKill(dir_);
        ASSERT_TRUE(t);
        std::set<uint32_t> logged;
        int runs = 0;
        for (const std::string& line : readLog(dir_)) {
            if (line == "ready") {
                ++runs;
                continue;
            }
            const uint32_t n = uint32_t(std::stoul(line));
            ASSERT_TRUE(t->go(n).ok());
            ASSERT_FALSE(t->eof()) << "record " << n << " of " << t->recCount();
            EXPECT_EQ(field(*t, "LNAME"), crash::lname(n));
            EXPECT_EQ(field(*t, "CITY"), crash::city(n));
            logged.insert(n);
            ++tally.stepsChecked;
        }
        // Besides, each run may have left the one record it was writing when it was
        // killed: blank, or whole but not yet logged.
        uint32_t unlogged = 0;
        for (uint32_t n = 1; n <= t->recCount(); ++n) {
            if (logged.count(n)) continue;
            ++unlogged;
            ASSERT_TRUE(t->go(n).ok());
            const std::string lname = field(*t, "LNAME");
            EXPECT_TRUE(lname.empty() || lname == crash::lname(n)) << "record " << n << ": " << lname;
        }
        EXPECT_LE(unlogged, uint32_t(runs));
    }
}

// Replaces and memo rewrites: every record shows the last logged change of it, or the
// change that was being made when the kill came.
void checkLatest(Table& t, const std::vector<std::string>& log, uint32_t count, uint32_t stride,
                 const std::function<std::string(uint32_t r, uint32_t i)>& value,
                 const std::function<std::string(Table&)>& stored,
                 const std::function<std::string(uint32_t r)>& initial) {
    // The last logged change of each record, and the changes each run was making when
    // it was killed (done or not) since then.
    std::map<uint32_t, std::string> expected;
    std::map<uint32_t, std::set<std::string>> maybe;
    uint32_t next = 0;  // the round the run was at; 0 before the first run
    const auto runEnded = [&] {
        if (!next) return;
        const uint32_t r = 1 + (next * stride) % count;
        maybe[r].insert(value(r, next));
    };
    for (const std::string& line : log) {
        if (line == "ready") {
            runEnded();
            next = 1;
            continue;
        }
        std::istringstream in(line);
        uint32_t r, i;
        in >> r >> i;
        expected[r] = value(r, i);
        maybe[r].clear();
        next = i + 1;
        ++tally.stepsChecked;
    }
    runEnded();
    for (uint32_t r = 1; r <= count; ++r) {
        ASSERT_TRUE(t.go(r).ok());
        const std::string got = stored(t);
        const std::string want = expected.count(r) ? expected[r] : initial(r);
        if (maybe[r].count(got)) continue;
        EXPECT_TRUE(got == want) << "record " << r << ": \"" << got.substr(0, 40) << "\" for \""
                                 << want.substr(0, 40) << "\"";
    }
}

// Replaces one by one ("replace") and held in batches ("batch"): a kill part way
// through a batch finds the index marked and rebuilds it, and every record change made
// before the kill is there.
class KillReplaceTest : public KillTest, public ::testing::WithParamInterface<const char*> {};

TEST_P(KillReplaceTest, ReplacesOfIndexedFields) {
    makeTable(dir_, 300);
    for (int k = 0; k < killsPerKind(); ++k) {
        ASSERT_TRUE(runAndKill(GetParam(), dir_, random_));
        ++tally.kills;
        auto t = openAfterKill(dir_);
        ASSERT_TRUE(t);
        ASSERT_EQ(t->recCount(), 300u);
        checkLatest(*t, readLog(dir_), 300, 7, crash::replacedLname,
                    [](Table& table) { return field(table, "LNAME"); }, crash::lname);
    }
}

INSTANTIATE_TEST_SUITE_P(Kill, KillReplaceTest, ::testing::Values("replace", "batch"));

TEST_F(KillTest, MemosGrowShrinkAndMove) {
    makeTable(dir_, 50);
    for (int k = 0; k < killsPerKind(); ++k) {
        ASSERT_TRUE(runAndKill("memo", dir_, random_));
        ++tally.kills;
        auto t = openAfterKill(dir_);
        ASSERT_TRUE(t);
        ASSERT_EQ(t->recCount(), 50u);
        checkLatest(
            *t, readLog(dir_), 50, 3, [](uint32_t, uint32_t i) { return crash::memoText(i); },
            [](Table& table) {
                std::string memo;
                EXPECT_TRUE(table.getMemo(table.fieldIndex("MEMO"), &memo).ok());
                return memo;
            },
            [](uint32_t) { return std::string(); });
    }
}

// Appends, deletions and packs: every record appended and not deleted is there once;
// a deleted one is there marked or packed away.
TEST_F(KillTest, PacksBetweenAppendsAndDeletions) {
    makeTable(dir_, 0);
    for (int k = 0; k < killsPerKind(); ++k) {
        // Each run numbers its records from a first number of its own.
        ASSERT_TRUE(runAndKill("pack", dir_, random_, std::to_string(uint32_t(k + 1) * 1000000u)));
        ++tally.kills;
        auto t = openAfterKill(dir_);
        ASSERT_TRUE(t);
        // What the log says of every run so far. The step each run was at when it was
        // killed may have been done without being logged: its next record may be there,
        // and its last record may be deleted.
        std::set<uint32_t> live, deleted, inFlight, lastOfRun;
        uint32_t run = 0, next = 0;
        for (const std::string& line : readLog(dir_)) {
            if (line == "ready") {
                if (run) inFlight.insert(next), lastOfRun.insert(next - 1);
                next = ++run * 1000000u;
                continue;
            }
            if (line == "packed") continue;
            const uint32_t n = uint32_t(std::stoul(line.substr(1)));
            if (line[0] == '+') {
                live.insert(n);
                next = n + 1;
            } else {
                live.erase(n);
                deleted.insert(n);
            }
        }
        inFlight.insert(next);
        lastOfRun.insert(next - 1);
        std::map<std::string, uint32_t> byName;
        for (const auto* numbers : {&live, &deleted, &inFlight})
            for (uint32_t n : *numbers) byName[crash::lname(n)] = n;
        std::set<uint32_t> seen;
        for (xbase::Status s = t->goTop(); !t->eof(); s = t->skip(1)) {
            ASSERT_TRUE(s.ok()) << s.toString();
            const std::string lname = field(*t, "LNAME");
            if (lname.empty()) continue;  // a record counted but not yet filled when the kill came
            const auto it = byName.find(lname);
            ASSERT_TRUE(it != byName.end()) << lname << " was never written";
            const uint32_t n = it->second;
            EXPECT_TRUE(seen.insert(n).second) << lname << " twice";
            const bool mayBeDeleted = deleted.count(n) || (lastOfRun.count(n) && n % 3 == 0) ||
                                      (inFlight.count(n) && n % 3 == 0);
            if (!mayBeDeleted) {
                EXPECT_FALSE(t->deleted()) << lname;
            }
        }
        for (uint32_t n : live) {
            // A run killed between deleting its last record and logging it leaves the
            // record deleted, and a later run's pack takes it away.
            if (lastOfRun.count(n) && n % 3 == 0) continue;
            EXPECT_TRUE(seen.count(n)) << crash::lname(n) << " lost";
            ++tally.stepsChecked;
        }
    }
}

// The index rebuild (pack and 26 tags) again and again: the records are all there and
// an index cut off in the middle of its build is found out.
TEST_F(KillTest, IndexRebuilds) {
    makeTable(dir_, 1500, true);
    for (int k = 0; k < killsPerKind(); ++k) {
        ASSERT_TRUE(runAndKill("reindex", dir_, random_));
        ++tally.kills;
        auto t = openAfterKill(dir_);
        ASSERT_TRUE(t);
        std::set<std::string> names;
        for (xbase::Status s = t->goTop(); !t->eof(); s = t->skip(1)) {
            ASSERT_TRUE(s.ok()) << s.toString();
            if (!t->deleted()) {
                EXPECT_TRUE(names.insert(field(*t, "LNAME")).second);
            }
        }
        for (uint32_t n = 1; n <= 1500; ++n) {
            if (n % 5) {
                EXPECT_TRUE(names.count(crash::lname(n))) << crash::lname(n) << " lost";
            }
        }
        EXPECT_EQ(names.size(), 1200u);
        tally.stepsChecked += 1200;
    }
}

// Layout and settings saves: the file is the old version or the new one, whole.
TEST_F(KillTest, LayoutAndSettingsSaves) {
    for (int k = 0; k < killsPerKind(); ++k) {
        ASSERT_TRUE(runAndKill("layout", dir_, random_));
        ++tally.kills;
        const QString path = QString::fromStdString(dir_.file(crash::kLayout));
        if (!QFile::exists(path)) continue;  // killed before the first save
        layout::LayoutFile layout;
        ASSERT_TRUE(layout.Load(path).ok());
        const TGDataPanel& panel = layout.Panel(0);
        ASSERT_TRUE(panel.ObjectCount() == 1 || panel.ObjectCount() == 60) << panel.ObjectCount();
        const QString caption = panel.ObjectCount() == 1 ? "Version A" : "Version B";
        for (int i = 0; i < panel.ObjectCount(); ++i)
            EXPECT_EQ(static_cast<TGBaseLabel*>(panel.Object(i))->Caption(), caption);
        ++tally.stepsChecked;
    }
    for (int k = 0; k < killsPerKind(); ++k) {
        ASSERT_TRUE(runAndKill("ini", dir_, random_));
        ++tally.kills;
        const QString path = QString::fromStdString(dir_.file(crash::kIni));
        if (!QFile::exists(path)) continue;
        const QString value = Settings(path).value(setting::kDefaultCountry);
        EXPECT_TRUE(value == crash::kIniValueA || value == crash::kIniValueB) << value.toStdString();
        ++tally.stepsChecked;
    }
}

}  // namespace
