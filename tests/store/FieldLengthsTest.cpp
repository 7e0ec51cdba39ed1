#include "FieldLengths.h"

#include <gtest/gtest.h>

#include "FileText.h"
#include "Settings.h"
#include "TempDir.h"

namespace {

class FieldLengthsTest : public ::testing::Test {
protected:
    TempDir dir_;
    QString path_ = QString::fromStdString(dir_.file("QUILLO.ini"));
    Settings settings_{path_};
};

TEST_F(FieldLengthsTest, FieldsAndDefaults) {
    const QStringList fields{"LNAME",   "FNAME", "PREFIX", "TITLE", "ORG",     "STREET",
                             "STREET2", "CITY",  "STATE",  "ZIP",   "COUNTRY", "PHONE",
                             "PHONE2",  "FAX",   "EMAIL",  "CODES", "USER1",   "USER2"};
    const int stored[] = {30, 30, 12, 30, 30, 40, 40, 30, 20, 10, 30, 30, 30, 40, 40, 30, 40, 40};
    const FieldLengths defaults;
    const FieldLengths button = FieldLengths::buttonDefaults();
    ASSERT_EQ(fields.size(), FieldLengths::kCount);
    for (int i = 0; i < FieldLengths::kCount; ++i) {
        EXPECT_EQ(FieldLengths::fieldName(i), fields[i]);
        EXPECT_EQ(defaults.width(fields[i]), stored[i]) << fields[i].toStdString();
        EXPECT_EQ(button.width(fields[i]), fields[i] == "FAX" ? 30 : stored[i]) << fields[i].toStdString();
    }
    EXPECT_EQ(defaults.width("MIDDLE"), 0);
    EXPECT_EQ(FieldLengths::indexOf("lname"), -1);
}

TEST_F(FieldLengthsTest, OutOfRangeOrUnreadableWidthsReadAsTheStoredDefault) {
    struct Case {
        const char* stored;
        int lname;
        int fax;
    };
    const Case cases[] = {
        {"4", 30, 40},  {"5", 5, 5},      {"80", 80, 80},   {"81", 30, 40}, {"0", 30, 40},
        {"-1", 30, 40}, {"0x14", 20, 20}, {"wide", 30, 40}, {"", 30, 40},
    };
    for (const Case& c : cases) {
        writeFile(path_, QByteArray("[NewFileFieldLengths]\nFieldLNAME=") + c.stored +
                             "\nFieldFAX=" + c.stored + "\nFieldZIP=15\n");
        const FieldLengths lengths = FieldLengths::LoadFieldLengths(settings_);
        EXPECT_EQ(lengths.width("LNAME"), c.lname) << c.stored;
        EXPECT_EQ(lengths.width("FAX"), c.fax) << c.stored;
        EXPECT_EQ(lengths.width("ZIP"), 15) << c.stored;
        EXPECT_EQ(lengths.width("CITY"), 30) << c.stored;
    }
}

TEST_F(FieldLengthsTest, SaveClampsAndWritesAllEighteen) {
    FieldLengths lengths;
    lengths.setWidth(FieldLengths::indexOf("LNAME"), 4);
    lengths.setWidth(FieldLengths::indexOf("ZIP"), 12);
    lengths.setWidth(FieldLengths::indexOf("USER2"), 81);
    ASSERT_TRUE(lengths.SaveFieldLengths(settings_));
    EXPECT_EQ(lengths.width("LNAME"), 30);
    EXPECT_EQ(lengths.width("USER2"), 40);

    const QByteArray text = readFile(path_);
    EXPECT_TRUE(text.startsWith("[NewFileFieldLengths]\nFieldLNAME=30\nFieldFNAME=30\n"));
    EXPECT_TRUE(text.contains("\nFieldZIP=12\n"));
    EXPECT_EQ(text.count('\n'), 1 + FieldLengths::kCount);
    EXPECT_EQ(FieldLengths::LoadFieldLengths(settings_), lengths);
}

}  // namespace
