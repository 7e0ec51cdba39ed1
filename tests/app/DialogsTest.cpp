// The file dialogs of the main window: New with its field lengths, the rebuilds, help.

#include <QCheckBox>
#include <QContextMenuEvent>
#include <QFile>
#include <QLabel>
#include <QLineEdit>
#include <QMenu>
#include <QProgressBar>
#include <QPushButton>
#include <QTest>
#include <QTextBrowser>
#include <QTimer>

#include "HelpSystem.h"
#include "NewDatabase.h"
#include "RecordView.h"
#include "TCreateNewDatabase.h"
#include "TFieldLengths.h"
#include "THelpWindow.h"
#include "TQYReindex.h"
#include "TSystemReindex.h"
#include "Table.h"
#include "WindowTestSupport.h"

namespace {

TEST(NewDatabaseRules, NamesAndWidths) {
    const struct {
        QString name;
        bool valid;
    } names[] = {{"ADD0002", true}, {"_x9", true},      {"members_2024", true}, {"", false},
                 {"2024", false},   {"my file", false}, {"a.dbf", false},       {"naïve", false}};
    for (const auto& n : names) EXPECT_EQ(NewDatabase::IsValidName(n.name), n.valid) << n.name.toStdString();

    const struct {
        QString text;
        int previous;
        int accepted;
    } widths[] = {{"10", 30, 10}, {"80", 30, 80},  {"9", 30, 30},   {"81", 30, 30},
                  {"", 12, 12},   {"abc", 40, 40}, {" 25 ", 30, 25}};
    for (const auto& w : widths) {
        EXPECT_EQ(NewDatabase::AcceptWidth(w.text, w.previous), w.accepted) << w.text.toStdString();
    }
}

TEST(NewDatabaseRules, ProposesTheFirstFreeNameInAnyLetterCase) {
    TempDir dir;
    AppHome home(QString::fromStdString(dir.path()));
    QString error;
    ASSERT_TRUE(home.ensureExists(&error));
    EXPECT_EQ(NewDatabase::ProposeName(home), "ADD0001");
    for (const char* existing : {"add0001.DBF", "ADD0002.dbf"}) {
        QFile f(home.dataDir() + "/" + existing);
        ASSERT_TRUE(f.open(QIODevice::WriteOnly));
    }
    EXPECT_EQ(NewDatabase::ProposeName(home), "ADD0003");
}

TEST_F(WindowTest, NewDatabaseCreatesAndOpensTheFile) {
    auto w = start();
    const QString first = w->CurrentFileName;
    onNextDialog<TCreateNewDatabase>([this](TCreateNewDatabase* d) {
        EXPECT_EQ(d->NameEdit->text(), "ADD0002");
        d->NameEdit->setText("9lives");
        EXPECT_FALSE(d->OkButton->isEnabled());
        EXPECT_EQ(d->InvalidLabel->text(),
                  "Invalid name. Must start with A..Z, followed by A..Z,0..9 or \"_\" (underscore)");
        EXPECT_TRUE(d->InvalidLabel->isVisibleTo(d));
        d->NameEdit->setText("add0001");
        QTest::mouseClick(d->OkButton, Qt::LeftButton);
        EXPECT_TRUE(wasAsked("That file already exists.Please select another name"));
        EXPECT_TRUE(d->isVisible());
        d->NameEdit->setText("Members");
        onNextDialog<TFieldLengths>([](TFieldLengths* f) {
            f->edit("LNAME")->setText("50");
            f->edit("FNAME")->setText("9");  // out of range: back to 30
            QTest::mouseClick(f->OkButton, Qt::LeftButton);
        });
        QTest::mouseClick(d->FieldLengthsButton, Qt::LeftButton);
        EXPECT_EQ(d->widths().width(QString("LNAME")), 50);
        EXPECT_EQ(d->widths().width(QString("FNAME")), 30);
        QTest::keyClick(d->NameEdit, Qt::Key_PageDown);
    });
    w->action("mnuNew")->trigger();
    const QString created = dataFile("Members.DBF");
    ASSERT_TRUE(QFile::exists(created));
    EXPECT_EQ(w->CurrentFileName, created);
    EXPECT_EQ(w->windowTitle(), "Quillory - " + created);
    EXPECT_EQ(w->recordView()->edit("LNAME")->maxLength(), 50);
    EXPECT_FALSE(ini().contains("FieldLNAME"));  // only for this file

    // Both files are now in the File menu, newest first.
    QStringList mru;
    for (QAction* a : w->menu("menuFile")->actions()) {
        if (a->objectName() == "mnuMru") mru << a->data().toString();
    }
    EXPECT_EQ(mru, QStringList({created, first}));
}

TEST_F(WindowTest, FieldLengthsDialogRevertsAndStores) {
    Settings settings(iniPath());
    FieldLengths widths;
    widths.setWidth(FieldLengths::indexOf("ZIP"), 12);
    TFieldLengths dialog(widths, settings);
    QLineEdit* zip = dialog.edit("ZIP");
    zip->setText("81");
    emit zip->editingFinished();
    EXPECT_EQ(zip->text(), "12");  // the value it had when the dialog opened
    QTest::mouseClick(dialog.DefaultsButton, Qt::LeftButton);
    EXPECT_EQ(zip->text(), "10");
    EXPECT_EQ(dialog.edit("FAX")->text(), "30");
    zip->setText("5");
    emit zip->editingFinished();
    EXPECT_EQ(zip->text(), "10");  // now the defaults are what it goes back to
    dialog.UseForAllCheckBox->setChecked(true);
    QTest::mouseClick(dialog.OkButton, Qt::LeftButton);
    EXPECT_EQ(dialog.widths().width(QString("FAX")), 30);
    EXPECT_TRUE(ini().contains("FieldFAX=30"));
}

TEST_F(WindowTest, RebuildIndexesPacksTheFile) {
    makeAddressFile(dataFile("add0001.DBF"), {{{"LNAME", "Gone"}}, {{"LNAME", "Stays"}}});
    auto w = start();
    ASSERT_EQ(w->recordView()->edit("LNAME")->text(), "Gone");
    w->DeleteRecord();
    onNextDialog<TQYReindex>([](TQYReindex* d) {
        EXPECT_EQ(d->windowTitle(), "Rebuild indexes for add0001.DBF");
        QTest::mouseClick(d->ReindexButton, Qt::LeftButton);
    });
    w->action("mnuReindex")->trigger();
    ASSERT_NE(w->table(), nullptr);
    EXPECT_EQ(w->table()->recCount(), 1u);
    EXPECT_EQ(w->recordView()->edit("LNAME")->text(), "Stays");
    EXPECT_EQ(w->CurrentOrderName, "LNAME");
    w.reset();
    EXPECT_EQ(readRecords(dataFile("add0001.DBF")).size(), 1u);
}

TEST_F(WindowTest, RebuildSystemIndexesRecreatesTheirIndexFiles) {
    auto w = start();
    const QString cdx = home_.sysDataDir() + "/CSZ.CDX";
    ASSERT_TRUE(QFile::exists(cdx));
    ASSERT_TRUE(QFile::remove(cdx));
    onNextDialog<TSystemReindex>(
        [](TSystemReindex* d) { QTest::mouseClick(d->ReindexButton, Qt::LeftButton); });
    w->action("mnuSysReindex")->trigger();
    EXPECT_TRUE(QFile::exists(cdx));
}

TEST_F(WindowTest, F1AndHelpButtonsOpenTheirPages) {
    auto w = start();
    w->recordView()->edit("CITY")->setFocus();
    QTest::keyClick(w->recordView()->edit("CITY"), Qt::Key_F1);
    auto* help = qobject_cast<THelpWindow*>(HelpSystem::window());
    ASSERT_NE(help, nullptr);
    EXPECT_EQ(help->browser()->source(), HelpSystem::pageUrl("main-window.html"));
    EXPECT_TRUE(help->browser()->toPlainText().contains("The main window"));

    onNextDialog<TCreateNewDatabase>([](TCreateNewDatabase* d) {
        QTest::mouseClick(d->HelpButton, Qt::LeftButton);
        d->reject();
    });
    w->action("mnuNew")->trigger();
    EXPECT_EQ(help->browser()->source(), HelpSystem::pageUrl("new-database.html"));

    // Back and Forward go through the pages seen.
    auto* back = help->findChild<QPushButton*>("BackButton");
    auto* forward = help->findChild<QPushButton*>("ForwardButton");
    ASSERT_TRUE(back && forward);
    QTest::mouseClick(back, Qt::LeftButton);
    EXPECT_EQ(help->browser()->source(), HelpSystem::pageUrl("main-window.html"));
    QTest::mouseClick(forward, Qt::LeftButton);
    EXPECT_EQ(help->browser()->source(), HelpSystem::pageUrl("new-database.html"));
    help->close();
}

TEST_F(WindowTest, RightClickOffersWhatsThis) {
    auto w = start();
    QLineEdit* city = w->recordView()->edit("CITY");
    QStringList offered;
    bool shown = false;
    QTimer::singleShot(50, [&] {
        auto* menu = qobject_cast<QMenu*>(QApplication::activePopupWidget());
        ASSERT_NE(menu, nullptr);
        for (QAction* a : menu->actions()) offered << a->text();
        menu->setActiveAction(menu->actions().first());
        QTest::keyClick(menu, Qt::Key_Return);
    });
    QContextMenuEvent event(QContextMenuEvent::Mouse, QPoint(5, 5), city->mapToGlobal(QPoint(5, 5)));
    QApplication::sendEvent(city, &event);
    for (QWidget* top : QApplication::topLevelWidgets()) {
        shown = shown || (QString(top->metaObject()->className()) == "QWhatsThat" && top->isVisible());
    }
    ASSERT_FALSE(offered.isEmpty());
    EXPECT_EQ(offered.first(), "What's this?");
    EXPECT_TRUE(offered.join("|").contains("Copy"));  // the edit keeps its own commands
    EXPECT_TRUE(shown);
}

}  // namespace
