#pragma once

#include <QRect>
#include <QString>
#include <memory>

#include "ObjectDialogs.h"

class TGBasePanel;
class TGGraphicControl;

// The drawing tools of the three data panels (label, envelope, report band) under one
// name, so that the panel view handles every kind alike.
enum class PanelTool {
    Pointing,
    Label,
    CounterLabel,
    SymbolLabel,
    DataLabel,
    MultiLineLabel,
    MultiLineDataLabel,
    AddressLabel,
    Rectangle,
    Ellipse,
    RoundRectangle,
    Line,
    Image,
    PostNetBarCode,
    FIMBarCode,
    IMBarCode,
    DateTime,
    PageNumber,
    Other  // a tool this view does not know: nothing is dropped
};

// The tool armed on `panel` (Pointing for a panel without tools).
PanelTool ArmedTool(const TGBasePanel& panel);
// Arms the selection tool again.
void DisarmTool(TGBasePanel& panel);

// What a drop of the armed tool makes: the object, ready to be placed, and the steps
// that follow its placing.
struct ToolDrop {
    std::unique_ptr<TGGraphicControl> object;
    // Set when a report band takes no object of this kind; nothing is created then.
    QString refusal;
    bool opensDialog = false;
    ObjectDialog dialog = ObjectDialog::Text;
    bool refresh = false;  // the panel fetches the record's values
    bool fit = false;      // the object fits itself to its text
    // The object's own size is the least it prints at (a barcode with its clear
    // zones): a smaller drawn rectangle grows to it.
    bool atLeastOwnSize = false;
};

// The object the armed tool creates, with the panel's font where it takes one, or the
// report band's refusal.
ToolDrop PrepareDrop(const TGBasePanel& panel);

// Why `panel`, when it is a report band, takes no object like `object` (pasted into it,
// say); empty when it takes it or is no report band.
QString BandRefusal(const TGBasePanel& panel, const TGGraphicControl& object);

// A dropped rectangle grown to the smallest object a click makes (50 × 15).
QRect DropRect(const QRect& drawn);

// Fits a text object to its text (multi-line and single-line text; a symbol to its
// character); other objects are left alone.
void FitObject(TGGraphicControl& object);
