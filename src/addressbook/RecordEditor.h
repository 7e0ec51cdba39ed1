#pragma once

#include <QMap>
#include <QString>
#include <cstdint>

#include "Table.h"

// Values of an address record by field name ("LNAME", ..., "TAG", "MEMO"), as Unicode
// text without trailing blanks. Line breaks in the memo are "\n".
using RecordValues = QMap<QString, QString>;

// The record the main window shows, and the edit of it. While browsing, values come
// straight from the table's current record. Edit() and append() start an edit whose
// values are held here, apart from the table, until post() writes them all or
// cancel() drops them; so a cancelled edit leaves the file untouched.
//
// The editor borrows the table; setTable() must be called before the table goes.
class RecordEditor {
  public:
    enum class State { Browse, Edit, Insert };

    // Drops an edit in progress without writing it. nullptr: no file is open.
    void setTable(xbase::Table* table);
    xbase::Table* table() const { return table_; }

    State state() const { return state_; }
    bool editing() const { return state_ != State::Browse; }
    bool inserting() const { return state_ == State::Insert; }
    // A file is open and the cursor is on a record.
    bool hasCurrent() const;

    // The value of `field`: the edited value while editing, else the stored one.
    // Empty for a field the table lacks.
    QString value(const QString& field) const;
    // Every value: the edited ones while editing, else the stored ones.
    RecordValues values() const;
    // The text fields and the memo of the current record as stored (empty without one).
    // A memo that cannot be read is empty here: memoProblem() says why.
    static RecordValues read(const xbase::Table& table);
    // Why the memo of the record shown cannot be read (the engine's message); empty
    // when it can or there is no record. While editing, as it was when the edit began:
    // such a memo is never written by post(), so the file keeps what it holds.
    QString memoProblem() const;

    // REQUIRES: editing().
    void setValue(const QString& field, const QString& text);

    // Starts editing the current record; false when there is none.
    bool edit();
    // Starts a new record with `initial` values; it reaches the file on post().
    void append(const RecordValues& initial = {});

    // Writes the edit: every value is first converted to the table's code page, and
    // when one cannot be (a character the code page lacks) nothing is written and the
    // error names the field. On any failure the edit stays open. A new record becomes
    // the current record.
    [[nodiscard]] xbase::Status post();
    void cancel();

    // Memo text as the file keeps it (CR LF line breaks) and back.
    static QString memoToStored(const QString& memo);
    static QString memoFromStored(const QString& stored);

  private:
    xbase::Table* table_ = nullptr;
    State state_ = State::Browse;
    RecordValues buffer_;
    RecordValues original_;       // the values when the edit began
    QString memoProblem_;         // the record being edited has a memo that cannot be read
    uint32_t editRecNo_ = 0;      // the record being edited
    uint32_t appendedRecNo_ = 0;  // a new record already appended by a failed post
    uint32_t previousRecNo_ = 0;  // the current record when append() began
};
