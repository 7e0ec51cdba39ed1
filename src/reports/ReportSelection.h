#pragma once

#include <QString>
#include <cstdint>

class Messages;
namespace xbase {
class Table;
}

// The records a report prints ("What to Print"), shared by the built-in listings, the
// user-defined reports and their command.
namespace ReportSelection {

enum class Records { All, Filter, Current };

inline const QString kOutOfRange = QStringLiteral("Current record is out of range. Starting with first record");

// Sets the table's query for `records` ("All records": every record not deleted whose
// prefix does not read DELETED; "Only current record": record `current`; the filter:
// the query as it stands) and goes to the run's first record: `current` when
// `startFromCurrent` and it is in the selection, else the first record (telling the
// user so when `current` was asked for). Returns whether the run starts at the first
// record; `error` is set, and the result false, when the query cannot be set.
// The caller puts the query, order and record back (SavedCursor).
bool Select(xbase::Table& table, Records records, bool startFromCurrent, uint32_t current, Messages& messages,
            QString* error);

}  // namespace ReportSelection
