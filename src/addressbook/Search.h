#pragma once

#include <QString>
#include <functional>

#include "SortOrders.h"
#include "Table.h"

// Finding a record: by the beginning of a sort order's key (the Search dialog), and
// by a text anywhere in the memo (Search Memo / Find Next).
namespace Search {

// The text above the Search dialog's edit for the selected order name.
QString LabelText(const QString& orderName);

// The Search dialog's Ok. With an empty text nothing changes and the result is false.
// Otherwise the order named `orderName` is selected (as SortOrders::SetOrderTo, whose
// result goes to `*choice` for the sort panel and menu) and the table lands on the
// first visible record, in that order, whose key begins with the text in any letter
// case. When none does the current record stays. Exact matching is left off, the
// table's standing setting, and soft seek off. True when a record was found.
bool SearchOrder(xbase::Table& table, QString* currentOrderName, const QString& orderName,
                 const QString& text, SortOrders::OrderChoice* choice = nullptr);

// The most of a memo that is searched, and the longest text searched for.
inline constexpr int kMaxMemoSearched = 32767;
inline constexpr int kMaxSearchText = 255;

// Whether `text` (its first 255 characters) occurs, in any letter case, in the first
// 32767 characters of `memo`. An empty memo contains nothing; nor does any memo
// contain an empty text.
bool MemoContains(const QString& memo, const QString& text);

// The Searching dialog's line.
QString SearchingText(const QString& text);

enum class MemoSearchStart { FirstRecord, AfterCurrent };  // Search Memo; Find Next
enum class MemoSearchResult { Found, NotFound, Cancelled };

// Steps through the visible records in the current order, from the first record or
// from the one after the current record, until one's MEMO contains `text`. Before
// each further record `keepGoing` is asked (the dialog lets pending events run there
// and returns false once Cancel was pressed). Found: that record is current. Not
// found or cancelled: the record that was current before stays current; the window
// beeps and withdraws Find Next.
MemoSearchResult MemoSearch(xbase::Table& table, const QString& text, MemoSearchStart start,
                            const std::function<bool()>& keepGoing = nullptr);

}  // namespace Search
