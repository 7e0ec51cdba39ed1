// The label loop read back from the page stream: where each record's label lands on
// which sheet for position choices, copies, the extra middle gaps and the presort
// order with its header labels; and the address table as it was after every job.

#include <gtest/gtest.h>

#include <QFile>

#include "LabelPrint.h"
#include "LabelTestSupport.h"
#include "LayoutFile.h"
#include "Messages.h"
#include "NoteMessages.h"
#include "PageStream.h"
#include "RecordingProgress.h"
#include "TAddressDataSet.h"
#include "TGDMultiLineAddressLabel.h"
#include "TGDataPanel.h"
#include "TReportFiler.h"
#include "TempDir.h"

namespace {

// One text drawn: the sheet it is on and its baseline's start less kFieldOffset, which
// for a record label is the label's top-left corner.
struct Placed {
    int page;
    QString text;
    QPointF at;
    QRectF area;  // what the text is clipped to beyond its own clip
};

// Where the field object at the layout's corner puts its baseline in the label: measured
// once from a label at a known place (the first position of a full sheet).
QPointF kFieldOffset;

class LabelPrintTest : public ::testing::Test {
  protected:
    void make(const std::vector<Person>& people) {
        ASSERT_TRUE(makeAddressFile(dir_.file("ADDR.DBF"), people, &table_));
        data_ = std::make_unique<TAddressDataSet>(table_.get());
        layout_.BindForPrinting(data_.get());
        ASSERT_TRUE(layout_.Read(handlayout::list(handlayout::fieldObject("Last Name", 0, 0)),
                                 layout::LayoutKind::Label)
                        .ok());
    }

    // Runs the job into a page stream of 600-dpi Letter sheets.
    std::vector<Placed> run(LabelPrint::Choice choice, const LabelPrint::Geometry& g,
                            JobResult* result = nullptr, int stopAt = 0) {
        TReportFiler filer;
        filer.setStream(&stream_);
        DeviceMetrics m;
        m.dpiX = m.dpiY = 600;
        filer.setDeviceMetrics(m);
        RecordingProgress progress(stopAt);
        QString error;
        const JobResult r = LabelPrint::PrintLabels(*table_, layout_, g, choice, presortPath(), filer, progress,
                                                    messages_, &error, &counts_);
        if (result) *result = r;
        std::vector<Placed> placed;
        for (const Page& page : stream_.pages) {
            for (const DrawOp& op : page.ops) {
                if (op.kind == DrawOp::Kind::Text) placed.push_back({page.number, op.text, op.p1 - kFieldOffset, op.area});
            }
        }
        stream_.pages.clear();
        return placed;
    }

    QString presortPath() const { return QString::fromStdString(dir_.file("PRESORT.PSL")); }

    TempDir dir_;
    std::unique_ptr<xbase::Table> table_;
    std::unique_ptr<TAddressDataSet> data_;
    layout::LayoutFile layout_;
    PageStream stream_;
    NoteMessages messages_;
    LabelPrint::Counts counts_;
};

std::vector<Person> people(int n) {
    std::vector<Person> list;
    for (int i = 1; i <= n; ++i) list.push_back({"P" + std::to_string(i), "1234" + std::to_string(i % 10)});
    return list;
}

}  // namespace

namespace {

using LabelPrint::Geometry;

Geometry sheet3x10() { return Geometry(); }  // the 5160 sheet: 3 × 10

// The label corners expected for a sheet's positions (0-based, row by row).
QPointF corner(const Geometry& g, int position) { return g.position(position % g.across, position / g.across); }

void expectNear(const QPointF& actual, const QPointF& expected, const std::string& what) {
    EXPECT_NEAR(actual.x(), expected.x(), 0.002) << what;
    EXPECT_NEAR(actual.y(), expected.y(), 0.002) << what;
}

}  // namespace

TEST_F(LabelPrintTest, PositionsCopiesAndGapsLandWhereTheSheetSays) {
    make(people(7));
    // The offset of the field's baseline inside its label, from one full-sheet job.
    {
        const std::vector<Placed> one = run(LabelPrint::Choice(), sheet3x10());
        ASSERT_EQ(one.size(), 7u);
        kFieldOffset = one[0].at - corner(sheet3x10(), 0);
        ASSERT_GT(kFieldOffset.y(), 0.05);  // below the corner by the font's ascent
    }

    // Only the last three positions: three labels per sheet, always in those places.
    LabelPrint::Choice last3;
    ASSERT_TRUE(last3.positions.parse("28-30", 30));
    const std::vector<Placed> sheets = run(last3, sheet3x10());
    ASSERT_EQ(sheets.size(), 7u);
    for (int i = 0; i < 7; ++i) {
        EXPECT_EQ(sheets[size_t(i)].text, QString("P%1").arg(i + 1));
        EXPECT_EQ(sheets[size_t(i)].page, i / 3 + 1) << i;
        expectNear(sheets[size_t(i)].at, corner(sheet3x10(), 27 + i % 3), "label " + std::to_string(i));
    }

    // Copies 2 of 5 records: ten positions, each record twice in a row.
    ASSERT_TRUE(table_->query("RECNO()<=5").ok());
    LabelPrint::Choice twice;
    twice.copies = 2;
    const std::vector<Placed> doubled = run(twice, sheet3x10());
    ASSERT_EQ(doubled.size(), 10u);
    for (int i = 0; i < 10; ++i) {
        EXPECT_EQ(doubled[size_t(i)].text, QString("P%1").arg(i / 2 + 1));
        expectNear(doubled[size_t(i)].at, corner(sheet3x10(), i), "copy " + std::to_string(i));
    }

    // The extra middle gap moves the right half: the second of two columns, the second
    // and third of three; with a lower-half gap, rows from down div 2 on.
    struct GapCase {
        int across, down;
        double extraX, extraY;
        std::vector<double> xShift, yShift;  // per column, per row of the first rows
    };
    const GapCase gaps[] = {
        {2, 10, 0.25, 0, {0, 0.25}, {0, 0, 0}},
        {3, 10, 0.25, 0, {0, 0.25, 0.25}, {0, 0, 0}},
        {3, 2, 0, 0.125, {0, 0, 0}, {0, 0.125}},
    };
    ASSERT_TRUE(table_->query("!ISDEL").ok());
    for (const GapCase& c : gaps) {
        Geometry g;
        g.across = c.across;
        g.down = c.down;
        g.midExtraX = c.extraX;
        g.midExtraY = c.extraY;
        const std::vector<Placed> placed = run(LabelPrint::Choice(), g);
        ASSERT_EQ(placed.size(), 7u);
        for (size_t i = 0; i < c.yShift.size() * size_t(c.across) && i < placed.size(); ++i) {
            const int b = int(i) % c.across, row = int(i) / c.across;
            const QPointF expected(g.leftMargin + b * g.horizPitch + c.xShift[size_t(b)],
                                   g.topMargin + row * g.vertPitch + c.yShift[size_t(row)]);
            if (size_t(row) < c.yShift.size())
                expectNear(placed[i].at, expected, std::to_string(c.across) + " across, label " + std::to_string(i));
        }
    }
}

TEST_F(LabelPrintTest, OnlyCurrentRecordThirtyTimesFillsExactlyOneSheet) {
    make(people(3));
    kFieldOffset = QPointF();
    ASSERT_TRUE(table_->go(2).ok());
    LabelPrint::Choice choice;
    choice.records = LabelPrint::Records::Current;
    choice.copies = 30;
    const std::vector<Placed> placed = run(choice, sheet3x10());
    ASSERT_EQ(placed.size(), 30u);
    for (const Placed& p : placed) {
        EXPECT_EQ(p.text, "P2");
        EXPECT_EQ(p.page, 1);
    }
    EXPECT_EQ(counts_.labels, 30);
    EXPECT_EQ(table_->recNo(), 2u);  // the table is back where it was
    EXPECT_EQ(table_->queryText(), "!ISDEL");
}

TEST_F(LabelPrintTest, EachLabelIsClippedToItselfAndCutAddressesAreCountedOnce) {
    make(people(4));
    // An address block one line high under the field: every record's ZIP line is cut.
    auto block = std::make_unique<TGDMultiLineAddressLabel>();
    TGGraphicControl* added = layout_.Panel(0).InsertObject(std::move(block));
    added->SetBounds(0, 20, 200, 15);
    LabelPrint::Choice choice;
    choice.records = LabelPrint::Records::All;
    choice.copies = 2;
    const Geometry g = sheet3x10();
    const std::vector<Placed> placed = run(choice, g);
    ASSERT_EQ(counts_.labels, 8);
    ASSERT_EQ(placed.size(), 24u);  // the field, the name line and what shows of the ZIP line
    for (size_t i = 0; i < placed.size(); ++i) {
        const int label = int(i) / 3;
        EXPECT_EQ(placed[i].area, QRectF(corner(g, label), QSizeF(g.width, g.height))) << i;
    }
    EXPECT_EQ(counts_.cutAddresses, (std::vector<uint32_t>{1, 2, 3, 4}));
    EXPECT_EQ(layout::CutAddressNotice(counts_.cutAddresses),
              "4 addresses did not fit their address blocks and were cut (records 1, 2, 3, 4)");

    // Tall enough, nothing is told.
    added->SetBounds(0, 20, 200, 60);
    run(choice, g);
    EXPECT_TRUE(counts_.cutAddresses.empty());
    EXPECT_EQ(layout::CutAddressNotice(counts_.cutAddresses), "");
}

TEST_F(LabelPrintTest, EmptySelectionOrNoPositionEndsAtOnceAndTheTableIsPutBack) {
    make(people(4));
    ASSERT_TRUE(table_->setOrder(table_->tagArea("ZIP")).ok());
    ASSERT_TRUE(table_->query("LNAME='NOBODY'").ok());
    JobResult result = JobResult::Failed;
    EXPECT_TRUE(run(LabelPrint::Choice(), sheet3x10(), &result).empty());
    EXPECT_EQ(result, JobResult::Done);
    EXPECT_EQ(table_->queryText(), "LNAME='NOBODY'");

    ASSERT_TRUE(table_->query("!ISDEL").ok());
    ASSERT_TRUE(table_->go(3).ok());
    LabelPrint::Choice none;
    none.positions.setAll(false);
    EXPECT_TRUE(run(none, sheet3x10(), &result).empty());
    EXPECT_EQ(result, JobResult::Done);

    // Cancelled half way ("All records" had replaced the query): all put back.
    LabelPrint::Choice all;
    all.records = LabelPrint::Records::All;
    run(all, sheet3x10(), &result, 2);
    EXPECT_EQ(result, JobResult::Cancelled);
    EXPECT_EQ(table_->recNo(), 3u);
    EXPECT_EQ(table_->queryText(), "!ISDEL");
    EXPECT_EQ(table_->indexOrd(), table_->tagArea("ZIP"));

    // Starting from a record outside the selection starts with the first record.
    ASSERT_TRUE(table_->query("RECNO()>2").ok());
    ASSERT_TRUE(table_->go(1).ok());
    LabelPrint::Choice fromCurrent;
    fromCurrent.startFromCurrent = true;
    const std::vector<Placed> placed = run(fromCurrent, sheet3x10(), &result);
    ASSERT_EQ(placed.size(), 2u);
    EXPECT_EQ(placed[0].text, "P3");
    EXPECT_TRUE(messages_.notes.contains(LabelPrint::kOutOfRange));
    EXPECT_EQ(table_->recNo(), 1u);
}

TEST_F(LabelPrintTest, PresortPrintsTheGroupsInListOrderEachAfterItsHeader) {
    // Twelve pieces for 60601 (a 5-digit group), ten sharing 606 and the rest unsorted.
    std::vector<Person> list;
    for (int i = 0; i < 12; ++i) list.push_back({"A" + std::to_string(i), "60601"});
    for (int i = 0; i < 10; ++i) list.push_back({"B" + std::to_string(i), "6061" + std::to_string(i)});
    list.push_back({"C0", "99999"});
    list.push_back({"D0", "Nope"});  // not presorted: never printed
    std::rotate(list.begin(), list.begin() + 13, list.end());  // mixed file order
    make(list);
    kFieldOffset = QPointF();
    ASSERT_TRUE(table_->go(5).ok());

    LabelPrint::Choice choice;
    choice.presort = true;
    choice.copies = 3;  // ignored under presort
    JobResult result = JobResult::Failed;
    const std::vector<Placed> placed = run(choice, sheet3x10(), &result);
    ASSERT_EQ(result, JobResult::Done);
    EXPECT_TRUE(messages_.notes.contains(LabelPrint::kPresortOrder));

    QStringList texts;
    for (const Placed& p : placed) texts << p.text;
    QStringList expected{"** 5-digit 60601"};
    for (int i = 0; i < 12; ++i) expected << QString("A%1").arg(i);
    expected << "** 3-digit 606";
    for (int i = 0; i < 10; ++i) expected << QString("B%1").arg(i);
    ASSERT_GE(texts.size(), expected.size());
    EXPECT_EQ(texts.mid(0, expected.size()), expected);
    // The rest: one more header and the record with the lone ZIP, nothing else.
    EXPECT_EQ(texts.size(), expected.size() + 2) << texts.join(",").toStdString();
    EXPECT_TRUE(texts.last() == "C0") << texts.join(",").toStdString();
    EXPECT_EQ(counts_.headers, 3);
    EXPECT_EQ(counts_.labels, 23);

    // Headers are Arial 8, a record label's text is the layout's: the header's text
    // starts 0.15 in right of its position's corner.
    const Geometry g = sheet3x10();
    EXPECT_NEAR(placed[0].at.x(), g.position(0, 0).x() + 0.15, 0.002);
    EXPECT_EQ(table_->recNo(), 5u);
    EXPECT_EQ(table_->indexOrd(), 0);
    EXPECT_EQ(table_->queryText(), "!ISDEL");
}

TEST_F(LabelPrintTest, PositionListsAreReadOrRefusedWhole) {
    struct Case {
        const char* list;
        int count;
        std::vector<int> selected;  // 1-based; empty: refused
    };
    const Case cases[] = {
        {"28,29,30", 30, {28, 29, 30}},
        {"1-3,10", 30, {1, 2, 3, 10}},
        {" 5 - 6 ", 30, {5, 6}},
        {"300", 300, {300}},
        {"31", 30, {}},
        {"0", 30, {}},
        {"3-1", 30, {}},
        {"1,,2", 30, {}},
        {"x", 30, {}},
    };
    for (const Case& c : cases) {
        LabelPrint::PositionSelection s;
        const bool ok = s.parse(c.list, c.count);
        EXPECT_EQ(ok, !c.selected.empty()) << c.list;
        if (!ok) {
            EXPECT_TRUE(s.selected(0) && s.selected(299)) << "unchanged after " << c.list;
            continue;
        }
        for (int p = 1; p <= LabelPrint::PositionSelection::kMaxPositions; ++p) {
            const bool want = std::find(c.selected.begin(), c.selected.end(), p) != c.selected.end();
            EXPECT_EQ(s.selected(p - 1), want) << c.list << " position " << p;
        }
    }
}
