#pragma once

#include <QString>

// The units of the letter editor's paragraph and page dialogs, and their conversion
// to and from twips (1440 to the inch, 566.929 to the centimetre, 20 to the point).
namespace LetterUnits {

enum class Unit { Inch, Cm, Twips };

// A length in `unit` as the dialogs show it: inches and centimetres with two
// decimals, twips as a whole number.
QString Show(int twips, Unit unit);
// The twips of a length typed in `unit`, rounded; an empty box is 0. False when the
// text is not a number (`twips` is then left alone).
bool Parse(const QString& text, Unit unit, int* twips);

// Points, as the paragraph dialog shows spacing and line height: whole points.
QString ShowPoints(int twips);
bool ParsePoints(const QString& text, int* twips);

}  // namespace LetterUnits
