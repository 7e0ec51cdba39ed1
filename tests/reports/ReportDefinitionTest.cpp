// Report definitions: the papers, the layout file names, a report stored and read back
// through REPORT.DBF and its layout file, and settings that cannot be laid out made
// usable.

#include <gtest/gtest.h>

#include <QDir>
#include <QFile>

#include "AppHome.h"
#include "ReportDefinition.h"
#include "SystemTables.h"
#include "TGOwner.h"
#include "TGPLabel.h"
#include "TReportPanel.h"
#include "TempDir.h"

namespace {

void touch(const QString& path) {
    QFile f(path);
    ASSERT_TRUE(f.open(QIODevice::WriteOnly));
}

}  // namespace

TEST(ReportDefinitionTest, PapersAndTheirPixels) {
    TReportSettings s = ReportDefinition::NewSettings();
    EXPECT_EQ(ReportDefinition::PaperOf(s), 0);  // Letter portrait, 816 x 1056
    struct Case {
        int paper;
        int width, height;
        const char* text;
    };
    for (const Case& c : {Case{1, 1056, 816, "Letter Size, Landscape"}, Case{2, 793, 1121, "A4 Size, Portrait"},
                          Case{3, 1121, 793, "A4 Size, Landscape"}}) {
        ReportDefinition::SetPaper(s, c.paper);
        EXPECT_EQ(s.PageWidth, c.width);
        EXPECT_EQ(s.PageHeight, c.height);
        EXPECT_EQ(ReportDefinition::PaperOf(s), c.paper);
        EXPECT_STREQ(ReportDefinition::Papers()[size_t(c.paper)].layoutText, c.text);
    }
    // A page a pixel short after the file's thousandths is still A4; others are none.
    s.PageWidth = 1120;
    s.PageHeight = 792;
    EXPECT_EQ(ReportDefinition::PaperOf(s), 3);
    s.PageWidth = 1000;
    EXPECT_EQ(ReportDefinition::PaperOf(s), -1);
}

TEST(ReportDefinitionTest, LayoutFileNamesTakeTheFirstFreeNumber) {
    TempDir dir;
    const QString sys = QString::fromStdString(dir.path());
    touch(sys + "/BIN00001.R");
    touch(sys + "/bin00002.r");
    touch(sys + "/BIN00003.E");  // another kind's file does not count
    EXPECT_EQ(ReportDefinition::NextReportBinaryName(sys), "BIN00003.R");
    QFile::remove(sys + "/BIN00001.R");
    EXPECT_EQ(ReportDefinition::NextReportBinaryName(sys), "BIN00001.R");
}

TEST(ReportDefinitionTest, SavedReportReadsBackWithItsBandsAndSettings) {
    TempDir dir;
    const AppHome home(QString::fromStdString(dir.path()));
    QString error;
    ASSERT_TRUE(home.ensureExists(&error));
    std::unique_ptr<xbase::Table> reports;
    ASSERT_TRUE(SystemTables::OpenReportTable(home, &reports, &error)) << error.toStdString();

    TGOwner owner;
    TReportPanel header(&owner), detail(&owner), footer(&owner);
    auto title = std::make_unique<TGPLabel>();
    title->SetOwner(&owner);
    title->SetName("Special1");
    title->SetCaption("Members");
    header.InsertObject(std::move(title));
    TReportSettings settings = ReportDefinition::NewSettings();
    ReportDefinition::SetPaper(settings, 3);  // A4 landscape
    settings.UseFooter = true;
    ReportDefinition::Definition def;
    def.description = "Members";
    ASSERT_TRUE(ReportDefinition::SaveReport(*reports, 0, def, home.sysDataDir(), header, detail, footer, settings,
                                             &error))
        << error.toStdString();
    EXPECT_EQ(def.binary, "BIN00001.R");
    EXPECT_EQ(def.layout, "A4 Size, Landscape");

    ASSERT_EQ(SystemTables::FindDescription(*reports, "members"), 1u);
    const ReportDefinition::Definition read = ReportDefinition::Read(*reports);
    EXPECT_EQ(read.description, "Members");
    EXPECT_EQ(read.layout, "A4 Size, Landscape");
    TReportPanel h(&owner), d(&owner), f(&owner);
    TReportSettings back;
    ASSERT_TRUE(ReportDefinition::LoadReport(home.sysDataDir() + "/" + read.binary, &owner, h, d, f, back).ok());
    EXPECT_TRUE(back == settings);
    ASSERT_EQ(h.ObjectCount(), 1);
    EXPECT_EQ(static_cast<TGPLabel*>(h.Object(0))->Caption(), "Members");

    // A missing layout file: empty bands, the settings as they were, no error.
    TReportSettings kept = back;
    ASSERT_TRUE(ReportDefinition::LoadReport(home.sysDataDir() + "/BIN09999.R", &owner, h, d, f, kept).ok());
    EXPECT_EQ(h.ObjectCount(), 0);
    EXPECT_TRUE(kept == back);

    // Clone copies the record and the file under the next name; Delete removes both.
    const uint32_t clone = SystemTables::CloneDefinition(*reports, 1, home, ".R", &error);
    ASSERT_EQ(clone, 2u) << error.toStdString();
    EXPECT_EQ(ReportDefinition::Read(*reports).description, "Clone of Members");
    EXPECT_EQ(ReportDefinition::Read(*reports).layout, "A4 Size, Landscape");
    EXPECT_TRUE(QFile::exists(home.sysDataDir() + "/BIN00002.R"));
    ASSERT_TRUE(SystemTables::DeleteDefinition(*reports, clone, home, &error));
    EXPECT_FALSE(QFile::exists(home.sysDataDir() + "/BIN00002.R"));
    EXPECT_TRUE(QFile::exists(home.sysDataDir() + "/BIN00001.R"));
}

TEST(ReportDefinitionTest, SettingsThatCannotBeLaidOutAreMadeUsable) {
    TReportSettings s = ReportDefinition::NewSettings();
    EXPECT_FALSE(ReportDefinition::Clamp(s));  // a new report's settings stay as they are
    s.PageWidth = 0;
    s.PageHeight = -5;
    s.MarginLeft = -10;
    s.HeaderHeight = 5000;
    s.DetailHeight = -1;
    s.FooterHeight = 5000;
    s.Frames[1].ShadePercent = 250;
    EXPECT_TRUE(ReportDefinition::Clamp(s));
    EXPECT_EQ(ReportDefinition::PaperOf(s), 0);
    EXPECT_EQ(s.MarginLeft, 0);
    EXPECT_EQ(s.DetailHeight, 0);
    const int room = s.PageHeight - s.MarginTop - s.MarginBottom;
    EXPECT_LT(s.HeaderHeight + s.FooterHeight, room);  // rows still have room between them
    EXPECT_EQ(s.Frames[1].ShadePercent, 100);
}
