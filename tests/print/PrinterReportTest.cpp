// The printer output and the printer device under a running job: "PDF File" read back
// with poppler, and the setup a job keeps from changing.

#include <gtest/gtest.h>

#include <QFile>
#include <QPrinter>

#include "PrinterDevice.h"
#include "RunQuillory.h"
#include "TReportFiler.h"
#include "TReportPrinter.h"
#include "TempDir.h"

namespace {

class PrinterReportTest : public ::testing::Test {
  protected:
    void SetUp() override {
        PrinterDevice::setPrinterListForTesting(std::nullopt);
    }
    void TearDown() override { PrinterDevice::setPrinterListForTesting(std::nullopt); }
};

TEST_F(PrinterReportTest, TheProcessDeviceRefusesSetupWhileAJobRuns) {
    PageStream stream;
    TReportFiler filer(PrinterDevice::forReport(nullptr));
    filer.setStream(&stream);
    PrinterDevice& device = PrinterDevice::instance();
    filer.OnPrint = [&](TBaseReport& r) {
        EXPECT_TRUE(device.busy());
        EXPECT_FALSE(device.setOrientation(QPageLayout::Landscape));
        EXPECT_FALSE(device.setPrinterIndex(0));
        EXPECT_FALSE(device.selectPaper("A4"));
        EXPECT_FALSE(device.setCopies(2));
        EXPECT_EQ(device.lastError(), "Invalid method call.  ReportPrinter already printing.");
        EXPECT_TRUE(r.rectangle(0, 0, 1, 1));  // the job itself goes on
    };
    EXPECT_TRUE(filer.execute());
    EXPECT_FALSE(device.busy());
    EXPECT_TRUE(device.setOrientation(QPageLayout::Portrait));
    // The preview is laid out for the device's sheet.
    ASSERT_EQ(stream.pages.size(), 1u);
    EXPECT_NEAR(stream.pages[0].size.width(), device.pageWidth(), 1e-9);
}

TEST_F(PrinterReportTest, PrintsToAPdfThatPopplerReads) {
    TempDir dir;
    PrinterDevice& device = PrinterDevice::instance();
    ASSERT_TRUE(device.setPrinterIndex(int(device.printers().indexOf("PDF File"))));
    device.setPdfFileName(QString::fromStdString(dir.file("out.pdf")));
    TReportPrinter printer(&device);
    printer.Title = "Quillory";
    printer.OnPrint = [](TBaseReport& r) {
        for (int page = 1; page <= 3; ++page) {
            if (page > 1) r.newPage();
            r.printXY(1, 1, QString("Hello page %1").arg(page));
            r.rectangle(1, 2, 3, 3);
        }
    };
    ASSERT_TRUE(printer.execute()) << printer.lastError().toStdString();
    EXPECT_EQ(printer.pagesPrinted(), 3);
    const std::string info = runCommand("pdfinfo " + dir.file("out.pdf"));
    EXPECT_NE(info.find("Pages:           3"), std::string::npos) << info;
    EXPECT_NE(info.find("612 x 792"), std::string::npos) << info;
    const std::string text = runCommand("pdftotext -layout " + dir.file("out.pdf") + " -");
    EXPECT_NE(text.find("Hello page 1"), std::string::npos);
    EXPECT_NE(text.find("Hello page 3"), std::string::npos);
    // The text's baseline sits one inch from the top: poppler's bounding box ends there.
    const std::string boxes = runCommand("pdftotext -bbox -f 1 -l 1 " + dir.file("out.pdf") + " -");
    const size_t word = boxes.find(">Hello<");
    ASSERT_NE(word, std::string::npos) << boxes;
    const size_t xMin = boxes.rfind("xMin=\"", word);
    EXPECT_NEAR(std::stod(boxes.substr(xMin + 6)), 72.0, 1.0);

    // The sheet is the one the device is set up for, turned by the job's orientation.
    const struct {
        QPageLayout::Orientation device;
        std::optional<QPageLayout::Orientation> job;
        const char* size;
    } sheets[] = {
        {QPageLayout::Landscape, std::nullopt, "842 x 595"},
        {QPageLayout::Landscape, QPageLayout::Portrait, "595 x 842"},
    };
    ASSERT_TRUE(device.setPaperSize(9));
    for (const auto& s : sheets) {
        ASSERT_TRUE(device.setOrientation(s.device));
        TReportPrinter a4(&device);
        ASSERT_TRUE(a4.setOrientation(s.job));
        a4.OnPrint = [](TBaseReport& r) { r.printXY(1, 1, "A4"); };
        ASSERT_TRUE(a4.execute()) << a4.lastError().toStdString();
        const std::string sheet = runCommand("pdfinfo " + dir.file("out.pdf"));
        EXPECT_NE(sheet.find(s.size), std::string::npos) << s.size << "\n" << sheet;
        EXPECT_EQ(device.printer()->pageLayout().orientation(), s.device);  // the job gives it back
    }

    // An aborted job leaves no file behind.
    TReportPrinter aborted(&device);
    aborted.OnPrint = [](TBaseReport& r) {
        r.printXY(1, 1, "never");
        r.abort();
    };
    EXPECT_FALSE(aborted.execute());
    EXPECT_FALSE(QFile::exists(QString::fromStdString(dir.file("out.pdf"))));
}

TEST_F(PrinterReportTest, AJobThatCannotStartLeavesTheDeviceAsItWas) {
    TempDir dir;
    PrinterDevice& device = PrinterDevice::instance();
    ASSERT_TRUE(device.setPrinterIndex(int(device.printers().indexOf("PDF File"))));
    ASSERT_TRUE(device.setOrientation(QPageLayout::Portrait));
    const QString path = QString::fromStdString(dir.file("none/out.pdf"));
    device.setPdfFileName(path);
    TReportPrinter landscape(&device);
    ASSERT_TRUE(landscape.setOrientation(QPageLayout::Landscape));
    EXPECT_FALSE(landscape.execute());
    EXPECT_EQ(landscape.lastError(), "Unable to print to " + path);
    EXPECT_FALSE(device.busy());
    // The next preview is laid out for the device's own sheet, not the failed job's.
    EXPECT_EQ(device.printer()->pageLayout().orientation(), QPageLayout::Portrait);
    EXPECT_NEAR(device.pageWidth(), 8.5, 1e-6);
}

}  // namespace
