#pragma once

#include <QDate>
#include <QString>
#include <QStringList>
#include <cstdint>
#include <optional>

#include "Preferences.h"
#include "RecordEditor.h"
#include "Table.h"

// What the main window does to address records, apart from showing them: the aids for
// adding a record (carry-forward, city fill, duplicate warning, today's date, default
// country), the calculated fields, the clipboard text, cloning, tagging and moving
// between records. The window asks the questions and shows the messages; these
// functions do the work on the table and return what there is to tell.
namespace RecordEditing {

// The twenty text fields a clone copies (with the memo); TAG and ISDEL are not copied.
const QStringList& cloneFields();

// What Add remembers of the record that was current when it was chosen. The country
// is remembered only when it is carried forward; otherwise it stays empty, so that
// the default country applies.
struct CarryForward {
    QString org, street, street2, city, state, zip, country;
};
CarryForward RememberForAdd(const RecordValues& current, const Preferences& prefs);

// What the "New Record" dialog and the city fill gave; empty when not asked.
struct NewRecordEntries {
    QString lastName, firstName, zip;
    QString city, state;  // from FillCityState
};

// The values a new record starts with: the entries, then each carried field where the
// entries put nothing, the default country when no country was remembered, today's
// date as YYYYMMDD, the organisation.
RecordValues NewRecordValues(const CarryForward& carried, const NewRecordEntries& entries,
                             const Preferences& prefs, const QDate& today);

// A record whose last and first names equal the given ones in any letter case.
struct Duplicate {
    uint32_t recNo = 0;
    QString question;  // the text of the "Possible Duplicate" question
};
// The lookup of CheckDupName: nothing unless both names are given. It searches the
// "LNAME" tag with exact matching and puts back the current record, the order and the
// exact setting, whatever it finds. The window asks the question; when the user
// declines, the found record becomes current.
std::optional<Duplicate> FindDuplicateName(xbase::Table& table, const QString& first, const QString& last);
QString DuplicateQuestion(const RecordValues& found);

// City and state of the first record (in ZIP order) whose ZIP begins with `zip`, in any
// letter case; false when none has. Record, order and exact setting are put back.
bool FillCityState(xbase::Table& table, const QString& zip, QString* city, QString* state);

// DATE as the program shows it: empty unless it is a valid date YYYYMMDD, otherwise
// the date in `format` (a QDate format; the system's short date format by default).
QString FormatStoredDate(const QString& stored, const QString& format = QString());
QString SystemShortDateFormat();
QString StoredDate(const QDate& date);  // "YYYYMMDD"

// The calculated fields.
bool Tagged(const RecordValues& values, const QString& globalTagId);
QString FullName(const RecordValues& values);
QString FullNameWithPrefix(const RecordValues& values);
QString CityStateZip(const RecordValues& values);

// The groups of "Copy Record To Clipboard".
struct ClipboardGroups {
    bool name = true;
    bool address = true;
    bool phones = true;
    bool codes = true;
    bool comments = true;
};
constexpr int kMaxClipboardText = 1000;
// The record as text, group by group, each line ended by CR LF; empty lines (and lines
// of blanks only) are left out. At most kMaxClipboardText characters.
QString GetRecordAsString(const RecordValues& values, const ClipboardGroups& groups);

// The memo as it is saved: a memo whose length (line breaks counted as CR LF) is a
// non-zero multiple of 4 gets one blank appended.
QString MemoForSave(const QString& memo);

// Appends a copy of the current record (the clone fields and the memo) and posts it;
// the copy becomes the current record.
[[nodiscard]] xbase::Status Clone(RecordEditor& editor);

// Tags the current record when it is not tagged, else untags it. While the record is
// being edited the change joins the edit; otherwise it is written at once.
[[nodiscard]] xbase::Status ToggleTag(RecordEditor& editor, const QString& globalTagId);

// Record navigation in the current order among the visible records. False when there
// is nowhere to go (before the first or past the last record: the window beeps).
enum class Move { First, Prior, Next, Last };
bool Navigate(xbase::Table& table, Move move);

}  // namespace RecordEditing
