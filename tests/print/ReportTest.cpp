// The report engine: what a job draws becomes pages of operations in inches, with the
// job's states and refusals and what it asks of its device, and one path plays them to
// an image or a PDF.

#include <gtest/gtest.h>

#include <QBuffer>
#include <QFile>
#include <QImage>
#include <QPageLayout>
#include <QPageSize>
#include <QPainter>
#include <cstdio>

#include "PagePainter.h"
#include "RecordingProgress.h"
#include "TReportFiler.h"
#include "TReportPdfWriter.h"
#include "TempDir.h"
#include "WmfPlayer.h"

namespace {

DeviceMetrics letterAt(double dpi, double offset = 0) {
    DeviceMetrics m;
    m.dpiX = m.dpiY = dpi;
    m.offsetLeft = m.offsetTop = m.offsetRight = m.offsetBottom = offset;
    return m;
}

class ReportTest : public ::testing::Test {
  protected:
    void SetUp() override {
        filer_.setStream(&stream_);
        filer_.setDeviceMetrics(letterAt(600));
    }
    PageStream stream_;
    TReportFiler filer_;
};

TEST_F(ReportTest, PagesHoldOperationsInInchesWithinThePageRange) {
    filer_.FirstPage = 2;
    filer_.LastPage = 3;
    filer_.OnPrint = [](TBaseReport& r) {
        for (int page = 1; page <= 4; ++page) {
            if (page > 1) r.newPage();
            r.rectangle(1, 2, 3.5, 4);
            r.line(0.5, 0.5, 8, 0.5);
            r.printXY(1, 1, QString("page %1").arg(r.currentPage()));
        }
    };
    ASSERT_TRUE(filer_.execute());
    ASSERT_EQ(stream_.pages.size(), 2u);  // pages 1 and 4 were drawn but not output
    const Page& page = stream_.pages[0];
    EXPECT_EQ(page.number, 2);
    EXPECT_EQ(page.size, QSizeF(8.5, 11));
    ASSERT_EQ(page.ops.size(), 3u);
    EXPECT_EQ(page.ops[0].kind, DrawOp::Kind::Rect);
    EXPECT_EQ(page.ops[0].rect, QRectF(1, 2, 2.5, 2));
    EXPECT_EQ(page.ops[1].p2, QPointF(8, 0.5));
    EXPECT_EQ(page.ops[2].text, "page 2");
    EXPECT_EQ(page.ops[2].p1, QPointF(1, 1));
    EXPECT_EQ(stream_.pages[1].ops[2].text, "page 3");
}

TEST_F(ReportTest, ConvertsInchesToDevicePixelsThroughOriginScaleAndOffset) {
    filer_.setDeviceMetrics(letterAt(300, 0.25));
    filer_.OriginX = 0.5;
    filer_.ScaleX = 50;
    filer_.OnPrint = [](TBaseReport& r) {
        // round(((1 + 0.5) * 0.5 - 0.25) * 300) and round((2 - 0.25) * 300)
        EXPECT_EQ(r.xToDevice(1), 150);
        EXPECT_EQ(r.yToDevice(2), 525);
        const ReportRect rect = r.makeRect(1, 2, 3, 4);
        EXPECT_EQ(rect.device, QRect(QPoint(150, 525), QPoint(450, 1125)));
        EXPECT_EQ(rect.inches, QRectF(0.75, 2, 1, 2));
    };
    ASSERT_TRUE(filer_.execute());
}

TEST_F(ReportTest, FontOperationsAndWhatSetFontResets) {
    filer_.OnPrint = [](TBaseReport& r) {
        r.setBold(true);
        r.setUnderline(true);
        r.setFontColor(Qt::red);
        r.setFontRotation(-90);
        EXPECT_EQ(r.fontRotation(), 270);
        r.setFontRotation(450);
        EXPECT_EQ(r.fontRotation(), 90);
        r.setFont("Times New Roman", 12);
        EXPECT_FALSE(r.font().bold());
        EXPECT_FALSE(r.font().underline());
        EXPECT_EQ(r.fontColor(), QColor(Qt::black));
        EXPECT_EQ(r.fontRotation(), 0);
        EXPECT_EQ(r.font().pointSizeF(), 12);
        // The narrowest text is still one device pixel wide.
        EXPECT_DOUBLE_EQ(r.textWidth(""), 1.0 / 600);
        EXPECT_GT(r.textWidth("MMMM"), r.textWidth("iiii"));
        EXPECT_GT(r.fontLineHeight(), r.fontAscent());
    };
    ASSERT_TRUE(filer_.execute());
}

TEST_F(ReportTest, TextInRectangleIsClippedAndPlacedByItsTop) {
    filer_.OnPrint = [](TBaseReport& r) {
        r.setFont("Arial", 10);
        const double ascent = r.fontAscent();
        r.textRect(r.makeRect(1, 1, 2, 1.5), 1.1, 1.2, "clipped");
        r.setFontRotation(90);
        r.textRect(r.makeRect(3, 1, 4, 3), 3, 2.5, "up");
        EXPECT_GT(ascent, 0.1);
    };
    ASSERT_TRUE(filer_.execute());
    const std::vector<DrawOp>& ops = stream_.pages[0].ops;
    ASSERT_EQ(ops.size(), 2u);
    EXPECT_EQ(ops[0].rect, QRectF(1, 1, 1, 0.5));
    EXPECT_DOUBLE_EQ(ops[0].p1.x(), 1.1);
    EXPECT_GT(ops[0].p1.y(), 1.2 + 0.1);  // baseline one ascent below the top
    EXPECT_EQ(ops[1].rotation, 90);
    EXPECT_GT(ops[1].p1.x(), 3.1);  // turned text: the ascent goes to the right
    EXPECT_NEAR(ops[1].p1.y(), 2.5, 1e-9);
}

TEST_F(ReportTest, PenWidthsShapesAndPictures) {
    filer_.OnPrint = [](TBaseReport& r) {
        const struct {
            int width;
            double dots;
        } cases[] = {{3, 3}, {0, 1}, {-1, 6}, {-10, 60}, {-0, 1}};
        for (const auto& c : cases) {
            r.setPen(Qt::blue, Qt::DashLine, c.width);
            EXPECT_DOUBLE_EQ(r.pen().width * 600, c.dots) << c.width;
        }
        r.setBrush(Qt::green, Qt::SolidPattern);
        r.roundRect(1, 1, 2, 2, 0.2, 0.1);
        r.ellipse(3, 3, 4, 5);
        r.moveTo(1, 1);
        r.lineTo(2, 3);
        QImage image(4, 4, QImage::Format_RGB32);
        r.stretchDraw(r.makeRect(5, 5, 6, 6), image);
        r.playMetafile(r.makeRect(6, 6, 7, 7), QByteArray("not a metafile"));
    };
    ASSERT_TRUE(filer_.execute());
    const std::vector<DrawOp>& ops = stream_.pages[0].ops;
    ASSERT_EQ(ops.size(), 5u);
    EXPECT_EQ(ops[0].kind, DrawOp::Kind::RoundRect);
    EXPECT_EQ(ops[0].corner, QSizeF(0.2, 0.1));
    EXPECT_EQ(ops[0].brush.color, QColor(Qt::green));
    EXPECT_EQ(ops[0].pen.style, Qt::DashLine);
    EXPECT_EQ(ops[1].rect, QRectF(3, 3, 1, 2));
    EXPECT_EQ(ops[2].p1, QPointF(1, 1));
    EXPECT_EQ(ops[2].p2, QPointF(2, 3));
    EXPECT_EQ(ops[3].kind, DrawOp::Kind::Image);
    EXPECT_EQ(ops[4].kind, DrawOp::Kind::Metafile);
}

TEST_F(ReportTest, TabStopsShadeAndAlignWithinTheirInnerMargins) {
    filer_.OnPrint = [](TBaseReport& r) {
        r.gotoXY(1, 2);
        r.setTab(1, TBaseReport::TabJustify::Left, 1, 10, 5);
        r.setTab(-1, TBaseReport::TabJustify::Right, 1, 10, 0);
        r.printTab("left");
        r.printTab("right");
        EXPECT_DOUBLE_EQ(r.cursorX(), 3);
        const double width = r.textWidth("right");
        EXPECT_NEAR(r.metrics().dpiX, 600, 0);
        EXPECT_GT(width, 0);
    };
    ASSERT_TRUE(filer_.execute());
    const std::vector<DrawOp>& ops = stream_.pages[0].ops;
    ASSERT_EQ(ops.size(), 3u);
    EXPECT_EQ(ops[0].kind, DrawOp::Kind::Rect);  // the 5% shade behind the first stop
    EXPECT_EQ(ops[0].brush.color, QColor(242, 242, 242));
    EXPECT_DOUBLE_EQ(ops[0].rect.left(), 1);
    EXPECT_DOUBLE_EQ(ops[0].rect.width(), 1);
    EXPECT_DOUBLE_EQ(ops[1].p1.x(), 1.1);
    EXPECT_EQ(ops[1].rect.left(), 1.1);
    // Right-aligned: the text ends at the inner margin of the second stop.
    EXPECT_LT(ops[2].p1.x(), 2.9);
    EXPECT_EQ(ops[2].rect, QRectF(2.1, ops[2].rect.top(), 0.8, ops[2].rect.height()));
}

TEST_F(ReportTest, RefusesDrawingOutsideAJobAndSetupDuringOne) {
    EXPECT_FALSE(filer_.rectangle(0, 0, 1, 1));
    EXPECT_EQ(filer_.lastError(), "Invalid method call.  ReportPrinter is not printing.");
    EXPECT_FALSE(filer_.newPage());

    filer_.OnPrint = [&](TBaseReport& r) {
        EXPECT_FALSE(r.execute());
        EXPECT_EQ(r.lastError(), "Invalid method call.  ReportPrinter already printing.");
        EXPECT_FALSE(r.setOrientation(QPageLayout::Landscape));
        EXPECT_TRUE(r.rectangle(0, 0, 1, 1));  // the job itself goes on
    };
    EXPECT_TRUE(filer_.execute());
    EXPECT_EQ(filer_.state(), TBaseReport::State::Finished);
    EXPECT_EQ(stream_.pages[0].ops.size(), 1u);
    EXPECT_FALSE(filer_.line(0, 0, 1, 1));
}

// A device of fixed metrics that keeps every change of its busy flag.
class FakeDevice : public ReportDevice {
  public:
    DeviceMetrics sheet;
    QPageLayout::Orientation turn = QPageLayout::Portrait;
    std::vector<bool> busyChanges;

    DeviceMetrics metrics() override { return sheet; }
    QPageLayout::Orientation orientation() const override { return turn; }
    void setBusy(bool busy) override { busyChanges.push_back(busy); }
    bool busy() const override { return !busyChanges.empty() && busyChanges.back(); }
    QString deviceName() const override { return "Fake"; }
    QString driverName() const override { return "Fake driver"; }
    QString portName() const override { return "Fake port"; }
};

TEST_F(ReportTest, AJobHoldsItsDeviceBusyAndThePreviewTakesItsSheet) {
    FakeDevice device;
    device.sheet.pageWidth = 8.27;
    device.sheet.pageHeight = 11.69;
    device.sheet.offsetLeft = 0.1;
    device.sheet.offsetTop = 0.2;
    device.sheet.dpiX = 300;
    device.sheet.dpiY = 600;
    TReportFiler filer(&device);
    filer.setStream(&stream_);
    bool busyDuringTheJob = false;
    filer.OnPrint = [&](TBaseReport&) { busyDuringTheJob = device.busy(); };

    // A job in the device's orientation, or in none, gets the device's sheet; the other
    // orientation turns it.
    const struct {
        QPageLayout::Orientation device;
        std::optional<QPageLayout::Orientation> job;
        bool turned;
    } cases[] = {
        {QPageLayout::Portrait, std::nullopt, false},
        {QPageLayout::Portrait, QPageLayout::Portrait, false},
        {QPageLayout::Portrait, QPageLayout::Landscape, true},
        {QPageLayout::Landscape, QPageLayout::Portrait, true},
    };
    for (const auto& c : cases) {
        device.turn = c.device;
        device.busyChanges.clear();
        ASSERT_TRUE(filer.setOrientation(c.job));
        ASSERT_TRUE(filer.execute());
        EXPECT_TRUE(busyDuringTheJob);
        EXPECT_EQ(device.busyChanges, std::vector<bool>({true, false}));
        ASSERT_EQ(stream_.pages.size(), 1u);
        EXPECT_EQ(stream_.pages[0].size, c.turned ? QSizeF(11.69, 8.27) : QSizeF(8.27, 11.69));
        EXPECT_EQ(filer.metrics().offsetLeft, c.turned ? 0.2 : 0.1);
        EXPECT_EQ(filer.metrics().dpiX, c.turned ? 600 : 300);
    }

    // Fixed metrics win over the device's; an aborted job lets the device go too.
    filer.setDeviceMetrics(letterAt(72));
    device.busyChanges.clear();
    filer.OnPrint = [&](TBaseReport& r) { r.abort(); };
    EXPECT_FALSE(filer.execute());
    EXPECT_EQ(filer.metrics().dpiX, 72);
    EXPECT_EQ(device.busyChanges, std::vector<bool>({true, false}));

    // A job that cannot start never touches its device.
    device.busyChanges.clear();
    filer.setStream(nullptr);
    EXPECT_FALSE(filer.execute());
    EXPECT_EQ(filer.lastError(), "No page stream was given for the preview");
    EXPECT_TRUE(device.busyChanges.empty());
}

TEST_F(ReportTest, ExecuteRunsTheHandlersInOrder) {
    std::vector<std::string> calls;
    filer_.OnBeforePrint = [&](TBaseReport&) { calls.push_back("before"); };
    filer_.OnPrintHeader = [&](TBaseReport& r) {
        calls.push_back("header " + std::to_string(r.currentPage()));
    };
    filer_.OnPrintFooter = [&](TBaseReport& r) {
        calls.push_back("footer " + std::to_string(r.currentPage()));
    };
    filer_.OnNewPage = [&](TBaseReport&) { calls.push_back("new page"); };
    filer_.OnPrintPage = [&](TBaseReport& r) {
        calls.push_back("page " + std::to_string(r.currentPage()));
        return r.currentPage() < 2;
    };
    filer_.OnAfterPrint = [&](TBaseReport&) { calls.push_back("after"); };
    ASSERT_TRUE(filer_.execute());
    const std::vector<std::string> expected = {"before",   "header 1", "page 1", "footer 1", "new page",
                                               "header 2", "page 2",   "after",  "footer 2"};
    EXPECT_EQ(calls, expected);
    EXPECT_EQ(stream_.pages.size(), 2u);
}

TEST_F(ReportTest, AbortEndsTheJobAndStopKeepsWhatWasMade) {
    filer_.OnPrint = [](TBaseReport& r) {
        for (int i = 0; i < 10 && !r.cancelled(); ++i) {
            if (i > 0) r.newPage();
            if (i == 2) r.stop();
        }
    };
    EXPECT_TRUE(filer_.execute());
    EXPECT_TRUE(filer_.stopped());
    EXPECT_EQ(stream_.pages.size(), 3u);

    filer_.OnPrint = [](TBaseReport& r) { r.abort(); };
    EXPECT_FALSE(filer_.execute());
    EXPECT_TRUE(filer_.aborted());
    EXPECT_FALSE(filer_.stopped());  // each job starts afresh
}

TEST_F(ReportTest, StatusLineFollowsTheJob) {
    RecordingProgress progress;
    QStringList& shown = progress.statuses;
    filer_.setProgress(&progress);
    filer_.OnBeforePrint = [](TBaseReport& r) {
        r.StatusFormat = "Page %p of %f-%l on %d/%r/%t\r%0";
        r.StatusText << "extra";
    };
    filer_.OnPrint = [](TBaseReport& r) {
        r.updateStatus();
        r.newPage();
        r.updateStatus();
    };
    ASSERT_TRUE(filer_.execute());
    EXPECT_EQ(shown, QStringList({"Page 1 of 1-9999 on Preview/Preview/Screen\rextra",
                                  "Page 2 of 1-9999 on Preview/Preview/Screen\rextra"}));
}

// The runner's "no" ends the job's loop: a print is aborted, a preview stopped with the
// pages it made; without a runner nothing stops it.
TEST_F(ReportTest, RunnerThatSaysStopEndsTheLoop) {
    struct Case {
        bool withRunner;
        TBaseReport::OnHalt onHalt;
        bool aborted, stopped;
        int items;
    };
    for (const Case& c : {Case{true, TBaseReport::OnHalt::Abort, true, false, 3},
                          Case{true, TBaseReport::OnHalt::Stop, false, true, 3},
                          Case{false, TBaseReport::OnHalt::Abort, false, false, 10}}) {
        RecordingProgress progress(3);
        filer_.setProgress(c.withRunner ? &progress : nullptr, c.onHalt);
        int items = 0;
        filer_.OnPrint = [&](TBaseReport& r) {
            for (int i = 0; i < 10 && !r.cancelled(); ++i) {
                if (i > 0) r.newPage();
                ++items;
                r.updateStatus();
            }
        };
        EXPECT_EQ(filer_.execute(), !c.aborted);
        EXPECT_EQ(filer_.aborted(), c.aborted);
        EXPECT_EQ(filer_.stopped(), c.stopped);
        EXPECT_EQ(items, c.items);
        if (c.stopped) EXPECT_EQ(stream_.pages.size(), 3u);
    }
}

// A metafile with a placeable header: a filled rectangle over its left half.
QByteArray halfFilledMetafile() {
    QByteArray wmf;
    QDataStream out(&wmf, QIODevice::WriteOnly);
    out.setByteOrder(QDataStream::LittleEndian);
    out << quint32(0x9AC6CDD7) << quint16(0) << qint16(0) << qint16(0) << qint16(100) << qint16(100)
        << quint16(1440) << quint32(0) << quint16(0);
    out << quint16(1) << quint16(9) << quint16(0x300) << quint32(0) << quint16(1) << quint32(7) << quint16(0);
    // CreateBrushIndirect: solid, red; SelectObject 0; CreatePenIndirect: null pen; SelectObject 1
    out << quint32(7) << quint16(0x02FC) << quint16(0) << quint16(0x00FF) << quint16(0) << quint16(0);
    out << quint32(4) << quint16(0x012D) << quint16(0);
    out << quint32(8) << quint16(0x02FA) << quint16(5) << qint16(0) << qint16(0) << quint16(0) << quint16(0);
    out << quint32(4) << quint16(0x012D) << quint16(1);
    // Rectangle(left 0, top 0, right 50, bottom 100): parameters are stored in reverse.
    out << quint32(7) << quint16(0x041B) << qint16(100) << qint16(50) << qint16(0) << qint16(0);
    out << quint32(3) << quint16(0);
    return wmf;
}

TEST(WmfPlayerTest, PlaysShapesIntoTheTargetRectangle) {
    QImage image(100, 100, QImage::Format_RGB32);
    image.fill(Qt::white);
    QPainter painter(&image);
    EXPECT_TRUE(WmfPlayer::play(painter, halfFilledMetafile(), QRectF(0, 0, 100, 100)));
    EXPECT_FALSE(WmfPlayer::play(painter, QByteArray("garbage garbage garbage"), QRectF(0, 0, 100, 100)));
    painter.end();
    EXPECT_EQ(image.pixelColor(20, 50), QColor(Qt::red));
    EXPECT_EQ(image.pixelColor(80, 50), QColor(Qt::white));
}

TEST_F(ReportTest, PagePainterPlaysAtAnyResolution) {
    filer_.OnPrint = [](TBaseReport& r) {
        r.setPen(Qt::black, Qt::NoPen, 1);
        r.setBrush(Qt::black, Qt::SolidPattern);
        r.rectangle(1, 1, 2, 2);
    };
    ASSERT_TRUE(filer_.execute());
    for (double dpi : {50.0, 100.0}) {
        QImage image(int(8.5 * dpi), int(11 * dpi), QImage::Format_RGB32);
        image.fill(Qt::white);
        QPainter painter(&image);
        PagePainter(painter, letterAt(dpi)).play(stream_.pages[0]);
        painter.end();
        EXPECT_EQ(image.pixelColor(int(1.5 * dpi), int(1.5 * dpi)), QColor(Qt::black)) << dpi;
        EXPECT_EQ(image.pixelColor(int(2.5 * dpi), int(1.5 * dpi)), QColor(Qt::white)) << dpi;
    }
}

std::string run(const std::string& command) {
    std::string out;
    FILE* p = popen(command.c_str(), "r");
    if (!p) return out;
    char buf[4096];
    size_t n;
    while ((n = fread(buf, 1, sizeof buf, p)) > 0) out.append(buf, n);
    pclose(p);
    return out;
}

TEST_F(ReportTest, WritesAPdfOnItsSheetThatPopplerReads) {
    TempDir dir;
    const QString path = QString::fromStdString(dir.file("out.pdf"));
    TReportPdfWriter pdf;
    pdf.setFileName(path);
    pdf.Title = "Quillory";
    // An A5 sheet with a quarter-inch border, turned by the job: positions stay measured
    // from the sheet's corner, whatever the border.
    pdf.setPageLayout(QPageLayout(QPageSize(QPageSize::A5), QPageLayout::Portrait,
                                  QMarginsF(0.25, 0.25, 0.25, 0.25), QPageLayout::Inch));
    ASSERT_TRUE(pdf.setOrientation(QPageLayout::Landscape));
    pdf.OnPrint = [](TBaseReport& r) {
        for (int page = 1; page <= 2; ++page) {
            if (page > 1) r.newPage();
            r.printXY(1, 1, QString("Hello page %1").arg(page));
            r.rectangle(1, 2, 3, 3);
        }
    };
    ASSERT_TRUE(pdf.execute()) << pdf.lastError().toStdString();
    EXPECT_EQ(pdf.pagesPrinted(), 2);
    EXPECT_NEAR(pdf.metrics().pageWidth, 8.27, 0.01);
    EXPECT_NEAR(pdf.metrics().offsetTop, 0.25, 1e-6);
    EXPECT_EQ(pdf.metrics().dpiX, 1200);
    const std::string info = run("pdfinfo " + dir.file("out.pdf"));
    EXPECT_NE(info.find("Pages:           2"), std::string::npos) << info;
    EXPECT_NE(info.find("595 x 420"), std::string::npos) << info;
    EXPECT_NE(info.find("Title:           Quillory"), std::string::npos) << info;
    const std::string text = run("pdftotext -layout " + dir.file("out.pdf") + " -");
    EXPECT_NE(text.find("Hello page 2"), std::string::npos) << text;
    const std::string boxes = run("pdftotext -bbox -f 1 -l 1 " + dir.file("out.pdf") + " -");
    const size_t word = boxes.find(">Hello<");
    ASSERT_NE(word, std::string::npos) << boxes;
    const size_t xMin = boxes.rfind("xMin=\"", word);
    EXPECT_NEAR(std::stod(boxes.substr(xMin + 6)), 72.0, 1.0);

    // An aborted job leaves no file behind, and a job that cannot write says so.
    pdf.OnPrint = [](TBaseReport& r) {
        r.printXY(1, 1, "never");
        r.abort();
        r.newPage();
    };
    EXPECT_FALSE(pdf.execute());
    EXPECT_EQ(pdf.pagesPrinted(), 0);
    EXPECT_FALSE(QFile::exists(path));
    const struct {
        QString file;
        const char* error;
    } failures[] = {
        {QString(), "No file name was given for the PDF file"},
        {path + "/none/out.pdf", "Unable to print to "},
    };
    for (const auto& f : failures) {
        pdf.setFileName(f.file);
        EXPECT_FALSE(pdf.execute());
        EXPECT_EQ(pdf.lastError(), f.error + f.file) << f.error;
    }
}

}  // namespace
