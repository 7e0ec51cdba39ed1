#pragma once

// The DBF table file, as read and written by Table. Little-endian throughout.
//
//   offset  size  header (32 bytes)
//   0       1     version: 0x03 no memo, 0xF5 FoxPro 2.x with FPT memo, 0x30/0x31/0x32
//                 Visual FoxPro, 0x83 dBase III + DBT, 0x8B (or 0x84) dBase IV + DBT
//   1       3     date of last update: year byte, month, day. Year < 100 is read as
//                 2000 + y when written by FoxPro (y = year mod 100); >= 100 as 1900 + y
//   4       4     record count
//   8       2     header length = offset of record 1
//   10      2     record length, deletion byte included
//   12      16    reserved, zero
//   28      1     table flags: 0x01 structural CDX, 0x02 memo (Visual FoxPro), 0x04 database
//   29      1     code-page mark (see CodePage)
//   30      2     zero
//
//   32      32*n  field descriptors:
//                   0  11  name, NUL padded
//                   11 1   type
//                   12 4   offset of the field in the record (FoxPro fills it; others may
//                          leave garbage, so offsets are always recomputed)
//                   16 1   width
//                   17 1   decimals
//                   18 1   Visual FoxPro field flags (read for 0x30-0x32 only)
//   then 0x0D; Visual FoxPro adds a 263-byte backlink; dBase/Clipper add one 0x00.
//
// Records follow at the header length: one deletion byte (' ' live, '*' deleted) and
// the fields in order, no separators. An EOF byte 0x1A follows the last record; many
// writers omit it, so the count comes from the header, checked against the size
// (Table::measureRecords): the file must hold exactly the counted records, then the
// EOF byte or nothing. Bytes after an EOF byte that follows the counted records are
// not records; nor is a blank record (or the start of one) right after them, which is
// what an append that stopped before writing the count leaves. Anything else, fewer
// records, more, or a partial one, is a damaged count.
//
// C  text in the table's code page, blank padded.       N  ASCII, right aligned.
// L  'T' 'F' (also t f Y y N n; ' ' and '?' are blank).  D  YYYYMMDD or 8 blanks.
// M  block number in the memo file: 10 ASCII digits, right aligned, blank = none;
//    Visual FoxPro: a 4-byte little-endian integer, 0 = none.

#include <cstdint>
#include <cstring>

namespace xbase {
namespace dbf {

constexpr uint8_t kVersionNoMemo = 0x03;
constexpr uint8_t kVersionFoxProMemo = 0xF5;
constexpr uint8_t kVersionVisualFoxPro = 0x30;
constexpr uint8_t kVersionVisualFoxProAutoInc = 0x31;
constexpr uint8_t kVersionVisualFoxProVarchar = 0x32;
constexpr uint8_t kVersionDBase3Memo = 0x83;
constexpr uint8_t kVersionDBase4Memo = 0x8B;
constexpr uint8_t kVersionDBase4MemoAlt = 0x84;  // dBase IV with DBT as some writers mark it
constexpr uint8_t kVersionFoxBase = 0x02;

constexpr size_t kHeaderSize = 32;
constexpr size_t kDescriptorSize = 32;
constexpr size_t kBacklinkSize = 263;
constexpr size_t kMaxFields = 255;

constexpr size_t kOffRecordCount = 4;
constexpr size_t kOffHeaderLength = 8;
constexpr size_t kOffRecordLength = 10;
constexpr size_t kOffFlags = 28;
constexpr size_t kOffCodePage = 29;

constexpr size_t kDescName = 0;
constexpr size_t kDescType = 11;
constexpr size_t kDescOffset = 12;
constexpr size_t kDescWidth = 16;
constexpr size_t kDescDecimals = 17;
constexpr size_t kDescFlags = 18;

constexpr uint8_t kFlagStructuralIndex = 0x01;
constexpr uint8_t kFlagHasMemo = 0x02;

constexpr char kTerminator = 0x0D;
constexpr char kEof = 0x1A;
constexpr char kLive = ' ';
constexpr char kDeleted = '*';

constexpr int kMemoRefWidth = 10;

inline bool isVisualFoxPro(uint8_t v) {
    return v == kVersionVisualFoxPro || v == kVersionVisualFoxProAutoInc || v == kVersionVisualFoxProVarchar;
}

inline uint32_t getU32(const char* p) {
    uint32_t v;
    std::memcpy(&v, p, 4);  // little-endian host
    return v;
}
inline uint16_t getU16(const char* p) {
    uint16_t v;
    std::memcpy(&v, p, 2);
    return v;
}
inline void putU32(char* p, uint32_t v) { std::memcpy(p, &v, 4); }
inline void putU16(char* p, uint16_t v) { std::memcpy(p, &v, 2); }

inline uint32_t getU32BE(const char* p) {
    const auto* u = reinterpret_cast<const unsigned char*>(p);
    return (uint32_t(u[0]) << 24) | (uint32_t(u[1]) << 16) | (uint32_t(u[2]) << 8) | uint32_t(u[3]);
}
inline void putU32BE(char* p, uint32_t v) {
    p[0] = char(v >> 24);
    p[1] = char(v >> 16);
    p[2] = char(v >> 8);
    p[3] = char(v);
}

}  // namespace dbf
}  // namespace xbase
