#pragma once

#include <QDialog>
#include <QString>

#include "DialogServices.h"
#include "SortOrders.h"

class QComboBox;
class QLabel;
class QLineEdit;
class QPushButton;

namespace xbase {
class Table;
}

// "Search": finds the first record, in a chosen sort order, whose key begins with a
// text. Ok with a text selects that order for the main window (in `currentOrderName`,
// the main window's CurrentOrderName) and moves the table to the record found; when
// nothing matches the record stays where it was, without a message. Cancel, or Ok with
// an empty text, changes nothing.
//
// The dialog borrows the table and the order name; both must outlive it.
class TAddressSearch : public QDialog {
    Q_OBJECT

  public:
    TAddressSearch(xbase::Table& table, QString& currentOrderName, DialogServices services = {},
                   QWidget* parent = nullptr);

    // After Ok: whether a search ran (the text was not empty), whether it found a record,
    // and the sort panel text and Sort menu item the main window shows from now on.
    bool searched() const { return searched_; }
    bool found() const { return found_; }
    const SortOrders::OrderChoice& orderChoice() const { return choice_; }

    QComboBox* SearchOrderCombo;
    QLabel* SearchLabel;
    QLineEdit* SearchEdit;
    QPushButton* OkButton;
    QPushButton* CancelButton;
    QPushButton* HelpButton;

  protected:
    void showEvent(QShowEvent* event) override;

  private:
    void SearchOrderComboChange();
    void OkButtonClick();

    xbase::Table& table_;
    QString& currentOrderName_;
    DialogServices services_;
    bool searched_ = false;
    bool found_ = false;
    SortOrders::OrderChoice choice_{};
};
