#include "SortOrders.h"

namespace SortOrders {

const std::vector<SortOrder>& orders() {
    static const std::vector<SortOrder> list = {
        {"&Last Name", "LNAME"}, {"&First Name", "FNAME"}, {"&Title", "TITLE"},  {"&Organization", "ORG"},
        {"&Street", "STREET"},   {"&City", "CITY"},        {"&State", "STATE"},  {"&Zip", "ZIP"},
        {"&Country", "COUNTRY"}, {"&Phone", "PHONE"},      {"&E-mail", "EMAIL"}, {"&Fax", "FAX"},
        {"&Date", "DATE"},       {"&Codes", "CODES"},
    };
    return list;
}

QString name(const SortOrder& order) { return QString::fromLatin1(order.caption).mid(1); }

QStringList names() {
    QStringList list;
    for (const SortOrder& o : orders()) list << name(o);
    return list;
}

QString tagForName(const QString& orderName) {
    const QString upper = orderName.toUpper();
    for (const SortOrder& o : orders()) {
        if (name(o).toUpper() == upper) return QString::fromLatin1(o.tag);
    }
    return QString();
}

QString panelText(const QString& orderName) { return QStringLiteral("Sorted by ") + orderName; }

void SetCurrentOrder(xbase::Table& table, QString* currentOrderName, const QString& tag) {
    *currentOrderName = tag;
    if (tag.isEmpty()) return;
    (void)table.setOrder(table.tagArea(tag.toStdString()));
}

OrderChoice SetOrderTo(xbase::Table& table, QString* currentOrderName, const QString& orderName) {
    const QString tag = tagForName(orderName);
    if (!tag.isEmpty()) SetCurrentOrder(table, currentOrderName, tag);
    OrderChoice choice{panelText(orderName), -1};
    const QStringList all = names();
    for (int i = 0; i < all.size(); ++i) {
        if (all[i].compare(orderName, Qt::CaseInsensitive) == 0) choice.checkedItem = i;
    }
    return choice;
}

OrderChoice SetMenuOrder(xbase::Table& table, QString* currentOrderName, const QString& caption) {
    return SetOrderTo(table, currentOrderName, caption.mid(1));
}

}  // namespace SortOrders
