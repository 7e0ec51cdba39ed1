// Table: its index orders, kept up to date as records change, and navigation,
// seeks and scopes in them.

#include <algorithm>
#include <cstring>
#include <thread>

#include "CdxFormat.h"
#include "DbfFormat.h"
#include "IndexFile.h"
#include "Table.h"
#include "TableFiles.h"

namespace xbase {

namespace {

// The smallest byte string greater than every string that begins with `prefix`;
// empty when there is none (all 0xFF).
std::string prefixSuccessor(std::string prefix) {
    while (!prefix.empty()) {
        unsigned char& last = reinterpret_cast<unsigned char&>(prefix.back());
        if (last != 0xFF) {
            ++last;
            return prefix;
        }
        prefix.pop_back();
    }
    return prefix;
}

// An entry of `tag` that names no record of the table: the index is damaged.
Status outsideTable(const Tag* tag, uint32_t recNo) {
    return Status::Corruption("Index tag " + tag->name + " refers to record " + std::to_string(recNo) +
                              ", which the table does not hold, in " + tag->file->path());
}

bool inScope(const Tag& tag, const std::string& key) {
    if (!tag.scopeTop.empty() && std::memcmp(key.data(), tag.scopeTop.data(), tag.scopeTop.size()) < 0)
        return false;
    if (!tag.scopeBottom.empty() &&
        std::memcmp(key.data(), tag.scopeBottom.data(), tag.scopeBottom.size()) > 0) {
        return false;
    }
    return true;
}

// Records a tag build reads at a time into its buffer (one per thread).
constexpr size_t kBuildBlockBytes = 256 * 1024;

// The keys of one tag for records first..last, computed from the raw record bytes,
// which are read block by block: keys back to back (key length each) into `keys`,
// their records into `recNos`; *count gets how many (the FOR condition leaves
// records out). Each thread passes its own expressions.
struct KeyRange {
    uint32_t first = 0, last = 0;
    char* keys = nullptr;
    uint32_t* recNos = nullptr;
    uint32_t count = 0;
    Status status;
};

void collectKeys(const Tag& tag, const Expression* key, const Expression* condition, const File& file,
                 uint64_t headerLength, uint32_t recordLength, bool exact, const MemoSource* memo,
                 KeyRange* range) {
    const size_t klen = size_t(tag.tree->keyLength());
    const char pad = tag.padByte();
    const uint32_t perBlock = uint32_t(std::max<size_t>(1, kBuildBlockBytes / recordLength));
    std::string block(size_t(perBlock) * recordLength, '\0');
    EvalContext ctx{nullptr, 0, exact, memo};
    char* out = range->keys;
    uint32_t n = 0;
    for (uint32_t r = range->first; r <= range->last;) {
        const uint32_t count = std::min(perBlock, range->last - r + 1);
        range->status =
            file.read(headerLength + uint64_t(r - 1) * recordLength, &block[0], size_t(count) * recordLength);
        if (!range->status.ok()) return;
        for (uint32_t i = 0; i < count; ++i) {
            ctx.record = block.data() + size_t(i) * recordLength;
            ctx.recNo = r + i;
            if (condition && !condition->evalLogical(ctx)) continue;
            switch (tag.keyType) {
                case 'N':
                    std::memcpy(out, encodeNumberKey(key->evalNumeric(ctx)).data(), 8);
                    break;
                case 'D':
                    std::memcpy(out, encodeNumberKey(julianDay(key->evalString(ctx))).data(), 8);
                    break;
                case 'L':
                    *out = key->evalLogical(ctx) ? 'T' : 'F';
                    break;
                default: {
                    const std::string_view text = key->evalText(ctx);
                    const size_t have = std::min(text.size(), klen);
                    std::memcpy(out, text.data(), have);
                    std::memset(out + have, pad, klen - have);
                    break;
                }
            }
            if (tag.keyType == 'N' || tag.keyType == 'D' || tag.keyType == 'L') {
                const size_t used = tag.keyType == 'L' ? 1 : 8;
                if (klen > used) std::memset(out + used, pad, klen - used);
            }
            out += klen;
            range->recNos[n++] = r + i;
        }
        r += count;
    }
    range->count = n;
}

// Sorts entries by (key, record). The keys' first 8 bytes, read big-endian, are
// sorted with a stable radix sort (entries start in record order, so equal keys stay
// in it); only runs that share those 8 bytes but differ later are sorted again on
// the rest. Most runs of a mailing list's tags are blank or equal keys, which need
// nothing more.
std::vector<uint32_t> sortedOrder(const std::string& keys, const std::vector<uint32_t>& recNos, size_t klen) {
    struct Item {
        uint64_t prefix;
        uint32_t index;
    };
    const size_t n = recNos.size();
    std::vector<Item> items(n), spare(n);
    for (size_t i = 0; i < n; ++i) {
        uint64_t p = 0;
        const unsigned char* k = reinterpret_cast<const unsigned char*>(keys.data() + i * klen);
        for (size_t b = 0; b < 8; ++b) p = (p << 8) | (b < klen ? k[b] : 0);
        items[i] = {p, uint32_t(i)};
    }
    // A byte at a time, a pass skipped when all entries share its digit (blank-padded
    // keys often do).
    for (int shift = 0; shift < 64; shift += 8) {
        size_t counts[256] = {0};
        for (const Item& it : items) ++counts[(it.prefix >> shift) & 0xFF];
        if (counts[(items.empty() ? 0 : items[0].prefix >> shift) & 0xFF] == n) continue;
        size_t at = 0;
        for (size_t& c : counts) {
            const size_t here = c;
            c = at;
            at += here;
        }
        for (const Item& it : items) spare[counts[(it.prefix >> shift) & 0xFF]++] = it;
        items.swap(spare);
    }
    if (klen > 8) {
        const auto rest = [&](const Item& it) { return keys.data() + size_t(it.index) * klen + 8; };
        for (size_t begin = 0; begin < n;) {
            size_t end = begin + 1;
            bool differ = false;
            while (end < n && items[end].prefix == items[begin].prefix) {
                if (end + 16 < n) __builtin_prefetch(rest(items[end + 16]));
                differ = differ || std::memcmp(rest(items[end]), rest(items[begin]), klen - 8) != 0;
                ++end;
            }
            if (differ) {
                std::sort(items.begin() + long(begin), items.begin() + long(end),
                          [&](const Item& a, const Item& b) {
                              const int c = std::memcmp(rest(a), rest(b), klen - 8);
                              return c != 0 ? c < 0 : recNos[a.index] < recNos[b.index];
                          });
            }
            begin = end;
        }
    }
    std::vector<uint32_t> order(n);
    for (size_t i = 0; i < n; ++i) order[i] = items[i].index;
    return order;
}

}  // namespace

Status Table::openStructuralIndex(OpenMode mode) {
    // A file whose name is not exactly the table's with CDX is taken only when the
    // header says there is an index: a new table never takes up an old file.
    const bool flagged = (tableFlags_ & dbf::kFlagStructuralIndex) != 0;
    const std::string found = findCompanion(*fs_, path(), "CDX", "cdx", flagged);
    cdxPath_ = found.empty() ? withExtension(path(), "CDX", "cdx") : found;
    if (found.empty()) {
        indexState_ = flagged ? IndexState::Missing : IndexState::None;
        indexProblem_ = flagged ? "The index file is missing: " + cdxPath_ : std::string();
        return Status::OK();
    }
    Status s = IndexFile::open(*fs_, cdxPath_, IndexFile::Kind::Cdx, mode, layout_, codePageMark_, &cdx_);
    if (s.isLocked()) return s;
    if (!s.ok()) {
        // The table stays usable in natural order; the caller offers a rebuild.
        cdx_.reset();
        indexState_ = IndexState::Damaged;
        indexProblem_ = s.message();
        return Status::OK();
    }
    indexState_ = IndexState::Ok;
    for (const auto& tag : cdx_->tags()) {
        if (!tag->usable && indexProblem_.empty()) indexProblem_ = tag->problem;
    }
    return Status::OK();
}

void Table::indexFailed(const Tag* tag, const Status& s) {
    if (!s.isCorruption() || !tag) return;
    IndexFile* file = tag->file;
    file->markDamaged();  // the next open finds it Damaged too
    cursor_ = {};
    order_ = 0;
    countValid_ = false;
    if (file == cdx_.get()) {
        cdx_.reset();
        indexState_ = IndexState::Damaged;
        indexProblem_ = s.message();
        return;
    }
    for (auto it = idx_.begin(); it != idx_.end(); ++it) {
        if (it->get() == file) {
            idx_.erase(it);
            break;
        }
    }
}

Status Table::removeStructuralIndex() {
    Status s = closeIndexes();
    if (!s.ok()) return s;
    s = fs_->remove(cdxPath_);
    if (s.ok() && indexState_ != IndexState::None) {
        indexState_ = (tableFlags_ & dbf::kFlagStructuralIndex) ? IndexState::Missing : IndexState::None;
        indexProblem_ =
            indexState_ == IndexState::Missing ? "The index file is missing: " + cdxPath_ : std::string();
    }
    return s;
}

std::vector<Tag*> Table::orders() const {
    std::vector<Tag*> list;
    if (cdx_) {
        for (const auto& t : cdx_->tags()) list.push_back(t.get());
    }
    for (const auto& f : idx_) list.push_back(f->tags().front().get());
    return list;
}

int Table::orderCount() const { return int((cdx_ ? cdx_->tags().size() : 0) + idx_.size()); }

Tag* Table::orderAt(int order) const {
    if (order < 1) return nullptr;
    const size_t i = size_t(order - 1);
    const size_t tags = cdx_ ? cdx_->tags().size() : 0;
    if (i < tags) return cdx_->tags()[i].get();
    return i - tags < idx_.size() ? idx_[i - tags]->tags().front().get() : nullptr;
}

Tag* Table::currentTag() const { return orderAt(order_); }

int Table::tagArea(std::string_view tag) const {
    const std::string upper = asciiUpper(tag);
    for (int order = 1; order <= orderCount(); ++order) {
        if (orderAt(order)->name == upper) return order;
    }
    return 0;
}

std::string Table::tagName(int order) const {
    const Tag* tag = orderAt(order);
    return tag ? tag->name : std::string();
}

std::string Table::tagExpression(int order) const {
    const Tag* tag = orderAt(order);
    return tag ? tag->tree->keyExpression() : std::string();
}

std::string Table::tagCondition(int order) const {
    const Tag* tag = orderAt(order);
    return tag ? tag->tree->forExpression() : std::string();
}

std::string Table::indexName(int order) const {
    const Tag* tag = orderAt(order);
    return tag ? tag->file->path() : std::string();
}

Status Table::setOrder(int order) {
    if (order == 0) {
        order_ = 0;
        countValid_ = false;
        return Status::OK();
    }
    const Tag* tag = orderAt(order);
    if (!tag) return Status::InvalidArgument("No index order " + std::to_string(order));
    if (!tag->usable) return Status::NotSupported(tag->problem);
    Status s = commit();
    if (!s.ok()) return s;
    order_ = order;
    countValid_ = false;
    return Status::OK();
}

Status Table::closeIndexes() {
    Status s = commit();
    Status c = cleanIndexes();
    cdx_.reset();
    idx_.clear();
    order_ = 0;
    cursor_ = {};
    countValid_ = false;
    if (indexState_ == IndexState::Ok) indexState_ = IndexState::None;
    return s.ok() ? c : s;
}

Status Table::touchIndexes() {
    if (cdx_) {
        Status s = cdx_->touch();
        if (!s.ok()) return s;
    }
    for (const auto& f : idx_) {
        Status s = f->touch();
        if (!s.ok()) return s;
    }
    return Status::OK();
}

void Table::damageIndexes() {
    if (cdx_) cdx_->markDamaged();
    for (const auto& f : idx_) f->markDamaged();
}

Status Table::cleanIndexes() {
    Status result;
    if (cdx_) result = cdx_->clean();
    for (const auto& f : idx_) {
        Status s = f->clean();
        if (result.ok()) result = s;
    }
    return result;
}

Status Table::updateIndexes() {
    const std::vector<Tag*> list = orders();
    for (Tag* tag : list) {
        if (!tag->usable) {
            return Status::Corruption(tag->problem + " - the index cannot be kept up to date; rebuild it");
        }
    }
    EvalContext before{savedRecord_.data(), recNo_, exact_, memoSource()};
    EvalContext after{record_.data(), recNo_, exact_, memoSource()};
    std::string oldKey, newKey;
    for (Tag* tag : list) {
        // A key that reads none of the changed bytes stays as it is.
        if (!newRecord_ && tag->key->readsSameBytes(before.record, after.record) &&
            (!tag->condition || tag->condition->readsSameBytes(before.record, after.record)))
            continue;
        const bool isIdx = tag->file->kind() == IndexFile::Kind::Idx;
        const bool hadKey = !newRecord_ && tag->makeKey(before, &oldKey);
        const bool hasKey = tag->makeKey(after, &newKey);
        if (hadKey && hasKey && oldKey == newKey) continue;
        bool wasThere = false;
        if (hadKey) {
            Status s = tag->tree->remove(oldKey, recNo_);
            if (!s.ok() && !s.isNotFound()) return s;
            wasThere = s.ok();
        }
        // An IDX file holds only the records given to keyAdd(): it follows changes of
        // those and takes no others.
        if (hasKey && (!isIdx || wasThere)) {
            Status s = tag->tree->insert(newKey, recNo_);
            if (!s.ok()) return s;
        }
    }
    newRecord_ = false;
    savedRecord_ = record_;
    return Status::OK();
}

Status Table::beginBatch() {
    Status s = commit();
    if (!s.ok()) return s;
    if (batchDepth_ == 0 && file_->writable()) {
        std::vector<IndexFile*> files;
        if (cdx_) files.push_back(cdx_.get());
        for (const auto& f : idx_) files.push_back(f.get());
        for (size_t i = 0; i < files.size(); ++i) {
            s = files[i]->beginBatch();
            if (!s.ok()) {
                while (i-- > 0) (void)files[i]->endBatch();
                return s;
            }
        }
        batched_ = std::move(files);
    }
    ++batchDepth_;
    return Status::OK();
}

Status Table::endBatch() {
    if (batchDepth_ == 0) return Status::InvalidArgument("No batch of changes is open");
    Status s = file_ ? commit() : Status::OK();
    if (--batchDepth_ > 0) return s;
    // Only files still open: one closed during the batch wrote its pages as it went.
    for (IndexFile* f : batched_) {
        bool open = f == cdx_.get();
        for (const auto& idx : idx_) open |= f == idx.get();
        if (!open) continue;
        Status e = f->endBatch();
        if (s.ok()) s = e;
    }
    batched_.clear();
    Status c = cleanIndexes();
    return s.ok() ? c : s;
}

Status Table::buildTags(const std::vector<Tag*>& tags, const ProgressHook& progress) {
    cursor_ = {};
    countValid_ = false;
    const uint32_t len = layout_.recordLength();
    for (Tag* tag : tags) {
        if (progress) progress(0);
        if (tag->file->kind() == IndexFile::Kind::Idx || recCount_ == 0) {
            Status s = tag->tree->build(std::vector<IndexEntry>(), tag->tree->keyLength());
            if (!s.ok()) return s;
            if (progress) progress(100);
            continue;
        }
        if (!tag->usable) {
            tag->file->markDamaged();  // its entries no longer fit the records
            return Status::Corruption(tag->problem);
        }
        const size_t klen = size_t(tag->tree->keyLength());
        std::string keys(size_t(recCount_) * klen, '\0');
        std::vector<uint32_t> recNos(recCount_);
        // Two halves of the records, read and evaluated side by side, each with its
        // own expressions; the second half's keys are moved down after the first's.
        const uint32_t mid = recCount_ > 20000 && !namesMemoField(tag->tree->keyExpression() + " " +
                                                                  tag->tree->forExpression())
                                 ? recCount_ / 2
                                 : recCount_;
        KeyRange low, high;
        low.first = 1;
        low.last = mid;
        low.keys = &keys[0];
        low.recNos = recNos.data();
        std::unique_ptr<Expression> key2, cond2;
        std::thread worker;
        if (mid < recCount_) {
            Status s = compile(tag->tree->keyExpression(), &key2);
            if (s.ok() && tag->condition) s = compile(tag->tree->forExpression(), &cond2);
            if (!s.ok()) return s;
            high.first = mid + 1;
            high.last = recCount_;
            high.keys = &keys[0] + size_t(mid) * klen;
            high.recNos = recNos.data() + mid;
            worker = std::thread(collectKeys, std::cref(*tag), key2.get(), cond2.get(), std::cref(*file_),
                                 uint64_t(headerLength_), len, exact_, nullptr, &high);
        }
        collectKeys(*tag, tag->key.get(), tag->condition.get(), *file_, headerLength_, len, exact_,
                    memoSource(), &low);
        if (worker.joinable()) worker.join();
        if (!low.status.ok()) return low.status;
        if (!high.status.ok()) return high.status;
        if (high.count && low.count < mid) {
            std::memmove(&keys[0] + size_t(low.count) * klen, high.keys, size_t(high.count) * klen);
            std::memmove(recNos.data() + low.count, high.recNos, size_t(high.count) * sizeof(uint32_t));
        }
        keys.resize(size_t(low.count + high.count) * klen);
        recNos.resize(low.count + high.count);
        if (progress) progress(50);
        const std::vector<uint32_t> order = sortedOrder(keys, recNos, klen);
        if (progress) progress(80);
        Status s = tag->tree->build(keys, recNos, order, tag->tree->keyLength());
        if (!s.ok()) return s;
        if (progress) progress(100);
    }
    return cleanIndexes();
}

Status Table::indexTag(const std::string& name, std::string_view keyExpr, std::string_view forExpr,
                       const ProgressHook& progress) {
    Status s = requireWritable();
    if (!s.ok()) return s;
    s = commit();
    if (!s.ok()) return s;
    if (!cdx_) {
        s = IndexFile::createCdx(*fs_, cdxPath_, layout_, codePageMark_, &cdx_);
        if (!s.ok()) return s;
        // A rebuilt index is as private as its table. Best effort: some file systems
        // (those of other systems) have no permissions to set.
        (void)fs_->copyPermissions(path(), cdxPath_);
        if (!(tableFlags_ & dbf::kFlagStructuralIndex)) {
            const char flags = char(tableFlags_ | dbf::kFlagStructuralIndex);
            s = file_->write(dbf::kOffFlags, &flags, 1);
            if (!s.ok()) return s;
            tableFlags_ = uint8_t(flags);
        }
        indexState_ = IndexState::Ok;
        indexProblem_.clear();
    }
    Tag* tag;
    s = cdx_->defineTag(name, keyExpr, forExpr, &tag);
    if (!s.ok()) return s;
    return buildTags({tag}, progress);
}

Status Table::stepOrdered(Tag* tag, uint32_t from, int dir, uint32_t* out) {
    *out = 0;
    CompactTree& tree = *tag->tree;
    CompactTree::Position pos;
    Status s;
    if (from == 0) {
        if (dir > 0) {
            s = tag->scopeTop.empty() ? tree.first(&pos) : tree.lowerBound(tag->scopeTop, 0, &pos);
        } else {
            const std::string after = prefixSuccessor(tag->scopeBottom);
            if (after.empty()) {
                s = tree.last(&pos);
            } else {
                s = tree.lowerBound(after, 0, &pos);
                if (s.ok()) s = pos.valid() ? tree.prev(&pos) : tree.last(&pos);
            }
        }
    } else if (cursor_.tag == tag && cursor_.generation == tree.generation() && cursor_.recNo == from) {
        pos = {cursor_.leaf, cursor_.index};
        s = dir > 0 ? tree.next(&pos) : tree.prev(&pos);
    } else {
        // Find where record `from` stands in the order, from its key as stored.
        const char* bytes = recordView(from);
        if (!bytes) return Status::IOError("Record " + std::to_string(from) + " cannot be read");
        std::string key;
        const EvalContext ctx{bytes, from, exact_, memoSource()};
        const bool inTag = tag->makeKey(ctx, &key);
        if (!inTag) key.assign(size_t(tree.keyLength()), tag->padByte());
        s = tree.lowerBound(key, from, &pos);
        if (s.ok() && pos.valid() && inTag && tree.recNoAt(pos) == from && tree.keyAt(pos) == key) {
            s = dir > 0 ? tree.next(&pos) : tree.prev(&pos);
        } else if (s.ok() && dir < 0) {
            s = pos.valid() ? tree.prev(&pos) : tree.last(&pos);
        }
    }
    while (s.ok() && pos.valid()) {
        const std::string& key = tree.keyAt(pos);
        if (!inScope(*tag, key)) {
            // Past the scope's far end: nothing more in this direction.
            const bool beforeTop = !tag->scopeTop.empty() &&
                                   std::memcmp(key.data(), tag->scopeTop.data(), tag->scopeTop.size()) < 0;
            if ((dir > 0) != beforeTop) return Status::OK();
        } else {
            const uint32_t rec = tree.recNoAt(pos);
            if (rec < 1 || rec > recCount_) return outsideTable(tag, rec);
            const char* bytes = recordView(rec);
            if (bytes && visible(rec, bytes)) {
                *out = rec;
                cursor_ = {tag, tree.generation(), rec, pos.leaf, pos.index};
                return Status::OK();
            }
        }
        s = dir > 0 ? tree.next(&pos) : tree.prev(&pos);
    }
    return s;
}

Status Table::seek(std::string_view value, bool* found) {
    found_ = false;
    if (found) *found = false;
    Status s = commit();
    if (!s.ok()) return s;
    Tag* tag = currentTag();
    if (!tag) return Status::InvalidArgument("Seek needs an index order");
    std::string search;
    if (!tag->encodeSearch(value, &search)) {
        return Status::InvalidArgument("\"" + std::string(value) + "\" is not a value of the order's key");
    }
    if (exact_ || tag->keyType != 'C') search.resize(size_t(tag->tree->keyLength()), tag->padByte());
    CompactTree::Position pos;
    s = tag->tree->lowerBound(search, 0, &pos);
    uint32_t rec = 0;
    while (s.ok() && pos.valid()) {
        const std::string& key = tag->tree->keyAt(pos);
        if (!tag->scopeBottom.empty() &&
            std::memcmp(key.data(), tag->scopeBottom.data(), tag->scopeBottom.size()) > 0) {
            break;
        }
        const uint32_t r = tag->tree->recNoAt(pos);
        if (r < 1 || r > recCount_) {
            s = outsideTable(tag, r);
            break;
        }
        const char* bytes = recordView(r);
        if (inScope(*tag, key) && bytes && visible(r, bytes)) {
            rec = r;
            found_ = std::memcmp(key.data(), search.data(), search.size()) == 0;
            break;
        }
        s = tag->tree->next(&pos);
    }
    if (!s.ok()) {
        indexFailed(tag, s);
        return s;
    }
    if (found) *found = found_;
    if (rec != 0 && (found_ || softSeek_)) return readRecord(rec);
    setEof();
    return Status::OK();
}

Status Table::setScope(std::string_view top, std::string_view bottom) {
    Tag* tag = currentTag();
    if (!tag) return Status::InvalidArgument("A scope needs an index order");
    std::string t, b;
    if (!top.empty() && !tag->encodeSearch(top, &t)) return Status::InvalidArgument("Bad scope value");
    if (!bottom.empty() && !tag->encodeSearch(bottom, &b)) return Status::InvalidArgument("Bad scope value");
    tag->scopeTop = t;
    tag->scopeBottom = b;
    countValid_ = false;
    return Status::OK();
}

Status Table::createIdx(const std::string& path, std::string_view keyExpr, int* order) {
    std::unique_ptr<IndexFile> file;
    Status s = IndexFile::createIdx(*fs_, path, keyExpr, layout_, codePageMark_, &file);
    if (!s.ok()) return s;
    s = file->clean();
    if (!s.ok()) return s;
    idx_.push_back(std::move(file));
    *order = orderCount();
    return Status::OK();
}

Status Table::openIdx(const std::string& path, int* order) {
    std::unique_ptr<IndexFile> file;
    const OpenMode mode = readOnly() ? OpenMode::ReadOnlyShared : OpenMode::Exclusive;
    Status s = IndexFile::open(*fs_, path, IndexFile::Kind::Idx, mode, layout_, codePageMark_, &file);
    if (!s.ok()) return s;
    idx_.push_back(std::move(file));
    *order = orderCount();
    return Status::OK();
}

Status Table::closeIdx(int order) {
    const Tag* tag = orderAt(order);
    if (!tag || tag->file->kind() != IndexFile::Kind::Idx) {
        return Status::InvalidArgument("Order " + std::to_string(order) + " is not an IDX file");
    }
    Status s = commit();
    if (!s.ok()) return s;
    cursor_ = {};
    for (auto it = idx_.begin(); it != idx_.end(); ++it) {
        if (it->get() == tag->file) {
            s = (*it)->clean();
            idx_.erase(it);
            break;
        }
    }
    countValid_ = false;
    if (order_ == order) {
        order_ = 0;
    } else if (order_ > order) {
        --order_;
    }
    return s;
}

Status Table::keyAdd() {
    Tag* tag = currentTag();
    if (!tag || tag->file->kind() != IndexFile::Kind::Idx) {
        return Status::InvalidArgument("keyAdd needs an IDX file as the current order");
    }
    Status s = requireRecord();
    if (!s.ok()) return s;
    s = commit();
    if (!s.ok()) return s;
    std::string key;
    if (!tag->makeKey(evalContext(), &key)) return Status::OK();
    s = tag->file->touch();
    countValid_ = false;
    if (s.ok()) s = tag->tree->insert(key, recNo_);
    // Inside a batch the pages stay held and the mark stays set until the batch ends.
    if (s.ok() && !batchDepth_) s = tag->file->clean();
    return s;
}

Status Table::verifyIndexes() {
    for (Tag* tag : orders()) {
        uint64_t entries = 0;
        Status s = tag->tree->verify(&entries);
        if (!s.ok()) return s;
        if (tag->file->kind() == IndexFile::Kind::Idx || !tag->usable) continue;
        uint64_t expected = 0;
        for (uint32_t r = 1; r <= recCount_; ++r) {
            const char* bytes = recordView(r);
            std::string key;
            if (bytes && tag->makeKey(EvalContext{bytes, r, exact_, memoSource()}, &key)) {
                ++expected;
                CompactTree::Position pos;
                s = tag->tree->lowerBound(key, r, &pos);
                if (!s.ok()) return s;
                if (!pos.valid() || tag->tree->recNoAt(pos) != r || tag->tree->keyAt(pos) != key) {
                    return Status::Corruption("Tag " + tag->name + " lacks the key of record " +
                                              std::to_string(r));
                }
            }
        }
        if (entries != expected) {
            return Status::Corruption("Tag " + tag->name + " holds " + std::to_string(entries) +
                                      " keys for " + std::to_string(expected) + " records");
        }
    }
    return Status::OK();
}

}  // namespace xbase
