#pragma once

#include <QString>
#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

#include "JobProgress.h"

namespace xbase {
class CodePage;
class Table;
}  // namespace xbase

// "Search and Replace": finds the records whose chosen field is empty, equals or
// contains a value, and replaces the whole field or only the matching text. The window
// (TSearchAndReplace) and the command line gather the choices; the work is here.
namespace SearchReplace {

// A field of the "Search for field:" list: its display name and the field.
struct Field {
    const char* display;
    const char* name;
};
const std::vector<Field>& fields();
// The entry for a field name or a display name, in any letter case; null when none.
const Field* findField(const QString& name);

enum class Match {
    Equal,     // "Is exactly equal to  (leave empty for blank)"
    Contains,  // "Contains"
};
enum class Action {
    WholeField,    // "Replace the whole field with"
    MatchingText,  // "Replace only the matching text with"
};

struct Options {
    QString field;  // the field's name ("CITY")
    QString find;   // empty: the records whose field is empty
    QString replacement;
    Match match = Match::Equal;
    bool caseSensitive = true;
    Action action = Action::WholeField;
    // The user's filter (FilterExpression, without the not-deleted condition) that each
    // record must also pass; empty: every record.
    QString filterExpression;
};

inline const QString kQuestionCaption = QStringLiteral("Replace");
inline const QString kProgressText = QStringLiteral("Replacing Records ");
inline const QString kDoneMessage = QStringLiteral("Replacement done");
// At most this many occurrences are replaced in one field.
constexpr int kMaxReplacements = 50;

// The question asked before replacing, lines separated by CR:
//   "Find records where field " + display name
//   "is empty " | "exactly matches: " / "contains: " + "\"find\"" + "  (case sensitive)" / " (not case
//   sensitive)" "and delete the entire field " | "and delete the matching text " | "and replace the entire
//   field with \"x\"" | "and replace only the matching text with \"x\""
QString ConfirmationText(const Options& options);
// "Replaced " + count + " records"
QString ReplacedText(uint32_t count);
// Told after the two messages when some records were left as they were because the
// new text would not fit their field.
QString TooLongText(uint32_t count, int width);

// The record test on a field's text (stored bytes without trailing blanks) against the
// find value in the same code page. Without case sensitivity both are compared in
// upper case, as the tables' UPPER() makes it.
bool Matches(std::string_view fieldText, std::string_view find, Match match, bool caseSensitive,
             const xbase::CodePage& page);

// The field's text with each occurrence of `find` replaced, scanning from the left
// and going on after each replacement (the rest cut to 255 characters each time), at
// most kMaxReplacements times; text after the last replaced occurrence stays. Without
// case sensitivity occurrences are found in upper case while the field's own
// characters are copied. An empty `find` matches the whole (empty) field, which then
// becomes the replacement.
std::string ReplaceMatching(std::string_view fieldText, std::string_view find, std::string_view replacement,
                            bool caseSensitive, const xbase::CodePage& page);

struct Result {
    uint32_t replaced = 0;  // records written
    uint32_t visited = 0;
    uint32_t tooLong = 0;  // records left unchanged: the new text would not fit
    int width = 0;         // the field's width
};

// Visits every record in record-number order, whatever the table's query, and writes
// the new text into each record that carries no deletion mark, passes the filter (if
// any) and the record test. Records flagged ISDEL are changed like any other. A new
// text longer than the field leaves that record as it is (counted in tooLong). The
// gauge shows the records visited against the record count; keepGoing() is asked
// after every record and a stop leaves what was written (Cancelled). The query,
// order, deleted hiding and current record are put back afterwards. Failed with
// `error` set for an unknown field, a filter or value the table cannot take, or a
// record that cannot be written.
JobResult RunSearchReplace(xbase::Table& table, const Options& options, JobProgress& progress, Result* result,
                           QString* error);

}  // namespace SearchReplace
