#include "LayoutStreamWriter.h"

#include <cassert>

#include "AnsiText.h"
#include "Extended80.h"

namespace layout {

using stream::Tag;

void LayoutStreamWriter::writeInt32(int32_t v) {
    const uint32_t u = static_cast<uint32_t>(v);
    for (int i = 0; i < 4; ++i) writeByte(uint8_t(u >> (8 * i)));
}

void LayoutStreamWriter::writeShortString(const QByteArray& s) {
    assert(s.size() <= stream::kMaxShortString);
    const QByteArray cut = s.left(stream::kMaxShortString);
    writeByte(uint8_t(cut.size()));
    data_.append(cut);
}

void LayoutStreamWriter::writeSignature() { data_.append(stream::kSignature, 4); }

void LayoutStreamWriter::writeInteger(int64_t value) {
    if (value >= -128 && value <= 127) {
        writeTag(Tag::Int8);
        writeByte(uint8_t(int8_t(value)));
    } else if (value >= -32768 && value <= 32767) {
        writeTag(Tag::Int16);
        const uint16_t u = uint16_t(int16_t(value));
        writeByte(uint8_t(u));
        writeByte(uint8_t(u >> 8));
    } else if (value >= INT32_MIN && value <= INT32_MAX) {
        writeTag(Tag::Int32);
        writeInt32(int32_t(value));
    } else {
        writeTag(Tag::Int64);
        const uint64_t u = uint64_t(value);
        for (int i = 0; i < 8; ++i) writeByte(uint8_t(u >> (8 * i)));
    }
}

void LayoutStreamWriter::writeIdent(const QByteArray& ident) {
    writeTag(Tag::Ident);
    writeShortString(ident);
}

void LayoutStreamWriter::writeString(const QString& text) {
    QByteArray bytes;
    if (!ToAnsi(text, &bytes)) {
        writeTag(Tag::Utf8String);
        const QByteArray utf8 = text.toUtf8();
        writeInt32(int32_t(utf8.size()));
        data_.append(utf8);
    } else if (bytes.size() <= stream::kMaxShortString) {
        writeTag(Tag::String);
        writeShortString(bytes);
    } else {
        writeTag(Tag::LString);
        writeInt32(int32_t(bytes.size()));
        data_.append(bytes);
    }
}

void LayoutStreamWriter::writeFloat(double value) {
    writeTag(Tag::Extended);
    const Extended80 e = DoubleToExtended(value);
    data_.append(reinterpret_cast<const char*>(e.data()), 10);
}

void LayoutStreamWriter::writeBinary(const QByteArray& bytes) {
    writeTag(Tag::Binary);
    writeInt32(int32_t(bytes.size()));
    data_.append(bytes);
}

void LayoutStreamWriter::writeSet(const std::vector<QByteArray>& members) {
    writeTag(Tag::Set);
    for (const QByteArray& m : members) writeShortString(m);
    writeByte(0);
}

}  // namespace layout
