#pragma once

#include <cstddef>
#include <cstdint>
#include <string>
#include <utility>

#include "Status.h"

namespace xbase {

enum class OpenMode {
    Exclusive,       // read and write; an OS lock keeps every other opener out
    ReadOnlyShared,  // read only; other shared readers may open it too, writers may not
};

// One open file of the engine, made by a FileSystem: positioned reads and writes plus
// a read-only view of its bytes. A lock taken at open lasts until the object goes.
//
// Record reads go through view(), so it is no virtual call: it checks the range
// against what the implementation has mapped and asks it (extendView) only to map
// more. Implementations keep size_ equal to the file's length after every change.
class File {
public:
    virtual ~File() = default;
    File(const File&) = delete;
    File& operator=(const File&) = delete;

    const std::string& path() const { return path_; }
    uint64_t size() const { return size_; }
    bool writable() const { return writable_; }

    // Reads exactly n bytes; a short read is a Corruption naming the file.
    virtual Status read(uint64_t offset, void* buf, size_t n) const = 0;
    // Writes all n bytes or fails; after a failure any part of them may be written.
    virtual Status write(uint64_t offset, const void* data, size_t n) = 0;
    virtual Status truncate(uint64_t size) = 0;
    // Moves the file to `path`, replacing what stood there; the lock goes with it.
    virtual Status renameTo(const std::string& path) = 0;
    // Returns once the written bytes are on the disk.
    virtual Status sync() = 0;

    // Pointer to bytes [offset, offset + n) of the file, or nullptr when the range
    // lies past the end or cannot be mapped. Valid until the next write, truncate or
    // view call.
    const char* view(uint64_t offset, size_t n) {
        if (offset + n > size_) return nullptr;
        if (n == 0) return "";
        if (offset + n > viewLength_ && !extendView(offset + n)) return nullptr;
        return viewData_ + offset;
    }

protected:
    File(std::string path, bool writable, uint64_t size)
        : path_(std::move(path)), writable_(writable), size_(size) {}

    // Makes viewData_ cover at least the first `length` bytes (never more than
    // size()) and sets viewLength_ to what it covers; false when it cannot.
    virtual bool extendView(uint64_t length) = 0;
    // For a file that forwards to `inner`: takes over its path, size and view.
    void mirror(const File& inner) {
        path_ = inner.path_;
        size_ = inner.size_;
        viewData_ = inner.viewData_;
        viewLength_ = inner.viewLength_;
    }

    std::string path_;
    bool writable_ = false;
    uint64_t size_ = 0;
    const char* viewData_ = nullptr;
    uint64_t viewLength_ = 0;
};

}  // namespace xbase
