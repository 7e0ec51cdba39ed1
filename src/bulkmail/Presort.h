#pragma once

#include <QString>
#include <array>
#include <map>
#include <string>
#include <vector>

#include "TallyRecord.h"
#include "ZipScan.h"

namespace xbase {
class Table;
}

// The bulk-mail presort: the selected records are counted per ZIP key and the keys
// grouped into 5-digit groups (ten or more pieces to one key), 3-digit groups (ten or
// more of the rest sharing their first three characters), groups by area distribution
// centre (AdcCentres.h) and a last group of whatever is left.
//
// PRESORT.PSL, the list label printing follows: text lines, each ended by CR LF,
// bytes in the address file's code page. A line is a group header or a key:
//   "** 5-digit " + key         a 5-digit group; exactly one key line follows
//   "** 3-digit " + prefix      a 3-digit group; the keys with that prefix follow
//   "** ADC " + centre name     a centre's group; its keys follow
//   "** Unknown"                the last group: every key not placed before
//   key                         the first five characters of a ZIP
// Readers take any line containing "**" for a header, whose text is the whole line.
// The groups come in that order: all 5-digit, then all 3-digit, then the centres in
// table order, then Unknown; keys are in byte order within each group.
namespace Presort {

inline const QString kFileName = QStringLiteral("PRESORT.PSL");

// A key counts when it starts with a digit and lies between "00000" and "99999-999"
// (byte-wise); empty, foreign and malformed ZIPs are left out of the presort.
bool Qualifies(const std::string& key);

// The counts per key, kept in ten lists by first digit.
class Tally {
  public:
    // Counts `key` when it qualifies; returns whether it did.
    bool add(const std::string& key);
    // The list of keys starting with `digit` ('0'..'9'), in byte order.
    std::vector<TallyRecord> list(int digit) const;
    int pieces() const { return pieces_; }

  private:
    std::array<std::map<std::string, int>, 10> lists_;
    int pieces_ = 0;
};

// The lines of PRESORT.PSL for a tally, without line ends.
std::vector<std::string> BuildList(const Tally& tally);

// Replaces the file at `path` with `lines`, each ended by CR LF; never leaves half a
// file. False with `error` set when it cannot be written.
bool WriteFile(const QString& path, const std::vector<std::string>& lines, QString* error);

// What a presort did: the records read, the pieces presorted (records whose ZIP
// qualifies) and the groups of the list.
struct Summary {
    int records = 0;
    int pieces = 0;
    int groups = 0;
};

// Runs the presort over the table's current selection and writes the list to `path`.
// Shows "Sorting Zip Codes..." once the records are read. Nothing is written when the
// user cancels or the table cannot be read. `summary`, when given, is filled when Done.
JobResult RunPresort(xbase::Table& table, const QString& path, JobProgress& progress, QString* error,
                     Summary* summary = nullptr);

}  // namespace Presort
