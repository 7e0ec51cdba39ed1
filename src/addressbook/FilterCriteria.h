#pragma once

#include <QString>
#include <array>

// What the user typed into the Address Filter form: eighteen texts, kept exactly as
// typed, and two flags. The entries are numbered in the order a .FLT file stores them.
struct FilterCriteria {
    enum Entry {
        Last,
        First,
        Title,
        Org,
        Address1,
        Address2,
        Zip,
        City,
        State,
        Country,
        Phone1,
        Phone2,
        Fax,
        EMail,
        Date,  // typed as YYYYMMDD
        Codes,
        Comment1,
        Comment2,
    };
    static constexpr int kEntryCount = 18;

    // The expression an entry's condition tests: a field name, or "CITY+STATE" for City.
    static QString fieldExpression(Entry entry);

    std::array<QString, kEntryCount> texts;
    bool tagged = false;   // only records carrying the current tag identifier
    bool reverse = false;  // the whole condition negated

    QString& operator[](Entry e) { return texts[size_t(e)]; }
    const QString& operator[](Entry e) const { return texts[size_t(e)]; }

    // All texts empty and both flags off.
    void clear() { *this = FilterCriteria(); }

    bool operator==(const FilterCriteria& other) const {
        return texts == other.texts && tagged == other.tagged && reverse == other.reverse;
    }
    bool operator!=(const FilterCriteria& other) const { return !(*this == other); }
};
