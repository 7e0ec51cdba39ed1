#pragma once

#include <cstdint>

// The layout stream: the bytes of layout files, of the design clipboard file and of
// the in-memory copy that clones an object. The reader and the writer both include
// this header; no other file knows an offset or a tag value.
//
// A stream holds one or more object lists. A label or envelope file holds one list;
// a report file holds four (header band, detail band, footer band, then the report
// settings as a list of plain values).
//
//   object list   := 01 object-record* 00
//   object-record := "TPF0" [prefix] short(class name) short(object name)
//                    property* 00 child-list
//   prefix        := one byte F0 | flags, present only when flags are not empty;
//                    when flags has kFlagChildPos a tagged integer (02/03/04) follows.
//                    Our writer never writes one; the reader accepts it.
//   property      := short(name) value        (sub-objects: "Font.Color", "Pen.Width")
//   child-list    := 00                         (layout objects never have children)
//   short(s)      := one length byte, then that many bytes
//   value         := tag payload                (tags below; integers little-endian)
//
// Strings are single-byte Windows-1252 text. All integers are signed and little-endian.
namespace layout::stream {

// Tag bytes of values, on disk: never renumber.
enum class Tag : uint8_t {
    Null = 0x00,        // end of a list, of the properties, of a set
    List = 0x01,        // values up to a Null tag
    Int8 = 0x02,        // 1 byte
    Int16 = 0x03,       // 2 bytes
    Int32 = 0x04,       // 4 bytes
    Extended = 0x05,    // 10 bytes, 80-bit x87 (see Extended80.h)
    String = 0x06,      // short string
    Ident = 0x07,       // short string: an enumeration value, colour or cursor name
    BoolFalse = 0x08,   // none
    BoolTrue = 0x09,    // none
    Binary = 0x0A,      // 4-byte length, then that many bytes
    Set = 0x0B,         // member names as short strings, ended by an empty one (00)
    LString = 0x0C,     // 4-byte length, then that many bytes
    Nil = 0x0D,         // none
    Collection = 0x0E,  // not written by layout files; read by the text dump only
    Single = 0x0F,      // 4-byte IEEE float; not written by layout files
    Currency = 0x10,    // 8-byte integer, value × 10000; not written by layout files
    Date = 0x11,        // 8-byte double; not written by layout files
    WString = 0x12,     // 4-byte count of UTF-16 units, then the units
    Int64 = 0x13,       // 8 bytes
    Utf8String = 0x14,  // 4-byte length, then UTF-8 bytes; written only for text that
                        // Windows-1252 cannot hold
};

// The four bytes that open every object record.
constexpr char kSignature[4] = {'T', 'P', 'F', '0'};

// The prefix byte: its high nibble is F, its low nibble the flags.
constexpr uint8_t kPrefixMask = 0xF0;
constexpr uint8_t kFlagsMask = 0x0F;
constexpr uint8_t kFlagInherited = 0x01;
constexpr uint8_t kFlagChildPos = 0x02;
constexpr uint8_t kFlagInline = 0x04;

// Longest text written with Tag::String; longer text uses Tag::LString.
constexpr int kMaxShortString = 255;

// Picture.Data: short(graphic class) then a 4-byte length and the image. For a bitmap
// the length counts the BMP file only; for a metafile it counts itself as well.
constexpr char kBitmapClass[] = "TBitmap";
constexpr char kMetafileClass[] = "TMetafile";

}  // namespace layout::stream
