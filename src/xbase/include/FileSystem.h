#pragma once

#include <memory>
#include <string>
#include <vector>

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

    // Opens an existing regular file. A missing file gives NotFound, one locked by
    // another opener Locked, anything but a regular file (a folder, a device, a pipe)
    // InvalidArgument, without waiting for it.
    virtual Status open(const std::string& path, OpenMode mode, std::unique_ptr<File>* out) = 0;
    // Creates (or empties) a file and opens it exclusively. A file that another opener
    // holds is Locked and left as it is; anything but a regular file is refused.
    virtual Status create(const std::string& path, std::unique_ptr<File>* out) = 0;
    // Creates a file that must not exist yet (in this letter case) and opens it
    // exclusively; when something stands at `path` it is left alone and the result is
    // InvalidArgument.
    virtual Status createNew(const std::string& path, std::unique_ptr<File>* out) = 0;
    // True when `path` names an existing regular file.
    virtual bool exists(const std::string& path) = 0;
    // The existing file in the folder of `path` whose name equals the name of `path`
    // in any letter case (files come from systems that ignore case), else `path`.
    virtual std::string findIgnoringCase(const std::string& path) = 0;
    // Every existing regular file in the folder of `path` whose name equals the name
    // of `path` in any letter case, `path` itself first when it exists.
    virtual std::vector<std::string> findAllIgnoringCase(const std::string& path) = 0;
    // Deletes a file; one that is not there is no error.
    virtual Status remove(const std::string& path) = 0;
};

// The same on the real file system.
bool fileExists(const std::string& path);
std::string findFileIgnoringCase(const std::string& path);
Status removeFile(const std::string& path);

}  // namespace xbase
