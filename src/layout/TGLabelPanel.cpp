#include "TGLabelPanel.h"

TGLabelPanel::TGLabelPanel(TGOwner* owner) : TGDataPanel(owner) {}

void TGLabelPanel::SetPanelState(TLPanelState state) {
    if (state == state_) return;
    state_ = state;
    Pointing = state == psPointing;
}
