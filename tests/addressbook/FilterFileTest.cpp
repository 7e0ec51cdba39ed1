#include <gtest/gtest.h>

#include <QFile>

#include "FilterFile.h"
#include "TempDir.h"

namespace {

FilterCriteria everyEntry() {
    FilterCriteria c;
    for (int i = 0; i < FilterCriteria::kEntryCount; ++i) c.texts[size_t(i)] = QString("entry %1").arg(i + 1);
    c[FilterCriteria::Last] = "a;b+c";
    c[FilterCriteria::Address1] = "Straße 5";  // Windows-1252 in the file
    c[FilterCriteria::Codes] = "$c";
    c.tagged = true;
    return c;
}

TEST(FilterFileTest, WritesTwentyCrLfLinesAndReadsThemBack) {
    const FilterCriteria c = everyEntry();
    const QByteArray bytes = FilterFile::toBytes(c);
    EXPECT_EQ(bytes.count("\r\n"), 20);
    EXPECT_EQ(bytes.count('\n'), 20);
    EXPECT_TRUE(bytes.startsWith("a;b+c\r\nentry 2\r\n"));
    EXPECT_TRUE(bytes.endsWith("entry 18\r\nT\r\nF\r\n"));
    EXPECT_TRUE(
        bytes.contains("Stra\xDF"
                       "e 5\r\n"));
    EXPECT_EQ(FilterFile::fromBytes(bytes), c);

    // A character Windows-1252 lacks: the file is UTF-8 and still reads back.
    FilterCriteria wide = c;
    wide[FilterCriteria::Comment2] = "Ωmega";
    wide.reverse = true;
    EXPECT_EQ(FilterFile::fromBytes(FilterFile::toBytes(wide)), wide);

    // A line break inside an entry must not shift the flags.
    FilterCriteria broken;
    broken[FilterCriteria::Last] = "two\r\nlines";
    broken.reverse = true;
    const FilterCriteria back = FilterFile::fromBytes(FilterFile::toBytes(broken));
    EXPECT_EQ(back[FilterCriteria::Last], "two lines");
    EXPECT_TRUE(back.reverse);
}

TEST(FilterFileTest, ReadsShortFilesLfLinesAndOnlyAnExactTAsSet) {
    const struct {
        QByteArray bytes;
        QStringList firstTexts;
        bool tagged;
        bool reverse;
    } cases[] = {
        {"smith\r\njohn\r\nmgr\r\nacme\r\n1 Main", {"smith", "john", "mgr", "acme", "1 Main"}, false, false},
        {"", {}, false, false},
        {"x\n\n\n\n\n\n\n\n\n\n\n\n\n\n\n\n\n\nT\nT\n", {"x"}, true, true},
        {"x\r\n\r\n\r\n\r\n\r\n\r\n\r\n\r\n\r\n\r\n\r\n\r\n\r\n\r\n\r\n\r\n\r\n\r\nt\r\nT \r\n",
         {"x"},
         false,
         false},
        // Lines past the twentieth are ignored.
        {"\r\n\r\n\r\n\r\n\r\n\r\n\r\n\r\n\r\n\r\n\r\n\r\n\r\n\r\n\r\n\r\n\r\n\r\nF\r\nT\r\nT\r\n",
         {},
         false,
         true},
    };
    for (const auto& c : cases) {
        const FilterCriteria read = FilterFile::fromBytes(c.bytes);
        for (int i = 0; i < FilterCriteria::kEntryCount; ++i) {
            EXPECT_EQ(read.texts[size_t(i)], c.firstTexts.value(i))
                << c.bytes.toStdString() << " line " << i + 1;
        }
        EXPECT_EQ(read.tagged, c.tagged) << c.bytes.toStdString();
        EXPECT_EQ(read.reverse, c.reverse) << c.bytes.toStdString();
    }
}

TEST(FilterFileTest, SavesAndRestoresThroughTheFile) {
    TempDir dir;
    const QString path = QString::fromStdString(dir.file("mine.FLT"));
    QString message;
    ASSERT_TRUE(FilterFile::SaveFilterTo(path, everyEntry(), &message)) << message.toStdString();
    FilterCriteria read;
    ASSERT_TRUE(FilterFile::RestoreFilterFrom(path, &read, &message));
    EXPECT_EQ(read, everyEntry());

    read.clear();
    EXPECT_FALSE(FilterFile::RestoreFilterFrom(path + ".gone", &read, &message));
    EXPECT_EQ(read, FilterCriteria());
    EXPECT_FALSE(message.isEmpty());
    EXPECT_FALSE(
        FilterFile::SaveFilterTo(QString::fromStdString(dir.file("no/such/dir/x.FLT")), read, &message));
}

TEST(FilterFileTest, ExtensionRules) {
    const struct {
        const char* chosen;
        const char* savedAs;  // nullptr: refused with the message
    } saves[] = {
        {"/home/me/mine.FLT", "/home/me/mine.FLT"},
        {"/home/me/mine.flt", "/home/me/mine.flt"},
        {"/home/me/mine", "/home/me/mine.FLT"},
        // Only the file name counts: the default home lies under a folder with a dot.
        {"/home/me/.local/share/quillory/mine", "/home/me/.local/share/quillory/mine.FLT"},
        {"/home/me/mine.txt", nullptr},
        {"/home/me/mine.", nullptr},
        {"/home/me/mine.flt.bak", nullptr},
    };
    for (const auto& s : saves) {
        QString path, message;
        const bool ok = FilterFile::SaveName(s.chosen, &path, &message);
        EXPECT_EQ(ok, s.savedAs != nullptr) << s.chosen;
        if (s.savedAs) {
            EXPECT_EQ(path, s.savedAs);
        } else {
            EXPECT_EQ(message, "Must have a .FLT extension");
        }
    }
    QString message;
    EXPECT_TRUE(FilterFile::CheckRestoreName("/x.y/Saved.Flt", &message));
    EXPECT_FALSE(FilterFile::CheckRestoreName("/x.flt/saved", &message));
    EXPECT_EQ(message, "Must be a Filter (.FLT) file");
    EXPECT_EQ(FilterFile::OverwriteQuestion("/a/b.FLT"),
              "/a/b.FLT already exists.\r\nDo you want to overwrite it?");
}

}  // namespace
