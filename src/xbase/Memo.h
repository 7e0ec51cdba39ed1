#pragma once

// Memo files beside a table.
//
// FPT (FoxPro; written by us), all integers BIG-endian:
//   header, 512 bytes:  0  4  next free block (where the next append goes)
//                       6  2  block size in bytes (64 for the tables we create)
//   block at n * size:  0  4  type (1 = text)
//                       4  4  data length, the 8-byte block header not counted
//                       8  n  data; the rest of the last block is padding
//   A memo takes ceil((n + 8) / size) consecutive blocks. Readers must not require
//   the last block to be padded: some writers end the file right after the data.
//
// DBT (dBase; read only), integers little-endian:
//   header, 512 bytes:  0  4  next free block;  dBase IV: 20  2  block size
//   dBase III block:    text ended by 0x1A (normally 0x1A 0x1A), 512-byte blocks
//   dBase IV block:     FF FF 08 00, 4-byte length counting these 8 bytes, text

#include <cstdint>
#include <memory>
#include <string>

#include "File.h"
#include "FileSystem.h"
#include "Status.h"

namespace xbase {

class MemoFile {
public:
    enum class Kind { Fpt, Dbt3, Dbt4 };

    static Status open(FileSystem& fs, const std::string& path, Kind kind, OpenMode mode,
                       std::unique_ptr<MemoFile>* out);
    // A new empty FPT file with 64-byte blocks.
    static Status createFpt(FileSystem& fs, const std::string& path, std::unique_ptr<MemoFile>* out);

    Kind kind() const { return kind_; }
    uint32_t blockSize() const { return blockSize_; }
    uint32_t nextFree() const { return nextFree_; }
    const std::string& path() const { return file_->path(); }

    // Reads the memo that starts at `block`. A block past the end or inside the
    // header, a length that runs past the end of the file, or a header that gives no
    // block size is a Corruption naming the file.
    Status read(uint32_t block, std::string* out) const;

    // Stores `text` for a record whose memo was at `oldBlock` (0 = none) and sets
    // *newBlock (0 for empty text, which writes nothing). The text is rewritten in
    // place when it fits the blocks the old memo held, or when the old memo is the
    // last one in the file; otherwise it is appended. Blocks of other memos are
    // never touched. The data is written before the header's next-free pointer. A file
    // whose header is damaged is not written (Corruption).
    Status write(uint32_t oldBlock, const std::string& text, uint32_t* newBlock);

    // Empties the file: header only, next free = first data block.
    Status zap();

private:
    MemoFile(std::unique_ptr<File> file, Kind kind) : file_(std::move(file)), kind_(kind) {}
    Status readHeader();
    Status writeHeader();
    uint32_t firstDataBlock() const { return (512 + blockSize_ - 1) / blockSize_; }
    // Blocks taken by the memo at `block`, or 0 when there is no readable memo there.
    uint32_t blocksUsed(uint32_t block) const;

    std::unique_ptr<File> file_;
    Kind kind_;
    uint32_t blockSize_ = 64;
    uint32_t nextFree_ = 8;
    std::string damage_;  // why no memo can be read or written; empty when sound
};

}  // namespace xbase
