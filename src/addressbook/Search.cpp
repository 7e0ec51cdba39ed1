#include "Search.h"

#include "CodePage.h"
#include "SavedCursor.h"
#include "TableText.h"

namespace Search {

QString LabelText(const QString& orderName) {
    return QStringLiteral("Search ") + orderName + QStringLiteral(" starting with...");
}

bool SearchOrder(xbase::Table& table, QString* currentOrderName, const QString& orderName,
                 const QString& text, SortOrders::OrderChoice* choice) {
    if (text.isEmpty()) return false;
    const SortOrders::OrderChoice chosen = SortOrders::SetOrderTo(table, currentOrderName, orderName);
    if (choice) *choice = chosen;

    table.setExact(false);
    bool found = false;
    {
        SavedCursor saved(table);  // where the cursor goes back to when nothing is found
        table.setSoftSeek(true);
        std::string key;
        // The key as the order's UPPER() makes it in the table's code page. A character
        // the code page cannot hold is in no key: nothing matches.
        if (TableText::encode(table.codePage(), text, &key).ok()) {
            if (!table.seek(table.codePage().upper(key), &found).ok()) found = false;
        }
        if (found) saved.keepPosition();
    }
    table.setSoftSeek(false);
    return found;
}

bool MemoContains(const QString& memo, const QString& text) {
    if (memo.isEmpty() || text.isEmpty()) return false;
    return memo.left(kMaxMemoSearched).contains(text.left(kMaxSearchText), Qt::CaseInsensitive);
}

QString SearchingText(const QString& text) { return QStringLiteral("Searching for: ") + text; }

MemoSearchResult MemoSearch(xbase::Table& table, const QString& text, MemoSearchStart start,
                            const std::function<bool()>& keepGoing) {
    SavedCursor saved(table);  // where the cursor goes back to unless a memo matches
    const int memoField = table.fieldIndex("MEMO");
    xbase::Status s = start == MemoSearchStart::FirstRecord ? table.goTop() : table.skip(1);
    MemoSearchResult result = MemoSearchResult::NotFound;
    while (s.ok() && !table.eof() && memoField >= 0) {
        std::string raw;
        if (table.getMemo(memoField, &raw).ok() &&
            MemoContains(TableText::decode(table.codePage(), raw), text)) {
            saved.keepPosition();
            return MemoSearchResult::Found;
        }
        if (keepGoing && !keepGoing()) {
            result = MemoSearchResult::Cancelled;
            break;
        }
        s = table.skip(1);
    }
    return result;
}

}  // namespace Search
