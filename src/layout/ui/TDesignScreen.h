#pragma once

#include <QDialog>
#include <functional>
#include <memory>
#include <vector>

#include "Icons.h"
#include "LayoutFont.h"
#include "TGOwner.h"

class AppHome;
class ObjectDialogs;
class QAction;
class QActionGroup;
class QLabel;
class QLineEdit;
class QPushButton;
class QScrollArea;
class QSpinBox;
class QToolBar;
class TAddressDataSet;
class TGDataPanel;
class TGPanelView;
namespace xbase {
class Table;
}

// The frame the label and envelope designers share: a data panel at true size in a
// scrolling view, a bar of drawing tools (the designer's own) with their hints, a bar of
// toggles (grid, snapping, field names or values, and the designer's own), the zoom
// spin button, record buttons over the address table, the "Left:"/"Top:" readout, the
// description, the default-font button, the designer's layout button, and Save (shown
// once something changed), Cancel and Help. The window keeps its placement under its
// object name. A designer fills in what differs through the virtual functions.
class TDesignScreen : public QDialog {
    Q_OBJECT

  public:
    // One tool of the bar: its hint (also its tooltip and object name, without blanks),
    // the panel state it arms, and the glyph of its small icon.
    struct Tool {
        const char* hint;
        int state;
        char glyph;
    };
    struct Frame {
        QString caption;
        QString className;  // the key of the stored placement
        std::vector<Tool> tools;
        int zoomLow = 50, zoomHigh = 150;  // percent, in steps of ten
        QString layoutButton;              // "C&hange Layout", "C&hange Size"
        QString saveQuestion;              // asked when a changed design is cancelled
    };

    ~TDesignScreen() override;

    TGDataPanel& Panel() const { return *panel_; }
    TGPanelView* View() const { return view_; }
    // The description as typed, cut to 50 characters.
    QString description() const;
    // Writes the panel's objects to `fileName`; false with `error` set when it cannot.
    bool SaveLayout(const QString& fileName, QString* error) const;
    // One zoom step in or out (10 %), within the designer's range.
    void ZoomStep(int steps);
    // Whether the design differs from what the designer opened with: the objects (undone
    // changes do not count), the description, or what the designer itself changed
    // (stock, size).
    bool modified() const;

    QToolBar* Tools;
    QToolBar* ViewBar;
    QAction* SelectionTool;
    QAction* ShowGrid;
    QAction* SnapToGrid;
    QAction* FieldNames;
    QSpinBox* ZoomSpin;
    QLabel* PositionLabel;
    QLineEdit* DescriptionEdit;
    QLabel* LayoutLabel;
    QPushButton* FontButton;
    QPushButton* ChangeLayoutButton;
    QPushButton* SaveButton;
    QPushButton* CancelButton;

  public slots:
    // Cancel, Escape and the title bar's close button: a changed design asks first
    // whether to save it (Yes ends with Save, No discards, Cancel stays).
    void reject() override;

  protected:
    // `makePanel` builds the designer's panel on the frame's owner; `dialogs` edit objects.
    TDesignScreen(const Frame& frame, const std::function<std::unique_ptr<TGDataPanel>(TGOwner*)>& makePanel,
                  std::unique_ptr<ObjectDialogs> dialogs, const QString& description, const QString& layoutFile,
                  xbase::Table& addresses, const AppHome& home, QWidget* parent);

    // Arms the panel's tool `state` (0 is the selection tool).
    virtual void setPanelState(int state) = 0;
    // Whether the tool may be armed now (a refusal tells the user why itself).
    virtual bool toolAllowed(int state) { return state >= 0; }
    virtual void ChangeLayoutButtonClick() = 0;
    // The default font was chosen; the designer may keep it in its settings.
    virtual void fontChosen(const LayoutFont&) {}

    // A toggle of the designer's own on the view bar, before the zoom.
    QAction* addToggle(const QString& hint, const char* name, Icons::Icon icon);
    // The tool button of `state`.
    QAction* toolAction(int state) const;
    // Gives the panel the size of `widthInches` × `heightInches` at 100 % (then the
    // current zoom again), without counting as a change.
    void sizePanel(double widthInches, double heightInches);
    // Places the object of `state`'s tool in the panel rectangle `stored` (layout pixels
    // at zoom 1.0) and makes that the starting point of the undo history.
    void placeObject(int state, const QRect& stored);
    // Something of the definition changed: Save is shown.
    void changed();
    // The definition's stock or size changed: it counts as a change until the end.
    void definitionChanged();
    void showFont();
    bool busy() const { return busy_; }
    void setBusy(bool busy) { busy_ = busy; }
    // Finishes opening: the placement, the panel's record values, the history.
    void opened();
    const AppHome& home() const { return home_; }

    void keyPressEvent(QKeyEvent* event) override;
    void keyReleaseEvent(QKeyEvent* event) override;
    bool eventFilter(QObject* watched, QEvent* event) override;

  private:
    void buildBars(const Frame& frame);
    void toolChosen(QAction* tool);
    void FontButtonClick();
    void moveRecord(int how);
    void showPosition(QPoint panelPoint, bool overPanel);

    const AppHome& home_;
    xbase::Table& addresses_;
    QString className_;
    QString saveQuestion_;
    QString openedDescription_;
    bool definitionChanged_ = false;
    TGOwner owner_;
    std::unique_ptr<TAddressDataSet> data_;
    std::unique_ptr<TGDataPanel> panel_;
    std::unique_ptr<ObjectDialogs> dialogs_;
    TGPanelView* view_ = nullptr;
    QScrollArea* scroll_ = nullptr;
    QActionGroup* toolGroup_ = nullptr;
    QAction* togglesEnd_ = nullptr;
    bool busy_ = false;  // sizing or zooming: no change counts
    bool forwarding_ = false;  // a key is on its way to the view
};
