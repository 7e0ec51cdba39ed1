#pragma once

#include <QDialog>
#include <QWidget>

#include "LabelPrint.h"

class PrinterDevice;
class QComboBox;
class QLabel;
class QPushButton;
class QSpinBox;

// The sheet as the position dialog draws it: one rectangle per label position, at a
// fifth of the screen's scale, filled red when the position is selected. A click on a
// rectangle toggles it.
class LabelSheetPicture : public QWidget {
    Q_OBJECT

  public:
    LabelSheetPicture(const LabelPrint::Geometry& geometry, const LabelStock& stock,
                      LabelPrint::PositionSelection* positions, QWidget* parent = nullptr);
    // The rectangle of position (b, c) in the picture's pixels, lengths cut to whole pixels.
    QRect positionRect(int b, int c) const;
    QSize sizeHint() const override;

  signals:
    void changed();

  protected:
    void paintEvent(QPaintEvent* event) override;
    void mousePressEvent(QMouseEvent* event) override;

  private:
    int pixels(double inches) const;

    LabelPrint::Geometry geometry_;
    double sheetWidth_, sheetDepth_;
    LabelPrint::PositionSelection* positions_;
};

// "Labels Print": which positions of each sheet to fill, how many of each label and on
// which printer. On Ok the choice goes back into the print request.
class TSelectSpecificLabels : public QDialog {
    Q_OBJECT

  public:
    TSelectSpecificLabels(const LabelStock& stock, LabelPrint::Choice* choice, PrinterDevice& device,
                          QWidget* parent = nullptr);

    LabelSheetPicture* SheetPicture;
    QLabel* SheetCaption;
    QPushButton* AllButton;
    QPushButton* NoneButton;
    QLabel* CopiesLabel;
    QSpinBox* Copies;
    QComboBox* PrinterList;
    QPushButton* OkButton;
    QPushButton* CancelButton;

  public slots:
    void OkButtonClick();

  private:
    LabelPrint::Choice* choice_;
    LabelPrint::PositionSelection positions_;  // edited here, taken back on Ok
    int positionCount_;
    PrinterDevice& device_;
};
