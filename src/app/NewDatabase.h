#pragma once

#include <QString>

class AppHome;

// The rules of "Create new database" and "Specify Field Lengths".
namespace NewDatabase {

// The first of "ADD0001" .. "ADD9999" with no DATA/<name>.DBF in the home (in any
// letter case); "ADD0001" when all exist.
QString ProposeName(const AppHome& home);

// A name is accepted when it is an identifier: a letter or underscore, then letters,
// digits or underscores.
bool IsValidName(const QString& name);
inline const QString kInvalidNameText =
    "Invalid name. Must start with A..Z, followed by A..Z,0..9 or \"_\" (underscore)";

// DATA/<name>.DBF in the home; an existing file of that name in any letter case.
QString PathFor(const AppHome& home, const QString& name);

// A width typed in "Specify Field Lengths": kept when it is a whole number from 10 to
// 80, else `previous` is put back.
constexpr int kMinWidth = 10;
constexpr int kMaxWidth = 80;
int AcceptWidth(const QString& text, int previous);

}  // namespace NewDatabase
