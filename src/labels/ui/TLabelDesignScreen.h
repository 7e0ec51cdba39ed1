#pragma once

#include <QDialog>
#include <memory>

#include "LabelDefinition.h"
#include "TGLabelPanel.h"
#include "TGOwner.h"

class AppHome;
class QAction;
class QActionGroup;
class QLabel;
class QLineEdit;
class QPushButton;
class QScrollArea;
class QSpinBox;
class QToolBar;
class StandardObjectDialogs;
class TAddressDataSet;
class TGPanelView;
namespace xbase {
class Table;
}

// "Label Design Screen": the objects of one label drawn at true size on a label panel in
// the stock's shape, with the stock's art behind them, field names or the current
// address record's values, the description and the stock (Change Layout). It works on a
// copy of the definition; the caller stores the definition and the layout file when it
// ends with Save (Accepted).
class TLabelDesignScreen : public QDialog {
    Q_OBJECT

  public:
    // `layoutFile` is read onto the panel when it exists (a new definition passes none).
    // `addresses` is the main window's table, moved by the record buttons.
    TLabelDesignScreen(const LabelDefinition& definition, bool isNew, const QString& layoutFile,
                       xbase::Table& addresses, const AppHome& home, QWidget* parent = nullptr);
    ~TLabelDesignScreen() override;

    // The definition as edited: description (at most 50 characters) and stock.
    LabelDefinition definition() const;
    // Writes the panel's objects to `fileName`; false with `error` set when it cannot.
    bool SaveLayout(const QString& fileName, QString* error) const;

    TGLabelPanel& Panel() { return panel_; }
    TGPanelView* View() const { return view_; }
    // Zoom in or out one step (10 %, between 50 % and 150 %), as the spin button does.
    void ZoomStep(int steps);
    // Change Layout's second half: takes `stock` for the label (resized, reshaped, art
    // redrawn, the POSTNET width rule applied).
    void TakeStock(const LabelStock& stock);

    QToolBar* Tools;
    QToolBar* ViewBar;
    QAction* SelectionTool;
    QAction* PostNetTool;
    QAction* IMBarCodeTool;
    QAction* ShowGrid;
    QAction* SnapToGrid;
    QAction* ShowArt;
    QAction* FieldNames;
    QSpinBox* ZoomSpin;
    QLabel* PositionLabel;
    QLineEdit* DescriptionEdit;
    QLabel* LayoutLabel;
    QPushButton* FontButton;
    QPushButton* ChangeLayoutButton;
    QPushButton* SaveButton;
    QPushButton* CancelButton;

  protected:
    void keyPressEvent(QKeyEvent* event) override;
    void keyReleaseEvent(QKeyEvent* event) override;
    bool eventFilter(QObject* watched, QEvent* event) override;

  private:
    void buildTools();
    void toolChosen(QAction* tool);
    void ChangeLayoutButtonClick();
    void FontButtonClick();
    void sizePanel();
    void showArt();
    void showLayoutName();
    void showFont();
    void changed();
    void moveRecord(int how);
    void showPosition(QPoint panelPoint, bool overPanel);
    double labelWidthInches() const { return stock_.width; }

    const AppHome& home_;
    xbase::Table& addresses_;
    LabelDefinition original_;
    LabelStock stock_;
    TGOwner owner_;
    TGLabelPanel panel_;
    std::unique_ptr<TAddressDataSet> data_;
    std::unique_ptr<StandardObjectDialogs> dialogs_;
    TGPanelView* view_ = nullptr;
    QScrollArea* scroll_ = nullptr;
    QActionGroup* toolGroup_ = nullptr;
    bool busy_ = false;  // sizing or zooming: no change counts
};
