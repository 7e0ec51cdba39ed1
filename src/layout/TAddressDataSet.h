#pragma once

#include <QString>
#include <functional>
#include <vector>

#include "TGDataSet.h"

namespace xbase {
class Table;
}

// The address table as data panels see it: the table's fields with the labels of the
// address layout (a field without one is labelled with its name), followed by the
// calculated fields that the caller adds. Text comes from the table's current record.
// The table is borrowed and must outlive this object.
class TAddressDataSet : public TGDataSet {
  public:
    explicit TAddressDataSet(xbase::Table* table) : table_(table) {}

    // A field computed from the current record; it follows the stored fields.
    void AddCalculatedField(const QString& name, const QString& label, std::function<QString()> value);
    // The calculated fields that the print windows, their designers and the print
    // commands offer: "DisplayDate" ("Date": the record's date in the short date
    // format), "FullName" ("Full Name"), "FullNameWithPrefix" ("Full Name & Prefix")
    // and "CityStateZip" ("City, State & Zip").
    void AddCalculatedFields();

    bool Active() const override;
    int FieldCount() const override;
    QString FieldName(int field) const override;
    QString DisplayLabel(int field) const override;
    bool IsMemo(int field) const override;
    // Character fields and the calculated fields.
    bool IsString(int field) const override;
    // All but the bookkeeping fields that the address page and the browse grid hide
    // too (the stored DATE, ISDEL, TAG and MEMO).
    bool Visible(int field) const override;
    QString Text(int field) const override;
    bool MemoEmpty(int field) const override;
    QString MemoText(int field) const override;

  private:
    struct Calculated {
        QString name, label;
        std::function<QString()> value;
    };
    int storedCount() const;

    xbase::Table* table_;
    std::vector<Calculated> calculated_;
};
