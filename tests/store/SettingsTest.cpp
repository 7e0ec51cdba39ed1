#include "Settings.h"

#include <gtest/gtest.h>

#include <QDir>

#include "AppHome.h"
#include "FileText.h"
#include "SettingKeys.h"
#include "TempDir.h"

namespace {

class SettingsTest : public ::testing::Test {
protected:
    TempDir dir_;
    QString path_ = QString::fromStdString(dir_.file("QUILLO.ini"));
    Settings settings_{path_};
};

TEST_F(SettingsTest, MissingFileGivesTheDeclaredDefaults) {
    EXPECT_FALSE(settings_.value(setting::kPlugDate));
    EXPECT_EQ(settings_.value(setting::kDefaultCountry), "");
    EXPECT_EQ(settings_.value(setting::kEnvelopeOrientation), 1);
    EXPECT_EQ(settings_.value(setting::kEnvelopeFacing), 1);
    EXPECT_EQ(settings_.value(setting::kEnvelopePosition), 2);
    EXPECT_EQ(settings_.value(setting::kLetterFontName), "Arial");
    EXPECT_EQ(settings_.value(setting::kLabelFontSize), 10);
    EXPECT_EQ(settings_.value(setting::kDialPort), 0);
    EXPECT_FALSE(QFile::exists(path_));  // reading never creates the file
}

TEST_F(SettingsTest, UnreadableValuesGiveTheDefaultOrTheCallersFallback) {
    writeFile(path_,
              "[Envelope Feed]\nOrientation=landscape\nPosition=0x0\n"
              "[Letter]\nDefaultFontName=\nDefaultFontSize=12pt\nDefaultFontBold=yes\n"
              "[Envelope Printer]\nPrinter=\nBin=Tray 2\n");
    EXPECT_EQ(settings_.value(setting::kEnvelopeOrientation), 1);
    EXPECT_EQ(settings_.value(setting::kEnvelopePosition), 0);
    EXPECT_EQ(settings_.value(setting::kLetterFontName), "Arial");  // empty counts as missing
    EXPECT_EQ(settings_.value(setting::kLetterFontSize), 10);
    EXPECT_FALSE(settings_.value(setting::kLetterFontBold));
    EXPECT_TRUE(settings_.value(setting::kLetterFontBold, true));
    EXPECT_EQ(settings_.value(setting::kEnvelopePrinter, "Office Laser"), "Office Laser");
    EXPECT_EQ(settings_.value(setting::kEnvelopeBin, "Auto"), "Tray 2");
    EXPECT_EQ(settings_.value(setting::kEnvelopePaper, "Letter"), "Letter");
    EXPECT_EQ(settings_.value(setting::kEnvelopePrinterOrientation, 1), 1);
}

TEST_F(SettingsTest, WritesInTheStoredFormAndKeepsTheRest) {
    writeFile(path_, "[Custom]\nmine=1\n\n[Letter]\nDefaultFontName=Times\n");
    ASSERT_TRUE(settings_.write({
        {setting::kLetterFontBold, true},
        {setting::kLetterFontSize, 12},
        {setting::kDialInit, "ATZ"},
        {setting::kEnvelopeClockWiseRotation, false},
    }));
    EXPECT_EQ(readFile(path_),
              "[Custom]\nmine=1\n\n[Letter]\nDefaultFontName=Times\nDefaultFontBold=1\nDefaultFontSize=12\n\n"
              "[Dialing]\nInit=ATZ\n\n[Envelope Feed]\nClockWiseRotation=0\n");
    EXPECT_TRUE(settings_.value(setting::kLetterFontBold));
    EXPECT_EQ(settings_.value(setting::kLetterFontSize), 12);
    EXPECT_EQ(settings_.value(setting::kLetterFontName), "Times");
    EXPECT_EQ(settings_.value(setting::kDialInit), "ATZ");
}

TEST_F(SettingsTest, EachReadSeesTheFileAsItIsNow) {
    writeFile(path_, "[Dialing]\nPort=1\n");
    EXPECT_EQ(settings_.value(setting::kDialPort), 1);
    writeFile(path_, "[Dialing]\nPort=3\n");
    EXPECT_EQ(settings_.value(setting::kDialPort), 3);
}

TEST_F(SettingsTest, AFailedWriteChangesNothing) {
    writeFile(path_, "[Dialing]\nPrefix=8\n");
    QString error;
    EXPECT_FALSE(settings_.write({{setting::kDialPrefix, "9"}, {setting::kDialInit, "AT\nZ"}}, &error));
    EXPECT_FALSE(error.isEmpty());
    EXPECT_EQ(readFile(path_), "[Dialing]\nPrefix=8\n");

    // A settings file that exists but cannot be read is never replaced.
    Settings blocked(QString::fromStdString(dir_.file("blocked.ini")));
    ASSERT_TRUE(QDir().mkpath(blocked.path()));
    EXPECT_FALSE(blocked.setValue(setting::kDialPort, 2));
    EXPECT_TRUE(QFileInfo(blocked.path()).isDir());
    EXPECT_EQ(blocked.value(setting::kDialPort), 0);
}

TEST(SettingsFileNameTest, FindsTheFileWhateverItsLetterCase) {
    struct Case {
        QStringList existing;
        QString expected;
    };
    const Case cases[] = {
        {{}, "QUILLO.ini"},
        {{"quillo.INI"}, "quillo.INI"},
        {{"Quillo.Ini", "QUILLO.ini"}, "QUILLO.ini"},
        {{"QUILLO.ini.bak"}, "QUILLO.ini"},
    };
    for (const Case& c : cases) {
        TempDir dir;
        const AppHome home(QString::fromStdString(dir.path()));
        for (const QString& name : c.existing) writeFile(home.file(name), "");
        EXPECT_EQ(Settings::GetIniFileName(home), home.file(c.expected))
            << c.existing.join(",").toStdString();
    }
}

}  // namespace
