#include "IndexFile.h"

#include <algorithm>
#include <charconv>
#include <cmath>
#include <cstring>

#include "CdxFormat.h"

namespace xbase {

std::string encodeNumberKey(double value) {
    if (value == 0.0) value = 0.0;  // -0 sorts as +0
    uint64_t bits;
    std::memcpy(&bits, &value, 8);
    bits = (bits >> 63) ? ~bits : (bits | (uint64_t(1) << 63));
    std::string key(8, '\0');
    for (int i = 0; i < 8; ++i) key[size_t(i)] = char((bits >> (56 - 8 * i)) & 0xFF);
    return key;
}

double julianDay(std::string_view d) {
    if (d.size() != 8 || d.find_first_not_of("0123456789") != std::string_view::npos) return 0.0;
    const int y = (d[0] - '0') * 1000 + (d[1] - '0') * 100 + (d[2] - '0') * 10 + (d[3] - '0');
    const int m = (d[4] - '0') * 10 + (d[5] - '0');
    const int day = (d[6] - '0') * 10 + (d[7] - '0');
    if (m < 1 || m > 12 || day < 1 || day > 31) return 0.0;
    const int a = (14 - m) / 12, yy = y + 4800 - a, mm = m + 12 * a - 3;
    return double(day + (153 * mm + 2) / 5 + 365 * yy + yy / 4 - yy / 100 + yy / 400 - 32045);
}

bool Tag::makeKey(const EvalContext& ctx, std::string* out) const {
    if (condition && !condition->evalLogical(ctx)) return false;
    const size_t klen = size_t(tree->keyLength());
    switch (keyType) {
        case 'N':
            *out = encodeNumberKey(key->evalNumeric(ctx));
            break;
        case 'D':
            *out = encodeNumberKey(julianDay(key->evalString(ctx)));
            break;
        case 'L':
            *out = key->evalLogical(ctx) ? "T" : "F";
            break;
        default:
            *out = key->evalString(ctx);
            break;
    }
    out->resize(klen, padByte());
    return true;
}

bool Tag::encodeSearch(std::string_view value, std::string* out) const {
    switch (keyType) {
        case 'N': {
            std::string t(value);
            t.erase(0, t.find_first_not_of(' '));
            t.erase(t.find_last_not_of(' ') + 1);
            double v = 0;
            auto r = std::from_chars(t.data(), t.data() + t.size(), v);
            if (t.empty() || r.ec != std::errc() || r.ptr != t.data() + t.size()) return false;
            *out = encodeNumberKey(v);
            return true;
        }
        case 'D':
            *out = encodeNumberKey(julianDay(value));
            return true;
        case 'L':
            if (value.empty()) return false;
            *out = (value[0] == 'T' || value[0] == 't' || value[0] == 'Y' || value[0] == 'y') ? "T" : "F";
            return true;
        default:
            *out = std::string(value.substr(0, size_t(tree->keyLength())));
            return true;
    }
}

// The first header of a new file, marked as open for writing until it is complete.
Status IndexFile::writeNewHeader(File* file) {
    std::string header(cdx::kHeaderSize, '\0');
    header[cdx::kOffOpenForWrite] = 1;
    return file->write(0, header.data(), header.size());
}

Status IndexFile::markNotClosed(FileSystem& fs, const std::string& path) {
    std::unique_ptr<File> file;
    Status s = fs.open(path, OpenMode::Exclusive, &file);
    if (!s.ok()) return s;
    if (file->size() <= cdx::kOffOpenForWrite) return Status::OK();  // no index: it will not open anyway
    const char mark = 1;
    s = file->write(cdx::kOffOpenForWrite, &mark, 1);
    return s.ok() ? file->sync() : s;
}

IndexFile::IndexFile(std::unique_ptr<File> file, Kind kind, const RecordLayout& layout, uint8_t codePageMark)
    : file_(std::move(file)),
      kind_(kind),
      layout_(layout),
      codePageMark_(codePageMark),
      store_(file_.get(), 0) {}

IndexFile::~IndexFile() { (void)clean(); }

Status IndexFile::compileTag(Tag* tag) const {
    tag->usable = false;
    tag->key.reset();
    tag->condition.reset();
    Status s = Expression::compile(tag->tree->keyExpression(), layout_, codePageMark_, &tag->key);
    if (!s.ok()) {
        tag->problem = "Tag " + tag->name + ": " + s.message();
        return Status::OK();
    }
    switch (tag->key->type()) {
        case ValueType::Numeric:
            tag->keyType = 'N';
            break;
        case ValueType::Date:
            tag->keyType = 'D';
            break;
        case ValueType::Logical:
            tag->keyType = 'L';
            break;
        default:
            tag->keyType = 'C';
            break;
    }
    const int klen = tag->tree->keyLength();
    if ((tag->keyType == 'N' || tag->keyType == 'D') && klen != 8) {
        tag->problem =
            "Tag " + tag->name + ": numeric keys of length " + std::to_string(klen) + " are not supported";
        return Status::OK();
    }
    if (!tag->tree->forExpression().empty()) {
        s = Expression::compile(tag->tree->forExpression(), layout_, codePageMark_, &tag->condition);
        if (!s.ok() || tag->condition->type() != ValueType::Logical) {
            tag->problem = "Tag " + tag->name + ": bad FOR condition";
            return Status::OK();
        }
    }
    tag->usable = true;
    tag->problem.clear();
    return Status::OK();
}

Status IndexFile::loadTag(const std::string& name, uint32_t headerOffset, std::unique_ptr<Tag>* out) {
    auto tag = std::make_unique<Tag>();
    tag->name = name;
    tag->file = this;
    tag->tree = std::make_unique<CompactTree>(&store_, headerOffset);
    Status s = tag->tree->load(' ');
    if (!s.ok()) return s;
    s = compileTag(tag.get());
    if (!s.ok()) return s;
    s = tag->tree->load(tag->padByte());  // decode keys with the right padding
    if (!s.ok()) return s;
    *out = std::move(tag);
    return Status::OK();
}

Status IndexFile::open(FileSystem& fs, const std::string& path, Kind kind, OpenMode mode,
                       const RecordLayout& layout, uint8_t codePageMark, std::unique_ptr<IndexFile>* out) {
    std::unique_ptr<File> file;
    Status s = fs.open(path, mode, &file);
    if (!s.ok()) return s;
    if (file->size() < cdx::kHeaderSize + cdx::kPageSize) {
        return Status::Corruption("The index file is damaged (too small): " + path);
    }
    std::unique_ptr<IndexFile> index(new IndexFile(std::move(file), kind, layout, codePageMark));
    char mark;
    s = index->file_->read(cdx::kOffOpenForWrite, &mark, 1);
    if (!s.ok()) return s;
    if (mark == 1) return Status::Corruption("The index file was not closed properly: " + path);

    if (kind == Kind::Idx) {
        std::string name = path.substr(path.rfind('/') + 1);
        name = asciiUpper(name.substr(0, name.rfind('.')));
        std::unique_ptr<Tag> tag;
        s = index->loadTag(name, 0, &tag);
        if (!s.ok()) return s;
        index->tags_.push_back(std::move(tag));
        *out = std::move(index);
        return Status::OK();
    }

    index->directory_ = std::make_unique<CompactTree>(&index->store_, 0);
    s = index->directory_->load(' ');
    if (!s.ok()) return s;
    std::vector<std::pair<uint32_t, std::string>> entries;
    CompactTree::Position pos;
    s = index->directory_->first(&pos);
    while (s.ok() && pos.valid()) {
        std::string name = index->directory_->keyAt(pos);
        while (!name.empty() && (name.back() == ' ' || name.back() == '\0')) name.pop_back();
        entries.emplace_back(index->directory_->recNoAt(pos), asciiUpper(name));
        if (entries.size() > 10000)
            return Status::Corruption("The index file is damaged (tag list): " + path);
        s = index->directory_->next(&pos);
    }
    if (!s.ok()) return s;
    std::sort(entries.begin(), entries.end());
    for (const auto& [offset, name] : entries) {
        std::unique_ptr<Tag> tag;
        s = index->loadTag(name, offset, &tag);
        if (!s.ok()) return s;
        index->tags_.push_back(std::move(tag));
    }
    *out = std::move(index);
    return Status::OK();
}

Status IndexFile::createCdx(FileSystem& fs, const std::string& path, const RecordLayout& layout,
                            uint8_t codePageMark, std::unique_ptr<IndexFile>* out) {
    std::unique_ptr<File> file;
    Status s = fs.create(path, &file);
    if (!s.ok()) return s;
    s = writeNewHeader(file.get());
    if (!s.ok()) return s;
    std::unique_ptr<IndexFile> index(new IndexFile(std::move(file), Kind::Cdx, layout, codePageMark));
    index->touched_ = true;
    s = CompactTree::create(&index->store_, 0, cdx::kTagNameLength, cdx::kOptCompound | cdx::kOptStructure,
                            "", "", ' ');
    if (!s.ok()) return s;
    index->directory_ = std::make_unique<CompactTree>(&index->store_, 0);
    s = index->directory_->load(' ');
    if (!s.ok()) return s;
    *out = std::move(index);
    return Status::OK();
}

Status IndexFile::createIdx(FileSystem& fs, const std::string& path, std::string_view keyExpr,
                            const RecordLayout& layout, uint8_t codePageMark,
                            std::unique_ptr<IndexFile>* out) {
    std::unique_ptr<File> file;
    Status s = fs.create(path, &file);
    if (!s.ok()) return s;
    s = writeNewHeader(file.get());
    if (!s.ok()) return s;
    std::unique_ptr<IndexFile> index(new IndexFile(std::move(file), Kind::Idx, layout, codePageMark));
    index->touched_ = true;
    std::string name = path.substr(path.rfind('/') + 1);
    name = asciiUpper(name.substr(0, name.rfind('.')));
    Tag* tag;
    s = index->defineTag(name, keyExpr, "", &tag);
    if (!s.ok()) return s;
    *out = std::move(index);
    return Status::OK();
}

Tag* IndexFile::findTag(std::string_view name) const {
    const std::string upper = asciiUpper(name);
    for (const auto& t : tags_) {
        if (t->name == upper) return t.get();
    }
    return nullptr;
}

Status IndexFile::defineTag(const std::string& rawName, std::string_view keyExpr, std::string_view forExpr,
                            Tag** out) {
    const std::string name = asciiUpper(rawName);
    if (kind_ == Kind::Cdx && (name.empty() || name.size() > size_t(cdx::kTagNameLength))) {
        return Status::InvalidArgument("A tag name has 1 to 10 characters: \"" + rawName + "\"");
    }
    std::unique_ptr<Expression> key, condition;
    Status s = Expression::compile(keyExpr, layout_, codePageMark_, &key);
    if (!s.ok()) return s;
    if (!forExpr.empty()) {
        s = Expression::compile(forExpr, layout_, codePageMark_, &condition);
        if (!s.ok()) return s;
        if (condition->type() != ValueType::Logical)
            return Status::InvalidArgument("A FOR condition must be logical");
    }
    int keyLength = key->resultWidth();
    if (key->type() == ValueType::Numeric || key->type() == ValueType::Date) keyLength = 8;
    if (key->type() == ValueType::Logical) keyLength = 1;
    if (keyLength < 1 || keyLength > cdx::kMaxKeyLength) {
        return Status::InvalidArgument("The index key of \"" + std::string(keyExpr) + "\" is " +
                                       std::to_string(keyLength) + " characters long (1 to 240 allowed)");
    }
    s = CompactTree::checkDescription(keyLength, std::string(keyExpr), std::string(forExpr));
    if (!s.ok()) return s;
    s = touch();
    if (!s.ok()) return s;
    // From here on a failure may leave the file half changed.
    s = writeTag(name, keyExpr, forExpr, keyLength, key->type(), out);
    if (!s.ok()) store_.markDamaged();
    return s;
}

Status IndexFile::writeTag(const std::string& name, std::string_view keyExpr, std::string_view forExpr,
                           int keyLength, ValueType keyType, Tag** out) {
    Status s;
    const uint8_t options = kind_ == Kind::Cdx ? cdx::kOptCompound : 0;
    Tag* tag = findTag(name);
    if (tag) {
        s = tag->tree->build(std::vector<IndexEntry>(), tag->tree->keyLength());  // frees the old tree
        if (s.ok()) s = tag->tree->describe(keyLength, options, std::string(keyExpr), std::string(forExpr));
        if (!s.ok()) return s;
    } else {
        uint32_t header = 0;
        if (kind_ == Kind::Cdx) {
            s = store_.allocateAtEnd(2, &header);
            if (!s.ok()) return s;
        }
        s = CompactTree::create(&store_, header, keyLength, options, std::string(keyExpr),
                                std::string(forExpr), keyType == ValueType::Character ? ' ' : '\0');
        if (!s.ok()) return s;
        if (kind_ == Kind::Cdx) {
            std::string dirKey = name;
            dirKey.resize(size_t(cdx::kTagNameLength), ' ');
            s = directory_->insert(dirKey, header);
            if (!s.ok()) return s;
        }
        auto created = std::make_unique<Tag>();
        created->name = name;
        created->file = this;
        created->tree = std::make_unique<CompactTree>(&store_, header);
        tag = created.get();
        tags_.push_back(std::move(created));
    }
    s = tag->tree->load(' ');
    if (s.ok()) s = compileTag(tag);
    if (s.ok()) s = tag->tree->load(tag->padByte());
    if (!s.ok()) return s;
    tag->scopeTop.clear();
    tag->scopeBottom.clear();
    *out = tag;
    return Status::OK();
}

Status IndexFile::touch() {
    if (touched_) return Status::OK();
    const char mark = 1;
    Status s = store_.writeThrough(cdx::kOffOpenForWrite, &mark, 1);
    if (s.ok()) touched_ = true;
    return s;
}

void IndexFile::markDamaged() {
    store_.markDamaged();
    if (!touched_) (void)touch();
}

Status IndexFile::beginBatch() {
    Status s = touch();
    if (s.ok()) store_.beginBatch();
    return s;
}

Status IndexFile::endBatch() { return store_.endBatch(); }

Status IndexFile::clean() {
    // The pages a batch holds reach the file before the mark goes.
    Status s = store_.flush();
    // A file left half changed keeps its mark, so that it is rebuilt, not trusted;
    // should the mark not have been written yet, it is tried again.
    if (store_.damaged()) {
        Status t = touched_ ? Status::OK() : touch();
        return s.ok() ? t : s;
    }
    if (!touched_) return Status::OK();
    const char mark = 0;
    s = store_.writeThrough(cdx::kOffOpenForWrite, &mark, 1);
    if (s.ok()) touched_ = false;
    return s;
}

}  // namespace xbase
