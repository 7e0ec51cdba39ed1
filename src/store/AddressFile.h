#pragma once

#include <QString>
#include <QStringList>
#include <functional>
#include <memory>
#include <vector>

#include "FieldLengths.h"
#include "JobProgress.h"
#include "Table.h"

// An address file: one table of addresses with the 23 fields below and a structural
// index of 26 tags. These functions return success and fill `message` with the text
// the user is shown; the windows and the command line only display it.
namespace AddressFile {

// A stored field of the address layout, in file order.
struct Field {
    const char* name;
    char type;
    int width;          // the width of a new file when not one of the eighteen sized fields
    const char* label;  // as shown to the user; empty for TAG and MEMO
};
const std::vector<Field>& fields();

struct TagDef {
    const char* name;
    const char* key;
};
// The 26 tags in the order they are created.
const std::vector<TagDef>& tags();

// Creates the address file at `path` with `widths` for its sized fields and then its
// tags; the file is closed afterwards. Messages: "Create failed", "Unable to create
// index files" followed by "File creation failed", or "File creation failed".
bool CreateAddressFile(const QString& path, const FieldLengths& widths, QString* message,
                       const xbase::ProgressHook& progress = nullptr);
// Deletes the table's structural index file and creates the 26 tags anew.
bool CreateAddressTags(xbase::Table& table, QString* message, const xbase::ProgressHook& progress = nullptr);

// Closes the table's indexes and deletes its structural index file; false when the
// file cannot be deleted.
bool DropIndexFile(xbase::Table& table);

// Opens an address file exclusively. A file that lacks a field of the layout, is not a
// table or is in use fails, with the reason in `message`; "File <path> not found" when
// it does not exist.
bool OpenTableFile(const QString& path, std::unique_ptr<xbase::Table>* table, QString* message);
// Every field of the layout is present (any width; extra fields are fine).
bool CheckTableFields(const xbase::Table& table);
// Every one of the 26 tags is present.
bool CheckValidIndex(const xbase::Table& table);
// OpenTableFile with the messages the main window shows, one box each, when it fails:
// "File <path> not found" for a missing file, then "Unable to open <path>" with its
// likely causes.
bool OpenQYZFile(const QString& path, std::unique_ptr<xbase::Table>* table, QStringList* messages);
// A table whose header counts other records than its size holds does not open. This is
// that damage as the user is told it ("the header counts 0 records, but the file holds
// 31"); empty when the count is sound or the file cannot be read as a table.
QString RecordCountDamage(const QString& path);
// "The record count of <path>\r\nis damaged: <damage>.\r\nRecover the records now?"
QString recoverQuestion(const QString& path, const QString& damage);
// Makes the header count every record the file holds (a record cut short is kept with
// blanks for what it lacks); its index is then found damaged at open and rebuilt.
// `message` says what was recovered, or why not.
bool RecoverRecordCount(const QString& path, QString* message);
// "The index file for <path>\r\nis missing or invalid. Rebuild now?"
QString rebuildQuestion(const QString& path);

// The rebuild gauge, 0 to 100, over its two phases: while packing it shows each
// percentage as it comes; while the tags are built it adds up every rise of the
// percentage and shows the total against `fullTotal` (2100 for the rebuild window,
// 1800 for the imports': the hundreds of as many tags).
class ReindexGauge {
  public:
    explicit ReindexGauge(int fullTotal = 2100) : fullTotal_(fullTotal) {}
    void packProgress(int percent);
    void tagProgress(int percent);
    int value() const { return value_; }

  private:
    int fullTotal_;
    int value_ = 0;
    int previous_ = 0;
    int total_ = 0;
};

// Packs the file (removing deleted records) and rebuilds its 26 tags after deleting
// its index file. The progress is told each phase's text ("Cleaning out old deleted
// records", then "Rebuilding indexes") and the gauge's value as it changes. A rebuild
// is not stopped half way: it does not ask keepGoing().
bool Reindex(xbase::Table& table, ReindexGauge& gauge, QString* message, JobProgress& progress);

// Deletes the current record: sets ISDEL and the deletion mark.
xbase::Status DeleteRecord(xbase::Table& table);

// Text of a field as Unicode, without trailing blanks.
QString text(const xbase::Table& table, int field);
// Stores Unicode text in a field; text the table's code page cannot hold is refused
// with a message naming the character, before anything is written.
xbase::Status setText(xbase::Table& table, int field, const QString& value);

}  // namespace AddressFile
