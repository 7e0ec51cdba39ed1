#pragma once

#include <cerrno>
#include <cstdint>
#include <memory>
#include <string>

#include "FileSystem.h"

namespace xbase {

// A FileSystem for tests that forwards to another one (the real one by default) and
// makes writes fail on demand, as a full disk (ENOSPC) or a failing one (EIO) does,
// so that the engine's handling of failed writes can be tried. Reads, views and
// locks are those of the underlying file system.
//
// Every write() of every file opened through it counts. Failures are set up ahead:
//     FaultInjectionFileSystem fs;
//     Table::open(path, OpenMode::Exclusive, &table, &fs);
//     fs.failNthWrite(1, ENOSPC);   // the next write fails
//     EXPECT_FALSE(table->commit().ok());
//     fs.heal();
class FaultInjectionFileSystem final : public FileSystem {
public:
    explicit FaultInjectionFileSystem(FileSystem& base = FileSystem::real());
    ~FaultInjectionFileSystem() override;

    // Counting from the next write as 1, write `nth` fails with `error` and writes
    // nothing; the writes before it succeed. With `sticky`, every later write, sync,
    // truncate and create fails with the same error too, until heal().
    void failNthWrite(uint64_t nth, int error = EIO, bool sticky = false);
    // Leaves `bytes` of free space. Writes that grow files use it up; the write that
    // would need more stores what fits and fails with ENOSPC, as does every later
    // write that grows a file. Writes inside a file's length still succeed, as they
    // do on a real full disk.
    void setFreeSpace(uint64_t bytes);
    // No more failures; the counts go on.
    void heal();
    // Writes seen so far, failed ones included: run an operation once to count its
    // writes, then fail each of them in turn.
    uint64_t writeCount() const;

    Status open(const std::string& path, OpenMode mode, std::unique_ptr<File>* out) override;
    Status create(const std::string& path, std::unique_ptr<File>* out) override;
    Status createNew(const std::string& path, std::unique_ptr<File>* out) override;
    Status copyPermissions(const std::string& from, const std::string& to) override;
    bool exists(const std::string& path) override;
    std::string findIgnoringCase(const std::string& path) override;
    std::vector<std::string> findAllIgnoringCase(const std::string& path) override;
    Status remove(const std::string& path) override;

    // Shared by the file system and the files it opened, which may outlive it.
    struct Faults;

private:
    FileSystem& base_;
    std::shared_ptr<Faults> faults_;
};

}  // namespace xbase
