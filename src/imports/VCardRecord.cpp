#include "VCardRecord.h"

#include "CodePage.h"
#include "Table.h"

namespace VCardRecord {

namespace {

QString joined(const QStringList& parts, const QString& separator) {
    QStringList kept;
    for (const QString& p : parts) {
        if (!p.trimmed().isEmpty()) kept << p.trimmed();
    }
    return kept.join(separator);
}

QString typeText(const QStringList& types) {
    QStringList shown;
    for (const QString& t : types) {
        if (t != QLatin1String("pref") && t != QLatin1String("voice") && t != QLatin1String("internet")) shown << t;
    }
    return shown.isEmpty() ? QString() : QStringLiteral(" (%1)").arg(shown.join(QStringLiteral(", ")));
}

QString addressText(const VCardContact::Address& a) {
    QString street = a.street;
    street.replace(QLatin1Char('\n'), QStringLiteral(", "));
    return joined({a.box, a.extended, street, joined({a.city, a.region, a.code}, QStringLiteral(" ")), a.country},
                  QStringLiteral(", "));
}

const VCardContact::Address* chosenAddress(const VCardContact& c, AddressChoice choice) {
    const char* type = choice == AddressChoice::Home ? "home" : choice == AddressChoice::Work ? "work" : "pref";
    for (const VCardContact::Address& a : c.addresses) {
        if (a.is(type)) return &a;
    }
    return c.addresses.empty() ? nullptr : &c.addresses.front();
}

}  // namespace

std::vector<std::pair<QString, QString>> Fields(const VCardContact& c, const Choices& choices) {
    std::vector<std::pair<QString, QString>> f;
    auto put = [&f](const char* name, const QString& value) {
        if (!value.isEmpty()) f.push_back({QString::fromLatin1(name), value});
    };
    QString family = c.family, given = c.given;
    if (family.isEmpty() && given.isEmpty() && !c.formatted.trimmed().isEmpty()) {
        const QString fn = c.formatted.trimmed();
        const int blank = fn.lastIndexOf(QLatin1Char(' '));
        family = blank < 0 ? fn : fn.mid(blank + 1);
        given = blank < 0 ? QString() : fn.left(blank).trimmed();
    }
    put("LNAME", family);
    put("FNAME", given);
    put("MIDDLE", c.additional.trimmed().left(1));
    put("PREFIX", c.prefix);
    put("TITLE", c.title);
    put("ORG", c.org);

    QStringList extra;  // memo lines for what has no field
    const VCardContact::Address* address = chosenAddress(c, choices.address);
    for (const VCardContact::Address& a : c.addresses) {
        if (&a != address) extra << QStringLiteral("Address%1: %2").arg(typeText(a.types), addressText(a));
    }
    if (address) {
        QStringList lines = address->street.split(QLatin1Char('\n'));
        QString street = lines.takeFirst().trimmed();
        QStringList second = {address->extended};
        second << lines;
        if (street.isEmpty()) {
            street = address->box;
        } else {
            second.prepend(address->box);
        }
        put("STREET", street);
        put("STREET2", joined(second, QStringLiteral(", ")));
        put("CITY", address->city);
        put("STATE", address->region);
        put("ZIP", address->code);
        put("COUNTRY", address->country);
    }

    const VCardContact::Typed* fax = nullptr;
    std::vector<const VCardContact::Typed*> voice;
    for (const VCardContact::Typed& t : c.phones) {
        if (t.value.trimmed().isEmpty()) continue;
        if (!fax && t.is("fax")) {
            fax = &t;
        } else if (voice.size() < 2 && !t.is("fax")) {
            voice.push_back(&t);
        } else {
            extra << QStringLiteral("Phone%1: %2").arg(typeText(t.types), t.value);
        }
    }
    if (voice.size() > 0) put("PHONE", voice[0]->value);
    if (voice.size() > 1) put("PHONE2", voice[1]->value);
    if (fax) put("FAX", fax->value);

    const VCardContact::Typed* email = nullptr;
    for (const VCardContact::Typed& t : c.emails) {
        if (t.is("pref") && !t.value.isEmpty()) {
            email = &t;
            break;
        }
    }
    if (!email && !c.emails.empty()) email = &c.emails.front();
    for (const VCardContact::Typed& t : c.emails) {
        if (&t != email && !t.value.isEmpty()) extra << QStringLiteral("E-mail%1: %2").arg(typeText(t.types), t.value);
    }
    if (email) put("EMAIL", email->value);

    bool birthdayKept = choices.birthdayField.isEmpty() || c.birthday.isEmpty();
    for (const auto& [name, value] : c.own) {
        for (const char* own : {"USER1", "USER2", "CODES", "DATE"}) {
            if (name == QLatin1String(own)) put(own, value);
        }
    }
    if (!birthdayKept) {
        bool taken = false;
        for (const auto& [name, value] : f) taken |= name == choices.birthdayField;
        if (!taken) {
            f.push_back({choices.birthdayField, c.birthday});
            birthdayKept = true;
        }
    }
    if (!birthdayKept) extra << QStringLiteral("Birthday: %1").arg(c.birthday);

    QString memo = c.note;
    if (!extra.isEmpty()) {
        if (!memo.isEmpty()) memo += QStringLiteral("\r\n");
        memo += extra.join(QStringLiteral("\r\n"));
    }
    put("MEMO", memo);
    return f;
}

bool ToContact(const xbase::Table& table, VCardContact* c, QString* problem) {
    *c = VCardContact();
    const xbase::CodePage& codePage = table.codePage();
    auto text = [&](const char* name) {
        const int i = table.fieldIndex(name);
        if (i < 0) return QString();
        return QString::fromStdString(codePage.toUtf8(table.getTrimString(i)));
    };
    c->family = text("LNAME");
    c->given = text("FNAME");
    c->additional = text("MIDDLE");
    c->prefix = text("PREFIX");
    c->formatted = joined({c->given, c->additional, c->family}, QStringLiteral(" "));
    c->org = text("ORG");
    if (c->formatted.isEmpty()) c->formatted = c->org;
    c->title = text("TITLE");
    VCardContact::Address a;
    a.street = joined({text("STREET"), text("STREET2")}, QStringLiteral("\n"));
    a.city = text("CITY");
    a.region = text("STATE");
    a.code = text("ZIP");
    a.country = text("COUNTRY");
    if (!joined({a.street, a.city, a.region, a.code, a.country}, QString()).isEmpty()) c->addresses.push_back(a);
    for (const char* phone : {"PHONE", "PHONE2"}) {
        const QString v = text(phone);
        if (!v.isEmpty()) c->phones.push_back({{QStringLiteral("voice")}, v});
    }
    if (const QString fax = text("FAX"); !fax.isEmpty()) c->phones.push_back({{QStringLiteral("fax")}, fax});
    if (const QString email = text("EMAIL"); !email.isEmpty()) {
        c->emails.push_back({{QStringLiteral("internet")}, email});
    }
    const int memo = table.fieldIndex("MEMO");
    if (memo >= 0 && table.field(memo).isMemo()) {
        std::string raw;
        const xbase::Status s = table.getMemo(memo, &raw);
        if (!s.ok()) {
            *problem = QStringLiteral("Record %1: %2").arg(table.recNo()).arg(QString::fromStdString(s.message()));
            return false;
        }
        c->note = QString::fromStdString(codePage.toUtf8(raw));
    }
    for (const char* own : {"USER1", "USER2", "CODES", "DATE"}) {
        const QString v = text(own);
        if (!v.isEmpty()) c->own.push_back({QString::fromLatin1(own), v});
    }
    return true;
}

}  // namespace VCardRecord
