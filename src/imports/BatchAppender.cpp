#include "BatchAppender.h"

#include <cassert>

#include "Table.h"

BatchAppender::BatchAppender(xbase::Table& table, size_t batchBytes)
    : table_(table), batchBytes_(batchBytes), blank_(table.blankRecord()) {
    batch_.reserve(batchBytes_ + blank_.size());
}

BatchAppender::~BatchAppender() { (void)flush(); }

void BatchAppender::begin() { record_ = blank_; }

xbase::Status BatchAppender::put(int field, std::string_view value) {
    return table_.putField(&record_, field, value);
}

void BatchAppender::putBytes(int field, std::string_view bytes) {
    const xbase::FieldDef& f = table_.field(field);
    assert(bytes.size() == f.width);
    record_.replace(f.offset, f.width, bytes);
}

void BatchAppender::markDeleted() { xbase::Table::markRecordDeleted(&record_, true); }

xbase::Status BatchAppender::end() {
    batch_ += record_;
    ++pending_;
    if (batch_.size() >= batchBytes_) return flush();
    return xbase::Status::OK();
}

xbase::Status BatchAppender::flush() {
    if (pending_ == 0) return xbase::Status::OK();
    const xbase::Status s = table_.appendRecords(batch_);
    // A batch that failed is not in the table: it goes all the same.
    if (s.ok()) written_ += pending_;
    batch_.clear();
    pending_ = 0;
    return s;
}
