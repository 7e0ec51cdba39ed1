#pragma once

#include <memory>
#include <string>

#include "File.h"
#include "Status.h"

namespace xbase {

// Where the engine's files live. Tables open their table, memo and index files
// through one: real() unless the caller passes another (tests pass one that fails
// writes on demand). A FileSystem must outlive every file and table opened through it.
class FileSystem {
public:
    // The operating system's: pread/pwrite, a read-only shared memory map for views,
    // and flock() locks on the open file description, so that a second open in the
    // same process is kept out as well as one in another process.
    static FileSystem& real();

    virtual ~FileSystem() = default;

    // Opens an existing file. A missing file gives NotFound, one locked by another
    // opener Locked, a folder or device InvalidArgument.
    virtual Status open(const std::string& path, OpenMode mode, std::unique_ptr<File>* out) = 0;
    // Creates (or empties) a file and opens it exclusively.
    virtual Status create(const std::string& path, std::unique_ptr<File>* out) = 0;
    // True when `path` names an existing regular file.
    virtual bool exists(const std::string& path) = 0;
    // The existing file in the folder of `path` whose name equals the name of `path`
    // in any letter case (files come from systems that ignore case), else `path`.
    virtual std::string findIgnoringCase(const std::string& path) = 0;
    // Deletes a file; one that is not there is no error.
    virtual Status remove(const std::string& path) = 0;
};

// The same on the real file system.
bool fileExists(const std::string& path);
std::string findFileIgnoringCase(const std::string& path);
Status removeFile(const std::string& path);

}  // namespace xbase
