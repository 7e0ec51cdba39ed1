// Start-up: one program per home, the printer check, the window placement.

#include <QFile>
#include <QLocalServer>
#include <QLocalSocket>
#include <QProcess>
#include <QSignalSpy>
#include <QTest>

#include "PrinterDevice.h"
#include "SingleInstance.h"
#include "WindowTestSupport.h"

namespace {

TEST(SingleInstance, ALaterStartAsksTheFirstToComeForward) {
    TempDir dir;
    const QString key = SingleInstance::keyFor(QString::fromStdString(dir.path()), "app_tests_single");
    SingleInstance first(key);
    EXPECT_FALSE(first.askRunningToRaise(200));  // nobody there yet
    ASSERT_EQ(first.listen(), SingleInstance::Listen::Listening);
    QSignalSpy raised(&first, &SingleInstance::raiseRequested);

    // A later start connects and asks; the first answers from its event loop.
    QLocalSocket later;
    later.connectToServer(key);
    ASSERT_TRUE(later.waitForConnected(1000));
    later.write("raise\n");
    later.flush();
    QTRY_VERIFY_WITH_TIMEOUT(later.canReadLine(), 3000);
    EXPECT_EQ(later.readLine(), "ok\n");
    EXPECT_EQ(raised.count(), 1);

    // Other homes are other programs.
    EXPECT_NE(SingleInstance::keyFor("/home/a", "quillory"), SingleInstance::keyFor("/home/b", "quillory"));
}

TEST(SingleInstance, ASocketLeftByACrashIsReplaced) {
    TempDir dir;
    const QString key = SingleInstance::keyFor(QString::fromStdString(dir.path()), "app_tests_stale");
    {
        // A server that stops answering, as a crashed program leaves it.
        QLocalServer dead;
        ASSERT_TRUE(dead.listen(key));
        const QString path = dead.fullServerName();
        dead.close();
        QFile stale(path);
        ASSERT_TRUE(stale.open(QIODevice::WriteOnly));  // the socket file stays behind
    }
    SingleInstance next(key);
    EXPECT_EQ(next.listen(), SingleInstance::Listen::Listening);
}

TEST(SingleInstance, TheRealProgramStartedTwiceLeavesOneRunning) {
    TempDir dir;
    QFile ini(QString::fromStdString(dir.file("QUILLO.ini")));
    ASSERT_TRUE(ini.open(QIODevice::WriteOnly));
    ini.write("[Misc]\nGettingStarted=1\n");
    ini.close();
    QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
    env.insert("QT_QPA_PLATFORM", "offscreen");
    const QStringList args = {"--home", QString::fromStdString(dir.path())};

    QProcess first;
    first.setProcessEnvironment(env);
    first.start(QUILLORY_BINARY, args);
    ASSERT_TRUE(first.waitForStarted(5000));
    const QString key = SingleInstance::keyFor(QString::fromStdString(dir.path()), "quillory");
    bool listening = false;
    for (int i = 0; i < 200 && !listening; ++i) {
        QLocalSocket probe;
        probe.connectToServer(key);
        listening = probe.waitForConnected(50);
        if (!listening) QTest::qWait(50);
    }
    ASSERT_TRUE(listening);
    // The first start goes on to create and open its file.
    const QString file = QString::fromStdString(dir.file("DATA/add0001.DBF"));
    QTRY_VERIFY_WITH_TIMEOUT(QFile::exists(file), 5000);

    QProcess second;
    second.setProcessEnvironment(env);
    second.start(QUILLORY_BINARY, args);
    ASSERT_TRUE(second.waitForFinished(10000));
    EXPECT_EQ(second.exitStatus(), QProcess::NormalExit);
    EXPECT_EQ(second.exitCode(), 0);
    EXPECT_EQ(first.state(), QProcess::Running);
    first.terminate();
    first.waitForFinished(5000);
}

TEST_F(WindowTest, ASecondStartBringsAMinimisedWindowBack) {
    auto w = start();
    w->showMinimized();
    QApplication::processEvents();
    w->bringToFront();
    QApplication::processEvents();
    EXPECT_FALSE(w->isMinimized());
    EXPECT_TRUE(w->isVisible());
}

TEST_F(WindowTest, PrinterCheckAtStartUp) {
    const struct {
        bool hideAll;
        bool hideDefault;
        QString message;
    } cases[] = {
        {true, false, "There are no installed printers.\r\nUnable to perform printer related operations"},
        {false, true,
         "There is no default printer selected.\r\nUnable to perform printer related operations"},
        {false, false, ""},
    };
    for (const auto& c : cases) {
        // A listed printer that cannot be opened stands for one without a default.
        if (c.hideAll) {
            PrinterDevice::setPrinterListForTesting(QStringList());
        } else if (c.hideDefault) {
            PrinterDevice::setPrinterListForTesting(QStringList{"Vanished Printer"});
        } else {
            PrinterDevice::setPrinterListForTesting(std::nullopt);
        }
        asked_.clear();
        auto w = start();
        if (c.message.isEmpty()) {
            EXPECT_TRUE(asked_.empty()) << askedTexts().join("\n").toStdString();
        } else {
            ASSERT_EQ(asked_.size(), 1u);
            EXPECT_EQ(asked_[0].text, c.message);
            EXPECT_EQ(asked_[0].caption, "Information");
        }
        EXPECT_NE(w->table(), nullptr);  // nothing else depends on it
    }
}

TEST_F(WindowTest, PlacementIsRestoredFittedAndSavedOnClose) {
    const QRect screen = QGuiApplication::primaryScreen()->availableGeometry();
    // Stored wider than the screen reaches: moved left to the screen's right edge.
    const QSize size(std::min(700, screen.width()), std::min(580, screen.height()));
    writeIni(
        QString("[Misc]\nGettingStarted=1\n[TAddressMain_Placement]\nLeft=%1\nTop=%2\nRight=%3\nBottom=%4\n")
            .arg(screen.right() - 100)
            .arg(screen.y())
            .arg(screen.right() - 100 + size.width())
            .arg(screen.y() + size.height())
            .toUtf8());
    auto w = start();
    EXPECT_EQ(w->geometry().size(), size);
    EXPECT_EQ(w->geometry().right() + 1, screen.x() + screen.width());
    w->setGeometry(screen.x() + 20, screen.y() + 10, size.width() - 10, size.height() - 10);
    w->close();
    const QByteArray stored = ini();
    EXPECT_TRUE(stored.contains("Left=" + QByteArray::number(screen.x() + 20))) << stored.constData();
    EXPECT_TRUE(stored.contains("Right=" + QByteArray::number(screen.x() + 10 + size.width())));
    EXPECT_TRUE(stored.contains("Bottom=" + QByteArray::number(screen.y() + size.height())));
}

}  // namespace
