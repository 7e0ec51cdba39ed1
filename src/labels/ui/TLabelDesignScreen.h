#pragma once

#include "LabelDefinition.h"
#include "TDesignScreen.h"
#include "TGLabelPanel.h"

class QAction;

// "Label Design Screen": the objects of one label drawn at true size in the stock's
// shape, with the stock's art behind them, the description and the stock (Change
// Layout). It works on a copy of the definition; the caller stores the definition and
// the layout file when it ends with Save (Accepted).
class TLabelDesignScreen : public TDesignScreen {
    Q_OBJECT

  public:
    // `layoutFile` is read onto the panel when it exists (a new definition passes none).
    // `addresses` is the main window's table, moved by the record buttons.
    TLabelDesignScreen(const LabelDefinition& definition, bool isNew, const QString& layoutFile,
                       xbase::Table& addresses, const AppHome& home, QWidget* parent = nullptr);

    // The definition as edited: description (at most 50 characters) and stock.
    LabelDefinition definition() const;
    TGLabelPanel& Panel() const { return static_cast<TGLabelPanel&>(TDesignScreen::Panel()); }
    // Change Layout's second half: takes `stock` for the label (resized, reshaped, art
    // redrawn, the POSTNET width rule applied).
    void TakeStock(const LabelStock& stock);

    QAction* PostNetTool;
    QAction* IMBarCodeTool;
    QAction* ShowArt;

  protected:
    void setPanelState(int state) override;
    bool toolAllowed(int state) override;
    void ChangeLayoutButtonClick() override;
    void fontChosen(const LayoutFont& font) override;

  private:
    void sizeLabel();
    void showArt();
    void showLayoutName();

    LabelDefinition original_;
    LabelStock stock_;
};
