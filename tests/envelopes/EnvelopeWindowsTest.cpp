// The envelope windows driven through their widgets: the print-envelope screen's list,
// Clone and Delete, the size chooser's preselection, the feed dialog and the pre-print
// dialog's warning.

#include <gtest/gtest.h>

#include <QCheckBox>
#include <QFile>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QPushButton>
#include <QRadioButton>
#include <QTest>
#include <QSpinBox>
#include <QTreeWidget>

#include "AppHome.h"
#include "EnvelopeDialogs.h"
#include "LabelTestSupport.h"
#include "PrinterDevice.h"
#include "Screenshot.h"
#include "ScriptedMessages.h"
#include "SystemTables.h"
#include "NextDialog.h"
#include "TEnvelopeDesignScreen.h"
#include "TGDMultiLineAddressLabel.h"
#include "TGFIMBarCode.h"
#include "TGPanelView.h"
#include "TPreviewWindow.h"
#include "TPrintStatus.h"
#include "TQYEnvelopes.h"
#include "TempDir.h"

namespace {

class EnvelopeWindowsTest : public ::testing::Test {
  protected:
    void SetUp() override {
        PrinterDevice::setPrinterListForTesting(QStringList{"PDF File"});
        home_ = std::make_unique<AppHome>(QString::fromStdString(dir_.path()));
        QString error;
        ASSERT_TRUE(home_->ensureExists(&error)) << error.toStdString();
        ASSERT_TRUE(SystemTables::OpenEnvelopeTable(*home_, &envelopes_, &error)) << error.toStdString();
        Envelope::Definition office{"Office", 20, "BIN00001.E"};
        ASSERT_TRUE(envelopes_->appendBlank().ok());
        ASSERT_TRUE(Envelope::WriteDefinition(*envelopes_, office, &error));
        ASSERT_TRUE(envelopes_->commit().ok());
        QFile layout(home_->sysDataDir() + "/BIN00001.E");
        ASSERT_TRUE(layout.open(QIODevice::WriteOnly));
        layout.write(handlayout::list(handlayout::fieldObject("Last Name", 10, 10)));
        layout.close();
        ASSERT_TRUE(makeAddressFile(dir_.file("ADDR.DBF"), {{"Smith", "62701"}, {"Jones", "10001"}}, &table_));
    }
    void TearDown() override { PrinterDevice::setPrinterListForTesting(std::nullopt); }

    TempDir dir_;
    std::unique_ptr<AppHome> home_;
    std::unique_ptr<xbase::Table> envelopes_, table_;
    ScriptedMessages messages_;
};

}  // namespace

TEST_F(EnvelopeWindowsTest, ScreenListsClonesAndDeletes) {
    TQYEnvelopes screen(*envelopes_, *table_, *home_, false);
    screen.show();
    ASSERT_TRUE(QTest::qWaitForWindowExposed(&screen));
    EXPECT_EQ(screen.windowTitle(), "Print Envelope");
    ASSERT_EQ(screen.EnvelopeList->topLevelItemCount(), 1);
    EXPECT_EQ(screen.EnvelopeList->topLevelItem(0)->text(1), "Envelope #10 4 1/8 x 9 1/2 inches");
    EXPECT_TRUE(screen.CurrentRecord->isChecked());
    EXPECT_FALSE(screen.FilterRecords->isEnabled());
    EXPECT_EQ(screen.LastEdit->text(), "Smith");
    screenshot(&screen, "TQYEnvelopes");

    messages_.answers = {true};
    screen.CloneButton->click();
    EXPECT_TRUE(messages_.wasAsked("Clone \"Office\"?"));
    ASSERT_EQ(screen.EnvelopeList->topLevelItemCount(), 2);
    const Envelope::Definition clone = screen.current();
    EXPECT_EQ(clone.description.trimmed(), "Clone of Office");
    EXPECT_EQ(clone.code, 20);
    EXPECT_EQ(clone.binary, "BIN00002.E");
    EXPECT_TRUE(QFile::exists(home_->sysDataDir() + "/BIN00002.E"));

    messages_.answers = {true};
    screen.DeleteButton->click();
    EXPECT_TRUE(messages_.wasAsked("Delete \"Clone of Office\"?"));
    ASSERT_EQ(screen.EnvelopeList->topLevelItemCount(), 1);
    EXPECT_FALSE(QFile::exists(home_->sysDataDir() + "/BIN00002.E"));
    EXPECT_TRUE(QFile::exists(home_->sysDataDir() + "/BIN00001.E"));
}

TEST_F(EnvelopeWindowsTest, APreviewTellsOfAnAddressCutByItsBlockAndWaitsForOk) {
    // A block four lines high, as one fitted to a four-line record was; Jones has six.
    QFile layout(home_->sysDataDir() + "/BIN00001.E");
    ASSERT_TRUE(layout.open(QIODevice::WriteOnly));
    layout.write(handlayout::list(handlayout::addressObject(20, 20, 300, 60)));
    layout.close();
    ASSERT_TRUE(table_->go(2).ok());
    for (const auto& [field, value] : std::vector<std::pair<const char*, std::string>>{
             {"TITLE", "Director"}, {"ORG", "Acme Ltd"}, {"STREET", "12 Elm St"}, {"STREET2", "Suite 400"},
             {"CITY", "Dover"}})
        ASSERT_TRUE(table_->replace(table_->fieldIndex(field), value).ok());
    ASSERT_TRUE(table_->commit().ok());
    ASSERT_TRUE(table_->goTop().ok());

    TQYEnvelopes screen(*envelopes_, *table_, *home_, false);
    screen.show();
    ASSERT_TRUE(QTest::qWaitForWindowExposed(&screen));
    screen.AllRecords->click();
    QString status;
    int pages = 0;
    onNextDialog<TEnvelopePrePrint>([](TEnvelopePrePrint* d) {
        for (QPushButton* b : d->findChildren<QPushButton*>())
            if (b->text() == "Ok") QTest::mouseClick(b, Qt::LeftButton);
    });
    // The envelope status window closes by itself after a preview, but not with this to tell.
    onNextDialog<TPrintStatus>([](TPrintStatus* w) { return w->CancelButton->text() == "Ok"; },
                               [&](TPrintStatus* w) {
                                   status = w->StatusLabel->text();
                                   screenshot(w, "TPrintStatus-cut-address");
                                   onNextDialog<TPreviewWindow>([&](TPreviewWindow* p) {
                                       pages = p->pageCount();
                                       screenshot(p, "TPreviewWindow-envelope");
                                       p->close();
                                   });
                                   QTest::mouseClick(w->CancelButton, Qt::LeftButton);
                               });
    QTest::mouseClick(screen.PreviewButton, Qt::LeftButton);
    EXPECT_TRUE(status.contains("1 address did not fit its address block and was cut (record 2)"))
        << status.toStdString();
    EXPECT_EQ(pages, 2);
}

TEST_F(EnvelopeWindowsTest, SizeChooserPreselectsTheCode) {
    TChooseEnvelopeLayout nine(19);
    EXPECT_EQ(nine.windowTitle(), "Envelope Size");
    EXPECT_EQ(nine.SizeList->currentItem()->text(), "Envelope #9 3 7/8 x 8 7/8 inches");
    TChooseEnvelopeLayout unknown(1);
    EXPECT_EQ(unknown.SizeList->currentRow(), 0);
    const auto monarch = unknown.SizeList->findItems("Envelope Monarch 3 7/8 x 7 1/2 inches", Qt::MatchExactly);
    ASSERT_EQ(monarch.size(), 1);
    unknown.SizeList->setCurrentItem(monarch.first());
    EXPECT_EQ(unknown.code(), 37);
    unknown.SizeList->setCurrentRow(-1);
    EXPECT_EQ(unknown.code(), 1);  // nothing selected: the code it came with
    screenshot(&nine, "TChooseEnvelopeLayout");
}

TEST_F(EnvelopeWindowsTest, FeedDialogShowsClockwiseForLandscapeOnly) {
    Envelope::Feed feed;  // landscape, face down, centred
    TEnvelopeFeed dialog(feed);
    dialog.show();
    EXPECT_EQ(dialog.windowTitle(), "Paper Feed Method");
    EXPECT_TRUE(dialog.LandscapeButton->isChecked() && dialog.DownButton->isChecked() &&
                dialog.CenterButton->isChecked());
    EXPECT_TRUE(dialog.ClockwiseBox->isVisible());
    screenshot(&dialog, "TEnvelopeFeed");
    dialog.ClockwiseBox->setChecked(true);
    dialog.PortraitButton->click();
    EXPECT_FALSE(dialog.ClockwiseBox->isVisible());
    dialog.LeftButton->click();
    dialog.UpButton->click();
    const Envelope::Feed chosen = dialog.feed();
    EXPECT_EQ(chosen.orientation, 0);
    EXPECT_FALSE(chosen.clockwise);  // turning is for landscape feeds only
    EXPECT_EQ(chosen.position, Envelope::Feed::Left);
    EXPECT_FALSE(chosen.faceDown);
}

TEST_F(EnvelopeWindowsTest, PrePrintWarnsWhenThePaperIsNotTheEnvelope) {
    PrinterDevice& device = PrinterDevice::instance();
    ASSERT_TRUE(device.setPrinterIndex(0));
    (void)device.setPaperSize(1);  // Letter
    (void)device.setOrientation(QPageLayout::Portrait);
    TEnvelopePrePrint letter(device, Envelope::SizeOf(20), Envelope::Feed(), QPointF(0.02, 0));
    letter.show();
    EXPECT_EQ(letter.windowTitle(), "Envelope Print");
    EXPECT_EQ(letter.PrinterLabel->text(), "PDF File");
    EXPECT_EQ(letter.OrientationLabel->text(), "Portrait");
    EXPECT_TRUE(letter.WarningLabel->isVisible());
    EXPECT_TRUE(letter.WarningLabel->text().startsWith("WARNING: Printer PAPER SIZE and ORIENTATION"));
    EXPECT_EQ(letter.FeedLabel->text(), "Position: Center\nOrientation : Landscape\nFacing Down");
    EXPECT_DOUBLE_EQ(letter.calibration().x(), 0.02);
    screenshot(&letter, "TEnvelopePrePrint");

    (void)device.setPaperSize(0, 9.5, 4.125);  // the envelope itself
    TEnvelopePrePrint own(device, Envelope::SizeOf(20), Envelope::Feed(), QPointF());
    own.show();
    EXPECT_FALSE(own.WarningLabel->isVisible());
}

namespace {

// Draws with the armed tool from `from` to `to` on the view.
void drag(QWidget* view, QPoint from, QPoint to) {
    QTest::mousePress(view, Qt::LeftButton, {}, from);
    QTest::mouseMove(view, to);
    QTest::mouseRelease(view, Qt::LeftButton, {}, to);
}

template <typename T>
int count(TGBasePanel& panel) {
    int n = 0;
    for (int i = 0; i < panel.ObjectCount(); ++i) n += dynamic_cast<T*>(panel.Object(i)) != nullptr;
    return n;
}

}  // namespace

TEST_F(EnvelopeWindowsTest, NewEnvelopeGetsAFimAndAnAddressBlockWithTheMouse) {
    TQYEnvelopes screen(*envelopes_, *table_, *home_, false);
    screen.show();
    onNextDialog<TChooseEnvelopeLayout>([](TChooseEnvelopeLayout* choose) {
        choose->SizeList->setCurrentRow(14);  // Monarch
        choose->findChild<QPushButton*>("OkButton")->click();
        onNextDialog<TEnvelopeDesignScreen>([](TEnvelopeDesignScreen* d) {
            EXPECT_EQ(d->windowTitle(), "Envelope Design Screen");
            EXPECT_EQ(d->DescriptionEdit->text(), "<New envelope>");
            EXPECT_EQ(d->LayoutLabel->text(), "Envelope Monarch 3 7/8 x 7 1/2 inches");
            screenshot(d, "TEnvelopeDesignScreen");
            d->findChild<QAction*>("FIMBarcodetool")->trigger();
            drag(d->View(), QPoint(300, 5), QPoint(340, 60));
            EXPECT_TRUE(d->SelectionTool->isChecked());
            d->findChild<QAction*>("DatabaseMailingAddresstool")->trigger();
            drag(d->View(), QPoint(200, 150), QPoint(500, 250));
            EXPECT_EQ(count<TGFIMBarCode>(d->Panel()), 1);
            EXPECT_EQ(count<TGDMultiLineAddressLabel>(d->Panel()), 1);
            d->ShowTemplate->trigger();
            EXPECT_TRUE(d->Panel().ShowTemplate);
            d->DescriptionEdit->clear();
            QTest::keyClicks(d->DescriptionEdit, "Invoices");
            ASSERT_TRUE(d->SaveButton->isVisible());
            d->SaveButton->click();
        });
    });
    screen.NewButton->click();
    ASSERT_EQ(screen.EnvelopeList->topLevelItemCount(), 2);
    const Envelope::Definition saved = screen.current();
    EXPECT_EQ(saved.description.trimmed(), "Invoices");
    EXPECT_EQ(saved.code, 37);
    EXPECT_EQ(saved.binary, "BIN00002.E");
    TEnvelopePanel read;
    ASSERT_TRUE(read.LoadFromFile(home_->sysDataDir() + "/BIN00002.E").ok());
    EXPECT_EQ(count<TGFIMBarCode>(read), 1);
    EXPECT_EQ(count<TGDMultiLineAddressLabel>(read), 1);
}

TEST_F(EnvelopeWindowsTest, DesignerZoomsFromSixtyToOneFortyAndChangesSize) {
    PrinterDevice& device = PrinterDevice::instance();
    ASSERT_TRUE(device.setPrinterIndex(0));
    TEnvelopeDesignScreen d(Envelope::Definition{"Office", 20, "BIN00001.E"},
                            home_->sysDataDir() + "/BIN00001.E", *table_, *home_, device);
    ASSERT_EQ(d.Panel().ObjectCount(), 1);
    QStringList up, down;
    for (int i = 0; i < 5; ++i) {
        d.ZoomStep(1);
        up << d.ZoomSpin->text();
    }
    EXPECT_EQ(up, (QStringList{"110%", "120%", "130%", "140%", "140%"}));
    d.ZoomSpin->setValue(100);
    for (int i = 0; i < 5; ++i) {
        d.ZoomStep(-1);
        down << d.ZoomSpin->text();
    }
    EXPECT_EQ(down, (QStringList{"90%", "80%", "70%", "60%", "60%"}));
    EXPECT_FALSE(d.SaveButton->isVisibleTo(&d));

    d.ZoomSpin->setValue(100);
    d.TakeSize(37);  // Monarch
    const float z = d.Panel().Zoom();
    EXPECT_EQ(d.Panel().Width(), int(std::lround(std::lround(7.5 * 96) * z)));
    EXPECT_EQ(d.Panel().Height(), int(std::lround(std::lround(3.875 * 96) * z)));
    EXPECT_EQ(d.definition().code, 37);
    EXPECT_TRUE(d.SaveButton->isVisibleTo(&d));
}
