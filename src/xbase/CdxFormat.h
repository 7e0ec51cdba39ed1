#pragma once

// Compact index files: the structural CDX beside a table (many tags) and the
// single-order IDX. Both are made of 512-byte pages; every pointer is a byte
// offset into the file. Little-endian unless marked BE.
//
// Header, 1024 bytes (the CDX tag directory at offset 0, each CDX tag, an IDX file):
//   0    4  root node offset
//   4    4  first free page, 0 = none; a free page holds the next one in its first 4 bytes
//   8    4  BE change counter
//   12   2  key length (10 for the directory, at most 240)
//   14   1  options: 0x01 unique, 0x08 has FOR, 0x20 compact, 0x40 compound,
//           0x80 the directory ("structure")
//   15   1  signature, 1
//   28   1  (ours, directory header only) 1 while a writer has the file open with
//           unsaved changes: a file left so was not closed properly
//   502  2  0 ascending, 1 descending
//   504  2  offset of the FOR expression in the pool (= key expression length + 1)
//   506  2  FOR expression length with its NUL; 1 when none
//   508  2  offset of the key expression in the pool (0)
//   510  2  key expression length with its NUL
//   512  512 expression pool: key "\0" FOR "\0"
// The directory is itself a tree whose keys are the tag names (upper case, blank
// padded to 10) and whose record numbers are the offsets of the tags' headers.
//
// Node, 512 bytes:
//   0    2  attributes: 0x01 root, 0x02 leaf (test bits: other writers set 0x04 too)
//   2    2  number of keys
//   4    4  left sibling, 0xFFFFFFFF none
//   8    4  right sibling, 0xFFFFFFFF none
// Interior node, from 12: entries of key (key length, padded) . BE record number .
//   BE child offset; each entry holds the highest key of its child with its record.
// Leaf node:
//   12   2  free bytes of the 488-byte area
//   14   4  record number mask;  18 1 duplicate-count mask;  19 1 trailing-count mask
//   20   1  record bits R;  21 1 duplicate bits D;  22 1 trailing bits T
//   23   1  bytes per entry E (R + D + T = 8E)
//   24   ... entries, E bytes each, an LE integer: record (low R bits), then the count
//           of bytes shared with the previous key (D bits), then the count of trailing
//           pad bytes (T bits). Key bytes are packed backwards from offset 511: each
//           key stores key length - dup - trail bytes.
//   A key shares no bytes with the previous key's trailing padding (dup <= key length -
//   trail(previous)), which is what every other reader expects.
//   Pad byte: blank for character keys, 0x00 for all others.
//
// Keys sort by (key bytes, record number), bytes compared unsigned. Numeric and date
// keys are 8-byte doubles stored big-endian with the sign bit flipped (all bytes
// inverted for negatives); dates as their Julian day number. Logical keys are 'T'/'F'.

#include <cstddef>
#include <cstdint>

namespace xbase {
namespace cdx {

constexpr uint32_t kPageSize = 512;
constexpr uint32_t kHeaderSize = 1024;
constexpr uint32_t kNone = 0xFFFFFFFFu;
constexpr int kMaxKeyLength = 240;
constexpr int kTagNameLength = 10;

constexpr size_t kOffRoot = 0;
constexpr size_t kOffFreeList = 4;
constexpr size_t kOffChangeCounter = 8;
constexpr size_t kOffKeyLength = 12;
constexpr size_t kOffOptions = 14;
constexpr size_t kOffSignature = 15;
constexpr size_t kOffOpenForWrite = 28;
constexpr size_t kOffDescending = 502;
constexpr size_t kOffForOffset = 504;
constexpr size_t kOffForLength = 506;
constexpr size_t kOffKeyOffset = 508;
constexpr size_t kOffKeyExprLength = 510;
constexpr size_t kOffExprPool = 512;
constexpr size_t kExprPoolSize = 512;

constexpr uint8_t kOptUnique = 0x01;
constexpr uint8_t kOptHasFor = 0x08;
constexpr uint8_t kOptCompact = 0x20;
constexpr uint8_t kOptCompound = 0x40;
constexpr uint8_t kOptStructure = 0x80;

constexpr uint16_t kAttrRoot = 0x01;
constexpr uint16_t kAttrLeaf = 0x02;

constexpr size_t kOffAttr = 0;
constexpr size_t kOffCount = 2;
constexpr size_t kOffLeft = 4;
constexpr size_t kOffRight = 8;
constexpr size_t kOffInteriorEntries = 12;
constexpr size_t kOffLeafFree = 12;
constexpr size_t kOffRecMask = 14;
constexpr size_t kOffDupMask = 18;
constexpr size_t kOffTrailMask = 19;
constexpr size_t kOffRecBits = 20;
constexpr size_t kOffDupBits = 21;
constexpr size_t kOffTrailBits = 22;
constexpr size_t kOffEntryBytes = 23;
constexpr size_t kOffLeafEntries = 24;
constexpr size_t kLeafArea = kPageSize - kOffLeafEntries;  // 488

}  // namespace cdx
}  // namespace xbase
