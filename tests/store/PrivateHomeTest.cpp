// Address files are personal data: a new home and what the program makes in it are
// its owner's alone, while files elsewhere and files that already exist keep the
// permissions they were given.

#include <gtest/gtest.h>
#include <sys/stat.h>

#include <filesystem>
#include <memory>

#include "AddressFile.h"
#include "AppHome.h"
#include "FieldLengths.h"
#include "FileSystem.h"
#include "IniFile.h"
#include "RecordingProgress.h"
#include "Table.h"
#include "TempDir.h"

namespace {

unsigned modeOf(const std::string& path) {
    struct stat st;
    return ::stat(path.c_str(), &st) == 0 ? unsigned(st.st_mode & 07777) : 0u;
}
unsigned modeOf(const QString& path) { return modeOf(path.toStdString()); }

class PrivateHomeTest : public ::testing::Test {
protected:
    void SetUp() override { oldMask_ = ::umask(022); }
    void TearDown() override {
        xbase::setPrivateFolder({});
        ::umask(oldMask_);
    }

    TempDir dir_;
    mode_t oldMask_ = 0;
};

// A fresh home, its folders, the tables it is seeded with, an address file made in it,
// its settings and the files of a rebuild are all private; a file of the user's
// elsewhere gets what the umask gives.
TEST_F(PrivateHomeTest, AFreshHomeAndEverythingMadeInItAreTheOwnersAlone) {
    const AppHome home(QString::fromStdString(dir_.file("home")));
    QString error;
    ASSERT_TRUE(home.ensureExists(&error)) << error.toStdString();
    for (const QString& folder : {home.root(), home.dataDir(), home.sysDataDir()})
        EXPECT_EQ(modeOf(folder), 0700u) << folder.toStdString();

    const QString address = home.dataDir() + "/ADD0001.DBF";
    ASSERT_TRUE(AddressFile::CreateAddressFile(address, FieldLengths(), &error)) << error.toStdString();
    IniFile settings;
    ASSERT_TRUE(settings.setValue("Main", "Last", "ADD0001"));
    ASSERT_TRUE(settings.save(home.file("QUILLO.ini"), &error)) << error.toStdString();
    int files = 0;
    for (const auto& e : std::filesystem::recursive_directory_iterator(home.root().toStdString())) {
        if (!e.is_regular_file()) continue;
        ++files;
        EXPECT_EQ(modeOf(e.path().string()), 0600u) << e.path();
    }
    EXPECT_GE(files, 8);  // seeded tables and indexes, the address file's three, the settings

    // A rebuild (pack, then the 26 tags anew) makes new files in the home.
    std::unique_ptr<xbase::Table> table;
    ASSERT_TRUE(AddressFile::OpenTableFile(address, &table, &error));
    AddressFile::ReindexGauge gauge;
    RecordingProgress progress;
    ASSERT_TRUE(AddressFile::Reindex(*table, gauge, &error, progress)) << error.toStdString();
    table.reset();
    for (const char* ext : {".DBF", ".CDX", ".FPT"})
        EXPECT_EQ(modeOf(home.dataDir() + "/ADD0001" + ext), 0600u) << ext;

    std::filesystem::create_directory(dir_.file("elsewhere"));
    const QString theirs = QString::fromStdString(dir_.file("elsewhere/theirs.ini"));
    ASSERT_TRUE(settings.save(theirs, &error));
    EXPECT_EQ(modeOf(theirs), 0644u);
    ASSERT_TRUE(AddressFile::CreateAddressFile(QString::fromStdString(dir_.file("elsewhere/ADDR.DBF")),
                                               FieldLengths(), &error));
    for (const char* ext : {".DBF", ".CDX", ".FPT"}) EXPECT_EQ(modeOf(dir_.file("elsewhere/ADDR") + ext), 0644u) << ext;
}

// Existing files and folders keep the permissions their owner chose: a home that is
// there already, settings saved over, and a table packed and reindexed.
TEST_F(PrivateHomeTest, ExistingFilesKeepTheirPermissions) {
    const AppHome home(QString::fromStdString(dir_.file("home")));
    QString error;
    ASSERT_TRUE(home.ensureExists(&error)) << error.toStdString();
    ASSERT_EQ(::chmod(home.root().toUtf8().constData(), 0750), 0);
    ASSERT_TRUE(home.ensureExists(&error));
    EXPECT_EQ(modeOf(home.root()), 0750u);

    IniFile settings;
    ASSERT_TRUE(settings.setValue("Main", "Last", "A"));
    const QString ini = home.file("QUILLO.ini");
    ASSERT_TRUE(settings.save(ini, &error));
    ASSERT_EQ(::chmod(ini.toUtf8().constData(), 0640), 0);
    ASSERT_TRUE(settings.setValue("Main", "Last", "B"));
    ASSERT_TRUE(settings.save(ini, &error));
    EXPECT_EQ(modeOf(ini), 0640u);

    const QString address = home.dataDir() + "/ADD0001.DBF";
    ASSERT_TRUE(AddressFile::CreateAddressFile(address, FieldLengths(), &error)) << error.toStdString();
    ASSERT_EQ(::chmod(address.toUtf8().constData(), 0640), 0);
    std::unique_ptr<xbase::Table> table;
    ASSERT_TRUE(AddressFile::OpenTableFile(address, &table, &error));
    AddressFile::ReindexGauge gauge;
    RecordingProgress progress;
    ASSERT_TRUE(AddressFile::Reindex(*table, gauge, &error, progress)) << error.toStdString();
    table.reset();
    EXPECT_EQ(modeOf(address), 0640u);
    EXPECT_EQ(modeOf(home.dataDir() + "/ADD0001.CDX"), 0640u);
}

}  // namespace
