#pragma once

#include <QString>
#include <cstdint>

#include "FilterCriteria.h"
#include "Table.h"

// The user's filter: turning FilterCriteria into an xBase condition (FilterExpression)
// and making it the address table's query, together with the condition that hides
// deleted records. The main window keeps the criteria and the expression; the Filter
// dialog, Clear/Restore Filter and the tools call these and show what they return.
namespace Filter {

// The query of the unfiltered view: deleted records are never shown.
inline constexpr char kNotDeleted[] = "!ISDEL";
// What ApplyFilter joins to a filter: ".and. !ISDEL".
inline constexpr char kNotDeletedJoin[] = ".and. !ISDEL";
// The longest query the table is given.
inline constexpr int kMaxQueryLength = 255;
// The longest value after an operator (">=", ">", "<=", "<", "$").
inline constexpr int kMaxOperatorValue = 99;

inline const QString kTooComplexMessage = QStringLiteral("Sorry - filter is too complex.Please simplify it.");

// The condition for one entry on field expression `field` (a field name or
// "CITY+STATE"), from the entry's text as typed:
//  - a list: split at every ";" (joined by ".or."), else at every "+" (".and."), else
//    at every "^" (".and..not."), keeping empty pieces; each piece is a condition of its
//    own in parentheses, and the whole list is parenthesised: "A;B" gives
//    ((A').or.(B')). Pieces are split again at the separators of lower priority.
//  - one value, with an optional leading operator ">=", ">", "<=", "<" or "$" (its
//    value at most 99 characters); without one the operator is "=", which holds when the
//    field begins with the value while the table's exact matching is off.
// The value is upper-cased as the table's UPPER() does and quoted: UPPER(F)>="VALUE",
// or "VALUE"$UPPER(F) for "$". A value holding a double quote is written as quoted
// pieces joined by +'"'+, so that it still reads as one text.
QString BuildFieldCondition(const QString& field, const QString& text);

// FilterExpression: the condition of every entry that is not blank, joined by " and ",
// in the order Last, First, Title, Org, Address 1, Address 2, Zip, City, State,
// Country, Phone 1, Phone 2, Fax, E-mail, Comment 1, Comment 2, Date, Codes; then
// (UPPER(TAG)="<globalTagId>") when Tagged is set; the whole negated as "(!(...))" when
// Reverse is set. Empty when nothing is asked for.
QString BuildQueryString(const FilterCriteria& criteria, const QString& globalTagId);

// The table's query for a filter expression: "!ISDEL" for none, else the expression
// followed by ".and. !ISDEL" (so that Reverse never shows deleted records).
QString QueryFor(const QString& filterExpression);

// Whether the query for a non-empty `filterExpression` exceeds 255 characters (an
// expression of 243 characters is the longest accepted).
bool TooComplex(const QString& filterExpression);

// Text as the table's UPPER() gives it for Windows-1252 text: ASCII letters and the
// accented letters of that code page, one character for one (so "ß" stays "ß").
QString UpperForTable(const QString& text);

// The main window's filter state.
struct State {
    FilterCriteria criteria;
    QString expression;  // FilterExpression; empty: no filter
};

// Empties every text, clears both flags and the expression.
void ClearQueryVars(State& state);

struct ApplyResult {
    uint32_t matches = 0;  // 0 also when no filter is set
    QString message;       // for an information box; empty when there is nothing to tell
};

// Builds the expression from the criteria and makes the table's query from it:
//  - no expression: query "!ISDEL", 0 matches;
//  - too long: the too-complex message, query "!ISDEL", ClearQueryVars, 0 matches;
//  - no record matches: ClearQueryVars and query "!ISDEL", 0 matches and no message
//    (a filter that matches nothing is dropped);
//  - otherwise the number of matching records.
// A filter the table cannot take (a character its code page lacks) is dropped like
// one that is too long, with the table's message. The cursor does not move; the
// caller goes to the first record.
ApplyResult ApplyFilter(xbase::Table& table, State& state, const QString& globalTagId);

// The Filter dialog's match line: "<n> matches" when a filter is set, else "No filter set".
QString MatchText(const State& state, uint32_t matches);

}  // namespace Filter
