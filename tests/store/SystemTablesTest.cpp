#include <gtest/gtest.h>

#include <QFile>
#include <filesystem>
#include <fstream>

#include "AppHome.h"
#include "CodePage.h"
#include "RecordingProgress.h"
#include "SystemTables.h"
#include "TempDir.h"

using SystemTables::Kind;
using xbase::Table;

namespace {

class SystemTablesTest : public ::testing::Test {
  protected:
    void SetUp() override {
        QString error;
        ASSERT_TRUE(home_.ensureExists(&error)) << error.toStdString();
    }
    std::string sys(const char* name) const { return dir_.file("sysdata/") + name; }
    TempDir dir_;
    AppHome home_{QString::fromStdString(dir_.path())};
};

TEST_F(SystemTablesTest, NewHomeHoldsTheShippedTables) {
    std::unique_ptr<Table> t;
    QString message;
    ASSERT_TRUE(SystemTables::OpenLabelStockTable(home_, &t, &message)) << message.toStdString();
    EXPECT_EQ(t->recCount(), 169u);
    EXPECT_EQ(t->tagName(1), "DESCRIPT");
    ASSERT_TRUE(t->setOrder(1).ok());
    ASSERT_TRUE(t->seek("AVERY 5160  ADDRESS").ok());
    ASSERT_TRUE(t->found());
    const auto value = [&](const char* f) { return t->getTrimString(t->fieldIndex(f)); };
    EXPECT_EQ(value("PRINTER"), "LJ");
    EXPECT_EQ(value("LBLHEIGHT"), "1.000");
    EXPECT_EQ(value("LBLWIDTH"), "2.625");
    EXPECT_EQ(value("NBRACROSS"), "3");
    EXPECT_EQ(value("NBRDOWN"), "10");
    EXPECT_EQ(value("LEFTMARG"), "0.188");
    EXPECT_EQ(value("ART"), "AV5160.BMP");

    ASSERT_TRUE(SystemTables::OpenCszTable(home_, &t, &message));
    EXPECT_EQ(t->recCount(), 75u);
    ASSERT_TRUE(t->setOrder(1).ok());
    ASSERT_TRUE(t->seek("NY").ok());
    EXPECT_EQ(t->getTrimString(t->fieldIndex("HIGH_ZIP")), "14999-9999");
    EXPECT_EQ(t->getTrimString(t->fieldIndex("NAME")), "New York");
    t.reset();

    // Every row of the shipped sources is there.
    for (const auto& [csv, table] : {std::pair{"lbltpl.csv", "LBLTPL.DBF"}, {"csz.csv", "CSZ.DBF"}}) {
        QFile f(QString(QUILLORY_DATA_DIR) + "/" + csv);
        ASSERT_TRUE(f.open(QIODevice::ReadOnly));
        const int rows = f.readAll().count('\n') - 1;
        ASSERT_TRUE(Table::open(sys(table), xbase::OpenMode::ReadOnlyShared, &t).ok());
        EXPECT_EQ(int(t->recCount()), rows) << table;
    }
    // A second start leaves them alone, and one removed by hand stays removed: the
    // windows that need it say so instead of a silent rebuild.
    const auto stamp = std::filesystem::last_write_time(sys("CSZ.DBF"));
    ASSERT_TRUE(std::filesystem::remove(sys("LBLTPL.DBF")));
    QString error;
    ASSERT_TRUE(home_.ensureExists(&error));
    EXPECT_EQ(std::filesystem::last_write_time(sys("CSZ.DBF")), stamp);
    EXPECT_FALSE(std::filesystem::exists(sys("LBLTPL.DBF")));
}

TEST_F(SystemTablesTest, DefinitionTablesAreCreatedWhenMissing) {
    const struct {
        Kind kind;
        const char* file;
        int fields;
    } cases[] = {{Kind::Letter, "LETTER.DBF", 2},
                 {Kind::Report, "REPORT.DBF", 3},
                 {Kind::Envelope, "ENVELOPE.DBF", 3},
                 {Kind::Label, "LABEL.DBF", 22}};
    for (const auto& c : cases) {
        std::unique_ptr<Table> t;
        QString message;
        ASSERT_TRUE(SystemTables::open(home_, c.kind, &t, &message)) << c.file;
        EXPECT_EQ(t->fieldCount(), c.fields) << c.file;
        EXPECT_EQ(t->tagName(1), "DESCRIPT");
        EXPECT_EQ(t->tagExpression(1), "UPPER(descript)");
        EXPECT_EQ(t->indexOrd(), 0);
        EXPECT_TRUE(std::filesystem::exists(sys(c.file)));
    }
    // A deleted LABEL.CDX comes back on the next open without a word.
    std::filesystem::remove(sys("LABEL.CDX"));
    std::unique_ptr<Table> t;
    QString message;
    ASSERT_TRUE(SystemTables::OpenLabelTable(home_, &t, &message));
    EXPECT_EQ(t->tagArea("DESCRIPT"), 1);
    EXPECT_TRUE(message.isEmpty());
}

TEST_F(SystemTablesTest, FailedOpensReplaceNothing) {
    std::filesystem::remove(sys("LBLTPL.DBF"));
    std::unique_ptr<Table> t;
    QString message;
    EXPECT_FALSE(SystemTables::OpenLabelStockTable(home_, &t, &message));
    EXPECT_EQ(message, "Unable to Open LBLTPL.DBF");
    EXPECT_FALSE(std::filesystem::exists(sys("LBLTPL.DBF")));

    std::filesystem::remove(sys("CSZ.DBF"));
    EXPECT_FALSE(SystemTables::OpenCszTable(home_, &t, &message));
    EXPECT_EQ(message, "Unable to Open or Create CSZ.DBF");

    // A letter table that exists but is not a table is kept as it is.
    std::ofstream(sys("LETTER.DBF")) << "not a table";
    EXPECT_FALSE(SystemTables::OpenLetterTable(home_, &t, &message));
    EXPECT_EQ(message, "Unable to Open or Create LETTER.DBF");
    EXPECT_EQ(std::filesystem::file_size(sys("LETTER.DBF")), 11u);
}

TEST_F(SystemTablesTest, RebuildPacksAllSixAndRecreatesTheirTags) {
    // One deleted record in every table.
    const Kind kinds[] = {Kind::Letter, Kind::Report,     Kind::Envelope,
                          Kind::Label,  Kind::LabelStock, Kind::Csz};
    std::map<Kind, uint32_t> before;
    for (Kind k : kinds) {
        std::unique_ptr<Table> t;
        QString message;
        ASSERT_TRUE(SystemTables::open(home_, k, &t, &message));
        ASSERT_TRUE(t->appendBlank().ok());
        ASSERT_TRUE(t->replace(0, "zz").ok());
        ASSERT_TRUE(t->deleteRecord().ok());
        before[k] = t->recCount();
    }
    std::filesystem::remove(sys("CSZ.CDX"));
    RecordingProgress progress;
    SystemTables::RebuildSystemIndexes(home_, progress);
    EXPECT_EQ(progress.statuses,
              QStringList({"Rebuilding Letters File indexes", "Rebuilding Label File indexes",
                           "Rebuilding State/Province File indexes", "Rebuilding Label Setup File indexes",
                           "Rebuilding Envelope File indexes", "Rebuilding Report File indexes"}));
    for (Kind k : kinds) {
        std::unique_ptr<Table> t;
        QString message;
        ASSERT_TRUE(SystemTables::open(home_, k, &t, &message));
        EXPECT_EQ(t->recCount(), before[k] - 1) << SystemTables::fileName(k).toStdString();
        EXPECT_EQ(t->orderCount(), 1);
        EXPECT_TRUE(t->verifyIndexes().ok());
    }
}

TEST_F(SystemTablesTest, FieldsListRoundTrips) {
    EXPECT_TRUE(SystemTables::readFieldsList(home_).isEmpty());
    const QStringList fields{"Tagged", "LNAME", "FNAME", "DisplayDate"};
    ASSERT_TRUE(SystemTables::writeFieldsList(home_, fields));
    EXPECT_EQ(SystemTables::readFieldsList(home_), fields);
    std::ifstream in(sys("FIELDS.LST"), std::ios::binary);
    const std::string bytes((std::istreambuf_iterator<char>(in)), {});
    EXPECT_EQ(bytes, "Tagged\r\nLNAME\r\nFNAME\r\nDisplayDate\r\n");
}

}  // namespace
