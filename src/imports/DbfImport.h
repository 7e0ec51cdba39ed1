#pragma once

#include <QString>
#include <functional>
#include <memory>
#include <vector>

#include "FieldMatch.h"
#include "ImportRun.h"

class BatchAppender;
class RecordCopier;

namespace xbase {
class Table;
}

namespace DbfImport {

// Opens the table at `path` to import from, read only, with its records marked deleted
// hidden. False with the message for the user:
//   "Cannot import a file to itself" when it is the address file at `addressPath`;
//   "Unable to open the file " + path when it is no table (or a damaged one, or one
//     whose memo file is missing);
//   "There are no records in " + path when it has none to import.
bool OpenSource(const QString& path, const QString& addressPath, std::unique_ptr<xbase::Table>* source,
                QString* message);

// Whether two paths name the same file (the file itself, not its name).
bool SameFile(const QString& a, const QString& b);

// The source table's fields, by name and type.
std::vector<SourceField> SourceFields(const xbase::Table& source);

// A match of the address file's DBF destinations with the source's fields, none
// matched yet.
FieldMatch NewMatch(const xbase::Table& table, const xbase::Table& source);

// Appends one address record per source record that is not marked deleted, in the
// frame of RunImport, with "Importing records": each matched field's text that is not
// empty goes into its address field, a matched memo field's text into MEMO, converted
// from the source's code page to the address file's. The gauge shows the source's
// record number against its record count; keepGoing() is asked after each record.
// Messages: "Import complete. Imported n records.", or "Import cancelled after
// importing n records."; an error gives "Unknown error while importing." with the
// reason (a value the code page cannot hold names its record and field), then
// "Import stopped after importing n records.".
ImportReport Run(xbase::Table& table, xbase::Table& source, const FieldMatch& match, JobProgress& progress,
                 const ImportHooks& hooks = {});

// What fills one new record from the source's current record; false with the reason
// when it cannot.
using FillRecord = std::function<bool(RecordCopier& copier, BatchAppender& appender, QString* reason)>;
// The loop and messages of Run() with another way of filling the records: the older
// versions' import uses it.
ImportReport RunCopy(xbase::Table& table, xbase::Table& source, JobProgress& progress,
                     const ImportHooks& hooks, const FillRecord& fill);

}  // namespace DbfImport
