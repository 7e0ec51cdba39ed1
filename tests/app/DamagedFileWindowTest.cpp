// Damaged files in the main window: a wrong record count is offered for recovery
// before the file opens, an index found damaged while a command walks it is offered
// for rebuild, and a memo that cannot be read is reported and never overwritten.

#include <QFile>
#include <QLabel>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QTest>

#include "AddressFile.h"
#include "IndexPages.h"
#include "RecordView.h"
#include "TAddressFilter.h"
#include "TQYReindex.h"
#include "TTagging.h"
#include "Table.h"
#include "WindowTestSupport.h"

namespace {

QByteArray fileBytes(const QString& path) {
    QFile f(path);
    return f.open(QIODevice::ReadOnly) ? f.readAll() : QByteArray();
}

void setFileBytes(const QString& path, const QByteArray& bytes) {
    QFile f(path);
    ASSERT_TRUE(f.open(QIODevice::WriteOnly | QIODevice::Truncate));
    f.write(bytes);
}

// "Name 1" ... with a memo on each.
std::vector<RecordValues> numbered(int n) {
    std::vector<RecordValues> records;
    for (int i = 1; i <= n; ++i) {
        records.push_back({{"LNAME", QString("Name %1").arg(i)},
                           {"FNAME", QString("First %1").arg(i * 7919 % 1000)},
                           {"MEMO", QString("memo of %1").arg(i)}});
    }
    return records;
}

void clickReindexWhenAsked() {
    onNextDialog<TQYReindex>([](TQYReindex* d) { QTest::mouseClick(d->ReindexButton, Qt::LeftButton); });
}

class DamagedFileWindowTest : public WindowTest {
  protected:
    QString path() const { return dataFile("add0001.DBF"); }
    QString filterPanel(TAddressMain& w) const { return w.findChild<QLabel*>("FilterPanel")->text(); }
};

TEST_F(DamagedFileWindowTest, AWrongRecordCountIsOfferedForRecoveryBeforeTheFileOpens) {
    makeAddressFile(path(), numbered(31));
    QByteArray bytes = fileBytes(path());
    bytes[4] = 0;  // the header's count: 31 becomes 0
    setFileBytes(path(), bytes);
    const QString question = "The record count of " + path() +
                             "\r\nis damaged: the header counts 0 records, but the file holds 31.\r\n"
                             "Recover the records now?";

    // No: the file stays shut and untouched.
    answers_ = {false};
    auto w = start();
    EXPECT_TRUE(wasAsked(question)) << askedTexts().join("\n").toStdString();
    EXPECT_EQ(w->table(), nullptr);
    EXPECT_TRUE(w->CurrentFileName.isEmpty());
    EXPECT_EQ(asked_.size(), 1u) << askedTexts().join("\n").toStdString();  // no "Unable to open" after it
    w.reset();
    EXPECT_EQ(fileBytes(path()), bytes);

    // Yes: the records come back; the index, made for the old count, is rebuilt.
    asked_.clear();
    answers_ = {true, true};
    clickReindexWhenAsked();
    w = start();
    EXPECT_TRUE(wasAsked(question));
    EXPECT_TRUE(wasAsked("Recovered " + path() + ": it holds 31 records"));
    EXPECT_TRUE(wasAsked(AddressFile::rebuildQuestion(path())));
    ASSERT_NE(w->table(), nullptr);
    EXPECT_EQ(w->table()->recCount(), 31u);
    EXPECT_EQ(filterPanel(*w), "31 records (no filter)");
    EXPECT_EQ(w->recordView()->edit("LNAME")->text(), "Name 1");
    w.reset();
    EXPECT_EQ(readRecords(path()).size(), 31u);
}

// The LNAME order with a leaf whose next-page link points to itself.
class CyclicIndexTest : public DamagedFileWindowTest {
  protected:
    void SetUp() override {
        DamagedFileWindowTest::SetUp();
        makeAddressFile(path(), numbered(150));
        const QString cdx = dataFile("add0001.CDX");
        std::string bytes = fileBytes(cdx).toStdString();
        const indexpages::TagPages lname = indexpages::tagPages(bytes, "LNAME");
        ASSERT_GE(lname.leaves.size(), 4u);
        indexpages::put32(bytes, lname.leaves[2] + 8, lname.leaves[2]);
        setFileBytes(cdx, QByteArray::fromStdString(bytes));
        w_ = start();
        ASSERT_NE(w_->table(), nullptr);
        ASSERT_EQ(w_->CurrentOrderName, "LNAME");
        ASSERT_TRUE(asked_.empty()) << askedTexts().join("\n").toStdString();
    }
    std::unique_ptr<TAddressMain> w_;
};

TEST_F(CyclicIndexTest, SearchMemoEndsAndTheIndexIsOfferedForRebuild) {
    w_->memoSearchPrompt = [](const QString&) -> std::optional<QString> { return QString("no such text"); };
    answers_ = {false};
    QTest::mouseClick(w_->recordView()->searchMemoButton(), Qt::LeftButton);
    EXPECT_FALSE(w_->findNextOffered());
    EXPECT_TRUE(QTest::qWaitFor([this] { return wasAsked(AddressFile::rebuildQuestion(path())); }, 2000))
        << askedTexts().join("\n").toStdString();
    EXPECT_EQ(w_->table(), nullptr);  // No, as at open: the file is closed
    w_.reset();
    EXPECT_EQ(readRecords(path()).size(), 150u);
}

TEST_F(CyclicIndexTest, TagAllEndsWithTheErrorAndARebuildMakesTheOrderWhole) {
    onNextDialog<TAddressFilter>([](TAddressFilter* d) {
        d->entry(FilterCriteria::Last)->setText("name");
        QTest::mouseClick(d->OkButton, Qt::LeftButton);
    });
    w_->action("tbFilter")->trigger();
    ASSERT_EQ(filterPanel(*w_), "150 filter matches");

    answers_ = {true, true};  // tag all; rebuild
    onNextDialog<TTagging>([](TTagging* d) { return d->OkButton->isVisible(); },
                           [](TTagging* d) { QTest::mouseClick(d->OkButton, Qt::LeftButton); });
    w_->action("mnuTagAll")->trigger();
    bool reported = false;
    for (const QString& text : askedTexts()) reported |= text.contains("leaf chain is broken");
    EXPECT_TRUE(reported) << askedTexts().join("\n").toStdString();

    clickReindexWhenAsked();
    EXPECT_TRUE(QTest::qWaitFor([this] { return wasAsked(AddressFile::rebuildQuestion(path())); }, 2000));
    ASSERT_NE(w_->table(), nullptr);
    EXPECT_EQ(w_->table()->indexState(), xbase::IndexState::Ok);
    EXPECT_TRUE(w_->table()->verifyIndexes().ok());
    // Every record can be reached in the order again.
    w_->Navigate(RecordEditing::Move::First);
    int seen = 1;
    for (QString last; last != w_->recordView()->edit("LNAME")->text() && seen < 1000; ++seen) {
        last = w_->recordView()->edit("LNAME")->text();
        w_->Navigate(RecordEditing::Move::Next);
    }
    EXPECT_EQ(seen - 1, 150);
}

TEST_F(DamagedFileWindowTest, AMemoThatCannotBeReadIsReportedAndKeptAsItIs) {
    makeAddressFile(path(), {{{"LNAME", "Able"}, {"MEMO", "first memo"}},
                             {{"LNAME", "Baker"}, {"MEMO", "second memo"}},
                             {{"LNAME", "Cole"}, {"MEMO", "third memo"}}});
    const QString memoPath = dataFile("add0001.FPT");
    const QByteArray good = fileBytes(memoPath);
    const struct Case {
        const char* what;
        QByteArray bytes;
        const char* message;
    } cases[] = {
        {"length past the end", QByteArray(good).replace(9 * 64 + 4, 4, QByteArray("\x00\x10\x00\x00", 4)),
         "Memo at block 9 runs past the end of "},
        {"block size 0", QByteArray(good).replace(6, 2, QByteArray(2, '\0')), "Memo file header is damaged"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        setFileBytes(memoPath, c.bytes);
        const QByteArray table = fileBytes(path()), index = fileBytes(dataFile("add0001.CDX"));
        asked_.clear();
        auto w = start();
        RecordView* view = w->recordView();
        if (std::string(c.what) == "length past the end") {
            EXPECT_TRUE(asked_.empty()) << askedTexts().join("\n").toStdString();  // Able's memo reads
            w->Navigate(RecordEditing::Move::Next);
        }
        ASSERT_FALSE(asked_.empty());
        const auto& report = asked_.back();
        EXPECT_EQ(report.kind, ScriptedMessages::Kind::Error);
        EXPECT_EQ(report.caption, "Memo");
        const QString record = w->table()->recNo() == 2 ? "2" : "1";
        EXPECT_TRUE(report.text.startsWith("The memo of record " + record + " cannot be read.\n" + c.message))
            << report.text.toStdString();
        EXPECT_TRUE(view->memo()->isReadOnly());
        EXPECT_TRUE(view->memo()->placeholderText().contains(c.message));

        // Refreshing the same record says it once; editing the record leaves its memo alone.
        const size_t reports = asked_.size();
        w->RefreshRecord();
        EXPECT_EQ(asked_.size(), reports);
        w->EditRecord();
        ASSERT_TRUE(w->editor().editing());
        EXPECT_TRUE(view->memo()->isReadOnly());
        QTest::keyClicks(view->memo(), "typed");
        EXPECT_TRUE(view->memoText().isEmpty());
        QTest::keyClicks(view->edit("CITY"), "Paris");
        ASSERT_TRUE(w->SaveRecord());
        // A clone would lack the memo: it is refused.
        answers_ = {true};
        w->CloneRecord();
        EXPECT_TRUE(asked_.back().text.startsWith("The record was not cloned.")) << asked_.back().text.toStdString();
        w.reset();
        EXPECT_EQ(fileBytes(memoPath), c.bytes);
        const std::vector<StoredRecord> stored = readRecords(path());
        ASSERT_EQ(stored.size(), 3u);
        EXPECT_EQ(stored[size_t(record.toInt() - 1)].values.value("CITY"), "Paris");
        setFileBytes(memoPath, good);
        setFileBytes(path(), table);
        setFileBytes(dataFile("add0001.CDX"), index);
    }
}

}  // namespace
