#include "RecordMoves.h"

#include "Table.h"

namespace RecordMoves {

void MoveRecord(xbase::Table& table, Move move) {
    switch (move) {
        case Move::First: (void)table.goTop(); break;
        case Move::Prior: (void)table.skip(-1); break;
        case Move::Next: (void)table.skip(1); break;
        case Move::Last: (void)table.goBottom(); break;
    }
    if (table.eof()) (void)table.goBottom();
    if (table.bof()) (void)table.goTop();
}

bool InSelection(xbase::Table& table) {
    if (table.eof() || (table.hidesDeleted() && table.deleted())) return false;
    if (table.queryText().empty()) return true;
    bool match = false;
    return table.evalLogical(table.queryText(), &match).ok() && match;
}

bool StartAt(xbase::Table& table, uint32_t recNo) {
    if (recNo != 0 && table.go(recNo).ok() && InSelection(table)) return true;
    (void)table.goTop();
    return false;
}

}  // namespace RecordMoves
