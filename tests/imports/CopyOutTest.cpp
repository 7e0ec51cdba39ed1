// Copy Records Out: choosing the file, the three kinds, and copies that fail or stop.

#include <gtest/gtest.h>

#include <QDir>

#include "CopyOut.h"
#include "FaultInjectionFileSystem.h"
#include "ImportTestSupport.h"
#include "RecordingProgress.h"

namespace {

TEST(CopyOut, ChoosingTheFile) {
    AddressFileFixture f;
    writeFile(f.file("old.txt"), "old");
    const struct {
        QString path;
        CopyOut::Kind kind;
        CopyOut::Check check;
        QString message;
    } cases[] = {
        {f.file("CUSTOMERS.TXT"), CopyOut::Kind::Dbf, CopyOut::Check::Refused, "Must have a .DBF extension"},
        {f.file("copy"), CopyOut::Kind::Dbf, CopyOut::Check::Refused, "Must have a .DBF extension"},
        {f.file("copy.dbf"), CopyOut::Kind::Dbf, CopyOut::Check::Ok, ""},
        {f.file("ADD0001.dbf"), CopyOut::Kind::Dbf, CopyOut::Check::Refused, "Cannot copy a file to itself!"},
        {f.file("sub/../add0001.DBF"), CopyOut::Kind::Text, CopyOut::Check::Refused,
         "Cannot copy a file to itself!"},
        {f.file("people.csv"), CopyOut::Kind::Csv, CopyOut::Check::Ok, ""},
        {f.file("old.txt"), CopyOut::Kind::Text, CopyOut::Check::AskOverwrite,
         f.file("old.txt") + " already exists.\r\nDo you want to overwrite it?"},
    };
    for (const auto& c : cases) {
        QString message;
        EXPECT_EQ(CopyOut::CheckTarget(c.path, c.kind, f.path(), &message), c.check) << c.path.toStdString();
        EXPECT_EQ(message, c.message);
    }
}

class CopyOutTest : public ::testing::Test {
  protected:
    void SetUp() override {
        f_.add({{"FNAME", "John"}, {"LNAME", "Smith"}, {"MEMO", "twelve chars"}});
        f_.add({{"LNAME", "Älter"},
                {"ORG", "Says \"hi\", twice"},
                {"CITY", "Köln"},
                {"DATE", "19991231"},
                {"MEMO", "line one\r\nline two"}});
        f_.add({{"LNAME", "Gone"}});
        ASSERT_TRUE(AddressFile::DeleteRecord(f_.table()).ok());
        f_.add({{"LNAME", "Adams"}, {"CITY", "Elsewhere"}, {"TAG", "T1"}, {"PREFIX", " Dr."}});
        ASSERT_TRUE(f_.table().commit().ok());
        f_.table().setDeleted(true);
        // The main window's view: deleted records hidden, sorted by last name.
        ASSERT_TRUE(f_.table().query("!ISDEL").ok());
        ASSERT_TRUE(f_.table().setOrder(f_.table().tagArea("LNAME")).ok());
        ASSERT_TRUE(f_.table().go(2).ok());
    }

    JobResult copy(CopyOut::Kind kind, const QString& path, uint32_t* copied, QString* error,
                   xbase::FileSystem* fs = nullptr, int stopAt = 0) {
        RecordingProgress progress(stopAt);
        const JobResult r = CopyOut::Run(f_.table(), kind, path, progress, copied, error, fs);
        EXPECT_EQ(progress.statuses.value(0), "Copying to " + QFileInfo(path).fileName());
        return r;
    }

    AddressFileFixture f_;
};

// Sorted by last name, deleted records left out; the cursor is where it was after.
TEST_F(CopyOutTest, TextKindsInTheCurrentOrderAndSelection) {
    uint32_t copied = 0;
    QString error;
    ASSERT_EQ(copy(CopyOut::Kind::Text, f_.file("out.txt"), &copied, &error), JobResult::Done)
        << error.toStdString();
    EXPECT_EQ(copied, 3u);
    EXPECT_EQ(f_.table().recNo(), 2u);
    EXPECT_EQ(f_.table().indexOrd(), f_.table().tagArea("LNAME"));
    const auto line = [](std::initializer_list<std::pair<int, QByteArray>> values) {
        QList<QByteArray> fields;
        for (int i = 0; i < 20; ++i) fields << "\"\"";
        for (const auto& [n, v] : values) fields[n - 1] = "\"" + v + "\"";
        return fields.join(',') + "\r\n";
    };
    // The twenty fields as stored: Windows-1252, quotes inside left alone.
    EXPECT_EQ(readFile(f_.file("out.txt")),
              line({{1, " Dr."}, {4, "Adams"}, {9, "Elsewhere"}}) + line({{2, "John"}, {4, "Smith"}}) +
                  line({{4, "\xC4lter"}, {6, "Says \"hi\", twice"}, {9, "K\xF6ln"}, {17, "19991231"}}));

    ASSERT_EQ(copy(CopyOut::Kind::Csv, f_.file("out.csv"), &copied, &error), JobResult::Done);
    EXPECT_EQ(
        readFile(f_.file("out.csv")),
        "PREFIX,FNAME,MIDDLE,LNAME,TITLE,ORG,STREET,STREET2,CITY,STATE,ZIP,COUNTRY,PHONE,PHONE2,EMAIL,FAX,"
        "DATE,USER1,USER2,CODES,MEMO\r\n"
        "\" Dr.\",,,Adams,,,,,Elsewhere,,,,,,,,,,,,\r\n"
        ",John,,Smith,,,,,,,,,,,,,,,,,twelve chars\r\n"
        ",,,Älter,,\"Says \"\"hi\"\", twice\",,,Köln,,,,,,,,19991231,,,,\"line one\r\nline two\"\r\n");
}

// The DBF copy has the address file's fields; MEMO follows the rule of the older
// copies; TAG is not copied; an index file of the target's name goes.
TEST_F(CopyOutTest, DbfCopyKeepsTheStructure) {
    const QString target = f_.file("copy.dbf");
    writeFile(f_.file("copy.cdx"), "an old index");
    uint32_t copied = 0;
    QString error;
    ASSERT_EQ(copy(CopyOut::Kind::Dbf, target, &copied, &error), JobResult::Done) << error.toStdString();
    EXPECT_EQ(copied, 3u);
    EXPECT_FALSE(QFile::exists(f_.file("copy.cdx")));
    EXPECT_EQ(QDir(f_.file("")).entryList(QStringList("*.part*"), QDir::Hidden | QDir::Files), QStringList());
    std::unique_ptr<xbase::Table> t;
    ASSERT_TRUE(xbase::Table::open(target.toStdString(), xbase::OpenMode::ReadOnlyShared, &t).ok());
    ASSERT_EQ(t->fieldCount(), f_.table().fieldCount());
    for (int i = 0; i < t->fieldCount(); ++i) {
        EXPECT_EQ(t->field(i).name, f_.table().field(i).name);
        EXPECT_EQ(t->field(i).width, f_.table().field(i).width);
    }
    EXPECT_EQ(recordsOf(*t),
              (std::vector<Record>{{{"PREFIX", " Dr."}, {"LNAME", "Adams"}, {"CITY", "Elsewhere"}},
                                   {{"FNAME", "John"}, {"LNAME", "Smith"}, {"MEMO", "twelve chars "}},
                                   {{"LNAME", "Älter"},
                                    {"ORG", "Says \"hi\", twice"},
                                    {"CITY", "Köln"},
                                    {"DATE", "19991231"},
                                    {"MEMO", "line one\r\nline two"}}}));
}

// A full disk or a folder that is not there: the target keeps what it held, and no
// part of the copy is left beside it.
TEST_F(CopyOutTest, AFailedCopyLeavesTheTargetAsItWas) {
    for (CopyOut::Kind kind : {CopyOut::Kind::Dbf, CopyOut::Kind::Text, CopyOut::Kind::Csv}) {
        const QString target = f_.file(kind == CopyOut::Kind::Dbf ? "full.DBF" : "full.txt");
        // The text copies here are some 250 bytes long.
        const std::vector<uint64_t> spaces = kind == CopyOut::Kind::Dbf
                                                 ? std::vector<uint64_t>{0, 100, 700, 1500}
                                                 : std::vector<uint64_t>{0, 100};
        for (uint64_t space : spaces) {
            SCOPED_TRACE(std::to_string(int(kind)) + ": " + std::to_string(space) + " bytes free");
            writeFile(target, "what was there");
            xbase::FaultInjectionFileSystem fs;
            fs.setFreeSpace(space);
            uint32_t copied = 7;
            QString error;
            const JobResult r = copy(kind, target, &copied, &error, &fs);
            fs.heal();
            EXPECT_EQ(r, JobResult::Failed);
            EXPECT_EQ(copied, 0u);
            EXPECT_TRUE(error.startsWith("There was an error copying\r\n")) << error.toStdString();
            EXPECT_EQ(readFile(target), "what was there");
            EXPECT_EQ(QDir(f_.file("")).entryList(QStringList(".full*"), QDir::Hidden | QDir::Files),
                      QStringList());
        }
    }
    uint32_t copied = 0;
    QString error;
    EXPECT_EQ(copy(CopyOut::Kind::Text, f_.file("no/such/folder/out.txt"), &copied, &error),
              JobResult::Failed);
    EXPECT_TRUE(error.startsWith("There was an error copying\r\n")) << error.toStdString();
    EXPECT_EQ(f_.table().recNo(), 2u);
}

TEST_F(CopyOutTest, ACancelledCopyKeepsTheRecordsCopied) {
    uint32_t copied = 0;
    QString error;
    EXPECT_EQ(copy(CopyOut::Kind::Text, f_.file("two.txt"), &copied, &error, nullptr, 2),
              JobResult::Cancelled);
    EXPECT_EQ(copied, 2u);
    EXPECT_EQ(readFile(f_.file("two.txt")).count("\r\n"), 2);
    EXPECT_EQ(copy(CopyOut::Kind::Dbf, f_.file("two.dbf"), &copied, &error, nullptr, 2),
              JobResult::Cancelled);
    std::unique_ptr<xbase::Table> t;
    ASSERT_TRUE(
        xbase::Table::open(f_.file("two.dbf").toStdString(), xbase::OpenMode::ReadOnlyShared, &t).ok());
    EXPECT_EQ(t->recCount(), 2u);
    EXPECT_EQ(copied, 2u);
}

}  // namespace
