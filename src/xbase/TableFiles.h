#pragma once

// The files that belong to a table beside its own: the memo file and the structural
// index, named like the table with another extension. Private to the engine.

#include <string>

#include "FileSystem.h"

namespace xbase {

// `tablePath` with its extension replaced: `lower` when the table's extension begins
// with a lower-case letter, else `upper` (x.dbf -> x.fpt, X.DBF -> X.FPT, X.Dbf -> X.FPT).
std::string withExtension(const std::string& tablePath, const char* upper, const char* lower);

// The existing file that belongs to the table at `tablePath` with the extension
// `upper`/`lower` in any letter case; empty when there is none.
//
// A file named exactly withExtension() is the table's best claim; when `otherCase`,
// one whose base name is the table's exactly (only its extension's case differs) comes
// next, then one whose base name differs in letter case too. A file is the table's
// only when no other table in the folder (a file named like this one in another letter
// case) has an equal or better claim to it: so of x.DBF and X.dbf each keeps its own
// files, and neither takes the other's.
std::string findCompanion(FileSystem& fs, const std::string& tablePath, const char* upper, const char* lower,
                          bool otherCase);

}  // namespace xbase
