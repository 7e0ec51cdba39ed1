#include "SavedCursor.h"

#include "Table.h"

SavedCursor::SavedCursor(xbase::Table& table)
    : table_(table),
      query_(table.queryText()),
      recNo_(table.eof() ? 0 : table.recNo()),
      order_(table.indexOrd()),
      exact_(table.exact()),
      softSeek_(table.softSeek()),
      hideDeleted_(table.hidesDeleted()) {}

SavedCursor::~SavedCursor() {
    if (table_.queryText() != query_) (void)table_.query(query_);
    if (table_.indexOrd() != order_) (void)table_.setOrder(order_);
    table_.setExact(exact_);
    table_.setSoftSeek(softSeek_);
    table_.setDeleted(hideDeleted_);
    if (keepPosition_) return;
    if (recNo_ == 0 ? !table_.eof() : table_.eof() || table_.recNo() != recNo_) (void)table_.go(recNo_);
}
