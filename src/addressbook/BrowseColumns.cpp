#include "BrowseColumns.h"

#include <algorithm>

namespace BrowseColumns {

const std::vector<Column>& all() {
    static const std::vector<Column> list = {
        {"Tagged", "Tagged", 5, true, Kind::Tagged},
        {"LNAME", "Last Name", 20, true, Kind::Stored},
        {"FNAME", "First Name", 15, true, Kind::Stored},
        {"MIDDLE", "Middle", 0, true, Kind::Stored},
        {"PREFIX", "Prefix", 4, true, Kind::Stored},
        {"TITLE", "Title", 20, true, Kind::Stored},
        {"ORG", "Organization", 20, true, Kind::Stored},
        {"STREET", "Address 1", 0, true, Kind::Stored},
        {"STREET2", "Address 2", 20, true, Kind::Stored},
        {"CITY", "City", 15, true, Kind::Stored},
        {"STATE", "State", 5, true, Kind::Stored},
        {"ZIP", "Zip/Postal Code", 10, true, Kind::Stored},
        {"COUNTRY", "Country", 15, true, Kind::Stored},
        {"DATE", "Actual Date", 0, false, Kind::Stored},
        {"PHONE", "Phone 1", 15, true, Kind::Stored},
        {"PHONE2", "Phone 2", 15, true, Kind::Stored},
        {"FAX", "Fax", 0, true, Kind::Stored},
        {"EMAIL", "Email", 0, true, Kind::Stored},
        {"CODES", "Codes", 0, true, Kind::Stored},
        {"USER1", "Comment 1", 15, true, Kind::Stored},
        {"USER2", "Comment 2", 15, true, Kind::Stored},
        {"ISDEL", "Deleted", 0, false, Kind::Stored},
        {"TAG", "TAG", 0, false, Kind::Stored},
        {"MEMO", "MEMO", 0, false, Kind::Stored},
        {"DisplayDate", "Date", 12, true, Kind::DisplayDate},
        {"FullName", "Full Name", 35, false, Kind::Calculated},
        {"FullNameWithPrefix", "Full Name & Prefix", 35, false, Kind::Calculated},
        {"CityStateZip", "City, State & Zip", 35, false, Kind::Calculated},
    };
    return list;
}

const Column* find(const QString& name) {
    for (const Column& c : all()) {
        if (name.compare(QLatin1String(c.name), Qt::CaseInsensitive) == 0) return &c;
    }
    return nullptr;
}

QStringList defaultOrder() {
    QStringList order;
    for (const Column& c : all()) order << QString::fromLatin1(c.name);
    return order;
}

QStringList ApplyFieldsList(const QStringList& lines) {
    QStringList order = defaultOrder();
    for (int i = 0; i < lines.size(); ++i) {
        const Column* c = find(lines[i].trimmed());
        if (!c) continue;
        const int from = order.indexOf(QLatin1String(c->name));
        order.move(from, std::min(i, int(order.size()) - 1));
    }
    return order;
}

QStringList FieldsListAfter(const QStringList& order, const QStringList& shown) {
    // Every field once, in `order` as far as it names them.
    QStringList positions;
    for (const QString& name : order) {
        const Column* c = find(name);
        if (c && !positions.contains(QLatin1String(c->name))) positions << c->name;
    }
    for (const Column& c : all()) {
        if (!positions.contains(QLatin1String(c.name))) positions << c.name;
    }
    QStringList visibleInView;
    for (const QString& name : shown) {
        const Column* c = find(name);
        if (c && c->visible && !visibleInView.contains(QLatin1String(c->name))) visibleInView << c->name;
    }
    // A visible field the grid did not report keeps its relative place after the others.
    for (const QString& name : positions) {
        if (find(name)->visible && !visibleInView.contains(name)) visibleInView << name;
    }
    int next = 0;
    for (QString& name : positions) {
        if (find(name)->visible) name = visibleInView[next++];
    }
    return positions;
}

}  // namespace BrowseColumns
