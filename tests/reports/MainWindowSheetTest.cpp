// "Print Current Record" from the real main window: the sheet window opens on the record
// the window shows, and the window's table is as it was afterwards.

#include <QCheckBox>
#include <QPushButton>
#include <QTest>

#include "TFilePreview.h"
#include "TPreviewWindow.h"
#include "TPrintCurrentRecord.h"
#include "TPrintStatus.h"
#include "Table.h"
#include "WindowTestSupport.h"

TEST_F(WindowTest, PrintCurrentRecordPreviewsTheRecordShown) {
    makeAddressFile(dataFile("add0001.DBF"),
                    {{{"LNAME", "Adams"}}, {{"LNAME", "Baker"}}, {{"LNAME", "Clark"}}});
    std::unique_ptr<TAddressMain> w = start();
    w->Navigate(RecordEditing::Move::Next);
    w->RefreshRecord();
    const uint32_t shown = w->table()->recNo();
    const std::string query = w->table()->queryText();

    QStringList printed;
    onNextDialog<TPrintCurrentRecord>([&](TPrintCurrentRecord* d) {
        EXPECT_EQ(d->windowTitle(), "Print Current Record");
        onNextDialog<TPrintStatus>([](TPrintStatus* s) { return s->finished(); },
                                   [](TPrintStatus* s) { s->CancelButton->click(); });
        onNextDialog<TPreviewWindow>([&](TPreviewWindow* p) {
            for (const Page& page : p->FilePreview->stream()->pages)
                for (const DrawOp& op : page.ops)
                    if (op.kind == DrawOp::Kind::Text) printed << op.text;
            p->close();
        });
        QTest::mouseClick(d->PreviewButton, Qt::LeftButton);
        QTest::mouseClick(d->CancelButton, Qt::LeftButton);
    });
    w->action("mnuPrintCurrent")->trigger();
    EXPECT_TRUE(printed.contains("Baker")) << printed.join('|').toStdString();
    EXPECT_FALSE(printed.contains("Adams") || printed.contains("Clark"));
    EXPECT_EQ(w->table()->recNo(), shown);
    EXPECT_EQ(w->table()->queryText(), query);
    EXPECT_FALSE(wasAsked("This command is not available yet."));
}
