#pragma once

#include <QString>
#include <QStringList>

// What a person types to find label stock, as the template picker and `quillory stock`
// read it: at most one size and any number of words.
//
// A size is two lengths joined by "x" (any case, blanks around it or not): "2x4",
// "2 x 4", "1 x 2-5/8", "63.5 x 38.1", each length a whole or decimal number, a
// fraction ("5/8") or a whole number and a fraction joined by "-" ("2-5/8"), and
// optionally a unit ("mm", "cm", "in" or "\""). Without a unit the numbers decide:
// a size that fits a letter or A4 sheet in inches (neither length above 11.7, the
// shorter at most 8.5) is inches, anything larger millimetres. It matches stock of
// that width and height in either order, within 1/16 in for inches and 1 mm for
// millimetres (what a maker rounds to when naming a product by its size).
//
// Every other word must be found, in any case, in the stock's text (its maker,
// product number and description).
class StockSearch {
  public:
    explicit StockSearch(const QString& text);

    bool hasSize() const { return hasSize_; }
    // The two lengths asked for, in inches, in the order typed.
    double first() const { return first_; }
    double second() const { return second_; }
    const QStringList& words() const { return words_; }

    // Whether stock `width` × `height` inches whose maker, product number and
    // description are in `text` is what was asked for. An empty search matches all.
    bool matches(const QString& text, double width, double height) const;

  private:
    bool hasSize_ = false;
    double first_ = 0, second_ = 0, tolerance_ = 0;
    QStringList words_;
};
