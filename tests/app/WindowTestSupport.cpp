#include "WindowTestSupport.h"

#include <QFile>

#include "AddressFile.h"
#include "CodePage.h"
#include "FieldLengths.h"
#include "HelpSystem.h"
#include "PrinterDevice.h"
#include "Table.h"

std::vector<StoredRecord> readRecords(const QString& path) {
    std::vector<StoredRecord> records;
    std::unique_ptr<xbase::Table> table;
    const xbase::Status s =
        xbase::Table::open(QFile::encodeName(path).toStdString(), xbase::OpenMode::ReadOnlyShared, &table);
    EXPECT_TRUE(s.ok()) << s.toString();
    if (!s.ok()) return records;
    for (uint32_t r = 1; r <= table->recCount(); ++r) {
        EXPECT_TRUE(table->go(r).ok());
        StoredRecord rec;
        rec.values = RecordEditor::read(*table);
        rec.deleted = table->deleted();
        rec.isdel = table->getLogical(table->fieldIndex("ISDEL"));
        records.push_back(rec);
    }
    return records;
}

void makeAddressFile(const QString& path, const std::vector<RecordValues>& records) {
    QString message;
    ASSERT_TRUE(AddressFile::CreateAddressFile(path, FieldLengths(), &message)) << message.toStdString();
    std::unique_ptr<xbase::Table> table;
    ASSERT_TRUE(AddressFile::OpenTableFile(path, &table, &message));
    RecordEditor editor;
    editor.setTable(table.get());
    for (const RecordValues& r : records) {
        editor.append(r);
        ASSERT_TRUE(editor.post().ok());
    }
    editor.setTable(nullptr);
    ASSERT_TRUE(table->close().ok());
}

void WindowTest::SetUp() {
    QString error;
    ASSERT_TRUE(home_.ensureExists(&error)) << error.toStdString();
    writeIni("[Misc]\nGettingStarted=1\n");
    // The main window's font and help, as main() sets them up, once per test program.
    static const bool once = [] {
        QApplication::setFont(QFont("Arial", 10));
        HelpSystem::install();
        return true;
    }();
    (void)once;
}

void WindowTest::TearDown() {
    PrinterDevice::setPrinterListForTesting(std::nullopt);
    HelpSystem::shutDown();
}

void WindowTest::writeIni(const QByteArray& text) {
    QFile file(iniPath());
    ASSERT_TRUE(file.open(QIODevice::WriteOnly | QIODevice::Truncate));
    file.write(text);
}

QByteArray WindowTest::ini() const {
    QFile file(iniPath());
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
}

std::unique_ptr<TAddressMain> WindowTest::start() {
    auto window = std::make_unique<TAddressMain>(home_);
    window->FormActivate();
    QApplication::setActiveWindow(window.get());
    QApplication::processEvents();
    return window;
}

QStringList WindowTest::askedTexts() const {
    QStringList texts;
    for (const auto& r : asked_) texts << r.caption + ": " + r.text;
    return texts;
}
