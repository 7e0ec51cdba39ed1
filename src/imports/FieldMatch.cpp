#include "FieldMatch.h"

#include <algorithm>

#include "AddressFile.h"
#include "ColumnNames.h"
#include "Table.h"

namespace {

std::vector<Destination> destinations(const xbase::Table& table, bool (*wanted)(const Destination&)) {
    std::vector<Destination> list;
    for (const AddressFile::Field& f : AddressFile::fields()) {
        if (QLatin1String(f.name) == QLatin1String("TAG")) continue;
        const int index = table.fieldIndex(f.name);
        if (index < 0) continue;
        Destination d;
        d.field = index;
        d.name = QString::fromLatin1(f.name);
        d.label = f.label[0] ? QString::fromLatin1(f.label) : d.name;
        d.type = table.field(index).type;
        if (wanted(d)) list.push_back(d);
    }
    return list;
}

// Types whose values are no text: binary memos and blobs, and Visual FoxPro's field of
// null flags.
bool holdsText(char type) {
    return type != 'M' && type != 'G' && type != 'P' && type != 'W' && type != 'Q' && type != '0';
}

bool sameName(const QString& a, const QString& b) {
    return a.trimmed().compare(b.trimmed(), Qt::CaseInsensitive) == 0;
}

}  // namespace

namespace ImportDestinations {

std::vector<Destination> Ascii(const xbase::Table& table) {
    return destinations(table, [](const Destination& d) { return d.type == 'C' || d.type == 'M'; });
}

std::vector<Destination> Dbf(const xbase::Table& table) {
    return destinations(table, [](const Destination& d) { return d.name != QLatin1String("ISDEL"); });
}

}  // namespace ImportDestinations

FieldMatch::FieldMatch(std::vector<Destination> destinations, std::vector<SourceField> sources, Rules rules)
    : destinations_(std::move(destinations)),
      sources_(std::move(sources)),
      rules_(rules),
      matched_(destinations_.size(), -1) {}

int FieldMatch::rowOf(int source) const {
    if (source < 0) return -1;
    const auto it = std::find(matched_.begin(), matched_.end(), source);
    return it == matched_.end() ? -1 : int(it - matched_.begin());
}

void FieldMatch::assign(int row, int source) {
    if (row < 0 || row >= rowCount()) return;
    if (source >= int(sources_.size())) return;
    if (source >= 0) {
        for (int& m : matched_) {
            if (m == source) m = -1;
        }
    }
    matched_[size_t(row)] = source < 0 ? -1 : source;
}

void FieldMatch::clearAll() { std::fill(matched_.begin(), matched_.end(), -1); }

bool FieldMatch::any() const {
    return std::any_of(matched_.begin(), matched_.end(), [](int m) { return m >= 0; });
}

bool FieldMatch::fits(int row, int source) const {
    if (row < 0 || row >= rowCount() || source < 0 || source >= int(sources_.size())) return false;
    if (rules_ == Rules::Any) return true;
    const char to = destinations_[size_t(row)].type;
    const char from = sources_[size_t(source)].type;
    if (to == 'M') return from == 'M';
    if (to == 'D') return from == 'D';
    return holdsText(from);
}

std::vector<int> FieldMatch::offered(int row) const {
    std::vector<int> list;
    for (int s = 0; s < int(sources_.size()); ++s) {
        if (fits(row, s)) list.push_back(s);
    }
    return list;
}

int FieldMatch::rowNamed(const QString& name) const {
    for (int row = 0; row < rowCount(); ++row) {
        const Destination& d = destinations_[size_t(row)];
        if (sameName(d.label, name) || sameName(d.name, name)) return row;
    }
    return -1;
}

void FieldMatch::matchByNames(const QStringList& names) {
    const std::vector<int> rows = ColumnNames::Match(names.mid(0, int(sources_.size())), destinations_);
    for (size_t s = 0; s < rows.size(); ++s) {
        if (rows[s] >= 0 && matched_[size_t(rows[s])] < 0 && rowOf(int(s)) < 0) matched_[size_t(rows[s])] = int(s);
    }
}

void FieldMatch::autoMatch() {
    for (int s = 0; s < int(sources_.size()); ++s) {
        const SourceField& source = sources_[size_t(s)];
        switch (source.type) {
            case 'C':
            case 'L':
            case 'N':
            case 'D':
                for (int row = 0; row < rowCount(); ++row) {
                    const Destination& d = destinations_[size_t(row)];
                    if (matched_[size_t(row)] < 0 &&
                        (sameName(d.label, source.name) || sameName(d.name, source.name))) {
                        matched_[size_t(row)] = s;
                        break;
                    }
                }
                break;
            case 'M': {
                const int memo = rowNamed(QStringLiteral("MEMO"));
                if (memo >= 0 && matched_[size_t(memo)] < 0) matched_[size_t(memo)] = s;
                break;
            }
            default:
                break;
        }
    }
}
