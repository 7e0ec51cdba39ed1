// The stock windows driven through their widgets: the stock editor's units and checks,
// the template picker's preselection, filters and search over the shipped catalogue,
// and the choice between the two.

#include <gtest/gtest.h>

#include <QApplication>
#include <QCheckBox>
#include <QComboBox>
#include <QLineEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QSpinBox>
#include <QTableWidget>
#include <QTest>

#include "AppHome.h"
#include "LabelDefinition.h"
#include "NextDialog.h"
#include "Screenshot.h"
#include "ScriptedMessages.h"
#include "SystemTables.h"
#include "TChooseLabelLayout.h"
#include "TLabelEdit.h"
#include "TSelectLabel.h"
#include "Table.h"
#include "TempDir.h"

namespace {

void retype(QLineEdit* edit, const QString& text) {
    edit->setFocus();
    edit->selectAll();
    QTest::keyClicks(edit, text);
    emit edit->editingFinished();  // as when the user leaves the box
}

class LabelStockWindowsTest : public ::testing::Test {
  protected:
    void SetUp() override {
        home_ = std::make_unique<AppHome>(QString::fromStdString(dir_.path()));
        QString error;
        ASSERT_TRUE(home_->ensureExists(&error)) << error.toStdString();
        ASSERT_TRUE(SystemTables::OpenLabelStockTable(*home_, &templates_, &error)) << error.toStdString();
    }

    TempDir dir_;
    std::unique_ptr<AppHome> home_;
    std::unique_ptr<xbase::Table> templates_;
    ScriptedMessages messages_;
};

}  // namespace

QPushButton* okOf(QDialog& dialog) { return dialog.findChild<QPushButton*>("OkButton"); }

TEST_F(LabelStockWindowsTest, StockEditorTypesMillimetresAndStoresInchesOfThreeDecimals) {
    LabelStock stock;  // 5160: 1 x 2.625 in, margins 0.5 and 0.188 in
    TLabelEdit edit(stock);
    edit.show();
    EXPECT_EQ(edit.windowTitle(), "User Defined Label Layout");
    EXPECT_EQ(edit.WidthEdit->text(), "2.625");
    EXPECT_EQ(edit.PaperList->currentIndex(), -1);
    screenshot(&edit, "TLabelEdit");
    edit.UseMillimeters->click();
    EXPECT_EQ(edit.WidthEdit->text(), "67");
    EXPECT_EQ(edit.LeftMarginEdit->text(), "5");  // 4.775 mm, shown whole
    retype(edit.HeightEdit, "25");
    retype(edit.WidthEdit, "67");
    okOf(edit)->click();
    ASSERT_EQ(edit.result(), QDialog::Accepted);
    EXPECT_DOUBLE_EQ(edit.stock().height, 0.984);
    EXPECT_DOUBLE_EQ(edit.stock().width, 2.638);
    // Lengths not typed keep their inches through the round trip, not the whole millimetres shown.
    EXPECT_DOUBLE_EQ(edit.stock().leftMargin, 0.188);
    EXPECT_DOUBLE_EQ(edit.stock().horizPitch, 2.765);
    EXPECT_EQ(edit.stock().paperSize, "LTR");  // no paper chosen: the code stays
    EXPECT_TRUE(messages_.texts().isEmpty());
}

TEST_F(LabelStockWindowsTest, StockEditorRaisesPitchFillsPaperAndRefusesBadStockInOrder) {
    LabelStock stock;
    TLabelEdit edit(stock);
    edit.show();
    // Leaving a width wider than its pitch raises the pitch.
    retype(edit.WidthEdit, "3");
    EXPECT_EQ(edit.HorizPitchEdit->text(), "3");
    // A standard paper fills the sheet in the current unit; "Other" leaves it.
    edit.UseMillimeters->click();
    edit.PaperList->setCurrentIndex(2);
    emit edit.PaperList->activated(2);  // A4
    EXPECT_EQ(edit.PaperWidthEdit->text(), "210");
    EXPECT_EQ(edit.PaperHeightEdit->text(), "297");
    edit.PaperList->setCurrentIndex(5);
    emit edit.PaperList->activated(5);
    EXPECT_EQ(edit.PaperWidthEdit->text(), "210");
    edit.UseInches->click();
    EXPECT_EQ(edit.PaperWidthEdit->text(), "8.27");

    // Two checks fail: the first in order is shown and the dialog stays open.
    retype(edit.HeightEdit, "0.2");
    retype(edit.PaperHeightEdit, "0.1");
    okOf(edit)->click();
    EXPECT_TRUE(edit.isVisible());
    ASSERT_EQ(messages_.texts().size(), 1);
    EXPECT_TRUE(messages_.texts().first().endsWith("Label Height must be at least .3 inches (or 7mm)"))
        << messages_.texts().first().toStdString();
    // One across: a pitch below the width is accepted.
    retype(edit.HeightEdit, "1");
    retype(edit.PaperHeightEdit, "11");
    edit.AcrossSpin->setValue(1);
    retype(edit.HorizPitchEdit, "1");
    okOf(edit)->click();
    EXPECT_EQ(edit.result(), QDialog::Accepted);
    EXPECT_EQ(edit.stock().paperSize, "USERP");
    EXPECT_DOUBLE_EQ(edit.stock().sheetWidth, 8.27);
}

TEST_F(LabelStockWindowsTest, TemplatePickerPreselectsFiltersAndSearches) {
    LabelStock stock;  // from "Avery 5160  Address", laser
    TSelectLabel pick(*templates_, stock);
    pick.show();
    EXPECT_EQ(pick.windowTitle(), "Select Label Template");
    EXPECT_EQ(pick.MakerList->currentText(), "Avery Laserjet");
    EXPECT_EQ(pick.ProductList->currentText(), "Address/Shipping Labels");
    ASSERT_FALSE(pick.Grid->selectedItems().isEmpty());
    EXPECT_EQ(pick.Grid->selectedItems().first()->text(), "Avery 5160  Address");
    EXPECT_EQ(pick.AcrossEdit->text(), "3");
    screenshot(&pick, "TSelectLabel");

    // The search narrows by every word, in any case and order.
    QTest::keyClicks(pick.SearchEdit, "5160");
    EXPECT_EQ(pick.shownDescriptions(), QStringList{"Avery 5160  Address"});
    pick.SearchEdit->clear();
    QTest::keyClicks(pick.SearchEdit, "zzz no such");
    EXPECT_TRUE(pick.shownDescriptions().isEmpty());
    EXPECT_FALSE(okOf(pick)->isEnabled());
    pick.SearchEdit->clear();

    // Costar with every product type: only Costar label-printer stock.
    pick.MakerList->setCurrentText("Costar LabelPrinter");
    pick.ProductList->setCurrentText("All");
    const QStringList costar = pick.shownDescriptions();
    ASSERT_FALSE(costar.isEmpty());
    EXPECT_EQ(QString::fromStdString(templates_->queryText()), " UPPER(manufac)=\"COSTAR\"  and  UPPER(printer)=\"LP\" ");
    pick.Grid->selectRow(0);
    okOf(pick)->click();
    ASSERT_EQ(pick.result(), QDialog::Accepted);
    EXPECT_EQ(pick.chosen().stock.manufac.trimmed(), "COSTAR");
    EXPECT_EQ(pick.chosen().description, costar.first());
}

TEST_F(LabelStockWindowsTest, TemplatePickerStartsHandMadeStockOnAveryAddressLabels) {
    LabelStock stock;
    LabelDefs::TakeManualStock(&stock, stock);
    TSelectLabel pick(*templates_, stock);
    EXPECT_EQ(pick.MakerList->currentText(), "Avery Laserjet");
    EXPECT_EQ(pick.ProductList->currentText(), "Address/Shipping Labels");
    ASSERT_FALSE(pick.Grid->selectedItems().isEmpty());
    EXPECT_EQ(pick.Grid->selectedItems().first()->row(), 0);
}

TEST_F(LabelStockWindowsTest, ChangeLayoutTakesATemplateOrTypedStockByTheirRules) {
    templates_.reset();  // the catalogue is opened by Change Layout itself
    LabelStock stock;
    stock.midExtraX = 0.5;
    stock.art = "AV5160.BMP";
    // Typed by hand: the definition becomes the user's own.
    onNextDialog<TChooseLabelLayout>([](TChooseLabelLayout* choose) {
        EXPECT_EQ(choose->windowTitle(), "Label Layout");
        EXPECT_TRUE(choose->FromTemplates->isChecked());
        screenshot(choose, "TChooseLabelLayout");
        choose->Manually->click();
        okOf(*choose)->click();
        onNextDialog<TLabelEdit>([](TLabelEdit* edit) {
            retype(edit->WidthEdit, "2");
            okOf(*edit)->click();
        });
    });
    ASSERT_TRUE(ChangeLabelStock(*home_, &stock, nullptr));
    EXPECT_DOUBLE_EQ(stock.width, 2.0);
    EXPECT_EQ(stock.manufac, "USER");
    EXPECT_TRUE(stock.tplDescrip.isEmpty() && stock.printer.isEmpty() && stock.prodType.isEmpty());
    EXPECT_EQ(stock.midExtraX, 0.0);
    EXPECT_TRUE(stock.art.isEmpty());

    // From the catalogue: the row's stock and its description as the template.
    onNextDialog<TChooseLabelLayout>([](TChooseLabelLayout* choose) {
        okOf(*choose)->click();
        onNextDialog<TSelectLabel>([](TSelectLabel* pick) {
            QTest::keyClicks(pick->SearchEdit, "5160");
            okOf(*pick)->click();
        });
    });
    ASSERT_TRUE(ChangeLabelStock(*home_, &stock, nullptr));
    EXPECT_EQ(stock.tplDescrip, "Avery 5160  Address");
    EXPECT_EQ(stock.manufac.trimmed(), "AVERY");
    EXPECT_DOUBLE_EQ(stock.width, 2.625);
    EXPECT_EQ(stock.art.trimmed(), "AV5160.BMP");

    // Cancel leaves the stock as it was.
    onNextDialog<TChooseLabelLayout>(
        [](TChooseLabelLayout* choose) { choose->findChild<QPushButton*>("CancelButton")->click(); });
    EXPECT_FALSE(ChangeLabelStock(*home_, &stock, nullptr));
    EXPECT_EQ(stock.tplDescrip, "Avery 5160  Address");
}

TEST_F(LabelStockWindowsTest, PickerShowsTheSharedCatalogueBesideTheShippedStockAndTakesItsRows) {
    templates_.reset();
    qputenv("QUILLORY_LABEL_TEMPLATES", QUILLORY_TEST_DIR "/templates/user:" QUILLORY_TEST_DIR "/templates/system");
    LabelStock stock;  // Avery 5160, laser
    onNextDialog<TChooseLabelLayout>([](TChooseLabelLayout* choose) {
        okOf(*choose)->click();
        onNextDialog<TSelectLabel>([](TSelectLabel* pick) {
            // The shipped entries first, then every maker, then the catalogue's makers.
            QStringList makers;
            for (int i = 0; i < pick->MakerList->count(); ++i) makers << pick->MakerList->itemText(i);
            EXPECT_EQ(makers.mid(4), QStringList({"All makers", "Alpha", "Beta", "Delta", "Gamma"}));
            // A shipped entry shows shipped rows only.
            EXPECT_FALSE(pick->shownDescriptions().contains("Alpha A100  Address Labels"));

            // A catalogue maker: its products of the chosen type, then of every type.
            pick->MakerList->setCurrentText("Alpha");
            EXPECT_EQ(pick->shownDescriptions(), QStringList({"Alpha A100  Address Labels", "Alpha A100B  Address Labels",
                                                              "Alpha A100C  Address Labels"}));
            pick->ProductList->setCurrentText("All");
            EXPECT_TRUE(pick->shownDescriptions().contains("Alpha R150  Round Labels"));
            EXPECT_EQ(pick->Grid->item(0, 1)->text(), "Catalogue");
            pick->EuropeanOnly->click();
            EXPECT_TRUE(pick->shownDescriptions().isEmpty());
            EXPECT_FALSE(okOf(*pick)->isEnabled());
            pick->EuropeanOnly->click();

            // Every maker, searched by size and word: shipped and catalogue stock of 2 x 4 in.
            pick->MakerList->setCurrentText("All makers");
            // Typed into the search box, as a person does after clicking it (the box gets
            // the keys even while a busy machine has not moved the focus yet).
            QTest::mouseClick(pick->SearchEdit, Qt::LeftButton);
            QTest::keyClicks(pick->SearchEdit, "shipping 2X4");
            const QStringList found = pick->shownDescriptions();
            EXPECT_TRUE(found.contains("Avery 5163  Shipping")) << found.join('|').toStdString();
            EXPECT_TRUE(found.contains("Delta D1  Shipping labels 4 x 2")) << found.join('|').toStdString();
            QTest::keyClicks(pick->SearchEdit, " delta");
            EXPECT_EQ(pick->shownDescriptions(), QStringList{"Delta D1  Shipping labels 4 x 2"});
            EXPECT_EQ(pick->WidthEdit->text(), "4.000");
            EXPECT_EQ(pick->AcrossEdit->text(), "2");
            screenshot(pick, "TSelectLabel-catalogue");
            QTest::keyClick(pick->SearchEdit, Qt::Key_Return);
            if (pick->isVisible()) pick->reject();  // a failed step above must not leave it open
        });
    });
    ASSERT_TRUE(ChangeLabelStock(*home_, &stock, nullptr));
    EXPECT_EQ(stock.tplDescrip, "Delta D1  Shipping labels 4 x 2");
    EXPECT_EQ(stock.manufac, "DELTA");
    EXPECT_EQ(stock.prodType, "ADDRESS/SHIPPING LABELS");
    EXPECT_TRUE(stock.printer.isEmpty() && stock.art.isEmpty());
    EXPECT_EQ(stock.paperSize, "LTR");
    EXPECT_DOUBLE_EQ(stock.width, 4.0);
    EXPECT_DOUBLE_EQ(stock.height, 2.0);
    EXPECT_EQ(stock.across, 2);
    EXPECT_EQ(stock.down, 5);
    EXPECT_DOUBLE_EQ(stock.leftMargin, 0.19);
    EXPECT_DOUBLE_EQ(stock.horizPitch, 4.125);
    EXPECT_DOUBLE_EQ(stock.sheetDepth, 11.0);

    // Opened again on that stock: its maker and row are chosen.
    onNextDialog<TChooseLabelLayout>([](TChooseLabelLayout* choose) {
        okOf(*choose)->click();
        onNextDialog<TSelectLabel>([](TSelectLabel* pick) {
            EXPECT_EQ(pick->MakerList->currentText(), "Delta");
            ASSERT_FALSE(pick->Grid->selectedItems().isEmpty());
            EXPECT_EQ(pick->Grid->selectedItems().first()->text(), "Delta D1  Shipping labels 4 x 2");
            pick->findChild<QPushButton*>("CancelButton")->click();
        });
    });
    EXPECT_FALSE(ChangeLabelStock(*home_, &stock, nullptr));
    qunsetenv("QUILLORY_LABEL_TEMPLATES");
}
