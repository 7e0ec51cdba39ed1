// The printer device as the print screens leave it: the envelope screen sets envelope
// paper and landscape on the device while it is open, and once it has closed the next
// job starts from the printer's own paper and orientation again.

#include <QTest>

#include "Person.h"
#include "PrinterDevice.h"
#include "TPrintCurrentRecord.h"
#include "TQYEnvelopes.h"

namespace person {
namespace {

// The envelope screen remembers envelope paper in landscape; the only printer is the
// built-in PDF printer, whose own paper is Letter, portrait.
class PrinterDeviceTest : public PersonTest {
  protected:
    void SetUp() override {
        PrinterDevice::setPrinterListForTesting(QStringList{PrinterDevice::kPdfPrinter});
        PersonTest::SetUp();
    }
    void TearDown() override {
        PersonTest::TearDown();
        PrinterDevice::setPrinterListForTesting(std::nullopt);
    }
    QByteArray settings() const override {
        return "[Misc]\nGettingStarted=1\n[Envelope Printer]\nPaper=Envelope\nOrientation=1\n";
    }
};

constexpr int kLetter = 1;
constexpr int kEnvelope10 = 20;

TEST_F(PrinterDeviceTest, TheNextJobAfterTheEnvelopeScreenGetsThePrintersOwnPaper) {
    bool envelopeSet = false;
    whenActive<TQYEnvelopes>([&](TQYEnvelopes*) {
        const PrinterDevice& device = PrinterDevice::instance();
        envelopeSet = device.paperCode() == kEnvelope10 && device.orientation() == QPageLayout::Landscape;
        press(Qt::Key_Escape);
    });
    chooseMenu(&main(), "Print/Print Envelopes");
    settle();
    ASSERT_TRUE(envelopeSet) << "the envelope screen did not set its paper";

    int paper = 0;
    QPageLayout::Orientation orientation = QPageLayout::Landscape;
    QString printer;
    whenActive<TPrintCurrentRecord>([&](TPrintCurrentRecord*) {
        const PrinterDevice& device = PrinterDevice::instance();
        paper = device.paperCode();
        orientation = device.orientation();
        printer = device.printerName();
        press(Qt::Key_Escape);
    });
    chooseMenu(&main(), "Print/Print Current Record");
    settle();
    EXPECT_EQ(paper, kLetter);
    EXPECT_EQ(orientation, QPageLayout::Portrait);
    EXPECT_EQ(printer, PrinterDevice::kPdfPrinter);
}

}  // namespace
}  // namespace person
