#include "TagId.h"

#include <gtest/gtest.h>

namespace {

TEST(TagIdTest, ToBase36) {
    struct Case {
        quint64 value;
        const char* expected;
    };
    const Case cases[] = {
        {0, ""},
        {1, "1"},
        {10, "A"},
        {35, "Z"},
        {36, "10"},
        {1295, "ZZ"},
        {1296, "100"},
        {101000000, "1O4S3K"},   // 01-01 00:00:00, the smallest stamp
        {1231235959, "KD1NQV"},  // 12-31 23:59:59, the largest
        {2176782335, "ZZZZZZ"},  // 36^6 - 1
    };
    for (const Case& c : cases) EXPECT_EQ(TagId::ToBase36(c.value), c.expected) << c.value;
}

TEST(TagIdTest, NewTagIdFromTheClock) {
    struct Case {
        int year, month, day, hour, minute, second;
        const char* expected;
    };
    const Case cases[] = {
        {2024, 3, 5, 14, 7, 9, "T51O82T"},
        {2030, 12, 31, 23, 59, 59, "ZKD1NQV"},
        {1995, 1, 1, 0, 0, 0, "1O4S3K"},         // year part 0: nothing
        {3290, 12, 31, 23, 59, 59, "ZZKD1NQV"},  // the last year with 8 characters
        {3291, 1, 1, 0, 0, 0, "1001O4S3K"},
        {1970, 6, 1, 12, 0, 0, "9XW35S"},  // a clock before 1995 counts as 1995
    };
    for (const Case& c : cases) {
        const QDateTime when(QDate(c.year, c.month, c.day), QTime(c.hour, c.minute, c.second));
        EXPECT_EQ(TagId::NewTagId(when), c.expected) << c.year;
    }
}

TEST(TagIdTest, NewTagIdNeverRepeatsWithinARun) {
    const QString first = TagId::NewTagId();
    const QString second = TagId::NewTagId();
    EXPECT_TRUE(TagId::isValid(first));
    EXPECT_TRUE(TagId::isValid(second));
    EXPECT_NE(first, second);
}

TEST(TagIdTest, IsValid) {
    for (const char* id : {"1", "T51O82T", "ZZKD1NQV", "0"}) EXPECT_TRUE(TagId::isValid(id)) << id;
    for (const char* id : {"", "ZZZKD1NQV", "t51o82t", "T51 82T", "T5\"", "T-1", "\xC3\x84"}) {
        EXPECT_FALSE(TagId::isValid(QString::fromUtf8(id))) << id;
    }
}

}  // namespace
