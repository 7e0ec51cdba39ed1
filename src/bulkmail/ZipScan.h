#pragma once

#include <QString>
#include <functional>
#include <string>

namespace xbase {
class Table;
}

// Progress of a long pass over an address file, as its window shows it.
struct ScanProgress {
    // Shows a status text ("Reading record 300", ...).
    std::function<void(const QString& status)> status;
    // Called after every record; lets the window's messages run and returns false when
    // the user has confirmed a cancel.
    std::function<bool()> keepGoing;
};

enum class ScanResult { Done, Cancelled, Failed };

// Visits the ZIP field of every record of the table's current selection (its query, and
// deleted records hidden as the table says), in record-number order, handing
// `visit` the first five characters of the value without trailing blanks. Shows
// "Reading database records..." first and "Reading record " + record number after
// each move to a record whose number is a multiple of 100. The table's order and
// current record are restored afterwards, also after a cancel. Failed with `error` set
// when the table has no ZIP field or cannot be read.
ScanResult ScanZipKeys(xbase::Table& table, const ScanProgress& progress,
                       const std::function<void(const std::string& key)>& visit, QString* error);
