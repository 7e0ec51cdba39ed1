// "Print Reports" from the real main window: a user report previewed over the window's
// table, its bands read back from the page stream on pages 1 and 2, and the table as it
// was afterwards.

#include <QFile>
#include <QPushButton>
#include <QRadioButton>
#include <QTabWidget>
#include <QTest>
#include <QTreeWidget>
#include <map>

#include "LabelTestSupport.h"
#include "ReportDefinition.h"
#include "SystemTables.h"
#include "TFilePreview.h"
#include "TPreviewWindow.h"
#include "TPrintStatus.h"
#include "TReportSetup.h"
#include "Table.h"
#include "WindowTestSupport.h"

TEST_F(WindowTest, PrintReportsPreviewsAUserReportBandByBand) {
    std::vector<RecordValues> people;
    for (int i = 1; i <= 12; ++i) people.push_back({{"LNAME", QString("Person%1").arg(i, 2, 10, QChar('0'))}});
    makeAddressFile(dataFile("add0001.DBF"), people);
    QString error;
    ASSERT_TRUE(home_.ensureExists(&error)) << error.toStdString();
    {
        std::unique_ptr<xbase::Table> reports;
        ASSERT_TRUE(SystemTables::OpenReportTable(home_, &reports, &error)) << error.toStdString();
        ASSERT_TRUE(reports->appendBlank().ok());
        ASSERT_TRUE(ReportDefinition::Write(*reports, {"Staff", "Letter Size, Portrait", "BIN00001.R"}, &error));
        ASSERT_TRUE(reports->commit().ok() && reports->close().ok());
        QFile layout(home_.sysDataDir() + "/BIN00001.R");
        ASSERT_TRUE(layout.open(QIODevice::WriteOnly));
        // Header 0.5 in with a title, detail 1 in with the last name: nine records a page.
        layout.write(handlayout::report(handlayout::textObject("Staff", 0, 0),
                                        handlayout::fieldObject("Last Name", 0, 0), {}, handlayout::ReportPage()));
    }
    std::unique_ptr<TAddressMain> w = start();
    const uint32_t shown = w->table()->recNo();
    const std::string query = w->table()->queryText();

    std::map<int, QStringList> texts;  // page → texts in drawing order
    std::map<QString, double> baseline;
    onNextDialog<TReportSetup>([&](TReportSetup* d) {
        EXPECT_EQ(d->windowTitle(), "Print Report");
        d->Pages->setCurrentIndex(1);
        ASSERT_EQ(d->ReportList->topLevelItemCount(), 1);
        d->AllRecords->setChecked(true);
        onNextDialog<TPrintStatus>([](TPrintStatus* s) { return s->finished(); },
                                   [](TPrintStatus* s) { s->CancelButton->click(); });
        onNextDialog<TPreviewWindow>([&](TPreviewWindow* p) {
            for (const Page& page : p->FilePreview->stream()->pages)
                for (const DrawOp& op : page.ops)
                    if (op.kind == DrawOp::Kind::Text) {
                        texts[page.number] << op.text;
                        baseline[op.text] = op.p1.y();
                    }
            p->close();
        });
        QTest::mouseClick(d->PreviewButton, Qt::LeftButton);
        d->accept();
    });
    w->action("mnuPrintReports")->trigger();

    ASSERT_EQ(texts.size(), 2u);
    EXPECT_EQ(texts[1].join(' '),
              "Staff Person01 Person02 Person03 Person04 Person05 Person06 Person07 Person08 Person09");
    EXPECT_EQ(texts[2].join(' '), "Staff Person10 Person11 Person12");
    // Each detail band a inch below the last, from the section's top at 1 in.
    EXPECT_NEAR(baseline["Person11"] - baseline["Person10"], 1.0, 1e-6);
    EXPECT_NEAR(baseline["Person02"] - baseline["Person01"], 1.0, 1e-6);
    EXPECT_GT(baseline["Person01"], 1.0);
    EXPECT_LT(baseline["Person01"], 1.3);
    EXPECT_LT(baseline["Staff"], 1.0);
    EXPECT_EQ(w->table()->recNo(), shown);
    EXPECT_EQ(w->table()->queryText(), query);
    EXPECT_FALSE(wasAsked("This command is not available yet."));
}
