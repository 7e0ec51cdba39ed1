#include "TDBFMatch.h"

#include <QAbstractTableModel>
#include <QTableView>

#include "Table.h"
#include "TableText.h"

namespace {

// The records of a table, read when the view asks for them: a row is a record number.
class SourceRecords : public QAbstractTableModel {
  public:
    SourceRecords(xbase::Table& table, QObject* parent) : QAbstractTableModel(parent), table_(table) {}

    int rowCount(const QModelIndex& parent) const override {
        return parent.isValid() ? 0 : int(table_.recCount());
    }
    int columnCount(const QModelIndex& parent) const override {
        return parent.isValid() ? 0 : table_.fieldCount();
    }

    QVariant data(const QModelIndex& index, int role) const override {
        if (role != Qt::DisplayRole || !index.isValid()) return {};
        const uint32_t recNo = uint32_t(index.row()) + 1;
        if (table_.eof() || table_.recNo() != recNo) {
            if (!table_.go(recNo).ok()) return {};
        }
        const int field = index.column();
        std::string raw;
        if (table_.field(field).isMemo()) {
            if (!table_.getMemo(field, &raw).ok()) return {};
            raw = raw.substr(0, raw.find_first_of("\r\n"));
        } else {
            raw = table_.getTrimString(field);
        }
        return TableText::decode(table_.codePage(), raw);
    }

    QVariant headerData(int section, Qt::Orientation orientation, int role) const override {
        if (role != Qt::DisplayRole) return {};
        if (orientation == Qt::Vertical) return section + 1;
        return QString::fromStdString(table_.field(section).name);
    }

  private:
    xbase::Table& table_;
};

QTableView* sampleGrid(xbase::Table& source) {
    auto* view = new QTableView;
    view->setModel(new SourceRecords(source, view));
    return view;
}

}  // namespace

TDBFMatch::TDBFMatch(xbase::Table& source, const FieldMatch& match, const QString& fileName, QWidget* parent)
    : TMatchFields(QStringLiteral("DBF File Import Match Fields"),
                   QStringLiteral("&Records in %1").arg(fileName), sampleGrid(source), match, fileName,
                   parent) {
    setObjectName("TDBFMatch");
}
