#include "TReportPanel.h"

#include <algorithm>

#include "TGGraphicControl.h"

TReportPanel::TReportPanel(TGOwner* owner) : TGToolPanel(owner) {}

void TReportPanel::KeepObjectsInside() {
    // An object wholly below or right of the band comes back to sit on its bottom or
    // right edge, inside the band where it can be seen and picked up again.
    for (int i = 0; i < ObjectCount(); ++i) {
        TGGraphicControl* o = Object(i);
        if (o->Top() > Height()) o->SetTop(std::max(0, Height() - o->Height()));
        if (o->Left() > Width()) o->SetLeft(std::max(0, Width() - o->Width()));
    }
}

void TReportPanel::RemoveObjectsOutside() {
    for (int i = ObjectCount() - 1; i >= 0; --i) {
        TGGraphicControl* o = Object(i);
        if (o->Top() > Height() + 10 || o->Left() > Width() + 10) DeleteObject(o);
    }
}
