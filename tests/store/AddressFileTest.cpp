#include <gtest/gtest.h>

#include <QFile>
#include <filesystem>

#include "AddressFile.h"
#include "FaultInjectionFileSystem.h"
#include "RecordingProgress.h"
#include "TempDir.h"

using xbase::Table;

namespace {

class AddressFileTest : public ::testing::Test {
  protected:
    QString path(const char* name) const { return QString::fromStdString(dir_.file(name)); }
    std::unique_ptr<Table> create(const char* name, const FieldLengths& widths = FieldLengths()) {
        QString message;
        EXPECT_TRUE(AddressFile::CreateAddressFile(path(name), widths, &message)) << message.toStdString();
        std::unique_ptr<Table> table;
        QStringList messages;
        EXPECT_TRUE(AddressFile::OpenQYZFile(path(name), &table, &messages))
            << messages.join("\n").toStdString();
        return table;
    }
    void addPerson(Table& t, const QString& last, const QString& first) {
        ASSERT_TRUE(t.appendBlank().ok());
        ASSERT_TRUE(AddressFile::setText(t, t.fieldIndex("LNAME"), last).ok());
        ASSERT_TRUE(AddressFile::setText(t, t.fieldIndex("FNAME"), first).ok());
        ASSERT_TRUE(t.commit().ok());
    }
    TempDir dir_;
};

TEST_F(AddressFileTest, NewFileHasTheLayoutAndEveryTag) {
    FieldLengths widths;
    widths.setWidth(FieldLengths::indexOf("LNAME"), 50);
    auto t = create("add0001.DBF", widths);
    ASSERT_TRUE(t);
    ASSERT_EQ(t->fieldCount(), 23);
    for (int i = 0; i < 23; ++i) {
        EXPECT_EQ(t->field(i).name, AddressFile::fields()[size_t(i)].name);
    }
    EXPECT_EQ(t->field(0).width, 50);  // LNAME as asked
    EXPECT_EQ(t->field(1).width, 30);
    EXPECT_EQ(t->field(t->fieldIndex("DATE")).width, 15);
    EXPECT_EQ(t->field(t->fieldIndex("MEMO")).type, 'M');
    ASSERT_EQ(t->orderCount(), 26);
    for (int i = 0; i < 26; ++i) {
        EXPECT_EQ(t->tagName(i + 1), AddressFile::tags()[size_t(i)].name);
        EXPECT_EQ(t->tagExpression(i + 1), AddressFile::tags()[size_t(i)].key);
    }
    EXPECT_TRUE(AddressFile::CheckValidIndex(*t));
}

TEST_F(AddressFileTest, AFileLackingOnlyItsTagTagIsInvalid) {
    auto t = create("add0001.DBF");
    ASSERT_TRUE(t->closeIndexes().ok());
    std::filesystem::remove(dir_.file("add0001.CDX"));
    for (const auto& tag : AddressFile::tags()) {
        if (std::string(tag.name) != "TAG") {
            ASSERT_TRUE(t->indexTag(tag.name, tag.key).ok());
        }
    }
    EXPECT_FALSE(AddressFile::CheckValidIndex(*t));
}

TEST_F(AddressFileTest, OpenFailuresSayWhy) {
    QStringList messages;
    std::unique_ptr<Table> t;
    EXPECT_FALSE(AddressFile::OpenQYZFile(path("none.DBF"), &t, &messages));
    const QString unable =
        "Unable to open " + path("none.DBF") +
        "\r\n\r\n * May not be a Quillory file.\r\n * May be in use by another program or user";
    EXPECT_EQ(messages, QStringList({"File " + path("none.DBF") + " not found", unable}));  // two boxes

    // A table without the address fields, and an address file in use: the window says
    // what the program says, the reason is there for the command line.
    xbase::TableSpec design;
    design.fields = {{"LNAME", 'C', 10}};
    ASSERT_TRUE(Table::create(dir_.file("other.DBF"), design).ok());
    EXPECT_FALSE(AddressFile::OpenQYZFile(path("other.DBF"), &t, &messages));
    ASSERT_EQ(messages.size(), 1);
    EXPECT_TRUE(messages[0].startsWith("Unable to open " + path("other.DBF")));
    QString reason;
    EXPECT_FALSE(AddressFile::OpenTableFile(path("other.DBF"), &t, &reason));
    EXPECT_EQ(reason, path("other.DBF") + " is not an address file: it lacks fields the program needs");
    auto open = create("add0001.DBF");
    EXPECT_FALSE(AddressFile::OpenQYZFile(path("add0001.DBF"), &t, &messages));
    EXPECT_TRUE(messages.join("").endsWith("May be in use by another program or user"));
    EXPECT_FALSE(AddressFile::OpenTableFile(path("add0001.DBF"), &t, &reason));
    EXPECT_TRUE(reason.startsWith(path("add0001.DBF") + ": ")) << reason.toStdString();
    EXPECT_GT(reason.size(), path("add0001.DBF").size() + 2);
    EXPECT_EQ(AddressFile::rebuildQuestion("/x/a.DBF"),
              "The index file for /x/a.DBF\r\nis missing or invalid. Rebuild now?");

    // Extra fields and other widths still open.
    design.fields.clear();
    for (const auto& f : AddressFile::fields())
        design.fields.push_back({f.name, f.type, uint16_t(f.type == 'C' ? 60 : f.width)});
    design.fields.push_back({"EXTRA", 'C', 5});
    ASSERT_TRUE(Table::create(dir_.file("wide.DBF"), design).ok());
    EXPECT_TRUE(AddressFile::OpenQYZFile(path("wide.DBF"), &t, &messages));
}

TEST_F(AddressFileTest, DeletingSetsBothMarksAndReindexRemovesTheRecords) {
    auto t = create("add0001.DBF");
    for (const char* n : {"smith", "Adams", "SMITH", "baker"}) addPerson(*t, n, n[0] == 's' ? "zed" : "al");
    ASSERT_TRUE(t->go(2).ok());
    ASSERT_TRUE(AddressFile::DeleteRecord(*t).ok());
    EXPECT_TRUE(t->deleted());
    EXPECT_TRUE(t->getLogical(t->fieldIndex("ISDEL")));

    AddressFile::ReindexGauge gauge;
    RecordingProgress progress;
    const std::vector<int>& gauges = progress.gauges;
    QString message;
    ASSERT_TRUE(AddressFile::Reindex(*t, gauge, &message, progress));
    EXPECT_EQ(progress.statuses, QStringList({"Cleaning out old deleted records", "Rebuilding indexes"}));
    EXPECT_EQ(t->recCount(), 3u);
    EXPECT_TRUE(AddressFile::CheckValidIndex(*t));
    EXPECT_EQ(gauges.back(), 100);
    ASSERT_TRUE(t->setOrder(t->tagArea("LNAME")).ok());
    QStringList names;
    ASSERT_TRUE(t->goTop().ok());
    while (!t->eof()) {
        names << AddressFile::text(*t, 0) + " " + AddressFile::text(*t, 1);
        ASSERT_TRUE(t->skip(1).ok());
    }
    EXPECT_EQ(names, QStringList({"baker al", "SMITH al", "smith zed"}));
}

// A disk that fills up during a reindex: the reindex says so, and the file opens
// afterwards with its records and no index taken as sound when it is not.
TEST_F(AddressFileTest, ReindexOnAFullDiskFailsAndKeepsTheRecords) {
    for (const uint64_t space : {0, 10000, 40000}) {
        SCOPED_TRACE(std::to_string(space) + " bytes free");
        const std::string name = "full" + std::to_string(space) + ".DBF";
        {
            auto t = create(name.c_str());
            for (const char* n : {"smith", "Adams", "baker"}) addPerson(*t, n, "x");
            ASSERT_TRUE(t->close().ok());
        }
        xbase::FaultInjectionFileSystem fs;
        {
            std::unique_ptr<Table> t;
            ASSERT_TRUE(Table::open(dir_.file(name), xbase::OpenMode::Exclusive, &t, &fs).ok());
            fs.setFreeSpace(space);
            AddressFile::ReindexGauge gauge;
            QString message;
            JobProgress silent;
            EXPECT_FALSE(AddressFile::Reindex(*t, gauge, &message, silent));
            EXPECT_FALSE(message.isEmpty());
        }
        fs.heal();
        std::unique_ptr<Table> t;
        QString message;
        ASSERT_TRUE(AddressFile::OpenTableFile(path(name.c_str()), &t, &message));
        ASSERT_EQ(t->recCount(), 3u);
        for (uint32_t r = 1; r <= 3; ++r) {
            ASSERT_TRUE(t->go(r).ok());
            EXPECT_EQ(AddressFile::text(*t, t->fieldIndex("FNAME")), "x");
        }
        if (t->indexState() == xbase::IndexState::Ok) {
            EXPECT_TRUE(t->verifyIndexes().ok());
        }
    }
}

TEST_F(AddressFileTest, ReindexGaugeAddsUpEveryRise) {
    AddressFile::ReindexGauge gauge;
    gauge.packProgress(40);
    EXPECT_EQ(gauge.value(), 40);
    gauge.packProgress(100);
    EXPECT_EQ(gauge.value(), 100);
    const struct {
        int percent;
        int gauge;
    } steps[] = {
        {0, 0}, {21, 1}, {50, 2}, {100, 5}, {0, 5}, {100, 10}, {63, 10}, {84, 11},
    };
    for (const auto& s : steps) {
        gauge.tagProgress(s.percent);
        EXPECT_EQ(gauge.value(), s.gauge) << s.percent;
    }
    for (int tag = 0; tag < 30; ++tag) {  // more than 21 full tags: capped
        gauge.tagProgress(0);
        gauge.tagProgress(100);
    }
    EXPECT_EQ(gauge.value(), 100);
}

TEST_F(AddressFileTest, TextTheCodePageCannotHoldIsRefusedBeforeWriting) {
    auto t = create("add0001.DBF");
    addPerson(*t, "Müller", "José");
    EXPECT_EQ(AddressFile::text(*t, 0), "Müller");
    const xbase::Status s = AddressFile::setText(*t, 0, "Łukasz");
    EXPECT_TRUE(s.isInvalidArgument());
    EXPECT_NE(s.message().find("1252"), std::string::npos);
    EXPECT_EQ(AddressFile::text(*t, 0), "Müller");
}

}  // namespace
