// Who may read a table's files, and who holds them: the permissions new and rewritten
// files get, and the lock of an exclusive open as another program meets it.

#include <gtest/gtest.h>
#include <signal.h>
#include <sys/prctl.h>
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>

#include <cstdio>
#include <filesystem>
#include <memory>
#include <set>
#include <string>

#include "FileSystem.h"
#include "Table.h"
#include "TempDir.h"

namespace {

using namespace xbase;

TableSpec memoSpec() {
    TableSpec design;
    design.fields = {{"NAME", 'C', 20}, {"NOTES", 'M', 10}};
    return design;
}

unsigned modeOf(const std::string& path) {
    struct stat st;
    return ::stat(path.c_str(), &st) == 0 ? unsigned(st.st_mode & 07777) : 0u;
}

std::set<std::string> namesIn(const std::string& folder) {
    std::set<std::string> names;
    for (const auto& e : std::filesystem::directory_iterator(folder)) names.insert(e.path().filename().string());
    return names;
}

// A table of three records with an index on NAME, the second record deleted.
void makeIndexedTable(const std::string& path) {
    ASSERT_TRUE(Table::create(path, memoSpec()).ok());
    std::unique_ptr<Table> t;
    ASSERT_TRUE(Table::open(path, OpenMode::Exclusive, &t).ok());
    for (const char* name : {"b", "a", "c"}) {
        ASSERT_TRUE(t->appendBlank().ok());
        ASSERT_TRUE(t->replace(0, name).ok());
        ASSERT_TRUE(t->replace(1, std::string("notes of ") + name).ok());
    }
    ASSERT_TRUE(t->indexTag("NAME", "NAME").ok());
    ASSERT_TRUE(t->go(2).ok());
    ASSERT_TRUE(t->deleteRecord().ok());
    ASSERT_TRUE(t->close().ok());
}

class FileModeTest : public ::testing::Test {
protected:
    void SetUp() override {
        oldMask_ = ::umask(022);
        std::filesystem::create_directory(dir_.file("home"));
        std::filesystem::create_directory(dir_.file("elsewhere"));
        setPrivateFolder(dir_.file("home"));
    }
    void TearDown() override {
        setPrivateFolder({});
        ::umask(oldMask_);
    }

    TempDir dir_;
    mode_t oldMask_ = 0;
};

// The files a table is made of are private in the home, whatever the umask, and get
// the umask's permissions elsewhere; a new index follows its table.
TEST_F(FileModeTest, NewFilesArePrivateInTheHomeAndFollowTheUmaskElsewhere) {
    ::umask(0);
    makeIndexedTable(dir_.file("home/T.DBF"));
    ::umask(022);
    makeIndexedTable(dir_.file("elsewhere/T.DBF"));
    // A folder below the home is the home too; a name that merely begins like it is not.
    std::filesystem::create_directory(dir_.file("home/DATA"));
    std::filesystem::create_directory(dir_.file("home2"));
    makeIndexedTable(dir_.file("home/DATA/T.DBF"));
    makeIndexedTable(dir_.file("home2/T.DBF"));
    for (const char* file : {"T.DBF", "T.FPT", "T.CDX"}) {
        SCOPED_TRACE(file);
        EXPECT_EQ(modeOf(dir_.file("home/") + file), 0600u);
        EXPECT_EQ(modeOf(dir_.file("home/DATA/") + file), 0600u);
        EXPECT_EQ(modeOf(dir_.file("elsewhere/") + file), 0644u);
        EXPECT_EQ(modeOf(dir_.file("home2/") + file), 0644u);
    }
}

// Pack rebuilds the table under a new name and renames it into place: the table keeps
// its own permissions, whatever they are, and nothing else is left in the folder. A
// rebuilt index takes its table's permissions.
TEST_F(FileModeTest, PackAndRebuildKeepTheFilesPermissions) {
    for (const std::string& folder : {dir_.file("home"), dir_.file("elsewhere")}) {
        SCOPED_TRACE(folder);
        const std::string path = folder + "/T.DBF";
        makeIndexedTable(path);
        ASSERT_EQ(::chmod(path.c_str(), 0640), 0);
        const std::set<std::string> before = namesIn(folder);

        std::unique_ptr<Table> t;
        ASSERT_TRUE(Table::open(path, OpenMode::Exclusive, &t).ok());
        ASSERT_TRUE(t->pack().ok());
        EXPECT_EQ(t->recCount(), 2u);
        EXPECT_EQ(modeOf(path), 0640u);
        EXPECT_EQ(namesIn(folder), before);

        ASSERT_TRUE(t->removeStructuralIndex().ok());
        ASSERT_TRUE(t->indexTag("NAME", "NAME").ok());
        EXPECT_EQ(modeOf(folder + "/T.CDX"), 0640u);
        ASSERT_TRUE(t->close().ok());
        EXPECT_EQ(namesIn(folder), before);
    }
}

// The file a pack builds has a name nobody can know beforehand, beside the table; a
// link put where such a file might go is not followed.
TEST_F(FileModeTest, TemporaryFilesHaveUnguessableNames) {
    const std::string table = dir_.file("elsewhere/T.DBF");
    makeIndexedTable(table);
    const std::string victim = dir_.file("victim");
    {
        std::FILE* f = std::fopen(victim.c_str(), "w");
        ASSERT_TRUE(f);
        std::fputs("someone's words", f);
        std::fclose(f);
    }
    std::filesystem::create_symlink(victim, table + ".pack");
    std::unique_ptr<Table> t;
    ASSERT_TRUE(Table::open(table, OpenMode::Exclusive, &t).ok());
    ASSERT_TRUE(t->pack().ok());
    EXPECT_EQ(std::filesystem::file_size(victim), 15u);
    EXPECT_TRUE(std::filesystem::is_symlink(table + ".pack"));

    std::set<std::string> made;
    for (int i = 0; i < 20; ++i) {
        std::unique_ptr<File> file;
        std::string name;
        ASSERT_TRUE(FileSystem::real().createTemp(table, &file, &name).ok());
        EXPECT_EQ(name.rfind(table + ".", 0), 0u) << name;  // beside the file it is for
        EXPECT_TRUE(made.insert(name).second) << name;
    }
}

// ---------------------------------------------------------------------------------
// Locks

// A child process that opens `path` exclusively under the name "lockholder", says so
// on a pipe and waits to be killed.
pid_t startHolder(const std::string& path) {
    int ready[2];
    if (::pipe(ready) != 0) return -1;
    const pid_t pid = ::fork();
    if (pid == 0) {
        ::close(ready[0]);
        ::prctl(PR_SET_NAME, "lockholder", 0, 0, 0);
        std::unique_ptr<Table> t;
        const char ok = Table::open(path, OpenMode::Exclusive, &t).ok() ? 'y' : 'n';
        (void)!::write(ready[1], &ok, 1);
        for (;;) ::pause();
    }
    ::close(ready[1]);
    char ok = 'n';
    if (pid < 0 || ::read(ready[0], &ok, 1) != 1 || ok != 'y') {
        if (pid > 0) ::kill(pid, SIGKILL), ::waitpid(pid, nullptr, 0);
        ::close(ready[0]);
        return -1;
    }
    ::close(ready[0]);
    return pid;
}

// A file another program holds is refused with the words callers look for, followed by
// the holder's process number and name; once that program is killed (it never closed
// the file), its lock is gone and the file opens.
TEST(LockTest, TheRefusalNamesTheHolderAndACrashedHolderLeavesNoLock) {
    TempDir dir;
    const std::string path = dir.file("T.DBF");
    ASSERT_TRUE(Table::create(path, memoSpec()).ok());
    const pid_t holder = startHolder(path);
    ASSERT_GT(holder, 0);

    for (OpenMode mode : {OpenMode::Exclusive, OpenMode::ReadOnlyShared}) {
        std::unique_ptr<Table> t;
        const Status s = Table::open(path, mode, &t);
        EXPECT_TRUE(s.isLocked()) << s.toString();
        EXPECT_EQ(s.message(), "File may be in use: " + path + " (held by process " + std::to_string(holder) +
                                   ", lockholder)");
    }

    ASSERT_EQ(::kill(holder, SIGKILL), 0);
    int status = 0;
    ASSERT_EQ(::waitpid(holder, &status, 0), holder);
    EXPECT_TRUE(WIFSIGNALED(status));
    std::unique_ptr<Table> t;
    const Status s = Table::open(path, OpenMode::Exclusive, &t);
    EXPECT_TRUE(s.ok()) << s.toString();
}

// In the same process the refusal names this program.
TEST(LockTest, ASecondOpenInTheSameProcessNamesItself) {
    TempDir dir;
    const std::string path = dir.file("T.DBF");
    ASSERT_TRUE(Table::create(path, memoSpec()).ok());
    std::unique_ptr<Table> first, second;
    ASSERT_TRUE(Table::open(path, OpenMode::Exclusive, &first).ok());
    const Status s = Table::open(path, OpenMode::Exclusive, &second);
    EXPECT_EQ(s.message().rfind("File may be in use: " + path + " (held by process " + std::to_string(::getpid()), 0),
              0u)
        << s.message();
}

}  // namespace
