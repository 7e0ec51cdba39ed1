#pragma once

#include <QDialog>
#include <vector>

#include "LetterPage.h"
#include "LetterUnits.h"

class QComboBox;
class QLineEdit;

// "Page Properties": the letter's paper size and margins in inches, centimetres or
// twips. Every edit is taken in twips as it is typed, so switching the unit shows
// what was typed in the other one; a box that holds no number keeps its last value
// and, on OK, keeps the dialog open on that box with the other edits in place. The
// unit confirmed with OK is preselected the next time the dialog opens in this run.
class TWPPageProp : public QDialog {
    Q_OBJECT

  public:
    explicit TWPPageProp(const LetterPage& page, QWidget* parent = nullptr);

    // The page as edited (the letter's own while nothing was changed).
    LetterPage result() const { return page_; }
    LetterUnits::Unit unit() const;

    QComboBox* Unit;  // "Inch", "Cm", "Twips"
    QLineEdit *PaperWidth, *PaperHeight;
    QLineEdit *MarginTop, *MarginBottom, *MarginLeft, *MarginRight;

    void accept() override;

  private:
    struct Box {
        QLineEdit* edit;
        int LetterPage::*twips;
    };
    void showValues();

    LetterPage page_;
    std::vector<Box> boxes_;
    static LetterUnits::Unit lastUnit_;  // confirmed with OK during this run
};
