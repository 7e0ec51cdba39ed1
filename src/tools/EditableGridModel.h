#pragma once

#include <QMap>
#include <QString>
#include <cstdint>
#include <vector>

#include "BrowseModel.h"

// The tools' editable grids over a table (the duplicate and state/ZIP results, the
// state table): BrowseModel's lazy rows, in which the user types into the stored
// fields' cells.
//
// Typing puts the record into editing: the values typed are held here, shown in the
// grid, and written together when the record is posted: by post() ("Save"), or when
// another record is edited or tagged. cancel() ("Undo") drops them. A value is cut to
// its field's width. While a record is being edited the table's cursor may move
// freely: nothing reaches the table before post().
//
// After a post the rows are counted and read again (the record's key may have moved
// it in the current order, or taken it out of the query); the grid finds the record
// again with rowOf().
class EditableGridModel : public BrowseModel {
    Q_OBJECT

  public:
    using BrowseModel::BrowseModel;

    Qt::ItemFlags flags(const QModelIndex& index) const override;
    QVariant data(const QModelIndex& index, int role = Qt::DisplayRole) const override;
    bool setData(const QModelIndex& index, const QVariant& value, int role = Qt::EditRole) override;

    // The width in characters of the field shown in `column`; 0 when it is not editable.
    int editWidth(int column) const;
    // Whether a record is being edited, and which.
    bool editing() const { return editRecNo_ != 0; }
    uint32_t editedRecNo() const { return editRecNo_; }

    // Puts the table's cursor on record `recNo` (the grid's current row).
    void moveTo(uint32_t recNo);

    // Writes the values typed into the record being edited. True when there was nothing
    // to write or it was written; otherwise `error` tells why and the record stays in
    // editing, with its values.
    bool post(QString* error);
    // Drops the values typed; the record shows what the table holds.
    void cancel();
    // Tags record `recNo` when it is not tagged with `globalTagId`, else untags it. When
    // that record is being edited the change joins the edit; otherwise it is written
    // at once (a record being edited is posted first). False with `error` set when a
    // write fails.
    bool toggleTag(uint32_t recNo, const QString& globalTagId, QString* error);

  signals:
    // A record went into editing or left it (posted or cancelled).
    void editingChanged(bool editing);

  private:
    void emitRow(uint32_t recNo);

    uint32_t editRecNo_ = 0;
    QMap<int, QString> edits_;  // field index -> value typed
    QString pendingTagId_;      // the identifier a TAG among them is compared with
};
