#pragma once

#include <QDialog>
#include <QString>

#include "Search.h"

class QLabel;
class QPushButton;

namespace xbase {
class Table;
}

// "Searching": the small window shown while the memos are searched, with "Searching
// for: " and the text, and Cancel. Between records the search lets pending events run,
// so that Cancel can be pressed; it stops the search before the next record.
class TMemoSearching : public QDialog {
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

    bool cancelled() const { return cancelled_; }

    QLabel* SearchingLabel;
    QPushButton* CancelButton;

  protected:
    void closeEvent(QCloseEvent* event) override;
    void keyPressEvent(QKeyEvent* event) override;

  private:
    void CancelButtonClick() { cancelled_ = true; }

    QString text_;
    bool cancelled_ = false;
};
