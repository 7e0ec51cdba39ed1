#pragma once

#include <cstdint>
#include <string>

namespace xbase {
class Table;
}

// Remembers where a table's cursor stands and puts it back when it goes: the query,
// the order, the exact and soft-seek settings, the hiding of deleted records, and the
// current record (or the end of file). Every job and look-up that moves the address
// table's cursor holds one, so that the main window finds its table as it left it
// after success, failure and cancel alike.
//
// Putting back only touches what changed, so holding one around a short look-up costs
// nothing. Errors while putting back are ignored: the cursor then stands at the end of
// file, and the next move of the window reports the table's state. A record that no
// longer exists (after a pack) also leaves the cursor at the end of file.
class SavedCursor {
  public:
    explicit SavedCursor(xbase::Table& table);
    ~SavedCursor();
    SavedCursor(const SavedCursor&) = delete;
    SavedCursor& operator=(const SavedCursor&) = delete;

    // Leaves the cursor on the record it stands on now (a search that found what it
    // looked for); the settings are still put back.
    void keepPosition() { keepPosition_ = true; }
    // The remembered record; 0 when the cursor was at the end of file.
    uint32_t recNo() const { return recNo_; }

  private:
    xbase::Table& table_;
    std::string query_;
    uint32_t recNo_;
    int order_;
    bool exact_;
    bool softSeek_;
    bool hideDeleted_;
    bool keepPosition_ = false;
};
