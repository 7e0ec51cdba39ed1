#pragma once

#include <QDialog>

#include "LetterUnits.h"
#include "ParagraphFormat.h"

class QComboBox;
class QLineEdit;
class QRadioButton;

// "Paragraph Properties": alignment, indents, spacing and line height of the
// paragraphs at the cursor. Indents show in inches or centimetres with two decimals,
// spacing and line height in whole points; every edit is taken in twips as it is
// typed, so switching the unit shows what was typed in the other one.
class TParagraphPropDlg : public QDialog {
    Q_OBJECT

  public:
    explicit TParagraphPropDlg(const ParagraphFormat& shown, QWidget* parent = nullptr);

    // The settings as edited (those of the paragraph while nothing was changed).
    ParagraphFormat result() const { return format_; }
    LetterUnits::Unit unit() const;

    QComboBox* Alignment;
    QRadioButton *Inch, *Cm;
    QComboBox* FirstLine;  // "Same as Left Indent" or "Indented by"
    QLineEdit *FirstIndent, *LeftIndent, *RightIndent;
    QLineEdit *SpaceBefore, *SpaceAfter, *LineHeight;

    void accept() override;

  private:
    void showIndents();
    void sameAsLeft();

    ParagraphFormat format_;
};
