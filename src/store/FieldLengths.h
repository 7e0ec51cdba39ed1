#pragma once

#include <QString>
#include <array>

class Settings;

// The widths of the eighteen variable-width text fields of a new address file, kept in
// the settings section "NewFileFieldLengths". The fields are, in this order, LNAME,
// FNAME, PREFIX, TITLE, ORG, STREET, STREET2, CITY, STATE, ZIP, COUNTRY, PHONE, PHONE2,
// FAX, EMAIL, CODES, USER1, USER2.
class FieldLengths {
public:
    static constexpr int kCount = 18;
    // Stored widths outside this range are replaced by the stored default.
    static constexpr int kMinimum = 5;
    static constexpr int kMaximum = 80;

    // The stored defaults (SettingKeys.h).
    FieldLengths();

    // What the "Defaults" button of the field-length dialog puts in: the stored
    // defaults, except FAX, which gets 30 there against 40 stored.
    static FieldLengths buttonDefaults();

    // "LNAME", "FNAME", ... for index 0 .. kCount - 1.
    static QString fieldName(int index);
    // The index of `field`, or -1 when it is not one of the eighteen.
    static int indexOf(const QString& field);

    // REQUIRES: 0 <= index < kCount.
    int width(int index) const { return widths_.at(size_t(index)); }
    void setWidth(int index, int width) { widths_.at(size_t(index)) = width; }

    // The width for `field` ("LNAME", ...), or 0 when it is not one of the eighteen.
    int width(const QString& field) const;

    // The stored widths, each missing or unreadable one at its default, then clamped.
    static FieldLengths LoadFieldLengths(const Settings& settings);

    // Replaces every width below kMinimum or above kMaximum by its stored default.
    void ClampFieldLengths();

    // Clamps, then writes all eighteen widths.
    [[nodiscard]] bool SaveFieldLengths(Settings& settings);

    bool operator==(const FieldLengths& other) const { return widths_ == other.widths_; }

private:
    std::array<int, kCount> widths_;
};
