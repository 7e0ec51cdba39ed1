#pragma once

#include <QByteArray>
#include <QString>
#include <cstdint>
#include <vector>

#include "LayoutStreamFormat.h"

namespace layout {

// Writes the values of a layout stream into memory, each in the form that the
// stream's rules give it (smallest integer width, short or long string).
class LayoutStreamWriter {
  public:
    const QByteArray& data() const { return data_; }

    void writeByte(uint8_t b) { data_.append(static_cast<char>(b)); }
    void writeTag(stream::Tag tag) { writeByte(static_cast<uint8_t>(tag)); }
    void writeInt32(int32_t v);
    // REQUIRES: s.size() <= 255.
    void writeShortString(const QByteArray& s);
    void writeSignature();

    void writeListBegin() { writeTag(stream::Tag::List); }
    void writeListEnd() { writeTag(stream::Tag::Null); }
    void writePropName(const QByteArray& name) { writeShortString(name); }

    // Tag 02, 03 or 04, the smallest that holds the value (13 beyond 32 bits).
    void writeInteger(int64_t value);
    void writeIdent(const QByteArray& ident);
    // Windows-1252 text under tag 06 up to 255 bytes, else 0C. Text that the code page
    // cannot hold is written as UTF-8 under tag 14 rather than lose characters.
    void writeString(const QString& text);
    void writeBoolean(bool value) { writeTag(value ? stream::Tag::BoolTrue : stream::Tag::BoolFalse); }
    void writeFloat(double value);
    void writeBinary(const QByteArray& bytes);
    void writeSet(const std::vector<QByteArray>& members);

  private:
    QByteArray data_;
};

}  // namespace layout
