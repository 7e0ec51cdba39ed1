#pragma once

#include "TGDataPanel.h"

// One label of a label layout.
class TGLabelPanel : public TGDataPanel {
  public:
    // The designer's drawing tools on a label.
    enum TLPanelState {
        psPointing,
        psLabel,
        psCounterLabel,
        psSymbolLabel,
        psDataLabel,
        psMultiLineLabel,
        psMultiLineDataLabel,
        psAddressLabel,
        psRectangle,
        psEllipse,
        psRoundRectangle,
        psLine,
        psImage,
        psPostNetBarCode
    };

    explicit TGLabelPanel(TGOwner* owner = nullptr);
    const char* ClassName() const override { return "TGLabelPanel"; }

    TLPanelState PanelState() const { return state_; }
    void SetPanelState(TLPanelState state);

  private:
    TLPanelState state_ = psPointing;
};
