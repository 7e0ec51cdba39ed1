#include "StreamValue.h"

#include "AnsiText.h"

namespace layout {

using stream::Tag;

bool StreamValue::isInteger() const {
    return tag == Tag::Int8 || tag == Tag::Int16 || tag == Tag::Int32 || tag == Tag::Int64;
}

bool StreamValue::isString() const {
    return tag == Tag::String || tag == Tag::LString || tag == Tag::WString || tag == Tag::Utf8String;
}

QString StreamValue::text() const {
    switch (tag) {
        case Tag::Utf8String:
            return QString::fromUtf8(bytes);
        case Tag::WString:
            return QString::fromUtf16(reinterpret_cast<const char16_t*>(bytes.constData()), bytes.size() / 2);
        default:
            return FromAnsi(bytes);
    }
}

}  // namespace layout
