#include "CompactTree.h"

#include <algorithm>
#include <cstring>
#include <unordered_set>

#include "CdxFormat.h"
#include "DbfFormat.h"

namespace xbase {

using dbf::getU16;
using dbf::getU32;
using dbf::getU32BE;
using dbf::putU16;
using dbf::putU32;
using dbf::putU32BE;

namespace {

constexpr size_t kMaxCachedNodes = 4096;
constexpr int kMaxDepth = 64;

int bitLength(uint64_t v) {
    int n = 0;
    while (v) {
        ++n;
        v >>= 1;
    }
    return n;
}

// Bit widths of leaf entries for a key length and a largest record number.
struct LeafBits {
    int rec, dup, trail, bytes;

    LeafBits(int keyLength, uint32_t maxRecNo) {
        dup = trail = bitLength(uint32_t(keyLength));
        bytes = 3;
        while (8 * bytes - 2 * dup < bitLength(maxRecNo)) ++bytes;
        rec = 8 * bytes - 2 * dup;
    }
    uint32_t recMask() const { return rec >= 32 ? 0xFFFFFFFFu : (1u << rec) - 1; }
};

size_t trailingPad(const char* key, size_t len, char pad) {
    size_t n = 0;
    while (n < len && key[len - 1 - n] == pad) ++n;
    return n;
}

// Writes leaf entries into a page one by one, as the compact layout stores them.
class LeafPacker {
  public:
    LeafPacker(int keyLength, char pad, const LeafBits& bits)
        : klen_(size_t(keyLength)), pad_(pad), bits_(bits) {
        reset();
    }
    void reset() {
        std::memset(page_, 0, sizeof page_);
        count_ = 0;
        used_ = 0;
        pool_ = cdx::kPageSize;
        prev_ = nullptr;
        prevTrail_ = 0;
    }
    // False (and nothing changed) when the entry does not fit.
    bool add(const char* key, uint32_t recNo) {
        const size_t trail = trailingPad(key, klen_, pad_);
        size_t dup = 0;
        if (prev_) {
            const size_t limit = std::min(klen_ - prevTrail_, klen_ - trail);
            while (dup < limit && prev_[dup] == key[dup]) ++dup;
        }
        const size_t stored = klen_ - dup - trail;
        if (used_ + size_t(bits_.bytes) + stored > cdx::kLeafArea) return false;
        pool_ -= stored;
        std::memcpy(page_ + pool_, key + dup, stored);
        const uint64_t v =
            uint64_t(recNo) | (uint64_t(dup) << bits_.rec) | (uint64_t(trail) << (bits_.rec + bits_.dup));
        char* e = page_ + cdx::kOffLeafEntries + count_ * size_t(bits_.bytes);
        for (int b = 0; b < bits_.bytes; ++b) e[b] = char((v >> (8 * b)) & 0xFF);
        used_ += size_t(bits_.bytes) + stored;
        ++count_;
        prev_ = key;
        prevTrail_ = trail;
        return true;
    }
    size_t count() const { return count_; }
    // The finished page; `key` pointers passed to add() must still be alive.
    const char* finish(uint16_t attr, uint32_t left, uint32_t right) {
        putU16(page_ + cdx::kOffAttr, attr);
        putU16(page_ + cdx::kOffCount, uint16_t(count_));
        putU32(page_ + cdx::kOffLeft, left);
        putU32(page_ + cdx::kOffRight, right);
        putU16(page_ + cdx::kOffLeafFree, uint16_t(cdx::kLeafArea - used_));
        putU32(page_ + cdx::kOffRecMask, bits_.recMask());
        page_[cdx::kOffDupMask] = char((1u << bits_.dup) - 1);
        page_[cdx::kOffTrailMask] = char((1u << bits_.trail) - 1);
        page_[cdx::kOffRecBits] = char(bits_.rec);
        page_[cdx::kOffDupBits] = char(bits_.dup);
        page_[cdx::kOffTrailBits] = char(bits_.trail);
        page_[cdx::kOffEntryBytes] = char(bits_.bytes);
        return page_;
    }

  private:
    size_t klen_;
    char pad_;
    LeafBits bits_;
    char page_[cdx::kPageSize];
    size_t count_, used_, pool_;
    const char* prev_;
    size_t prevTrail_;
};

}  // namespace

// ---- PageStore ----

namespace {
// A batch writes what it holds once it holds this many pages (32 MB), so that a bulk
// change of any size runs in bounded memory.
constexpr size_t kMaxPendingPages = 65536;
// Adjacent pages go to the file in writes of up to this many bytes.
constexpr size_t kFlushRun = size_t(1) << 20;
}  // namespace

Status PageStore::read(uint32_t offset, char* page) const {
    if (offset % cdx::kPageSize != 0 || uint64_t(offset) + cdx::kPageSize > size()) {
        return Status::Corruption("Index page " + std::to_string(offset) + " lies outside " + file_->path());
    }
    if (!pending_.empty()) {
        auto it = pending_.find(offset);
        if (it != pending_.end()) {
            std::memcpy(page, it->second->data(), cdx::kPageSize);
            return Status::OK();
        }
    }
    return file_->read(offset, page, cdx::kPageSize);
}

Status PageStore::write(uint32_t offset, const char* page) {
    if (!batching() || offset % cdx::kPageSize != 0) return writeAt(offset, page, cdx::kPageSize);
    Page* p;
    auto it = pending_.find(offset);
    if (it != pending_.end()) {
        p = it->second.get();
    } else {
        // A whole page: nothing of the old one is needed.
        p = (pending_[offset] = std::make_unique<Page>()).get();
        pendingEnd_ = std::max<uint64_t>(pendingEnd_, uint64_t(offset) + cdx::kPageSize);
    }
    std::memcpy(p->data(), page, cdx::kPageSize);
    return pending_.size() > kMaxPendingPages ? flush() : Status::OK();
}

Status PageStore::pendingPage(uint32_t offset, Page** out) {
    auto it = pending_.find(offset);
    if (it != pending_.end()) {
        *out = it->second.get();
        return Status::OK();
    }
    auto page = std::make_unique<Page>();
    page->fill('\0');
    const uint64_t fileSize = file_->size();
    if (offset < fileSize) {
        const size_t have = size_t(std::min<uint64_t>(cdx::kPageSize, fileSize - offset));
        Status s = file_->read(offset, page->data(), have);
        if (!s.ok()) return s;
    }
    *out = page.get();
    pending_[offset] = std::move(page);
    pendingEnd_ = std::max<uint64_t>(pendingEnd_, uint64_t(offset) + cdx::kPageSize);
    return Status::OK();
}

Status PageStore::readAt(uint64_t offset, void* buf, size_t n) const {
    if (pending_.empty()) return file_->read(offset, buf, n);
    if (offset + n > size()) return file_->read(offset, buf, n);  // the file's own short-read error
    char* out = static_cast<char*>(buf);
    while (n > 0) {
        const uint32_t page = uint32_t(offset / cdx::kPageSize * cdx::kPageSize);
        const size_t at = size_t(offset - page);
        const size_t take = std::min(n, size_t(cdx::kPageSize) - at);
        auto it = pending_.find(page);
        if (it != pending_.end()) {
            std::memcpy(out, it->second->data() + at, take);
        } else {
            Status s = file_->read(offset, out, take);
            if (!s.ok()) return s;
        }
        offset += take;
        out += take;
        n -= take;
    }
    return Status::OK();
}

Status PageStore::writeAt(uint64_t offset, const void* data, size_t n) {
    if (!batching()) return file_->write(offset, data, n);
    if (offset + n > 0xFFFFFFFFu) return Status::InvalidArgument("Index file too large");
    const char* in = static_cast<const char*>(data);
    while (n > 0) {
        const uint32_t page = uint32_t(offset / cdx::kPageSize * cdx::kPageSize);
        const size_t at = size_t(offset - page);
        const size_t take = std::min(n, size_t(cdx::kPageSize) - at);
        Page* p;
        Status s = pendingPage(page, &p);
        if (!s.ok()) return s;
        std::memcpy(p->data() + at, in, take);
        offset += take;
        in += take;
        n -= take;
    }
    return pending_.size() > kMaxPendingPages ? flush() : Status::OK();
}

Status PageStore::writeThrough(uint64_t offset, const void* data, size_t n) {
    Status s = file_->write(offset, data, n);
    if (!s.ok() || pending_.empty()) return s;
    // The held copy must not put the old bytes back at the next flush.
    const char* in = static_cast<const char*>(data);
    for (size_t done = 0; done < n;) {
        const uint64_t at = offset + done;
        const uint32_t page = uint32_t(at / cdx::kPageSize * cdx::kPageSize);
        const size_t take = std::min(n - done, size_t(cdx::kPageSize) - size_t(at - page));
        auto it = pending_.find(page);
        if (it != pending_.end()) std::memcpy(it->second->data() + (at - page), in + done, take);
        done += take;
    }
    return s;
}

Status PageStore::flush() {
    if (pending_.empty()) return Status::OK();
    std::string run;
    run.reserve(kFlushRun);
    uint64_t runStart = 0;
    Status s;
    for (auto it = pending_.begin(); it != pending_.end() && s.ok(); ++it) {
        if (!run.empty() && (it->first != runStart + run.size() || run.size() >= kFlushRun)) {
            s = file_->write(runStart, run.data(), run.size());
            run.clear();
        }
        if (run.empty()) runStart = it->first;
        run.append(it->second->data(), cdx::kPageSize);
    }
    if (s.ok() && !run.empty()) s = file_->write(runStart, run.data(), run.size());
    pending_.clear();
    pendingEnd_ = 0;
    if (!s.ok()) markDamaged();  // some of the changes may be on the disk, others not
    return s;
}

Status PageStore::endBatch() {
    if (batchDepth_ == 0) return Status::OK();
    if (--batchDepth_ > 0) return Status::OK();
    return flush();
}

Status PageStore::allocateAtEnd(uint32_t count, uint32_t* offset) {
    const uint64_t end = (size() + cdx::kPageSize - 1) / cdx::kPageSize * cdx::kPageSize;
    if (end + uint64_t(count) * cdx::kPageSize > 0xFFFFFE00u)
        return Status::InvalidArgument("Index file too large");
    std::string zeros(size_t(count) * cdx::kPageSize, '\0');
    Status s = writeAt(end, zeros.data(), zeros.size());
    if (s.ok()) *offset = uint32_t(end);
    return s;
}

Status PageStore::allocate(uint32_t* offset) {
    char field[4];
    Status s = readAt(freeListHeader_ + cdx::kOffFreeList, field, 4);
    if (!s.ok()) return s;
    const uint32_t head = getU32(field);
    if (head != 0 && head != cdx::kNone && head % cdx::kPageSize == 0 &&
        uint64_t(head) + cdx::kPageSize <= size()) {
        char next[4];
        s = readAt(head, next, 4);
        if (!s.ok()) return s;
        s = writeAt(freeListHeader_ + cdx::kOffFreeList, next, 4);
        if (!s.ok()) return s;
        *offset = head;
        return Status::OK();
    }
    return allocateAtEnd(1, offset);
}

Status PageStore::release(uint32_t offset) {
    char field[4];
    Status s = readAt(freeListHeader_ + cdx::kOffFreeList, field, 4);
    if (!s.ok()) return s;
    char page[cdx::kPageSize] = {0};
    std::memcpy(page, field, 4);
    s = write(offset, page);
    if (!s.ok()) return s;
    putU32(field, offset);
    return writeAt(freeListHeader_ + cdx::kOffFreeList, field, 4);
}

// ---- CompactTree: header ----

Status CompactTree::create(PageStore* store, uint32_t headerOffset, int keyLength, uint8_t options,
                           const std::string& keyExpr, const std::string& forExpr, char padByte) {
    Status s = checkDescription(keyLength, keyExpr, forExpr);
    if (!s.ok()) return s;
    CompactTree tree(store, headerOffset);
    s = tree.describe(keyLength, options, keyExpr, forExpr);
    if (!s.ok()) return s;
    uint32_t root;
    s = store->allocate(&root);
    if (!s.ok()) return tree.checked(s);
    LeafPacker empty(keyLength, padByte, LeafBits(keyLength, 0));
    s = store->write(root, empty.finish(cdx::kAttrRoot | cdx::kAttrLeaf, cdx::kNone, cdx::kNone));
    return tree.checked(s.ok() ? tree.writeRoot(root) : s);
}

Status CompactTree::checked(Status s) {
    if (!s.ok() && !s.isNotFound()) {
        store_->markDamaged();
        cache_.clear();
        ++generation_;
    }
    return s;
}

Status CompactTree::checkDescription(int keyLength, const std::string& keyExpr, const std::string& forExpr) {
    if (keyLength < 1 || keyLength > cdx::kMaxKeyLength) {
        return Status::InvalidArgument("Index key length must be 1 to 240, not " + std::to_string(keyLength));
    }
    if (keyExpr.size() + forExpr.size() + 2 > cdx::kExprPoolSize) {
        return Status::InvalidArgument("Index expression too long");
    }
    return Status::OK();
}

Status CompactTree::describe(int keyLength, uint8_t options, const std::string& keyExpr,
                             const std::string& forExpr) {
    Status s = checkDescription(keyLength, keyExpr, forExpr);
    return s.ok() ? checked(describeKeys(keyLength, options, keyExpr, forExpr)) : s;
}

Status CompactTree::describeKeys(int keyLength, uint8_t options, const std::string& keyExpr,
                                 const std::string& forExpr) {
    ++generation_;
    char h[cdx::kHeaderSize] = {0};
    putU16(h + cdx::kOffKeyLength, uint16_t(keyLength));
    h[cdx::kOffOptions] = char(options | cdx::kOptCompact | (forExpr.empty() ? 0 : cdx::kOptHasFor));
    h[cdx::kOffSignature] = 1;
    putU16(h + cdx::kOffForOffset, uint16_t(keyExpr.size() + 1));
    putU16(h + cdx::kOffForLength, uint16_t(forExpr.size() + 1));
    putU16(h + cdx::kOffKeyOffset, 0);
    putU16(h + cdx::kOffKeyExprLength, uint16_t(keyExpr.size() + 1));
    std::memcpy(h + cdx::kOffExprPool, keyExpr.data(), keyExpr.size());
    std::memcpy(h + cdx::kOffExprPool + keyExpr.size() + 1, forExpr.data(), forExpr.size());
    // Root, free list and the open-for-write mark are not part of the description.
    Status s = store_->writeAt(headerOffset_ + cdx::kOffKeyLength, h + cdx::kOffKeyLength, 4);
    if (s.ok())
        s = store_->writeAt(headerOffset_ + cdx::kOffDescending, h + cdx::kOffDescending,
                            cdx::kHeaderSize - 502);
    if (!s.ok()) return s;
    keyLength_ = keyLength;
    options_ = uint8_t(h[cdx::kOffOptions]);
    descending_ = false;
    keyExpr_ = keyExpr;
    forExpr_ = forExpr;
    return Status::OK();
}

Status CompactTree::load(char padByte) {
    pad_ = padByte;
    ++generation_;
    char h[cdx::kHeaderSize];
    if (uint64_t(headerOffset_) + cdx::kHeaderSize > store_->size()) {
        return Status::Corruption("Index header lies outside " + store_->path());
    }
    Status s = store_->readAt(headerOffset_, h, sizeof h);
    if (!s.ok()) return s;
    root_ = getU32(h + cdx::kOffRoot);
    keyLength_ = getU16(h + cdx::kOffKeyLength);
    options_ = uint8_t(h[cdx::kOffOptions]);
    descending_ = getU16(h + cdx::kOffDescending) != 0;
    if (keyLength_ < 1 || keyLength_ > cdx::kMaxKeyLength) {
        return Status::Corruption("Index header has a bad key length in " + store_->path());
    }
    const size_t keyOff = getU16(h + cdx::kOffKeyOffset), keyLen = getU16(h + cdx::kOffKeyExprLength);
    const size_t forOff = getU16(h + cdx::kOffForOffset), forLen = getU16(h + cdx::kOffForLength);
    if (keyOff + keyLen > cdx::kExprPoolSize || forOff + forLen > cdx::kExprPoolSize) {
        return Status::Corruption("Index header has bad expressions in " + store_->path());
    }
    const char* pool = h + cdx::kOffExprPool;
    keyExpr_.assign(pool + keyOff, strnlen(pool + keyOff, keyLen));
    forExpr_.assign(pool + forOff, strnlen(pool + forOff, forLen));
    cache_.clear();
    return Status::OK();
}

Status CompactTree::writeRoot(uint32_t root) {
    root_ = root;
    char field[4];
    putU32(field, root);
    return store_->writeAt(headerOffset_ + cdx::kOffRoot, field, 4);
}

// ---- nodes ----

void CompactTree::trimCache() {
    if (cache_.size() <= kMaxCachedNodes) return;
    // Leaves go first: the interior nodes are few and every descent needs them.
    for (auto it = cache_.begin(); it != cache_.end();) {
        it = it->second->leaf() ? cache_.erase(it) : std::next(it);
    }
    if (cache_.size() > kMaxCachedNodes) cache_.clear();
}

Status CompactTree::node(uint32_t offset, Node** out) {
    auto it = cache_.find(offset);
    if (it != cache_.end()) {
        *out = it->second.get();
        return Status::OK();
    }
    char page[cdx::kPageSize];
    Status s = store_->read(offset, page);
    if (!s.ok()) return s;
    auto n = std::make_unique<Node>();
    s = decode(offset, page, n.get());
    if (!s.ok()) return s;
    *out = n.get();
    cache_.emplace(offset, std::move(n));
    return Status::OK();
}

Status CompactTree::decode(uint32_t offset, const char* page, Node* n) const {
    const auto damaged = [&](const char* what) {
        return Status::Corruption(std::string("Index node ") + std::to_string(offset) + " is damaged (" +
                                  what + ") in " + store_->path());
    };
    const size_t klen = size_t(keyLength_);
    n->attr = getU16(page + cdx::kOffAttr);
    const size_t count = getU16(page + cdx::kOffCount);
    n->left = getU32(page + cdx::kOffLeft);
    n->right = getU32(page + cdx::kOffRight);
    n->keys.clear();
    n->recNos.clear();
    n->children.clear();
    n->keys.reserve(count);
    n->recNos.reserve(count);
    if (!n->leaf()) {
        if (count * (klen + 8) > cdx::kPageSize - cdx::kOffInteriorEntries) return damaged("too many keys");
        n->children.reserve(count);
        for (size_t i = 0; i < count; ++i) {
            const char* e = page + cdx::kOffInteriorEntries + i * (klen + 8);
            n->keys.emplace_back(e, klen);
            n->recNos.push_back(getU32BE(e + klen));
            n->children.push_back(getU32BE(e + klen + 4));
        }
        return Status::OK();
    }
    const int recBits = uint8_t(page[cdx::kOffRecBits]);
    const int dupBits = uint8_t(page[cdx::kOffDupBits]);
    const int trailBits = uint8_t(page[cdx::kOffTrailBits]);
    const size_t bytes = uint8_t(page[cdx::kOffEntryBytes]);
    if (bytes < 1 || bytes > 8 || size_t(recBits + dupBits + trailBits) > 8 * bytes || dupBits > 16 ||
        trailBits > 16) {
        return damaged("bad entry layout");
    }
    if (count * bytes > cdx::kLeafArea) return damaged("too many keys");
    const uint64_t recMask = recBits >= 64 ? ~uint64_t(0) : (uint64_t(1) << recBits) - 1;
    const uint64_t dupMask = (uint64_t(1) << dupBits) - 1, trailMask = (uint64_t(1) << trailBits) - 1;
    size_t pool = cdx::kPageSize;
    const size_t entriesEnd = cdx::kOffLeafEntries + count * bytes;
    std::string prev(klen, pad_);
    for (size_t i = 0; i < count; ++i) {
        const unsigned char* e =
            reinterpret_cast<const unsigned char*>(page + cdx::kOffLeafEntries + i * bytes);
        uint64_t v = 0;
        for (size_t b = 0; b < bytes; ++b) v |= uint64_t(e[b]) << (8 * b);
        const size_t rec = size_t(v & recMask);
        const size_t dup = size_t((v >> recBits) & dupMask);
        const size_t trail = size_t((v >> (recBits + dupBits)) & trailMask);
        if (dup + trail > klen) return damaged("bad key compression");
        const size_t stored = klen - dup - trail;
        if (pool < entriesEnd + stored) return damaged("keys overlap entries");
        pool -= stored;
        std::string key;
        key.reserve(klen);
        key.append(prev, 0, dup);
        key.append(page + pool, stored);
        key.append(trail, pad_);
        n->keys.push_back(key);
        n->recNos.push_back(uint32_t(rec));
        prev = std::move(key);
    }
    // The free-space field must account for every byte the entries and keys take: a
    // key count or a compression count that is off shows here, where it would
    // otherwise lose or invent entries.
    if (getU16(page + cdx::kOffLeafFree) !=
        cdx::kLeafArea - (entriesEnd - cdx::kOffLeafEntries) - (cdx::kPageSize - pool)) {
        return damaged("free space does not match its keys");
    }
    return Status::OK();
}

bool CompactTree::encode(const Node& n, char* page) const {
    const size_t klen = size_t(keyLength_);
    if (!n.leaf()) {
        if (n.keys.size() > interiorCapacity()) return false;
        std::memset(page, 0, cdx::kPageSize);
        putU16(page + cdx::kOffAttr, n.attr);
        putU16(page + cdx::kOffCount, uint16_t(n.keys.size()));
        putU32(page + cdx::kOffLeft, n.left);
        putU32(page + cdx::kOffRight, n.right);
        for (size_t i = 0; i < n.keys.size(); ++i) {
            char* e = page + cdx::kOffInteriorEntries + i * (klen + 8);
            std::memcpy(e, n.keys[i].data(), klen);
            putU32BE(e + klen, n.recNos[i]);
            putU32BE(e + klen + 4, n.children[i]);
        }
        return true;
    }
    uint32_t maxRec = 0;
    for (uint32_t r : n.recNos) maxRec = std::max(maxRec, r);
    LeafPacker packer(keyLength_, pad_, LeafBits(keyLength_, maxRec));
    for (size_t i = 0; i < n.keys.size(); ++i) {
        if (!packer.add(n.keys[i].data(), n.recNos[i])) return false;
    }
    std::memcpy(page, packer.finish(n.attr, n.left, n.right), cdx::kPageSize);
    return true;
}

Status CompactTree::store(uint32_t offset, const Node& n) {
    char page[cdx::kPageSize];
    if (!encode(n, page)) {
        return Status::Corruption("Index node " + std::to_string(offset) + " overflows in " + store_->path());
    }
    return store_->write(offset, page);
}

int CompactTree::compare(const std::string& key, uint32_t recNo, std::string_view search,
                         uint32_t searchRec) const {
    const int c = std::memcmp(key.data(), search.data(), search.size());
    if (c != 0) return c;
    if (search.size() < size_t(keyLength_)) return 0;
    return recNo < searchRec ? -1 : (recNo > searchRec ? 1 : 0);
}

Status CompactTree::descend(std::string_view key, uint32_t recNo, std::vector<PathStep>* path,
                            uint32_t* leaf) {
    uint32_t off = root_;
    for (int depth = 0; depth < kMaxDepth; ++depth) {
        Node* n;
        Status s = node(off, &n);
        if (!s.ok()) return s;
        if (n->leaf()) {
            *leaf = off;
            return Status::OK();
        }
        if (n->keys.empty()) return Status::Corruption("Empty index node in " + store_->path());
        size_t i = 0;
        while (i + 1 < n->keys.size() && compare(n->keys[i], n->recNos[i], key, recNo) < 0) ++i;
        if (path) path->push_back({off, i});
        off = n->children[i];
    }
    return Status::Corruption("Index tree too deep (a loop?) in " + store_->path());
}

// After the node at `child` changed (and perhaps split off `split` at `splitOffset`),
// brings the parents' high keys up to date and splits parents that overflow.
Status CompactTree::fixParents(std::vector<PathStep>& path, uint32_t child, const Node* split,
                               uint32_t splitOffset) {
    Node* cur;
    Status s = node(child, &cur);
    if (!s.ok()) return s;
    uint32_t curOff = child;
    while (!path.empty()) {
        const PathStep step = path.back();
        path.pop_back();
        Node* p;
        s = node(step.offset, &p);
        if (!s.ok()) return s;
        const size_t i = step.index;
        bool changed = false;
        if (!cur->keys.empty() && (p->keys[i] != cur->keys.back() || p->recNos[i] != cur->recNos.back())) {
            p->keys[i] = cur->keys.back();
            p->recNos[i] = cur->recNos.back();
            changed = true;
        }
        if (split) {
            p->keys.insert(p->keys.begin() + long(i) + 1, split->keys.back());
            p->recNos.insert(p->recNos.begin() + long(i) + 1, split->recNos.back());
            p->children.insert(p->children.begin() + long(i) + 1, splitOffset);
            changed = true;
        }
        if (!changed) return Status::OK();
        const bool maxChanged = i + (split ? 1 : 0) == p->keys.size() - 1;
        if (p->keys.size() <= interiorCapacity()) {
            s = store(step.offset, *p);
            if (!s.ok() || !maxChanged) return s;
            cur = p;
            curOff = step.offset;
            split = nullptr;
            continue;
        }
        // Split the interior node in two halves.
        auto right = std::make_unique<Node>();
        const size_t half = p->keys.size() / 2;
        right->attr = uint16_t(p->attr & ~cdx::kAttrRoot);
        right->keys.assign(p->keys.begin() + long(half), p->keys.end());
        right->recNos.assign(p->recNos.begin() + long(half), p->recNos.end());
        right->children.assign(p->children.begin() + long(half), p->children.end());
        p->keys.resize(half);
        p->recNos.resize(half);
        p->children.resize(half);
        uint32_t rightOff;
        s = store_->allocate(&rightOff);
        if (!s.ok()) return s;
        right->left = step.offset;
        right->right = p->right;
        if (p->right != cdx::kNone) {
            Node* after;
            s = node(p->right, &after);
            if (!s.ok()) return s;
            after->left = rightOff;
            s = store(p->right, *after);
            if (!s.ok()) return s;
        }
        p->right = rightOff;
        p->attr = uint16_t(p->attr & ~cdx::kAttrRoot);
        s = store(step.offset, *p);
        if (s.ok()) s = store(rightOff, *right);
        if (!s.ok()) return s;
        split = right.get();
        splitOffset = rightOff;
        cache_[rightOff] = std::move(right);
        cur = p;
        curOff = step.offset;
    }
    if (!split) return Status::OK();
    // The root split: a new root above the two halves.
    auto root = std::make_unique<Node>();
    root->attr = cdx::kAttrRoot;
    root->keys = {cur->keys.back(), split->keys.back()};
    root->recNos = {cur->recNos.back(), split->recNos.back()};
    root->children = {curOff, splitOffset};
    uint32_t rootOff;
    s = store_->allocate(&rootOff);
    if (s.ok()) s = store(rootOff, *root);
    if (!s.ok()) return s;
    cache_[rootOff] = std::move(root);
    return writeRoot(rootOff);
}

Status CompactTree::locate(std::string_view key, uint32_t recNo, std::vector<PathStep>* path,
                           uint32_t* leafOff, Node** leaf, size_t* pos, bool* exact) {
    if (key.size() != size_t(keyLength_)) return Status::InvalidArgument("Index key of the wrong length");
    trimCache();
    ++generation_;
    Status s = descend(key, recNo, path, leafOff);
    if (s.ok()) s = node(*leafOff, leaf);
    if (!s.ok()) return s;
    const Node& n = **leaf;
    *pos = 0;
    while (*pos < n.keys.size() && compare(n.keys[*pos], n.recNos[*pos], key, recNo) < 0) ++*pos;
    *exact = *pos < n.keys.size() && compare(n.keys[*pos], n.recNos[*pos], key, recNo) == 0;
    return Status::OK();
}

Status CompactTree::insertEntry(std::string_view key, uint32_t recNo) {
    std::vector<PathStep> path;
    uint32_t leafOff;
    Node* leaf;
    size_t pos;
    bool exact;
    Status s = locate(key, recNo, &path, &leafOff, &leaf, &pos, &exact);
    if (!s.ok() || exact) return s;  // an entry already there stays as it is
    leaf->keys.insert(leaf->keys.begin() + long(pos), std::string(key));
    leaf->recNos.insert(leaf->recNos.begin() + long(pos), recNo);
    char page[cdx::kPageSize];
    if (encode(*leaf, page)) {
        s = store_->write(leafOff, page);
        if (!s.ok() || pos + 1 != leaf->keys.size()) return s;
        return fixParents(path, leafOff, nullptr, 0);
    }
    // Split the leaf: the first half stays, the second moves to a new page.
    auto right = std::make_unique<Node>();
    const size_t half = leaf->keys.size() / 2;
    right->attr = cdx::kAttrLeaf;
    right->keys.assign(leaf->keys.begin() + long(half), leaf->keys.end());
    right->recNos.assign(leaf->recNos.begin() + long(half), leaf->recNos.end());
    leaf->keys.resize(half);
    leaf->recNos.resize(half);
    uint32_t rightOff;
    s = store_->allocate(&rightOff);
    if (!s.ok()) return s;
    right->left = leafOff;
    right->right = leaf->right;
    if (leaf->right != cdx::kNone) {
        Node* after;
        s = node(leaf->right, &after);
        if (!s.ok()) return s;
        after->left = rightOff;
        s = store(leaf->right, *after);
        if (!s.ok()) return s;
    }
    leaf->right = rightOff;
    leaf->attr = cdx::kAttrLeaf;
    s = store(leafOff, *leaf);
    if (s.ok()) s = store(rightOff, *right);
    if (!s.ok()) return s;
    const Node* split = right.get();
    cache_[rightOff] = std::move(right);
    return fixParents(path, leafOff, split, rightOff);
}

Status CompactTree::removeEntry(std::string_view key, uint32_t recNo) {
    std::vector<PathStep> path;
    uint32_t off;
    Node* n;
    size_t j;
    bool exact;
    Status s = locate(key, recNo, &path, &off, &n, &j, &exact);
    if (!s.ok()) return s;
    if (!exact) return Status::NotFound("Index entry not found");
    n->keys.erase(n->keys.begin() + long(j));
    n->recNos.erase(n->recNos.begin() + long(j));
    if (!n->children.empty()) n->children.erase(n->children.begin() + long(j));

    // Drop nodes that became empty, walking up while parents empty too.
    while (n->keys.empty() && !n->root() && !path.empty()) {
        for (uint32_t side : {n->left, n->right}) {
            if (side == cdx::kNone) continue;
            Node* sib;
            s = node(side, &sib);
            if (!s.ok()) return s;
            (side == n->left ? sib->right : sib->left) = (side == n->left ? n->right : n->left);
            s = store(side, *sib);
            if (!s.ok()) return s;
        }
        s = store_->release(off);
        if (!s.ok()) return s;
        cache_.erase(off);
        const PathStep step = path.back();
        path.pop_back();
        off = step.offset;
        s = node(off, &n);
        if (!s.ok()) return s;
        j = step.index;
        n->keys.erase(n->keys.begin() + long(j));
        n->recNos.erase(n->recNos.begin() + long(j));
        n->children.erase(n->children.begin() + long(j));
    }
    if (n->keys.empty() && n->root() && !n->leaf()) {
        n->attr = cdx::kAttrRoot | cdx::kAttrLeaf;  // an empty tree is an empty root leaf
    }
    s = store(off, *n);
    if (!s.ok()) return s;
    if (j == n->keys.size() && !n->keys.empty()) {
        s = fixParents(path, off, nullptr, 0);
        if (!s.ok()) return s;
    }
    // A root with a single child hands the root over to it.
    for (;;) {
        Node* root;
        s = node(root_, &root);
        if (!s.ok()) return s;
        if (root->leaf() || root->children.size() != 1) return Status::OK();
        const uint32_t childOff = root->children[0];
        Node* child;
        s = node(childOff, &child);
        if (!s.ok()) return s;
        child->attr = uint16_t(child->attr | cdx::kAttrRoot);
        s = store(childOff, *child);
        if (!s.ok()) return s;
        const uint32_t oldRoot = root_;
        s = writeRoot(childOff);
        if (!s.ok()) return s;
        cache_.erase(oldRoot);
        s = store_->release(oldRoot);
        if (!s.ok()) return s;
    }
}

// ---- bulk building ----

Status CompactTree::freeSubtree(uint32_t offset) {
    std::vector<uint32_t> stack{offset};
    size_t visited = 0;
    while (!stack.empty()) {
        const uint32_t off = stack.back();
        stack.pop_back();
        if (++visited > (store_->size() / cdx::kPageSize) + 1) {
            return Status::Corruption("Index tree has a loop in " + store_->path());
        }
        Node* n;
        Status s = node(off, &n);
        if (!s.ok()) return s;
        if (!n->leaf()) stack.insert(stack.end(), n->children.begin(), n->children.end());
        cache_.erase(off);
        s = store_->release(off);
        if (!s.ok()) return s;
    }
    return Status::OK();
}

Status CompactTree::build(const std::vector<IndexEntry>& entries, int keyLength) {
    std::string keys;
    std::vector<uint32_t> recNos, order;
    keys.reserve(entries.size() * size_t(keyLength));
    for (size_t i = 0; i < entries.size(); ++i) {
        keys += entries[i].key;
        recNos.push_back(entries[i].recNo);
        order.push_back(uint32_t(i));
    }
    return build(keys, recNos, order, keyLength);
}

Status CompactTree::buildFrom(const std::string& keys, const std::vector<uint32_t>& recNos,
                              const std::vector<uint32_t>& order, int keyLength) {
    // The new pages are written together, in long runs, instead of one by one.
    store_->beginBatch();
    Status s = buildPages(keys, recNos, order, keyLength);
    Status e = store_->endBatch();
    return s.ok() ? e : s;
}

Status CompactTree::buildPages(const std::string& keys, const std::vector<uint32_t>& recNos,
                               const std::vector<uint32_t>& order, int keyLength) {
    ++generation_;
    // A damaged old tree must not stop a rebuild: its pages are simply left behind.
    (void)freeSubtree(root_);
    cache_.clear();
    keyLength_ = keyLength;
    char field[2];
    putU16(field, uint16_t(keyLength));
    Status s = store_->writeAt(headerOffset_ + cdx::kOffKeyLength, field, 2);
    if (!s.ok()) return s;

    const size_t klen = size_t(keyLength);
    uint32_t maxRec = 0;
    for (uint32_t r : recNos) maxRec = std::max(maxRec, r);
    LeafPacker packer(keyLength, pad_, LeafBits(keyLength, maxRec));

    // Leaves, filled one after the other; a page is written once the offset of the
    // next one is known.
    std::vector<uint32_t> leafOffsets;
    std::vector<size_t> leafLast;  // index into `order` of each leaf's highest entry
    uint32_t current, left = cdx::kNone;
    s = store_->allocate(&current);
    if (!s.ok()) return s;
    for (size_t i = 0; i < order.size(); ++i) {
        // The keys are read in sorted order, scattered over memory: ask for them ahead.
        if (i + 8 < order.size()) {
            __builtin_prefetch(keys.data() + size_t(order[i + 8]) * klen);
            __builtin_prefetch(keys.data() + size_t(order[i + 8]) * klen + klen - 1);
            __builtin_prefetch(&recNos[order[i + 8]]);
        }
        const char* key = keys.data() + size_t(order[i]) * klen;
        if (packer.add(key, recNos[order[i]])) continue;
        uint32_t nextOff;
        s = store_->allocate(&nextOff);
        if (s.ok()) s = store_->write(current, packer.finish(cdx::kAttrLeaf, left, nextOff));
        if (!s.ok()) return s;
        leafOffsets.push_back(current);
        leafLast.push_back(i - 1);
        left = current;
        current = nextOff;
        packer.reset();
        packer.add(key, recNos[order[i]]);
    }
    if (leafOffsets.empty()) {
        s = store_->write(current, packer.finish(cdx::kAttrRoot | cdx::kAttrLeaf, cdx::kNone, cdx::kNone));
        return s.ok() ? writeRoot(current) : s;
    }
    s = store_->write(current, packer.finish(cdx::kAttrLeaf, left, cdx::kNone));
    if (!s.ok()) return s;
    leafOffsets.push_back(current);
    leafLast.push_back(order.size() - 1);

    // Interior levels, bottom up.
    const size_t capacity = interiorCapacity();
    std::vector<std::pair<uint32_t, std::pair<std::string, uint32_t>>> children;
    children.reserve(leafOffsets.size());
    for (size_t k = 0; k < leafOffsets.size(); ++k) {
        const uint32_t e = order[leafLast[k]];
        children.push_back({leafOffsets[k], {keys.substr(size_t(e) * klen, klen), recNos[e]}});
    }
    while (children.size() > 1) {
        const size_t nodes = (children.size() + capacity - 1) / capacity;
        std::vector<uint32_t> offsets(nodes);
        for (uint32_t& o : offsets) {
            s = store_->allocate(&o);
            if (!s.ok()) return s;
        }
        std::vector<std::pair<uint32_t, std::pair<std::string, uint32_t>>> parents;
        for (size_t k = 0; k < nodes; ++k) {
            // Spread entries evenly so that no node is left nearly empty.
            const size_t begin = children.size() * k / nodes, end = children.size() * (k + 1) / nodes;
            Node n;
            n.attr = nodes == 1 ? cdx::kAttrRoot : 0;
            n.left = k ? offsets[k - 1] : cdx::kNone;
            n.right = k + 1 < nodes ? offsets[k + 1] : cdx::kNone;
            for (size_t c = begin; c < end; ++c) {
                n.keys.push_back(children[c].second.first);
                n.recNos.push_back(children[c].second.second);
                n.children.push_back(children[c].first);
            }
            s = store(offsets[k], n);
            if (!s.ok()) return s;
            parents.push_back({offsets[k], {n.keys.back(), n.recNos.back()}});
        }
        children = std::move(parents);
    }
    return writeRoot(children[0].first);
}

// ---- cursor ----

Status CompactTree::first(Position* pos) { return edge(+1, pos); }

Status CompactTree::last(Position* pos) { return edge(-1, pos); }

Status CompactTree::edge(int dir, Position* pos) {
    trimCache();
    uint32_t off = root_;
    for (int depth = 0; depth < kMaxDepth; ++depth) {
        Node* n;
        Status s = node(off, &n);
        if (!s.ok()) return s;
        if (n->leaf()) {
            // The first leaf has none before it, the last none after it: a wrong child
            // link would otherwise start a walk part way through.
            if ((dir > 0 ? n->left : n->right) != cdx::kNone) {
                return Status::Corruption("Index tree is damaged (its edge leaf " + std::to_string(off) +
                                          " has a neighbour) in " + store_->path());
            }
            *pos = {off, n->keys.empty() ? -1 : (dir > 0 ? 0 : int(n->keys.size()) - 1)};
            return n->keys.empty() ? step(dir, pos) : Status::OK();
        }
        if (n->children.empty()) return Status::Corruption("Empty index node in " + store_->path());
        off = dir > 0 ? n->children.front() : n->children.back();
    }
    return Status::Corruption("Index tree too deep in " + store_->path());
}

Status CompactTree::next(Position* pos) { return step(+1, pos); }

Status CompactTree::prev(Position* pos) { return step(-1, pos); }

Status CompactTree::step(int dir, Position* pos) {
    trimCache();
    Node* n;
    Status s = node(pos->leaf, &n);
    if (!s.ok()) return s;
    const int to = pos->index + dir;
    if (pos->index >= 0 && to >= 0 && size_t(to) < n->keys.size()) {
        pos->index = to;
        return Status::OK();
    }
    // Over to the next leaf in that direction that holds any entry. Each leaf must
    // link back to the one it was reached from: a link that points to the leaf itself,
    // back to an earlier leaf or past leaves breaks that, so a walk never goes round
    // in a circle or skips entries unnoticed. Even so, no walk takes more steps than
    // the file has pages.
    const uint64_t pages = store_->size() / cdx::kPageSize;
    uint32_t from = pos->leaf;
    for (uint64_t steps = 0;; ++steps) {
        const uint32_t off = dir > 0 ? n->right : n->left;
        if (off == cdx::kNone) break;
        if (steps > pages) return Status::Corruption("Index leaf chain loops in " + store_->path());
        s = node(off, &n);
        if (!s.ok()) return s;
        if ((dir > 0 ? n->left : n->right) != from || !n->leaf()) {
            return Status::Corruption("Index leaf chain is broken at page " + std::to_string(off) + " in " +
                                      store_->path());
        }
        if (!n->keys.empty()) {
            *pos = {off, dir > 0 ? 0 : int(n->keys.size()) - 1};
            return Status::OK();
        }
        from = off;
    }
    pos->index = -1;
    return Status::OK();
}

Status CompactTree::lowerBound(std::string_view key, uint32_t recNo, Position* pos) {
    trimCache();
    if (key.size() > size_t(keyLength_)) key = key.substr(0, size_t(keyLength_));
    uint32_t leafOff;
    Status s = descend(key, recNo, nullptr, &leafOff);
    if (!s.ok()) return s;
    Node* n;
    s = node(leafOff, &n);
    if (!s.ok()) return s;
    size_t i = 0;
    while (i < n->keys.size() && compare(n->keys[i], n->recNos[i], key, recNo) < 0) ++i;
    if (i < n->keys.size()) {
        *pos = {leafOff, int(i)};
        return Status::OK();
    }
    // Everything in this leaf is smaller: the answer is the next leaf's first entry.
    *pos = {leafOff, int(n->keys.size()) - 1};
    return next(pos);
}

const std::string& CompactTree::keyAt(const Position& pos) {
    static const std::string none;
    Node* n;
    if (!pos.valid() || !node(pos.leaf, &n).ok() || size_t(pos.index) >= n->keys.size()) return none;
    return n->keys[size_t(pos.index)];
}

uint32_t CompactTree::recNoAt(const Position& pos) {
    Node* n;
    if (!pos.valid() || !node(pos.leaf, &n).ok() || size_t(pos.index) >= n->recNos.size()) return 0;
    return n->recNos[size_t(pos.index)];
}

Status CompactTree::verify(uint64_t* entryCount) {
    cache_.clear();
    *entryCount = 0;
    std::vector<uint32_t> leaves;
    std::string lastKey;
    uint32_t lastRec = 0;
    bool any = false;
    // Depth-first, left to right: parent entries must equal their child's last entry.
    struct Frame {
        uint32_t off;
        int depth;
    };
    std::vector<Frame> stack{{root_, 0}};
    const auto bad = [&](const std::string& what) {
        return Status::Corruption("Index check failed (" + what + ") in " + store_->path());
    };
    std::unordered_set<uint32_t> seen;
    while (!stack.empty()) {
        const Frame f = stack.back();
        stack.pop_back();
        if (f.depth > kMaxDepth) return bad("too deep");
        if (!seen.insert(f.off).second) return bad("a page is reached twice");
        Node* n;
        Status s = node(f.off, &n);
        if (!s.ok()) return s;
        if (n->leaf()) {
            leaves.push_back(f.off);
            for (size_t i = 0; i < n->keys.size(); ++i) {
                if (any && compare(n->keys[i], n->recNos[i], lastKey, lastRec) <= 0)
                    return bad("keys out of order");
                lastKey = n->keys[i];
                lastRec = n->recNos[i];
                any = true;
                ++*entryCount;
            }
            continue;
        }
        for (size_t i = n->children.size(); i-- > 0;) {
            Node* c;
            s = node(n->children[i], &c);
            if (!s.ok()) return s;
            if (c->keys.empty() || c->keys.back() != n->keys[i] || c->recNos.back() != n->recNos[i]) {
                return bad("parent key differs from its child's last key");
            }
            stack.push_back({n->children[i], f.depth + 1});
        }
    }
    for (size_t i = 0; i < leaves.size(); ++i) {
        Node* n;
        Status s = node(leaves[i], &n);
        if (!s.ok()) return s;
        const uint32_t left = i ? leaves[i - 1] : cdx::kNone;
        const uint32_t right = i + 1 < leaves.size() ? leaves[i + 1] : cdx::kNone;
        if (n->left != left || n->right != right) return bad("sibling links");
    }
    return Status::OK();
}

}  // namespace xbase
