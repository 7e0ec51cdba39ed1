#include "FaultInjectionFileSystem.h"

#include <cstring>
#include <limits>

namespace xbase {

struct FaultInjectionFileSystem::Faults {
    uint64_t writes = 0;
    uint64_t failAt = 0;  // the write that fails; 0 for none
    int error = 0;
    bool sticky = false;
    bool failing = false;  // a sticky failure has happened
    uint64_t freeSpace = std::numeric_limits<uint64_t>::max();

    Status failure(const char* what, const std::string& path) const {
        return Status::IOError(std::string(what) + " " + path + ": " + std::strerror(error));
    }
};

namespace {

using Faults = FaultInjectionFileSystem::Faults;

// A file of the underlying file system whose writes consult the shared faults.
class FaultInjectionFile final : public File {
public:
    FaultInjectionFile(std::unique_ptr<File> inner, std::shared_ptr<Faults> faults)
        : File(inner->path(), inner->writable(), inner->size()),
          inner_(std::move(inner)),
          faults_(std::move(faults)) {
        mirror(*inner_);
    }

    Status read(uint64_t offset, void* buf, size_t n) const override { return inner_->read(offset, buf, n); }

    Status write(uint64_t offset, const void* data, size_t n) override {
        Faults& f = *faults_;
        ++f.writes;
        if (f.failing || f.writes == f.failAt) {
            f.failing = f.sticky;
            return f.failure("Cannot write", path_);
        }
        const uint64_t end = offset + n;
        const uint64_t growth = end > size_ ? end - size_ : 0;
        if (growth > f.freeSpace) {
            // Store what fits, then report the disk full.
            const uint64_t limit = size_ + f.freeSpace;
            f.freeSpace = 0;
            if (limit > offset) {
                Status s = inner_->write(offset, data, size_t(limit - offset));
                mirror(*inner_);
                if (!s.ok()) return s;
            }
            return Status::IOError("Cannot write " + path_ + ": " + std::strerror(ENOSPC));
        }
        f.freeSpace -= growth;
        Status s = inner_->write(offset, data, n);
        mirror(*inner_);
        return s;
    }

    Status truncate(uint64_t size) override {
        if (faults_->failing) return faults_->failure("Cannot truncate", path_);
        Status s = inner_->truncate(size);
        mirror(*inner_);
        return s;
    }

    Status renameTo(const std::string& path) override {
        Status s = inner_->renameTo(path);
        mirror(*inner_);
        return s;
    }

    Status sync() override {
        if (faults_->failing) return faults_->failure("Cannot flush", path_);
        return inner_->sync();
    }

protected:
    bool extendView(uint64_t length) override {
        const bool ok = inner_->view(0, size_t(length)) != nullptr;
        mirror(*inner_);
        return ok;
    }

private:
    std::unique_ptr<File> inner_;
    std::shared_ptr<Faults> faults_;
};

}  // namespace

FaultInjectionFileSystem::FaultInjectionFileSystem(FileSystem& base)
    : base_(base), faults_(std::make_shared<Faults>()) {}

FaultInjectionFileSystem::~FaultInjectionFileSystem() = default;

void FaultInjectionFileSystem::failNthWrite(uint64_t nth, int error, bool sticky) {
    faults_->failAt = nth ? faults_->writes + nth : 0;
    faults_->error = error;
    faults_->sticky = sticky;
    faults_->failing = false;
}

void FaultInjectionFileSystem::setFreeSpace(uint64_t bytes) { faults_->freeSpace = bytes; }

void FaultInjectionFileSystem::heal() {
    faults_->failAt = 0;
    faults_->failing = false;
    faults_->freeSpace = std::numeric_limits<uint64_t>::max();
}

uint64_t FaultInjectionFileSystem::writeCount() const { return faults_->writes; }

Status FaultInjectionFileSystem::open(const std::string& path, OpenMode mode, std::unique_ptr<File>* out) {
    std::unique_ptr<File> inner;
    Status s = base_.open(path, mode, &inner);
    if (!s.ok()) return s;
    out->reset(new FaultInjectionFile(std::move(inner), faults_));
    return Status::OK();
}

Status FaultInjectionFileSystem::create(const std::string& path, std::unique_ptr<File>* out) {
    if (faults_->failing) return faults_->failure("Cannot create", path);
    std::unique_ptr<File> inner;
    Status s = base_.create(path, &inner);
    if (!s.ok()) return s;
    out->reset(new FaultInjectionFile(std::move(inner), faults_));
    return Status::OK();
}

Status FaultInjectionFileSystem::createNew(const std::string& path, std::unique_ptr<File>* out) {
    if (faults_->failing) return faults_->failure("Cannot create", path);
    std::unique_ptr<File> inner;
    Status s = base_.createNew(path, &inner);
    if (!s.ok()) return s;
    out->reset(new FaultInjectionFile(std::move(inner), faults_));
    return Status::OK();
}

Status FaultInjectionFileSystem::copyPermissions(const std::string& from, const std::string& to) {
    return base_.copyPermissions(from, to);
}

bool FaultInjectionFileSystem::exists(const std::string& path) { return base_.exists(path); }

std::string FaultInjectionFileSystem::findIgnoringCase(const std::string& path) {
    return base_.findIgnoringCase(path);
}

std::vector<std::string> FaultInjectionFileSystem::findAllIgnoringCase(const std::string& path) {
    return base_.findAllIgnoringCase(path);
}

Status FaultInjectionFileSystem::remove(const std::string& path) { return base_.remove(path); }

}  // namespace xbase
