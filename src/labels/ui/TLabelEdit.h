#pragma once

#include <QDialog>
#include <vector>

#include "LabelDefinition.h"

class QComboBox;
class QLineEdit;
class QRadioButton;
class QSpinBox;

// The stock editor: a label sheet's geometry typed by hand, in inches or millimetres.
// It edits the eight lengths, the counts across and down, the paper and the shape of a
// copy of the stock; Ok converts back to inches of three decimals and runs the stock
// checks in order, leaving the dialog open at the first that fails.
class TLabelEdit : public QDialog {
    Q_OBJECT

  public:
    explicit TLabelEdit(const LabelStock& stock, QWidget* parent = nullptr,
                        const QString& caption = QStringLiteral("User Defined Label Layout"));

    // The stock as accepted (lengths in inches, rounded to 3 decimals).
    const LabelStock& stock() const { return stock_; }

    QLineEdit* HeightEdit;
    QLineEdit* WidthEdit;
    QSpinBox* AcrossSpin;
    QSpinBox* DownSpin;
    QLineEdit* LeftMarginEdit;
    QLineEdit* TopMarginEdit;
    QLineEdit* HorizPitchEdit;
    QLineEdit* VertPitchEdit;
    QComboBox* PaperList;
    QLineEdit* PaperWidthEdit;
    QLineEdit* PaperHeightEdit;
    QComboBox* ShapeList;
    QRadioButton* UseInches;
    QRadioButton* UseMillimeters;

  private:
    // One length: the box shows it in the current unit; the value keeps every digit
    // until the user types, so that switching units back and forth changes nothing.
    struct Length {
        QLineEdit* edit;
        double LabelStock::*member;
        double value;
    };

    void OkButtonClick();
    void unitsChanged();
    void paperChosen(int index);
    // Leaving a label size raises its pitch to it.
    void raisePitch(QLineEdit* size, QLineEdit* pitch);
    Length& lengthOf(QLineEdit* edit);
    void display(Length& length);
    bool millimetres() const;

    LabelStock stock_;
    std::vector<Length> lengths_;
};
