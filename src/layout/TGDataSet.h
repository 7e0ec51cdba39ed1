#pragma once

#include <QString>

// What data panels need of the open address table: its fields with their display
// labels, and the text of the current record's values. The owning window sets it on
// the panel and keeps it alive while the panel exists.
class TGDataSet {
  public:
    virtual ~TGDataSet() = default;

    // Open, with a current record to show.
    virtual bool Active() const = 0;
    virtual int FieldCount() const = 0;
    // The field's name ("CITY") and the label shown to the user ("City").
    virtual QString FieldName(int field) const = 0;
    virtual QString DisplayLabel(int field) const = 0;
    virtual bool IsMemo(int field) const = 0;
    // A field of text (not a number, date, logical or memo): what a data field object
    // may show.
    virtual bool IsString(int field) const { return !IsMemo(field); }
    // Shown to the user; hidden fields are not offered for binding.
    virtual bool Visible(int field) const {
        (void)field;
        return true;
    }
    // The field's text for the current record, without trailing blanks.
    virtual QString Text(int field) const = 0;
    // The memo of the current record is empty / its text.
    virtual bool MemoEmpty(int field) const = 0;
    virtual QString MemoText(int field) const = 0;

    // The field of this name in any letter case; -1 when none.
    int FindField(const QString& name) const;
    // The last field whose display label equals `label`; -1 when none.
    int FindFieldByLabel(const QString& label) const;
};
