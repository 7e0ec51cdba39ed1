#pragma once

#include <QString>
#include <QStringList>
#include <vector>

// The fields of an address record as the Address Browse grid knows them: the stored
// fields and the calculated ones, in one order that the user may change by dragging
// columns and that FIELDS.LST keeps between browses. Only the visible fields are
// columns; the hidden ones (DATE, ISDEL, TAG, MEMO and the print-time names) keep
// their places in the order all the same, so that the file lists every field.
namespace BrowseColumns {

enum class Kind {
    Stored,       // a field of the file
    Tagged,       // "Yes" when TAG equals the current tag identifier, else "No"
    DisplayDate,  // DATE in the system's short date format
    Calculated,   // FullName and the like: never a column of the grid
};

struct Column {
    const char* name;   // as FIELDS.LST writes it
    const char* label;  // the column title
    int width;          // in characters; 0: the width of the file's field
    bool visible;
    Kind kind;
};

// Every field in the order of a browse without FIELDS.LST: Tagged first, the stored
// fields in file order, then the display date and the print-time names.
const std::vector<Column>& all();
// The field named `name` in any letter case; nullptr when there is none.
const Column* find(const QString& name);
QStringList defaultOrder();

// The order after reading FIELDS.LST: for line i (from 0), the field of that name
// (any letter case) moves to position i (the last position when i is past it); names
// that are no field are skipped.
QStringList ApplyFieldsList(const QStringList& lines);

// The order to write to FIELDS.LST after a browse: the hidden fields keep their
// positions in `order`, and the visible fields fill the other positions in the order
// the grid shows them (`shown`, the columns' names as dragged).
QStringList FieldsListAfter(const QStringList& order, const QStringList& shown);

}  // namespace BrowseColumns
