#pragma once

#include <QRect>

#include "TGDataPanel.h"

// One envelope of an envelope layout.
class TEnvelopePanel : public TGDataPanel {
  public:
    // The designer's drawing tools on an envelope.
    enum TLPanelState {
        psPointing,
        psLabel,
        psDataLabel,
        psMultiLineLabel,
        psAddressLabel,
        psRectangle,
        psEllipse,
        psRoundRectangle,
        psLine,
        psImage,
        psPostNetBarCode,
        psFIMBarCode
    };

    explicit TEnvelopePanel(TGOwner* owner = nullptr);
    const char* ClassName() const override { return "TEnvelopePanel"; }

    TLPanelState PanelState() const { return state_; }
    void SetPanelState(TLPanelState state);

    // The postal template's zones in panel pixels at the current zoom (right and
    // bottom edges exclusive, as the rectangles are drawn).
    struct Zones {
        QRect returnAddress, barcodeClearZone, addressArea, fimArea;
    };
    Zones TemplateZones() const;

    // Set by the envelope designer, in screen pixels at zoom 1.0.
    int MarginLeft = 0, MarginTop = 0, MarginRight = 0, MarginBottom = 0;
    int PageWidth = 0, PageHeight = 0;
    bool ShowPrintableArea = false;
    bool ShowTemplate = false;

  protected:
    // The background, then the template zones and the printable area when shown.
    void PaintBackground(QPainter& painter) override;

private:
    TLPanelState state_ = psPointing;
};
