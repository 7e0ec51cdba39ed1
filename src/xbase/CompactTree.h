#pragma once

#include <array>
#include <cstdint>
#include <map>
#include <memory>
#include <string>
#include <string_view>
#include <unordered_map>
#include <vector>

#include "File.h"
#include "Status.h"

namespace xbase {

// The pages of one index file: reading, writing and allocating 512-byte pages.
// Freed pages are chained from the free-list field of the header at `freeListHeader`.
//
// Every read and write of the file's pages and headers goes through here, so that a
// batch can hold them: between beginBatch() and flush() the pages written are kept in
// memory (reads see them) and reach the file once, in file order and in long runs, at
// flush() or when they grow past a limit. A flush writes exactly the bytes the writes
// one by one would have left. The open-for-write mark is no page change: it goes
// through writeThrough(), at once, since it must be on the disk before any page is.
class PageStore {
public:
    PageStore(File* file, uint32_t freeListHeader) : file_(file), freeListHeader_(freeListHeader) {}

    File* file() const { return file_; }
    const std::string& path() const { return file_->path(); }
    // The file's length with the pages a batch holds.
    uint64_t size() const { return pendingEnd_ > file_->size() ? pendingEnd_ : file_->size(); }
    Status read(uint32_t offset, char* page) const;
    Status write(uint32_t offset, const char* page);
    // Any bytes of the file (header fields), through the batch like pages.
    Status readAt(uint64_t offset, void* buf, size_t n) const;
    Status writeAt(uint64_t offset, const void* data, size_t n);
    // Straight to the file, and into the batch's copy of that page when it holds one.
    Status writeThrough(uint64_t offset, const void* data, size_t n);
    // A page from the free list, else a new one at the end of the file.
    Status allocate(uint32_t* offset);
    // `count` contiguous new pages at the end of the file (tag headers).
    Status allocateAtEnd(uint32_t count, uint32_t* offset);
    Status release(uint32_t offset);

    // Holds the pages written from now on; batches nest.
    void beginBatch() { ++batchDepth_; }
    // Leaves one level of batching; the outermost writes what is held.
    Status endBatch();
    bool batching() const { return batchDepth_ > 0; }
    // Writes the pages held so far; the batch goes on. A failure marks the store damaged.
    Status flush();

    // Set once a change to a tree of the file has failed part way: its pages on disk
    // may then disagree with one another, and the file must not be taken as sound
    // again until it is made anew.
    void markDamaged() { damaged_ = true; }
    bool damaged() const { return damaged_; }

private:
    using Page = std::array<char, 512>;
    // The batch's copy of the page at `offset`, made from the file's bytes (zeros past
    // its end) when there is none yet.
    Status pendingPage(uint32_t offset, Page** out);

    File* file_;
    uint32_t freeListHeader_;
    bool damaged_ = false;
    int batchDepth_ = 0;
    std::map<uint32_t, std::unique_ptr<Page>> pending_;
    uint64_t pendingEnd_ = 0;  // end of the highest page held
};

// One entry of an index: a key of the tree's key length and its record number.
struct IndexEntry {
    std::string key;
    uint32_t recNo = 0;
};

// One compact B-tree of an index file (a CDX tag, the CDX directory or an IDX file),
// described by the 1024-byte header at `headerOffset`. Nodes read are kept decoded;
// every change is written through at once. A change that fails (create, describe,
// build, insert, remove) marks the page store damaged and drops the decoded nodes, so
// that what is read afterwards is what the file holds.
class CompactTree {
public:
    // Where a cursor stands: a leaf page and an entry in it.
    struct Position {
        uint32_t leaf = 0;
        int index = -1;
        bool valid() const { return index >= 0; }
    };

    CompactTree(PageStore* store, uint32_t headerOffset) : store_(store), headerOffset_(headerOffset) {}

    // Writes a header and an empty root leaf for a new tree.
    static Status create(PageStore* store, uint32_t headerOffset, int keyLength, uint8_t options,
                         const std::string& keyExpr, const std::string& forExpr, char padByte);
    // Reads the header.
    Status load(char padByte);
    // Rewrites the header's description of the keys (length, options, expressions);
    // the tree itself is left as it is.
    Status describe(int keyLength, uint8_t options, const std::string& keyExpr, const std::string& forExpr);
    // InvalidArgument when a header cannot describe such keys: a length of 1 to 240,
    // expressions that fit the header. Checked before anything is written.
    static Status checkDescription(int keyLength, const std::string& keyExpr, const std::string& forExpr);

    uint32_t headerOffset() const { return headerOffset_; }
    int keyLength() const { return keyLength_; }
    uint8_t options() const { return options_; }
    bool descending() const { return descending_; }
    const std::string& keyExpression() const { return keyExpr_; }
    // Grows with every change to the tree: a Position taken before is stale after.
    uint64_t generation() const { return generation_; }
    const std::string& forExpression() const { return forExpr_; }

    // Replaces the whole content with `entries`, which must be sorted by (key, record).
    // The old nodes go to the free list. `keyLength` may differ from the old one.
    Status build(const std::vector<IndexEntry>& entries, int keyLength);
    // Same, from keys stored back to back in `keys` (n * keyLength bytes) in the order
    // given by `order`, with their record numbers in `recNos`.
    Status build(const std::string& keys, const std::vector<uint32_t>& recNos, const std::vector<uint32_t>& order,
                 int keyLength) {
        return checked(buildFrom(keys, recNos, order, keyLength));
    }
    Status insert(std::string_view key, uint32_t recNo) { return checked(insertEntry(key, recNo)); }
    // NotFound when the entry is not in the tree (and nothing changed).
    Status remove(std::string_view key, uint32_t recNo) { return checked(removeEntry(key, recNo)); }

    Status first(Position* pos);
    Status last(Position* pos);
    // Steps to the next / previous entry; an invalid position past either end.
    Status next(Position* pos);
    Status prev(Position* pos);
    // The first entry not less than `key` (compared over key.size() bytes; when that is
    // the whole key length, equal keys are ordered by record and `recNo` counts).
    Status lowerBound(std::string_view key, uint32_t recNo, Position* pos);
    // The entry at a valid position.
    const std::string& keyAt(const Position& pos);
    uint32_t recNoAt(const Position& pos);

    // Checks the structure: order, parent keys, sibling links. For tests and repair.
    Status verify(uint64_t* entryCount);

private:
    struct Node {
        uint16_t attr = 0;
        uint32_t left = 0xFFFFFFFFu;
        uint32_t right = 0xFFFFFFFFu;
        std::vector<std::string> keys;
        std::vector<uint32_t> recNos;
        std::vector<uint32_t> children;  // interior nodes only
        bool leaf() const { return (attr & 0x02) != 0; }
        bool root() const { return (attr & 0x01) != 0; }
    };
    struct PathStep {
        uint32_t offset;
        size_t index;
    };

    // `s`, after marking the store damaged when it is a failure of a change.
    Status checked(Status s);
    Status describeKeys(int keyLength, uint8_t options, const std::string& keyExpr, const std::string& forExpr);
    Status buildFrom(const std::string& keys, const std::vector<uint32_t>& recNos, const std::vector<uint32_t>& order,
                     int keyLength);
    Status buildPages(const std::string& keys, const std::vector<uint32_t>& recNos,
                      const std::vector<uint32_t>& order, int keyLength);
    Status insertEntry(std::string_view key, uint32_t recNo);
    Status removeEntry(std::string_view key, uint32_t recNo);
    Status node(uint32_t offset, Node** out);
    Status decode(uint32_t offset, const char* page, Node* n) const;
    // Encodes a node; false when a leaf's entries do not fit one page.
    bool encode(const Node& n, char* page) const;
    Status store(uint32_t offset, const Node& n);
    Status writeRoot(uint32_t root);
    Status freeSubtree(uint32_t offset);
    // The first (dir +1) or last (dir -1) entry; one entry on in that direction.
    Status edge(int dir, Position* pos);
    Status step(int dir, Position* pos);
    size_t interiorCapacity() const { return (512 - 12) / size_t(keyLength_ + 8); }
    int compare(const std::string& key, uint32_t recNo, std::string_view search, uint32_t searchRec) const;
    Status descend(std::string_view key, uint32_t recNo, std::vector<PathStep>* path, uint32_t* leaf);
    // Descends to the leaf where (key, recNo) belongs: *pos is where it stands or would
    // stand, *exact whether it is there.
    Status locate(std::string_view key, uint32_t recNo, std::vector<PathStep>* path, uint32_t* leafOff, Node** leaf,
                  size_t* pos, bool* exact);
    Status fixParents(std::vector<PathStep>& path, uint32_t child, const Node* split, uint32_t splitOffset);
    void trimCache();

    PageStore* store_;
    uint32_t headerOffset_;
    uint32_t root_ = 0;
    int keyLength_ = 0;
    uint8_t options_ = 0;
    bool descending_ = false;
    char pad_ = ' ';
    std::string keyExpr_;
    std::string forExpr_;
    std::unordered_map<uint32_t, std::unique_ptr<Node>> cache_;
    uint64_t generation_ = 0;
};

}  // namespace xbase
