#pragma once

#include "PanelToolStates.h"
#include "TGToolPanel.h"

// One label of a label layout.
class TGLabelPanel : public TGToolPanel<TLabelPanelState> {
  public:
    using TGToolPanel::TGToolPanel;
};
