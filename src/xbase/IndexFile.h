#pragma once

// Index files of a table: the structural CDX (a directory of tags) and single-order
// IDX files. Private to the engine; Table is the way in.

#include <memory>
#include <string>
#include <vector>

#include "CompactTree.h"
#include "Expression.h"
#include "File.h"
#include "FileSystem.h"
#include "Status.h"

namespace xbase {

class IndexFile;

// One order: a tree with its key expression and optional FOR condition.
struct Tag {
    std::string name;  // upper case; for an IDX file, its base name
    IndexFile* file = nullptr;
    std::unique_ptr<CompactTree> tree;
    std::unique_ptr<Expression> key;
    std::unique_ptr<Expression> condition;  // FOR, or null
    char keyType = 'C';                     // C N D L
    bool usable = false;                    // the key can be computed here
    std::string problem;                    // why not
    std::string scopeTop, scopeBottom;      // encoded key prefixes, empty = open

    // The key of a record; false when the FOR condition leaves the record out.
    bool makeKey(const EvalContext& ctx, std::string* out) const;
    // A search value typed by a user turned into key bytes: text as is (cut to the
    // key length), numbers and YYYYMMDD dates encoded. False when it is not a value
    // of the key's type.
    bool encodeSearch(std::string_view value, std::string* out) const;
    char padByte() const { return keyType == 'C' ? ' ' : '\0'; }
};

class IndexFile {
public:
    enum class Kind { Cdx, Idx };

    // Opens an index file and compiles its expressions against `layout`.
    static Status open(FileSystem& fs, const std::string& path, Kind kind, OpenMode mode, const RecordLayout& layout,
                       uint8_t codePageMark, std::unique_ptr<IndexFile>* out);
    // A new CDX with an empty directory, or a new IDX with one empty order.
    static Status createCdx(FileSystem& fs, const std::string& path, const RecordLayout& layout, uint8_t codePageMark,
                            std::unique_ptr<IndexFile>* out);
    static Status createIdx(FileSystem& fs, const std::string& path, std::string_view keyExpr,
                            const RecordLayout& layout, uint8_t codePageMark, std::unique_ptr<IndexFile>* out);

    // Sets the open-for-write mark of the index file at `path` without reading it, so
    // that the next open finds it Damaged: for an index that no longer fits its table.
    static Status markNotClosed(FileSystem& fs, const std::string& path);

    ~IndexFile();

    Kind kind() const { return kind_; }
    const std::string& path() const { return file_->path(); }
    // Tags in the order they were created (by header position).
    const std::vector<std::unique_ptr<Tag>>& tags() const { return tags_; }
    Tag* findTag(std::string_view name) const;

    // Adds a tag, or replaces the definition of the tag of that name, leaving it
    // empty: the caller builds it. `*tag` is the tag.
    Status defineTag(const std::string& name, std::string_view keyExpr, std::string_view forExpr, Tag** tag);

    // Marks the file as being changed (see the open-for-write mark) before the first
    // change; clean() removes the mark once all changes are written. A new file is
    // marked from the start. After a change failed part way (see PageStore::damaged)
    // clean() leaves the mark, so that the next open finds the file damaged.
    Status touch();
    Status clean();
    // Bulk changes: the file is marked (touch) and its changed pages are held in
    // memory until endBatch() writes them (see PageStore); batches nest. clean()
    // writes what is held first.
    Status beginBatch();
    Status endBatch();
    // For a change that failed outside the trees (keys that could not go in): marks
    // the file damaged and tries to set its mark if it is not set yet.
    void markDamaged();

private:
    IndexFile(std::unique_ptr<File> file, Kind kind, const RecordLayout& layout, uint8_t codePageMark);
    static Status writeNewHeader(File* file);
    Status loadTag(const std::string& name, uint32_t headerOffset, std::unique_ptr<Tag>* out);
    Status writeTag(const std::string& name, std::string_view keyExpr, std::string_view forExpr, int keyLength,
                    ValueType keyType, Tag** out);
    Status compileTag(Tag* tag) const;

    std::unique_ptr<File> file_;
    Kind kind_;
    const RecordLayout& layout_;
    uint8_t codePageMark_;
    PageStore store_;
    std::unique_ptr<CompactTree> directory_;  // CDX only
    std::vector<std::unique_ptr<Tag>> tags_;
    bool touched_ = false;
};

// Key encodings shared by the index code.
std::string encodeNumberKey(double value);
// Julian day number of a YYYYMMDD date; 0 for a blank or invalid date.
double julianDay(std::string_view yyyymmdd);

}  // namespace xbase
