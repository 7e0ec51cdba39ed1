#include "IniFile.h"

#include <gtest/gtest.h>

#include <QDir>
#include <QFileInfo>
#include <QStringEncoder>
#include <limits>

#include "FileText.h"
#include "TempDir.h"

namespace {

const QByteArray kProfile =
    "orphan=before any section\n"
    "[Adding]\n"
    "PlugDate = 1 \n"
    " CarryOrg=  spaced value  \n"
    "Quoted=\"  keep  \"\n"
    "Single='x'\n"
    "Unbalanced=\"x\n"
    "Empty=\n"
    "Equals=a=b\n"
    ";Commented=1\n"
    "NoEquals\n"
    "[adding]\n"
    "Later=1\n"
    "[Misc]\n"
    "Dup=first\n"
    "DUP=second\n"
    "[ Spaced ]\n"
    "K=v\n";

TEST(IniFileTest, ReadsByTheProfileRules) {
    const IniFile ini = IniFile::parse(kProfile);
    struct Case {
        const char* section;
        const char* key;
        std::optional<QString> expected;
    };
    const Case cases[] = {
        {"Adding", "PlugDate", QString("1")},
        {"ADDING", "plugdate", QString("1")},  // names ignore letter case
        {"Adding", "CarryOrg", QString("spaced value")},
        {"Adding", "Quoted", QString("  keep  ")},
        {"Adding", "Single", QString("x")},
        {"Adding", "Unbalanced", QString("\"x")},
        {"Adding", "Empty", QString("")},
        {"Adding", "Equals", QString("a=b")},
        {"Adding", ";Commented", std::nullopt},
        {"Adding", "NoEquals", std::nullopt},
        {"Adding", "Later", std::nullopt},  // only the first section of a name counts
        {"Adding", "orphan", std::nullopt},
        {"Misc", "dup", QString("first")},
        {"Spaced", "K", QString("v")},
        {"Nowhere", "K", std::nullopt},
    };
    for (const Case& c : cases) {
        EXPECT_EQ(ini.value(c.section, c.key), c.expected) << c.section << "/" << c.key;
    }
}

TEST(IniFileTest, IntegersAreDecimalOrHex) {
    struct Case {
        const char* text;
        std::optional<int> expected;
    };
    const Case cases[] = {
        {"42", 42},
        {"-7", -7},
        {"+5", 5},
        {"007", 7},
        {"0x1F", 31},
        {"0X1f", 31},
        {"0x7FFFFFFF", 2147483647},
        {"0xFFFFFFFF", -1},
        {"2147483647", 2147483647},
        {"-2147483648", std::numeric_limits<int>::min()},
        {"2147483648", std::nullopt},
        {"0x100000000", std::nullopt},
        {"0x", std::nullopt},
        {"0x-1", std::nullopt},
        {"0x 1", std::nullopt},
        {"0x1G", std::nullopt},
        {"12abc", std::nullopt},
        {"1e3", std::nullopt},
        {"1 2", std::nullopt},
        {"-", std::nullopt},
        {"", std::nullopt},
        {"yes", std::nullopt},
        {"$1F", std::nullopt},
    };
    for (const Case& c : cases) EXPECT_EQ(IniFile::parseInt(c.text), c.expected) << c.text;
}

TEST(IniFileTest, TypedReadsFallBackToTheDefault) {
    const IniFile ini = IniFile::parse(
        "[S]\nInt= 0x10 \nBad=ten\nEmpty=\nOn=1\nOff=0\nTwo=2\nNeg=-1\nWord=true\nQuotedInt=\"12\"\n");
    EXPECT_EQ(ini.readInt("S", "Int", 5), 16);
    EXPECT_EQ(ini.readInt("S", "QuotedInt", 5), 12);
    EXPECT_EQ(ini.readInt("S", "Bad", 5), 5);
    EXPECT_EQ(ini.readInt("S", "Empty", 5), 5);
    EXPECT_EQ(ini.readInt("S", "Missing", 5), 5);

    struct Case {
        const char* key;
        bool withFalse;
        bool withTrue;
    };
    const Case cases[] = {
        {"On", true, true},  {"Off", false, false}, {"Two", true, true},    {"Neg", true, true},
        {"Int", true, true}, {"Word", false, true}, {"Empty", false, true}, {"Missing", false, true},
    };
    for (const Case& c : cases) {
        EXPECT_EQ(ini.readBool("S", c.key, false), c.withFalse) << c.key;
        EXPECT_EQ(ini.readBool("S", c.key, true), c.withTrue) << c.key;
    }
    EXPECT_EQ(ini.readString("S", "Empty", "dflt"), "");  // present, so not the default
    EXPECT_EQ(ini.readString("S", "Missing", "dflt"), "dflt");
}

TEST(IniFileTest, ReadsAtMost1023Characters) {
    const QString smiley = QString::fromUtf8("\xF0\x9F\x98\x80");  // two UTF-16 units
    struct Case {
        QString stored;
        QString expected;
    };
    const Case cases[] = {
        {QString(1023, 'a'), QString(1023, 'a')},
        {QString(1024, 'b'), QString(1023, 'b')},
        {QString(5000, 'c'), QString(1023, 'c')},
        {'"' + QString(1030, 'd') + '"', QString(1023, 'd')},  // quotes go before the cut
        {QString(1022, 'e') + smiley, QString(1022, 'e')},     // no half character
    };
    for (const Case& c : cases) {
        const IniFile ini = IniFile::parse(("[S]\nK=" + c.stored + "\n").toUtf8());
        EXPECT_EQ(ini.value("S", "K"), c.expected) << c.stored.size();
    }
    EXPECT_EQ(IniFile::parse("[S]\nK=1234567890\n").readInt("S", "K", 0), 1234567890);
}

TEST(IniFileTest, MissingFileIsEmptyAndIsCreatedOnSave) {
    TempDir dir;
    const QString path = QString::fromStdString(dir.file("QUILLO.ini"));
    IniFile ini;
    ASSERT_TRUE(ini.load(path));
    EXPECT_EQ(ini.value("Misc", "GettingStarted"), std::nullopt);
    ASSERT_TRUE(ini.setValue("Misc", "GettingStarted", "1"));
    ASSERT_TRUE(ini.save(path));
    EXPECT_EQ(readFile(path), "[Misc]\nGettingStarted=1\n");
    // Nothing but the file itself is left behind.
    EXPECT_EQ(QDir(QString::fromStdString(dir.path())).entryList(QDir::Files | QDir::Hidden),
              QStringList{"QUILLO.ini"});
}

TEST(IniFileTest, RewritingChangesOnlyWhatWasSet) {
    const QByteArray before =
        "; Settings\r\n"
        "[Custom]\r\n"
        "  Anything = goes  \r\n"
        "\r\n"
        "[Adding]\r\n"
        "plugdate=0\r\n"
        "; keep me\r\n"
        "\r\n"
        "[Misc]\r\n"
        "GlobalTagId=T1\r\n";
    IniFile ini = IniFile::parse(before);
    ASSERT_TRUE(ini.setValue("ADDING", "PlugDate", "1"));  // the file's own spelling is kept
    ASSERT_TRUE(ini.setValue("Adding", "CarryOrg", "1"));  // after the section's last line
    ASSERT_TRUE(ini.setValue("Dialing", "Port", "2"));     // a new section at the end
    EXPECT_EQ(ini.serialize(),
              "; Settings\r\n"
              "[Custom]\r\n"
              "  Anything = goes  \r\n"
              "\r\n"
              "[Adding]\r\n"
              "plugdate=1\r\n"
              "; keep me\r\n"
              "CarryOrg=1\r\n"
              "\r\n"
              "[Misc]\r\n"
              "GlobalTagId=T1\r\n"
              "\r\n"
              "[Dialing]\r\n"
              "Port=2\r\n");
}

TEST(IniFileTest, AwkwardValuesReadBackUnchanged) {
    const QString values[] = {
        "  leading and trailing  ",
        "\"quoted\"",
        "'single'",
        "\"",
        "a;b=c",
        "[not a section]",
        "",
        QString::fromUtf8("Z\xC3\xBCrich \xE2\x82\xAC"),
    };
    for (const QString& v : values) {
        IniFile ini;
        ASSERT_TRUE(ini.setValue("S", "K", v)) << v.toStdString();
        EXPECT_EQ(IniFile::parse(ini.serialize()).value("S", "K"), v) << v.toStdString();
    }
}

TEST(IniFileTest, RefusesWhatCouldNotBeReadBack) {
    IniFile ini = IniFile::parse("[S]\nK=old\n");
    EXPECT_FALSE(ini.setValue("S", "K", "two\nlines"));
    EXPECT_FALSE(ini.setValue("S", "K", "cr\rhere"));
    EXPECT_FALSE(ini.setValue("S", "K", QString("nul") + QChar(0)));
    EXPECT_FALSE(ini.setValue("S", "A=B", "v"));
    EXPECT_FALSE(ini.setValue("S", " K", "v"));
    EXPECT_FALSE(ini.setValue("S]x", "K", "v"));
    EXPECT_FALSE(ini.setValue("", "K", "v"));
    EXPECT_EQ(ini.serialize(), "[S]\nK=old\n");
}

TEST(IniFileTest, ReadsOtherEncodingsAndWritesUtf8) {
    const QString zurich = QString::fromUtf8("Z\xC3\xBCrich \xE2\x82\xAC");
    struct Case {
        const char* what;
        QByteArray bytes;
    };
    const Case cases[] = {
        {"Windows-1252", QByteArray("[S]\r\nCity=Z\xFCrich \x80\r\n")},
        {"UTF-8", QByteArray("[S]\nCity=Z\xC3\xBCrich \xE2\x82\xAC\n")},
        {"UTF-8 with BOM", QByteArray("\xEF\xBB\xBF[S]\nCity=Z\xC3\xBCrich \xE2\x82\xAC\n")},
        {"UTF-16LE with BOM", QStringEncoder(QStringConverter::Utf16LE, QStringConverter::Flag::WriteBom)(
                                  "[S]\r\nCity=" + zurich + "\r\n")},
    };
    for (const Case& c : cases) {
        const IniFile ini = IniFile::parse(c.bytes);
        EXPECT_EQ(ini.value("S", "City"), zurich) << c.what;
        EXPECT_TRUE(ini.serialize().contains("City=Z\xC3\xBCrich \xE2\x82\xAC")) << c.what;
    }
}

TEST(IniFileTest, UnreadableOrUnwritableFileFails) {
    TempDir dir;
    const QString blocked = QString::fromStdString(dir.file("QUILLO.ini"));
    ASSERT_TRUE(QDir().mkpath(blocked));  // a folder where the file should be
    IniFile ini;
    QString error;
    EXPECT_FALSE(ini.load(blocked, &error));
    EXPECT_FALSE(error.isEmpty());

    error.clear();
    ASSERT_TRUE(ini.setValue("S", "K", "v"));
    EXPECT_FALSE(ini.save(QString::fromStdString(dir.file("no/such/folder/QUILLO.ini")), &error));
    EXPECT_FALSE(error.isEmpty());
}

TEST(IniFileTest, SaveWritesThroughASymbolicLink) {
    TempDir dir;
    const QString target = QString::fromStdString(dir.file("real.ini"));
    const QString link = QString::fromStdString(dir.file("QUILLO.ini"));
    writeFile(target, "[S]\nK=old\n");
    ASSERT_TRUE(QFile::link(target, link));

    IniFile ini;
    ASSERT_TRUE(ini.load(link));
    ASSERT_TRUE(ini.setValue("S", "K", "new"));
    ASSERT_TRUE(ini.save(link));
    EXPECT_TRUE(QFileInfo(link).isSymLink());
    EXPECT_EQ(readFile(target), "[S]\nK=new\n");
}

}  // namespace
