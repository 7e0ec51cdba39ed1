// One print job, printed the way the print screens print it (selected, then run in the
// print-status window) and the way the commands print it (RunPrintJob): the two page
// streams are the same, page for page and drawing for drawing.
#include <gtest/gtest.h>

#include <QStringList>
#include <QPushButton>
#include <QTimer>

#include "AddressTable.h"
#include "BuiltInReports.h"
#include "Messages.h"
#include "PageStream.h"
#include "PrintJob.h"
#include "PrinterDevice.h"
#include "ScriptedMessages.h"
#include "TPrintStatus.h"
#include "TReportFiler.h"
#include "Table.h"

namespace {

// Each drawing of a stream as one line of text, page by page.
QStringList Drawings(const PageStream& stream) {
    QStringList lines;
    for (const Page& page : stream.pages) {
        lines << QString("page %1 %2x%3").arg(page.number).arg(page.size.width()).arg(page.size.height());
        for (const DrawOp& op : page.ops)
            lines << QString("%1 %2,%3 %4,%5 [%6,%7 %8x%9] %10 %11")
                         .arg(int(op.kind))
                         .arg(op.p1.x())
                         .arg(op.p1.y())
                         .arg(op.p2.x())
                         .arg(op.p2.y())
                         .arg(op.rect.x())
                         .arg(op.rect.y())
                         .arg(op.rect.width())
                         .arg(op.rect.height())
                         .arg(op.font.family())
                         .arg(op.text);
    }
    return lines;
}

class BothWaysTest : public ::testing::Test {
  protected:
    void SetUp() override {
        PrinterDevice::setPrinterListForTesting(QStringList{"PDF File"});
        const char* names[] = {"Young", "Adams", "Moore", "Baker", "Evans", "Clark", "Hayes", "Irwin"};
        for (int i = 0; i < 60; ++i)
            table_.add({{"LNAME", QString("%1 %2").arg(names[i % 8]).arg(i)},
                        {"FNAME", "Pat"},
                        {"CITY", "Springfield"},
                        {"ISDEL", i % 7 == 3 ? "T" : "F"}});
        ASSERT_TRUE(table_->query("!ISDEL").ok());
        (void)table_->goTop();
    }
    void TearDown() override { PrinterDevice::setPrinterListForTesting(std::nullopt); }

    AddressTable table_;
    ScriptedMessages messages_;
};

TEST_F(BothWaysTest, TheWindowAndTheCommandPrintTheSamePages) {
    BuiltInReports::Choice choice;
    choice.report = 4;
    choice.title = "Both ways";
    choice.records = RecordChoice::Records::All;
    const std::string query = table_->queryText();

    // The window's way: the job selects, then the print-status window runs it.
    std::shared_ptr<PageStream> shown;
    {
        BuiltInReports::ListingJob job(*table_, choice);
        JobProgress quiet;
        QString error;
        ASSERT_EQ(job.select(quiet, messages_, &error), JobResult::Done) << error.toStdString();
        TPrintStatus status(PrintKind::Reports, true);
        status.setJob(job);
        auto* timer = new QTimer(&status);
        QObject::connect(timer, &QTimer::timeout, [&status] {
            if (status.finished()) status.CancelButton->click();
        });
        timer->start(5);
        status.exec();
        ASSERT_FALSE(status.aborted());
        shown = status.stream();
        EXPECT_EQ(job.counts().toStdString(), "51 records");
    }
    EXPECT_EQ(table_->queryText(), query);

    // The command's way: the same kind of job, run by RunPrintJob into a filer of the
    // same device.
    PageStream printed;
    {
        BuiltInReports::ListingJob job(*table_, choice);
        TReportFiler filer(PrinterDevice::forReport(nullptr));
        filer.setStream(&printed);
        JobProgress quiet;
        QString error;
        ASSERT_EQ(RunPrintJob(job, filer, quiet, messages_, &error), JobResult::Done) << error.toStdString();
        EXPECT_EQ(job.counts().toStdString(), "51 records");
    }
    EXPECT_EQ(table_->queryText(), query);

    ASSERT_TRUE(shown);
    ASSERT_GT(shown->pages.size(), 1u);
    EXPECT_EQ(Drawings(*shown), Drawings(printed));
    EXPECT_TRUE(messages_.requests.empty());
}

}  // namespace
