#include "PropertyStreaming.h"

namespace layout {

using stream::Tag;

QByteArray PropertyWriter::sub(const char* prefix, const char* name) const {
    return QByteArray(prefix) + '.' + name;
}

void PropertyWriter::integer(const char* name, int value) {
    w_.writePropName(name);
    w_.writeInteger(value);
}

void PropertyWriter::integer(const char* name, int value, int defaultValue) {
    if (all_ || value != defaultValue) integer(name, value);
}

void PropertyWriter::color(const char* name, TColor value) {
    w_.writePropName(name);
    QByteArray ident;
    if (ColorToIdent(value, &ident)) {
        w_.writeIdent(ident);
    } else {
        w_.writeInteger(value);
    }
}

void PropertyWriter::color(const char* name, TColor value, TColor defaultValue) {
    if (all_ || value != defaultValue) color(name, value);
}

void PropertyWriter::cursor(const char* name, int value, int defaultValue) {
    if (!all_ && value == defaultValue) return;
    w_.writePropName(name);
    QByteArray ident;
    if (CursorToIdent(value, &ident)) {
        w_.writeIdent(ident);
    } else {
        w_.writeInteger(value);
    }
}

void PropertyWriter::boolean(const char* name, bool value) {
    w_.writePropName(name);
    w_.writeBoolean(value);
}

void PropertyWriter::boolean(const char* name, bool value, bool defaultValue) {
    if (all_ || value != defaultValue) boolean(name, value);
}

void PropertyWriter::string(const char* name, const QString& value) {
    if (!all_ && value.isEmpty()) return;
    w_.writePropName(name);
    w_.writeString(value);
}

void PropertyWriter::fontStyle(const char* name, TFontStyles style) {
    w_.writePropName(name);
    std::vector<QByteArray> members;
    for (int s = fsBold; s <= fsStrikeOut; ++s)
        if (style & (1u << s)) members.push_back(EnumName(TFontStyle(s)));
    w_.writeSet(members);
}

void PropertyWriter::font(const char* prefix, const LayoutFont& f) {
    // Charset and Size are not written to files: the height carries the size.
    if (all_) integer(sub(prefix, "Charset").constData(), f.Charset);
    color(sub(prefix, "Color").constData(), f.Color);
    integer(sub(prefix, "Height").constData(), f.Height);
    w_.writePropName(sub(prefix, "Name"));
    w_.writeString(f.Name);
    enumeration(sub(prefix, "Pitch").constData(), f.Pitch, fpDefault);
    if (all_) integer(sub(prefix, "Size").constData(), f.Size());
    fontStyle(sub(prefix, "Style").constData(), f.Style);
}

void PropertyWriter::pen(const char* prefix, const LayoutPen& p) {
    color(sub(prefix, "Color").constData(), p.Color, clBlack);
    enumeration(sub(prefix, "Mode").constData(), p.Mode, pmCopy);
    enumeration(sub(prefix, "Style").constData(), p.Style, psSolid);
    integer(sub(prefix, "Width").constData(), p.Width, 1);
}

void PropertyWriter::brush(const char* prefix, const LayoutBrush& b) {
    color(sub(prefix, "Color").constData(), b.Color, clWhite);
    enumeration(sub(prefix, "Style").constData(), b.Style, bsSolid);
}

void PropertyWriter::strings(const char* prefix, const QStringList& lines) {
    if (!all_ && lines.isEmpty()) return;
    w_.writePropName(sub(prefix, "Strings"));
    w_.writeListBegin();
    for (const QString& line : lines) w_.writeString(line);
    w_.writeListEnd();
}

void PropertyWriter::picture(const char* prefix, const LayoutPicture& p) {
    if (p.isEmpty()) return;
    w_.writePropName(sub(prefix, "Data"));
    w_.writeBinary(p.data());
}

ReadResult PropertyReader::integer(int* out) const {
    if (!value_.isInteger() || value_.integer < INT32_MIN || value_.integer > INT32_MAX)
        return ReadResult::BadValue;
    *out = int(value_.integer);
    return ReadResult::Ok;
}

ReadResult PropertyReader::color(TColor* out) const {
    if (value_.tag == Tag::Ident)
        return IdentToColor(value_.bytes, out) ? ReadResult::Ok : ReadResult::BadValue;
    return integer(out);
}

ReadResult PropertyReader::cursor(int* out) const {
    if (value_.tag == Tag::Ident)
        return IdentToCursor(value_.bytes, out) ? ReadResult::Ok : ReadResult::BadValue;
    return integer(out);
}

ReadResult PropertyReader::boolean(bool* out) const {
    if (value_.tag == Tag::BoolFalse || value_.tag == Tag::BoolTrue) {
        *out = value_.tag == Tag::BoolTrue;
        return ReadResult::Ok;
    }
    if (value_.tag == Tag::Ident) {
        if (qstricmp(value_.bytes.constData(), "False") == 0 ||
            qstricmp(value_.bytes.constData(), "True") == 0) {
            *out = qstricmp(value_.bytes.constData(), "True") == 0;
            return ReadResult::Ok;
        }
    }
    return ReadResult::BadValue;
}

ReadResult PropertyReader::string(QString* out) const {
    if (!value_.isString()) return ReadResult::BadValue;
    *out = value_.text();
    return ReadResult::Ok;
}

ReadResult PropertyReader::fontStyle(TFontStyles* out) const {
    if (value_.tag != Tag::Set) return ReadResult::BadValue;
    TFontStyles style = 0;
    for (const QByteArray& member : value_.members) {
        TFontStyle s;
        if (!EnumFromName(member, &s)) return ReadResult::BadValue;
        style |= 1u << s;
    }
    *out = style;
    return ReadResult::Ok;
}

QByteArray PropertyReader::subName(const char* prefix) const {
    const qsizetype n = qsizetype(qstrlen(prefix));
    if (name_.size() <= n + 1 || name_[n] != '.' || qstrnicmp(name_.constData(), prefix, n) != 0) return {};
    return name_.mid(n + 1);
}

namespace {
bool same(const QByteArray& a, const char* b) { return qstricmp(a.constData(), b) == 0; }
}  // namespace

ReadResult PropertyReader::font(const char* prefix, LayoutFont* f) const {
    const QByteArray n = subName(prefix);
    if (n.isEmpty()) return ReadResult::Unknown;
    if (same(n, "Charset")) {
        if (value_.tag == Tag::Ident)
            return IdentToCharset(value_.bytes, &f->Charset) ? ReadResult::Ok : ReadResult::BadValue;
        return integer(&f->Charset);
    }
    if (same(n, "Color")) return color(&f->Color);
    if (same(n, "Height")) return integer(&f->Height);
    if (same(n, "Name")) return string(&f->Name);
    if (same(n, "Pitch")) return enumeration(&f->Pitch);
    if (same(n, "Style")) return fontStyle(&f->Style);
    if (same(n, "Size")) {
        int points;
        const ReadResult r = integer(&points);
        if (r == ReadResult::Ok) f->SetSize(points);
        return r;
    }
    return ReadResult::Unknown;
}

ReadResult PropertyReader::pen(const char* prefix, LayoutPen* p) const {
    const QByteArray n = subName(prefix);
    if (n.isEmpty()) return ReadResult::Unknown;
    if (same(n, "Color")) return color(&p->Color);
    if (same(n, "Mode")) return enumeration(&p->Mode);
    if (same(n, "Style")) return enumeration(&p->Style);
    if (same(n, "Width")) return integer(&p->Width);
    return ReadResult::Unknown;
}

ReadResult PropertyReader::brush(const char* prefix, LayoutBrush* b) const {
    const QByteArray n = subName(prefix);
    if (n.isEmpty()) return ReadResult::Unknown;
    if (same(n, "Color")) return color(&b->Color);
    if (same(n, "Style")) return enumeration(&b->Style);
    return ReadResult::Unknown;
}

ReadResult PropertyReader::strings(const char* prefix, QStringList* lines) const {
    const QByteArray n = subName(prefix);
    if (n.isEmpty() || !same(n, "Strings")) return ReadResult::Unknown;
    if (value_.tag != Tag::List) return ReadResult::BadValue;
    QStringList read;
    for (const StreamValue& item : value_.items) {
        if (!item.isString()) return ReadResult::BadValue;
        read << item.text();
    }
    *lines = read;
    return ReadResult::Ok;
}

ReadResult PropertyReader::picture(const char* prefix, LayoutPicture* p) const {
    const QByteArray n = subName(prefix);
    if (n.isEmpty() || !same(n, "Data")) return ReadResult::Unknown;
    if (value_.tag != Tag::Binary) return ReadResult::BadValue;
    return LayoutPicture::FromData(value_.bytes, p) ? ReadResult::Ok : ReadResult::BadValue;
}

}  // namespace layout
