#pragma once

#include <cstddef>
#include <cstdint>
#include <memory>
#include <string>

#include "Status.h"

namespace xbase {

enum class OpenMode {
    Exclusive,       // read and write; an OS lock keeps every other opener out
    ReadOnlyShared,  // read only; other shared readers may open it too, writers may not
};

// A file of the engine: positioned reads and writes plus a read-only mapped view.
// The lock taken at open lasts until the object is destroyed; it is a lock on the
// open file description, so a second open in the same process fails too.
class File {
public:
    // Opens an existing file. A file locked by another opener gives Locked.
    static Status open(const std::string& path, OpenMode mode, std::unique_ptr<File>* out);
    // Creates (or truncates) a file and opens it exclusively.
    static Status create(const std::string& path, std::unique_ptr<File>* out);

    ~File();
    File(const File&) = delete;
    File& operator=(const File&) = delete;

    const std::string& path() const { return path_; }
    uint64_t size() const { return size_; }
    bool writable() const { return writable_; }

    // Reads exactly n bytes; a short read is a Corruption naming the file.
    Status read(uint64_t offset, void* buf, size_t n) const;
    Status write(uint64_t offset, const void* data, size_t n);
    Status truncate(uint64_t size);
    // Moves the file to `path`, replacing what stood there; the lock goes with it.
    Status renameTo(const std::string& path);
    Status sync();

    // Pointer to bytes [offset, offset + n) of the file, or nullptr when the range
    // lies past the end. Valid until the next write, truncate or view call.
    const char* view(uint64_t offset, size_t n);

private:
    File(std::string path, int fd, bool writable, uint64_t size);
    Status remap(uint64_t minLength);
    void unmap();

    std::string path_;
    int fd_ = -1;
    bool writable_ = false;
    uint64_t size_ = 0;
    char* map_ = nullptr;
    uint64_t mapLength_ = 0;
};

// True when `path` names an existing regular file.
bool fileExists(const std::string& path);
// The existing file in the folder of `path` whose name equals the name of `path`
// in any letter case (files come from systems that ignore case), else `path`.
std::string findFileIgnoringCase(const std::string& path);
Status removeFile(const std::string& path);

}  // namespace xbase
