#include "RecordEditor.h"

#include <string>
#include <vector>

#include "AddressFile.h"
#include "TableText.h"

using xbase::Status;
using xbase::Table;

namespace {

// The label a user knows a field by, for messages.
QString fieldLabel(const QString& field) {
    for (const AddressFile::Field& f : AddressFile::fields()) {
        if (field == QLatin1String(f.name)) return *f.label ? QString::fromLatin1(f.label) : field;
    }
    return field;
}

bool isMemoField(const Table& table, int index) { return table.field(index).isMemo(); }

// The memo of the current record; an error when it cannot be read.
Status readMemo(const Table& table, int index, QString* text) {
    text->clear();
    std::string raw;
    Status s = table.getMemo(index, &raw);
    if (s.ok()) *text = RecordEditor::memoFromStored(TableText::decode(table.codePage(), raw));
    return s;
}

QString storedValue(const Table& table, const QString& field) {
    if (table.eof()) return {};
    const int index = table.fieldIndex(field.toStdString());
    if (index < 0) return {};
    if (!isMemoField(table, index)) return AddressFile::text(table, index);
    QString text;
    (void)readMemo(table, index, &text);  // unreadable: shown empty, see memoProblem()
    return text;
}

}  // namespace

void RecordEditor::setTable(Table* table) {
    cancel();
    table_ = table;
}

bool RecordEditor::hasCurrent() const { return table_ && !table_->eof(); }

QString RecordEditor::memoProblem() const {
    if (editing()) return memoProblem_;
    if (!hasCurrent()) return {};
    const int index = table_->fieldIndex("MEMO");
    QString text;
    const Status s = index < 0 ? Status::OK() : readMemo(*table_, index, &text);
    return s.ok() ? QString() : QString::fromStdString(s.message());
}

QString RecordEditor::memoToStored(const QString& memo) {
    QString text = memo;
    text.replace("\r\n", "\n");
    text.replace('\n', "\r\n");
    return text;
}

QString RecordEditor::memoFromStored(const QString& stored) {
    QString text = stored;
    text.replace("\r\n", "\n");
    text.replace('\r', '\n');
    return text;
}

RecordValues RecordEditor::read(const Table& table) {
    RecordValues values;
    for (const AddressFile::Field& f : AddressFile::fields()) {
        if (f.type == 'L') continue;
        const QString name = QString::fromLatin1(f.name);
        values[name] = storedValue(table, name);
    }
    return values;
}

RecordValues RecordEditor::values() const {
    if (editing()) return buffer_;
    return table_ ? read(*table_) : RecordValues();
}

QString RecordEditor::value(const QString& field) const {
    if (editing()) return buffer_.value(field);
    return table_ ? storedValue(*table_, field) : QString();
}

void RecordEditor::setValue(const QString& field, const QString& text) {
    if (editing()) buffer_[field] = text;
}

bool RecordEditor::edit() {
    if (editing()) return true;
    if (!hasCurrent()) return false;
    original_ = read(*table_);
    buffer_ = original_;
    memoProblem_ = memoProblem();
    editRecNo_ = table_->recNo();
    state_ = State::Edit;
    return true;
}

void RecordEditor::append(const RecordValues& initial) {
    if (!table_) return;
    cancel();
    original_.clear();
    for (const AddressFile::Field& f : AddressFile::fields()) {
        if (f.type != 'L') original_[QString::fromLatin1(f.name)] = QString();
    }
    buffer_ = original_;
    memoProblem_.clear();
    for (auto it = initial.begin(); it != initial.end(); ++it) buffer_[it.key()] = it.value();
    appendedRecNo_ = 0;
    previousRecNo_ = table_->eof() ? 0 : table_->recNo();
    state_ = State::Insert;
}

Status RecordEditor::post() {
    if (!editing() || !table_) return Status::InvalidArgument("No record is being edited");

    // Everything is converted before anything is written, so that a value the code
    // page cannot hold leaves the file as it was.
    struct Pending {
        int field;
        std::string raw;
    };
    std::vector<Pending> pending;
    for (auto it = buffer_.begin(); it != buffer_.end(); ++it) {
        const int index = table_->fieldIndex(it.key().toStdString());
        if (index < 0) continue;
        if (it.value() == original_.value(it.key()) && state_ == State::Edit) continue;
        const bool memo = isMemoField(*table_, index);
        if (state_ == State::Insert && it.value().isEmpty()) continue;
        // A memo that could not be read keeps the text it has in the file.
        if (memo && !memoProblem_.isEmpty()) continue;
        const QString text = memo ? memoToStored(it.value()) : it.value();
        std::string raw;
        Status s = TableText::encode(table_->codePage(), text, &raw);
        if (!s.ok()) {
            return Status::InvalidArgument(fieldLabel(it.key()).toStdString() + ": " + s.message());
        }
        const xbase::FieldDef& def = table_->field(index);
        if (!memo && def.type == 'C' && raw.size() > def.width) raw.resize(def.width);
        pending.push_back({index, std::move(raw)});
    }

    Status s;
    if (state_ == State::Insert) {
        if (appendedRecNo_ == 0) {
            s = table_->appendBlank();
            if (!s.ok()) return s;
            appendedRecNo_ = table_->recNo();
            const int isdel = table_->fieldIndex("ISDEL");
            if (isdel >= 0) s = table_->replaceLogical(isdel, false);
        } else {
            s = table_->go(appendedRecNo_);
        }
    } else if (table_->recNo() != editRecNo_) {
        s = table_->go(editRecNo_);
    }
    if (!s.ok()) return s;
    for (const Pending& p : pending) {
        s = table_->replace(p.field, p.raw);
        if (!s.ok()) return s;
    }
    s = table_->commit();
    if (!s.ok()) return s;
    state_ = State::Browse;
    buffer_.clear();
    original_.clear();
    memoProblem_.clear();
    appendedRecNo_ = 0;
    return Status::OK();
}

void RecordEditor::cancel() {
    if (state_ == State::Insert && appendedRecNo_ != 0 && table_) {
        // A failed post left a blank record behind: take it out again.
        if (table_->go(appendedRecNo_).ok()) (void)AddressFile::DeleteRecord(*table_);
        (void)table_->go(previousRecNo_);
    }
    state_ = State::Browse;
    buffer_.clear();
    original_.clear();
    memoProblem_.clear();
    appendedRecNo_ = 0;
}
