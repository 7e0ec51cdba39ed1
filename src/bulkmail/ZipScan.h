#pragma once

#include <QString>
#include <functional>
#include <string>

#include "JobProgress.h"

namespace xbase {
class Table;
}

// Visits the ZIP field of every record of the table's current selection (its query, and
// deleted records hidden as the table says), in record-number order, handing
// `visit` the first five characters of the value without trailing blanks. Shows
// "Reading database records..." first and "Reading record " + record number after
// each move to a record whose number is a multiple of 100. The table's order and
// current record are restored afterwards, also after a cancel (keepGoing() is asked
// after every record). Failed with `error` set when the table has no ZIP field or
// cannot be read.
JobResult ScanZipKeys(xbase::Table& table, JobProgress& progress,
                      const std::function<void(const std::string& key)>& visit, QString* error);
