#include "MruList.h"

#include <gtest/gtest.h>

#include "FileText.h"
#include "Settings.h"
#include "TempDir.h"

namespace {

TEST(MruListTest, UpdatedPutsThePathFirstOnce) {
    struct Case {
        QStringList entries;
        QString path;
        QStringList expected;
    };
    const Case cases[] = {
        {{}, "a", {"a"}},
        {{"a", "b"}, "c", {"c", "a", "b"}},
        {{"a", "b", "c", "d"}, "e", {"e", "a", "b", "c"}},  // the oldest drops out
        {{"a", "b", "c", "d"}, "c", {"c", "a", "b", "d"}},  // moves to the top, no duplicate
        {{"a", "b", "c", "d"}, "a", {"a", "b", "c", "d"}},
        {{"/d/ADD1.DBF"}, "/d/add1.DBF", {"/d/add1.DBF", "/d/ADD1.DBF"}},  // letter case counts
        {{"a", "b", "a", "c"}, "d", {"d", "a", "b", "c"}},
    };
    for (const Case& c : cases) {
        EXPECT_EQ(MruList::updated(c.entries, c.path), c.expected) << c.entries.join(",").toStdString();
    }
}

class MruListFileTest : public ::testing::Test {
protected:
    TempDir dir_;
    QString path_ = QString::fromStdString(dir_.file("QUILLO.ini"));
    Settings settings_{path_};
};

TEST_F(MruListFileTest, OpeningFiles) {
    for (const char* file : {"/d/add0001.DBF", "/d/add0002.DBF", "/d/add0003.DBF", "/d/add0004.DBF"}) {
        MruList::UpdateMRUList(settings_, file);
    }
    EXPECT_EQ(MruList::UpdateMRUList(settings_, "/d/add0005.DBF"),
              QStringList({"/d/add0005.DBF", "/d/add0004.DBF", "/d/add0003.DBF", "/d/add0002.DBF"}));
    EXPECT_EQ(MruList::UpdateMRUList(settings_, "/d/add0003.DBF"),
              QStringList({"/d/add0003.DBF", "/d/add0005.DBF", "/d/add0004.DBF", "/d/add0002.DBF"}));
    EXPECT_EQ(
        readFile(path_),
        "[MRU]\nItem1=/d/add0003.DBF\nItem2=/d/add0005.DBF\nItem3=/d/add0004.DBF\nItem4=/d/add0002.DBF\n");
}

TEST_F(MruListFileTest, GapsAndStaleEntries) {
    writeFile(path_, "[MRU]\nItem1=\nItem2=/b\nItem3=  \nItem4=/d\nItem5=/e\n");
    EXPECT_EQ(MruList::GetMRUList(settings_), QStringList({"/b", "/d"}));

    // A hand-made duplicate shortens the list: the slot it leaves is emptied.
    writeFile(path_, "[MRU]\nItem1=/a\nItem2=/a\nItem3=/b\nItem4=/c\n");
    EXPECT_EQ(MruList::UpdateMRUList(settings_, "/a"), QStringList({"/a", "/b", "/c"}));
    EXPECT_EQ(MruList::GetMRUList(settings_), QStringList({"/a", "/b", "/c"}));
}

TEST_F(MruListFileTest, RemembersOnlyWhatReadsBackUnchanged) {
    MruList::UpdateMRUList(settings_, "/d/a.DBF");
    const QString awkward[] = {" /d/lead and trail.DBF ", "\"/d/quoted.DBF\"", "/d/x=y;z.DBF"};
    for (const QString& path : awkward) {
        EXPECT_EQ(MruList::UpdateMRUList(settings_, path).front(), path);
        EXPECT_EQ(MruList::GetMRUList(settings_).front(), path);
    }
    const QStringList before = MruList::GetMRUList(settings_);
    for (const QString& path : {QString("/d/two\nlines.DBF"), "/" + QString(1023, 'x'), QString()}) {
        EXPECT_FALSE(MruList::canRemember(path));
        EXPECT_EQ(MruList::UpdateMRUList(settings_, path), before);
        EXPECT_EQ(MruList::GetMRUList(settings_), before);
    }
    EXPECT_TRUE(MruList::canRemember("/" + QString(1022, 'x')));
}

}  // namespace
