#include "Search.h"

#include "CodePage.h"
#include "Filter.h"
#include "SavedCursor.h"

namespace Search {

namespace {

// The key as the order's UPPER() makes it in this table's code page.
QString upperKey(const xbase::Table& table, const QString& text) {
    if (table.codePageMark() == xbase::CodePage::kWindows1252) return Filter::UpperForTable(text);
    QString out = text;
    for (QChar& c : out) {
        if (c >= QLatin1Char('a') && c <= QLatin1Char('z')) c = QChar(char16_t(c.unicode() - 32));
    }
    return out;
}

}  // namespace

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
        // A character the file's code page cannot hold is in no key: nothing matches.
        if (table.codePage().fromUtf8(upperKey(table, text).toStdString(), &key).ok()) {
            if (!table.seek(key, &found).ok()) found = false;
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
            MemoContains(QString::fromStdString(table.codePage().toUtf8(raw)), text)) {
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
