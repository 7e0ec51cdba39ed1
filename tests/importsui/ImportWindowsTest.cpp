// The windows of the imports and of Copy Records Out, driven as a user drives them.

#include <gtest/gtest.h>

#include <QCheckBox>
#include <QComboBox>
#include <QGroupBox>
#include <QHeaderView>
#include <QLabel>
#include <QMenu>
#include <QProgressBar>
#include <QPushButton>
#include <QRadioButton>
#include <QTableView>
#include <QTableWidget>
#include <QTest>
#include <QTimer>

#include "../imports/ImportTestSupport.h"
#include "NextDialog.h"
#include "Screenshot.h"
#include "ScriptedMessages.h"
#include "TAsciiImport.h"
#include "TAsciiMatch.h"
#include "TCopyOut.h"
#include "TDBFImport.h"
#include "TDBFMatch.h"
#include "TImportOlder.h"
#include "TVCardImport.h"

namespace {

// Picks the entry `text` of the next popup menu with the keyboard, as a user would;
// an empty text closes it with Escape. Keeps the entries it showed, and which was
// checked, in `entries` ("*" before the checked one).
void chooseInNextMenu(const QString& text, QStringList* entries = nullptr) {
    auto* timer = new QTimer;
    auto* waited = new int(0);
    timer->setInterval(10);
    QObject::connect(timer, &QTimer::timeout, [=] {
        auto* menu = qobject_cast<QMenu*>(QApplication::activePopupWidget());
        if (!menu && ++*waited < 300) return;
        timer->stop();
        timer->deleteLater();
        delete waited;
        if (!menu) {
            ADD_FAILURE() << "no menu came";
            return;
        }
        QAction* pick = nullptr;
        for (QAction* a : menu->actions()) {
            if (entries) *entries << (a->isChecked() ? "*" : "") + a->text();
            if (a->text() == text) pick = a;
        }
        if (pick) {
            menu->setActiveAction(pick);
            QTest::keyClick(menu, Qt::Key_Return);
        } else {
            QTest::keyClick(menu, Qt::Key_Escape);
        }
    });
    timer->start();
}

// Opens a drop-down with the mouse and picks `text` in its list with the keyboard,
// as a user would.
void chooseInComboBox(QComboBox* box, const QString& text) {
    ASSERT_TRUE(box);
    const int wanted = box->findText(text);
    ASSERT_GE(wanted, 0) << text.toStdString();
    QTest::mouseClick(box, Qt::LeftButton);
    QAbstractItemView* list = box->view();
    for (int i = 0; i < 500 && !list->isVisible(); ++i) QTest::qWait(10);
    ASSERT_TRUE(list->isVisible()) << "the list did not open";
    for (int i = box->currentIndex(); i < wanted; ++i) QTest::keyClick(QApplication::focusWidget(), Qt::Key_Down);
    for (int i = box->currentIndex(); i > wanted; --i) QTest::keyClick(QApplication::focusWidget(), Qt::Key_Up);
    QTest::keyClick(QApplication::focusWidget(), Qt::Key_Return);
    for (int i = 0; i < 500 && list->isVisible(); ++i) QTest::qWait(10);
}

// Clicks a check box on its box (its middle may lie past its text).
void clickCheckBox(QCheckBox* box) {
    QTest::mouseClick(box, Qt::LeftButton, {}, QPoint(8, box->height() / 2));
}

int rowLabelled(QTableWidget* grid, const QString& label) {
    for (int row = 0; row < grid->rowCount(); ++row) {
        if (grid->item(row, 0)->text() == label) return row;
    }
    return -1;
}

QString matchedIn(QTableWidget* grid, const QString& label) {
    return grid->item(rowLabelled(grid, label), 1)->text();
}

class ImportWindows : public ::testing::Test {
  protected:
    AddressFileFixture f_;
    ScriptedMessages messages_;
};

TEST_F(ImportWindows, AsciiImportMatchesThroughTheGridMenuAndImports) {
    const QString csv = f_.file("people.csv");
    writeFile(csv, "Smith,John,Boston\r\nMüller,Jürgen,Köln\r\n\"Lee, Jr\",Ann,\r\n");
    TAsciiImport dialog(f_.table());
    EXPECT_EQ(dialog.windowTitle(), "ASCII File Import");
    EXPECT_EQ(dialog.FileNameLabel->text(), "(none)");
    EXPECT_FALSE(dialog.MatchButton->isEnabled());
    EXPECT_FALSE(dialog.ImportButton->isEnabled());
    dialog.fileChooser = [&] { return csv; };

    onNextDialog<TAsciiImport>([&](TAsciiImport* d) {
        QTest::mouseClick(d->SelectButton, Qt::LeftButton);
        EXPECT_EQ(d->FileNameLabel->text(), csv);
        EXPECT_TRUE(d->MatchButton->isEnabled());
        EXPECT_FALSE(d->ImportButton->isEnabled());
        screenshot(d, "TAsciiImport");

        onNextDialog<TAsciiMatch>([&](TAsciiMatch* m) {
            EXPECT_EQ(m->windowTitle(), "ASCII File Import Match Fields");
            EXPECT_EQ(m->SampleLabel->text(), "Sample ASCII &Fields");
            auto* sample = qobject_cast<QTableWidget*>(m->SampleGrid);
            ASSERT_TRUE(sample);
            EXPECT_EQ(sample->rowCount(), 3);
            EXPECT_EQ(sample->horizontalHeaderItem(2)->text(), "Field 3");
            EXPECT_EQ(sample->item(2, 0)->text(), "Lee, Jr");
            EXPECT_EQ(m->MatchGrid->horizontalHeaderItem(0)->text(), "Quillory Field");
            EXPECT_EQ(m->MatchGrid->horizontalHeaderItem(1)->text(), "Import from Field (in people.csv)");
            // Field 2 into Last Name, then into First Name: it moves.
            m->MatchGrid->setCurrentCell(rowLabelled(m->MatchGrid, "Last Name"), 0);
            QStringList entries;
            chooseInNextMenu("Field 2", &entries);
            QTest::mouseClick(m->SelectFieldButton, Qt::LeftButton);
            EXPECT_EQ(entries, QStringList({"*(none)", "Field 1", "Field 2", "Field 3"}));
            EXPECT_EQ(matchedIn(m->MatchGrid, "Last Name"), "Field 2");
            const int first = rowLabelled(m->MatchGrid, "First Name");
            chooseInNextMenu("Field 2");
            // The row's field name: its second cell holds the drop-down.
            const QPoint cell = m->MatchGrid->visualRect(m->MatchGrid->model()->index(first, 0)).center();
            // A double click is a click and then the second press.
            QTest::mouseClick(m->MatchGrid->viewport(), Qt::LeftButton, {}, cell);
            QTest::mouseDClick(m->MatchGrid->viewport(), Qt::LeftButton, {}, cell);
            EXPECT_EQ(matchedIn(m->MatchGrid, "Last Name"), "");
            EXPECT_EQ(matchedIn(m->MatchGrid, "First Name"), "Field 2");
            m->MatchGrid->setCurrentCell(rowLabelled(m->MatchGrid, "Last Name"), 0);
            chooseInNextMenu("Field 1");
            QTest::mouseClick(m->SelectFieldButton, Qt::LeftButton);
            // City in one step, in its drop-down.
            chooseInComboBox(m->SourceBox(rowLabelled(m->MatchGrid, "City")), "Field 3");
            EXPECT_EQ(matchedIn(m->MatchGrid, "City"), "Field 3");
            screenshot(m, "TAsciiMatch");
            QTest::mouseClick(m->OkButton, Qt::LeftButton);
        });
        QTest::mouseClick(d->MatchButton, Qt::LeftButton);
        EXPECT_TRUE(d->ImportButton->isEnabled());

        // Opened again, the dialog shows the matches; Clear All and Cancel change nothing.
        onNextDialog<TAsciiMatch>([&](TAsciiMatch* m) {
            EXPECT_EQ(matchedIn(m->MatchGrid, "City"), "Field 3");
            QTest::mouseClick(m->ClearAllButton, Qt::LeftButton);
            EXPECT_EQ(matchedIn(m->MatchGrid, "City"), "");
            QTest::mouseClick(m->CancelButton, Qt::LeftButton);
        });
        QTest::mouseClick(d->MatchButton, Qt::LeftButton);
        EXPECT_EQ(d->match().sourceOf(d->match().rowNamed("City")), 2);

        QTest::mouseClick(d->ImportButton, Qt::LeftButton);
        EXPECT_FALSE(d->SelectButton->isVisible());
        EXPECT_FALSE(d->ImportButton->isVisible());
        EXPECT_TRUE(d->Gauge->isVisible());
    });
    EXPECT_EQ(dialog.exec(), QDialog::Accepted);
    EXPECT_EQ(messages_.texts(), QStringList({"Information: Import complete. Imported 3 records."}));
    EXPECT_EQ(f_.records(), (std::vector<Record>{{{"LNAME", "Smith"}, {"FNAME", "John"}, {"CITY", "Boston"}},
                                                 {{"LNAME", "Müller"}, {"FNAME", "Jürgen"}, {"CITY", "Köln"}},
                                                 {{"LNAME", "Lee, Jr"}, {"FNAME", "Ann"}}}));
    EXPECT_TRUE(AddressFile::CheckValidIndex(f_.table()));
}

TEST_F(ImportWindows, AsciiImportByTheFirstLinesNamesAndAFileItCannotUse) {
    const QString oneLine = f_.file("one.csv"), named = f_.file("named.csv");
    writeFile(oneLine, "just one line\n");
    writeFile(named, "Last Name,City,Shoe size\nSmith,Boston,9\nJones,Albany,11\n");
    TAsciiImport dialog(f_.table());
    QString chosen = oneLine;
    dialog.fileChooser = [&] { return chosen; };
    onNextDialog<TAsciiImport>([&](TAsciiImport* d) {
        QTest::mouseClick(d->SelectButton, Qt::LeftButton);
        EXPECT_EQ(messages_.texts(), QStringList({"Information: Unable to import from this file"}));
        EXPECT_EQ(d->FileNameLabel->text(), "(none)");
        EXPECT_FALSE(d->MatchButton->isEnabled());
        EXPECT_FALSE(d->ImportButton->isEnabled());
        chosen = named;
        QTest::mouseClick(d->SelectButton, Qt::LeftButton);
        // The names are found: the box is ticked, and they match.
        EXPECT_TRUE(d->FirstLineCheckBox->isChecked());
        EXPECT_TRUE(d->ImportButton->isEnabled());
        clickCheckBox(d->FirstLineCheckBox);
        EXPECT_FALSE(d->ImportButton->isEnabled());
        clickCheckBox(d->FirstLineCheckBox);
        EXPECT_TRUE(d->ImportButton->isEnabled());
        onNextDialog<TAsciiMatch>([&](TAsciiMatch* m) {
            auto* sample = qobject_cast<QTableWidget*>(m->SampleGrid);
            ASSERT_TRUE(sample);
            EXPECT_EQ(sample->rowCount(), 2);  // the names head the columns
            EXPECT_EQ(sample->horizontalHeaderItem(0)->text(), "Last Name");
            EXPECT_EQ(sample->horizontalHeaderItem(2)->text(), "Shoe size");
            EXPECT_EQ(sample->item(0, 0)->text(), "Smith");
            EXPECT_EQ(matchedIn(m->MatchGrid, "Last Name"), "Last Name");
            EXPECT_EQ(matchedIn(m->MatchGrid, "City"), "City");
            QTest::mouseClick(m->OkButton, Qt::LeftButton);
        });
        QTest::mouseClick(d->MatchButton, Qt::LeftButton);
        QTest::mouseClick(d->ImportButton, Qt::LeftButton);
    });
    dialog.exec();
    EXPECT_EQ(f_.records(), (std::vector<Record>{{{"LNAME", "Smith"}, {"CITY", "Boston"}},
                                                 {{"LNAME", "Jones"}, {"CITY", "Albany"}}}));
}

// Cancel stops the import after the record it is on, without a question; the records
// so far stay and the indexes are rebuilt (Cancel is gone meanwhile).
// A spreadsheet's CSV: its quoting is told (and can be changed), its column names
// head the sample and match; the matching window comes back where the user put it.
TEST_F(ImportWindows, AsciiImportOfASpreadsheetsCsv) {
    const QString csv = f_.file("sheet.csv");
    writeFile(csv,
              "First Name,Last Name,Company,Notes\r\n"
              "Zoë,Müller,\"Acme, Inc.\",\"line one\r\nline \"\"two\"\"\"\r\n"
              "Ann,Lee,\"Say \"\"hi\"\"\",\r\n");
    TAsciiImport dialog(f_.table());
    dialog.fileChooser = [&] { return csv; };
    dialog.settingsPath = f_.file("QUILLO.ini");
    QPoint placed;
    onNextDialog<TAsciiImport>([&](TAsciiImport* d) {
        QTest::mouseClick(d->SelectButton, Qt::LeftButton);
        EXPECT_EQ(d->DialectBox->currentIndex(), int(CsvDialect::Dialect::Rfc4180));
        EXPECT_TRUE(d->FirstLineCheckBox->isChecked());
        screenshot(d, "TAsciiImport-spreadsheet");
        onNextDialog<TAsciiMatch>([&](TAsciiMatch* m) {
            auto* sample = qobject_cast<QTableWidget*>(m->SampleGrid);
            ASSERT_TRUE(sample);
            EXPECT_EQ(sample->horizontalHeaderItem(3)->text(), "Notes");
            EXPECT_EQ(sample->item(0, 3)->text(), "line one\r\nline \"two\"");
            EXPECT_EQ(matchedIn(m->MatchGrid, "First Name"), "First Name");
            EXPECT_EQ(matchedIn(m->MatchGrid, "Organization"), "Company");
            EXPECT_EQ(matchedIn(m->MatchGrid, "MEMO"), "Notes");
            screenshot(m, "TAsciiMatch-spreadsheet");
            m->move(m->pos() + QPoint(37, 23));
            placed = m->pos();
            QTest::mouseClick(m->OkButton, Qt::LeftButton);
        });
        QTest::mouseClick(d->MatchButton, Qt::LeftButton);
        onNextDialog<TAsciiMatch>([&](TAsciiMatch* m) {
            EXPECT_EQ(m->pos(), placed);
            QTest::mouseClick(m->CancelButton, Qt::LeftButton);
        });
        QTest::mouseClick(d->MatchButton, Qt::LeftButton);

        // Read by the program's own rules, the doubled quotes stay doubled.
        QTest::keyClick(d->DialectBox, Qt::Key_Up);
        EXPECT_EQ(d->sample().dialect, CsvDialect::Dialect::Own);
        EXPECT_EQ(d->sample().lines.size(), 4u);
        QTest::keyClick(d->DialectBox, Qt::Key_Down);
        EXPECT_EQ(d->sample().dialect, CsvDialect::Dialect::Rfc4180);
        EXPECT_TRUE(d->ImportButton->isEnabled());
        QTest::mouseClick(d->ImportButton, Qt::LeftButton);
    });
    EXPECT_EQ(dialog.exec(), QDialog::Accepted);
    EXPECT_EQ(f_.records(),
              (std::vector<Record>{
                  {{"FNAME", "Zoë"}, {"LNAME", "Müller"}, {"ORG", "Acme, Inc."}, {"MEMO", "line one\r\nline \"two\""}},
                  {{"FNAME", "Ann"}, {"LNAME", "Lee"}, {"ORG", "Say \"hi\""}}}));
}

// Every button, check box and caption of the import windows has an Alt key of its own.
TEST_F(ImportWindows, EveryChoiceHasItsOwnAltKey) {
    auto keysOf = [](QWidget* window) {
        QStringList texts;
        for (QWidget* w : window->findChildren<QWidget*>()) {
            QString text;
            if (auto* b = qobject_cast<QAbstractButton*>(w)) text = b->text();
            if (auto* l = qobject_cast<QLabel*>(w); l && l->objectName() != "StatusLabel" &&
                                                    l->objectName() != "FileNameLabel" && !l->text().isEmpty()) {
                text = l->text();
            }
            if (!text.isEmpty() && w->isVisibleTo(window)) texts << text;
        }
        QStringList keys;
        for (const QString& t : texts) {
            const int amp = t.indexOf('&');
            EXPECT_GE(amp, 0) << window->objectName().toStdString() << ": " << t.toStdString();
            if (amp >= 0) keys << t.mid(amp + 1, 1).toLower();
        }
        EXPECT_EQ(keys.removeDuplicates(), 0) << window->objectName().toStdString() << ": "
                                              << texts.join(" | ").toStdString();
    };
    const QString csv = f_.file("people.csv");
    writeFile(csv, "Smith,John\nLee,Ann\n");
    TAsciiImport ascii(f_.table());
    ascii.fileChooser = [&] { return csv; };
    onNextDialog<TAsciiImport>([&](TAsciiImport* d) {
        keysOf(d);
        QTest::mouseClick(d->SelectButton, Qt::LeftButton);
        onNextDialog<TAsciiMatch>([&](TAsciiMatch* m) {
            keysOf(m);
            QTest::mouseClick(m->CancelButton, Qt::LeftButton);
        });
        QTest::mouseClick(d->MatchButton, Qt::LeftButton);
        QTest::mouseClick(d->CancelButton, Qt::LeftButton);
    });
    ascii.exec();
    TDBFImport dbf(f_.table(), f_.path());
    onNextDialog<TDBFImport>([&](TDBFImport* d) {
        keysOf(d);
        QTest::mouseClick(d->CancelButton, Qt::LeftButton);
    });
    dbf.exec();
    TVCardImport vcard(f_.table());
    onNextDialog<TVCardImport>([&](TVCardImport* d) {
        keysOf(d);
        QTest::mouseClick(d->CancelButton, Qt::LeftButton);
    });
    vcard.exec();
}

TEST_F(ImportWindows, CancelStopsTheImportWithoutAQuestion) {
    const QString csv = f_.file("many.csv");
    QByteArray bytes;
    for (int i = 0; i < 200000; ++i) bytes += "Name" + QByteArray::number(i) + ",x\n";
    writeFile(csv, bytes);
    TAsciiImport dialog(f_.table());
    dialog.fileChooser = [&] { return csv; };
    bool cancelShownInRebuild;
    onNextDialog<TAsciiImport>([&](TAsciiImport* d) {
        QTest::mouseClick(d->SelectButton, Qt::LeftButton);
        clickCheckBox(d->FirstLineCheckBox);  // no names: nothing matched
        clickCheckBox(d->FirstLineCheckBox);
        onNextDialog<TAsciiMatch>([](TAsciiMatch* m) {
            m->MatchGrid->setCurrentCell(0, 0);
            chooseInNextMenu("Field 1");
            QTest::mouseClick(m->SelectFieldButton, Qt::LeftButton);
            QTest::mouseClick(m->OkButton, Qt::LeftButton);
        });
        QTest::mouseClick(d->MatchButton, Qt::LeftButton);
        QTest::mouseClick(d->ImportButton, Qt::LeftButton);
        QTimer::singleShot(0, d, [d] {
            screenshot(d, "TAsciiImport-running");
            QTest::mouseClick(d->CancelButton, Qt::LeftButton);
        });
    });
    dialog.exec();
    cancelShownInRebuild = dialog.CancelButton->isVisibleTo(&dialog);
    ASSERT_EQ(messages_.requests.size(), 1u);
    const QString text = messages_.requests[0].text;
    EXPECT_TRUE(text.startsWith("Import cancelled after importing ")) << text.toStdString();
    const uint32_t n = text.mid(33).section(' ', 0, 0).toUInt();
    EXPECT_GT(n, 0u);
    EXPECT_LT(n, 200000u);
    EXPECT_EQ(f_.table().recCount(), n);
    EXPECT_TRUE(AddressFile::CheckValidIndex(f_.table()));
    EXPECT_FALSE(cancelShownInRebuild);
}

TEST_F(ImportWindows, DbfImportMatchesAutomaticallyTheFirstTime) {
    const QString path = f_.file("source.dbf");
    {
        xbase::TableSpec spec;
        spec.fields = {{"LNAME", 'C', 20}, {"Town", 'C', 20}, {"NOTES", 'M', 10}, {"BORN", 'D', 8}};
        ASSERT_TRUE(xbase::Table::create(path.toStdString(), spec).ok());
        std::unique_ptr<xbase::Table> t;
        ASSERT_TRUE(xbase::Table::open(path.toStdString(), xbase::OpenMode::Exclusive, &t).ok());
        for (const char* name : {"Adams", "Baker"}) {
            ASSERT_TRUE(t->appendBlank().ok());
            ASSERT_TRUE(t->replace(0, name).ok());
            ASSERT_TRUE(t->replace(1, std::string(name) + "ville").ok());
            ASSERT_TRUE(t->replace(2, std::string("notes on ") + name).ok());
        }
        ASSERT_TRUE(t->close().ok());
    }
    TDBFImport dialog(f_.table(), f_.path());
    EXPECT_EQ(dialog.windowTitle(), "DBF File Import");
    QString chosen = f_.path();
    dialog.fileChooser = [&] { return chosen; };
    onNextDialog<TDBFImport>([&](TDBFImport* d) {
        QTest::mouseClick(d->SelectButton, Qt::LeftButton);
        EXPECT_EQ(messages_.texts(), QStringList({"Information: Cannot import a file to itself"}));
        EXPECT_EQ(d->FileNameLabel->text(), "(none)");
        chosen = path;
        QTest::mouseClick(d->SelectButton, Qt::LeftButton);
        EXPECT_FALSE(d->ImportButton->isEnabled());
        onNextDialog<TDBFMatch>([&](TDBFMatch* m) {
            EXPECT_EQ(m->windowTitle(), "DBF File Import Match Fields");
            EXPECT_EQ(m->SampleGrid->model()->rowCount(), 2);
            EXPECT_EQ(m->SampleGrid->model()->index(1, 1).data().toString(), "Bakerville");
            EXPECT_EQ(matchedIn(m->MatchGrid, "Last Name"), "LNAME");
            EXPECT_EQ(matchedIn(m->MatchGrid, "MEMO"), "NOTES");
            EXPECT_EQ(rowLabelled(m->MatchGrid, "Deleted"), -1);
            QStringList entries;
            m->MatchGrid->setCurrentCell(rowLabelled(m->MatchGrid, "MEMO"), 0);
            chooseInNextMenu("", &entries);
            QTest::mouseClick(m->SelectFieldButton, Qt::LeftButton);
            EXPECT_EQ(entries, QStringList({"(none)", "*NOTES"}));
            entries.clear();
            m->MatchGrid->setCurrentCell(rowLabelled(m->MatchGrid, "City"), 0);
            chooseInNextMenu("TOWN", &entries);
            QTest::mouseClick(m->SelectFieldButton, Qt::LeftButton);
            EXPECT_EQ(entries, QStringList({"*(none)", "LNAME", "TOWN", "BORN"}));
            screenshot(m, "TDBFMatch");
            QTest::mouseClick(m->OkButton, Qt::LeftButton);
        });
        QTest::mouseClick(d->MatchButton, Qt::LeftButton);
        EXPECT_TRUE(d->ImportButton->isEnabled());
        screenshot(d, "TDBFImport");
        QTest::mouseClick(d->ImportButton, Qt::LeftButton);
    });
    EXPECT_EQ(dialog.exec(), QDialog::Accepted);
    EXPECT_EQ(f_.records(), (std::vector<Record>{
                                {{"LNAME", "Adams"}, {"CITY", "Adamsville"}, {"MEMO", "notes on Adams"}},
                                {{"LNAME", "Baker"}, {"CITY", "Bakerville"}, {"MEMO", "notes on Baker"}}}));
}

TEST_F(ImportWindows, OlderImportChecksTheLayout) {
    const QString path = f_.file("OLD.DBF");
    {
        xbase::TableSpec spec;
        for (const char* name : OlderImport::Layout(OlderImport::Version::V1)) {
            spec.fields.push_back({name, std::string(name) == "MEMO" ? 'M' : 'C',
                                   uint16_t(std::string(name) == "MEMO" ? 10 : 20)});
        }
        ASSERT_TRUE(xbase::Table::create(path.toStdString(), spec).ok());
        std::unique_ptr<xbase::Table> t;
        ASSERT_TRUE(xbase::Table::open(path.toStdString(), xbase::OpenMode::Exclusive, &t).ok());
        ASSERT_TRUE(t->appendBlank().ok());
        ASSERT_TRUE(t->replace(t->fieldIndex("LNAME"), "Older").ok());
        ASSERT_TRUE(t->close().ok());
    }
    TImportOlder dialog(f_.table(), f_.path(), OlderImport::Version::V2);
    EXPECT_EQ(dialog.windowTitle(), "Import Quillory 2.x DBF");
    EXPECT_FALSE(dialog.MatchButton->isVisibleTo(&dialog));
    dialog.fileChooser = [&] { return path; };
    onNextDialog<TImportOlder>([&](TImportOlder* d) {
        QTest::mouseClick(d->SelectButton, Qt::LeftButton);
        EXPECT_EQ(messages_.texts(),
                  QStringList({"Information: " + path + " does not appear to be a Quillory 2.x DBF"}));
        EXPECT_FALSE(d->ImportButton->isEnabled());
        QTest::mouseClick(d->CancelButton, Qt::LeftButton);
    });
    EXPECT_EQ(dialog.exec(), QDialog::Rejected);

    TImportOlder first(f_.table(), f_.path(), OlderImport::Version::V1);
    first.fileChooser = [&] { return path; };
    onNextDialog<TImportOlder>([&](TImportOlder* d) {
        QTest::mouseClick(d->SelectButton, Qt::LeftButton);
        screenshot(d, "TImportOlder");
        QTest::mouseClick(d->ImportButton, Qt::LeftButton);
    });
    EXPECT_EQ(first.exec(), QDialog::Accepted);
    EXPECT_EQ(f_.records(), (std::vector<Record>{{{"LNAME", "Older"}}}));
}

TEST_F(ImportWindows, CopyOutChecksTheNameAndCopies) {
    f_.add({{"LNAME", "Smith"}, {"FNAME", "John"}});
    f_.add({{"LNAME", "Adams"}});
    f_.table().setDeleted(true);
    ASSERT_TRUE(f_.table().query("!ISDEL").ok());
    writeFile(f_.file("there.txt"), "old");
    TCopyOut dialog(f_.table(), f_.path(), f_.file(""));
    EXPECT_EQ(dialog.windowTitle(), "Copy Records Out");
    EXPECT_TRUE(dialog.DbfRadio->isChecked());
    EXPECT_EQ(dialog.TextRadio->text(), "Copy to an &ASCII file (comma delimited)");
    QStringList asked;
    QString answer;
    dialog.fileChooser = [&](const QString& filter, const QString& extension, const QString& start) {
        asked << filter + " | " + extension + " | " + QFileInfo(start).fileName();
        return answer;
    };
    onNextDialog<TCopyOut>([&](TCopyOut* d) {
        screenshot(d, "TCopyOut");
        answer = f_.file("CUSTOMERS.TXT");
        QTest::mouseClick(d->SaveAsButton, Qt::LeftButton);
        EXPECT_EQ(messages_.texts().value(0), "Information: Must have a .DBF extension");
        QTest::mouseClick(d->TextRadio, Qt::LeftButton);
        answer = f_.file("there.txt");
        messages_.answers.push_back(false);
        QTest::mouseClick(d->SaveAsButton, Qt::LeftButton);
        EXPECT_EQ(messages_.texts().value(1), "(No) Warning!: " + f_.file("there.txt") +
                                                  " already exists.\r\nDo you want to overwrite it?");
        EXPECT_TRUE(d->chosenPath().isEmpty());
        EXPECT_TRUE(d->SaveAsButton->isVisible());
        messages_.answers.push_back(true);
        QTest::mouseClick(d->SaveAsButton, Qt::LeftButton);
        EXPECT_FALSE(d->KindBox->isVisible());
    });
    EXPECT_EQ(dialog.exec(), QDialog::Accepted);
    EXPECT_EQ(asked,
              QStringList({"DBF files (*.DBF *.dbf) | DBF | *.DBF", "Text files (*.TXT *.txt) | TXT | *.TXT",
                           "Text files (*.TXT *.txt) | TXT | *.TXT"}));
    EXPECT_EQ(dialog.copied(), 2u);
    EXPECT_TRUE(readFile(f_.file("there.txt")).startsWith("\"\",\"John\",\"\",\"Smith\""));
}

// Cancel during a copy asks first, No preset; Yes stops it with the records copied so
// far in the file.
TEST_F(ImportWindows, CancellingACopyAsksFirst) {
    for (const char* name : {"Adams", "Baker", "Clark"}) f_.add({{"LNAME", name}});
    TCopyOut dialog(f_.table(), f_.path(), f_.file(""));
    const QString out = f_.file("part.txt");
    dialog.fileChooser = [&](const QString&, const QString&, const QString&) { return out; };
    onNextDialog<TCopyOut>([&](TCopyOut* d) {
        d->TextRadio->click();
        messages_.answers.push_back(true);
        // The click comes once the gauge shows the first record copied.
        QObject::connect(d->Gauge, &QProgressBar::valueChanged, d, [d](int value) {
            if (value > 0 && !d->stopRequested()) QTest::mouseClick(d->CancelButton, Qt::LeftButton);
        });
        QTest::mouseClick(d->SaveAsButton, Qt::LeftButton);
    });
    EXPECT_EQ(dialog.exec(), QDialog::Rejected);
    EXPECT_EQ(messages_.texts(), QStringList({"(No) Cancel: Cancel copy?"}));
    EXPECT_EQ(dialog.copied(), 1u);
    EXPECT_EQ(readFile(out).count("\r\n"), 1);
}

}  // namespace
