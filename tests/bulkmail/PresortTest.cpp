// The bulk-mail presort as a user runs it: its window and its command.

#include <gtest/gtest.h>
#include <sys/wait.h>

#include <QApplication>
#include <QFile>
#include <QLabel>
#include <QMessageBox>
#include <QPushButton>
#include <QTimer>

#include "Presort.h"
#include "TSortBulkMail.h"
#include "RunQuillory.h"
#include "TempDir.h"
#include "ZipTable.h"

namespace {

using Lines = std::vector<std::string>;

TEST_F(PresortFileTest, WindowRunsAtOnceAndClosesItself) {
    ASSERT_TRUE(makeZipFile(dir_.file("a.dbf"), repeat("12345", 10), &table_));
    TSortBulkMail window(*table_, out());
    EXPECT_EQ(window.windowTitle(), "Bulk Mail Presorting");
    EXPECT_EQ(window.exec(), QDialog::Accepted);
    EXPECT_EQ(window.presortResult(), JobResult::Done);
    EXPECT_EQ(written(), "** 5-digit 12345\r\n12345\r\n");
}

TEST_F(PresortFileTest, WindowCancelAnsweredYesWritesNothing) {
    ASSERT_TRUE(makeZipFile(dir_.file("a.dbf"), repeat("12345", 300), &table_));
    TSortBulkMail window(*table_, out());
    QString asked;
    // Press Cancel once the presort runs, then answer its question.
    bool pressed = false;
    auto* timer = new QTimer(&window);
    QObject::connect(timer, &QTimer::timeout, [&] {
        if (!pressed && !window.StatusLabel->text().isEmpty()) {
            pressed = true;
            QTimer::singleShot(0, window.CancelButton, &QPushButton::click);
        } else if (auto* box = qobject_cast<QMessageBox*>(QApplication::activeModalWidget())) {
            asked = box->text();
            timer->stop();
            box->button(QMessageBox::Yes)->click();
        }
    });
    timer->start(0);
    EXPECT_EQ(window.exec(), QDialog::Rejected);
    EXPECT_EQ(asked, "Cancel PRESORT?");
    EXPECT_EQ(window.presortResult(), JobResult::Cancelled);
    EXPECT_FALSE(QFile::exists(out()));
}

TEST_F(PresortFileTest, CommandWritesTheListInTheHome) {
    ASSERT_TRUE(
        makeZipFile(dir_.file("a.dbf"), repeat("12345", 10) + Lines{"-60601", "60601", "ABC"}, &table_));
    ASSERT_TRUE(table_->close().ok());
    table_.reset();
    QuilloryResult r = runQuillory({"presort", dir_.file("a.dbf")}, dir_);
    ASSERT_EQ(r.exitCode, 0) << r.err;
    EXPECT_NE(r.out.find("12 records, 11 presorted in 2 groups"), std::string::npos) << r.out;
    QFile f(QString::fromStdString(dir_.file("PRESORT.PSL")));  // in the home
    ASSERT_TRUE(f.open(QIODevice::ReadOnly));
    EXPECT_EQ(f.readAll(), "** 5-digit 12345\r\n12345\r\n** ADC CHICAGO IL 606\r\n60601\r\n");

    EXPECT_EQ(runQuillory({"presort", dir_.file("a.dbf"), "--out", dir_.file("x.psl")}, dir_).exitCode, 0);
    EXPECT_TRUE(QFile::exists(QString::fromStdString(dir_.file("x.psl"))));
    EXPECT_EQ(runQuillory({"presort"}, dir_).exitCode, 2);
    EXPECT_EQ(runQuillory({"presort", dir_.file("none.dbf")}, dir_).exitCode, 1);
}

}  // namespace
