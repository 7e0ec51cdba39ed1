#pragma once

#include "LayoutEnums.h"
#include "TGDataPanel.h"

// One band of a report: header, detail, memo or footer.
class TReportPanel : public TGDataPanel {
  public:
    // The designer's drawing tools on a band.
    enum TRPanelState {
        psPointing,
        psLabel,
        psDataLabel,
        psMultiLineDataLabel,
        psLine,
        psImage,
        psDateTime,
        psPageNumber,
        psSymbolLabel,
        psRectangle,
        psEllipse,
        psRoundRectangle
    };

    explicit TReportPanel(TGOwner* owner = nullptr);
    const char* ClassName() const override { return "TReportPanel"; }

    TRPanelState PanelState() const { return state_; }
    void SetPanelState(TRPanelState state);
    TRPanelKind PAnelKind = rpkDetail;
    // Whether presses on the band's own surface are taken.
    bool AcceptsPresses = true;

    // A band keeps objects within its own height and width.
    void KeepObjectsInside() override;
    void RemoveObjectsOutside() override;

  private:
    TRPanelState state_ = psPointing;
};
