#include "TReportPanel.h"

#include "TGGraphicControl.h"

TReportPanel::TReportPanel(TGOwner* owner) : TGToolPanel(owner) {}

void TReportPanel::KeepObjectsInside() {
    for (int i = 0; i < ObjectCount(); ++i) {
        TGGraphicControl* o = Object(i);
        if (o->Top() > Height()) o->SetTop(Height());
        if (o->Left() > Width()) o->SetLeft(Width());
    }
}

void TReportPanel::RemoveObjectsOutside() {
    for (int i = ObjectCount() - 1; i >= 0; --i) {
        TGGraphicControl* o = Object(i);
        if (o->Top() > Height() + 10 || o->Left() > Width() + 10) DeleteObject(o);
    }
}
