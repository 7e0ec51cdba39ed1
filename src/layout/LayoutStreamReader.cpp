#include "LayoutStreamReader.h"

#include <cstring>

namespace layout {

using stream::Tag;

void LayoutStreamReader::fail(const QString& message) {
    if (error_.isEmpty()) error_ = message;
    pos_ = data_.size();
}

uint8_t LayoutStreamReader::readByte() {
    if (!ok()) return 0;
    if (pos_ >= data_.size()) {
        fail("Stream read error");
        return 0;
    }
    return static_cast<uint8_t>(data_[pos_++]);
}

uint8_t LayoutStreamReader::peekByte() const {
    return pos_ < data_.size() ? static_cast<uint8_t>(data_[pos_]) : 0;
}

QByteArray LayoutStreamReader::readBytes(qsizetype count) {
    if (!ok()) return {};
    if (count < 0 || count > data_.size() - pos_) {
        fail("Stream read error");
        return {};
    }
    QByteArray out = data_.mid(pos_, count);
    pos_ += count;
    return out;
}

int32_t LayoutStreamReader::readInt32() {
    const QByteArray b = readBytes(4);
    if (b.size() != 4) return 0;
    uint32_t v = 0;
    for (int i = 3; i >= 0; --i) v = (v << 8) | static_cast<uint8_t>(b[i]);
    return static_cast<int32_t>(v);
}

QByteArray LayoutStreamReader::readShortString() {
    const uint8_t length = readByte();
    return readBytes(length);
}

void LayoutStreamReader::readSignature() {
    const QByteArray sig = readBytes(4);
    if (ok() && std::memcmp(sig.constData(), stream::kSignature, 4) != 0) fail("Invalid stream format");
}

bool LayoutStreamReader::atSignature() const {
    return data_.size() - pos_ >= 4 && std::memcmp(data_.constData() + pos_, stream::kSignature, 4) == 0;
}

void LayoutStreamReader::readPrefix(uint8_t* flags, int64_t* childPos) {
    *flags = 0;
    *childPos = -1;
    if (!ok() || (peekByte() & stream::kPrefixMask) != stream::kPrefixMask) return;
    *flags = readByte() & stream::kFlagsMask;
    if (*flags & stream::kFlagChildPos) *childPos = readInteger();
}

bool LayoutStreamReader::endOfList() {
    if (!ok()) return true;
    if (atEnd()) {
        fail("Stream read error");
        return true;
    }
    if (peekByte() != uint8_t(Tag::Null)) return false;
    ++pos_;
    return true;
}

void LayoutStreamReader::readListEnd() {
    if (readByte() != uint8_t(Tag::Null) && ok()) fail("Invalid stream format");
}

int64_t LayoutStreamReader::readInteger() {
    const StreamValue v = readValue();
    if (!ok()) return 0;
    if (!v.isInteger()) {
        fail("Invalid property value");
        return 0;
    }
    return v.integer;
}

StreamValue LayoutStreamReader::readValue() {
    StreamValue v;
    const uint8_t tagByte = readByte();
    if (!ok()) return v;
    v.tag = static_cast<Tag>(tagByte);
    auto littleEndian = [&](int n) {
        const QByteArray b = readBytes(n);
        uint64_t u = 0;
        for (int i = int(b.size()) - 1; i >= 0; --i) u = (u << 8) | static_cast<uint8_t>(b[i]);
        return u;
    };
    switch (v.tag) {
        case Tag::Null:
        case Tag::BoolFalse:
        case Tag::BoolTrue:
        case Tag::Nil:
            break;
        case Tag::List:
            // Lists nest only a level or two; a deeper nesting is a damaged stream,
            // and is refused before it can exhaust the stack.
            if (++depth_ > kMaxDepth) {
                fail("Invalid stream format");
                break;
            }
            while (!endOfList()) v.items.push_back(readValue());
            --depth_;
            break;
        case Tag::Int8:
            v.integer = static_cast<int8_t>(littleEndian(1));
            break;
        case Tag::Int16:
            v.integer = static_cast<int16_t>(littleEndian(2));
            break;
        case Tag::Int32:
            v.integer = static_cast<int32_t>(littleEndian(4));
            break;
        case Tag::Int64:
            v.integer = static_cast<int64_t>(littleEndian(8));
            break;
        case Tag::Extended: {
            const QByteArray b = readBytes(10);
            if (b.size() == 10) std::memcpy(v.extended.data(), b.constData(), 10);
            v.real = ExtendedToDouble(v.extended);
            break;
        }
        case Tag::Single: {
            const uint32_t bits = uint32_t(littleEndian(4));
            float f;
            std::memcpy(&f, &bits, 4);
            v.real = f;
            break;
        }
        case Tag::Date: {
            const uint64_t bits = littleEndian(8);
            std::memcpy(&v.real, &bits, 8);
            break;
        }
        case Tag::Currency:
            v.integer = static_cast<int64_t>(littleEndian(8));
            v.real = double(v.integer) / 10000.0;
            break;
        case Tag::String:
        case Tag::Ident:
            v.bytes = readShortString();
            break;
        case Tag::Binary:
        case Tag::LString:
        case Tag::Utf8String: {
            const int32_t length = readInt32();
            if (ok() && length < 0) {
                fail("Stream read error");
                break;
            }
            v.bytes = readBytes(length);
            break;
        }
        case Tag::WString: {
            const int32_t length = readInt32();
            if (ok() && (length < 0 || length > (data_.size() - pos_) / 2)) {
                fail("Stream read error");
                break;
            }
            v.bytes = readBytes(qsizetype(length) * 2);
            break;
        }
        case Tag::Set:
            for (;;) {
                QByteArray member = readShortString();
                if (!ok() || member.isEmpty()) break;
                v.members.push_back(member);
            }
            break;
        default:
            // Collections and newer tags never occur in layout streams.
            fail("Invalid stream format");
            break;
    }
    return v;
}

}  // namespace layout
