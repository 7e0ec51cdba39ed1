#pragma once

#include <QString>
#include <cstdint>
#include <optional>
#include <string>
#include <unordered_map>

#include "JobProgress.h"

namespace xbase {
class Table;
}

// "Check State and Zip  Codes": finds address records whose state is not in the state
// table CSZ.DBF, or whose ZIP lies outside the range that table gives for the state.
// The questionable records' keys go into a temporary index on the address file, in
// last-name, first-name order; made the current order, it shows only them. The window
// (TStateZipCheck) and the command line run the check and show or tag the result; the
// work is here.
namespace StateZipCheck {

// The temporary index, beside the address file.
inline const QString kIndexFileName = QStringLiteral("_chksz.idx");
inline constexpr char kKeyExpression[] = "upper(LNAME)+upper(FNAME)";
// The index file for the address file at `tablePath`: its folder + "_chksz.idx".
QString IndexPath(const QString& tablePath);

inline const QString kCancelQuestion = QStringLiteral("Cancel operation?");
inline const QString kTagAllQuestion = QStringLiteral("Tag all records with questionable state or zipcodes?");
inline const QString kNoStateTableMessage = QStringLiteral("Unable to open CSZ.DBF");
inline const QString kStateTableRemovedMessage =
    QStringLiteral("The file CSZ.DBF has been removed from the SYSDATA directory. Unable to continue.");
// "Found " + n + " records with questionable state or zipcodes"
QString FoundText(uint32_t count);

// The ZIP range of a state, as the state table's row gives it (without trailing blanks).
struct Range {
    std::string low;
    std::string high;
};

// Whether a record is questionable: its state has no row (`range` empty), or its ZIP
// compares as text below the row's LOW_ZIP or above its HIGH_ZIP. So an empty ZIP is
// below any LOW_ZIP that is not empty, and 14999-1234 is above 14999.
bool Questionable(const std::string& zip, const std::optional<Range>& range);

// The state table's rows looked up by state code, through its STATE order (an exact
// match of the upper-cased code; the first row by record number when two share one).
// Rows carrying the deletion mark do not count. Codes already looked up are remembered.
class StateTable {
  public:
    // REQUIRES: `csz` is CSZ.DBF, open, with its STATE tag; it must outlive this.
    explicit StateTable(xbase::Table& csz);
    // The range for `state` (Unicode, as the address record holds it); empty when the
    // table has no row for it. An empty state has none.
    std::optional<Range> find(const QString& state);
    // Whether the table could be read; find() gives nothing otherwise.
    bool ok() const { return ok_; }

  private:
    xbase::Table& csz_;
    int state_ = -1, low_ = -1, high_ = -1;
    bool ok_ = false;
    std::unordered_map<std::string, std::optional<Range>> known_;
};

struct Options {
    bool blanks = false;  // include records with an empty state or ZIP
};

struct Result {
    uint32_t found = 0;  // questionable records
    int order = 0;       // the temporary index's order number; 0 when none was made
};

// Creates the empty index at `indexPath` (replacing a file left there) and visits the
// records the table shows (its query) in record-number order. Records flagged ISDEL or
// carrying the deletion mark are skipped, and so, unless `options.blanks`, are
// records whose state or ZIP is empty; a questionable record's key goes into the
// index. After every record the gauge shows the records passed (only between 1 and 99)
// and the status line "Found n records with questionable state or zipcodes";
// keepGoing() is asked and a stop keeps what was found (Cancelled). The index stays
// open (result->order) for the caller to make current and, when done, close and delete
// (DuplicateCheck::RemoveIndex); the table's order and record are otherwise put back.
// Failed with `error` set when the index cannot be made or a table read.
JobResult RunStateZipCheck(xbase::Table& table, StateTable& states, const Options& options,
                           const QString& indexPath, JobProgress& progress, Result* result, QString* error);

}  // namespace StateZipCheck
