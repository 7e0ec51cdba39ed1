#include "TMemoSearching.h"

#include <QLabel>
#include <QVBoxLayout>

TMemoSearching::TMemoSearching(const QString& text, QWidget* parent) : JobWindow(parent), text_(text) {
    setObjectName("TMemoSearching");
    setWindowTitle("Searching");
    SearchingLabel = new QLabel(Search::SearchingText(text.left(Search::kMaxSearchText)));
    SearchingLabel->setObjectName("SearchingLabel");
    SearchingLabel->setTextFormat(Qt::PlainText);
    body()->addWidget(SearchingLabel);
    StatusLabel->hide();
    setMinimumWidth(300);
}

Search::MemoSearchResult TMemoSearching::Run(xbase::Table& table, const QString& text,
                                             Search::MemoSearchStart start, QWidget* parent) {
    TMemoSearching dialog(text, parent);
    return dialog.search(table, start);
}

Search::MemoSearchResult TMemoSearching::search(xbase::Table& table, Search::MemoSearchStart start) {
    Search::MemoSearchResult result = Search::MemoSearchResult::Cancelled;
    setJob([&](JobProgress& progress) {
        result = Search::MemoSearch(table, text_, start, [&progress] { return progress.keepGoing(); });
        return result == Search::MemoSearchResult::Cancelled ? JobResult::Cancelled : JobResult::Done;
    });
    exec();
    return result;
}
