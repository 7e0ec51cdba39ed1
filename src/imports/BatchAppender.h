#pragma once

#include <cstdint>
#include <string>
#include <string_view>

#include "Status.h"

namespace xbase {
class Table;
}

// Appends records to a table in batches: each record is built as an image in memory
// and the images reach the file about a megabyte at a time (see
// xbase::Table::appendRecords), so that an import or a copy runs at the speed of the
// disk. A record counts once its batch is in the file. The table must outlive the
// appender; nothing else may change the table while records are pending.
class BatchAppender {
  public:
    explicit BatchAppender(xbase::Table& table, size_t batchBytes = 1 << 20);
    // Pending records are written, errors ignored: call flush() to see them.
    ~BatchAppender();
    BatchAppender(const BatchAppender&) = delete;
    BatchAppender& operator=(const BatchAppender&) = delete;

    // Starts a record with every field empty.
    void begin();
    // Fills a field of the record begun, by the rules of Table::replace().
    xbase::Status put(int field, std::string_view value);
    // Puts the stored bytes of a field as they are, for a copy between tables of the
    // same structure. REQUIRES: bytes.size() is the field's width.
    void putBytes(int field, std::string_view bytes);
    // Gives the record begun the deletion mark.
    void markDeleted();
    // The record begun joins the batch, which is written once it is full.
    xbase::Status end();
    // Writes the pending records.
    xbase::Status flush();

    // Records this appender has put in the file.
    uint32_t written() const { return written_; }
    // Records ended but not yet written.
    uint32_t pending() const { return pending_; }

  private:
    xbase::Table& table_;
    size_t batchBytes_;
    std::string blank_;
    std::string record_;
    std::string batch_;
    uint32_t pending_ = 0;
    uint32_t written_ = 0;
};
