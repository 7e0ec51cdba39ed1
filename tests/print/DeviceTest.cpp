// The printer device, the printer check and the status line's codes.

#include <gtest/gtest.h>

#include <QPrinter>

#include "CheckPrinters.h"
#include "PrinterDevice.h"
#include "StatusFormat.h"

namespace {

TEST(StatusFormatTest, ReplacesEveryCode) {
    StatusContext c;
    c.page = 7;
    c.firstPage = 2;
    c.lastPage = 9;
    c.device = "Dev";
    c.driver = "Drv";
    c.port = "Prt";
    c.statusText = QStringList{"zero", "one"};
    const struct {
        const char* format;
        const char* expected;
    } cases[] = {
        {"Printing Page %p\r%0\r%1", "Printing Page 7\rzero\rone"},
        {"%P %p", "7 7"},
        {"%%p is %p", "%p is 7"},
        {"%d %R %t", "Dev Drv Prt"},
        {"%F-%l", "2-9"},
        {"[%2][%9]", "[][]"},
        {"%x and %?", "<ERROR-%x> and <ERROR-%?>"},
        {"%p%", "7%"},
        {"%", "%"},
        {"no codes", "no codes"},
        {"", ""},
    };
    for (const auto& k : cases) EXPECT_EQ(FormatStatus(k.format, c), k.expected) << k.format;
}

class DeviceTest : public ::testing::Test {
  protected:
    void SetUp() override { PrinterDevice::setPrinterListForTesting(std::nullopt); }
    void TearDown() override { PrinterDevice::setPrinterListForTesting(std::nullopt); }
    PrinterDevice& pdf() {
        PrinterDevice& d = PrinterDevice::instance();
        EXPECT_TRUE(d.setPrinterIndex(int(d.printers().indexOf("PDF File"))));
        return d;
    }
};

TEST_F(DeviceTest, PdfFileIsAlwaysListedLast) {
    PrinterDevice& d = PrinterDevice::instance();
    ASSERT_FALSE(d.printers().isEmpty());
    EXPECT_EQ(d.printers().last(), "PDF File");
    EXPECT_GE(d.printerIndex(), 0);  // made on first use with the default printer
    const int index = d.printerIndex();
    EXPECT_TRUE(d.setPrinterIndex(-5));  // ignored
    EXPECT_EQ(d.printerIndex(), index);
    EXPECT_FALSE(d.setPrinterIndex(d.printers().size()));
}

TEST_F(DeviceTest, CheckPrintersGivesBothMessages) {
    QString message;
    EXPECT_TRUE(CheckPrinters(PrinterDevice::instance(), &message));

    PrinterDevice::setPrinterListForTesting(QStringList());
    EXPECT_FALSE(CheckPrinters(PrinterDevice::instance(), &message));
    EXPECT_EQ(message, "There are no installed printers.\r\nUnable to perform printer related operations");
    EXPECT_EQ(PrinterDevice::instance().printerIndex(), -1);
    EXPECT_DOUBLE_EQ(PrinterDevice::instance().metrics().dpiX, 96);

    // A printer that is listed but cannot be opened.
    PrinterDevice::setPrinterListForTesting(QStringList{"Vanished Printer"});
    EXPECT_FALSE(CheckPrinters(PrinterDevice::instance(), &message));
    EXPECT_EQ(message,
              "There is no default printer selected.\r\nUnable to perform printer related operations");
    EXPECT_FALSE(PrinterDevice::instance().selectPaper("Letter"));
    EXPECT_EQ(PrinterDevice::instance().lastError(), "Invalid operation.  Device has no DevMode structure");
}

TEST_F(DeviceTest, PaperSizeByCodeAndCustomSizeInTenthsOfAMillimetre) {
    PrinterDevice& d = pdf();
    const struct {
        int code;
        double width, height;
    } cases[] = {{1, 8.5, 11}, {9, 8.27, 11.69}, {11, 5.83, 8.27}};
    for (const auto& c : cases) {
        ASSERT_TRUE(d.setPaperSize(c.code));
        EXPECT_NEAR(d.pageWidth(), c.width, 0.01) << c.code;
        EXPECT_NEAR(d.pageHeight(), c.height, 0.01) << c.code;
        EXPECT_EQ(d.papers()[size_t(d.paperIndex())].code, c.code);
    }
    ASSERT_TRUE(d.setPaperSize(0, 4.125, 9.5));
    EXPECT_EQ(d.customWidth(), 1048);
    EXPECT_EQ(d.customHeight(), 2413);
    EXPECT_NEAR(d.pageWidth(), 4.126, 0.002);
    EXPECT_EQ(d.paperIndex(), -1);

    ASSERT_TRUE(d.setOrientation(QPageLayout::Landscape));
    EXPECT_NEAR(d.pageWidth(), 9.5, 0.002);
    EXPECT_EQ(d.printer()->pageLayout().orientation(), QPageLayout::Landscape);
    // "PDF File" prints to the edge of the sheet.
    EXPECT_EQ(d.leftOffset(), 0);
    EXPECT_EQ(d.topOffset(), 0);
    EXPECT_EQ(d.rightOffset(), 0);
    EXPECT_EQ(d.bottomOffset(), 0);
}

TEST_F(DeviceTest, SelectsPapersAndSourcesByNameOrPart) {
    PrinterDevice& d = pdf();
    EXPECT_FALSE(d.selectPaper("a4"));  // exact means exact
    EXPECT_TRUE(d.selectPaper("a4", true));
    EXPECT_EQ(d.paperCode(), 9);
    const PrinterDevice::Entry letter = d.papers().front();
    EXPECT_TRUE(d.selectPaper(letter.name));
    EXPECT_EQ(d.paperCode(), letter.code);
    EXPECT_EQ(d.paperCode(), 1);
    EXPECT_FALSE(d.selectPaper("Papyrus", true));
    EXPECT_EQ(d.paperCode(), 1);

    ASSERT_FALSE(d.paperSources().empty());
    EXPECT_TRUE(d.selectPaperSource("automatic", true));
    EXPECT_EQ(d.paperSourceIndex(), 0);
    EXPECT_EQ(d.binCode(), 7);
    EXPECT_FALSE(d.selectPaperSource("Tray 9"));
}

TEST_F(DeviceTest, DiscardStartsAgainFromTheDefaultPrinter) {
    PrinterDevice& d = pdf();
    ASSERT_TRUE(d.setPaperSize(9));
    PrinterDevice::discard();
    PrinterDevice& fresh = PrinterDevice::instance();
    EXPECT_EQ(fresh.printerName(), fresh.printers().value(fresh.printerIndex()));
    if (fresh.isPdf()) {
        EXPECT_EQ(fresh.paperCode(), 1);
    }
}

}  // namespace
