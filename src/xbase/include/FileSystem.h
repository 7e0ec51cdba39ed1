#pragma once

#include <memory>
#include <string>
#include <vector>

#include "File.h"
#include "Status.h"

namespace xbase {

// Permissions of new files: what a FileSystem makes under the private folder (the
// program's home, where address files are personal data) is readable and writable by
// its owner only (0600); elsewhere a new file gets what the umask leaves of 0666. An
// existing file keeps its permissions when it is written or emptied, and a file made
// to replace another (createTemp) takes the other's.

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
    // Creates a file of a new name nobody can guess, in the folder of `beside` and
    // named after it, for a file that is to replace `beside` by renaming: random names
    // are tried with createNew() until one is free, as mkstemp does. It gets the
    // permissions of `beside` where that exists and the file system keeps them. *made
    // gets its name.
    Status createTemp(const std::string& beside, std::unique_ptr<File>* out, std::string* made);
    // Gives the file at `to` the permissions of the file at `from`.
    virtual Status copyPermissions(const std::string& from, const std::string& to) = 0;
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

// Sets the private folder (empty: none). Files made in it or below it, through the
// real file system or by other writers that use NewFileMode, are 0600.
void setPrivateFolder(const std::string& folder);
// Whether `path` (whose folder must exist) lies in the private folder.
bool inPrivateFolder(const std::string& path);

// For files written by other means than a FileSystem (settings, layouts, letters):
// made before the write, it notes whether the file exists; written() afterwards makes
// a file that is new and lies in the private folder readable by its owner only. A file
// that existed keeps its permissions.
class NewFileMode {
public:
    explicit NewFileMode(std::string path);
    void written() const;

private:
    std::string path_;
    bool existed_;
};

// The same on the real file system.
bool fileExists(const std::string& path);
std::string findFileIgnoringCase(const std::string& path);
Status removeFile(const std::string& path);

}  // namespace xbase
