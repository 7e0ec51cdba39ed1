#pragma once

#include <QRect>

#include "PanelToolStates.h"
#include "TGToolPanel.h"

// One envelope of an envelope layout.
class TEnvelopePanel : public TGToolPanel<TEnvelopePanelState> {
  public:
    explicit TEnvelopePanel(TGOwner* owner = nullptr);

    // The postal template's zones in panel pixels at the current zoom (right and
    // bottom edges exclusive, as the rectangles are drawn).
    struct Zones {
        QRect returnAddress, barcodeClearZone, addressArea, fimArea;
    };
    Zones TemplateZones() const;

    // Set by the envelope designer, in layout pixels at zoom 1.0.
    int MarginLeft = 0, MarginTop = 0, MarginRight = 0, MarginBottom = 0;
    int PageWidth = 0, PageHeight = 0;
    bool ShowPrintableArea = false;
    bool ShowTemplate = false;

  protected:
    // The background, then the template zones and the printable area when shown.
    void PaintBackground(QPainter& painter) override;
};
