#pragma once

#include "TGDataPanel.h"

// A data panel on which a designer arms drawing tools. `State` is the panel kind's
// tool-state enumeration (PanelToolStates.h); the panel starts with the selection tool.
template <typename State>
class TGToolPanel : public TGDataPanel {
  public:
    using TGDataPanel::TGDataPanel;

    State PanelState() const { return state_; }
    // Arms a tool; Pointing is true for the selection tool (psPointing) only.
    void SetPanelState(State state) {
        state_ = state;
        Pointing = state == State::psPointing;
    }

  private:
    State state_ = State::psPointing;
};
