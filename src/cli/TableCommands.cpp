// info, dump and count: reading any xBase table from the command line.

#include <memory>
#include <ostream>
#include <sstream>

#include "Cli.h"
#include "CodePage.h"
#include "Commands.h"
#include "Table.h"

namespace cli {

namespace {

using xbase::Status;
using xbase::Table;

const char* versionName(uint8_t v) {
    switch (v) {
        case 0x02:
            return "FoxBASE";
        case 0x03:
            return "dBase III / FoxPro, no memo";
        case 0x04:
            return "dBase IV, no memo";
        case 0x30:
            return "Visual FoxPro";
        case 0x31:
            return "Visual FoxPro, autoincrement";
        case 0x32:
            return "Visual FoxPro, varchar";
        case 0x83:
            return "dBase III with DBT memo";
        case 0x84:
        case 0x8B:
            return "dBase IV with DBT memo";
        case 0xF5:
            return "FoxPro 2.x with FPT memo";
        default:
            return "xBase";
    }
}

std::string hex(unsigned v) {
    static const char digits[] = "0123456789ABCDEF";
    return std::string("0x") + digits[(v >> 4) & 15] + digits[v & 15];
}

int fail(const Invocation& in, const Status& s) { return fail(in, QString::fromStdString(s.message())); }

Status openForReading(const std::string& path, std::unique_ptr<Table>* table) {
    Status s = Table::open(path, xbase::OpenMode::ReadOnlyShared, table);
    if (s.ok()) (*table)->setDeleted(true);  // commands see what the program shows
    return s;
}

std::vector<std::string> splitList(const std::string& text) {
    std::vector<std::string> parts;
    std::stringstream ss(text);
    std::string part;
    while (std::getline(ss, part, ',')) {
        if (!part.empty()) parts.push_back(part);
    }
    return parts;
}

}  // namespace

void writeCsvValue(std::ostream& out, const std::string& v) {
    const bool quote = v.find_first_of(",\"\r\n") != std::string::npos || (!v.empty() && (v.front() == ' '));
    if (!quote) {
        out << v;
        return;
    }
    out << '"';
    for (char c : v) {
        if (c == '"') out << '"';
        out << c;
    }
    out << '"';
}

int infoCommand(const Invocation& in) {
    std::unique_ptr<Table> table;
    Status s = Table::open(in.args.operand(0), xbase::OpenMode::ReadOnlyShared, &table);
    if (!s.ok()) return fail(in, s);
    std::ostream& out = in.out;
    out << "Table: " << table->path() << "\n";
    out << "Version: " << hex(table->version()) << " (" << versionName(table->version()) << ")\n";
    out << "Code page: " << table->codePage().number() << " (mark " << hex(table->codePageMark()) << ")\n";
    out << "Records: " << table->recCount() << "\n";
    if (!table->memoPath().empty()) out << "Memo file: " << table->memoPath() << "\n";
    out << "Fields: " << table->fieldCount() << "\n";
    for (int i = 0; i < table->fieldCount(); ++i) {
        const xbase::FieldDef& f = table->field(i);
        out << "  " << f.name << std::string(f.name.size() < 11 ? 11 - f.name.size() : 1, ' ') << f.type
            << " " << f.width;
        if (f.decimals) out << "," << int(f.decimals);
        out << "\n";
    }
    switch (table->indexState()) {
        case xbase::IndexState::Missing:
        case xbase::IndexState::Damaged:
            out << "Index: " << table->indexProblem() << "\n";
            break;
        default:
            break;
    }
    out << "Tags: " << table->orderCount() << "\n";
    for (int order = 1; order <= table->orderCount(); ++order) {
        const std::string name = table->tagName(order);
        out << "  " << name << std::string(name.size() < 11 ? 11 - name.size() : 1, ' ')
            << table->tagExpression(order);
        if (!table->tagCondition(order).empty()) out << " FOR " << table->tagCondition(order);
        out << "\n";
    }
    return kOk;
}

// Puts the table in the order of tag `name`; a message and false when it has none.
bool selectOrder(const Invocation& in, Table& table, const std::string& name) {
    const int order = table.tagArea(name);
    Status s = order ? table.setOrder(order) : Status::NotFound("The table has no tag " + name);
    if (!s.ok()) {
        fail(in, s);
        return false;
    }
    return true;
}

int dumpCommand(const Invocation& in) {
    const std::string& path = in.args.operand(0);
    const std::string& queryText = in.args.value("--query");
    const std::string& fieldList = in.args.value("--fields");
    const std::string& orderName = in.args.value("--order");
    const FilterOptions filter = FilterOptionsOf(in.args);

    std::unique_ptr<Table> table;
    Status s = openForReading(path, &table);
    if (!s.ok()) return fail(in, s);
    if (!orderName.empty() && !selectOrder(in, *table, orderName)) return kFailed;

    std::vector<int> columns;
    if (fieldList.empty()) {
        for (int i = 0; i < table->fieldCount(); ++i) {
            const char type = table->field(i).type;
            if (!table->field(i).isMemo() && type != '0') columns.push_back(i);  // memo text only when named
        }
    } else {
        for (const std::string& name : splitList(fieldList)) {
            const int index = table->fieldIndex(name);
            if (index < 0) return fail(in, Status::NotFound("Unknown field " + name));
            columns.push_back(index);
        }
    }
    const int code = applyQuery(in, *table, queryText, filter);
    if (code != kOk) return code;
    s = table->goTop();
    if (!s.ok()) return fail(in, s);

    std::ostream& out = in.out;
    for (size_t c = 0; c < columns.size(); ++c) {
        if (c) out << ',';
        writeCsvValue(out, table->field(columns[c]).name);
    }
    out << '\n';
    const xbase::CodePage& cp = table->codePage();
    std::string memo;
    std::ostringstream row;
    while (!table->eof()) {
        row.str(std::string());
        for (size_t c = 0; c < columns.size(); ++c) {
            if (c) row << ',';
            if (!table->field(columns[c]).isMemo()) {
                writeCsvValue(row, cp.toUtf8(table->getTrimString(columns[c])));
                continue;
            }
            // A memo that cannot be read is an error, not an empty value.
            s = table->getMemo(columns[c], &memo);
            if (!s.ok()) {
                return fail(in, QString::fromStdString("Record " + std::to_string(table->recNo()) + ": " +
                                                       s.message()));
            }
            memo.erase(memo.find_last_not_of(' ') + 1);
            writeCsvValue(row, cp.toUtf8(memo));
        }
        out << row.str() << '\n';
        s = table->skip(1);
        if (!s.ok()) return fail(in, s);
    }
    return kOk;
}

int countCommand(const Invocation& in) {
    const std::vector<std::string>& args = in.args.operands();
    const FilterOptions filter = FilterOptionsOf(in.args);
    // EXPR may be left out only when a filter says what to count.
    if (args.size() < 2 && filter.file.empty()) return usage(in);
    std::unique_ptr<Table> table;
    Status s = openForReading(args[0], &table);
    if (!s.ok()) return fail(in, s);
    const int code = applyQuery(in, *table, args.size() > 1 ? args[1] : std::string(), filter);
    if (code != kOk) return code;
    in.out << table->queryRecCount() << "\n";
    return kOk;
}

int seekCommand(const Invocation& in) {
    const std::vector<std::string>& args = in.args.operands();
    const bool exact = in.args.has("--exact");
    std::unique_ptr<Table> table;
    Status s = openForReading(args[0], &table);
    if (!s.ok()) return fail(in, s);
    if (!selectOrder(in, *table, args[1])) return kFailed;
    table->setExact(exact);
    bool found = false;
    s = table->seek(args[2], &found);
    if (!s.ok()) return fail(in, s);
    if (!found) return fail(in, QString::fromStdString(args[2] + " not found"));
    in.out << table->recNo() << "\n";
    return kOk;
}

}  // namespace cli
