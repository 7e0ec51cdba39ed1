#pragma once

// The dialogs that edit one layout object. The design panel opens them from an object's
// popup menu, on a double-click and right after a drop; the widgets that implement them
// live in the designer's dialog library (src/layout/dialogs), and tests put a scripted
// implementation in their place so a panel can be driven without modal windows.
//
// Contract of every call: OK applies the choice to the object (or to the value passed in)
// and returns true; Cancel changes nothing and returns false. The caller raises the
// panel's change notification after a true answer, so undo sees one step per dialog.

class QColor;
class QWidget;
class TGGraphicControl;
struct LayoutFont;

enum class ObjectDialog {
    Text,           // "Text": the caption of fixed text
    TextEffects,    // "Text 3D Effects": shadow and highlight of a single-line text
    Field,          // "Select Field": the text fields of the panel's data set
    MemoField,      // "Select Field": the memo fields of the panel's data set
    Counter,        // "Counter": starting number, repeat, text before/after, leading zeros
    Symbol,         // "Symbol Selector": one character of a symbol font
    MultiLineText,  // "Multi-line Text Editor": the lines of fixed multi-line text
    AddressLayout,  // "Address Label Layout": which address lines an address block shows
    LoadImage,      // "Load Image File (BMP/WMF)": the picture of an image object
    IntelligentMail,  // "Intelligent Mail Barcode": tracking and routing of the barcode
};

class ObjectDialogs {
  public:
    virtual ~ObjectDialogs() = default;

    // Opens the dialog `which` on `object` (the object's class must be one the dialog
    // edits; any other object is left alone and the answer is false).
    virtual bool edit(ObjectDialog which, TGGraphicControl& object, QWidget* parent) = 0;
    // The font dialog, seeded with `font`; OK replaces `font`.
    virtual bool chooseFont(LayoutFont& font, QWidget* parent) = 0;
    // The colour dialog, seeded with `color`; OK replaces `color`.
    virtual bool chooseColor(QColor& color, QWidget* parent) = 0;
};
