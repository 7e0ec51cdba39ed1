#pragma once

#include <QByteArray>
#include <QString>
#include <cstdint>
#include <vector>

#include "Extended80.h"
#include "LayoutStreamFormat.h"

namespace layout {

// One value of a layout stream as read, before any property gives it a meaning.
struct StreamValue {
    stream::Tag tag = stream::Tag::Null;
    int64_t integer = 0;              // Int8, Int16, Int32, Int64; Currency as stored (× 10000)
    double real = 0.0;                // Extended, Single, Date, Currency
    Extended80 extended{};            // Extended as stored
    QByteArray bytes;                 // String, LString, Ident, Binary, Utf8String as stored;
                                      // WString as UTF-16LE bytes
    std::vector<StreamValue> items;   // List
    std::vector<QByteArray> members;  // Set

    bool isInteger() const;
    bool isString() const;  // String, LString, WString, Utf8String
    // The text of a string value.
    QString text() const;
};

}  // namespace layout
