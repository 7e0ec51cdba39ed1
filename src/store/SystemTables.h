#pragma once

#include <QString>
#include <QStringList>
#include <functional>
#include <memory>

#include "JobProgress.h"
#include "Table.h"

class AppHome;
class Messages;

// The system tables in the home's "sysdata" folder: letter, report, envelope and label
// definitions, the label stock catalogue and the state/ZIP table, each with one tag.
namespace SystemTables {

enum class Kind { Letter, Report, Envelope, Label, LabelStock, Csz };

// Opens a system table exclusively, in natural order. LETTER, REPORT, ENVELOPE and
// LABEL are created when missing (a file that exists but cannot be opened is never
// replaced); a missing index gets its tag without a word. On failure `message` is
// "Unable to Open or Create LETTER.DBF" and the like.
bool open(const AppHome& home, Kind kind, std::unique_ptr<xbase::Table>* table, QString* message);
inline bool OpenLetterTable(const AppHome& h, std::unique_ptr<xbase::Table>* t, QString* m) {
    return open(h, Kind::Letter, t, m);
}
inline bool OpenReportTable(const AppHome& h, std::unique_ptr<xbase::Table>* t, QString* m) {
    return open(h, Kind::Report, t, m);
}
inline bool OpenEnvelopeTable(const AppHome& h, std::unique_ptr<xbase::Table>* t, QString* m) {
    return open(h, Kind::Envelope, t, m);
}
inline bool OpenLabelTable(const AppHome& h, std::unique_ptr<xbase::Table>* t, QString* m) {
    return open(h, Kind::Label, t, m);
}
inline bool OpenLabelStockTable(const AppHome& h, std::unique_ptr<xbase::Table>* t, QString* m) {
    return open(h, Kind::LabelStock, t, m);
}
inline bool OpenCszTable(const AppHome& h, std::unique_ptr<xbase::Table>* t, QString* m) {
    return open(h, Kind::Csz, t, m);
}

QString fileName(Kind kind);  // "LETTER.DBF", ...

// Rebuilds the six tables' indexes, packing each first, in the fixed order, telling
// the progress each table's text ("Rebuilding Letters File indexes", ...) and its
// percentage. A table that cannot be opened is skipped.
void RebuildSystemIndexes(const AppHome& home, JobProgress& progress);
// One table of the rebuild: open it, delete its index file, pack, create the tag.
bool DoExtra(const AppHome& home, const QString& table, const char* tag, bool pack, const char* key,
             const xbase::ProgressHook& progress);

// Builds LBLTPL.DBF and CSZ.DBF, with their tags, from the tables shipped inside the
// program when the home lacks them. False with `error` set when that fails.
bool seedShippedTables(const AppHome& home, QString* error);

// The browse grid's column order, one field name a line, in sysdata/FIELDS.LST.
// The record of a definition table (LABEL.DBF, ENVELOPE.DBF, ...) not marked deleted
// whose DESCRIPT is `description`, compared without case or trailing blanks; the cursor
// is left there. 0 when there is none.
uint32_t FindDescription(xbase::Table& table, const QString& description);

// The first free layout file name in `sysDataDir` for a definition table's records:
// "BIN00001" + `extension` (".L", ".E", ".R") to "BIN99999" + extension, a name being
// free when no file of that name exists in any letter case; empty when all are taken.
QString NextBinaryName(const QString& sysDataDir, const QString& extension);

// The commands of a definition list (LABEL.DBF, ENVELOPE.DBF, REPORT.DBF): a record
// names its layout file in BINARY, in the home's sysdata.
// Deletes record `recNo`, then its layout file when there is one.
bool DeleteDefinition(xbase::Table& table, uint32_t recNo, const AppHome& home, QString* error);
// Appends a copy of record `recNo` described "Clone of " + its description (cut to the
// field) with a copy of its layout file under the next free name with `extension`. A
// missing layout file gives the copy a name but no file. Returns the new record's
// number, 0 with `error` set when that fails (nothing is left behind then).
uint32_t CloneDefinition(xbase::Table& table, uint32_t recNo, const AppHome& home, const QString& extension,
                         QString* error);
// Visits the definitions of a definition table that are not marked deleted, in
// description order (the DESCRIPT tag; record order without it), the cursor on each.
void ForEachDefinition(xbase::Table& table, const std::function<void()>& visit);

// Stores a definition whose layout file `layoutPath` has just been written: record
// `recNo`, or a new record when it is 0, filled by `write` and committed. When that
// fails, a new definition's layout file is removed again and `error` tells why. The
// stored record's number; 0 on failure.
uint32_t StoreDefinition(xbase::Table& table, uint32_t recNo,
                         const std::function<bool(xbase::Table&, QString*)>& write, const QString& layoutPath,
                         QString* error);

// The list windows' Delete and Clone: the question ("Delete \"<description>\"?" in a
// DELETE box, "Clone ..." in a CLONE box, No preset) first, then the command, a failure
// told through `messages`. Delete returns whether the record went; Clone the new
// record's number, 0 when none was made.
bool AskAndDeleteDefinition(Messages& messages, xbase::Table& table, uint32_t recNo, const QString& description,
                            const AppHome& home);
uint32_t AskAndCloneDefinition(Messages& messages, xbase::Table& table, uint32_t recNo, const QString& description,
                               const AppHome& home, const QString& extension);

QString fieldsListPath(const AppHome& home);
QStringList readFieldsList(const AppHome& home);  // empty when there is no file
bool writeFieldsList(const AppHome& home, const QStringList& fields);

}  // namespace SystemTables
