#include "Preferences.h"

#include <gtest/gtest.h>

#include "FileText.h"
#include "SettingKeys.h"
#include "Settings.h"
#include "TagId.h"
#include "TempDir.h"

namespace {

class PreferencesTest : public ::testing::Test {
protected:
    TempDir dir_;
    QString path_ = QString::fromStdString(dir_.file("QUILLO.ini"));
    Settings settings_{path_};
};

TEST_F(PreferencesTest, LoadPreferencesReadsTheSwitchesAndStoresATagId) {
    writeFile(path_,
              "[Adding]\nPlugDate=1\nSkipfirstName=1\nskiptitle=1\nCarrySA2=0x1\nDefaultCountry=USA\n"
              "[Misc]\nGettingStarted=1\n");
    const Preferences p = Preferences::LoadPreferences(settings_);
    EXPECT_TRUE(p.plugDate);
    EXPECT_TRUE(p.skipFirstName);
    EXPECT_TRUE(p.skipTitle);
    EXPECT_TRUE(p.carryStreet2);
    EXPECT_FALSE(p.carryStreet);
    EXPECT_FALSE(p.autoDupCheck);
    EXPECT_EQ(p.defaultCountry, "USA");
    EXPECT_TRUE(p.hideGettingStarted);

    EXPECT_TRUE(TagId::isValid(p.globalTagId)) << p.globalTagId.toStdString();
    EXPECT_EQ(settings_.value(setting::kGlobalTagId), p.globalTagId);
    EXPECT_EQ(Preferences::LoadPreferences(settings_).globalTagId, p.globalTagId);  // kept from now on
}

TEST_F(PreferencesTest, AnUnusableTagIdIsReplaced) {
    struct Case {
        const char* stored;
        bool kept;
    };
    const Case cases[] = {
        {"T51O82T", true},    {"ZZKD1NQV", true}, {"", false},    {"t51o82t", false},
        {"ZZZKD1NQV", false}, {"AB\"C", false},   {"A B", false},
    };
    for (const Case& c : cases) {
        writeFile(path_, QByteArray("[Misc]\nGlobalTagId=") + c.stored + "\n");
        const QString id = Preferences::LoadPreferences(settings_).globalTagId;
        EXPECT_TRUE(TagId::isValid(id)) << c.stored;
        EXPECT_EQ(id == c.stored, c.kept) << c.stored;
        EXPECT_EQ(settings_.value(setting::kGlobalTagId), id) << c.stored;
    }
}

TEST_F(PreferencesTest, SaveAddingWritesEverySwitchUnderItsOwnName) {
    Preferences p;
    p.plugCityState = true;
    p.carryZip = true;
    p.skipFirstName = true;
    p.skipComments2 = true;
    p.skipMiddleInitial = true;
    p.defaultCountry = "Canada";
    ASSERT_TRUE(p.saveAdding(settings_));

    const QByteArray text = readFile(path_);
    for (const char* line : {"PlugCityState=1", "CarryZip=1", "SkipfirstName=1", "Skipcomments2=1",
                             "SkipMiddleInitial=1", "DefaultCountry=Canada", "PlugDate=0", "Skiptitle=0"}) {
        EXPECT_TRUE(text.contains(QByteArray(line) + "\n")) << line;
    }
    EXPECT_EQ(text.count('\n'), 1 + 29);  // "[Adding]" and its 29 keys
    EXPECT_EQ(Preferences::read(settings_), p);
}

}  // namespace
