#pragma once

#include <QString>
#include <QStringList>
#include <vector>

namespace xbase {
class Table;
}

// A field of the open address file that an import can fill.
struct Destination {
    int field = -1;  // in the address table
    QString name;    // "LNAME"
    QString label;   // "Last Name", as the main window shows it (the name when it has none)
    char type = 'C';
};

// A field of the import's source: "Field 1" of a text file, a DBF's own field.
struct SourceField {
    QString name;
    char type = 'C';
};

// What an import can fill: the fields the record page shows (every stored field but
// TAG, the tag identifier that tagging writes), in file order.
namespace ImportDestinations {
// The ASCII import's: the character fields among them, and the memo.
std::vector<Destination> Ascii(const xbase::Table& table);
// The DBF import's: all of them but ISDEL.
std::vector<Destination> Dbf(const xbase::Table& table);
}  // namespace ImportDestinations

// Which source field feeds each destination field: one row per destination, each
// holding one source or none, and a source feeding at most one row. The matching
// dialogs show and change it, the imports follow it.
class FieldMatch {
  public:
    enum class Rules {
        Any,     // every source fits every row (the ASCII import)
        ByType,  // the DBF import's: a memo row takes memo sources, a date row date
                 // sources, any other row every source that holds text
    };

    FieldMatch() = default;
    FieldMatch(std::vector<Destination> destinations, std::vector<SourceField> sources, Rules rules);

    const std::vector<Destination>& destinations() const { return destinations_; }
    const std::vector<SourceField>& sources() const { return sources_; }
    int rowCount() const { return int(destinations_.size()); }

    // The source of a row, or -1.
    int sourceOf(int row) const { return row >= 0 && row < rowCount() ? matched_[size_t(row)] : -1; }
    // The row a source feeds, or -1.
    int rowOf(int source) const;
    // Puts `source` in `row` and takes it out of any other row; -1 empties the row.
    void assign(int row, int source);
    void clearRow(int row) { assign(row, -1); }
    void clearAll();
    // Whether any row has a source: an import needs one.
    bool any() const;

    // The sources "Select Field" offers for a row, in source order.
    std::vector<int> offered(int row) const;
    bool fits(int row, int source) const;
    // The row whose display label or field name is `name` (any letter case, blanks
    // around it ignored), or -1.
    int rowNamed(const QString& name) const;

    // The ASCII import's match by a first line of column names: source i goes to the
    // row ColumnNames::Match() gives names[i], when that row is empty.
    void matchByNames(const QStringList& names);
    // The DBF import's automatic match, source by source: a character, logical,
    // numeric or date field goes to the first empty row whose label or name is its
    // name, a memo field to the row MEMO when that is empty; other types stay out.
    void autoMatch();

  private:
    std::vector<Destination> destinations_;
    std::vector<SourceField> sources_;
    Rules rules_ = Rules::Any;
    std::vector<int> matched_;  // per row
};
