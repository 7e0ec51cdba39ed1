#pragma once

#include <cstdint>

namespace xbase {
class Table;
}

// Cursor moves the windows and print jobs share.
namespace RecordMoves {

// The record buttons: first, prior, next, last. The cursor stays on a record at either
// end of the table's selection.
enum class Move { First, Prior, Next, Last };
void MoveRecord(xbase::Table& table, Move move);

// Whether the current record belongs to the table's selection: not past the end, not
// hidden as deleted, and matching the query.
bool InSelection(xbase::Table& table);

// "Start from current record": goes to `recNo` when it is in the selection and returns
// true; otherwise goes to the first record of the selection and returns false (the
// caller tells the user that the record was out of range).
bool StartAt(xbase::Table& table, uint32_t recNo);

}  // namespace RecordMoves
