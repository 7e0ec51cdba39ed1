#pragma once

#include <QString>
#include <cstdint>

#include "JobProgress.h"

namespace xbase {
class Table;
}

// "Check and Repair Duplicates": finds address records that may be duplicates of
// their neighbour in name or street order. The candidates' keys go into a temporary
// single-order index file that starts empty; made the current order, it turns the
// address table into a view of the candidates. The window (TDupCheck) and the command
// line run the scan and show or tag the result; the work is here.
namespace DuplicateCheck {

enum class Kind {
    LastFirst = 0,         // "&Last + First": last name and first name
    LastFirstInitial = 1,  // "Last + &First Initial": last name and the first name's first letter
    Street = 2,            // "&Street Address": the first N characters of STREET
};

constexpr int kMaxStreetLength = 30;

struct Options {
    Kind kind = Kind::LastFirst;
    int streetLength = kMaxStreetLength;  // 1 to 30, for the street check
};

// The temporary index, in the application home.
inline const QString kIndexFileName = QStringLiteral("_chkdup.idx");
// Its key: "upper(STREET)" for the street check, "upper(LNAME-FNAME)" for the others.
const char* KeyExpression(Kind kind);
// The address file's tag whose order makes neighbours: STREET or NAME.
const char* NeighbourTag(Kind kind);

inline const QString kCancelQuestion = QStringLiteral("Cancel operation?");
inline const QString kTagAllQuestion = QStringLiteral("Tag all possible duplicates?");
inline const QString kDeleteQuestion = QStringLiteral("Delete this record?");
// "Found " + count + " possible duplicates"
QString FoundText(uint32_t count);

// The value compared with the neighbour's: last + first name (or its first letter)
// joined without a separator, or the street's first `streetLength` characters; each
// field without trailing blanks. Empty when the record starts no comparison (an empty
// last name, an empty street prefix).
std::string ComparedValue(const std::string& last, const std::string& first, const std::string& street,
                          const Options& options);

struct Result {
    uint32_t matches = 0;     // neighbour pairs that matched
    uint32_t candidates = 0;  // records whose key went into the index
    int order = 0;            // the temporary index's order number; 0 when none was made
};

// Creates the empty index at `indexPath` (replacing a file left there) and walks the
// records the table shows (its query; records flagged ISDEL or carrying the deletion
// mark are never compared) in the order of NeighbourTag. Each record whose compared
// value equals the previous record's, without regard to letter case, counts one match
// and puts its own and the previous record's key into the index (each record once).
// The status line tells "Found n possible duplicates" after every record, the gauge
// the records passed. keepGoing() is asked after every record; a stop keeps the
// candidates found so far (Cancelled). The index stays open (result->order) for the
// caller to make current and, when done, close and delete; the table's order and
// query are otherwise put back. Failed with `error` set when the index cannot be made
// or the table read; the index is then closed and removed.
JobResult RunDuplicateScan(xbase::Table& table, const Options& options, const QString& indexPath,
                           JobProgress& progress, Result* result, QString* error);

// Closes the temporary index of `order` (when not 0) and deletes its file.
void RemoveIndex(xbase::Table& table, int order, const QString& indexPath);

}  // namespace DuplicateCheck
