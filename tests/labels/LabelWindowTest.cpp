// The print-labels screen and its position dialog, driven through their widgets: the
// list and its stock, the selection rules, positions toggled by clicks, a preview run
// through the print-status window, and Delete and Clone of a definition.

#include <gtest/gtest.h>

#include <QCheckBox>
#include <QFile>
#include <QGroupBox>
#include <QLineEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QSpinBox>
#include <QTest>
#include <QTreeWidget>

#include "AppHome.h"
#include "LabelDefinition.h"
#include "LabelTestSupport.h"
#include "NextDialog.h"
#include "Screenshot.h"
#include "PrinterDevice.h"
#include "ScriptedMessages.h"
#include "SystemTables.h"
#include "TLabelSetupScreen.h"
#include "TPreviewWindow.h"
#include "TSelectLabelPositions.h"
#include "TempDir.h"

namespace {

class LabelWindowTest : public ::testing::Test {
  protected:
    void SetUp() override {
        PrinterDevice::setPrinterListForTesting(QStringList{"PDF File"});
        home_ = std::make_unique<AppHome>(QString::fromStdString(dir_.path()));
        QString error;
        ASSERT_TRUE(home_->ensureExists(&error)) << error.toStdString();
        ASSERT_TRUE(SystemTables::OpenLabelTable(*home_, &labels_, &error)) << error.toStdString();
        LabelDefinition def = LabelDefs::NewDefinition();
        def.description = "Address labels";
        def.binary = "BIN00001.L";
        LabelDefinition user = def;
        user.description = "Badges";
        user.stock.tplDescrip.clear();
        user.binary = "BIN00005.L";  // never written: its file is missing
        for (const LabelDefinition& d : {def, user}) {
            ASSERT_TRUE(labels_->appendBlank().ok());
            ASSERT_TRUE(LabelDefs::WriteDefinition(*labels_, d, &error));
            ASSERT_TRUE(labels_->commit().ok());
        }
        QFile layout(home_->sysDataDir() + "/BIN00001.L");
        ASSERT_TRUE(layout.open(QIODevice::WriteOnly));
        layout.write(handlayout::list(handlayout::fieldObject("Last Name", 0, 0)));
        layout.close();
        std::vector<Person> people;
        for (int i = 1; i <= 5; ++i) people.push_back({"Name" + std::to_string(i), "10001"});
        ASSERT_TRUE(makeAddressFile(dir_.file("ADDR.DBF"), people, &table_));
        ASSERT_TRUE(table_->go(4).ok());
    }
    void TearDown() override { PrinterDevice::setPrinterListForTesting(std::nullopt); }

    TempDir dir_;
    std::unique_ptr<AppHome> home_;
    std::unique_ptr<xbase::Table> labels_, table_;
    ScriptedMessages messages_;
};

}  // namespace

TEST_F(LabelWindowTest, ListStockAndSelectionRules) {
    TLabelSetupScreen screen(*labels_, *table_, *home_, false);
    screen.show();
    ASSERT_TRUE(QTest::qWaitForWindowExposed(&screen));
    EXPECT_EQ(screen.windowTitle(), "Print Labels");
    ASSERT_EQ(screen.LabelList->topLevelItemCount(), 2);
    EXPECT_EQ(screen.LabelList->topLevelItem(0)->text(0), "Address labels");
    EXPECT_EQ(screen.LabelList->topLevelItem(0)->text(1), "Avery 5160  Address");
    EXPECT_EQ(screen.LabelList->topLevelItem(1)->text(1), "[User Defined]");
    EXPECT_EQ(screen.WidthEdit->text(), "2.625");
    EXPECT_EQ(screen.AcrossEdit->text(), "3");
    EXPECT_TRUE(screen.ModifyButton->isEnabled());

    // No filter: "All records" instead. Only the current record is never presorted.
    EXPECT_FALSE(screen.FilterRecords->isEnabled());
    EXPECT_TRUE(screen.AllRecords->isChecked());
    screen.Presort->setChecked(true);
    screen.CurrentRecord->click();
    EXPECT_FALSE(screen.Presort->isChecked());
    EXPECT_FALSE(screen.Presort->isEnabled());
    screen.AllRecords->click();
    EXPECT_TRUE(screen.AllRecords->isChecked());
    EXPECT_FALSE(screen.CurrentRecord->isChecked());
    EXPECT_TRUE(screen.WhatToPrint->isEnabled());
    EXPECT_TRUE(screen.Presort->isEnabled());
}

TEST_F(LabelWindowTest, PreviewTakesClickedPositionsAndPutsTheTableBack) {
    TLabelSetupScreen screen(*labels_, *table_, *home_, true);
    screen.show();
    ASSERT_TRUE(QTest::qWaitForWindowExposed(&screen));
    int pages = 0;
    QString caption;
    onNextDialog<TSelectSpecificLabels>([&](TSelectSpecificLabels* d) {
        EXPECT_EQ(d->windowTitle(), "Labels Print");
        QTest::mouseClick(d->NoneButton, Qt::LeftButton);
        QTest::mouseClick(d->OkButton, Qt::LeftButton);  // nothing selected: refused, stays
        EXPECT_TRUE(d->isVisible());
        // The last position of the first row, then the first of the second.
        for (const QRect& r : {d->SheetPicture->positionRect(2, 0), d->SheetPicture->positionRect(0, 1)})
            QTest::mouseClick(d->SheetPicture, Qt::LeftButton, {}, r.center());
        d->Copies->setValue(2);
        QTest::mouseClick(d->OkButton, Qt::LeftButton);
    });
    onNextDialog<TPreviewWindow>([&](TPreviewWindow* w) {
        pages = w->pageCount();
        caption = w->caption();
        screenshot(w, "TPreviewWindow-labels");
        w->close();
    });
    QTest::mouseClick(screen.PreviewButton, Qt::LeftButton);
    EXPECT_TRUE(messages_.texts().join("|").contains(LabelPrint::kNoPosition)) << messages_.texts().join("|").toStdString();
    // Five records twice on two positions a sheet: five sheets.
    EXPECT_EQ(pages, 5);
    EXPECT_EQ(caption, "Preview Labels");
    const LabelPrint::PositionSelection& kept = screen.request().positions;
    EXPECT_TRUE(kept.selected(2) && kept.selected(3));
    EXPECT_FALSE(kept.selected(0) || kept.selected(4));
    EXPECT_EQ(table_->recNo(), 4u);
    EXPECT_EQ(table_->queryText(), "!ISDEL");
}

TEST_F(LabelWindowTest, CloneAndDeleteKeepDefinitionsAndFilesTogether) {
    TLabelSetupScreen screen(*labels_, *table_, *home_, true);
    // A definition whose layout file is gone cannot be cloned.
    screen.LabelList->setCurrentItem(screen.LabelList->topLevelItem(1));
    screen.CloneButtonClick();
    EXPECT_TRUE(messages_.texts().join("|").contains(LabelDefs::kFileRemoved));
    EXPECT_EQ(screen.LabelList->topLevelItemCount(), 2);

    screen.LabelList->setCurrentItem(screen.LabelList->topLevelItem(0));
    screen.CloneButtonClick();
    EXPECT_TRUE(messages_.wasAsked("Clone \"Address labels\"?"));
    ASSERT_EQ(screen.LabelList->topLevelItemCount(), 3);
    EXPECT_EQ(screen.LabelList->currentItem()->text(0), "Clone of :Address labels");
    EXPECT_EQ(screen.current().binary, "BIN00002.L");
    EXPECT_TRUE(QFile::exists(home_->sysDataDir() + "/BIN00002.L"));

    messages_.answers = {false};
    screen.DeleteButtonClick();
    EXPECT_EQ(screen.LabelList->topLevelItemCount(), 3);
    screen.DeleteButtonClick();
    EXPECT_EQ(screen.LabelList->topLevelItemCount(), 2);
    EXPECT_FALSE(QFile::exists(home_->sysDataDir() + "/BIN00002.L"));
    EXPECT_TRUE(QFile::exists(home_->sysDataDir() + "/BIN00001.L"));
}
