#pragma once

#include <QByteArray>
#include <QString>
#include <cstdint>

#include "LayoutStreamFormat.h"
#include "StreamValue.h"

namespace layout {

// Reads the values of a layout stream from memory. The first error sticks: later
// reads return zero values and leave it in place, so callers test ok() once after a
// group of reads. Messages are the class library's read errors ("Stream read error",
// "Invalid stream format", ...).
class LayoutStreamReader {
  public:
    // The reader borrows the bytes: they must outlive it.
    explicit LayoutStreamReader(const QByteArray& data) : data_(data) {}
    explicit LayoutStreamReader(QByteArray&&) = delete;

    bool ok() const { return error_.isEmpty(); }
    const QString& error() const { return error_; }
    void fail(const QString& message);

    qsizetype pos() const { return pos_; }
    bool atEnd() const { return pos_ >= data_.size(); }

    uint8_t readByte();
    uint8_t peekByte() const;  // 0 at the end
    QByteArray readBytes(qsizetype count);
    int32_t readInt32();
    QByteArray readShortString();

    // "TPF0".
    void readSignature();
    // True when an object record ("TPF0") comes next.
    bool atSignature() const;
    // The optional flags prefix before a class name; *flags is 0 without one.
    void readPrefix(uint8_t* flags, int64_t* childPos);
    // True (and the byte consumed) when the next byte is the end-of-list tag.
    bool endOfList();
    void readListEnd();

    // The next value whatever its tag.
    StreamValue readValue();
    // An integer value (Int8, Int16, Int32 or Int64).
    int64_t readInteger();

  private:
    static constexpr int kMaxDepth = 32;

    const QByteArray& data_;
    qsizetype pos_ = 0;
    int depth_ = 0;
    QString error_;
};

}  // namespace layout
