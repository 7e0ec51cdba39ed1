#include "EditableGridModel.h"

#include "AddressFile.h"
#include "SavedCursor.h"
#include "Table.h"

Qt::ItemFlags EditableGridModel::flags(const QModelIndex& index) const {
    Qt::ItemFlags f = BrowseModel::flags(index);
    if (index.isValid() && editWidth(index.column()) > 0) f |= Qt::ItemIsEditable;
    return f;
}

int EditableGridModel::editWidth(int column) const {
    const int field = fieldIndexAt(column);
    if (field < 0 || columnAt(column).kind != BrowseColumns::Kind::Stored) return 0;
    const xbase::FieldDef& def = table().field(field);
    return def.type == 'C' ? def.width : 0;
}

QVariant EditableGridModel::data(const QModelIndex& index, int role) const {
    if (role != Qt::DisplayRole && role != Qt::EditRole) return BrowseModel::data(index, role);
    if (editRecNo_ != 0 && index.isValid() && recNoAt(index.row()) == editRecNo_) {
        if (columnAt(index.column()).kind == BrowseColumns::Kind::Tagged) {
            auto tag = edits_.find(table().fieldIndex("TAG"));
            if (tag != edits_.end()) {
                return !tag->isEmpty() && *tag == pendingTagId_ ? QStringLiteral("Yes")
                                                                : QStringLiteral("No");
            }
        }
        auto it = edits_.find(fieldIndexAt(index.column()));
        if (it != edits_.end()) return *it;
    }
    return BrowseModel::data(index, Qt::DisplayRole);
}

bool EditableGridModel::setData(const QModelIndex& index, const QVariant& value, int role) {
    if (role != Qt::EditRole || !index.isValid()) return false;
    const int width = editWidth(index.column());
    const uint32_t recNo = recNoAt(index.row());
    if (width == 0 || recNo == 0) return false;
    const QString text = value.toString().left(width);
    if (text == data(index, Qt::EditRole).toString()) return true;
    if (editRecNo_ != 0 && editRecNo_ != recNo) {
        QString error;
        if (!post(&error)) return false;
    }
    const bool started = editRecNo_ == 0;
    editRecNo_ = recNo;
    edits_[fieldIndexAt(index.column())] = text;
    emitRow(recNo);
    if (started) emit editingChanged(true);
    return true;
}

void EditableGridModel::moveTo(uint32_t recNo) {
    if (recNo != 0 && table().recNo() != recNo) (void)table().go(recNo);
}

bool EditableGridModel::post(QString* error) {
    if (editRecNo_ == 0) return true;
    {
        SavedCursor keep(table());
        xbase::Status s = table().go(editRecNo_);
        for (auto it = edits_.cbegin(); s.ok() && it != edits_.cend(); ++it) {
            s = AddressFile::setText(table(), it.key(), *it);
        }
        if (s.ok()) s = table().commit();
        if (!s.ok()) {
            // A failed write leaves the record as stored; the values stay here to be fixed.
            (void)table().go(editRecNo_);
            *error = QString::fromStdString(s.message());
            return false;
        }
    }
    editRecNo_ = 0;
    edits_.clear();
    reload();
    emit editingChanged(false);
    return true;
}

void EditableGridModel::cancel() {
    if (editRecNo_ == 0) return;
    const uint32_t recNo = editRecNo_;
    editRecNo_ = 0;
    edits_.clear();
    emitRow(recNo);
    emit editingChanged(false);
}

bool EditableGridModel::toggleTag(uint32_t recNo, const QString& globalTagId, QString* error) {
    const int tag = table().fieldIndex("TAG");
    if (tag < 0 || recNo == 0) return false;
    if (editRecNo_ != 0 && editRecNo_ != recNo && !post(error)) return false;
    if (editRecNo_ == recNo) {
        QString current = edits_.value(tag);
        if (!edits_.contains(tag)) {
            SavedCursor keep(table());
            if (table().go(recNo).ok()) current = AddressFile::text(table(), tag);
        }
        edits_[tag] = current == globalTagId ? QString() : globalTagId;
        pendingTagId_ = globalTagId;
        emitRow(recNo);
        return true;
    }
    SavedCursor keep(table());
    xbase::Status s = table().go(recNo);
    if (s.ok()) {
        const bool tagged = AddressFile::text(table(), tag) == globalTagId;
        s = AddressFile::setText(table(), tag, tagged ? QString() : globalTagId);
    }
    if (s.ok()) s = table().commit();
    if (!s.ok()) {
        *error = QString::fromStdString(s.message());
        return false;
    }
    refreshRecord(recNo);
    return true;
}

void EditableGridModel::emitRow(uint32_t recNo) {
    const int r = rowOf(recNo);
    if (r >= 0) emit dataChanged(index(r, 0), index(r, columnCount() - 1));
}
