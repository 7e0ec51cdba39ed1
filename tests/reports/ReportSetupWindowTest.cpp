// "Print Report" driven through its widgets: the built-in page's title follows the
// chosen listing, the user reports' Clone and Delete with their layout files, and
// previews of a user report (one record a page, only the current record) that put the
// address table back as it was.

#include <gtest/gtest.h>

#include <QCheckBox>
#include <QFile>
#include <QLineEdit>
#include <QListWidget>
#include <QPushButton>
#include <QRadioButton>
#include <QTabWidget>
#include <QTest>
#include <QTreeWidget>

#include "AppHome.h"
#include "LabelTestSupport.h"
#include "NextDialog.h"
#include "PrinterDevice.h"
#include "ReportDefinition.h"
#include "Screenshot.h"
#include "ScriptedMessages.h"
#include "SystemTables.h"
#include "TPreviewWindow.h"
#include "TPrintStatus.h"
#include "TReportDesigner.h"
#include "TReportSetup.h"
#include "TempDir.h"

namespace {

class ReportSetupWindowTest : public ::testing::Test {
  protected:
    void SetUp() override {
        PrinterDevice::setPrinterListForTesting(QStringList{"PDF File"});
        home_ = std::make_unique<AppHome>(QString::fromStdString(dir_.path()));
        QString error;
        ASSERT_TRUE(home_->ensureExists(&error)) << error.toStdString();
        ASSERT_TRUE(SystemTables::OpenReportTable(*home_, &reports_, &error)) << error.toStdString();
        ReportDefinition::Definition staff{"Staff", "Letter Size, Portrait", "BIN00001.R"};
        ASSERT_TRUE(reports_->appendBlank().ok());
        ASSERT_TRUE(ReportDefinition::Write(*reports_, staff, &error));
        ASSERT_TRUE(reports_->commit().ok());
        QFile layout(home_->sysDataDir() + "/BIN00001.R");
        ASSERT_TRUE(layout.open(QIODevice::WriteOnly));
        layout.write(handlayout::report(handlayout::textObject("Staff", 0, 0),
                                        handlayout::fieldObject("Last Name", 0, 0), {}, handlayout::ReportPage()));
        layout.close();
        ASSERT_TRUE(makeAddressFile(dir_.file("ADDR.DBF"), {{"Smith", "62701"}, {"Jones", "10001"}, {"Brown", "1"}},
                                    &table_));
        ASSERT_TRUE(table_->go(2).ok());
    }
    void TearDown() override { PrinterDevice::setPrinterListForTesting(std::nullopt); }

    // Previews the current user report; the preview's page count.
    int preview(TReportSetup& screen) {
        int pages = -1;
        onNextDialog<TPrintStatus>([](TPrintStatus* s) { return s->finished(); },
                                   [](TPrintStatus* s) { s->CancelButton->click(); });
        onNextDialog<TPreviewWindow>([&](TPreviewWindow* w) {
            pages = w->pageCount();
            w->close();
        });
        QTest::mouseClick(screen.PreviewButton, Qt::LeftButton);
        return pages;
    }

    TempDir dir_;
    std::unique_ptr<AppHome> home_;
    std::unique_ptr<xbase::Table> reports_, table_;
    ScriptedMessages messages_;
};

}  // namespace

TEST_F(ReportSetupWindowTest, BuiltInPageTitleFollowsTheListing) {
    TReportSetup screen(*reports_, *table_, *home_, false);
    screen.show();
    ASSERT_TRUE(QTest::qWaitForWindowExposed(&screen));
    screenshot(&screen, "TReportSetup");
    EXPECT_EQ(screen.windowTitle(), "Print Report");
    EXPECT_EQ(screen.TitleEdit->text(), "Report 1");
    EXPECT_EQ(screen.BuiltInList->item(2)->text(), "3. Organization,Name,Phone,Fax ");
    // No user filter: the whole file.
    EXPECT_FALSE(screen.FilterRecords->isEnabled());
    EXPECT_TRUE(screen.AllRecords->isChecked());
    screen.BuiltInList->setCurrentRow(3);
    EXPECT_EQ(screen.TitleEdit->text(), "Report 4");
    EXPECT_TRUE(screen.PrintButton->isEnabled());
}

TEST_F(ReportSetupWindowTest, UserReportsCloneDeleteAndPreview) {
    TReportSetup screen(*reports_, *table_, *home_, true);
    screen.show();
    ASSERT_TRUE(QTest::qWaitForWindowExposed(&screen));
    EXPECT_TRUE(screen.FilterRecords->isChecked());
    screen.Pages->setCurrentIndex(1);
    screenshot(&screen, "TReportSetupDesigner");
    ASSERT_EQ(screen.ReportList->topLevelItemCount(), 1);

    messages_.answers = {true};
    screen.CloneButton->click();
    EXPECT_TRUE(messages_.wasAsked("Clone \"Staff\"?"));
    ASSERT_EQ(screen.ReportList->topLevelItemCount(), 2);
    const ReportDefinition::Definition clone = screen.current();
    EXPECT_EQ(clone.description, "Clone of Staff");
    EXPECT_EQ(clone.layout, "Letter Size, Portrait");
    EXPECT_EQ(clone.binary, "BIN00002.R");
    EXPECT_TRUE(QFile::exists(home_->sysDataDir() + "/BIN00002.R"));

    // One record a page over the filter's three records; only the current record: one page.
    screen.OnePerPage->setChecked(true);
    EXPECT_EQ(preview(screen), 3);
    EXPECT_EQ(table_->recNo(), 2u);
    screen.CurrentRecord->setChecked(true);
    EXPECT_EQ(preview(screen), 1);
    EXPECT_EQ(table_->recNo(), 2u);
    EXPECT_EQ(table_->queryText(), "!ISDEL");

    messages_.answers = {true};
    screen.DeleteButton->click();
    EXPECT_TRUE(messages_.wasAsked("Delete \"Clone of Staff\"?"));
    ASSERT_EQ(screen.ReportList->topLevelItemCount(), 1);
    EXPECT_FALSE(QFile::exists(home_->sysDataDir() + "/BIN00002.R"));
    EXPECT_TRUE(QFile::exists(home_->sysDataDir() + "/BIN00001.R"));

    // A report whose layout file is gone is refused with a message; nothing runs.
    QFile::remove(home_->sysDataDir() + "/BIN00001.R");
    QTest::mouseClick(screen.PreviewButton, Qt::LeftButton);
    ASSERT_FALSE(messages_.requests.empty());
    EXPECT_EQ(messages_.requests.back().kind, ScriptedMessages::Kind::Error);
    EXPECT_TRUE(messages_.requests.back().text.contains("BIN00001.R"));
}

TEST_F(ReportSetupWindowTest, NewAndModifyGoThroughTheDesigner) {
    TReportSetup screen(*reports_, *table_, *home_, false);
    screen.show();
    ASSERT_TRUE(QTest::qWaitForWindowExposed(&screen));
    screen.Pages->setCurrentIndex(1);

    // New: the designer opens on a new report; Save stores it under the next file name.
    QString description;
    onNextDialog<TReportDesigner>([&](TReportDesigner* d) {
        description = d->DescriptionEdit->text();
        d->DescriptionEdit->setText("Members");
        d->SaveButton->click();
    });
    QTest::mouseClick(screen.NewButton, Qt::LeftButton);
    EXPECT_EQ(description, "<new report>");
    ASSERT_EQ(screen.ReportList->topLevelItemCount(), 2);
    EXPECT_EQ(screen.current().description, "Members");
    EXPECT_EQ(screen.current().binary, "BIN00002.R");
    EXPECT_TRUE(QFile::exists(home_->sysDataDir() + "/BIN00002.R"));

    // Modify: the stored bands come back; Cancel leaves the report as it was.
    screen.ReportList->setCurrentItem(screen.ReportList->topLevelItem(1));
    ASSERT_EQ(screen.current().description, "Staff");
    int headerObjects = -1;
    onNextDialog<TReportDesigner>([&](TReportDesigner* d) {
        headerObjects = d->PHeader().ObjectCount();
        d->CancelButton->click();
    });
    QTest::mouseClick(screen.ModifyButton, Qt::LeftButton);
    EXPECT_EQ(headerObjects, 1);
    EXPECT_EQ(screen.ReportList->topLevelItemCount(), 2);
}
