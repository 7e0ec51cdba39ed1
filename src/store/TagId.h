#pragma once

#include <QDateTime>
#include <QString>

// Tag identifiers. A record is tagged when its TAG field equals the current identifier
// (GlobalTagId, kept in the settings); replacing the identifier untags every record at
// once without writing any of them.
class TagId {
public:
    // The width of the TAG field.
    static constexpr int kMaxLength = 8;

    // The value in base 36 with the digits 0-9 and A-Z, most significant first, without
    // leading zeros: 0 gives an empty text. Every value NewTagId writes fits six digits.
    static QString ToBase36(quint64 value);

    // The identifier for the moment `when` (local time): ToBase36(year - 1995) followed
    // by ToBase36 of month, day, hour, minute and second written as the ten digits
    // "mmddhhnnss". It has at most 8 characters until the year 3291. A clock set
    // before 1995 counts as 1995.
    static QString NewTagId(const QDateTime& when);

    // The identifier for now. Within one run it never repeats one it made before: a
    // second request in the same second takes the next second's identifier, so that
    // clearing the tags twice in quick succession still untags what was tagged between.
    static QString NewTagId();

    // Whether `id` can serve as the current identifier: 1 to kMaxLength characters, each
    // a digit or a capital letter A-Z. An empty identifier would count every untagged
    // record as tagged, a longer one could never equal a TAG field, and other characters
    // would not survive the upper-casing of the tag search.
    static bool isValid(const QString& id);
};
