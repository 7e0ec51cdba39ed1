#include "TMemoSearching.h"

#include <QApplication>
#include <QCloseEvent>
#include <QHBoxLayout>
#include <QKeyEvent>
#include <QLabel>
#include <QPushButton>
#include <QVBoxLayout>

TMemoSearching::TMemoSearching(const QString& text, QWidget* parent) : QDialog(parent), text_(text) {
    setObjectName("TMemoSearching");
    setWindowTitle("Searching");
    setModal(true);

    SearchingLabel = new QLabel(Search::SearchingText(text.left(Search::kMaxSearchText)));
    SearchingLabel->setObjectName("SearchingLabel");
    SearchingLabel->setTextFormat(Qt::PlainText);
    CancelButton = new QPushButton("Cancel");
    CancelButton->setObjectName("CancelButton");
    connect(CancelButton, &QPushButton::clicked, this, &TMemoSearching::CancelButtonClick);

    auto* buttons = new QHBoxLayout;
    buttons->addStretch(1);
    buttons->addWidget(CancelButton);
    buttons->addStretch(1);
    auto* layout = new QVBoxLayout(this);
    layout->addWidget(SearchingLabel);
    layout->addLayout(buttons);
    setMinimumWidth(300);
}

Search::MemoSearchResult TMemoSearching::Run(xbase::Table& table, const QString& text,
                                             Search::MemoSearchStart start, QWidget* parent) {
    TMemoSearching dialog(text, parent);
    return dialog.search(table, start);
}

Search::MemoSearchResult TMemoSearching::search(xbase::Table& table, Search::MemoSearchStart start) {
    cancelled_ = false;
    show();
    QApplication::processEvents();
    const Search::MemoSearchResult result = Search::MemoSearch(table, text_, start, [this] {
        QApplication::processEvents();
        return !cancelled_;
    });
    hide();
    return result;
}

void TMemoSearching::closeEvent(QCloseEvent* event) {
    // The close box stops the search like Cancel; the window goes when the search has.
    cancelled_ = true;
    event->ignore();
}

void TMemoSearching::keyPressEvent(QKeyEvent* event) {
    if (event->key() == Qt::Key_Escape) {
        cancelled_ = true;
        return;
    }
    QDialog::keyPressEvent(event);
}
