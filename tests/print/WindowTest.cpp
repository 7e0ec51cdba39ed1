// The print-status and preview windows, driven as a user drives them.

#include <gtest/gtest.h>

#include <QAbstractButton>
#include <QFile>
#include <QLabel>
#include <QMessageBox>
#include <QPushButton>
#include <QScrollArea>
#include <QScrollBar>
#include <QTest>
#include <QTimer>

#include "NextDialog.h"
#include "PrinterDevice.h"
#include "Settings.h"
#include "TFilePreview.h"
#include "TPreviewWindow.h"
#include "TPrintStatus.h"
#include "TempDir.h"

namespace {

// Presses the status window's button once the job has ended, if the window is still
// open then, and keeps the label's text of that moment.
void closeWhenFinished(TPrintStatus& window, QString* finalText) {
    auto* timer = new QTimer(&window);
    QObject::connect(timer, &QTimer::timeout, [timer, &window, finalText] {
        if (!window.finished()) return;
        timer->stop();
        *finalText = window.StatusLabel->text();
        window.CancelButton->click();
    });
    timer->start(5);
}

class PrintStatusTest : public ::testing::Test {
  protected:
    void SetUp() override {
        PrinterDevice::setPrinterListForTesting(QStringList{"PDF File"});
        PrinterDevice::instance().setPdfFileName(QString::fromStdString(dir_.file("job.pdf")));
    }
    void TearDown() override { PrinterDevice::setPrinterListForTesting(std::nullopt); }

    // A job of `items` items, two to a page, that presses the window's button while it
    // works on item `pressAt`, as a click that the job's next status update sees.
    static void itemsJob(TPrintStatus& window, int items, int pressAt, int* done) {
        window.setJob([&window, items, pressAt, done](TBaseReport& r) {
            for (int i = 0; i < items && !r.cancelled(); ++i) {
                if (i > 0 && i % 2 == 0) r.newPage();
                r.printXY(1, 1 + (i % 2), QString("item %1").arg(i));
                if (i == pressAt) window.CancelButton->click();
                r.StatusText[0] = QString("item %1").arg(i);
                r.updateStatus();
                ++*done;
            }
        });
    }

    TempDir dir_;
};

TEST_F(PrintStatusTest, CancelAnsweredNoGoesOnAndTheWindowStays) {
    TPrintStatus window(PrintKind::Labels, false);
    EXPECT_EQ(window.windowTitle(), "Print Status ");
    EXPECT_EQ(window.CancelButton->text(), "Cancel");
    int done = 0;
    itemsJob(window, 20, 4, &done);
    QString asked, finalText;
    answerNextBox(QMessageBox::No, &asked);
    closeWhenFinished(window, &finalText);
    window.exec();
    EXPECT_EQ(asked, "Cancel Label Printing?");
    EXPECT_EQ(done, 20);
    EXPECT_FALSE(window.aborted());
    EXPECT_EQ(window.CancelButton->text(), "Ok");
    EXPECT_EQ(finalText, "\nLabel Print Completed!");
    EXPECT_EQ(window.ReportPrinter.pagesPrinted(), 10);
    EXPECT_TRUE(QFile::exists(QString::fromStdString(dir_.file("job.pdf"))));
}

TEST_F(PrintStatusTest, CancelAnsweredYesAbortsThePrint) {
    TPrintStatus window(PrintKind::ZipCount, false);
    EXPECT_EQ(window.windowTitle(), "Print Status");
    int done = 0;
    itemsJob(window, 20, 4, &done);
    QString asked, finalText;
    answerNextBox(QMessageBox::Yes, &asked);
    closeWhenFinished(window, &finalText);
    window.exec();
    EXPECT_EQ(asked, "Cancel Printing?");
    EXPECT_TRUE(window.aborted());
    EXPECT_LT(done, 20);
    EXPECT_EQ(finalText, "\nPrint Canceled!");
    EXPECT_FALSE(QFile::exists(QString::fromStdString(dir_.file("job.pdf"))));
}

TEST_F(PrintStatusTest, StoppedPreviewKeepsItsPagesAndShowsWhereItStopped) {
    TPrintStatus window(PrintKind::Labels, true);
    EXPECT_EQ(window.windowTitle(), "Preview Status");
    EXPECT_EQ(window.CancelButton->text(), "Stop");
    int done = 0;
    itemsJob(window, 20, 5, &done);  // item 5 is the second on page 3
    QStringList seen;
    window.ReportFiler.OnAfterPrint = nullptr;
    QString finalText;
    closeWhenFinished(window, &finalText);
    window.exec();
    EXPECT_TRUE(window.stopped());
    EXPECT_FALSE(window.aborted());
    EXPECT_EQ(finalText, "\nPreview Stopped at page 3!");
    ASSERT_EQ(window.stream()->pages.size(), 3u);

    TPreviewWindow preview(window.stream(), "Preview Labels", PreviewZoom::PageWidth);
    EXPECT_EQ(preview.pageCount(), 3);
}

TEST_F(PrintStatusTest, FinishedLabelPreviewClosesByItself) {
    TPrintStatus window(PrintKind::Labels, true);
    QStringList statuses;
    window.setJob([&](TBaseReport& r) {
        r.printXY(1, 1, "one");
        r.updateStatus();
        statuses << window.StatusLabel->text();
    });
    EXPECT_EQ(window.exec(), QDialog::Accepted);  // nothing had to press a button
    EXPECT_EQ(statuses, QStringList{"Preparing Preview Page 1\n\n"});
    EXPECT_EQ(window.stream()->pages.size(), 1u);
}

std::shared_ptr<PageStream> pages(int count) {
    auto stream = std::make_shared<PageStream>();
    for (int i = 1; i <= count; ++i) {
        Page page;
        page.number = i;
        page.size = QSizeF(8.5, 11);
        DrawOp op;
        op.kind = DrawOp::Kind::Text;
        op.p1 = QPointF(1, 1);
        op.text = QString("page %1").arg(i);
        op.font = QFont("Arial", 10);
        page.ops.push_back(op);
        stream->pages.push_back(page);
    }
    return stream;
}

class PreviewTest : public ::testing::Test {
  protected:
};

TEST_F(PreviewTest, OnePageShowsNoPageButtons) {
    TPreviewWindow window(pages(1), "Preview Envelope");
    window.show();
    QApplication::processEvents();
    for (QPushButton* b : {window.FirstButton, window.PrevButton, window.NextButton, window.LastButton})
        EXPECT_FALSE(b->isVisible());
    EXPECT_TRUE(window.ZoomInButton->isVisible());
    EXPECT_EQ(window.Zoom100Button->text(), "100%");
    EXPECT_EQ(window.OkButton->text(), "Ok");
    EXPECT_EQ(window.HelpButton->text(), "Help");
}

TEST_F(PreviewTest, PagesAndZoomsWithButtonsClicksAndKeys) {
    TPreviewWindow window(pages(5), "Preview Zipcode Count", PreviewZoom::Percent100);
    window.resize(700, 500);
    window.show();
    QApplication::processEvents();
    EXPECT_EQ(window.windowTitle(), "Preview Page 1 of 5 ( 100% )");
    QTest::mouseClick(window.NextButton, Qt::LeftButton);
    QTest::mouseClick(window.NextButton, Qt::LeftButton);
    EXPECT_EQ(window.windowTitle(), "Preview Page 3 of 5 ( 100% )");
    QTest::mouseClick(window.LastButton, Qt::LeftButton);
    QTest::mouseClick(window.NextButton, Qt::LeftButton);  // stays on the last page
    EXPECT_EQ(window.pageIndex(), 4);
    QTest::mouseClick(window.PrevButton, Qt::LeftButton);
    EXPECT_EQ(window.windowTitle(), "Preview Page 4 of 5 ( 100% )");
    QTest::mouseClick(window.FirstButton, Qt::LeftButton);
    EXPECT_EQ(window.pageIndex(), 0);

    QTest::mouseClick(window.ZoomInButton, Qt::LeftButton);
    EXPECT_EQ(window.windowTitle(), "Preview Page 1 of 5 ( 125% )");
    QTest::mouseClick(window.FilePreview, Qt::RightButton);
    EXPECT_EQ(window.windowTitle(), "Preview Page 1 of 5 ( 100% )");
    QTest::mouseClick(window.FilePreview, Qt::LeftButton);
    EXPECT_EQ(std::lround(window.zoom()), 125);
    QTest::mouseClick(window.ZoomOutButton, Qt::LeftButton);
    QTest::mouseClick(window.ZoomOutButton, Qt::LeftButton);
    EXPECT_EQ(std::lround(window.zoom()), 80);
    QTest::mouseClick(window.Zoom100Button, Qt::LeftButton);
    EXPECT_EQ(window.zoom(), 100);

    QTest::mouseClick(window.WholePageButton, Qt::LeftButton);
    const QSize whole = window.FilePreview->size();
    EXPECT_LE(whole.height(), window.ScrollBox->viewport()->height());
    QTest::mouseClick(window.PageWidthButton, Qt::LeftButton);
    EXPECT_LE(window.FilePreview->width(), window.ScrollBox->viewport()->width());
    EXPECT_GT(window.FilePreview->width(), whole.width());

    // Up and Down scroll by the scroll bar's step, within its range.
    QScrollBar* bar = window.ScrollBox->verticalScrollBar();
    ASSERT_GT(bar->maximum(), 0);
    QTest::keyClick(&window, Qt::Key_Down);
    EXPECT_EQ(bar->value(), bar->singleStep());
    QTest::keyClick(&window, Qt::Key_Up);
    QTest::keyClick(&window, Qt::Key_Up);
    EXPECT_EQ(bar->value(), 0);
}

TEST_F(PreviewTest, InitialZoomPerKindAndDefaultWholePage) {
    TPreviewWindow wide(pages(2), "Preview Labels", PreviewZoom::PageWidth);
    wide.resize(700, 500);
    wide.show();
    QApplication::processEvents();
    TPreviewWindow whole(pages(2), "Preview Envelope");
    whole.resize(700, 500);
    whole.show();
    QApplication::processEvents();
    EXPECT_GT(wide.zoom(), whole.zoom());
    EXPECT_LE(whole.FilePreview->height(), whole.ScrollBox->viewport()->height());
}

TEST_F(PreviewTest, KeepsItsPlacement) {
    TempDir dir;
    Settings settings(QString::fromStdString(dir.file("QUILLO.ini")));
    const QRect placed(40, 50, 640, 480);
    {
        TPreviewWindow window(pages(1), "Preview Report", PreviewZoom::PageWidth, &settings);
        window.show();
        QApplication::processEvents();
        window.setGeometry(placed);
        QApplication::processEvents();
        window.accept();
    }
    TPreviewWindow again(pages(1), "Preview Report", PreviewZoom::PageWidth, &settings);
    again.show();
    QApplication::processEvents();
    EXPECT_EQ(again.geometry(), placed);
}

}  // namespace
