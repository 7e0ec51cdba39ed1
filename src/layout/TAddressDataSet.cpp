#include "TAddressDataSet.h"

#include "AddressFile.h"
#include "RecordEditing.h"
#include "RecordEditor.h"
#include "Table.h"
#include "TableText.h"

void TAddressDataSet::AddCalculatedField(const QString& name, const QString& label,
                                         std::function<QString()> value) {
    calculated_.push_back({name, label, std::move(value)});
}

void TAddressDataSet::AddCalculatedFields() {
    const xbase::Table* t = table_;
    if (!t) return;
    AddCalculatedField("DisplayDate", "Date", [t] {
        const int date = t->fieldIndex("DATE");
        return date < 0 ? QString() : RecordEditing::FormatStoredDate(AddressFile::text(*t, date));
    });
    AddCalculatedField("FullName", "Full Name", [t] { return RecordEditing::FullName(RecordEditor::read(*t)); });
    AddCalculatedField("FullNameWithPrefix", "Full Name & Prefix",
                       [t] { return RecordEditing::FullNameWithPrefix(RecordEditor::read(*t)); });
    AddCalculatedField("CityStateZip", "City, State & Zip",
                       [t] { return RecordEditing::CityStateZip(RecordEditor::read(*t)); });
}

bool TAddressDataSet::Active() const { return table_ != nullptr; }

int TAddressDataSet::storedCount() const { return table_ ? table_->fieldCount() : 0; }

int TAddressDataSet::FieldCount() const { return storedCount() + int(calculated_.size()); }

QString TAddressDataSet::FieldName(int field) const {
    if (field >= storedCount()) return calculated_[size_t(field - storedCount())].name;
    return QString::fromStdString(table_->field(field).name);
}

QString TAddressDataSet::DisplayLabel(int field) const {
    if (field >= storedCount()) return calculated_[size_t(field - storedCount())].label;
    const QString name = FieldName(field);
    for (const AddressFile::Field& f : AddressFile::fields()) {
        if (name.compare(f.name, Qt::CaseInsensitive) == 0 && f.label[0] != '\0') return QString(f.label);
    }
    return name;
}

bool TAddressDataSet::IsMemo(int field) const {
    return field < storedCount() && table_->field(field).isMemo();
}

bool TAddressDataSet::IsString(int field) const {
    return field >= storedCount() || table_->field(field).type == 'C';
}

bool TAddressDataSet::Visible(int field) const {
    if (field >= storedCount()) return true;
    const QString name = FieldName(field);
    for (const char* hidden : {"DATE", "ISDEL", "TAG", "MEMO"})
        if (name.compare(hidden, Qt::CaseInsensitive) == 0) return false;
    return true;
}

QString TAddressDataSet::Text(int field) const {
    if (field >= storedCount()) return calculated_[size_t(field - storedCount())].value();
    if (table_->field(field).type == 'L') {
        return table_->getLogical(field) ? "True" : "False";
    }
    if (IsMemo(field)) return MemoText(field);
    return AddressFile::text(*table_, field);
}

bool TAddressDataSet::MemoEmpty(int field) const { return !IsMemo(field) || table_->empty(field); }

QString TAddressDataSet::MemoText(int field) const {
    if (!IsMemo(field)) return QString();
    std::string raw;
    if (!table_->getMemo(field, &raw).ok()) return QString();
    return TableText::decode(table_->codePage(), raw);
}
