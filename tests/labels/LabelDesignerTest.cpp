// The label designer driven through its widgets: a new definition made with the mouse
// and keys from the print-labels screen, the zoom steps, and the POSTNET width rules.

#include <gtest/gtest.h>

#include <QAction>
#include <QDate>
#include <QLocale>
#include <QMap>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QSpinBox>
#include <QTest>
#include <QTreeWidget>

#include "AppHome.h"
#include "LabelDefinition.h"
#include "LabelTestSupport.h"
#include "NextDialog.h"
#include "ObjectEdits.h"
#include "TGDataSet.h"
#include "Table.h"
#include "PrinterDevice.h"
#include "Screenshot.h"
#include "ScriptedMessages.h"
#include "SystemTables.h"
#include "TGDMultiLineAddressLabel.h"
#include "TGLabelShapes.h"
#include "TGPanelView.h"
#include "TGPostNetBarCode.h"
#include "TLabelDesignScreen.h"
#include "TLabelSetupScreen.h"
#include "TempDir.h"

namespace {

class LabelDesignerTest : public ::testing::Test {
  protected:
    void SetUp() override {
        PrinterDevice::setPrinterListForTesting(QStringList{"PDF File"});
        home_ = std::make_unique<AppHome>(QString::fromStdString(dir_.path()));
        QString error;
        ASSERT_TRUE(home_->ensureExists(&error)) << error.toStdString();
        ASSERT_TRUE(SystemTables::OpenLabelTable(*home_, &labels_, &error)) << error.toStdString();
        ASSERT_TRUE(makeAddressFile(dir_.file("ADDR.DBF"), {{"Smith", "62701"}, {"Jones", "10001"}}, &table_));
    }
    void TearDown() override { PrinterDevice::setPrinterListForTesting(std::nullopt); }

    // A designer over the 5160 stock (2.625 in wide), or `width` inches wide.
    std::unique_ptr<TLabelDesignScreen> designer(double width = 2.625, bool isNew = false) {
        LabelDefinition def = LabelDefs::NewDefinition();
        def.stock.width = width;
        def.stock.horizPitch = std::max(width, def.stock.horizPitch);
        def.binary = "BIN00001.L";
        return std::make_unique<TLabelDesignScreen>(def, isNew, QString(), *table_, *home_);
    }

    template <typename T>
    int count(TGLabelPanel& panel) {
        int n = 0;
        for (int i = 0; i < panel.ObjectCount(); ++i) n += dynamic_cast<T*>(panel.Object(i)) != nullptr;
        return n;
    }

    TempDir dir_;
    std::unique_ptr<AppHome> home_;
    std::unique_ptr<xbase::Table> labels_, table_;
    ScriptedMessages messages_;
};

}  // namespace

TEST_F(LabelDesignerTest, NewDefinitionIsMadeWithMouseAndKeysAndSaved) {
    TLabelSetupScreen screen(*labels_, *table_, *home_, false);
    screen.show();
    onNextDialog<TLabelDesignScreen>([this](TLabelDesignScreen* d) {
        EXPECT_EQ(d->windowTitle(), "Label Design Screen");
        EXPECT_EQ(d->LayoutLabel->text(), "Avery 5160  Address");
        // The address block is there, less 5 pixels at the top left and 10 at the bottom right.
        TGLabelPanel& panel = d->Panel();
        ASSERT_EQ(panel.ObjectCount(), 1);
        auto* block = dynamic_cast<TGDMultiLineAddressLabel*>(panel.Object(0));
        ASSERT_TRUE(block);
        const float z = panel.Zoom();
        EXPECT_EQ(block->BoundsRect(), QRect(std::lround(5 * z), std::lround(5 * z), std::lround(237 * z),
                                             std::lround(81 * z)));
        EXPECT_TRUE(messages_.texts().join("|").contains("A new label has been created using the Avery 5160"));
        screenshot(d, "TLabelDesignScreen");

        // A rectangle drawn with the rectangle tool; the selection tool comes back.
        d->findChild<QAction*>("Rectangletool")->trigger();
        TGPanelView* view = d->View();
        QTest::mousePress(view, Qt::LeftButton, {}, QPoint(20, 40));
        QTest::mouseMove(view, QPoint(60, 70));
        QTest::mouseRelease(view, Qt::LeftButton, {}, QPoint(60, 70));
        EXPECT_EQ(count<TGLabelShapes>(panel), 1);
        EXPECT_TRUE(d->SelectionTool->isChecked());
        // Keys move the selection: Delete on nothing selected keeps both objects.
        EXPECT_TRUE(d->SaveButton->isVisible());
        d->DescriptionEdit->clear();
        QTest::keyClicks(d->DescriptionEdit, "Party invitations");
        d->SaveButton->click();
    });
    screen.NewButton->click();
    ASSERT_EQ(screen.LabelList->topLevelItemCount(), 1);
    EXPECT_EQ(screen.LabelList->topLevelItem(0)->text(0), "Party invitations");
    const LabelDefinition saved = screen.current();
    EXPECT_EQ(saved.binary, "BIN00001.L");
    TGLabelPanel read;
    ASSERT_TRUE(read.LoadFromFile(home_->sysDataDir() + "/BIN00001.L").ok());
    ASSERT_EQ(read.ObjectCount(), 2);
    EXPECT_EQ(count<TGDMultiLineAddressLabel>(read), 1);
    EXPECT_EQ(count<TGLabelShapes>(read), 1);
}

TEST_F(LabelDesignerTest, ZoomStepsByTenBetweenFiftyAndOneHundredFifty) {
    auto d = designer();
    QStringList up, down;
    for (int i = 0; i < 6; ++i) {
        d->ZoomStep(1);
        up << d->ZoomSpin->text();
    }
    EXPECT_EQ(up, (QStringList{"110%", "120%", "130%", "140%", "150%", "150%"}));
    d->ZoomSpin->setValue(100);
    for (int i = 0; i < 6; ++i) {
        d->ZoomStep(-1);
        down << d->ZoomSpin->text();
    }
    EXPECT_EQ(down, (QStringList{"90%", "80%", "70%", "60%", "50%", "50%"}));
    // Zooming is no change of the layout.
    EXPECT_FALSE(d->SaveButton->isVisibleTo(d.get()));
}

TEST_F(LabelDesignerTest, PostNetNeedsALabelAtLeastTwoPointEightyFiveInchesWide) {
    // On 2.625 in the tool is refused and the selection tool comes back.
    auto narrow = designer(2.625);
    narrow->PostNetTool->trigger();
    EXPECT_TRUE(narrow->SelectionTool->isChecked());
    EXPECT_EQ(narrow->Panel().PanelState(), TLabelPanelState::psPointing);
    EXPECT_TRUE(messages_.texts().join("|").contains("not wide enough for a \rpostnet barcode"));
    narrow->IMBarCodeTool->trigger();
    EXPECT_TRUE(narrow->SelectionTool->isChecked());

    // On 4 in it is taken; two barcodes are drawn; a change to 5160 stock removes one.
    auto wide = designer(4.0);
    messages_.requests.clear();
    for (int y : {10, 50}) {
        wide->PostNetTool->trigger();
        EXPECT_EQ(wide->Panel().PanelState(), TLabelPanelState::psPostNetBarCode);
        QTest::mousePress(wide->View(), Qt::LeftButton, {}, QPoint(10, y));
        QTest::mouseMove(wide->View(), QPoint(300, y + 20));
        QTest::mouseRelease(wide->View(), Qt::LeftButton, {}, QPoint(300, y + 20));
    }
    ASSERT_EQ(count<TGPostNetBarCode>(wide->Panel()), 2);
    LabelStock stock;  // Avery 5160, 2.625 in
    wide->TakeStock(stock);
    EXPECT_EQ(count<TGPostNetBarCode>(wide->Panel()), 1);
    EXPECT_EQ(messages_.texts().filter("postnet barcode").size(), 1);
    EXPECT_EQ(wide->definition().stock.width, 2.625);
    EXPECT_TRUE(wide->SaveButton->isVisibleTo(wide.get()));
}

TEST_F(LabelDesignerTest, StockArtIsDrawnInSilverForShippedNamesOnly) {
    LabelDefinition def = LabelDefs::NewDefinition();
    def.stock.art = "av5160.bmp";
    TLabelDesignScreen shipped(def, false, QString(), *table_, *home_);
    EXPECT_TRUE(shipped.ShowArt->isEnabled());
    EXPECT_TRUE(shipped.ShowArt->isChecked());
    ASSERT_FALSE(shipped.Panel().Picture.isEmpty());
    const QImage art = shipped.Panel().Picture.bitmap();
    bool silver = false, otherColour = false;
    for (int y = 0; y < art.height(); ++y)
        for (int x = 0; x < art.width(); ++x) {
            const QRgb c = art.pixel(x, y);
            silver = silver || c == qRgb(192, 192, 192);
            otherColour = otherColour || (qRed(c) != qGreen(c) || qGreen(c) != qBlue(c) || qRed(c) < 180);
        }
    EXPECT_TRUE(silver);
    EXPECT_FALSE(otherColour);
    shipped.ShowArt->setChecked(false);
    EXPECT_TRUE(shipped.Panel().Picture.isEmpty());

    def.stock.art = "AV9999.BMP";  // no such picture: an empty background
    TLabelDesignScreen unknown(def, false, QString(), *table_, *home_);
    EXPECT_TRUE(unknown.ShowArt->isEnabled());
    EXPECT_TRUE(unknown.Panel().Picture.isEmpty());
    def.stock.art.clear();
    TLabelDesignScreen none(def, false, QString(), *table_, *home_);
    EXPECT_FALSE(none.ShowArt->isEnabled());
}

TEST_F(LabelDesignerTest, DataFieldsOfferTheCalculatedFieldsAndTheRecordsDate) {
    auto d = designer(4.0);
    const TGDataSet* data = d->Panel().DataSet();
    ASSERT_TRUE(data);
    QStringList labels;
    for (const layout::OfferedField& f : layout::OfferedFields(data, false)) labels << f.label;
    for (const char* label : {"Date", "Full Name", "Full Name & Prefix", "City, State & Zip"})
        EXPECT_TRUE(labels.contains(label)) << label << " not in " << labels.join(", ").toStdString();
    // Their values come from the current record (Smith, 62701, no date).
    QMap<QString, QString> values;
    for (int i = 0; i < data->FieldCount(); ++i) values[data->FieldName(i)] = data->Text(i);
    EXPECT_EQ(values["FullName"], " Smith");
    EXPECT_EQ(values["CityStateZip"], "62701");
    EXPECT_EQ(values["DisplayDate"], "");
    ASSERT_TRUE(table_->replace(table_->fieldIndex("DATE"), "20240315").ok());
    EXPECT_EQ(data->Text(data->FieldCount() - 4), QDate(2024, 3, 15).toString(QLocale::system().dateFormat(QLocale::ShortFormat)));
}
