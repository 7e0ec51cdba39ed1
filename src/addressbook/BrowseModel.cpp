#include "BrowseModel.h"

#include <QCoreApplication>
#include <algorithm>
#include <climits>
#include <cstdlib>

#include "AddressFile.h"
#include "RecordEditing.h"
#include "SavedCursor.h"

BrowseModel::BrowseModel(xbase::Table& table, const QStringList& fieldOrder, const QString& globalTagId,
                         QObject* parent)
    : QAbstractTableModel(parent),
      table_(table),
      globalTagId_(globalTagId),
      dateFormat_(RecordEditing::SystemShortDateFormat()) {
    std::vector<const BrowseColumns::Column*> seen;
    for (const QString& name : fieldOrder) {
        const BrowseColumns::Column* c = BrowseColumns::find(name);
        if (!c || !c->visible || std::find(seen.begin(), seen.end(), c) != seen.end()) continue;
        seen.push_back(c);
        columns_.push_back(*c);
    }
    init();
}

BrowseModel::BrowseModel(xbase::Table& table, std::vector<BrowseColumns::Column> columns, QObject* parent)
    : QAbstractTableModel(parent), table_(table), columns_(std::move(columns)) {
    init();
}

void BrowseModel::init() {
    for (const BrowseColumns::Column& c : columns_)
        fields_.push_back(c.kind == BrowseColumns::Kind::Stored ? table_.fieldIndex(c.name) : -1);
    dateField_ = table_.fieldIndex("DATE");
    tagField_ = table_.fieldIndex("TAG");
    fillTimer_.setInterval(0);
    connect(&fillTimer_, &QTimer::timeout, this, [this] {
        if (fillAnchors(kFillSteps)) fillTimer_.stop();
    });
    reload();
}

int BrowseModel::rowCount(const QModelIndex& parent) const { return parent.isValid() ? 0 : rowCount_; }

int BrowseModel::columnCount(const QModelIndex& parent) const {
    return parent.isValid() ? 0 : int(columns_.size());
}

QVariant BrowseModel::data(const QModelIndex& index, int role) const {
    if (!index.isValid() || index.row() >= rowCount_ || index.column() >= columnCount()) return {};
    if (role != Qt::DisplayRole && role != kRecNoRole) return {};
    const Row* r = row(index.row());
    if (!r) return {};
    if (role == kRecNoRole) return r->recNo;
    return r->values.value(index.column());
}

QVariant BrowseModel::headerData(int section, Qt::Orientation orientation, int role) const {
    if (orientation == Qt::Horizontal && role == Qt::DisplayRole && section >= 0 && section < columnCount()) {
        return QString::fromLatin1(columns_[size_t(section)].label);
    }
    return QAbstractTableModel::headerData(section, orientation, role);
}

Qt::ItemFlags BrowseModel::flags(const QModelIndex& index) const {
    return index.isValid() ? Qt::ItemIsSelectable | Qt::ItemIsEnabled : Qt::NoItemFlags;
}

QString BrowseModel::fieldName(int column) const {
    return column >= 0 && column < columnCount() ? QString::fromLatin1(columns_[size_t(column)].name)
                                                 : QString();
}

int BrowseModel::fieldIndexAt(int column) const {
    return column >= 0 && column < columnCount() ? fields_[size_t(column)] : -1;
}

int BrowseModel::widthChars(int column) const {
    if (column < 0 || column >= columnCount()) return 0;
    const BrowseColumns::Column& c = columns_[size_t(column)];
    if (c.width > 0) return c.width;
    const int field = fields_[size_t(column)];
    return field >= 0 ? table_.field(field).width : 0;
}

uint32_t BrowseModel::recNoAt(int r) const {
    const Row* found = r >= 0 && r < rowCount_ ? row(r) : nullptr;
    return found ? found->recNo : 0;
}

void BrowseModel::reload() {
    beginResetModel();
    chunks_.clear();
    const uint32_t count = table_.queryRecCount();
    rowCount_ = int(std::min<uint32_t>(count, INT_MAX));
    anchors_.assign(size_t((rowCount_ + kChunkRows - 1) / kChunkRows), 0);
    filled_ = 0;
    endResetModel();
    // Without an event loop (the command line, tests) there is no idle time to use.
    if (anchors_.size() > 1 && QCoreApplication::instance()) fillTimer_.start();
}

bool BrowseModel::fillAnchors(int maxSteps) {
    while (filled_ < anchors_.size() && anchors_[filled_] != 0) ++filled_;
    if (filled_ >= anchors_.size()) return true;
    SavedCursor keep(table_);
    int r = filled_ == 0 ? 0 : int(filled_ - 1) * kChunkRows;
    const xbase::Status s = filled_ == 0 ? table_.goTop() : table_.go(anchors_[filled_ - 1]);
    ++visited_;
    if (!s.ok() || table_.eof()) return true;  // nothing more to learn; reading rows will tell
    for (int i = 0; i < maxSteps && r < rowCount_; ++i) {
        note(r, table_.recNo());
        if (!step(+1)) return true;
        ++r;
    }
    while (filled_ < anchors_.size() && anchors_[filled_] != 0) ++filled_;
    return filled_ >= anchors_.size();
}

void BrowseModel::setGlobalTagId(const QString& globalTagId) {
    if (globalTagId == globalTagId_) return;
    globalTagId_ = globalTagId;
    chunks_.clear();  // the Tagged column changes; the rows stay where they are
    if (rowCount_ > 0) emit dataChanged(index(0, 0), index(rowCount_ - 1, columnCount() - 1));
}

void BrowseModel::refreshRecord(uint32_t recNo) {
    if (!visible(recNo)) {
        reload();
        return;
    }
    for (auto& [k, c] : chunks_) {
        for (size_t i = 0; i < c.rows.size(); ++i) {
            if (c.rows[i].recNo != recNo) continue;
            {
                SavedCursor keep(table_);
                if (table_.go(recNo).ok()) c.rows[i] = readRow();
            }
            const int r = k * kChunkRows + int(i);
            emit dataChanged(index(r, 0), index(r, columnCount() - 1));
            return;
        }
    }
}

const BrowseModel::Row* BrowseModel::row(int r) const {
    const Chunk& c = chunk(r / kChunkRows);
    const size_t i = size_t(r % kChunkRows);
    return i < c.rows.size() ? &c.rows[i] : nullptr;
}

const BrowseModel::Chunk& BrowseModel::chunk(int k) const {
    auto it = chunks_.find(k);
    if (it != chunks_.end()) {
        it->second.lastUse = ++clock_;
        return it->second;
    }
    if (chunks_.size() >= size_t(kMaxCachedChunks)) {
        auto oldest = std::min_element(chunks_.begin(), chunks_.end(), [](const auto& a, const auto& b) {
            return a.second.lastUse < b.second.lastUse;
        });
        chunks_.erase(oldest);
    }
    Chunk& c = chunks_[k];
    c.lastUse = ++clock_;
    SavedCursor keep(table_);
    const int first = k * kChunkRows;
    const int end = std::min(rowCount_, first + kChunkRows);
    if (!seekRow(first)) return c;
    for (int r = first; r < end; ++r) {
        note(r, table_.recNo());
        c.rows.push_back(readRow());
        if (r + 1 < end && !step(+1)) break;  // fewer records than counted: the rest stay empty
    }
    if (end < rowCount_ && step(+1)) note(end, table_.recNo());
    return c;
}

bool BrowseModel::seekRow(int target) const {
    // The known places: the top, the bottom and the first row of every chunk passed.
    int from = 0;
    uint32_t fromRec = 0;  // 0: the top (or the bottom) itself
    int bestCost = target;
    const int bottom = rowCount_ - 1;
    if (bottom - target < bestCost) {
        from = bottom;
        bestCost = bottom - target;
    }
    for (int j = 0; j < int(anchors_.size()); ++j) {
        if (anchors_[size_t(j)] == 0) continue;
        const int cost = std::abs(target - j * kChunkRows);
        if (cost < bestCost) {
            bestCost = cost;
            from = j * kChunkRows;
            fromRec = anchors_[size_t(j)];
        }
    }
    xbase::Status s = fromRec ? table_.go(fromRec) : from == 0 ? table_.goTop() : table_.goBottom();
    ++visited_;
    if (!s.ok() || table_.eof()) return false;
    const int dir = target >= from ? +1 : -1;
    for (int r = from; r != target; r += dir) {
        note(r, table_.recNo());
        if (!step(dir)) return false;
    }
    return true;
}

bool BrowseModel::step(int dir) const {
    ++visited_;
    if (!table_.skip(dir).ok()) return false;
    return dir > 0 ? !table_.eof() : !table_.bof();
}

void BrowseModel::note(int r, uint32_t recNo) const {
    if (r % kChunkRows == 0 && size_t(r / kChunkRows) < anchors_.size())
        anchors_[size_t(r / kChunkRows)] = recNo;
}

BrowseModel::Row BrowseModel::readRow() const {
    Row r;
    r.recNo = table_.recNo();
    r.values.reserve(int(columns_.size()));
    for (int c = 0; c < int(columns_.size()); ++c) r.values << cell(c);
    return r;
}

QString BrowseModel::cell(int column) const {
    switch (columns_[size_t(column)].kind) {
        case BrowseColumns::Kind::Tagged: {
            const bool tagged = tagField_ >= 0 && !globalTagId_.isEmpty() &&
                                AddressFile::text(table_, tagField_) == globalTagId_;
            return tagged ? QStringLiteral("Yes") : QStringLiteral("No");
        }
        case BrowseColumns::Kind::DisplayDate:
            return dateField_ >= 0
                       ? RecordEditing::FormatStoredDate(AddressFile::text(table_, dateField_), dateFormat_)
                       : QString();
        case BrowseColumns::Kind::Stored: {
            const int field = fields_[size_t(column)];
            return field >= 0 ? AddressFile::text(table_, field) : QString();
        }
        case BrowseColumns::Kind::Calculated:
            break;
    }
    return QString();
}

bool BrowseModel::visible(uint32_t recNo) const {
    SavedCursor keep(table_);
    if (recNo == 0 || !table_.go(recNo).ok() || table_.eof()) return false;
    if (table_.hidesDeleted() && table_.deleted()) return false;
    if (table_.queryText().empty()) return true;
    bool passes = false;
    return table_.evalLogical(table_.queryText(), &passes).ok() && passes;
}

int BrowseModel::rowOf(uint32_t recNo) const {
    if (rowCount_ == 0 || recNo == 0) return -1;
    for (const auto& [k, c] : chunks_) {
        for (size_t i = 0; i < c.rows.size(); ++i) {
            if (c.rows[i].recNo == recNo) return k * kChunkRows + int(i);
        }
    }
    if (!visible(recNo)) return -1;

    // Walk up and down from the record in turns, each turn twice as far as the last,
    // until one side meets its end of the order; the rows passed on either side then
    // tell the first record of the chunks they cross.
    SavedCursor keep(table_);
    std::vector<uint32_t> above, below;  // rows r-1, r-2, ... and r+1, r+2, ...
    int r = -1;
    for (size_t budget = kChunkRows * 4; r < 0; budget *= 2) {
        if (!table_.go(above.empty() ? recNo : above.back()).ok()) return -1;
        ++visited_;
        bool top = false;
        for (size_t i = 0; i < budget && !top; ++i) {
            if (step(-1)) {
                above.push_back(table_.recNo());
            } else {
                top = true;
            }
        }
        if (top) {
            r = int(above.size());
            break;
        }
        if (!table_.go(below.empty() ? recNo : below.back()).ok()) return -1;
        ++visited_;
        bool end = false;
        for (size_t i = 0; i < budget && !end; ++i) {
            if (step(+1)) {
                below.push_back(table_.recNo());
            } else {
                end = true;
            }
        }
        if (end) r = std::max(0, rowCount_ - 1 - int(below.size()));
    }
    if (r >= rowCount_) return -1;  // the count no longer fits the records: reload() first
    note(r, recNo);
    for (size_t i = 0; i < above.size(); ++i) note(r - 1 - int(i), above[i]);
    for (size_t i = 0; i < below.size(); ++i) note(r + 1 + int(i), below[i]);
    return r;
}
