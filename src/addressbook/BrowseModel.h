#pragma once

#include <QAbstractTableModel>
#include <QStringList>
#include <QTimer>
#include <cstdint>
#include <unordered_map>
#include <vector>

#include "BrowseColumns.h"
#include "Table.h"

// The Address Browse grid's model: the records visible under the address table's
// query, in its current order, one row each, with the visible fields of
// BrowseColumns as columns. Read-only; the tools' grids derive an editable model
// from it, and a grid of another table (the state table) names its own columns.
//
// Rows are read on demand, in chunks of kChunkRows, through the table's own cursor,
// and kept in a small cache; the cursor is put back on the record it was on after
// every read. The row count comes from the table's exact query count. The first
// record of every chunk passed on the way is remembered, so that a later chunk is
// reached from the nearest known one, or from the bottom of the order, instead of
// from the top: a million-record file shows at once, and rows far down are read
// without reading the ones above them. While the event loop is idle the model walks
// the order a slice at a time and notes the rest, so that soon any row is near a
// known one and the grid scrolls anywhere without a pause.
//
// The model borrows the table, which must outlive it and must not be changed behind
// its back: after the order, the query or the records change, call reload() (or
// refreshRecord() when one record was rewritten in place).
class BrowseModel : public QAbstractTableModel {
    Q_OBJECT

  public:
    static constexpr int kChunkRows = 256;
    static constexpr int kMaxCachedChunks = 64;
    // Records walked per idle slice (a few milliseconds' work).
    static constexpr int kFillSteps = 16384;
    // data() with this role gives the row's record number.
    static constexpr int kRecNoRole = Qt::UserRole + 1;

    // `fieldOrder` is the field order of BrowseColumns (as ApplyFieldsList gives it);
    // its visible fields become the columns in that order.
    BrowseModel(xbase::Table& table, const QStringList& fieldOrder, const QString& globalTagId,
                QObject* parent = nullptr);
    // A grid of any table: `columns` are its stored fields (Kind::Stored), shown in
    // that order with their labels.
    BrowseModel(xbase::Table& table, std::vector<BrowseColumns::Column> columns, QObject* parent = nullptr);

    int rowCount(const QModelIndex& parent = QModelIndex()) const override;
    int columnCount(const QModelIndex& parent = QModelIndex()) const override;
    QVariant data(const QModelIndex& index, int role = Qt::DisplayRole) const override;
    QVariant headerData(int section, Qt::Orientation orientation, int role = Qt::DisplayRole) const override;
    Qt::ItemFlags flags(const QModelIndex& index) const override;

    // The column's field name ("Tagged", "LNAME", ..., "DisplayDate"), as FIELDS.LST
    // writes it.
    QString fieldName(int column) const;
    // The column's width in characters; the window makes it at least as wide as its title.
    int widthChars(int column) const;

    // The record shown in `row`; 0 when there is none.
    uint32_t recNoAt(int row) const;
    // The row that shows record `recNo`; -1 when it is not visible under the query. The
    // search walks up and down from the record at once, so it costs about twice the
    // record's distance from the nearer end of the order.
    int rowOf(uint32_t recNo) const;

    // Counts the rows again and forgets every row read: after the order, the query or
    // the set of records changed.
    void reload();
    // Shows record `recNo`, which was visible, again after it was rewritten (its tag
    // toggled). When it no longer passes the query the rows shift, and the model reloads.
    void refreshRecord(uint32_t recNo);
    void setGlobalTagId(const QString& globalTagId);

    // Walks on from the last chunk known in sequence from the top, at most `maxSteps`
    // records, noting the first record of each chunk. True when every chunk is known.
    // The model calls it itself when the event loop is idle.
    bool fillAnchors(int maxSteps);

    // Records the model has visited since it was made: for tests and benchmarks.
    uint64_t recordsVisited() const { return visited_; }

  protected:
    xbase::Table& table() const { return table_; }
    // The table's field shown in `column`; -1 for a calculated column.
    int fieldIndexAt(int column) const;
    const BrowseColumns::Column& columnAt(int column) const { return columns_[size_t(column)]; }

  private:
    struct Row {
        uint32_t recNo = 0;
        QStringList values;  // one per column
    };
    struct Chunk {
        std::vector<Row> rows;
        uint64_t lastUse = 0;
    };
    const Row* row(int r) const;
    const Chunk& chunk(int k) const;
    // Moves the cursor to row `target`, from the nearest known place, noting the first
    // record of every chunk it passes. False when the rows ran out early.
    bool seekRow(int target) const;
    bool step(int dir) const;  // one record on; false at either end
    void note(int row, uint32_t recNo) const;
    Row readRow() const;
    bool visible(uint32_t recNo) const;
    QString cell(int column) const;

    xbase::Table& table_;
    void init();

    std::vector<BrowseColumns::Column> columns_;
    std::vector<int> fields_;  // the table's field index per column; -1 when calculated
    int dateField_ = -1;
    int tagField_ = -1;
    QString globalTagId_;
    QString dateFormat_;

    int rowCount_ = 0;
    mutable std::vector<uint32_t> anchors_;  // record number of each chunk's first row; 0: unknown
    mutable std::unordered_map<int, Chunk> chunks_;
    mutable uint64_t clock_ = 0;
    size_t filled_ = 0;  // anchors_[0 .. filled_) are all known
    QTimer fillTimer_;
    mutable uint64_t visited_ = 0;
};
