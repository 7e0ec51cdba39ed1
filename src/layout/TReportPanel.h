#pragma once

#include "LayoutEnums.h"
#include "PanelToolStates.h"
#include "TGToolPanel.h"

// One band of a report: header, detail, memo or footer.
class TReportPanel : public TGToolPanel<TReportPanelState> {
  public:
    explicit TReportPanel(TGOwner* owner = nullptr);

    TRPanelKind PAnelKind = rpkDetail;
    // Whether presses on the band's own surface are taken.
    bool AcceptsPresses = true;

    // A band keeps objects within its own height and width.
    void KeepObjectsInside() override;
    void RemoveObjectsOutside() override;
};
