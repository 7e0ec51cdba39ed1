#pragma once

#include <QString>
#include <QStringList>
#include <vector>

#include "Table.h"

// The fourteen sort orders of the Sort menu. Each is a tag of the address file, whose
// key is upper-cased, so every order ignores letter case. An order's name is its menu
// caption without the first character ("&Last Name" -> "Last Name").
namespace SortOrders {

struct SortOrder {
    const char* caption;  // the Sort menu item, with its "&"
    const char* tag;      // the index tag it selects
};

// In menu order; "Last Name" first.
const std::vector<SortOrder>& orders();
QString name(const SortOrder& order);
// The fourteen names, in menu order: the Search dialog's order list.
QStringList names();

// The order selected when a file is opened.
inline const QString kDefaultName = QStringLiteral("Last Name");

// The tag for an order name in any letter case: "LAST NAME" -> "LNAME", "FIRST NAME" ->
// "FNAME", "ORGANIZATION" -> "ORG", "E-MAIL" -> "EMAIL", and the other ten to the tag of
// the same name. Empty for any other name.
QString tagForName(const QString& name);

// The sort panel of the status line: "Sorted by " + the name as given.
QString panelText(const QString& name);

// Stores `tag` in `*currentOrderName` and, when it is not empty, makes the tag of that
// name the table's order (natural order when the file has no such tag). Errors are
// ignored: tools call this to put the order back after their work. The cursor stays.
void SetCurrentOrder(xbase::Table& table, QString* currentOrderName, const QString& tag);

// What the window shows after an order is chosen.
struct OrderChoice {
    QString panelText;  // for the sort panel
    int checkedItem;    // the Sort menu item to tick (the others are unticked); -1: none
};

// Selects the order named `name` (SetCurrentOrder with its tag; a name that is not an
// order leaves the order as it is). The panel reads "Sorted by " + `name` either way,
// and the item to tick is the one whose name equals `name` in any letter case.
OrderChoice SetOrderTo(xbase::Table& table, QString* currentOrderName, const QString& name);
// SetOrderTo with a menu item's caption without its first character.
OrderChoice SetMenuOrder(xbase::Table& table, QString* currentOrderName, const QString& caption);

}  // namespace SortOrders
