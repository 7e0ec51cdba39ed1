#include "Table.h"

#include <algorithm>
#include <cctype>
#include <charconv>
#include <cmath>
#include <cstring>
#include <ctime>
#include <set>
#include <thread>

#include "CodePage.h"
#include "DbfFormat.h"
#include "IndexFile.h"
#include "Memo.h"
#include "TableFiles.h"

namespace xbase {

namespace {

// Records a scan reads at a time: large enough that the reads cost little, small
// enough that the block is still in the processor's cache when it is tested.
constexpr size_t kScanBlockBytes = 256 * 1024;

bool isBinaryType(char type) {
    return type == 'I' || type == 'T' || type == 'Y' || type == 'B' || type == '0';
}

std::string rtrim(std::string s) {
    size_t end = s.find_last_not_of(' ');
    s.erase(end == std::string::npos ? 0 : end + 1);
    return s;
}

std::string trimBoth(std::string_view s) {
    size_t b = s.find_first_not_of(' ');
    if (b == std::string_view::npos) return std::string();
    size_t e = s.find_last_not_of(' ');
    return std::string(s.substr(b, e - b + 1));
}

bool validFieldName(const std::string& name) {
    if (name.empty() || name.size() > 10) return false;
    if (!std::isalpha(static_cast<unsigned char>(name[0]))) return false;
    for (char c : name) {
        if (!std::isalnum(static_cast<unsigned char>(c)) && c != '_') return false;
    }
    return true;
}

Status checkSpecField(const FieldDef& f) {
    const std::string what = "Field " + f.name + ": ";
    if (!validFieldName(f.name)) return Status::InvalidArgument("Invalid field name \"" + f.name + "\"");
    switch (f.type) {
        case 'C':
            if (f.width < 1 || f.width > 254) return Status::InvalidArgument(what + "width must be 1 to 254");
            break;
        case 'N':
            if (f.width < 1 || f.width > 20) return Status::InvalidArgument(what + "width must be 1 to 20");
            if (f.decimals > 0 && f.decimals + 2 > f.width)
                return Status::InvalidArgument(what + "too many decimals");
            break;
        case 'L':
            if (f.width != 1) return Status::InvalidArgument(what + "logical fields have width 1");
            break;
        case 'D':
            if (f.width != 8) return Status::InvalidArgument(what + "date fields have width 8");
            break;
        case 'M':
            if (f.width != dbf::kMemoRefWidth)
                return Status::InvalidArgument(what + "memo fields have width 10");
            break;
        default:
            return Status::InvalidArgument(what + "unsupported type " + std::string(1, f.type));
    }
    return Status::OK();
}

std::string formatTimestamp(const char* p) {
    const uint32_t jdn = dbf::getU32(p);
    const uint32_t ms = dbf::getU32(p + 4);
    if (jdn == 0) return std::string();
    // Julian day number to the civil calendar.
    int64_t a = int64_t(jdn) + 32044;
    int64_t b = (4 * a + 3) / 146097;
    int64_t c = a - 146097 * b / 4;
    int64_t d = (4 * c + 3) / 1461;
    int64_t e = c - 1461 * d / 4;
    int64_t m = (5 * e + 2) / 153;
    int day = int(e - (153 * m + 2) / 5 + 1);
    int month = int(m + 3 - 12 * (m / 10));
    int year = int(100 * b + d - 4800 + m / 10);
    unsigned secs = ms / 1000;
    char buf[64];
    std::snprintf(buf, sizeof buf, "%04d-%02d-%02d %02u:%02u:%02u", year, month, day, secs / 3600,
                  secs / 60 % 60, secs % 60);
    return buf;
}

std::string formatDouble(double v) {
    char buf[64];
    auto res = std::to_chars(buf, buf + sizeof buf, v);
    return std::string(buf, res.ptr);
}

}  // namespace

// Lets expressions read memo fields of any record of this table.
class Table::Memos : public MemoSource {
  public:
    explicit Memos(const Table& t) : table_(t) {}
    std::string memoText(const FieldDef& f, const char* rec) const override {
        std::string text;
        uint32_t block = table_.memoRef(f, rec);
        if (block && table_.memo_) (void)table_.memo_->read(block, &text);
        return text;
    }

  private:
    const Table& table_;
};

void todayHeaderDate(char out[3]) {
    std::time_t now = std::time(nullptr);
    std::tm tm;
    localtime_r(&now, &tm);
    out[0] = static_cast<char>(tm.tm_year);  // years since 1900: 126 for 2026
    out[1] = static_cast<char>(tm.tm_mon + 1);
    out[2] = static_cast<char>(tm.tm_mday);
}

Table::Table() = default;

Table::~Table() { (void)commit(); }

Status Table::create(const std::string& path, const TableSpec& design, FileSystem* fs) {
    if (!fs) fs = &FileSystem::real();
    if (design.fields.empty()) return Status::InvalidArgument("A table needs at least one field");
    if (design.fields.size() > dbf::kMaxFields) return Status::InvalidArgument("Too many fields");
    const CodePage* cp;
    Status s = CodePage::forMark(design.codePageMark, &cp);
    if (!s.ok()) return s;

    std::vector<FieldDef> fields = design.fields;
    std::set<std::string> names;
    bool hasMemo = false;
    for (FieldDef& f : fields) {
        f.name = asciiUpper(f.name);
        if (f.type == 'M' && f.width == 0) f.width = dbf::kMemoRefWidth;
        if (f.type == 'L' && f.width == 0) f.width = 1;
        if (f.type == 'D' && f.width == 0) f.width = 8;
        s = checkSpecField(f);
        if (!s.ok()) return s;
        if (!names.insert(f.name).second) return Status::InvalidArgument("Duplicate field name " + f.name);
        hasMemo |= f.type == 'M';
    }
    RecordLayout layout(fields);
    if (layout.recordLength() > 65535) return Status::InvalidArgument("Record too long");

    const size_t headerLength = dbf::kHeaderSize + dbf::kDescriptorSize * fields.size() + 1;
    std::string header(headerLength + 1, '\0');
    header[0] = static_cast<char>(hasMemo ? dbf::kVersionFoxProMemo : dbf::kVersionNoMemo);
    todayHeaderDate(&header[1]);
    dbf::putU32(&header[dbf::kOffRecordCount], 0);
    dbf::putU16(&header[dbf::kOffHeaderLength], static_cast<uint16_t>(headerLength));
    dbf::putU16(&header[dbf::kOffRecordLength], static_cast<uint16_t>(layout.recordLength()));
    header[dbf::kOffCodePage] = static_cast<char>(design.codePageMark);
    for (size_t i = 0; i < fields.size(); ++i) {
        const FieldDef& f = layout.field(static_cast<int>(i));
        char* d = &header[dbf::kHeaderSize + i * dbf::kDescriptorSize];
        std::memcpy(d + dbf::kDescName, f.name.data(), f.name.size());
        d[dbf::kDescType] = f.type;
        dbf::putU32(d + dbf::kDescOffset, f.offset);
        d[dbf::kDescWidth] = static_cast<char>(f.width);
        d[dbf::kDescDecimals] = static_cast<char>(f.decimals);
    }
    header[headerLength - 1] = dbf::kTerminator;
    header[headerLength] = dbf::kEof;

    // A memo file of the new table's name must not be another's: it is looked for
    // first, so that nothing is made when it stands in the way.
    const std::string memoPath = withExtension(path, "FPT", "fpt");
    if (hasMemo && fs->exists(memoPath)) {
        return Status::InvalidArgument("A file of that name is in the way: " + memoPath);
    }
    std::unique_ptr<File> file;
    s = fs->createNew(path, &file);
    if (!s.ok()) return s;
    s = file->write(0, header.data(), header.size());
    if (s.ok() && hasMemo) {
        std::unique_ptr<MemoFile> memo;
        s = MemoFile::createFpt(*fs, memoPath, &memo);
    }
    if (s.ok()) s = file->sync();
    if (!s.ok()) {
        file.reset();
        (void)fs->remove(path);  // made just now, by this call
    }
    return s;
}

Status Table::openFile(const std::string& path, OpenMode mode, FileSystem* fs, std::unique_ptr<Table>* out) {
    if (!fs) fs = &FileSystem::real();
    std::unique_ptr<File> file;
    Status s = fs->open(path, mode, &file);
    if (!s.ok()) return s;
    std::unique_ptr<Table> table(new Table());
    table->fs_ = fs;
    s = table->load(std::move(file));
    if (!s.ok()) return s;
    *out = std::move(table);
    return Status::OK();
}

Status Table::open(const std::string& path, OpenMode mode, std::unique_ptr<Table>* out, FileSystem* fs) {
    std::unique_ptr<Table> table;
    Status s = openFile(path, mode, fs, &table);
    if (!s.ok()) return s;
    RecordCount count;
    s = table->measureRecords(&count);
    if (!s.ok()) return s;
    if (!count.sound) {
        return Status::Corruption("Table record count is damaged (" + count.describe() + "): " + path);
    }
    s = table->openMemo(mode);
    if (!s.ok()) return s;
    table->memoSource_ = std::make_unique<Memos>(*table);
    s = table->openStructuralIndex(mode);
    if (!s.ok()) return s;
    s = table->goTop();
    if (!s.ok()) return s;
    *out = std::move(table);
    return Status::OK();
}

Status Table::load(std::unique_ptr<File> file) {
    file_ = std::move(file);
    const std::string& path = file_->path();
    const uint64_t size = file_->size();
    if (size < dbf::kHeaderSize) return Status::Corruption("Not a table (file too small): " + path);
    char h[dbf::kHeaderSize];
    Status s = file_->read(0, h, sizeof h);
    if (!s.ok()) return s;

    version_ = static_cast<uint8_t>(h[0]);
    switch (version_) {
        case dbf::kVersionNoMemo:
        case dbf::kVersionFoxProMemo:
        case dbf::kVersionVisualFoxPro:
        case dbf::kVersionVisualFoxProAutoInc:
        case dbf::kVersionVisualFoxProVarchar:
        case dbf::kVersionDBase3Memo:
        case dbf::kVersionDBase4Memo:
        case dbf::kVersionDBase4MemoAlt:
        case dbf::kVersionFoxBase:
        case 0x04:  // dBase IV without memo
        case 0xFB:
            break;
        default:
            return Status::Corruption("Not a table (unknown version byte " + std::to_string(version_) +
                                      "): " + path);
    }
    headerLength_ = dbf::getU16(h + dbf::kOffHeaderLength);
    const uint32_t recordLength = dbf::getU16(h + dbf::kOffRecordLength);
    tableFlags_ = static_cast<uint8_t>(h[dbf::kOffFlags]);
    codePageMark_ = static_cast<uint8_t>(h[dbf::kOffCodePage]);
    if (headerLength_ < dbf::kHeaderSize + dbf::kDescriptorSize + 1 || headerLength_ > size) {
        return Status::Corruption("Table header is damaged (bad header length): " + path);
    }
    if (recordLength < 2) return Status::Corruption("Table header is damaged (bad record length): " + path);

    std::string desc(headerLength_ - dbf::kHeaderSize, '\0');
    s = file_->read(dbf::kHeaderSize, &desc[0], desc.size());
    if (!s.ok()) return s;
    const bool vfp = dbf::isVisualFoxPro(version_);
    std::vector<FieldDef> fields;
    size_t pos = 0;
    while (pos < desc.size() && desc[pos] != dbf::kTerminator) {
        if (pos + dbf::kDescriptorSize > desc.size()) {
            return Status::Corruption("Table header is damaged (field list not terminated): " + path);
        }
        const char* d = &desc[pos];
        FieldDef f;
        size_t nameLen = 0;
        while (nameLen < 11 && d[nameLen] != '\0') ++nameLen;
        f.name = asciiUpper(std::string(d, nameLen));
        f.type = static_cast<char>(std::toupper(static_cast<unsigned char>(d[dbf::kDescType])));
        f.width = static_cast<uint8_t>(d[dbf::kDescWidth]);
        f.decimals = static_cast<uint8_t>(d[dbf::kDescDecimals]);
        if (f.type == 'C' && !vfp && f.decimals > 0) {  // Clipper's long text fields
            f.width = static_cast<uint16_t>(f.width + 256 * f.decimals);
            f.decimals = 0;
        }
        if (f.name.empty() || f.width == 0) {
            return Status::Corruption("Table header is damaged (field " + std::to_string(fields.size() + 1) +
                                      "): " + path);
        }
        static const std::string kKnownTypes = "CNFLDMIITYBGPWVQ0@+O";
        if (kKnownTypes.find(f.type) == std::string::npos) {
            return Status::Corruption("Table header is damaged (field " + f.name +
                                      " has unknown type): " + path);
        }
        f.binaryMemoRef = f.isMemo() && f.width == 4;
        fields.push_back(std::move(f));
        pos += dbf::kDescriptorSize;
    }
    if (pos >= desc.size())
        return Status::Corruption("Table header is damaged (no field terminator): " + path);
    if (fields.empty()) return Status::Corruption("Table has no fields: " + path);
    layout_ = RecordLayout(std::move(fields));
    if (layout_.recordLength() != recordLength) {
        return Status::Corruption("Table header is damaged (record length does not match the fields): " +
                                  path);
    }

    if (CodePage::forMark(codePageMark_, &codePage_).isNotSupported()) {
        (void)CodePage::forMark(0, &codePage_);  // unknown marks are read as DOS text
    }

    // The header's count as it stands: open() checks it against the size.
    recCount_ = dbf::getU32(h + dbf::kOffRecordCount);
    record_.assign(recordLength, ' ');
    return Status::OK();
}

std::string RecordCount::describe() const {
    const auto records = [](uint32_t n) { return std::to_string(n) + (n == 1 ? " record" : " records"); };
    const std::string part = partial ? " and part of another" : "";
    if (header > whole)
        return "the header counts " + records(header) + ", but the file holds only " + std::to_string(whole) +
               part;
    if (header < whole)
        return "the header counts " + records(header) + ", but the file holds " + std::to_string(whole) +
               part;
    return "the file holds part of a record after its " + records(whole);
}

std::string Table::blankRecord() const {
    std::string blank(layout_.recordLength(), ' ');
    for (const FieldDef& f : layout_.fields()) {
        if (isBinaryType(f.type) || f.binaryMemoRef) std::memset(&blank[f.offset], '\0', f.width);
    }
    blank[0] = dbf::kLive;
    return blank;
}

Status Table::blankRecordsFrom(uint64_t offset, uint64_t length, bool* blank) const {
    const std::string one = blankRecord();
    std::string pattern;
    for (int i = 0; i < 256; ++i) pattern += one;  // whole records, read a block at a time
    std::string bytes;
    for (uint64_t done = 0; done < length;) {
        const uint64_t step = std::min<uint64_t>(pattern.size(), length - done);
        bytes.resize(size_t(step));
        const Status s = file_->read(offset + done, &bytes[0], bytes.size());
        if (!s.ok()) return s;
        // Every block starts on a record boundary, so it compares with the pattern's start.
        if (bytes.compare(0, bytes.size(), pattern, 0, bytes.size()) != 0) {
            *blank = false;
            return Status::OK();
        }
        done += step;
    }
    *blank = true;
    return Status::OK();
}

Status Table::measureRecords(RecordCount* out) {
    const uint64_t size = file_->size();
    const uint64_t len = layout_.recordLength();
    const uint64_t end = headerLength_ + uint64_t(recCount_) * len;
    *out = RecordCount();
    out->header = recCount_;
    const auto byteAt = [&](uint64_t offset, char* c) { return file_->read(offset, c, 1); };
    char last = 0;
    Status s = size > headerLength_ ? byteAt(size - 1, &last) : Status::OK();
    if (!s.ok()) return s;
    if (end <= size) {
        out->whole = recCount_;
        if (end == size) return Status::OK();
        char mark;
        s = byteAt(end, &mark);
        if (!s.ok()) return s;
        if (mark == dbf::kEof) return Status::OK();  // what follows the mark is no record
        // Blank records, the last perhaps cut short, after the count: an append that
        // did not get as far as the count (appends write a record blank, count it, then
        // fill it). They hold nothing and are not counted.
        bool blankTail = true;
        s = blankRecordsFrom(end, size - end - (last == dbf::kEof ? 1 : 0), &blankTail);
        if (!s.ok()) return s;
        if (blankTail) return Status::OK();
    }
    uint64_t data = size - headerLength_;
    if (data % len != 0 && last == dbf::kEof) --data;  // the end-of-file mark
    if (data / len > 0xFFFFFFFEu) return Status::Corruption("Table is too large to count: " + path());
    out->whole = uint32_t(data / len);
    out->partial = uint32_t(data % len);
    out->sound = out->whole == recCount_ && out->partial == 0;
    return Status::OK();
}

Status Table::checkRecordCount(const std::string& path, RecordCount* out, FileSystem* fs) {
    std::unique_ptr<Table> table;
    Status s = openFile(path, OpenMode::ReadOnlyShared, fs, &table);
    return s.ok() ? table->measureRecords(out) : s;
}

Status Table::recoverRecordCount(const std::string& path, RecordCount* found, FileSystem* fs) {
    std::unique_ptr<Table> table;
    Status s = openFile(path, OpenMode::Exclusive, fs, &table);
    RecordCount count;
    if (s.ok()) s = table->measureRecords(&count);
    if (!s.ok()) return s;
    if (found) *found = count;
    if (count.sound) return Status::OK();
    Table& t = *table;
    const uint64_t len = t.layout_.recordLength();
    const uint64_t end = t.headerLength_ + uint64_t(count.whole) * len;
    // A record cut short keeps what it has; its missing bytes are blank. The end mark
    // follows the last record, and only then does the header count them.
    std::string rest;
    if (count.partial) rest = t.blankRecord().substr(count.partial);
    rest.push_back(dbf::kEof);
    s = t.file_->write(end + count.partial, rest.data(), rest.size());
    if (s.ok() && t.file_->size() > end + count.partial + rest.size()) {
        s = t.file_->truncate(end + count.partial + rest.size());
    }
    if (s.ok()) {
        t.recCount_ = count.recovered();
        s = t.writeHeaderCount();
    }
    if (s.ok()) s = t.file_->sync();
    if (!s.ok()) return s;
    // The structural index holds the keys of the old count.
    const std::string cdx =
        findCompanion(*t.fs_, path, "CDX", "cdx", (t.tableFlags_ & dbf::kFlagStructuralIndex) != 0);
    return cdx.empty() ? Status::OK() : IndexFile::markNotClosed(*t.fs_, cdx);
}

Status Table::openMemo(OpenMode mode) {
    bool hasMemo = false;
    for (const FieldDef& f : layout_.fields()) hasMemo |= f.isMemo();
    if (!hasMemo) return Status::OK();
    const bool dbase = version_ == dbf::kVersionDBase3Memo || version_ == dbf::kVersionDBase4Memo ||
                       version_ == dbf::kVersionDBase4MemoAlt;
    const char* upper = dbase ? "DBT" : "FPT";
    const char* lower = dbase ? "dbt" : "fpt";
    std::string memoPath = findCompanion(*fs_, path(), upper, lower, true);
    MemoFile::Kind kind =
        !dbase ? MemoFile::Kind::Fpt
               : (version_ == dbf::kVersionDBase3Memo ? MemoFile::Kind::Dbt3 : MemoFile::Kind::Dbt4);
    if (memoPath.empty() && version_ == dbf::kVersionNoMemo) {
        memoPath = findCompanion(*fs_, path(), "DBT", "dbt", true);
        kind = MemoFile::Kind::Dbt3;
    }
    if (memoPath.empty()) {
        return Status::NotFound("The memo file is missing: " + withExtension(path(), upper, lower));
    }
    return MemoFile::open(*fs_, memoPath, kind, mode, &memo_);
}

Status Table::close() {
    Status s = commit();
    Status c = cleanIndexes();
    if (s.ok()) s = c;
    cdx_.reset();
    idx_.clear();
    memo_.reset();
    file_.reset();
    return s;
}

const std::string& Table::path() const { return file_->path(); }
bool Table::readOnly() const { return !file_->writable(); }

const std::string& Table::memoPath() const {
    static const std::string none;
    return memo_ ? memo_->path() : none;
}

const char* Table::recordView(uint32_t recNo) {
    const uint32_t len = layout_.recordLength();
    return file_->view(headerLength_ + uint64_t(recNo - 1) * len, len);
}

Status Table::readRecord(uint32_t recNo) {
    const char* v = recordView(recNo);
    if (v) {
        record_.assign(v, layout_.recordLength());
    } else {
        Status s = file_->read(headerLength_ + uint64_t(recNo - 1) * layout_.recordLength(), &record_[0],
                               record_.size());
        if (!s.ok()) return s;
    }
    savedRecord_ = record_;
    recNo_ = recNo;
    eof_ = false;
    bof_ = false;
    return Status::OK();
}

void Table::setEof() {
    for (const FieldDef& f : layout_.fields()) {
        const char fill = isBinaryType(f.type) || f.binaryMemoRef ? '\0' : ' ';
        std::memset(&record_[f.offset], fill, f.width);
    }
    record_[0] = ' ';
    recNo_ = recCount_ + 1;
    eof_ = true;
}

bool Table::visible(uint32_t recNo, const char* bytes) const {
    if (hideDeleted_ && bytes[0] == dbf::kDeleted) return false;
    if (!query_) return true;
    EvalContext ctx{bytes, recNo, exact_, memoSource_.get()};
    return query_->evalLogical(ctx);
}

uint32_t Table::scan(uint32_t from, int dir) {
    std::string buf;
    for (int64_t r = from; r >= 1 && r <= int64_t(recCount_); r += dir) {
        const uint32_t recNo = static_cast<uint32_t>(r);
        const char* bytes = recordView(recNo);
        if (!bytes) {
            buf.resize(layout_.recordLength());
            if (!file_->read(headerLength_ + uint64_t(recNo - 1) * buf.size(), &buf[0], buf.size()).ok())
                return 0;
            bytes = buf.data();
        }
        if (visible(recNo, bytes)) return recNo;
    }
    return 0;
}

Status Table::step(uint32_t from, int dir, uint32_t* out) {
    if (Tag* tag = currentTag()) {
        Status s = stepOrdered(tag, from, dir, out);
        if (!s.ok()) indexFailed(tag, s);
        return s;
    }
    if (from == 0) {
        *out = scan(dir > 0 ? 1 : recCount_, dir);
    } else {
        *out = (dir < 0 && from == 1) ? 0 : scan(from + uint32_t(dir), dir);
    }
    return Status::OK();
}

Status Table::goTop() {
    Status s = commit();
    if (!s.ok()) return s;
    uint32_t r;
    s = step(0, +1, &r);
    if (!s.ok()) return s;
    if (r == 0) {
        setEof();
        bof_ = true;
        return Status::OK();
    }
    return readRecord(r);
}

Status Table::goBottom() {
    Status s = commit();
    if (!s.ok()) return s;
    uint32_t r;
    s = step(0, -1, &r);
    if (!s.ok()) return s;
    if (r == 0) {
        setEof();
        bof_ = true;
        return Status::OK();
    }
    return readRecord(r);
}

Status Table::skip(int64_t n) {
    Status s = commit();
    if (!s.ok()) return s;
    if (n == 0) return eof_ ? Status::OK() : readRecord(recNo_);
    if (n > 0 && eof_) return Status::OK();
    uint32_t cur = eof_ ? 0 : recNo_;
    const int dir = n > 0 ? +1 : -1;
    for (int64_t i = 0; i < (n > 0 ? n : -n); ++i) {
        uint32_t r;
        s = step(cur, dir, &r);
        if (!s.ok()) return s;
        if (r == 0) {
            if (dir > 0) {
                setEof();
                return Status::OK();
            }
            // Before the first visible record: stay on it with bof set.
            s = goTop();
            bof_ = true;
            return s;
        }
        cur = r;
    }
    return readRecord(cur);
}

Status Table::go(uint32_t recNo) {
    Status s = commit();
    if (!s.ok()) return s;
    if (recNo < 1 || recNo > recCount_) {
        setEof();
        return Status::OK();
    }
    return readRecord(recNo);
}

uint32_t Table::memoRef(const FieldDef& f, const char* rec) const {
    const char* p = rec + f.offset;
    if (f.binaryMemoRef) return dbf::getU32(p);
    uint32_t v = 0;
    for (int i = 0; i < f.width; ++i) {
        const char c = p[i];
        if (c >= '0' && c <= '9') {
            v = v * 10 + uint32_t(c - '0');
        } else if (c != ' ' && c != '\0') {
            return 0;  // not a block number
        }
    }
    return v;
}

void Table::putMemoRef(const FieldDef& f, char* rec, uint32_t block) const {
    char* p = rec + f.offset;
    if (f.binaryMemoRef) {
        dbf::putU32(p, block);
        return;
    }
    std::memset(p, ' ', f.width);
    if (block == 0) return;
    std::string digits = std::to_string(block);
    if (digits.size() <= f.width) std::memcpy(p + f.width - digits.size(), digits.data(), digits.size());
}

std::string Table::getString(int index) const {
    const FieldDef& f = layout_.field(index);
    const char* p = record_.data() + f.offset;
    if (f.isMemo()) {
        std::string text;
        (void)getMemo(index, &text);
        return text;
    }
    // The binary kinds of other programs' tables have a fixed size; a damaged header
    // may declare less, and then the field is read as the bytes it has.
    const int binarySize = f.type == 'I' ? 4 : (f.type == 'B' || f.type == 'Y' || f.type == 'T') ? 8 : 0;
    if (f.width < binarySize) return std::string(p, f.width);
    switch (f.type) {
        case 'I':
            return eof_ ? std::string() : std::to_string(int32_t(dbf::getU32(p)));
        case 'B': {
            double v;
            std::memcpy(&v, p, 8);
            return eof_ ? std::string() : formatDouble(v);
        }
        case 'Y': {
            int64_t v;
            std::memcpy(&v, p, 8);
            char buf[40];
            std::snprintf(buf, sizeof buf, "%s%lld.%04lld", v < 0 ? "-" : "", std::llabs(v) / 10000LL,
                          std::llabs(v) % 10000LL);
            return eof_ ? std::string() : std::string(buf);
        }
        case 'T':
            return formatTimestamp(p);
        default:
            return std::string(p, f.width);
    }
}

std::string Table::getTrimString(int index) const {
    const FieldDef& f = layout_.field(index);
    if (f.type == 'N' || f.type == 'F') return trimBoth(std::string_view(record_.data() + f.offset, f.width));
    if (f.type == 'L')
        return getLogical(index) ? "T" : (record_[f.offset] == ' ' || record_[f.offset] == '?' ? "" : "F");
    return rtrim(getString(index));
}

bool Table::getLogical(int index) const {
    const char c = record_[layout_.field(index).offset];
    return c == 'T' || c == 't' || c == 'Y' || c == 'y';
}

Status Table::getMemo(int index, std::string* out) const {
    const FieldDef& f = layout_.field(index);
    out->clear();
    if (!f.isMemo()) return Status::InvalidArgument("Field " + f.name + " is not a memo field");
    const uint32_t block = memoRef(f, record_.data());
    if (block == 0 || eof_) return Status::OK();
    if (!memo_) return Status::NotFound("The memo file is missing");
    return memo_->read(block, out);
}

bool Table::empty(int index) const {
    const FieldDef& f = layout_.field(index);
    const char* p = record_.data() + f.offset;
    if (f.isMemo()) {
        if (eof_ || memoRef(f, record_.data()) == 0) return true;
        std::string text;
        return getMemo(index, &text).ok() && text.empty();
    }
    if (isBinaryType(f.type)) {
        for (int i = 0; i < f.width; ++i)
            if (p[i] != '\0') return false;
        return true;
    }
    if (f.type == 'L') return !getLogical(index);
    if (f.type == 'N' || f.type == 'F') {
        std::string t = trimBoth(std::string_view(p, f.width));
        return t.empty() || std::strtod(t.c_str(), nullptr) == 0.0;
    }
    for (int i = 0; i < f.width; ++i)
        if (p[i] != ' ') return false;
    return true;
}

Status Table::requireWritable() const {
    if (!file_->writable()) return Status::InvalidArgument("The table is open read-only: " + path());
    return Status::OK();
}

Status Table::requireRecord() const {
    if (eof_) return Status::InvalidArgument("No current record (end of file)");
    return Status::OK();
}

Status Table::replace(int index, std::string_view value) {
    Status s = requireWritable();
    if (!s.ok()) return s;
    s = requireRecord();
    if (!s.ok()) return s;
    s = putField(&record_, index, value);
    if (!s.ok()) return s;
    dirty_ = true;
    return Status::OK();
}

void Table::markRecordDeleted(std::string* record, bool deleted) {
    (*record)[0] = deleted ? dbf::kDeleted : dbf::kLive;
}

Status Table::putField(std::string* record, int index, std::string_view value) {
    Status s = requireWritable();
    if (!s.ok()) return s;
    if (index < 0 || index >= layout_.fieldCount()) return Status::InvalidArgument("No such field");
    if (record->size() != layout_.recordLength())
        return Status::InvalidArgument("Not a record of this table");
    const FieldDef& f = layout_.field(index);
    char* p = &(*record)[f.offset];
    switch (f.type) {
        case 'C': {
            const size_t n = value.size() < f.width ? value.size() : f.width;
            std::memcpy(p, value.data(), n);
            std::memset(p + n, ' ', f.width - n);
            break;
        }
        case 'N':
        case 'F': {
            const std::string t = trimBoth(value);
            if (t.empty()) {
                std::memset(p, ' ', f.width);
                break;
            }
            double v = 0;
            auto res = std::from_chars(t.data(), t.data() + t.size(), v);
            if (res.ec != std::errc() || res.ptr != t.data() + t.size() || !std::isfinite(v)) {
                return Status::InvalidArgument("\"" + t + "\" is not a number (field " + f.name + ")");
            }
            char buf[64];
            auto out = std::to_chars(buf, buf + sizeof buf, v, std::chars_format::fixed, f.decimals);
            std::string_view text(buf, out.ptr - buf);
            if (text == "-0" || text.find_first_not_of("-0.") == std::string_view::npos) {
                text = text.substr(text[0] == '-' ? 1 : 0);  // no negative zero
            }
            if (text.size() > f.width) {
                return Status::InvalidArgument("The value " + t + " does not fit field " + f.name +
                                               " (width " + std::to_string(f.width) + ")");
            }
            std::memset(p, ' ', f.width - text.size());
            std::memcpy(p + f.width - text.size(), text.data(), text.size());
            break;
        }
        case 'L': {
            const std::string t = asciiUpper(trimBoth(value));
            if (t.empty()) {
                *p = ' ';
            } else if (t == "T" || t == "Y" || t == ".T." || t == "TRUE") {
                *p = 'T';
            } else if (t == "F" || t == "N" || t == ".F." || t == "FALSE") {
                *p = 'F';
            } else {
                return Status::InvalidArgument("\"" + t + "\" is not a logical value (field " + f.name + ")");
            }
            break;
        }
        case 'D': {
            const std::string t = trimBoth(value);
            if (t.empty()) {
                std::memset(p, ' ', 8);
                break;
            }
            if (t.size() != 8 || t.find_first_not_of("0123456789") != std::string::npos) {
                return Status::InvalidArgument("\"" + t + "\" is not a date YYYYMMDD (field " + f.name + ")");
            }
            std::memcpy(p, t.data(), 8);
            break;
        }
        case 'M': {
            if (!memo_) return Status::NotFound("The memo file is missing");
            uint32_t block = 0;
            s = memo_->write(memoRef(f, record->data()), std::string(value), &block);
            if (!s.ok()) return s;
            putMemoRef(f, &(*record)[0], block);
            break;
        }
        default:
            return Status::NotSupported("Field " + f.name + " cannot be written");
    }
    return Status::OK();
}

Status Table::replaceLogical(int index, bool value) { return replace(index, value ? "T" : "F"); }

Status Table::commit() {
    if (!dirty_ || !file_) return Status::OK();
    const bool indexed = cdx_ || !idx_.empty();
    Status s = indexed ? touchIndexes() : Status::OK();
    if (s.ok()) {
        s = file_->write(headerLength_ + uint64_t(recNo_ - 1) * layout_.recordLength(), record_.data(),
                         record_.size());
    }
    if (!s.ok()) {
        // The change is dropped and the record is again as stored.
        record_ = savedRecord_;
        dirty_ = false;
        if (newRecord_) {
            // The appended record is in the file all the same, so its keys must be
            // in the indexes; when they cannot go in the indexes are marked for rebuild.
            Status k = touchIndexes();
            if (k.ok()) k = updateIndexes();
            if (k.ok()) k = cleanIndexes();
            if (!k.ok()) damageIndexes();
            newRecord_ = false;
        }
        return s;
    }
    dirty_ = false;
    countValid_ = false;
    if (!indexed) return Status::OK();
    s = updateIndexes();
    if (!s.ok()) return s;
    return batchDepth_ ? Status::OK() : cleanIndexes();
}

Status Table::writeHeaderCount() {
    char h[8];
    todayHeaderDate(h + 1);
    dbf::putU32(h + 4, recCount_);
    return file_->write(1, h + 1, 7);
}

Status Table::appendBlank() {
    Status s = requireWritable();
    if (!s.ok()) return s;
    s = commit();
    if (!s.ok()) return s;
    if (recCount_ == 0xFFFFFFFEu) return Status::InvalidArgument("The table is full");
    s = touchIndexes();
    if (!s.ok()) return s;
    setEof();
    // Record and end-of-file mark first, the count after: a crash in between leaves
    // a table that opens with the records it had.
    std::string bytes = record_;
    bytes.push_back(dbf::kEof);
    s = file_->write(headerLength_ + uint64_t(recCount_) * layout_.recordLength(), bytes.data(),
                     bytes.size());
    if (!s.ok()) return s;
    ++recCount_;
    countValid_ = false;
    s = writeHeaderCount();
    if (!s.ok()) {
        --recCount_;  // not counted on disk: the record is not there
        return s;
    }
    recNo_ = recCount_;
    eof_ = false;
    bof_ = false;
    savedRecord_ = record_;
    if (cdx_ || !idx_.empty()) {
        newRecord_ = true;  // its keys go in when it is committed
        dirty_ = true;
    }
    return Status::OK();
}

Status Table::appendRecords(std::string_view records) {
    Status s = requireWritable();
    if (!s.ok()) return s;
    s = commit();
    if (!s.ok()) return s;
    const uint32_t len = layout_.recordLength();
    if (records.size() % len != 0) return Status::InvalidArgument("Not a whole number of records");
    const uint64_t n = records.size() / len;
    if (n == 0) return Status::OK();
    if (uint64_t(recCount_) + n > 0xFFFFFFFEu) return Status::InvalidArgument("The table is full");

    if (cdx_ || !idx_.empty()) {
        // Every order takes each record's keys, as a single append does; the index
        // pages they change are held in a batch (the caller's, or one of its own) and
        // written together.
        s = beginBatch();
        if (!s.ok()) return s;
        for (uint64_t i = 0; i < n && s.ok(); ++i) {
            s = appendBlank();
            if (!s.ok()) break;
            record_.assign(records.data() + i * len, len);
            dirty_ = true;
            s = commit();
        }
        Status e = endBatch();
        if (!s.ok()) return s;
        if (!e.ok()) return e;
        setEof();
        return Status::OK();
    }

    // The records go in as a single append's record does: blank first, then counted,
    // then filled. A failure before the count leaves an uncounted blank tail, which the
    // next open ignores; a failure after it leaves counted blank records. Records with
    // data beyond the count, which an open must report as damage, never arise.
    const uint64_t end = headerLength_ + uint64_t(recCount_) * len;
    const std::string blank = blankRecord();
    std::string bytes;
    bytes.reserve(records.size() + 1);
    for (uint64_t i = 0; i < n; ++i) bytes.append(blank);
    bytes.push_back(dbf::kEof);
    s = file_->write(end, bytes.data(), bytes.size());
    if (s.ok()) {
        recCount_ += uint32_t(n);
        countValid_ = false;
        s = writeHeaderCount();
        if (!s.ok()) recCount_ -= uint32_t(n);
    }
    if (!s.ok()) {
        // Whatever part of the blanks did get written goes again, and the end-of-file
        // mark is put back where the counted records end.
        char eof = dbf::kEof;
        if (file_->write(end, &eof, 1).ok()) (void)file_->truncate(end + 1);
        setEof();
        return s;
    }
    s = file_->write(end, records.data(), records.size());
    setEof();
    return s;
}

Status Table::deleteRecord() { return setDeletionMark(dbf::kDeleted); }

Status Table::recall() { return setDeletionMark(dbf::kLive); }

Status Table::setDeletionMark(char mark) {
    Status s = requireWritable();
    if (!s.ok()) return s;
    s = requireRecord();
    if (!s.ok()) return s;
    record_[0] = mark;
    dirty_ = true;
    return commit();
}

Status Table::pack(const ProgressHook& progress) {
    Status s = requireWritable();
    if (!s.ok()) return s;
    s = commit();
    if (!s.ok()) return s;
    s = touchIndexes();
    if (!s.ok()) return s;

    // Packing writes out only the records the header counts: it must agree with the
    // file, or records past the count would be dropped.
    RecordCount count;
    s = measureRecords(&count);
    if (!s.ok()) return s;
    if (!count.sound) {
        return Status::Corruption("Table record count is damaged (" + count.describe() + "): " + path());
    }

    // The new file is made beside the old one under a name nothing else has, with the
    // old one's permissions, which the renamed file keeps.
    const std::string target = path();
    std::string temp;
    std::unique_ptr<File> out;
    s = fs_->createTemp(target, &out, &temp);
    if (!s.ok()) return s;
    std::string header(headerLength_, '\0');
    s = file_->read(0, &header[0], header.size());
    if (!s.ok()) return s;
    s = out->write(0, header.data(), header.size());
    if (!s.ok()) return s;

    // The records are read block by block into one buffer and the kept ones written
    // out in large pieces: the memory used stays small whatever the table's size.
    const uint32_t len = layout_.recordLength();
    const uint32_t perBlock = uint32_t(std::max<size_t>(1, kScanBlockBytes * 4 / len));
    std::string block(size_t(perBlock) * len, '\0');
    std::string chunk;
    chunk.reserve(block.size());
    uint32_t kept = 0;
    int lastPercent = -1;
    for (uint32_t r = 1; r <= recCount_ && s.ok();) {
        const uint32_t inBlock = std::min(perBlock, recCount_ - r + 1);
        s = file_->read(headerLength_ + uint64_t(r - 1) * len, &block[0], size_t(inBlock) * len);
        if (!s.ok()) break;
        for (uint32_t i = 0; i < inBlock; ++i) {
            const char* rec = block.data() + size_t(i) * len;
            if (rec[0] != dbf::kDeleted) {
                chunk.append(rec, len);
                ++kept;
            }
        }
        r += inBlock;
        if (!chunk.empty()) {
            s = out->write(headerLength_ + uint64_t(kept) * len - chunk.size(), chunk.data(), chunk.size());
            chunk.clear();
        }
        const int percent = int(uint64_t(r - 1) * 100 / recCount_);
        if (progress && percent != lastPercent) progress(lastPercent = percent);
    }
    if (s.ok()) {
        char eof = dbf::kEof;
        s = out->write(headerLength_ + uint64_t(kept) * len, &eof, 1);
    }
    if (s.ok()) {
        char h[8];
        todayHeaderDate(h + 1);
        dbf::putU32(h + 4, kept);
        s = out->write(1, h + 1, 7);
    }
    if (s.ok()) s = out->sync();
    if (s.ok()) s = out->renameTo(target);
    if (!s.ok()) {
        out.reset();
        (void)fs_->remove(temp);
        return s;
    }
    // The new file, already locked, now stands at the table's path.
    file_ = std::move(out);
    recCount_ = kept;
    countValid_ = false;
    if (progress && lastPercent != 100) progress(100);
    // Record numbers have closed up: every order is built anew.
    s = buildTags(orders(), progress);
    if (!s.ok()) return s;
    return goTop();
}

Status Table::zap() {
    Status s = requireWritable();
    if (!s.ok()) return s;
    s = touchIndexes();
    if (!s.ok()) return s;
    dirty_ = false;
    newRecord_ = false;
    s = file_->truncate(headerLength_);
    if (!s.ok()) return s;
    char eof = dbf::kEof;
    s = file_->write(headerLength_, &eof, 1);
    if (!s.ok()) return s;
    recCount_ = 0;
    countValid_ = false;
    s = writeHeaderCount();
    if (!s.ok()) return s;
    if (memo_) {
        s = memo_->zap();
        if (!s.ok()) return s;
    }
    s = buildTags(orders(), nullptr);
    if (!s.ok()) return s;
    setEof();
    bof_ = true;
    return Status::OK();
}

Status Table::copyStructure(const std::string& path) const {
    TableSpec design;
    design.fields = layout_.fields();
    design.codePageMark = codePageMark_;
    return create(path, design, fs_);
}

Status Table::compile(std::string_view expression, std::unique_ptr<Expression>* out) const {
    return Expression::compile(expression, layout_, codePageMark_, out);
}

const MemoSource* Table::memoSource() const { return memoSource_.get(); }

EvalContext Table::evalContext() const {
    return EvalContext{record_.data(), recNo_, exact_, memoSource_.get()};
}

Status Table::query(std::string_view expression) {
    countValid_ = false;
    if (trimBoth(expression).empty()) {
        query_.reset();
        queryText_.clear();
        return Status::OK();
    }
    std::unique_ptr<Expression> e;
    Status s = compile(expression, &e);
    if (!s.ok()) return s;
    if (e->type() != ValueType::Logical)
        return Status::InvalidArgument("A query must be a logical expression");
    query_ = std::move(e);
    queryText_ = std::string(expression);
    return Status::OK();
}

uint32_t Table::queryRecCount() {
    (void)commit();
    if (!countValid_) {
        count_ = countVisible();
        countValid_ = true;
    }
    return count_;
}

uint32_t Table::countVisible() {
    if (Tag* tag = currentTag()) {
        // An order that leaves records out is walked; otherwise the file is scanned.
        if (tag->condition || !tag->scopeTop.empty() || !tag->scopeBottom.empty() ||
            tag->file->kind() == IndexFile::Kind::Idx) {
            uint32_t n = 0;
            for (uint32_t r = 0; step(r, +1, &r).ok() && r != 0;) ++n;
            return n;
        }
    }
    if (!query_ && !hideDeleted_) return recCount_;
    uint32_t n = 0;
    // A large table is counted in two halves side by side, the second with a query
    // of its own (evaluation keeps scratch text in the expression). Memo text is read
    // through the one memo file, so a query that may name a memo field runs alone.
    const bool halves = uint64_t(recCount_) * layout_.recordLength() >= (uint64_t(32) << 20) &&
                        !(query_ && namesMemoField(queryText_));
    std::unique_ptr<Expression> query2;
    if (halves && (!query_ || compile(queryText_, &query2).ok())) {
        const uint32_t mid = recCount_ / 2;
        uint32_t high = 0;
        Status highStatus;
        std::thread worker([&] { highStatus = countRange(query2.get(), mid + 1, recCount_, &high); });
        Status lowStatus = countRange(query_.get(), 1, mid, &n);
        worker.join();
        if (lowStatus.ok() && highStatus.ok()) return n + high;
    } else if (countRange(query_.get(), 1, recCount_, &n).ok()) {
        return n;
    }
    // A block that cannot be read: record by record, as navigation reads them.
    n = 0;
    for (uint32_t r = scan(1, +1); r != 0; r = scan(r + 1, +1)) ++n;
    return n;
}

// The scan reads the records in large blocks with plain reads into one buffer: a
// scan touches each record once, and copying them costs far less than mapping the
// file and faulting its pages in one by one.
Status Table::countRange(const Expression* query, uint32_t first, uint32_t last, uint32_t* out) const {
    *out = 0;
    if (first > last) return Status::OK();
    const uint32_t len = layout_.recordLength();
    const uint32_t perBlock = uint32_t(std::max<size_t>(1, kScanBlockBytes / len));
    std::string block(size_t(perBlock) * len, '\0');
    EvalContext ctx{nullptr, 0, exact_, memoSource_.get()};
    uint32_t n = 0;
    for (uint32_t r = first; r <= last;) {
        const uint32_t count = std::min(perBlock, last - r + 1);
        Status s = file_->read(headerLength_ + uint64_t(r - 1) * len, &block[0], size_t(count) * len);
        if (!s.ok()) return s;
        const char* rec = block.data();
        if (!query) {
            for (uint32_t i = 0; i < count; ++i, rec += len) n += rec[0] != dbf::kDeleted;
        } else {
            for (uint32_t i = 0; i < count; ++i, rec += len) {
                if (hideDeleted_ && rec[0] == dbf::kDeleted) continue;
                ctx.record = rec;
                ctx.recNo = r + i;
                n += query->evalLogical(ctx);
            }
        }
        r += count;
    }
    *out = n;
    return Status::OK();
}

bool Table::namesMemoField(const std::string& expression) const {
    const std::string text = asciiUpper(expression);
    for (const FieldDef& f : layout_.fields()) {
        if (f.isMemo() && text.find(f.name) != std::string::npos) return true;
    }
    return false;
}

Status Table::evalTest(std::string_view expression, ValueType* type) const {
    std::unique_ptr<Expression> e;
    Status s = compile(expression, &e);
    if (s.ok()) *type = e->type();
    return s;
}

Status Table::evalLogical(std::string_view expression, bool* out) {
    std::unique_ptr<Expression> e;
    Status s = compile(expression, &e);
    if (!s.ok()) return s;
    if (e->type() != ValueType::Logical) return Status::InvalidArgument("Not a logical expression");
    *out = e->evalLogical(evalContext());
    return Status::OK();
}

Status Table::evalString(std::string_view expression, std::string* out) {
    std::unique_ptr<Expression> e;
    Status s = compile(expression, &e);
    if (!s.ok()) return s;
    *out = e->evalString(evalContext());
    return Status::OK();
}

}  // namespace xbase
