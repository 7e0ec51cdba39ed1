// "Print Current Record" driven through its widgets: "All" sets every field box, and
// Preview runs the sheet through the print-status window into the preview.

#include <gtest/gtest.h>

#include <QCheckBox>
#include <QGroupBox>
#include <QLabel>
#include <QPushButton>
#include <QTest>

#include "NextDialog.h"
#include "PrinterDevice.h"
#include "Screenshot.h"
#include "SheetFixture.h"
#include "TPreviewWindow.h"
#include "TPrintCurrentRecord.h"
#include "TPrintStatus.h"
#include "TempDir.h"

namespace {

class RecordSheetWindowTest : public ::testing::Test {
  protected:
    void SetUp() override {
        PrinterDevice::setPrinterListForTesting(QStringList{"PDF File"});
        ASSERT_TRUE(makeSheetFile(dir_.file("A.DBF"),
                                  {{{"LNAME", "Adams"}}, {{"LNAME", "Smith"}, {"MEMO", memoOfLines(80)}}, {}},
                                  &table_));
        ASSERT_TRUE(table_->go(2).ok());
    }
    void TearDown() override { PrinterDevice::setPrinterListForTesting(std::nullopt); }

    TempDir dir_;
    std::unique_ptr<xbase::Table> table_;
};

}  // namespace

TEST_F(RecordSheetWindowTest, AllSetsEveryFieldBox) {
    TPrintCurrentRecord window(*table_);
    window.show();
    ASSERT_TRUE(QTest::qWaitForWindowExposed(&window));
    screenshot(&window, "TPrintCurrentRecord");
    EXPECT_EQ(window.windowTitle(), "Print Current Record");
    EXPECT_EQ(window.findChild<QGroupBox*>()->title(), "Fields to Print");
    EXPECT_EQ(window.FieldBoxes[9]->text(), "State/Province");
    EXPECT_EQ(window.FieldBoxes[20]->text(), "Memo");

    window.FieldBoxes[3]->click();  // one box of its own first
    // On the box itself: the widget is as wide as the group.
    const QPoint onBox(6, window.AllBox->height() / 2);
    QTest::mouseClick(window.AllBox, Qt::LeftButton, {}, onBox);
    for (QCheckBox* box : window.FieldBoxes) EXPECT_FALSE(box->isChecked()) << box->text().toStdString();
    for (bool ticked : window.choice().fields) EXPECT_FALSE(ticked);

    window.AllBox->setFocus();
    QTest::keyClick(window.AllBox, Qt::Key_Space);
    for (QCheckBox* box : window.FieldBoxes) EXPECT_TRUE(box->isChecked()) << box->text().toStdString();
}

TEST_F(RecordSheetWindowTest, PreviewShowsThePagesOfTheCurrentRecord) {
    TPrintCurrentRecord window(*table_);
    window.show();
    ASSERT_TRUE(QTest::qWaitForWindowExposed(&window));
    QString statusTitle, closing;
    int pages = 0;
    QString caption;
    onNextDialog<TPrintStatus>([](TPrintStatus* s) { return s->finished(); },
                               [&](TPrintStatus* s) {
                                   statusTitle = s->windowTitle();
                                   closing = s->StatusLabel->text();
                                   s->CancelButton->click();
                               });
    onNextDialog<TPreviewWindow>([&](TPreviewWindow* w) {
        screenshot(w, "RecordSheetPreview");
        pages = w->pageCount();
        caption = w->caption();
        w->close();
    });
    QTest::mouseClick(window.PreviewButton, Qt::LeftButton);
    EXPECT_EQ(statusTitle, "Preview Status");
    EXPECT_EQ(closing, "\nReport Preview Ready!");
    EXPECT_EQ(pages, 2);  // the memo goes on to a second page
    EXPECT_EQ(caption, "Preview Report");
    EXPECT_EQ(table_->recNo(), 2u);
    EXPECT_TRUE(window.isVisible());
}
