// The ZIP code count as a user runs it: its window and its command.

#include <gtest/gtest.h>
#include <sys/wait.h>

#include <QApplication>
#include <QFile>
#include <QLabel>
#include <QMessageBox>
#include <QPushButton>
#include <QTimer>

#include "CodePage.h"
#include "PrinterDevice.h"
#include "TCountZipCodes.h"
#include "RunQuillory.h"
#include "TempDir.h"
#include "ZipCount.h"
#include "ZipTable.h"

namespace {

using Lines = std::vector<std::string>;

class ZipCountTest : public ::testing::Test {
  protected:
    TempDir dir_;
    std::unique_ptr<xbase::Table> table_;
};

TEST_F(ZipCountTest, WindowCountsAtOnceAndOffersTheReport) {
    ASSERT_TRUE(makeZipFile(dir_.file("w.dbf"), repeat("12345", 3) + Lines{""}, &table_));
    ASSERT_TRUE(table_->setOrder(table_->tagArea("LNAME")).ok());
    ASSERT_TRUE(table_->go(2).ok());
    TCountZipCodes window(*table_);
    EXPECT_EQ(window.windowTitle(), "Count Zip Codes");
    EXPECT_EQ(window.CaptionLabel->text(), "Counting the number of occurrences of each zip code:");
    window.show();
    for (int i = 0; i < 20 && !window.counted(); ++i) QApplication::processEvents();
    ASSERT_TRUE(window.counted());
    EXPECT_EQ(window.StatusLabel->text(), "Finished counting. Press Print or Preview for the report");
    EXPECT_EQ(window.reportLines(), QStringList({"12345     3", "", "", "BLANK     1"}));
    EXPECT_FALSE(window.CancelButton->isVisible());
    for (QPushButton* b : {window.PrintButton, window.PreviewButton, window.PrinterSetupButton,
                           window.OkButton, window.HelpButton})
        EXPECT_TRUE(b->isVisible()) << b->text().toStdString();
    EXPECT_EQ(table_->indexOrd(), table_->tagArea("LNAME"));
    EXPECT_EQ(table_->recNo(), 2u);

    // Without printers, Print and Printer Setup say so and do nothing more.
    PrinterDevice::setPrinterListForTesting(QStringList());
    QStringList told;
    auto* timer = new QTimer(&window);
    QObject::connect(timer, &QTimer::timeout, [&] {
        if (auto* box = qobject_cast<QMessageBox*>(QApplication::activeModalWidget())) {
            told << box->text();
            box->accept();
        }
    });
    timer->start(5);
    window.PrintButton->click();
    window.PrinterSetupButton->click();
    timer->stop();
    PrinterDevice::setPrinterListForTesting(std::nullopt);
    EXPECT_EQ(told,
              QStringList({"There are no installed printers.\nUnable to perform printer related operations",
                           "There are no printers installed"}));
}

TEST_F(ZipCountTest, WindowCancelClosesAndKeepsTheFilePosition) {
    ASSERT_TRUE(makeZipFile(dir_.file("c.dbf"), repeat("12345", 400), &table_));
    ASSERT_TRUE(table_->setOrder(table_->tagArea("ZIP")).ok());
    ASSERT_TRUE(table_->go(7).ok());
    TCountZipCodes window(*table_);
    QString asked, caption;
    // Press Cancel once the count runs, then answer its question.
    bool pressed = false;
    auto* timer = new QTimer(&window);
    QObject::connect(timer, &QTimer::timeout, [&] {
        if (!pressed && !window.StatusLabel->text().isEmpty()) {
            pressed = true;
            QTimer::singleShot(0, window.CancelButton, &QPushButton::click);
        } else if (auto* box = qobject_cast<QMessageBox*>(QApplication::activeModalWidget())) {
            asked = box->text();
            caption = box->windowTitle();
            timer->stop();
            box->button(QMessageBox::Yes)->click();
        }
    });
    timer->start(0);
    EXPECT_EQ(window.exec(), QDialog::Rejected);
    EXPECT_EQ(asked, "Cancel Count?");
    EXPECT_EQ(caption, "CANCEL");
    EXPECT_FALSE(window.counted());
    EXPECT_EQ(table_->indexOrd(), table_->tagArea("ZIP"));
    EXPECT_EQ(table_->recNo(), 7u);
}


TEST_F(ZipCountTest, CommandWritesAPdfReport) {
    Lines zips;
    for (int i = 0; i < 300; ++i) zips.push_back(std::to_string(10000 + i));
    zips = zips + repeat("12345-6789", 3) + Lines{"K1A 0B1", "", ""};
    ASSERT_TRUE(makeZipFile(dir_.file("r.dbf"), zips, &table_));
    ASSERT_TRUE(table_->close().ok());
    table_.reset();
    const std::string quillory = std::string(QUILLORY_BINARY) + " --home " + dir_.file("home");
    int code = 0;
    const std::string out =
        runCommand(quillory + " zipcount " + dir_.file("r.dbf") + " --pdf " + dir_.file("zip.pdf"), &code);
    ASSERT_EQ(code, 0) << out;
    EXPECT_NE(out.find("306 records"), std::string::npos) << out;
    const std::string info = runCommand("pdfinfo " + dir_.file("zip.pdf"));
    EXPECT_NE(info.find("Pages:           2"), std::string::npos) << info;
    for (int page = 1; page <= 2; ++page) {
        const std::string text = runCommand("pdftotext -layout -f " + std::to_string(page) + " -l " +
                                     std::to_string(page) + " " + dir_.file("zip.pdf") + " -");
        EXPECT_NE(text.find("Zip Code Count Report"), std::string::npos) << text;
        EXPECT_NE(text.find("Page " + std::to_string(page)), std::string::npos) << text;
    }
    const std::string all = runCommand("pdftotext -layout " + dir_.file("zip.pdf") + " -");
    for (const char* expected : {"10000", "12345", "K1A 0", "BLANK"})
        EXPECT_NE(all.find(expected), std::string::npos) << expected;

    runCommand(quillory + " zipcount " + dir_.file("r.dbf"), &code);
    EXPECT_EQ(code, 2);
    const std::string missing =
        runCommand(quillory + " zipcount " + dir_.file("r.dbf") + " --printer NoSuchPrinter", &code);
    EXPECT_EQ(code, 1);
    EXPECT_NE(missing.find("NoSuchPrinter"), std::string::npos);
}

}  // namespace
