// The main window's imports and Copy Records Out: the checks before their windows and
// what the window finds afterwards.

#include <QCheckBox>
#include <QComboBox>
#include <QFile>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QTest>

#include "CodePage.h"
#include "OlderImport.h"
#include "RecordView.h"
#include "TAsciiImport.h"
#include "TVCardImport.h"
#include "TCopyOut.h"
#include "TDBFImport.h"
#include "TImportOlder.h"
#include "Table.h"
#include "WindowTestSupport.h"

namespace {

class ImportCommandsTest : public WindowTest {
  protected:
    void SetUp() override {
        WindowTest::SetUp();
        makeAddressFile(dataFile("add0001.DBF"), {{{"LNAME", "Baker"}, {"CITY", "Boston"}},
                                                  {{"LNAME", "Adams"}, {"CITY", "Austin"}},
                                                  {{"LNAME", "Clark"}, {"CITY", "Berlin"}}});
        w_ = start();
    }
    QString filterPanel() const { return w_->findChild<QLabel*>("FilterPanel")->text(); }
    void write(const QString& path, const QByteArray& bytes) {
        QFile f(path);
        ASSERT_TRUE(f.open(QIODevice::WriteOnly));
        f.write(bytes);
    }
    QByteArray read(const QString& path) {
        QFile f(path);
        return f.open(QIODevice::ReadOnly) ? f.readAll() : QByteArray();
    }

    std::unique_ptr<TAddressMain> w_;
};

// A vCard file from the menu: the cards become records, a bad one is named.
TEST_F(ImportCommandsTest, VCardImportFromTheMenu) {
    const QString vcf = dataFile("cards.vcf");
    write(vcf,
          "BEGIN:VCARD\r\nVERSION:3.0\r\nN:Davis;Dee;;;\r\nADR;TYPE=HOME:;;1 Elm St;Denver;CO;80202;\r\n"
          "ADR;TYPE=WORK:;;9 Work Rd;Boulder;CO;80301;\r\nEND:VCARD\r\n"
          "BEGIN:VCARD\r\nVERSION:3.0\r\nN:Broken;;;;\r\nno colon\r\nEND:VCARD\r\n");
    onNextDialog<TVCardImport>([&](TVCardImport* d) {
        EXPECT_EQ(w_->table(), nullptr);
        EXPECT_FALSE(d->MatchButton->isVisible());
        d->fileChooser = [&] { return vcf; };
        QTest::mouseClick(d->SelectButton, Qt::LeftButton);
        EXPECT_TRUE(d->ImportButton->isEnabled());
        QTest::keyClick(d->AddressBox, Qt::Key_Down);
        QTest::keyClick(d->AddressBox, Qt::Key_Down);  // Work
        QTest::mouseClick(d->ImportButton, Qt::LeftButton);
    });
    w_->action("mnuImportVCard")->trigger();
    ASSERT_NE(w_->table(), nullptr);
    EXPECT_EQ(askedTexts(), QStringList({"Information: Import complete. Imported 1 records.",
                                         "Information: Skipped 1 cards:\r\nLine 10: not a vCard property (no colon)"}));
    xbase::Table* t = w_->table();
    ASSERT_EQ(t->recCount(), 4u);
    ASSERT_TRUE(t->go(4).ok());
    EXPECT_EQ(t->getTrimString(t->fieldIndex("LNAME")), "Davis");
    EXPECT_EQ(t->getTrimString(t->fieldIndex("STREET")), "9 Work Rd");
    EXPECT_EQ(t->getTrimString(t->fieldIndex("CITY")), "Boulder");
    EXPECT_TRUE(w_->CheckValidIndex());
}

TEST_F(ImportCommandsTest, ImportsNeedAnOpenFile) {
    w_->OpenQYZDBF(dataFile("missing.DBF"));
    ASSERT_EQ(w_->table(), nullptr);
    asked_.clear();
    EXPECT_FALSE(w_->action("mnuImportASCII")->isEnabled());
    EXPECT_FALSE(w_->action("mnuImportDBF")->isEnabled());
    w_->ImportAscii();
    w_->ImportDbf();
    w_->action("mnuImportOld1")->trigger();
    w_->action("mnuImportOld2")->trigger();
    EXPECT_EQ(askedTexts(), QStringList(4, "Information: You need to have a database file open first"));
}

// The import works on the file while the window lets go of it, and the window shows
// the file again afterwards, with the new records counted.
TEST_F(ImportCommandsTest, AsciiImportFromTheMenuReopensTheFile) {
    const QString csv = dataFile("more.csv");
    write(csv, "Last Name,City\nDavis,Denver\nEvans,Erie\n");
    onNextDialog<TAsciiImport>([&](TAsciiImport* d) {
        // The window's own table is closed meanwhile: the import has the file to itself.
        EXPECT_EQ(w_->table(), nullptr);
        d->fileChooser = [&] { return csv; };
        QTest::mouseClick(d->SelectButton, Qt::LeftButton);
        EXPECT_TRUE(d->FirstLineCheckBox->isChecked());  // the names are found
        QTest::mouseClick(d->ImportButton, Qt::LeftButton);
    });
    w_->action("mnuImportASCII")->trigger();
    ASSERT_NE(w_->table(), nullptr);
    EXPECT_EQ(askedTexts(), QStringList({"Information: Import complete. Imported 2 records."}));
    EXPECT_EQ(filterPanel(), "5 records (no filter)");
    EXPECT_EQ(w_->recordView()->edit("LNAME")->text(), "Adams");
    EXPECT_TRUE(w_->CheckValidIndex());
}

TEST_F(ImportCommandsTest, AnImportThatCannotOpenTheFileSaysSo) {
    // The file goes while the window has it open: the import cannot open it again.
    ASSERT_TRUE(QFile::remove(dataFile("add0001.DBF")));
    w_->action("mnuImportDBF")->trigger();
    EXPECT_EQ(askedTexts().value(0), "Information: Unknown error. Unable to do ASCII import at this time");
    EXPECT_EQ(w_->table(), nullptr);
}

TEST_F(ImportCommandsTest, OlderImportAppendsToTheOpenFile) {
    const QString old = dataFile("OLD2.DBF");
    xbase::TableSpec design;
    for (const char* name : OlderImport::Layout(OlderImport::Version::V2)) {
        const std::string n = name;
        design.fields.push_back({n,
                               n == "MEMO"    ? 'M'
                               : n == "ISDEL" ? 'L'
                                              : 'C',
                               uint16_t(n == "MEMO"    ? 10
                                        : n == "ISDEL" ? 1
                                                       : 20)});
    }
    ASSERT_TRUE(xbase::Table::create(old.toStdString(), design).ok());
    {
        std::unique_ptr<xbase::Table> t;
        ASSERT_TRUE(xbase::Table::open(old.toStdString(), xbase::OpenMode::Exclusive, &t).ok());
        ASSERT_TRUE(t->appendBlank().ok());
        ASSERT_TRUE(t->replace(t->fieldIndex("LNAME"), "Aaron").ok());
        ASSERT_TRUE(t->close().ok());
    }
    onNextDialog<TImportOlder>([&](TImportOlder* d) {
        EXPECT_EQ(d->windowTitle(), "Import Quillory 2.x DBF");
        d->fileChooser = [&] { return w_->CurrentFileName; };
        QTest::mouseClick(d->SelectButton, Qt::LeftButton);
        EXPECT_EQ(askedTexts().value(0), "Information: Cannot import a file to itself");
        d->fileChooser = [&] { return old; };
        QTest::mouseClick(d->SelectButton, Qt::LeftButton);
        QTest::mouseClick(d->ImportButton, Qt::LeftButton);
    });
    w_->action("mnuImportOld2")->trigger();
    EXPECT_EQ(askedTexts().value(1), "Information: Import complete. Imported 1 records.");
    EXPECT_EQ(filterPanel(), "4 records (no filter)");
    EXPECT_EQ(w_->recordView()->edit("LNAME")->text(), "Aaron");
    EXPECT_TRUE(w_->CheckValidIndex());
}

// The copy takes the window's filter and order; the window stays on its record.
TEST_F(ImportCommandsTest, ExportCopiesTheFilteredRecordsInTheWindowsOrder) {
    w_->FilterState.criteria[FilterCriteria::City] = "B";
    w_->ApplyFilter();
    w_->SetOrderTo("Last Name");
    ASSERT_TRUE(w_->table()->goTop().ok());
    w_->Navigate(RecordEditing::Move::Next);
    const QString shown = w_->recordView()->edit("LNAME")->text();
    const QString csv = dataFile("out.csv");
    onNextDialog<TCopyOut>([&](TCopyOut* d) {
        d->CsvRadio->click();
        d->fileChooser = [&](const QString&, const QString&, const QString&) { return csv; };
        QTest::mouseClick(d->SaveAsButton, Qt::LeftButton);
    });
    w_->action("mnuExport")->trigger();
    const QList<QByteArray> lines = read(csv).split('\n');
    ASSERT_EQ(lines.size(), 4);
    EXPECT_TRUE(lines[1].startsWith(",,,Baker,")) << lines[1].toStdString();
    EXPECT_TRUE(lines[2].startsWith(",,,Clark,")) << lines[2].toStdString();
    EXPECT_EQ(w_->recordView()->edit("LNAME")->text(), shown);

    ASSERT_TRUE(w_->table()->query("LNAME = \"Nobody\"").ok());
    asked_.clear();
    w_->CopyRecordsOut();
    EXPECT_EQ(askedTexts(),
              QStringList({"Information: No active records for current filter. Nothing to copy"}));
}

}  // namespace
