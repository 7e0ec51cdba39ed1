#include "ColumnNames.h"

#include <QHash>

namespace ColumnNames {

namespace {

// What a column holds.
enum class Part { Field, Street, Street2, City, Region, PostalCode, Country, Phone, Fax, Email };

struct Meaning {
    Part part = Part::Field;
    const char* field = nullptr;  // for Part::Field: the address field's name
    QString group;                // for the address parts: which address ("home", "work", ...)
};

// The names of the address fields themselves, as the exports call them.
const struct {
    const char* field;
    std::vector<const char*> names;
} kFieldNames[] = {
    {"FNAME", {"first name", "given name", "forename", "first"}},
    {"LNAME", {"last name", "family name", "surname", "last"}},
    {"MIDDLE", {"middle name", "additional name", "middle initial", "middle"}},
    {"PREFIX", {"name prefix", "salutation", "honorific prefix"}},
    {"TITLE", {"job title", "organization title", "organization 1 title", "organisation title", "position"}},
    {"ORG",
     {"company", "company name", "organization", "organisation", "organization name", "organisation name",
      "organization 1 name", "org"}},
    {"MEMO", {"notes", "note", "memo"}},
};

// Phones, faxes and e-mail addresses: several columns may hold them.
const struct {
    Part part;
    std::vector<const char*> names;
} kContactNames[] = {
    {Part::Phone,
     {"phone", "phone number", "telephone", "tel", "mobile", "mobile phone", "mobile number", "cell",
      "cell phone", "home phone", "home phone 2", "work phone", "business phone", "business phone 2",
      "other phone", "primary phone", "company main phone", "car phone", "phone 1 value", "phone 2 value",
      "phone 3 value", "phone 4 value", "phone 5 value"}},
    {Part::Fax, {"fax", "fax number", "business fax", "work fax", "home fax", "other fax"}},
    {Part::Email,
     {"email", "e-mail", "email address", "e-mail address", "e-mail 2 address", "e-mail 3 address",
      "primary email", "secondary email", "mail", "email 1 value", "email 2 value", "email 3 value",
      "e-mail 1 value", "e-mail 2 value", "e-mail 3 value"}},
};

// The parts of an address, each under the prefixes that say which address it is.
const struct {
    Part part;
    std::vector<const char*> names;
} kAddressParts[] = {
    {Part::Street, {"street", "street address", "address", "address line 1", "street 1", "address 1"}},
    {Part::Street2, {"street 2", "address 2", "address line 2", "extended address"}},
    {Part::City, {"city", "town", "locality"}},
    {Part::Region, {"state", "region", "province", "state province", "state/province"}},
    {Part::PostalCode,
     {"postal code", "post code", "postcode", "zip", "zip code", "zipcode", "zip/postal code", "postal/zip"}},
    {Part::Country, {"country", "country/region", "country name"}},
};
const struct {
    const char* prefix;
    const char* group;
} kAddressGroups[] = {
    {"", ""},
    {"home", "home"},
    {"business", "work"},
    {"work", "work"},
    {"office", "work"},
    {"other", "other"},
    {"mailing", "mailing"},
    {"address 1 -", "1"},
    {"address 2 -", "2"},
    {"address 3 -", "3"},
};

const QHash<QString, Meaning>& table() {
    static const QHash<QString, Meaning> names = [] {
        QHash<QString, Meaning> t;
        auto add = [&t](const char* name, const Meaning& m) {
            const QString key = Normalized(QString::fromUtf8(name));
            if (!t.contains(key)) t.insert(key, m);
        };
        for (const auto& f : kFieldNames) {
            for (const char* n : f.names) add(n, {Part::Field, f.field, {}});
        }
        for (const auto& c : kContactNames) {
            for (const char* n : c.names) add(n, {c.part, nullptr, {}});
        }
        for (const auto& g : kAddressGroups) {
            for (const auto& a : kAddressParts) {
                for (const char* n : a.names) {
                    add((std::string(g.prefix) + " " + n).c_str(), {a.part, nullptr, QString::fromLatin1(g.group)});
                }
            }
        }
        return t;
    }();
    return names;
}

const char* addressField(Part part) {
    switch (part) {
        case Part::Street:
            return "STREET";
        case Part::Street2:
            return "STREET2";
        case Part::City:
            return "CITY";
        case Part::Region:
            return "STATE";
        case Part::PostalCode:
            return "ZIP";
        case Part::Country:
            return "COUNTRY";
        default:
            return nullptr;
    }
}

bool isAddress(Part part) { return addressField(part) != nullptr; }

int rowByLabel(const QString& key, const std::vector<Destination>& rows) {
    for (size_t r = 0; r < rows.size(); ++r) {
        if (Normalized(rows[r].label) == key || Normalized(rows[r].name) == key) return int(r);
    }
    return -1;
}

int rowByName(const char* name, const std::vector<Destination>& rows) {
    for (size_t r = 0; r < rows.size(); ++r) {
        if (rows[r].name == QLatin1String(name)) return int(r);
    }
    return -1;
}

}  // namespace

QString Normalized(const QString& name) {
    QString key;
    key.reserve(name.size());
    for (const QChar c : name) {
        if (c.isLetterOrNumber()) key += c.toLower();
    }
    return key;
}

bool Known(const QString& name, const std::vector<Destination>& rows) {
    const QString key = Normalized(name);
    return !key.isEmpty() && (rowByLabel(key, rows) >= 0 || table().contains(key));
}

bool LooksLikeHeader(const QStringList& firstLine, const std::vector<Destination>& rows) {
    int values = 0, known = 0;
    for (const QString& v : firstLine) {
        if (v.trimmed().isEmpty()) continue;
        ++values;
        known += Known(v, rows);
    }
    return known > 0 && (2 * known >= values || known >= 3);
}

std::vector<int> Match(const QStringList& columns, const std::vector<Destination>& rows) {
    std::vector<int> match(size_t(columns.size()), -1);
    std::vector<bool> taken(rows.size(), false);
    auto put = [&](int column, int row) {
        if (row < 0 || taken[size_t(row)] || match[size_t(column)] >= 0) return false;
        match[size_t(column)] = row;
        taken[size_t(row)] = true;
        return true;
    };
    std::vector<QString> keys;
    for (const QString& c : columns) keys.push_back(Normalized(c));

    // 1. Labels and field names.
    for (int c = 0; c < columns.size(); ++c) {
        if (!keys[size_t(c)].isEmpty()) put(c, rowByLabel(keys[size_t(c)], rows));
    }
    // 3. The address whose street comes first (else whose first part comes first).
    QString group;
    bool groupHasStreet = false;
    for (int c = 0; c < columns.size(); ++c) {
        const auto it = table().constFind(keys[size_t(c)]);
        if (it == table().constEnd() || !isAddress(it->part)) continue;
        const bool street = it->part == Part::Street;
        if (group.isNull() || (street && !groupHasStreet)) {
            group = it->group.isNull() ? QString("") : it->group;
            groupHasStreet = street;
            if (street) break;
        }
    }
    for (int c = 0; c < columns.size(); ++c) {
        const auto it = table().constFind(keys[size_t(c)]);
        if (it == table().constEnd()) continue;
        const Meaning& m = *it;
        switch (m.part) {
            case Part::Field:
                put(c, rowByName(m.field, rows));
                break;
            case Part::Phone:
                if (!put(c, rowByName("PHONE", rows))) put(c, rowByName("PHONE2", rows));
                break;
            case Part::Fax:
                put(c, rowByName("FAX", rows));
                break;
            case Part::Email:
                put(c, rowByName("EMAIL", rows));
                break;
            default:
                if (m.group == group) put(c, rowByName(addressField(m.part), rows));
                break;
        }
    }
    return match;
}

}  // namespace ColumnNames
