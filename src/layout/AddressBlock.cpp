#include "AddressBlock.h"

namespace layout {

namespace {

// s without its leading spaces.
QString L(const QString& s) {
    qsizetype i = 0;
    while (i < s.size() && s[i] == ' ') ++i;
    return s.mid(i);
}

}  // namespace

int MostAddressLines(const AddressOptions& o) {
    const bool zipWithCountry = o.zipOptions == zoAfterCountry || o.zipOptions == zoBeforeCountry;
    int n = int(o.useName) + int(o.useTitle) + int(o.useCompany) + int(o.useStreet) + int(o.useStreet2);
    if (o.useCityState || (o.useZip && !zipWithCountry)) ++n;  // city and state, with or without ZIP
    if (o.useCountry || (o.useZip && zipWithCountry)) ++n;     // country, with or without ZIP
    if (o.usePhone) ++n;
    return n;
}

QStringList ComposeAddress(const AddressOptions& o,
                           const std::function<std::optional<QString>(const char* name)>& field) {
    QStringList lines;
    auto add = [&](const QString& line) {
        if (!line.isEmpty()) lines << line;
    };
    auto finish = [&] {
        if (o.upperCase)
            for (QString& line : lines) line = line.toUpper();
        return lines;
    };
    // Reads the named fields in order; false when one does not exist.
    auto read = [&](std::initializer_list<std::pair<const char*, QString*>> fields) {
        for (const auto& [name, out] : fields) {
            const std::optional<QString> v = field(name);
            if (!v) return false;
            *out = *v;
        }
        return true;
    };

    QString prefix, first, middle, last, title, org, street, street2, city, state, zip, country, phone;
    if (o.useName) {
        if (!read({{"PREFIX", &prefix}, {"FNAME", &first}, {"MIDDLE", &middle}, {"LNAME", &last}}))
            return finish();
        if (!middle.trimmed().isEmpty()) middle += '.';
        add(L(prefix + " ") + L(first + " ") + L(middle + " ") + L(last + " "));
    }
    if (o.useTitle) {
        if (!read({{"TITLE", &title}})) return finish();
        add(title);
    }
    if (o.useCompany) {
        if (!read({{"ORG", &org}})) return finish();
        add(org);
    }
    if (o.useStreet) {
        if (!read({{"STREET", &street}})) return finish();
        add(street);
    }
    if (o.useStreet2) {
        if (!read({{"STREET2", &street2}})) return finish();
        add(street2);
    }
    if (!read({{"CITY", &city}, {"STATE", &state}, {"ZIP", &zip}, {"COUNTRY", &country}})) return finish();
    const bool zipWithCountry = o.zipOptions == zoAfterCountry || o.zipOptions == zoBeforeCountry;
    if (o.useCityState && o.useZip && o.zipOptions == zoAfterState) {
        const QString line = L(city + " ") + " " + L(state + " ") + L(zip);
        if (!line.trimmed().isEmpty()) lines << line;
    } else if (o.useCityState && o.useZip && o.zipOptions == zoBeforeCity) {
        add(L(zip + " ") + L(city + " ") + L(state + " "));
    } else if (o.useCityState) {
        add(L(city + " ") + L(state));
    } else if (o.useZip && !zipWithCountry) {
        add(L(zip));
    }
    if (o.useCountry && o.useZip && o.zipOptions == zoAfterCountry) {
        add(L(country + " ") + L(zip));
    } else if (o.useCountry && o.useZip && o.zipOptions == zoBeforeCountry) {
        add(L(zip + " ") + L(country));
    } else if (o.useCountry) {
        add(L(country));
    } else if (o.useZip && zipWithCountry) {
        add(L(zip));
    }
    if (o.usePhone) {
        if (!read({{"PHONE", &phone}})) return finish();
        add(phone);
    }
    return finish();
}

}  // namespace layout
