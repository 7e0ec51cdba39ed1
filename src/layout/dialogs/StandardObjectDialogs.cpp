#include "StandardObjectDialogs.h"

#include "FontAndColorDialogs.h"
#include "ObjectEdits.h"
#include "TAddressLabelLayout.h"
#include "TCounterDialog.h"
#include "TGCounterLabel.h"
#include "TGDMultiLineAddressLabel.h"
#include "TGDMultiLineLabel.h"
#include "TGDataPanel.h"
#include "TGImage.h"
#include "TGMultiLineLabel.h"
#include "TGPDLabel.h"
#include "TGPLabel.h"
#include "TGSymbolLabel.h"
#include "TLoadImageFile.h"
#include "TMultiLineTextEditor.h"
#include "TSelectField.h"
#include "TSymbolSelector.h"
#include "TText3DEffects.h"
#include "TTextDialog.h"

namespace {

const TGDataSet* dataSetOf(const TGGraphicControl& object) {
    const auto* panel = dynamic_cast<const TGDataPanel*>(object.Parent());
    return panel ? panel->DataSet() : nullptr;
}

bool editText(TGPLabel& label, QWidget* parent) {
    TTextDialog d(label.Caption(), parent);
    if (d.exec() != QDialog::Accepted) return false;
    layout::ApplyText(label, d.text());
    return true;
}

bool editEffects(TGBaseLabel& label, QWidget* parent) {
    TText3DEffects d(layout::ReadTextEffects(label), parent);
    if (d.exec() != QDialog::Accepted) return false;
    layout::ApplyTextEffects(label, d.effects());
    return true;
}

// Data and memo objects alike: the chosen field binds by its label; the object then
// shows the current record's value of it.
template <typename Object>
bool editField(Object& object, bool memo, QWidget* parent) {
    TSelectField d(layout::OfferedFields(dataSetOf(object), memo), object.DataFieldDescript, parent);
    if (d.exec() != QDialog::Accepted || !d.chosen()) return false;
    object.DataFieldName = d.chosen()->name;
    object.DataFieldDescript = d.chosen()->label;
    object.RefreshData();
    return true;
}

bool editCounter(TGCounterLabel& counter, QWidget* parent) {
    TCounterDialog d(layout::ReadCounterSettings(counter), parent);
    if (d.exec() != QDialog::Accepted) return false;
    layout::ApplyCounterSettings(counter, d.settings());
    return true;
}

bool editSymbol(TGSymbolLabel& symbol, QWidget* parent) {
    TSymbolSelector d(symbol.Font(), layout::SymbolCode(symbol.Caption()), parent);
    if (d.exec() != QDialog::Accepted) return false;
    layout::ApplySymbol(symbol, d.font(), d.code());
    return true;
}

bool editMultiLineText(TGMultiLineLabel& label, QWidget* parent) {
    TMultiLineTextEditor d(layout::MultiLineText(label), label.Font(), parent);
    if (d.exec() != QDialog::Accepted) return false;
    layout::ApplyMultiLineText(label, d.text());
    return true;
}

bool editAddressLayout(TGDMultiLineAddressLabel& block, QWidget* parent) {
    TAddressLabelLayout d(block.Options, parent);
    if (d.exec() != QDialog::Accepted) return false;
    block.Options = d.options();
    block.RefreshData();
    return true;
}

bool loadImage(TGImage& image, QWidget* parent) {
    TLoadImageFile d(image.Stretch(), image.AutoSize(), parent);
    // Without a file chosen there is nothing to load, and the object stays as it was.
    if (d.exec() != QDialog::Accepted || d.picture().isEmpty()) return false;
    layout::ApplyImage(image, d.picture(), d.stretch(), d.autoSize());
    return true;
}

template <typename Object>
Object* as(TGGraphicControl& object) {
    return dynamic_cast<Object*>(&object);
}

}  // namespace

bool StandardObjectDialogs::edit(ObjectDialog which, TGGraphicControl& object, QWidget* parent) {
    switch (which) {
        case ObjectDialog::Text:
            if (auto* o = as<TGPLabel>(object)) return editText(*o, parent);
            break;
        case ObjectDialog::TextEffects:
            if (auto* o = as<TGBaseLabel>(object)) return editEffects(*o, parent);
            break;
        case ObjectDialog::Field:
            if (auto* o = as<TGPDLabel>(object)) return editField(*o, false, parent);
            break;
        case ObjectDialog::MemoField:
            if (auto* o = as<TGDMultiLineLabel>(object)) return editField(*o, true, parent);
            break;
        case ObjectDialog::Counter:
            if (auto* o = as<TGCounterLabel>(object)) return editCounter(*o, parent);
            break;
        case ObjectDialog::Symbol:
            if (auto* o = as<TGSymbolLabel>(object)) return editSymbol(*o, parent);
            break;
        case ObjectDialog::MultiLineText:
            if (auto* o = as<TGMultiLineLabel>(object)) return editMultiLineText(*o, parent);
            break;
        case ObjectDialog::AddressLayout:
            if (auto* o = as<TGDMultiLineAddressLabel>(object)) return editAddressLayout(*o, parent);
            break;
        case ObjectDialog::LoadImage:
            if (auto* o = as<TGImage>(object)) return loadImage(*o, parent);
            break;
    }
    return false;
}

bool StandardObjectDialogs::chooseFont(LayoutFont& font, QWidget* parent) {
    return layoutdialogs::PickFont(font, parent);
}

bool StandardObjectDialogs::chooseColor(QColor& color, QWidget* parent) {
    return layoutdialogs::PickColor(color, parent);
}
