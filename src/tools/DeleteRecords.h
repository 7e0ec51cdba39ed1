#pragma once

#include <QString>
#include <cstdint>

#include "JobProgress.h"

namespace xbase {
class Table;
}

// "Delete Records": removes many address records at once. Records deleted one by one
// get ISDEL and the table's deletion mark; deleting every record empties the table at
// once. The space is given back when the indexes are rebuilt (a pack). The window
// (TDeleteRecords) and the command line gather the choice; the work is here.
namespace DeleteRecords {

enum class Choice {
    All,          // "Delete &All Records"
    Matching,     // "Delete Records matching current &Filter"
    NotMatching,  // "Delete Records which do &NOT match current Filter"
};

inline const QString kQuestion = QStringLiteral("Are you sure?");
inline const QString kQuestionCaption = QStringLiteral("DELETE");
inline const QString kProgressText = QStringLiteral("Deleting Records ");
inline const QString kRebuildAdvice =
    QStringLiteral("For optimum space usage, please select\r\n[Rebuild Indexes] from the File menu");
// "Deleted " + count + " records"
QString DeletedText(uint32_t count);

// The query that selects the records to delete, from the user's filter
// (FilterExpression, without the not-deleted condition): every record for All and
// for Matching without a filter; the filter for Matching; ".not.(" + filter + ")" for
// NotMatching. NotMatching without a filter selects nothing ("" is never returned for
// it): there is nothing outside a filter that is not set.
QString SelectionQuery(Choice choice, const QString& filterExpression);

struct Result {
    uint32_t deleted = 0;  // the count told to the user
    uint32_t total = 0;    // the records of the set
};

// Deletes the chosen records. All (and Matching without a filter) empties the table
// at once (zap) and counts every record it held. Otherwise each record of the set, in
// record-number order, gets ISDEL and the deletion mark in one write; a record that
// carries the deletion mark already is deleted and is left alone. The gauge shows the
// records deleted against the set (deleted records included, as they are visible
// while it runs); keepGoing() is asked after every record and a stop leaves the
// records done so far deleted (Cancelled). The table's query, order, deleted hiding
// and current record are put back afterwards (the current record may be gone: the
// end of file). Failed with `error` set when the filter cannot be used or a record
// cannot be written.
JobResult RunDeleteRecords(xbase::Table& table, Choice choice, const QString& filterExpression,
                           JobProgress& progress, Result* result, QString* error);

}  // namespace DeleteRecords
