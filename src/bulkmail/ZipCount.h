#pragma once

#include <QString>
#include <QStringList>
#include <array>
#include <map>
#include <string>

#include "ZipScan.h"

namespace xbase {
class CodePage;
class Table;
}  // namespace xbase

// The ZIP code count: how many records share each ZIP key, in three groups.
//   regular  keys of exactly five characters that qualify as for the presort
//            (a digit first, between "00000" and "99999-999"), in ten lists by digit;
//   other    every other non-empty key (short or foreign codes), in one list;
//   blank    the records with an empty ZIP, under "BLANK".
// Keys are bytes in the address file's code page, compared byte-wise.
class ZipCount {
  public:
    void add(const std::string& key);

    // The report's lines: each key padded or cut to ten characters, then its count
    // with thousands separators ("12345     1,234"). The regular keys in digit and
    // key order, two empty lines, the other keys, and "BLANK" when any ZIP was empty.
    QStringList reportLines(const xbase::CodePage& codePage) const;

    int records() const { return records_; }
    int blanks() const { return blank_; }

    // "1,234": a count with thousands separators.
    static QString formatCount(int count);

  private:
    std::array<std::map<std::string, int>, 10> regular_;
    std::map<std::string, int> other_;
    int blank_ = 0;
    int records_ = 0;
};

// Counts the table's current selection into `count` (Done), or stops when the user
// cancels; the table's order and current record are restored in either case. Shows
// "Sorting Zip Codes..." once the records are read.
JobResult CountZipCodes(xbase::Table& table, ZipCount* count, JobProgress& progress, QString* error);
