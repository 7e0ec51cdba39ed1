// The operating system's file system: the FileSystem every table uses unless it is
// given another.

#include <dirent.h>
#include <fcntl.h>
#include <strings.h>
#include <sys/file.h>
#include <sys/mman.h>
#include <sys/stat.h>
#include <sys/sysmacros.h>
#include <unistd.h>

#include <algorithm>
#include <cerrno>
#include <cstdio>
#include <cstring>
#include <cstdlib>
#include <fstream>
#include <mutex>
#include <random>
#include <sstream>
#include <vector>

#include "FileSystem.h"

namespace xbase {

namespace {

Status errnoStatus(const std::string& what, const std::string& path) {
    return Status::IOError(what + " " + path + ": " + std::strerror(errno));
}

// The private folder as the system resolves it (no links, no "..").
std::mutex privateMutex;
std::string privateFolder;

std::string resolved(const std::string& path) {
    char* real = ::realpath(path.c_str(), nullptr);
    if (!real) return {};
    std::string out = real;
    std::free(real);
    return out;
}

// The permissions a new file at `path` is made with (the umask applies to them).
mode_t newFileMode(const std::string& path) { return inPrivateFolder(path) ? 0600 : 0666; }

class PosixFile final : public File {
public:
    PosixFile(std::string path, int fd, bool writable, uint64_t size)
        : File(std::move(path), writable, size), fd_(fd) {}

    ~PosixFile() override {
        unmap();
        if (fd_ >= 0) ::close(fd_);  // closing the descriptor releases the lock
    }

    Status read(uint64_t offset, void* buf, size_t n) const override {
        size_t done = 0;
        while (done < n) {
            ssize_t r =
                ::pread(fd_, static_cast<char*>(buf) + done, n - done, static_cast<off_t>(offset + done));
            if (r < 0) {
                if (errno == EINTR) continue;
                return errnoStatus("Cannot read", path_);
            }
            if (r == 0) return Status::Corruption("Unexpected end of file in " + path_);
            done += static_cast<size_t>(r);
        }
        return Status::OK();
    }

    Status write(uint64_t offset, const void* data, size_t n) override {
        if (!writable_) return Status::InvalidArgument("File is open read-only: " + path_);
        size_t done = 0;
        Status s;
        while (done < n) {
            ssize_t r = ::pwrite(fd_, static_cast<const char*>(data) + done, n - done,
                                 static_cast<off_t>(offset + done));
            if (r < 0) {
                if (errno == EINTR) continue;
                s = errnoStatus("Cannot write", path_);
                break;
            }
            done += static_cast<size_t>(r);
        }
        // What did get written counts, so that size() stays the file's length.
        if (offset + done > size_) size_ = offset + done;
        return s;
    }

    Status truncate(uint64_t size) override {
        if (!writable_) return Status::InvalidArgument("File is open read-only: " + path_);
        if (size < viewLength_) unmap();  // pages past the new end must not stay mapped
        if (::ftruncate(fd_, static_cast<off_t>(size)) != 0) return errnoStatus("Cannot truncate", path_);
        size_ = size;
        return Status::OK();
    }

    Status renameTo(const std::string& path) override {
        if (::rename(path_.c_str(), path.c_str()) != 0) return errnoStatus("Cannot rename", path_);
        path_ = path;
        return Status::OK();
    }

    Status sync() override {
        if (writable_ && ::fdatasync(fd_) != 0) return errnoStatus("Cannot flush", path_);
        return Status::OK();
    }

protected:
    bool extendView(uint64_t length) override {
        unmap();
        // Map a little past the end so that a growing file is not remapped on every
        // append; only bytes below size_ are ever handed out.
        const uint64_t mapped = length + length / 4 + (1u << 20);
        void* p = ::mmap(nullptr, mapped, PROT_READ, MAP_SHARED, fd_, 0);
        if (p == MAP_FAILED) return false;
        ::madvise(p, mapped, MADV_WILLNEED);
        map_ = static_cast<char*>(p);
        viewData_ = map_;
        viewLength_ = mapped;
        return true;
    }

private:
    void unmap() {
        if (map_) ::munmap(map_, viewLength_);
        map_ = nullptr;
        viewData_ = nullptr;
        viewLength_ = 0;
    }

    int fd_ = -1;
    char* map_ = nullptr;
};

// Stats `path` without opening it: true when it is a regular file. A FIFO, a device
// or a folder is refused before open() could wait on it or act on it.
Status checkRegular(const std::string& path, bool* exists) {
    struct stat st;
    if (::stat(path.c_str(), &st) != 0) {
        *exists = false;
        if (errno == ENOENT || errno == ENOTDIR) return Status::OK();
        return errnoStatus("Cannot open", path);
    }
    *exists = true;
    if (!S_ISREG(st.st_mode)) return Status::InvalidArgument("Not a regular file: " + path);
    return Status::OK();
}

// Who holds the lock on the file `st` describes, as " (held by process 1234, name)",
// from the kernel's table of locks (/proc/locks: one line per lock, "1: FLOCK ADVISORY
// WRITE <pid> <major>:<minor>:<inode> 0 EOF", the device numbers in hex; waiters are
// marked "->"). Empty when the system does not tell.
std::string lockHolders(const struct stat& st) {
    std::ifstream locks("/proc/locks");
    std::string line;
    std::vector<long> pids;
    while (std::getline(locks, line) && pids.size() < 3) {
        std::istringstream in(line);
        std::string number, kind, advisory, access, file;
        long pid = 0;
        if (!(in >> number >> kind) || kind == "->" || kind != "FLOCK") continue;
        if (!(in >> advisory >> access >> pid >> file)) continue;
        unsigned major = 0, minor = 0;
        unsigned long long inode = 0;
        if (std::sscanf(file.c_str(), "%x:%x:%llu", &major, &minor, &inode) != 3) continue;
        if (major != ::major(st.st_dev) || minor != ::minor(st.st_dev) || inode != st.st_ino || pid <= 0) continue;
        if (std::find(pids.begin(), pids.end(), pid) == pids.end()) pids.push_back(pid);
    }
    std::string out;
    for (long pid : pids) {
        std::ifstream comm("/proc/" + std::to_string(pid) + "/comm");
        std::string name;
        std::getline(comm, name);
        out += (out.empty() ? " (held by process " : "; process ") + std::to_string(pid);
        if (!name.empty()) out += ", " + name;
    }
    return out.empty() ? out : out + ")";
}

// Checks what an open descriptor refers to (the name may have changed since it was
// looked at), locks it and turns blocking back on. Closes it on failure.
Status settle(int fd, const std::string& path, bool exclusive, uint64_t* size) {
    struct stat st;
    Status s;
    if (::fstat(fd, &st) != 0) {
        s = errnoStatus("Cannot read", path);
    } else if (!S_ISREG(st.st_mode)) {
        s = Status::InvalidArgument("Not a regular file: " + path);
    } else if (::flock(fd, (exclusive ? LOCK_EX : LOCK_SH) | LOCK_NB) != 0) {
        const int err = errno;
        if (err == EWOULDBLOCK) {
            s = Status::Locked("File may be in use: " + path + lockHolders(st));
        } else {
            errno = err;
            s = errnoStatus("Cannot lock", path);
        }
    } else {
        const int flags = ::fcntl(fd, F_GETFL);
        if (flags != -1) (void)::fcntl(fd, F_SETFL, flags & ~O_NONBLOCK);
        *size = static_cast<uint64_t>(st.st_size);
        return Status::OK();
    }
    ::close(fd);
    return s;
}

class PosixFileSystem final : public FileSystem {
public:
    Status open(const std::string& path, OpenMode mode, std::unique_ptr<File>* out) override {
        const bool writable = mode == OpenMode::Exclusive;
        bool present = false;
        Status s = checkRegular(path, &present);
        if (!s.ok()) return s;
        if (!present) return Status::NotFound("File not found: " + path);
        // Non-blocking, so that a pipe put in the file's place meanwhile cannot hold
        // the open; settle() refuses it.
        const int fd = ::open(path.c_str(), (writable ? O_RDWR : O_RDONLY) | O_CLOEXEC | O_NONBLOCK | O_NOCTTY);
        if (fd < 0) {
            if (errno == ENOENT) return Status::NotFound("File not found: " + path);
            return errnoStatus("Cannot open", path);
        }
        uint64_t size = 0;
        s = settle(fd, path, writable, &size);
        if (!s.ok()) return s;
        out->reset(new PosixFile(path, fd, writable, size));
        return Status::OK();
    }

    Status create(const std::string& path, std::unique_ptr<File>* out) override {
        bool present = false;
        Status s = checkRegular(path, &present);
        if (!s.ok()) return s;
        const int fd = ::open(path.c_str(), O_RDWR | O_CREAT | O_CLOEXEC | O_NONBLOCK | O_NOCTTY,
                              newFileMode(path));
        if (fd < 0) return errnoStatus("Cannot create", path);
        uint64_t size = 0;
        s = settle(fd, path, true, &size);
        if (!s.ok()) return s;
        // Emptied only once locked: a file another opener holds keeps its bytes.
        if (::ftruncate(fd, 0) != 0) {
            s = errnoStatus("Cannot create", path);
            ::close(fd);
            return s;
        }
        out->reset(new PosixFile(path, fd, true, 0));
        return Status::OK();
    }

    Status createNew(const std::string& path, std::unique_ptr<File>* out) override {
        const int fd = ::open(path.c_str(), O_RDWR | O_CREAT | O_EXCL | O_CLOEXEC | O_NOCTTY, newFileMode(path));
        if (fd < 0) {
            if (errno == EEXIST) return Status::InvalidArgument("A file of that name is in the way: " + path);
            return errnoStatus("Cannot create", path);
        }
        uint64_t size = 0;
        Status s = settle(fd, path, true, &size);
        if (!s.ok()) return s;
        out->reset(new PosixFile(path, fd, true, 0));
        return Status::OK();
    }

    Status copyPermissions(const std::string& from, const std::string& to) override {
        struct stat st;
        if (::stat(from.c_str(), &st) != 0) return errnoStatus("Cannot read", from);
        if (::chmod(to.c_str(), st.st_mode & 07777) != 0) return errnoStatus("Cannot set the permissions of", to);
        return Status::OK();
    }

    bool exists(const std::string& path) override {
        struct stat st;
        return ::stat(path.c_str(), &st) == 0 && S_ISREG(st.st_mode);
    }

    std::string findIgnoringCase(const std::string& path) override {
        if (exists(path)) return path;
        const std::vector<std::string> all = findAllIgnoringCase(path);
        return all.empty() ? path : all.front();
    }

    std::vector<std::string> findAllIgnoringCase(const std::string& path) override {
        std::vector<std::string> found;
        if (exists(path)) found.push_back(path);
        const size_t slash = path.rfind('/');
        const std::string dir = slash == std::string::npos ? "." : (slash == 0 ? "/" : path.substr(0, slash));
        const std::string name = slash == std::string::npos ? path : path.substr(slash + 1);
        const std::string prefix = slash == std::string::npos ? std::string() : path.substr(0, slash + 1);
        DIR* d = ::opendir(dir.c_str());
        if (!d) return found;
        while (dirent* e = ::readdir(d)) {
            if (::strcasecmp(e->d_name, name.c_str()) != 0 || name == e->d_name) continue;
            const std::string other = prefix + e->d_name;
            if (exists(other)) found.push_back(other);
        }
        ::closedir(d);
        return found;
    }

    Status remove(const std::string& path) override {
        if (::unlink(path.c_str()) != 0 && errno != ENOENT) return errnoStatus("Cannot delete", path);
        return Status::OK();
    }
};

}  // namespace

Status FileSystem::createTemp(const std::string& beside, std::unique_ptr<File>* out, std::string* made) {
    static const char letters[] = "ABCDEFGHIJKLMNOPQRSTUVWXYZabcdefghijklmnopqrstuvwxyz0123456789";
    static std::mutex mutex;
    static std::mt19937_64 random{std::random_device{}() ^ uint64_t(::getpid()) << 32};
    Status s;
    for (int attempt = 0; attempt < 100; ++attempt) {
        std::string name = beside + ".";
        {
            std::lock_guard<std::mutex> lock(mutex);
            for (int i = 0; i < 8; ++i) name += letters[random() % (sizeof letters - 1)];
        }
        s = createNew(name, out);
        if (s.isInvalidArgument()) continue;  // taken: another name
        if (!s.ok()) return s;
        // Best effort: some file systems (those of other systems) have no permissions to set.
        if (exists(beside)) (void)copyPermissions(beside, name);
        *made = name;
        return Status::OK();
    }
    return s;
}

void setPrivateFolder(const std::string& folder) {
    std::string real = folder.empty() ? std::string() : resolved(folder);
    std::lock_guard<std::mutex> lock(privateMutex);
    privateFolder = real.empty() ? folder : real;
}

bool inPrivateFolder(const std::string& path) {
    std::string folder;
    {
        std::lock_guard<std::mutex> lock(privateMutex);
        folder = privateFolder;
    }
    if (folder.empty()) return false;
    const size_t slash = path.rfind('/');
    const std::string dir = slash == std::string::npos ? "." : (slash == 0 ? "/" : path.substr(0, slash));
    const std::string real = resolved(dir);
    if (real.empty()) return false;
    return real == folder || (real.size() > folder.size() && real.compare(0, folder.size(), folder) == 0 &&
                              (folder.back() == '/' || real[folder.size()] == '/'));
}

NewFileMode::NewFileMode(std::string path) : path_(std::move(path)) {
    struct stat st;
    existed_ = ::lstat(path_.c_str(), &st) == 0;
}

void NewFileMode::written() const {
    if (!existed_ && inPrivateFolder(path_)) (void)::chmod(path_.c_str(), 0600);
}

FileSystem& FileSystem::real() {
    static PosixFileSystem fs;
    return fs;
}

bool fileExists(const std::string& path) { return FileSystem::real().exists(path); }

std::string findFileIgnoringCase(const std::string& path) {
    return FileSystem::real().findIgnoringCase(path);
}

Status removeFile(const std::string& path) { return FileSystem::real().remove(path); }

}  // namespace xbase
