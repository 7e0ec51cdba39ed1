#pragma once

#include <QByteArray>
#include <QString>
#include <QStringList>

#include "LayoutBrush.h"
#include "LayoutColors.h"
#include "LayoutEnums.h"
#include "LayoutFont.h"
#include "LayoutPen.h"
#include "LayoutPicture.h"
#include "LayoutStreamWriter.h"
#include "StreamValue.h"

namespace layout {

// Writes published properties by the layout stream's rules: a value equal to the
// property's default is skipped; a property without a default is always written;
// colours and cursors with a name are written as identifiers.
class PropertyWriter {
  public:
    explicit PropertyWriter(LayoutStreamWriter& w) : w_(w) {}
    LayoutStreamWriter& stream() { return w_; }
    // Writes every property, defaults and empty texts included (for showing an object,
    // never for a layout file).
    void setWriteDefaults(bool on) { all_ = on; }
    bool writesDefaults() const { return all_; }

    void integer(const char* name, int value);
    void integer(const char* name, int value, int defaultValue);
    void color(const char* name, TColor value);
    void color(const char* name, TColor value, TColor defaultValue);
    void cursor(const char* name, int value, int defaultValue);
    void boolean(const char* name, bool value);
    void boolean(const char* name, bool value, bool defaultValue);
    template <typename E>
    void enumeration(const char* name, E value) {
        w_.writePropName(name);
        w_.writeIdent(EnumName(value));
    }
    template <typename E>
    void enumeration(const char* name, E value, E defaultValue) {
        if (all_ || value != defaultValue) enumeration(name, value);
    }
    void string(const char* name, const QString& value);  // skipped when empty
    void fontStyle(const char* name, TFontStyles style);
    // Sub-objects, each property under "<prefix>.<name>".
    void font(const char* prefix, const LayoutFont& font);
    void pen(const char* prefix, const LayoutPen& pen);
    void brush(const char* prefix, const LayoutBrush& brush);
    // "<prefix>.Strings" as a list of strings; nothing for an empty list.
    void strings(const char* prefix, const QStringList& lines);
    // "<prefix>.Data"; nothing without a picture.
    void picture(const char* prefix, const LayoutPicture& picture);

  private:
    QByteArray sub(const char* prefix, const char* name) const;
    LayoutStreamWriter& w_;
    bool all_ = false;
};

// What became of one property entry of a stream.
enum class ReadResult {
    Ok,        // assigned
    Unknown,   // the class has no such property
    BadValue,  // the value is of the wrong kind or names no value of the type
};

// One property entry being read: its name and value, with conversions that check the
// value's kind. Names compare without regard to letter case.
class PropertyReader {
  public:
    PropertyReader(const QByteArray& name, const StreamValue& value) : name_(name), value_(value) {}

    const QByteArray& name() const { return name_; }
    const StreamValue& value() const { return value_; }
    bool is(const char* name) const { return qstricmp(name_.constData(), name) == 0; }

    ReadResult integer(int* out) const;
    ReadResult color(TColor* out) const;
    ReadResult cursor(int* out) const;
    ReadResult boolean(bool* out) const;
    ReadResult string(QString* out) const;
    template <typename E>
    ReadResult enumeration(E* out) const {
        if (value_.tag != stream::Tag::Ident) return ReadResult::BadValue;
        return EnumFromName(value_.bytes, out) ? ReadResult::Ok : ReadResult::BadValue;
    }
    ReadResult fontStyle(TFontStyles* out) const;

    // Each of these answers Unknown when the name is not one of the sub-object's.
    ReadResult font(const char* prefix, LayoutFont* font) const;
    ReadResult pen(const char* prefix, LayoutPen* pen) const;
    ReadResult brush(const char* prefix, LayoutBrush* brush) const;
    ReadResult strings(const char* prefix, QStringList* lines) const;
    ReadResult picture(const char* prefix, LayoutPicture* picture) const;

  private:
    // The part of the name after "<prefix>.", or empty when it has another prefix.
    QByteArray subName(const char* prefix) const;
    const QByteArray& name_;
    const StreamValue& value_;
};

}  // namespace layout
