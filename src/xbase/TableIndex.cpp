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
    if (!tag.scopeTop.empty() && std::memcmp(key.data(), tag.scopeTop.data(), tag.scopeTop.size()) < 0) return false;
    if (!tag.scopeBottom.empty() && std::memcmp(key.data(), tag.scopeBottom.data(), tag.scopeBottom.size()) > 0) {
        return false;
    }
    return true;
}

// The keys of one tag for a range of records, computed from the raw record bytes.
struct KeyBatch {
    std::string keys;  // back to back, key length each
    std::vector<uint32_t> recNos;
};

void collectKeys(const Tag& tag, const Expression* key, const Expression* condition, const char* base,
                 uint32_t recordLength, uint32_t first, uint32_t last, bool exact, const MemoSource* memo,
                 KeyBatch* out) {
    const size_t klen = size_t(tag.tree->keyLength());
    std::string k;
    EvalContext ctx{nullptr, 0, exact, memo};
    out->keys.reserve(size_t(last - first + 1) * klen);
    for (uint32_t r = first; r <= last; ++r) {
        ctx.record = base + uint64_t(r - 1) * recordLength;
        ctx.recNo = r;
        if (condition && !condition->evalLogical(ctx)) continue;
        switch (tag.keyType) {
            case 'N': k = encodeNumberKey(key->evalNumeric(ctx)); break;
            case 'D': k = encodeNumberKey(julianDay(key->evalString(ctx))); break;
            case 'L': k = key->evalLogical(ctx) ? "T" : "F"; break;
            default: k = key->evalString(ctx); break;
        }
        k.resize(klen, tag.padByte());
        out->keys += k;
        out->recNos.push_back(r);
    }
}

// Sorts entries by (key, record): an 8-byte big-endian prefix of each key first,
// the rest only for ties.
std::vector<uint32_t> sortedOrder(const std::string& keys, const std::vector<uint32_t>& recNos, size_t klen,
                                  bool twoThreads) {
    struct Item {
        uint64_t prefix;
        uint32_t index;
    };
    const size_t n = recNos.size();
    std::vector<Item> items(n);
    for (size_t i = 0; i < n; ++i) {
        uint64_t p = 0;
        const unsigned char* k = reinterpret_cast<const unsigned char*>(keys.data() + i * klen);
        for (size_t b = 0; b < 8; ++b) p = (p << 8) | (b < klen ? k[b] : 0);
        items[i] = {p, uint32_t(i)};
    }
    const auto less = [&](const Item& a, const Item& b) {
        if (a.prefix != b.prefix) return a.prefix < b.prefix;
        if (klen > 8) {
            const int c = std::memcmp(keys.data() + size_t(a.index) * klen + 8, keys.data() + size_t(b.index) * klen + 8,
                                      klen - 8);
            if (c != 0) return c < 0;
        }
        return recNos[a.index] < recNos[b.index];
    };
    if (twoThreads && n > 50000) {
        const auto mid = items.begin() + long(n / 2);
        std::thread worker([&] { std::sort(items.begin(), mid, less); });
        std::sort(mid, items.end(), less);
        worker.join();
        std::inplace_merge(items.begin(), mid, items.end(), less);
    } else {
        std::sort(items.begin(), items.end(), less);
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
        indexProblem_ = indexState_ == IndexState::Missing ? "The index file is missing: " + cdxPath_ : std::string();
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

int Table::orderCount() const {
    return int((cdx_ ? cdx_->tags().size() : 0) + idx_.size());
}

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
        const char* base = file_->view(headerLength_, uint64_t(recCount_) * len);
        std::string copy;
        if (!base) {  // not mappable: read the records once
            copy.resize(size_t(recCount_) * len);
            Status s = file_->read(headerLength_, &copy[0], copy.size());
            if (!s.ok()) return s;
            base = copy.data();
        }
        // Two halves of the records, evaluated side by side with their own expressions.
        const uint32_t mid = recCount_ > 20000 ? recCount_ / 2 : recCount_;
        KeyBatch low, high;
        std::unique_ptr<Expression> key2, cond2;
        std::thread worker;
        if (mid < recCount_) {
            Status s = compile(tag->tree->keyExpression(), &key2);
            if (s.ok() && tag->condition) s = compile(tag->tree->forExpression(), &cond2);
            if (!s.ok()) return s;
            worker = std::thread(collectKeys, std::cref(*tag), key2.get(), cond2.get(), base, len, mid + 1, recCount_,
                                 exact_, memoSource(), &high);
        }
        collectKeys(*tag, tag->key.get(), tag->condition.get(), base, len, 1, mid, exact_, memoSource(), &low);
        if (worker.joinable()) worker.join();
        if (progress) progress(50);
        low.keys += high.keys;
        low.recNos.insert(low.recNos.end(), high.recNos.begin(), high.recNos.end());
        const std::vector<uint32_t> order = sortedOrder(low.keys, low.recNos, size_t(tag->tree->keyLength()), true);
        if (progress) progress(80);
        Status s = tag->tree->build(low.keys, low.recNos, order, tag->tree->keyLength());
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
    if (s.ok()) s = tag->file->clean();
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
                    return Status::Corruption("Tag " + tag->name + " lacks the key of record " + std::to_string(r));
                }
            }
        }
        if (entries != expected) {
            return Status::Corruption("Tag " + tag->name + " holds " + std::to_string(entries) + " keys for " +
                                      std::to_string(expected) + " records");
        }
    }
    return Status::OK();
}

}  // namespace xbase
