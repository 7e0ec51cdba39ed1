#pragma once

#include <QString>
#include <QStringList>
#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

#include "JobProgress.h"
#include "RecordChoice.h"

class Messages;

namespace xbase {
class CodePage;
class Table;
}  // namespace xbase

// "Convert Case": rewrites chosen text fields of address records in upper case, lower
// case or with each word capitalised, for the current record, every record not flagged
// deleted, or the records of the user's filter. The window (TConvertToUpper) and the
// command line gather the choices; the work is here.
namespace CaseConversion {

enum class Rule {
    Upper,   // "Uppercase"
    Lower,   // "Lowercase"
    Proper,  // "First letter capitalized"
};

// "Current Record Only", "All Records" (every record not flagged deleted, whatever
// the filter), "All Records Matching Filter" (the records of the table's query).
using Records = RecordChoice::Records;

// A field that can be converted: the window's check box caption and the field.
struct Field {
    const char* caption;
    const char* name;
};
// The fifteen fields in the order they are converted.
const std::vector<Field>& fields();

inline const QString kNoFieldsMessage = QStringLiteral("No fields checked for conversion");
inline const QString kQuestion = QStringLiteral("Convert now? This process cannot be undone..");
inline const QString kQuestionCaption = QStringLiteral("Convert");
inline const QString kCancelQuestion = QStringLiteral("Cancel case conversion?");

// Converts text stored in code page `page`, one byte for one byte, with the letter
// case rules of that code page (the ones the tables' UPPER() uses: the ASCII letters,
// and the accented letters of Windows-1252):
//  - Upper: every letter in upper case;
//  - Lower: every letter in lower case;
//  - Proper: lower case, then a letter that is the first character or follows a
//    blank in upper case. A letter after a hyphen, an apostrophe or any other mark
//    stays in lower case: "o'CONNOR-JONES" gives "O'connor-jones".
std::string Convert(Rule rule, std::string_view bytes, const xbase::CodePage& page);
// The same for Unicode text, through Windows-1252 (for tests and the window's preview).
QString Convert(Rule rule, const QString& text);

struct Options {
    Rule rule = Rule::Upper;
    Records records = Records::Current;
    QStringList fields;  // field names; converted in the order of fields()
};

// Before converting: "No fields checked for conversion" when no field is chosen, else
// the question "Convert now? This process cannot be undone.." (caption "Convert",
// No preset). True when the conversion is to run.
bool Confirm(const Options& options, Messages& messages);

struct Result {
    uint32_t converted = 0;  // records visited and written
    uint32_t total = 0;      // the records of the set
};

// Converts the chosen fields of the chosen records, each record written as it is
// passed (index keys follow at once). Current: the current record only, even when
// the query would hide it. All: every record the table shows under the query
// "!ISDEL". Filter: every record of the table's query as it stands. The gauge shows
// the records done against the set; keepGoing() is asked after every record, and a
// stop leaves the records done so far converted (Cancelled). The query, order and
// current record are put back afterwards. Failed with `error` set when a field is
// unknown or a record cannot be written (records before it stay converted).
JobResult RunCaseConversion(xbase::Table& table, const Options& options, JobProgress& progress,
                            Result* result, QString* error);

}  // namespace CaseConversion
