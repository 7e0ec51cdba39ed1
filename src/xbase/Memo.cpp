#include "Memo.h"

#include <cstring>
#include <vector>

#include "DbfFormat.h"

namespace xbase {

namespace {
constexpr uint32_t kFptHeaderSize = 512;
constexpr uint32_t kDefaultBlockSize = 64;
constexpr uint32_t kTextBlock = 1;
}  // namespace

Status MemoFile::open(FileSystem& fs, const std::string& path, Kind kind, OpenMode mode,
                      std::unique_ptr<MemoFile>* out) {
    std::unique_ptr<File> file;
    Status s = fs.open(path, mode, &file);
    if (!s.ok()) return s;
    std::unique_ptr<MemoFile> memo(new MemoFile(std::move(file), kind));
    s = memo->readHeader();
    if (!s.ok()) return s;
    *out = std::move(memo);
    return Status::OK();
}

Status MemoFile::createFpt(FileSystem& fs, const std::string& path, std::unique_ptr<MemoFile>* out) {
    std::unique_ptr<File> file;
    Status s = fs.createNew(path, &file);
    if (!s.ok()) return s;
    std::unique_ptr<MemoFile> memo(new MemoFile(std::move(file), Kind::Fpt));
    memo->blockSize_ = kDefaultBlockSize;
    memo->nextFree_ = memo->firstDataBlock();
    s = memo->writeHeader();
    if (!s.ok()) return s;
    *out = std::move(memo);
    return Status::OK();
}

Status MemoFile::readHeader() {
    char h[kFptHeaderSize];
    if (file_->size() < 8) {
        damage_ = "Memo file header is damaged (file too small): " + path();
        return Status::OK();
    }
    const size_t n = file_->size() < kFptHeaderSize ? static_cast<size_t>(file_->size()) : kFptHeaderSize;
    std::memset(h, 0, sizeof h);
    Status s = file_->read(0, h, n);
    if (!s.ok()) return s;
    if (kind_ == Kind::Fpt) {
        nextFree_ = dbf::getU32BE(h);
        const uint32_t size = (uint32_t(uint8_t(h[6])) << 8) | uint8_t(h[7]);
        if (size == 0) {
            // No memo can be found in it; the table still opens, and each memo it
            // refers to is reported when read.
            damage_ = "Memo file header is damaged (block size 0): " + path();
            blockSize_ = kDefaultBlockSize;
            return Status::OK();
        }
        blockSize_ = size;
        // Never append over data that a writer with a stale pointer left past it.
        const uint64_t endBlock = (file_->size() + blockSize_ - 1) / blockSize_;
        if (endBlock > nextFree_ && endBlock <= 0xFFFFFFFFu) nextFree_ = static_cast<uint32_t>(endBlock);
    } else {
        nextFree_ = dbf::getU32(h);
        blockSize_ = 512;
        if (kind_ == Kind::Dbt4) {
            uint16_t size = dbf::getU16(h + 20);
            if (size >= 64 && size % 64 == 0) blockSize_ = size;
        }
    }
    return Status::OK();
}

Status MemoFile::writeHeader() {
    char h[kFptHeaderSize];
    std::memset(h, 0, sizeof h);
    dbf::putU32BE(h, nextFree_);
    h[6] = char(blockSize_ >> 8);
    h[7] = char(blockSize_);
    // Only the first 8 bytes carry anything; the rest stays as the file has it,
    // except on a new file, which gets the whole zeroed header.
    return file_->write(0, h, file_->size() >= kFptHeaderSize ? 8 : kFptHeaderSize);
}

Status MemoFile::read(uint32_t block, std::string* out) const {
    out->clear();
    if (block == 0) return Status::OK();
    if (!damage_.empty()) return Status::Corruption(damage_);
    const uint64_t start = uint64_t(block) * blockSize_;
    const uint64_t size = file_->size();
    if (start >= size) {
        return Status::Corruption("Memo block " + std::to_string(block) + " lies past the end of " + path());
    }
    if (block < firstDataBlock()) {
        return Status::Corruption("Memo block " + std::to_string(block) + " lies in the header of " + path());
    }
    if (kind_ == Kind::Fpt) {
        char h[8];
        if (start + 8 > size) return Status::Corruption("Memo block header cut short in " + path());
        Status s = file_->read(start, h, 8);
        if (!s.ok()) return s;
        const uint32_t length = dbf::getU32BE(h + 4);
        if (start + 8 + length > size) {
            return Status::Corruption("Memo at block " + std::to_string(block) + " runs past the end of " + path());
        }
        out->resize(length);
        return length ? file_->read(start + 8, &(*out)[0], length) : Status::OK();
    }
    // dBase: a length-prefixed dBase IV block, or text ended by 0x1A.
    char h[8] = {0};
    const size_t headLen = size - start < 8 ? static_cast<size_t>(size - start) : 8;
    Status s = file_->read(start, h, headLen);
    if (!s.ok()) return s;
    if (headLen == 8 && uint8_t(h[0]) == 0xFF && uint8_t(h[1]) == 0xFF && h[2] == 0x08 && h[3] == 0x00) {
        const uint32_t length = dbf::getU32(h + 4);
        if (length < 8 || start + length > size) {
            return Status::Corruption("Memo at block " + std::to_string(block) + " runs past the end of " + path());
        }
        out->resize(length - 8);
        return length > 8 ? file_->read(start + 8, &(*out)[0], length - 8) : Status::OK();
    }
    std::vector<char> chunk(512);
    uint64_t pos = start;
    while (pos < size) {
        const size_t n = size - pos < chunk.size() ? static_cast<size_t>(size - pos) : chunk.size();
        s = file_->read(pos, chunk.data(), n);
        if (!s.ok()) return s;
        const void* end = std::memchr(chunk.data(), dbf::kEof, n);
        if (end) {
            out->append(chunk.data(), static_cast<const char*>(end) - chunk.data());
            return Status::OK();
        }
        out->append(chunk.data(), n);
        pos += n;
    }
    return Status::OK();  // text ran to the end of the file without a terminator
}

uint32_t MemoFile::blocksUsed(uint32_t block) const {
    const uint64_t start = uint64_t(block) * blockSize_;
    if (block < firstDataBlock() || block >= nextFree_ || start + 8 > file_->size()) return 0;
    char h[8];
    if (!file_->read(start, h, 8).ok()) return 0;
    const uint64_t length = dbf::getU32BE(h + 4);
    const uint64_t blocks = (length + 8 + blockSize_ - 1) / blockSize_;
    if (block + blocks > nextFree_) return 0;  // not a memo we can trust to overwrite
    return static_cast<uint32_t>(blocks);
}

Status MemoFile::write(uint32_t oldBlock, const std::string& text, uint32_t* newBlock) {
    if (kind_ != Kind::Fpt) return Status::NotSupported("dBase memo files are read only: " + path());
    if (!damage_.empty()) return Status::Corruption(damage_);
    if (text.empty()) {
        *newBlock = 0;
        return Status::OK();
    }
    if (nextFree_ < firstDataBlock()) nextFree_ = firstDataBlock();
    const uint64_t needed64 = (uint64_t(text.size()) + 8 + blockSize_ - 1) / blockSize_;
    if (text.size() > 0xFFFFFFF0u || uint64_t(nextFree_) + needed64 > 0xFFFFFFFFu) {
        return Status::InvalidArgument("Memo text too large for " + path());
    }
    const uint32_t needed = static_cast<uint32_t>(needed64);
    const uint32_t oldBlocks = oldBlock ? blocksUsed(oldBlock) : 0;

    uint32_t target;
    bool movesEnd;
    if (oldBlocks >= needed) {
        target = oldBlock;  // fits where it was
        movesEnd = false;
    } else if (oldBlocks > 0 && oldBlock + oldBlocks == nextFree_) {
        target = oldBlock;  // the last memo in the file may simply grow
        movesEnd = true;
    } else {
        target = nextFree_;
        movesEnd = true;
    }

    std::string block(size_t(needed) * blockSize_, '\0');
    dbf::putU32BE(&block[0], kTextBlock);
    dbf::putU32BE(&block[4], static_cast<uint32_t>(text.size()));
    std::memcpy(&block[8], text.data(), text.size());
    const uint64_t start = uint64_t(target) * blockSize_;
    // A memo that grows where it is gets its new blocks first: when they cannot be
    // written (a full disk) the old text is still whole.
    const size_t kept = target == oldBlock && movesEnd ? size_t(oldBlocks) * blockSize_ : 0;
    Status s = file_->write(start + kept, block.data() + kept, block.size() - kept);
    if (s.ok() && kept) s = file_->write(start, block.data(), kept);
    if (!s.ok()) return s;
    if (movesEnd) {
        nextFree_ = target + needed;
        s = writeHeader();
        if (!s.ok()) return s;
    }
    *newBlock = target;
    return Status::OK();
}

Status MemoFile::zap() {
    nextFree_ = firstDataBlock();
    Status s = file_->truncate(kFptHeaderSize);
    if (!s.ok()) return s;
    s = writeHeader();  // a damaged header is made anew with the rest
    if (s.ok()) damage_.clear();
    return s;
}

}  // namespace xbase
