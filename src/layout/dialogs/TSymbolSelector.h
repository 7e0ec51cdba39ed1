#pragma once

#include <QDialog>

#include "LayoutFont.h"

class QLabel;
class QPushButton;
class QTableWidget;

// "Symbol Selector": the characters 32 to 255 of a font in a grid, the chosen one
// shown large in a sample, and a button that changes the font. The grid has fewer
// columns the larger the font.
class TSymbolSelector : public QDialog {
    Q_OBJECT

  public:
    TSymbolSelector(const LayoutFont& font, int code, QWidget* parent = nullptr);
    LayoutFont font() const { return font_; }
    // The chosen character's code (32 to 255).
    int code() const;
    void selectCode(int code);
    // Takes `font` as if the font dialog had chosen it.
    void setSymbolFont(const LayoutFont& font);

    QTableWidget* SymbolList;
    QLabel* Sample;
    QPushButton* FontButton;
    QPushButton *OkButton, *CancelButton;

  private:
    void FontButtonClick();
    void fillList();
    void showSample();

    LayoutFont font_;
};
