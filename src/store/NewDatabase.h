#pragma once

#include <QString>

class AppHome;

// The rules of a new address file, for "Create new database", "Specify Field Lengths"
// and the command line's `new`.
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

inline const QString kExistsText = "That file already exists.Please select another name";
inline const QString kNotDbfText = "The name of an address file must end in .DBF";

// Whether a new address file may be made at `path`: its extension is .DBF in any
// letter case, its name is valid (IsValidName), and no file of that name exists in
// its folder in any letter case (a file whose name differs only in case counts, since
// the files come from a system that ignores case). False with the reason in `message`.
bool CheckNewPath(const QString& path, QString* message);

// A width typed in "Specify Field Lengths": kept when it is a whole number from 10 to
// 80, else `previous` is put back.
constexpr int kMinWidth = 10;
constexpr int kMaxWidth = 80;
int AcceptWidth(const QString& text, int previous);

}  // namespace NewDatabase
