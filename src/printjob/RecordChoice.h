#pragma once

#include <QString>
#include <cstdint>
#include <string>

class Messages;
namespace xbase {
class Table;
}

// "What to Print": the records a print job takes and where it starts. Every print
// screen and every print command fills one of these; SelectRecords turns it into the
// table's selection, the same way for the window and the command line.
struct RecordChoice {
    enum class Records {
        All,      // every record not deleted, whatever the user filter
        Filter,   // the table's query as it stands (the user filter with the not-deleted test)
        Current,  // only the start record
    };
    Records records = Records::Filter;
    bool startFromCurrent = false;  // "Start from current record"
    // The record the choice was made on (the window's current record, --recno or
    // --start-recno); 0: the table's current record when the records are selected.
    uint32_t start = 0;

    RecordChoice() = default;
    explicit RecordChoice(Records r) : records(r) {}

    // Told when the start record is not in the selection.
    static inline const QString kOutOfRange =
        QStringLiteral("Current record is out of range. Starting with first record");
};

// Which records a job counts as deleted, and so leaves out. Every print job leaves out
// the records carrying the deletion mark or ISDEL; the reports also leave out those
// whose PREFIX reads DELETED in any letter case, the older release's way of deleting.
enum class DeletedPolicy {
    Flagged,           // labels, envelopes, letters, the record sheet
    FlaggedOrPrefix,   // built-in and user-defined reports
};

// The query term that leaves out the records `policy` counts as deleted, for a table
// with or without the fields it tests (".T." when it has none of them).
std::string NotDeletedTerm(const xbase::Table& table, DeletedPolicy policy);

struct Selection {
    bool ok = false;         // false: the query could not be set (`error` says why)
    bool fromFirst = false;  // the run starts at the selection's first record
    QString error;
    explicit operator bool() const { return ok; }
};

// Makes the table's selection what `choice` asks and puts the cursor on the run's
// first record:
//  - All: deleted records hidden and the query NotDeletedTerm(policy);
//  - Current: the query "Recno()=N" and the not-deleted term, N the start record;
//  - Filter: the query as it stands.
// With startFromCurrent the run starts at the start record when it is in the
// selection; otherwise `messages` is told RecordChoice::kOutOfRange and the run starts at the first
// record, as it does without startFromCurrent. An empty selection is not an error
// here (the cursor is then at the end); each job says what it makes of it. The caller
// holds a SavedCursor to put the table back.
Selection SelectRecords(xbase::Table& table, const RecordChoice& choice, DeletedPolicy policy,
                        Messages& messages);
