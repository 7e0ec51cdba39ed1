#include "SystemTables.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QSaveFile>
#include <QSet>
#include <QTextStream>

#include "AddressFile.h"
#include "AppHome.h"
#include "Messages.h"
#include "TableText.h"
#include "FileSystem.h"

namespace SystemTables {

using xbase::FieldDef;
using xbase::Status;
using xbase::Table;

namespace {

struct Definition {
    Kind kind;
    const char* file;
    bool creatable;
    std::vector<FieldDef> fields;
    const char* tag;
    const char* openKey;  // the key made when the index is missing at open
};

FieldDef c(const char* n, uint16_t w) { return FieldDef{n, 'C', w}; }
FieldDef num(const char* n, uint16_t w, uint8_t d) { return FieldDef{n, 'N', w, d}; }

const std::vector<FieldDef>& labelStockFields() {
    static const std::vector<FieldDef> f = {
        c("DESCRIPT", 60),      c("PRINTER", 2),         num("LBLHEIGHT", 6, 3),
        num("LBLWIDTH", 6, 3),  num("NBRACROSS", 2, 0),  num("NBRDOWN", 2, 0),
        num("TOPMARG", 6, 3),   num("LEFTMARG", 6, 3),   num("HORIZPITCH", 6, 3),
        num("VERTPITCH", 6, 3), num("SHEETWIDTH", 6, 3), num("SHEETDEPTH", 6, 3),
        c("PAPERSIZE", 5),      c("LBLSHAPE", 2),        c("MANUFAC", 10),
        c("PRODTYPE", 25),      num("MIDEXTRAX", 6, 3),  num("MIDEXTRAY", 6, 3),
        c("ART", 12),
    };
    return f;
}

const std::vector<Definition>& definitions() {
    static const std::vector<Definition> list = {
        {Kind::Letter,
         "LETTER.DBF",
         true,
         {c("DESCRIPT", 50), {"RTF", 'M', 10}},
         "DESCRIPT",
         "UPPER(descript)"},
        {Kind::Report,
         "REPORT.DBF",
         true,
         {c("DESCRIPT", 60), c("LAYOUT", 60), c("BINARY", 12)},
         "DESCRIPT",
         "UPPER(descript)"},
        {Kind::Envelope,
         "ENVELOPE.DBF",
         true,
         {c("DESCRIPT", 60), num("NUMBER", 5, 0), c("BINARY", 12)},
         "DESCRIPT",
         "UPPER(descript)"},
        {Kind::Label,
         "LABEL.DBF",
         true,
         {c("DESCRIPT", 60),       c("PRINTER", 2),        num("LBLHEIGHT", 6, 3),  num("LBLWIDTH", 6, 3),
          num("NBRACROSS", 2, 0),  num("NBRDOWN", 2, 0),   num("TOPMARG", 6, 3),    num("LEFTMARG", 6, 3),
          num("HORIZPITCH", 6, 3), num("VERTPITCH", 6, 3), num("SHEETWIDTH", 6, 3), num("SHEETDEPTH", 6, 3),
          c("PAPERSIZE", 5),       c("LBLSHAPE", 2),       c("TPLDESCRIP", 60),     c("MANUFAC", 10),
          c("PRODTYPE", 25),       num("MIDEXTRAX", 6, 3), num("MIDEXTRAY", 6, 3),  c("ART", 12),
          {"DELETED", 'L', 1},     c("BINARY", 12)},
         "DESCRIPT",
         "UPPER(descript)"},
        {Kind::LabelStock, "LBLTPL.DBF", false, labelStockFields(), "DESCRIPT", "UPPER(descript)"},
        {Kind::Csz,
         "CSZ.DBF",
         false,
         {c("NAME", 20), c("STATE", 4), c("LOW_ZIP", 10), c("HIGH_ZIP", 10)},
         "STATE",
         "UPPER(state)"},
    };
    return list;
}

const Definition& definition(Kind kind) {
    for (const Definition& d : definitions())
        if (d.kind == kind) return d;
    return definitions().front();
}

std::string local(const QString& path) { return QFile::encodeName(path).toStdString(); }

// The existing file of that name in any letter case, else the name as given.
QString sysPath(const AppHome& home, const QString& name) { return home.existingFile("sysdata/" + name); }

// Rows of the comma-separated tables shipped in the program: a header line of field
// names, then values; text in double quotes (a doubled quote is one quote).
std::vector<QStringList> parseCsv(const QString& text) {
    std::vector<QStringList> rows;
    QStringList row;
    QString value;
    bool quoted = false, any = false;
    for (int i = 0; i < text.size(); ++i) {
        const QChar ch = text[i];
        if (quoted) {
            if (ch == '"' && i + 1 < text.size() && text[i + 1] == '"') {
                value += '"';
                ++i;
            } else if (ch == '"') {
                quoted = false;
            } else {
                value += ch;
            }
        } else if (ch == '"') {
            quoted = true;
            any = true;
        } else if (ch == ',') {
            row << value;
            value.clear();
        } else if (ch == '\n' || ch == '\r') {
            if (ch == '\r' && i + 1 < text.size() && text[i + 1] == '\n') ++i;
            if (any || !value.isEmpty() || !row.isEmpty()) {
                row << value;
                rows.push_back(row);
            }
            row.clear();
            value.clear();
            any = false;
        } else {
            value += ch;
            any = true;
        }
    }
    if (any || !value.isEmpty() || !row.isEmpty()) {
        row << value;
        rows.push_back(row);
    }
    return rows;
}

bool buildFromCsv(const QString& resource, const QString& path, const Definition& def, QString* error) {
    QFile in(resource);
    if (!in.open(QIODevice::ReadOnly)) {
        *error = "The shipped table " + resource + " is missing from the program";
        return false;
    }
    const std::vector<QStringList> rows = parseCsv(QString::fromUtf8(in.readAll()));
    if (rows.empty()) {
        *error = "The shipped table " + resource + " is empty";
        return false;
    }
    // Build beside the final name, under a name no file has, and move it into place
    // only when complete.
    const QString base = path.left(path.lastIndexOf('.'));
    const auto taken = [](const QString& name) {
        return QFileInfo::exists(QFile::decodeName(xbase::findFileIgnoringCase(local(name)).c_str()));
    };
    QString temp;
    for (int n = 0; temp.isEmpty(); ++n) {
        const QString name = base + "_NEW" + (n ? QString::number(n) : QString());
        if (!taken(name + ".DBF") && !taken(name + ".CDX")) temp = name + ".DBF";
    }
    xbase::TableSpec design;
    design.fields = def.fields;
    Status s = Table::create(local(temp), design);
    const bool made = s.ok();
    std::unique_ptr<Table> table;
    if (s.ok()) s = Table::open(local(temp), xbase::OpenMode::Exclusive, &table);
    std::vector<int> columns;
    for (const QString& name : rows.front())
        columns.push_back(table ? table->fieldIndex(name.toStdString()) : -1);
    for (size_t r = 1; s.ok() && r < rows.size(); ++r) {
        s = table->appendBlank();
        for (int col = 0; s.ok() && col < rows[r].size() && col < int(columns.size()); ++col) {
            if (columns[size_t(col)] < 0) continue;
            std::string raw;
            s = TableText::encode(table->codePage(), rows[r][col], &raw);
            if (s.ok()) s = table->replace(columns[size_t(col)], raw);
        }
    }
    if (s.ok()) s = table->indexTag(def.tag, def.openKey);
    const QString tempIndex = table ? QFile::decodeName(table->structuralIndexFile().c_str()) : QString();
    if (s.ok()) s = table->close();
    table.reset();
    if (s.ok()) {
        // The table's own index name: a file left there by a table of that name that
        // is gone is replaced; names in another letter case are not its own and stay.
        const QString finalIndex = base + ".CDX";
        QFile::remove(finalIndex);
        if (!QFile::rename(temp, path) || !QFile::rename(tempIndex, finalIndex)) {
            s = Status::IOError("Cannot write " + local(path));
        }
    }
    if (!s.ok()) {
        if (made) {  // only what this call made
            QFile::remove(temp);
            if (!tempIndex.isEmpty()) QFile::remove(tempIndex);
        }
        *error = "Cannot create " + path + ": " + QString::fromStdString(s.message());
        return false;
    }
    return true;
}

}  // namespace

QString fileName(Kind kind) { return QString::fromLatin1(definition(kind).file); }

bool open(const AppHome& home, Kind kind, std::unique_ptr<Table>* table, QString* message) {
    const Definition& def = definition(kind);
    table->reset();
    const QString path = sysPath(home, def.file);
    const QString failure =
        QString(def.creatable || kind == Kind::Csz ? "Unable to Open or Create " : "Unable to Open ") +
        def.file;
    std::unique_ptr<Table> t;
    Status s = Table::open(local(path), xbase::OpenMode::Exclusive, &t);
    if (!s.ok()) {
        // Only a missing file is created: one that exists but will not open is kept.
        if (!def.creatable || QFileInfo::exists(path)) {
            *message = failure;
            return false;
        }
        xbase::TableSpec design;
        design.fields = def.fields;
        s = Table::create(local(path), design);
        if (s.ok()) s = Table::open(local(path), xbase::OpenMode::Exclusive, &t);
        if (!s.ok()) {
            *message = failure;
            return false;
        }
    }
    if (t->tagArea(def.tag) == 0 && !QFileInfo::exists(QFile::decodeName(t->structuralIndexFile().c_str()))) {
        (void)t->indexTag(def.tag, def.openKey);  // a failure here leaves the table usable
    }
    (void)t->setOrder(0);
    *table = std::move(t);
    return true;
}

bool DoExtra(const AppHome& home, const QString& tableName, const char* tag, bool pack, const char* key,
             const xbase::ProgressHook& progress) {
    const QString path = sysPath(home, tableName);
    std::unique_ptr<Table> table;
    if (!Table::open(local(path), xbase::OpenMode::Exclusive, &table).ok()) return false;
    (void)table->removeStructuralIndex();
    if (pack && !table->pack(progress).ok()) return false;
    if (!table->indexTag(tag, key, {}, progress).ok()) return false;
    return table->close().ok();
}

void RebuildSystemIndexes(const AppHome& home, JobProgress& progress) {
    const struct {
        const char* status;
        const char* table;
        const char* tag;
        const char* key;
    } steps[] = {
        {"Rebuilding Letters File indexes", "LETTER.DBF", "DESCRIPT", "UPPER(DESCRIPT)"},
        {"Rebuilding Label File indexes", "LABEL.DBF", "DESCRIPT", "UPPER(DESCRIPT)"},
        {"Rebuilding State/Province File indexes", "CSZ.DBF", "STATE", "UPPER(STATE)"},
        {"Rebuilding Label Setup File indexes", "LBLTPL.DBF", "DESCRIPT", "UPPER(descript)"},
        {"Rebuilding Envelope File indexes", "ENVELOPE.DBF", "DESCRIPT", "UPPER(descript)"},
        {"Rebuilding Report File indexes", "REPORT.DBF", "DESCRIPT", "UPPER(descript)"},
    };
    for (const auto& step : steps) {
        progress.status(step.status);
        (void)DoExtra(home, step.table, step.tag, true, step.key, [&](int p) { progress.gauge(p); });
    }
}

bool seedShippedTables(const AppHome& home, QString* error) {
    const struct {
        Kind kind;
        const char* resource;
    } shipped[] = {{Kind::LabelStock, ":/data/lbltpl.csv"}, {Kind::Csz, ":/data/csz.csv"}};
    for (const auto& s : shipped) {
        const Definition& def = definition(s.kind);
        const QString path = sysPath(home, def.file);
        if (QFileInfo::exists(path)) continue;
        if (!buildFromCsv(s.resource, path, def, error)) return false;
    }
    return true;
}

QString fieldsListPath(const AppHome& home) { return sysPath(home, "FIELDS.LST"); }

QStringList readFieldsList(const AppHome& home) {
    QFile f(fieldsListPath(home));
    QStringList names;
    if (!f.open(QIODevice::ReadOnly | QIODevice::Text)) return names;
    for (const QByteArray& line : f.readAll().split('\n')) {
        const QString name = QString::fromLatin1(line).trimmed();
        if (!name.isEmpty()) names << name;
    }
    return names;
}

bool writeFieldsList(const AppHome& home, const QStringList& fields) {
    const xbase::NewFileMode mode(QFile::encodeName(fieldsListPath(home)).toStdString());
    QSaveFile f(fieldsListPath(home));
    if (!f.open(QIODevice::WriteOnly)) return false;
    for (const QString& name : fields) f.write(name.toLatin1() + "\r\n");
    if (!f.commit()) return false;
    mode.written();
    return true;
}

uint32_t FindDescription(xbase::Table& table, const QString& description) {
    const QString wanted = description.trimmed();
    const int field = table.fieldIndex("DESCRIPT");
    if (field < 0 || wanted.isEmpty()) return 0;
    for (xbase::Status s = table.goTop(); s.ok() && !table.eof(); s = table.skip(1)) {
        if (table.deleted()) continue;
        if (AddressFile::text(table, field).trimmed().compare(wanted, Qt::CaseInsensitive) == 0)
            return table.recNo();
    }
    return 0;
}

QString NextBinaryName(const QString& sysDataDir, const QString& extension) {
    QSet<QString> taken;
    for (const QString& name : QDir(sysDataDir).entryList(QDir::Files)) taken.insert(name.toUpper());
    // Candidates 100001 to 199999 with the first digit dropped: BIN00001 to BIN99999.
    for (int n = 100001; n <= 199999; ++n) {
        const QString name = "BIN" + QString::number(n).mid(1) + extension;
        if (!taken.contains(name.toUpper())) return name;
    }
    return QString();
}

bool DeleteDefinition(xbase::Table& table, uint32_t recNo, const AppHome& home, QString* error) {
    Status s = table.go(recNo);
    const int binary = table.fieldIndex("BINARY");
    const QString file = s.ok() && binary >= 0 ? AddressFile::text(table, binary).trimmed() : QString();
    if (s.ok()) s = table.deleteRecord();
    if (s.ok()) s = table.commit();
    if (!s.ok()) {
        *error = QString::fromStdString(s.message());
        return false;
    }
    if (!file.isEmpty()) {
        QFile::remove(home.existingFile("sysdata/" + file));
    }
    return true;
}

uint32_t CloneDefinition(xbase::Table& table, uint32_t recNo, const AppHome& home, const QString& extension,
                         QString* error) {
    Status s = table.go(recNo);
    if (!s.ok() || table.eof()) {
        *error = s.ok() ? QString("There is no definition to clone") : QString::fromStdString(s.message());
        return 0;
    }
    std::vector<std::string> values;
    for (int f = 0; f < table.fieldCount(); ++f) values.push_back(table.getString(f));
    const int descript = table.fieldIndex("DESCRIPT"), binary = table.fieldIndex("BINARY");
    const QString description = descript < 0 ? QString() : AddressFile::text(table, descript).trimmed();
    const QString source = binary < 0 ? QString() : AddressFile::text(table, binary).trimmed();
    const QString from = source.isEmpty() ? QString() : home.existingFile("sysdata/" + source);
    const QString name = NextBinaryName(home.sysDataDir(), extension);
    const QString to = home.sysDataDir() + "/" + name;
    // A missing layout file gives the clone an empty layout: nothing to copy.
    const xbase::NewFileMode mode(QFile::encodeName(to).toStdString());
    if (name.isEmpty() || (QFile::exists(from) && !QFile::copy(from, to))) {
        *error = "Unable to write a layout file in " + home.sysDataDir();
        return 0;
    }
    mode.written();
    s = table.appendBlank();
    for (int f = 0; s.ok() && f < table.fieldCount(); ++f)
        if (f != descript && f != binary) s = table.replace(f, values[size_t(f)]);
    if (s.ok() && descript >= 0)
        s = AddressFile::setText(table, descript, ("Clone of " + description).left(table.field(descript).width));
    if (s.ok() && binary >= 0) s = AddressFile::setText(table, binary, name);
    if (s.ok()) s = table.commit();
    if (!s.ok()) {
        QFile::remove(to);
        *error = QString::fromStdString(s.message());
        return 0;
    }
    return table.recNo();
}

void ForEachDefinition(xbase::Table& table, const std::function<void()>& visit) {
    table.setDeleted(true);
    const int order = table.tagArea("DESCRIPT");
    if (order != 0) (void)table.setOrder(order);
    for (Status s = table.goTop(); s.ok() && !table.eof(); s = table.skip(1)) visit();
}

uint32_t StoreDefinition(xbase::Table& table, uint32_t recNo,
                         const std::function<bool(xbase::Table&, QString*)>& write, const QString& layoutPath,
                         QString* error) {
    error->clear();
    Status s = recNo == 0 ? table.appendBlank() : table.go(recNo);
    if (s.ok() && write(table, error)) s = table.commit();
    if (s.ok() && error->isEmpty()) return table.recNo();
    if (recNo == 0) QFile::remove(layoutPath);
    if (error->isEmpty()) *error = QString::fromStdString(s.message());
    return 0;
}

bool AskAndDeleteDefinition(Messages& messages, xbase::Table& table, uint32_t recNo, const QString& description,
                            const AppHome& home) {
    if (!messages.ask("Delete \"" + description + "\"?", "DELETE", Messages::Preset::No)) return false;
    QString error;
    if (DeleteDefinition(table, recNo, home, &error)) return true;
    messages.error("Unable to delete \"" + description + "\": " + error);
    return false;
}

uint32_t AskAndCloneDefinition(Messages& messages, xbase::Table& table, uint32_t recNo, const QString& description,
                               const AppHome& home, const QString& extension) {
    if (!messages.ask("Clone \"" + description + "\"?", "CLONE", Messages::Preset::No)) return 0;
    QString error;
    const uint32_t clone = CloneDefinition(table, recNo, home, extension, &error);
    if (clone == 0) messages.error(error);
    return clone;
}

}  // namespace SystemTables
