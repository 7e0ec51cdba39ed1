#pragma once

#include <string>
#include <string_view>
#include <vector>

// One line of an ASCII (comma-separated) import file and how it splits into fields.
namespace AsciiLine {

// The longest line the import reads, in characters (a longer one stops the import).
inline constexpr int kMaxLength = 2048;
// The most source fields the import holds; fields past them are never imported.
inline constexpr int kMaxFields = 255;

// Splits a line at its commas by the import's quoting rules:
//  1. Before the first double quote of the line every comma splits; a line without
//     quotes is split at every comma.
//  2. From there each double quote opens or closes a quoted stretch, except a quote
//     that directly follows another quote: that one closes an open stretch only when a
//     comma or the end of the line comes next, and otherwise changes nothing.
//  3. A comma inside an open stretch belongs to the field.
//  4. A field that begins and ends with a double quote loses these two; quotes inside
//     it stay as they are (a doubled quote stays doubled).
// An empty line gives one empty field; a trailing comma gives a last empty field.
// Works on UTF-8 (or any text whose quote and comma are the ASCII bytes).
std::vector<std::string> Split(std::string_view line);

}  // namespace AsciiLine
