#pragma once

#include <QString>

#include "JobWindow.h"
#include "Search.h"

class QLabel;

namespace xbase {
class Table;
}

// "Searching": the small window shown while the memos are searched, with "Searching
// for: " and the text, and Cancel, which stops the search before the next record
// (without a question; so do the close box and Escape).
class TMemoSearching : public JobWindow {
    Q_OBJECT

  public:
    TMemoSearching(const QString& text, QWidget* parent = nullptr);

    // Search Memo (from the first record) or Find Next (from the record after the
    // current one), with this window up for the time it takes. Found: that record is
    // current. Not found or cancelled: the record that was current stays current; the
    // main window then beeps and withdraws Find Next.
    static Search::MemoSearchResult Run(xbase::Table& table, const QString& text,
                                        Search::MemoSearchStart start, QWidget* parent = nullptr);

    // Runs the search with this window shown, and closes it.
    Search::MemoSearchResult search(xbase::Table& table, Search::MemoSearchStart start);

    QLabel* SearchingLabel;

  private:
    QString text_;
};
