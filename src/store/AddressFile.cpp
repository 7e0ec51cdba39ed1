#include "AddressFile.h"

#include <QFile>
#include <QFileInfo>
#include <cmath>

#include "TableText.h"

namespace AddressFile {

using xbase::Status;
using xbase::Table;

const std::vector<Field>& fields() {
    static const std::vector<Field> list = {
        {"LNAME", 'C', 30, "Last Name"},
        {"FNAME", 'C', 30, "First Name"},
        {"MIDDLE", 'C', 1, "Middle"},
        {"PREFIX", 'C', 12, "Prefix"},
        {"TITLE", 'C', 30, "Title"},
        {"ORG", 'C', 30, "Organization"},
        {"STREET", 'C', 40, "Address 1"},
        {"STREET2", 'C', 40, "Address 2"},
        {"CITY", 'C', 30, "City"},
        {"STATE", 'C', 20, "State"},
        {"ZIP", 'C', 10, "Zip/Postal Code"},
        {"COUNTRY", 'C', 30, "Country"},
        {"DATE", 'C', 15, "Actual Date"},
        {"PHONE", 'C', 30, "Phone 1"},
        {"PHONE2", 'C', 30, "Phone 2"},
        {"FAX", 'C', 40, "Fax"},
        {"EMAIL", 'C', 40, "Email"},
        {"CODES", 'C', 30, "Codes"},
        {"USER1", 'C', 40, "Comment 1"},
        {"USER2", 'C', 40, "Comment 2"},
        {"ISDEL", 'L', 1, "Deleted"},
        {"TAG", 'C', 8, ""},
        {"MEMO", 'M', 10, ""},
    };
    return list;
}

const std::vector<TagDef>& tags() {
    static const std::vector<TagDef> list = {
        {"NAME", "UPPER(LNAME-FNAME)"},
        {"LNAME", "UPPER(LNAME)+UPPER(FNAME)"},
        {"FNAME", "UPPER(FNAME)"},
        {"TITLE", "UPPER(TITLE)"},
        {"ORG", "UPPER(ORG)"},
        {"STREET", "UPPER(STREET)"},
        {"STREET2", "UPPER(STREET2)"},
        {"CITY", "UPPER(CITY+STATE)"},
        {"STATE", "UPPER(STATE)"},
        {"ZIP", "UPPER(ZIP)"},
        {"COUNTRY", "UPPER(COUNTRY)"},
        {"PHONE", "UPPER(PHONE)"},
        {"PHONE2", "UPPER(PHONE2)"},
        {"EMAIL", "UPPER(EMAIL)"},
        {"FAX", "UPPER(FAX)"},
        {"USER1", "UPPER(USER1)"},
        {"USER2", "UPPER(USER2)"},
        {"DATE", "UPPER(DATE)"},
        {"TAG", "UPPER(TAG)"},
        {"CODES", "UPPER(CODES)"},
        {"PREFIX", "UPPER(PREFIX)"},
        {"MIDDLE", "UPPER(MIDDLE)"},
        {"DELETED", "DELETED()"},
        {"STATEZIP", "UPPER(STATE-ZIP)"},
        {"ISDEL", "ISDEL"},
        {"NOTISDEL", "!ISDEL"},
    };
    return list;
}

namespace {

std::string local(const QString& path) { return QFile::encodeName(path).toStdString(); }

}  // namespace

bool DropIndexFile(Table& table) { return table.removeStructuralIndex().ok(); }

bool CreateAddressFile(const QString& path, const FieldLengths& widths, QString* message,
                       const xbase::ProgressHook& progress) {
    xbase::TableSpec design;
    for (const Field& f : fields()) {
        const int sized = widths.width(QString::fromLatin1(f.name));
        design.fields.push_back({f.name, f.type, uint16_t(sized > 0 ? sized : f.width)});
    }
    if (!Table::create(local(path), design).ok()) {
        *message = "Create failed";
        return false;
    }
    std::unique_ptr<Table> table;
    if (!QFileInfo::exists(path) || !OpenTableFile(path, &table, message)) {
        *message = "File creation failed";
        return false;
    }
    if (!CreateAddressTags(*table, message, progress)) {
        *message += "\n";
        *message += "File creation failed";
        return false;
    }
    return table->close().ok();
}

bool CreateAddressTags(Table& table, QString* message, const xbase::ProgressHook& progress) {
    if (!DropIndexFile(table)) {
        *message = "Unable to create index files";
        return false;
    }
    for (const TagDef& t : tags()) {
        if (!table.indexTag(t.name, t.key, {}, progress).ok()) {
            *message = "Unable to create index files";
            return false;
        }
    }
    return true;
}

bool CheckTableFields(const Table& table) {
    for (const Field& f : fields()) {
        const int index = table.fieldIndex(f.name);
        if (index < 0) return false;
        // Queries test ISDEL as a condition and the memo page reads MEMO: a field of
        // another type there would break every view of the file.
        const char type = table.field(index).type;
        if ((f.type == 'L' || f.type == 'M') && type != f.type) return false;
    }
    return true;
}

bool OpenTableFile(const QString& path, std::unique_ptr<Table>* table, QString* message) {
    table->reset();
    if (!QFileInfo(path).isFile()) {
        *message = "File " + path + " not found";
        return false;
    }
    std::unique_ptr<Table> t;
    const Status s = Table::open(local(path), xbase::OpenMode::Exclusive, &t);
    if (!s.ok()) {
        *message = path + ": " + QString::fromStdString(s.message());
        return false;
    }
    if (!CheckTableFields(*t)) {
        *message = path + " is not an address file: it lacks fields the program needs";
        return false;
    }
    *table = std::move(t);
    return true;
}

bool CheckValidIndex(const Table& table) {
    for (const TagDef& t : tags()) {
        if (table.tagArea(t.name) == 0) return false;
    }
    return true;
}

bool OpenQYZFile(const QString& path, std::unique_ptr<Table>* table, QStringList* messages) {
    QString reason;
    if (OpenTableFile(path, table, &reason)) return true;
    messages->clear();
    if (!QFileInfo(path).isFile()) *messages << reason;
    *messages << "Unable to open " + path +
                     "\r\n\r\n * May not be a Quillory file.\r\n"
                     " * May be in use by another program or user";
    return false;
}

QString RecordCountDamage(const QString& path) {
    xbase::RecordCount count;
    if (!Table::checkRecordCount(local(path), &count).ok() || count.sound) return {};
    return QString::fromStdString(count.describe());
}

QString recoverQuestion(const QString& path, const QString& damage) {
    return "The record count of " + path + "\r\nis damaged: " + damage + ".\r\nRecover the records now?";
}

bool RecoverRecordCount(const QString& path, QString* message) {
    xbase::RecordCount count;
    const Status s = Table::recoverRecordCount(local(path), &count);
    if (!s.ok()) {
        *message = "The records of " + path + " were not recovered.\r\n" + QString::fromStdString(s.message());
        return false;
    }
    *message = "Recovered " + path + ": it holds " + QString::number(count.recovered()) + " records";
    if (count.partial) {
        *message += "\r\nRecord " + QString::number(count.recovered()) +
                    " was cut short; what is missing of it is left blank";
    }
    return true;
}

QString rebuildQuestion(const QString& path) {
    return "The index file for " + path + "\r\nis missing or invalid. Rebuild now?";
}

void ReindexGauge::packProgress(int percent) { value_ = std::max(0, std::min(100, percent)); }

void ReindexGauge::tagProgress(int percent) {
    if (percent > previous_) total_ += percent - previous_;
    previous_ = percent;
    // Rounded to the nearest whole number, halves to even, and never past full.
    const double exact = total_ * 100.0 / fullTotal_;
    value_ = std::min(100, int(std::nearbyint(exact)));
}

bool Reindex(Table& table, ReindexGauge& gauge, QString* message, JobProgress& progress) {
    progress.status("Cleaning out old deleted records");
    (void)DropIndexFile(table);
    Status s = table.pack([&](int p) {
        gauge.packProgress(p);
        progress.gauge(gauge.value());
    });
    if (!s.ok()) {
        *message = QString::fromStdString(s.message());
        return false;
    }
    progress.status("Rebuilding indexes");
    return CreateAddressTags(table, message, [&](int p) {
        gauge.tagProgress(p);
        progress.gauge(gauge.value());
    });
}

Status DeleteRecord(Table& table) {
    const int isdel = table.fieldIndex("ISDEL");
    if (isdel < 0) return Status::InvalidArgument("The file has no ISDEL field");
    Status s = table.replaceLogical(isdel, true);
    return s.ok() ? table.deleteRecord() : s;
}

QString text(const Table& table, int field) {
    return TableText::decode(table.codePage(), table.getTrimString(field));
}

Status setText(Table& table, int field, const QString& value) {
    std::string raw;
    Status s = TableText::encode(table.codePage(), value, &raw);
    return s.ok() ? table.replace(field, raw) : s;
}

}  // namespace AddressFile
