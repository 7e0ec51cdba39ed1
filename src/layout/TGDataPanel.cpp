#include "TGDataPanel.h"

#include "TGDataSet.h"
#include "TGGraphicControl.h"

void TGDataPanel::SetDisplayDataValues(bool on) {
    displayDataValues_ = on;
    RefreshData();
}

void TGDataPanel::RefreshData() {
    if (!dataSet_ || !dataSet_->Active()) return;
    TGBasePanel::RefreshData();
}
