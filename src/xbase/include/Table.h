#pragma once

#include <cstdint>
#include <functional>
#include <memory>
#include <string>
#include <string_view>
#include <vector>

#include "Expression.h"
#include "Field.h"
#include "File.h"
#include "FileSystem.h"
#include "Status.h"

namespace xbase {

class CodePage;
class IndexFile;
class MemoFile;
struct Tag;

// Called with the percentage done (0..100) while a long operation runs.
using ProgressHook = std::function<void(int percent)>;

// The state of a table's structural index as found at open.
enum class IndexState {
    None,     // no structural index, none expected
    Ok,       // opened
    Missing,  // the header says there is one, but the file is gone
    Damaged,  // the file is there but cannot be used: see indexProblem()
};

// What the size of a table file says about the record count in its header. A file
// holds its header, the records the header counts and, after them, an optional
// end-of-file byte 0x1A; whatever follows that byte is not records. The unfinished
// append of a blank record (part or all of one, written before the count) is not a
// record either.
struct RecordCount {
    uint32_t header = 0;   // the records the header counts
    uint32_t whole = 0;    // the whole records the file holds
    uint32_t partial = 0;  // bytes of a record cut short after them (0: none)
    bool sound = true;     // the header counts what the file holds

    // The count recovered from the size: every record the file holds, the one cut
    // short included.
    uint32_t recovered() const { return whole + (partial ? 1 : 0); }
    // "the header counts 0 records, but the file holds 31" and the like.
    std::string describe() const;
};

// What a new table is made of. Field offsets are computed; names are upper-cased.
struct TableSpec {
    std::vector<FieldDef> fields;  // types C, N, L, D, M
    uint8_t codePageMark = 0x03;   // Windows-1252
};

// One open xBase table with a cursor on a current record.
//
// The current record is held in a buffer: replace() changes the buffer and the
// change reaches the file when the cursor moves, on commit() and on close(). A
// commit that fails drops the change: the buffer is again the record as stored.
// Appends write the record before the header's count, so after any crash the
// header never counts a record that is not in the file.
//
// A change to an index that fails part way leaves the index file marked as open for
// writing, so that the next open finds it Damaged and offers a rebuild instead of
// trusting it; the table's own records are never touched by index trouble.
//
// Visibility: navigation (goTop, goBottom, skip) visits only records that pass the
// query and, while setDeleted(true), are not marked deleted. go() positions on any
// record. A Table is used from one thread at a time.
//
// A table's files (table, memo, indexes, the temporary file of a pack) are made and
// opened through the FileSystem given to create() or open(); null means the real one.
//
// The memo file and the structural index are the files named like the table with
// another extension. Files come from systems that ignore letter case, so one whose name
// differs in case is taken too, but only when no other table in the folder has a
// better claim to it (its name in that case), and a structural index only when the
// table's header says it has one. No operation deletes, empties or replaces a file
// that is not the table's own.
class Table {
public:
    // Creates the table file and, when a field is a memo, its memo file. Neither may
    // exist yet: a file in the way is left as it is and the result is InvalidArgument.
    static Status create(const std::string& path, const TableSpec& design, FileSystem* fs = nullptr);
    // Opens a table and its memo file. Exclusive opens hold an OS lock: a second
    // open of the same file, in this process or another, gives Locked. A table whose
    // header's record count disagrees with its size does not open (Corruption, "Table
    // record count is damaged (...)"): recoverRecordCount() first.
    static Status open(const std::string& path, OpenMode mode, std::unique_ptr<Table>* out,
                       FileSystem* fs = nullptr);
    // Reads the header and the size of the table at `path` without opening it for use;
    // Corruption when it is no table at all.
    static Status checkRecordCount(const std::string& path, RecordCount* out, FileSystem* fs = nullptr);
    // Makes the header count every record the file holds (RecordCount::recovered()); a
    // record cut short keeps its bytes and gets blanks for the rest. No byte of a record
    // is dropped. The structural index, built for the old count, is marked as not closed
    // properly, so that the next open finds it Damaged. `found` gets the count as it
    // was; a sound table is left alone.
    static Status recoverRecordCount(const std::string& path, RecordCount* found = nullptr,
                                     FileSystem* fs = nullptr);

    ~Table();  // commits a pending change, ignoring errors: call close() to see them
    Table(const Table&) = delete;
    Table& operator=(const Table&) = delete;

    Status close();

    // Structure.
    const std::string& path() const;
    uint8_t version() const { return version_; }
    uint8_t codePageMark() const { return codePageMark_; }
    const CodePage& codePage() const { return *codePage_; }
    uint8_t tableFlags() const { return tableFlags_; }
    bool readOnly() const;
    const RecordLayout& layout() const { return layout_; }
    int fieldCount() const { return layout_.fieldCount(); }
    const FieldDef& field(int index) const { return layout_.field(index); }
    int fieldIndex(std::string_view name) const { return layout_.fieldIndex(name); }
    const std::string& memoPath() const;  // empty without a memo file

    // Navigation in natural (record number) order.
    uint32_t recCount() const { return recCount_; }
    uint32_t recNo() const { return recNo_; }  // recCount() + 1 at end of file
    bool eof() const { return eof_; }
    bool bof() const { return bof_; }
    Status goTop();
    Status goBottom();
    Status skip(int64_t n = 1);
    Status go(uint32_t recNo);

    // Reading the current record (a blank record at end of file). Values are raw
    // bytes in the table's code page.
    const char* recordBytes() const { return record_.data(); }
    std::string getString(int field) const;      // the stored bytes (memo: its text)
    std::string getTrimString(int field) const;  // without trailing blanks
    // The memo's text; Corruption naming the memo file when it cannot be read.
    // getString() gives such a memo as empty text, so readers that show or copy a memo
    // use getMemo().
    Status getMemo(int field, std::string* out) const;
    bool empty(int field) const;  // a memo that cannot be read is not empty
    bool getLogical(int field) const;

    // Writing the current record.
    // C: the text, cut to the width. N: a number, written right-aligned with the
    // field's decimals (a value that does not fit is an error, never asterisks).
    // L: T/Y/F/N or empty. D: YYYYMMDD or empty. M: the memo text.
    Status replace(int field, std::string_view value);
    Status replaceLogical(int field, bool value);
    Status appendBlank();
    Status commit();

    // Bulk changes (IndexBatch wraps them). Between beginBatch() and endBatch() the
    // index pages that changes touch are kept in memory and written once, in file
    // order, at the end (in parts when they grow past some 32 MB per index file);
    // navigation and seeks see them meanwhile. The index files are marked as open for
    // writing before the first change and stay so for the whole batch, so that after a
    // crash part way they are found Damaged and offered for rebuild, never trusted.
    // Records reach the table file as they always do. Batches nest; the outermost
    // endBatch() writes. Its failure is returned and leaves the indexes marked.
    // Outside a batch every change is written at once.
    Status beginBatch();
    Status endBatch();
    bool inBatch() const { return batchDepth_ > 0; }

    // Appending many records at once (imports, copies). A record image is a whole
    // record's bytes, deletion byte first: blankRecord() gives one with every field
    // empty, putField() fills a field of an image by the rules of replace() (a memo's
    // text goes to the memo file at once), and appendRecords() adds images at the end.
    std::string blankRecord() const;
    Status putField(std::string* record, int field, std::string_view value);
    static void markRecordDeleted(std::string* record, bool deleted);
    // Appends record images laid one after another (a whole number of records). With
    // no order open they reach the file in one write, with the end-of-file mark, and
    // the header's count follows: a failed write leaves the table counting the
    // records it had, and the bytes past them are cut off again. With orders open each
    // image is appended as appendBlank() and commit() would, keys included. Pending
    // changes are committed first; the cursor is left at end of file.
    Status appendRecords(std::string_view records);

    // Deletion marks.
    Status deleteRecord();
    Status recall();
    bool deleted() const { return !eof_ && record_[0] == '*'; }
    void setDeleted(bool hide) {
        if (hide != hideDeleted_) countValid_ = false;
        hideDeleted_ = hide;
    }
    bool hidesDeleted() const { return hideDeleted_; }

    // Removes every record marked deleted; record numbers close up. The table file
    // is rebuilt beside the old one and replaces it only when complete.
    Status pack(const ProgressHook& progress = nullptr);
    Status zap();
    // Creates an empty table at `path` with this table's fields and code page.
    Status copyStructure(const std::string& path) const;

    // Queries: an expression that navigation honours; empty clears it.
    Status query(std::string_view expression);
    const std::string& queryText() const { return queryText_; }
    // The exact number of records that navigation would visit. Kept until a write, a
    // new query or another setting changes what is visible, so asking again is free.
    uint32_t queryRecCount();

    void setExact(bool exact) {
        if (exact != exact_) countValid_ = false;
        exact_ = exact;
    }
    bool exact() const { return exact_; }

    // Indexes. Orders are numbered from 1: the tags of the structural CDX (the file
    // beside the table with its base name) in the order they were created, then the
    // IDX files created or opened, in that order. Order 0 is natural order. Every
    // order is kept up to date through append, replace, delete, recall, pack and zap.
    // An index found damaged while it is read (a page that cannot hold what it says,
    // a broken leaf chain, a record number outside the table) is reported as
    // Corruption by the call that read it; the index file is then marked as not closed
    // properly and closed, and the state becomes Damaged, as when it is found so at open.
    IndexState indexState() const { return indexState_; }
    const std::string& indexProblem() const { return indexProblem_; }
    // Creates a tag in the structural index (making the file when there is none), or
    // rebuilds the tag of that name from the new expression. Character, numeric, date
    // and logical keys; `forExpr` leaves out the records for which it does not hold.
    // Reports 0..100 while it builds.
    Status indexTag(const std::string& tag, std::string_view keyExpr, std::string_view forExpr = {},
                    const ProgressHook& progress = nullptr);
    int orderCount() const;
    int tagArea(std::string_view tag) const;  // the order number of a tag; 0 when absent
    Status setOrder(int order);               // does not move the cursor
    int indexOrd() const { return order_; }
    std::string tagName(int order) const;  // empty for 0 or an unknown order
    std::string tagExpression(int order) const;
    std::string tagCondition(int order) const;
    std::string indexName(int order) const;  // the path of the file that holds the order
    // Closes the structural index and every IDX file; natural order afterwards.
    Status closeIndexes();
    // The table's structural index file: the one found at open, else the name a new
    // one gets (the table's name with CDX in the letter case of its extension).
    const std::string& structuralIndexFile() const { return cdxPath_; }
    // Closes every index and deletes the table's own structural index file (nothing
    // else); indexTag() makes a new one.
    Status removeStructuralIndex();
    // Checks every order's tree against itself (key order, parent keys, links) and its
    // entry count against the records: for tests and the repair path.
    Status verifyIndexes();

    // Seeks `value` in the current order: with exact matching off a key matches when
    // it begins with the value. Lands on the first visible match; without one, on the
    // next greater key when soft seek is on, else at end of file.
    Status seek(std::string_view value, bool* found = nullptr);
    bool found() const { return found_; }
    void setSoftSeek(bool on) { softSeek_ = on; }
    bool softSeek() const { return softSeek_; }
    // Limits navigation in the current order to keys that begin at or after `top` and
    // at or before `bottom` (compared over their lengths); empty means open.
    Status setScope(std::string_view top, std::string_view bottom);

    // A new empty single-order IDX file whose keys are added one by one with keyAdd();
    // *order is its order number. A file of exactly that name (a temporary index left
    // from before) is replaced unless another opener holds it; names that differ in
    // letter case are other files and stay as they are.
    Status createIdx(const std::string& path, std::string_view keyExpr, int* order);
    Status openIdx(const std::string& path, int* order);
    Status closeIdx(int order);
    // Adds the current record's key to the current order, which must be an IDX file.
    Status keyAdd();

    // Evaluating an expression on the current record.
    Status evalLogical(std::string_view expression, bool* out);
    Status evalString(std::string_view expression, std::string* out);
    Status evalTest(std::string_view expression, ValueType* type) const;
    Status compile(std::string_view expression, std::unique_ptr<Expression>* out) const;
    EvalContext evalContext() const;

private:
    class Memos;
    Table();
    // Opens the table file and reads its header, without the record count check.
    static Status openFile(const std::string& path, OpenMode mode, FileSystem* fs, std::unique_ptr<Table>* out);
    Status load(std::unique_ptr<File> file);
    // The header's count (recCount_) against what the file holds.
    Status measureRecords(RecordCount* out);
    // Whether the `length` bytes from `offset`, a record boundary, are blank records
    // (the last may be cut short).
    Status blankRecordsFrom(uint64_t offset, uint64_t length, bool* blank) const;
    // An index read failed with `s`: a damaged index file is marked and closed.
    void indexFailed(const Tag* tag, const Status& s);
    Status openMemo(OpenMode mode);
    Status readRecord(uint32_t recNo);
    void setEof();
    bool visible(uint32_t recNo, const char* bytes) const;
    // First visible record at or after `from` stepping by `dir` (+1/-1); 0 if none.
    uint32_t scan(uint32_t from, int dir);
    const char* recordView(uint32_t recNo);
    Status writeHeaderCount();
    uint32_t countVisible();
    // The visible records among first..last in natural order for which `query` (null:
    // every one) holds, read block by block.
    Status countRange(const Expression* query, uint32_t first, uint32_t last, uint32_t* out) const;
    // The visible record after (dir +1) or before (dir -1) record `from` in the current
    // order; from 0 starts at the top (+1) or the bottom (-1). *out = 0 when none.
    Status step(uint32_t from, int dir, uint32_t* out);
    Status stepOrdered(Tag* tag, uint32_t from, int dir, uint32_t* out);
    Tag* currentTag() const;
    Tag* orderAt(int order) const;  // null for 0 or an unknown order
    const MemoSource* memoSource() const;
    std::vector<Tag*> orders() const;
    Status openStructuralIndex(OpenMode mode);
    Status updateIndexes();
    Status buildTags(const std::vector<Tag*>& tags, const ProgressHook& progress);
    // Whether `expression` may name a memo field (its name appears in it): memo text
    // is read through the one memo file, which threads do not share.
    bool namesMemoField(const std::string& expression) const;
    Status touchIndexes();
    Status cleanIndexes();
    // After a change the indexes could not take: they keep their open-for-write mark.
    void damageIndexes();
    Status requireWritable() const;
    Status requireRecord() const;
    Status setDeletionMark(char mark);
    uint32_t memoRef(const FieldDef& f, const char* rec) const;
    void putMemoRef(const FieldDef& f, char* rec, uint32_t block) const;

    FileSystem* fs_ = nullptr;
    std::unique_ptr<File> file_;
    std::unique_ptr<MemoFile> memo_;
    std::unique_ptr<Memos> memoSource_;
    const CodePage* codePage_ = nullptr;
    RecordLayout layout_;
    uint8_t version_ = 0;
    uint8_t codePageMark_ = 0;
    uint8_t tableFlags_ = 0;
    uint32_t headerLength_ = 0;
    uint32_t recCount_ = 0;

    std::string record_;       // current record, recordLength() bytes
    std::string savedRecord_;  // the current record as the file and the indexes hold it
    bool newRecord_ = false;   // appended, keys not yet in the indexes
    uint32_t recNo_ = 0;
    bool eof_ = true;
    bool bof_ = true;
    bool dirty_ = false;

    bool hideDeleted_ = false;
    bool exact_ = false;
    std::string queryText_;
    std::unique_ptr<Expression> query_;

    std::unique_ptr<IndexFile> cdx_;
    std::vector<std::unique_ptr<IndexFile>> idx_;
    IndexState indexState_ = IndexState::None;
    std::string indexProblem_;
    std::string cdxPath_;
    int order_ = 0;
    // Where the last ordered step stopped, so that the next step need not search the
    // tree again; valid while the tag and its generation are unchanged.
    struct OrderCursor {
        const Tag* tag = nullptr;
        uint64_t generation = 0;
        uint32_t recNo = 0;
        uint32_t leaf = 0;
        int index = -1;
    } cursor_;
    bool softSeek_ = false;
    bool found_ = false;
    // queryRecCount()'s last answer, while nothing has changed since.
    uint32_t count_ = 0;
    bool countValid_ = false;
    int batchDepth_ = 0;
    std::vector<IndexFile*> batched_;  // the index files the open batch holds pages of
};

// A batch of bulk changes for the life of a scope: begun at construction, ended by
// finish() (which reports the write of the held index pages) or else, its result
// ignored, by the destructor. It must not outlive its table.
class IndexBatch {
public:
    explicit IndexBatch(Table& table) : table_(&table), begun_(table.beginBatch()) {}
    ~IndexBatch() { (void)finish(); }
    IndexBatch(const IndexBatch&) = delete;
    IndexBatch& operator=(const IndexBatch&) = delete;

    // Why the batch could not begin (the changes then go to the indexes one by one).
    const Status& begun() const { return begun_; }
    Status finish() {
        if (!table_) return Status::OK();
        Table* t = table_;
        table_ = nullptr;
        return begun_.ok() ? t->endBatch() : begun_;
    }

private:
    Table* table_;
    Status begun_;
};

// Today's date as the three header bytes (year mod 100, month, day).
void todayHeaderDate(char out[3]);

}  // namespace xbase
